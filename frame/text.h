// text.h: writing a readout into the text buffer the host gives each string element.
#pragma once
#include "frame/elements.h"

// Bytes the host supplies behind every string's TextBuffer, NUL included.
enum : uint32_t { TextBufferCapacity = 32 };

// printf-style into the element's buffer, cut to TextBufferCapacity; nothing when the
// host has not given the element a buffer.
void WriteText(StringElement* element, const char* format, ...) __attribute__((format(printf, 2, 3)));

// The readout pattern: set the updated bit, write `value` with `format`, return 0.0.
// The caller has converted, rounded to single precision and clamped the value.
double ReadoutText(ElementRecord* element, const char* format, float value);
