// host.h: the two host operations a gauge calls, reached through the table the host
// writes into ImportTable when it loads the module.
#pragma once
#include "frame/variable.h"

// Byte offsets of the two entries a gauge uses in the host's function table.
enum : uint32_t {
  HostTriggerKeyEventOffset = 0x90,
  HostRefreshVariableOffset = 0xa0,
};

typedef void(GAUGE_CALL* RefreshVariableFn)(VariableRecord* record);
typedef void(GAUGE_CALL* TriggerKeyEventFn)(uint32_t eventId, uint32_t value);

// Both read the table address afresh from ImportTable at each call; with no table
// written yet they do nothing rather than jump through a null pointer.
void RefreshVariable(VariableRecord* record);
void TriggerKeyEvent(uint32_t eventId, uint32_t value);
