// The two host operations, called through the table the host wrote into ImportTable.
#include "frame/host.h"
#include "frame/linkage.h"

template <typename Fn>
static Fn HostEntry(uint32_t offset) {
  // Read afresh each time: the host owns the table and may move it.
  const volatile ImportEntry* entry = &ImportTable.Host;
  const uint8_t* table = static_cast<const uint8_t*>(entry->FunctionTable);
  if (!table) return nullptr;
  Fn fn;
  __builtin_memcpy(&fn, table + offset, sizeof fn);
  return fn;
}

void RefreshVariable(VariableRecord* record) {
  if (RefreshVariableFn fn = HostEntry<RefreshVariableFn>(HostRefreshVariableOffset)) fn(record);
}

void TriggerKeyEvent(uint32_t eventId, uint32_t value) {
  if (TriggerKeyEventFn fn = HostEntry<TriggerKeyEventFn>(HostTriggerKeyEventOffset)) fn(eventId, value);
}
