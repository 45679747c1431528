// Readout text into the host's buffer, always NUL-terminated within its capacity.
#include "frame/text.h"

#include <stdarg.h>
#include <stdio.h>

void WriteText(StringElement* element, const char* format, ...) {
  char* buffer = element->TextBuffer;
  if (!buffer) return;
  va_list args;
  va_start(args, format);
  vsnprintf(buffer, TextBufferCapacity, format, args);
  va_end(args);
}

double ReadoutText(ElementRecord* element, const char* format, float value) {
  element->ImageFlags |= ImageFlagUpdated;
  WriteText(As<StringElement>(element), format, static_cast<double>(value));
  return 0.0;
}
