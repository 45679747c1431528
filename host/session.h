// session.h: a gauge shown on a panel from set-up to removal, as gaugehost drives it:
// frames (update, pre-draw, element callbacks), clicks between them, pictures of them.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "host/panel.h"
#include "host/render.h"

namespace gaugehost {

struct ClickResult {
  int x = 0, y = 0;
  int area = -1;                  // index into the mouse area list, -1 outside every area
  bool answered = false;          // the area's flags name a left click, so its callback ran
  uint32_t result = 0;            // what the MouseCallback returned
  std::vector<HostCall> events;   // key events the click sent
};

// The mouse action a click delivers, as MouseFlags name it.
constexpr uint32_t LeftSingleClick = 0x20000000;

class Session {
 public:
  // Loads the module and sets the gauge up (service code 4).
  Session(const std::string& modulePath, VariableStore variables, PanelOptions options = {});
  // Removes the gauge (service code 12) before the module is unloaded.
  ~Session();

  VariableStore& variables() { return variables_; }
  Panel& panel() { return *panel_; }
  // n frames: each an update, a pre-draw and every element callback.
  void frames(int n);
  int frameCount() const { return frames_; }
  ClickResult click(int x, int y);
  Canvas picture(const DrawOptions& options = {});

 private:
  VariableStore variables_;
  std::unique_ptr<Panel> panel_;
  std::unique_ptr<BitmapCache> bitmaps_;
  int frames_ = 0;
};

}  // namespace gaugehost
