// call.h: the calling convention and packing every record of the gauge interface uses.
#pragma once
#include <stdint.h>

// Every callback in either direction (service, element, mouse, host table) is stdcall.
#define GAUGE_CALL __attribute__((stdcall))

// Records are laid out byte for byte: doubles at 4-aligned offsets, no filler.
#define GAUGE_PACKED __attribute__((packed, aligned(4)))

static_assert(sizeof(void*) == 4, "gauge records carry 32-bit pointers");
