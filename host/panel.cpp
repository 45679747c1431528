// The panel host core: our host function table, service calls, element and mouse calls.
#include "host/panel.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "host/records.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "platform/library_loader.h"
#endif

#define HOST_CALL __attribute__((stdcall))

namespace gaugehost {

namespace {

Panel* Current = nullptr;

constexpr size_t TableEntries = 128;  // 0x200 bytes: well past every entry a module may name

[[noreturn]] void Trap(uint32_t offset) {
  std::fprintf(stderr,
               "gaugehost: the module called host function table entry +0x%x, which this host does not "
               "provide (only RefreshVariable +0xa0 and TriggerKeyEvent +0x90); stopping\n",
               offset);
  std::fflush(stderr);
  std::_Exit(70);
}

template <size_t Index>
void HOST_CALL TrapEntry() {
  Trap(static_cast<uint32_t>(Index * 4));
}

template <int Table>
void HOST_CALL RefreshEntry(void* record) {
  Panel::OnRefresh(reinterpret_cast<uintptr_t>(record), Table);
}

template <int Table>
void HOST_CALL KeyEventEntry(uint32_t id, uint32_t value) {
  Panel::OnKeyEvent(id, value, Table);
}

template <int Table, size_t... I>
std::array<void*, TableEntries> MakeTable(std::index_sequence<I...>) {
  std::array<void*, TableEntries> t = {reinterpret_cast<void*>(&TrapEntry<I>)...};
  t[rec::HostRefreshVariable / 4] = reinterpret_cast<void*>(&RefreshEntry<Table>);
  t[rec::HostTriggerKeyEvent / 4] = reinterpret_cast<void*>(&KeyEventEntry<Table>);
  return t;
}

std::array<void*, TableEntries> Tables[2] = {MakeTable<0>(std::make_index_sequence<TableEntries>()),
                                             MakeTable<1>(std::make_index_sequence<TableEntries>())};

// Sets the x87 precision-control field for the duration of a call into the module.
class X87Scope {
 public:
  explicit X87Scope(X87Precision p) : active_(p != X87Precision::Unchanged) {
    if (!active_) return;
    __asm__ volatile("fnstcw %0" : "=m"(saved_));
    uint16_t bits = p == X87Precision::Single24 ? 0x000 : p == X87Precision::Double53 ? 0x200 : 0x300;
    uint16_t word = static_cast<uint16_t>((saved_ & ~0x300) | bits);
    __asm__ volatile("fldcw %0" : : "m"(word));
  }
  ~X87Scope() {
    if (active_) __asm__ volatile("fldcw %0" : : "m"(saved_));
  }
  X87Scope(const X87Scope&) = delete;
  X87Scope& operator=(const X87Scope&) = delete;

 private:
  bool active_;
  uint16_t saved_ = 0;
};

std::string EnvironmentValue(const char* name) {
#ifdef _WIN32
  char text[4096];
  DWORD n = GetEnvironmentVariableA(name, text, sizeof text);
  return n && n < sizeof text ? std::string(text, n) : std::string();
#else
  const char* v = std::getenv(name);
  return v ? v : "";
#endif
}

void SetEnvironmentValue(const char* name, const std::string& value) {
#ifdef _WIN32
  SetEnvironmentVariableA(name, value.c_str());
#else
  setenv(name, value.c_str(), 1);
#endif
}

std::string FullPath(const std::string& dir) {
#ifdef _WIN32
  char full[MAX_PATH];
  DWORD n = GetFullPathNameA(dir.c_str(), sizeof full, full, nullptr);
  return n && n < sizeof full ? std::string(full, n) : dir;
#else
  char* full = realpath(dir.c_str(), nullptr);
  std::string out = full ? full : dir;
  std::free(full);
  return out;
#endif
}

typedef void(HOST_CALL* ModuleRoutine)();
typedef void(HOST_CALL* ServiceFn)(uint32_t header, uint32_t code, uint32_t extra);
typedef double(HOST_CALL* ElementFn)(uint32_t element);
typedef uint32_t(HOST_CALL* MouseFn)(uint32_t word1, uint32_t word2);

template <typename Fn>
Fn AsFunction(uintptr_t address) {
  return reinterpret_cast<Fn>(address);
}

}  // namespace

Panel::Panel(const std::string& modulePath, VariableStore& variables, PanelOptions options)
    : variables_(variables), options_(std::move(options)) {
  if (Current) throw HostError("a panel is already running a module in this process");
  if (!options_.soundDir.empty()) {
    savedPath_ = EnvironmentValue("PATH");
#ifdef _WIN32
    const char separator = ';';
#else
    const char separator = ':';
#endif
    SetEnvironmentValue("PATH", FullPath(options_.soundDir) + (savedPath_.empty() ? "" : separator + savedPath_));
    pathChanged_ = true;
  }
  try {
    image_ = std::make_unique<ModuleImage>(modulePath);
    layout_ = ReadLayout(*image_);
  } catch (...) {
    if (pathChanged_) SetEnvironmentValue("PATH", savedPath_);
    throw;
  }
  elements_.resize(layout_.chain.size());
  buffers_.resize(layout_.chain.size());
  Current = this;
  // Before any other call: the module reaches the host only through this address.
  image_->write32(layout_.importTable + rec::ImportAddress, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(Tables[0].data())),
                  "ImportTable");
  if (layout_.moduleInit) callModule([&] { AsFunction<ModuleRoutine>(layout_.moduleInit)(); });
}

Panel::~Panel() {
  if (layout_.moduleDeinit) callModule([&] { AsFunction<ModuleRoutine>(layout_.moduleDeinit)(); });
  image_.reset();
  Current = nullptr;
  if (pathChanged_) SetEnvironmentValue("PATH", savedPath_);
}

