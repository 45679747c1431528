// render.h: drawing a gauge's element chain as the simulator would show it.
#pragma once
#include <map>
#include <memory>

#include "host/canvas.h"
#include "host/dib.h"
#include "host/panel.h"

namespace gaugehost {

// The module's bitmaps, parsed on first use.
class BitmapCache {
 public:
  explicit BitmapCache(const ModuleImage& image) : image_(image) {}
  // nullptr when the module carries no bitmap of that number.
  const IndexedBitmap* get(int id);

 private:
  const ModuleImage& image_;
  std::map<int, std::unique_ptr<IndexedBitmap>> bitmaps_;
};

struct DrawOptions {
  bool areas = false;  // outline every clickable area with its cursor kind
};

// Draws the chain from the root up with the results of the last runElements(), skipping
// hidden elements. The picture has the root bitmap's size.
Canvas DrawGauge(const Panel& panel, BitmapCache& bitmaps, const DrawOptions& options = {});

// Where a needle element points for a value, in screen radians (0 = +x, clockwise).
double NeedleAngleFor(const ElementInfo& needle, double value);

}  // namespace gaugehost
