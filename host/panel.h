// panel.h: the panel host core. A Panel loads one module, gives it our host function
// table, drives it with service codes, keeps element variables current, calls element and
// mouse callbacks, and logs every call the module makes back into the host.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/layout.h"
#include "host/module_image.h"
#include "host/variables.h"

namespace gaugehost {

enum ServiceCode : uint32_t { CodeSetUp = 4, CodeUpdate = 6, CodePreDraw = 10, CodeRemove = 12 };

// x87 precision the host sets around every call into the module, as real hosts may.
enum class X87Precision { Unchanged, Single24, Double53, Extended64 };

struct PanelOptions {
  std::string soundDir;  // where modules may find "GaugeSound" (put first on PATH); empty: as is
  X87Precision x87 = X87Precision::Unchanged;
};

struct HostCall {
  enum Kind { Refresh, KeyEvent } kind;
  uint32_t id = 0;        // variable token, or key event id
  uint32_t value = 0;     // key event value
  uintptr_t record = 0;   // refresh: the VariableRecord's address
  int table = 0;          // which of our two function tables served the call
  uint32_t during = 0;    // service code being handled; 0 in element or mouse callbacks
};

struct ElementState {
  double value[2] = {0, 0};
  bool called[2] = {false, false};
  std::string text;       // strings: the text in the buffer after the callback
  uint32_t flags = 0;     // ImageFlags after the callbacks
  bool hidden = false;    // flags carry 0x40000000
};

// What the "GaugeSound" stand-in has recorded, and whether it is loaded now.
struct SoundState {
  bool loaded = false;
  long terminateCalls = 0, loads = 0, unloads = 0;
};

class Panel {
 public:
  // Loads and checks the module, writes our table into ImportTable, calls module-init.
  // Only one Panel may exist at a time: the module's calls have no context of their own.
  Panel(const std::string& modulePath, VariableStore& variables, PanelOptions options = {});
  // Calls module-deinit and unloads the module.
  ~Panel();
  Panel(const Panel&) = delete;
  Panel& operator=(const Panel&) = delete;

  const GaugeLayout& layout() const { return layout_; }
  const ModuleImage& image() const { return *image_; }
  VariableStore& variables() { return variables_; }

  void service(uint32_t code, uint32_t extra = 0);

  // Refreshes each element's variable records (token 0 untouched), hands strings their text
  // buffers, calls every element callback in drawing order, and returns what they showed.
  const std::vector<ElementState>& runElements();
  const std::vector<ElementState>& elements() const { return elements_; }
  uint32_t elementFlags(size_t index) const;

  // The child area containing gauge pixel (x, y), or -1.
  int areaAt(int x, int y) const;
  // Calls area `index`'s MouseCallback with the two words; returns what it returned.
  uint32_t callMouse(size_t index, uint32_t word1 = 0, uint32_t word2 = 0);

  const std::vector<HostCall>& calls() const { return calls_; }
  std::vector<HostCall> keyEvents() const;
  void clearCalls() { calls_.clear(); }
  // Points ImportTable at our other, identical table, so tests can see the module reread it.
  void switchFunctionTable();
  int functionTable() const { return table_; }

  static SoundState sound();
  static constexpr size_t TextCapacity = 32;  // bytes behind every string's TextBuffer

  // Entry points of our function table; public for the trampolines only.
  static void OnRefresh(uintptr_t record, int table);
  static void OnKeyEvent(uint32_t id, uint32_t value, int table);

 private:
  struct TextBuffer {
    static constexpr size_t Guard = 32;
    std::array<char, TextCapacity + Guard> bytes{};
  };
  template <typename Fn>
  void callModule(Fn&& fn);
  void checkTextBuffer(size_t element, const TextBuffer& buffer);

  std::unique_ptr<ModuleImage> image_;
  VariableStore& variables_;
  PanelOptions options_;
  GaugeLayout layout_;
  std::vector<ElementState> elements_;
  std::vector<std::unique_ptr<TextBuffer>> buffers_;  // by element index; strings only
  std::vector<HostCall> calls_;
  uint32_t during_ = 0;
  int table_ = 0;
  std::string savedPath_;
  bool pathChanged_ = false;
};

}  // namespace gaugehost