template <typename Fn>
void Panel::callModule(Fn&& fn) {
  X87Scope scope(options_.x87);
  fn();
}

void Panel::service(uint32_t code, uint32_t extra) {
  during_ = code;
  callModule([&] {
    AsFunction<ServiceFn>(layout_.service)(static_cast<uint32_t>(layout_.header), code, extra);
  });
  during_ = 0;
}

void Panel::switchFunctionTable() {
  table_ = 1 - table_;
  image_->write32(layout_.importTable + rec::ImportAddress,
                  static_cast<uint32_t>(reinterpret_cast<uintptr_t>(Tables[table_].data())), "ImportTable");
}

void Panel::OnRefresh(uintptr_t record, int table) {
  Panel* p = Current;
  if (!p || !record) return;
  uint32_t token;
  std::memcpy(&token, reinterpret_cast<const void*>(record + rec::VarToken), 4);
  p->calls_.push_back({HostCall::Refresh, token, 0, record, table, p->during_});
  if (!token) return;  // an unused record is never written
  VariableValue v = p->variables_.get(token);
  uint8_t bytes[8] = {};
  if (v.isInteger)
    std::memcpy(bytes, &v.integer, 4);
  else
    std::memcpy(bytes, &v.number, 8);
  std::memcpy(reinterpret_cast<void*>(record + rec::VarValue), bytes, 8);
}

void Panel::OnKeyEvent(uint32_t id, uint32_t value, int table) {
  if (Panel* p = Current) p->calls_.push_back({HostCall::KeyEvent, id, value, 0, table, p->during_});
}

std::vector<HostCall> Panel::keyEvents() const {
  std::vector<HostCall> out;
  for (const HostCall& c : calls_)
    if (c.kind == HostCall::KeyEvent) out.push_back(c);
  return out;
}

uint32_t Panel::elementFlags(size_t index) const {
  return image_->u32(layout_.chain.at(index).address + rec::ElemFlags, "flags");
}

void Panel::checkTextBuffer(size_t element, const TextBuffer& buffer) {
  for (size_t i = TextCapacity; i < buffer.bytes.size(); ++i)
    if (buffer.bytes[i] != '\x5a')
      throw HostError(image_->path() + ": element " + std::to_string(element + 1) +
                      "'s callback wrote past the end of its " + std::to_string(TextCapacity) + "-byte text buffer");
  if (!std::memchr(buffer.bytes.data(), '\0', TextCapacity))
    throw HostError(image_->path() + ": element " + std::to_string(element + 1) +
                    "'s callback left no NUL within its text buffer");
}

const std::vector<ElementState>& Panel::runElements() {
  for (size_t i = 0; i < layout_.chain.size(); ++i) {
    const ElementInfo& e = layout_.chain[i];
    ElementState& state = elements_[i];
    for (const VariableSlot& slot : e.vars) {
      if (!slot.token) continue;
      uint32_t token = image_->u32(slot.address + rec::VarToken, "token");
      if (!token) continue;
      VariableValue v = variables_.get(token);
      uint8_t bytes[8] = {};
      if (v.isInteger)
        std::memcpy(bytes, &v.integer, 4);
      else
        std::memcpy(bytes, &v.number, 8);
      std::memcpy(reinterpret_cast<void*>(slot.address + rec::VarValue), bytes, 8);
    }
    TextBuffer* buffer = nullptr;
    if (e.kind == rec::KindString) {
      if (!buffers_[i]) {
        buffers_[i] = std::make_unique<TextBuffer>();
        std::memset(buffers_[i]->bytes.data() + TextCapacity, 0x5a, TextBuffer::Guard);
      }
      buffer = buffers_[i].get();
      image_->write32(e.address + rec::StringBuffer, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(buffer->bytes.data())),
                      "text buffer pointer");
    }
    for (int axis = 0; axis < 2; ++axis) {
      state.called[axis] = e.callbacks[axis] != 0;
      if (!e.callbacks[axis]) continue;
      callModule([&] { state.value[axis] = AsFunction<ElementFn>(e.callbacks[axis])(static_cast<uint32_t>(e.address)); });
    }
    if (buffer) {
      checkTextBuffer(i, *buffer);
      state.text = buffer->bytes.data();
    }
    state.flags = elementFlags(i);
    state.hidden = (state.flags & rec::FlagHidden) != 0;
  }
  return elements_;
}

int Panel::areaAt(int x, int y) const {
  for (size_t i = 0; i < layout_.areas.size(); ++i) {
    const MouseAreaInfo& a = layout_.areas[i];
    if (a.kind == rec::AreaChild && a.contains(x, y)) return static_cast<int>(i);
  }
  return -1;
}

uint32_t Panel::callMouse(size_t index, uint32_t word1, uint32_t word2) {
  const MouseAreaInfo& a = layout_.areas.at(index);
  if (a.kind != rec::AreaChild || !a.action) throw HostError("mouse area " + std::to_string(index + 1) + " is not clickable");
  uint32_t result = 0;
  callModule([&] { result = AsFunction<MouseFn>(a.action)(word1, word2); });
  return result;
}

SoundState Panel::sound() {
  SoundState s;
  s.loaded = GetModuleHandleA("GaugeSound") != nullptr;
  s.terminateCalls = std::strtol(EnvironmentValue("GAUGESOUND_TERMINATE_CALLS").c_str(), nullptr, 10);
  s.loads = std::strtol(EnvironmentValue("GAUGESOUND_LOADS").c_str(), nullptr, 10);
  s.unloads = std::strtol(EnvironmentValue("GAUGESOUND_UNLOADS").c_str(), nullptr, 10);
  return s;
}

}  // namespace gaugehost
