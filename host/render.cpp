#include "host/render.h"

#include <algorithm>
#include <cmath>

#include "host/needle_geometry.h"
#include "host/records.h"

namespace gaugehost {

const IndexedBitmap* BitmapCache::get(int id) {
  auto it = bitmaps_.find(id);
  if (it != bitmaps_.end()) return it->second.get();
  std::unique_ptr<IndexedBitmap> parsed;
  if (id >= 0 && id <= 0xffff) {
    if (auto bytes = image_.bitmapResource(static_cast<uint16_t>(id))) {
      try {
        parsed = std::make_unique<IndexedBitmap>(ParseDib(bytes->data(), bytes->size()));
      } catch (const DrawError& e) {
        throw HostError(image_.path() + ": bitmap " + std::to_string(id) + ": " + e.what());
      }
    }
  }
  return bitmaps_.emplace(id, std::move(parsed)).first->second.get();
}

double NeedleAngleFor(const ElementInfo& needle, double value) {
  std::vector<gauge_geometry::CalibrationPoint> table;
  for (const CalibrationEntry& p : needle.table) table.push_back({double(p.x), double(p.y), p.value});
  return gauge_geometry::NeedleAngle(table, needle.x, needle.y, value);
}

namespace {

uint32_t WindowsColourToRgb(uint32_t bgr) {
  return ((bgr & 0xff) << 16) | (bgr & 0xff00) | ((bgr >> 16) & 0xff);
}

const char* CursorName(int32_t cursor) {
  switch (cursor) {
    case 1: return "up";
    case 2: return "down";
    case 5: return "button";
    default: return "cursor";
  }
}

void DrawElement(Canvas& canvas, const ElementInfo& e, const ElementState& s, BitmapCache& bitmaps) {
  switch (e.kind) {
    case rec::KindStatic:
      if (const IndexedBitmap* b = bitmaps.get(e.bitmap)) canvas.DrawBitmap(*b, e.x, e.y);
      break;
    case rec::KindNeedle:
      if (const IndexedBitmap* b = bitmaps.get(e.bitmap))
        canvas.DrawRotated(*b, e.pivotX, e.pivotY, e.x, e.y, NeedleAngleFor(e, s.value[0]));
      break;
    case rec::KindString:
      canvas.DrawText(s.text, e.x, e.y, static_cast<int>(e.boxW), static_cast<int>(e.boxH), WindowsColourToRgb(e.colour));
      break;
    case rec::KindSlider:
      if (const IndexedBitmap* b = bitmaps.get(e.bitmap)) {
        double dx = s.called[0] ? s.value[0] * e.scale[0] : 0.0, dy = s.called[1] ? s.value[1] * e.scale[1] : 0.0;
        canvas.DrawBitmap(*b, e.x + static_cast<int>(std::lround(dx)), e.y + static_cast<int>(std::lround(dy)));
      }
      break;
    case rec::KindIcon: {
      double index = std::floor(s.value[0]);
      if (index >= 0 && index < 0x10000)
        if (const IndexedBitmap* b = bitmaps.get(e.bitmap + static_cast<int>(index))) canvas.DrawBitmap(*b, e.x, e.y);
      break;
    }
    case rec::KindMoving: {
      const IndexedBitmap* picture = bitmaps.get(e.bitmap);
      const IndexedBitmap* window = bitmaps.get(e.bitmap + 1);
      if (!picture || !window) break;
      int h = window->height;
      double span = e.second[1] - e.first[1];
      double t = span != 0 && s.called[1] ? (s.value[1] - e.first[1]) / span : 0.0;
      int row = static_cast<int>(std::lround(h * std::clamp(t, 0.0, 1.0)));
      canvas.DrawBitmapRegion(*picture, 0, row, window->width, h, e.x, e.y, window);
      break;
    }
    default:
      break;
  }
}

}  // namespace

Canvas DrawGauge(const Panel& panel, BitmapCache& bitmaps, const DrawOptions& options) {
  const GaugeLayout& g = panel.layout();
  const IndexedBitmap* root = bitmaps.get(g.chain.front().bitmap);
  if (!root)
    throw HostError(panel.image().path() + ": the root element's bitmap " + std::to_string(g.chain.front().bitmap) +
                    " is not in the module");
  Canvas canvas(root->width, root->height);
  for (size_t i = 0; i < g.chain.size(); ++i)
    if (!panel.elements()[i].hidden) DrawElement(canvas, g.chain[i], panel.elements()[i], bitmaps);
  if (options.areas) {
    for (const MouseAreaInfo& a : g.areas) {
      if (a.kind != rec::AreaChild) continue;
      canvas.OutlineRect(a.x, a.y, a.w, a.h, 0x00FF40FF);
      canvas.DrawLabel(CursorName(a.cursor), a.x + 1, a.y + 1, 0x00FF40FF);
    }
  }
  return canvas;
}

}  // namespace gaugehost
