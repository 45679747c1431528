#include "host/session.h"

namespace gaugehost {

Session::Session(const std::string& modulePath, VariableStore variables, PanelOptions options)
    : variables_(std::move(variables)) {
  panel_ = std::make_unique<Panel>(modulePath, variables_, std::move(options));
  bitmaps_ = std::make_unique<BitmapCache>(panel_->image());
  panel_->service(CodeSetUp);
}

Session::~Session() {
  bitmaps_.reset();
  if (panel_) panel_->service(CodeRemove);
}

void Session::frames(int n) {
  for (int i = 0; i < n; ++i, ++frames_) {
    panel_->service(CodeUpdate);
    panel_->service(CodePreDraw);
    panel_->runElements();
  }
}

ClickResult Session::click(int x, int y) {
  ClickResult r;
  r.x = x;
  r.y = y;
  size_t before = panel_->calls().size();
  r.area = panel_->areaAt(x, y);
  if (r.area < 0) return r;
  // A plain click is a left single click; an area whose flags do not name it ignores it.
  uint32_t flags = panel_->layout().areas[static_cast<size_t>(r.area)].flags;
  r.answered = (flags & LeftSingleClick) != 0;
  if (r.answered) r.result = panel_->callMouse(static_cast<size_t>(r.area), 0, LeftSingleClick);
  for (size_t i = before; i < panel_->calls().size(); ++i)
    if (panel_->calls()[i].kind == HostCall::KeyEvent) r.events.push_back(panel_->calls()[i]);
  return r;
}

Canvas Session::picture(const DrawOptions& options) { return DrawGauge(*panel_, *bitmaps_, options); }

}  // namespace gaugehost
