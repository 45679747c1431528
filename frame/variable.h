// variable.h: the record through which a gauge reads one host variable.
#pragma once
#include <string.h>
#include "frame/call.h"

struct GAUGE_PACKED VariableRecord {
  uint32_t VariableToken;  // gauge, at load: the host variable's number; 0 = unused
  uint8_t HostOwned4[8];   // host, at will
  double Value;            // host, at each refresh: a double, or an int32 in its first four bytes
  uint8_t HostOwned20[8];  // host, at will
};
static_assert(sizeof(VariableRecord) == 28);
static_assert(__builtin_offsetof(VariableRecord, Value) == 12);

// For the tokens the host delivers as a 32-bit integer in the first four bytes of Value.
static inline int32_t VariableInt32(const VariableRecord* record) {
  int32_t value;
  memcpy(&value, &record->Value, sizeof value);
  return value;
}

constexpr VariableRecord ModuleVariable(uint32_t token) {
  VariableRecord record{};
  record.VariableToken = token;
  return record;
}
