// The airspeed indicator through the host, against the real module.
#include <gtest/gtest.h>

#include <cmath>

#include "host/records.h"
#include "host/session.h"

using namespace gaugehost;

namespace {

const std::string Module = std::string(GAUGES_DIR) + "/Kv_PitotDial.gau";
enum { Face = 1, MachText = 2, KnotsText = 3, Pointer = 4 };

std::unique_ptr<Session> Shown(double knots, double machVar = 0) {
  VariableStore vars;
  vars.set(61, knots);
  vars.set(64, machVar);
  auto s = std::make_unique<Session>(Module, vars);
  s->frames(1);
  return s;
}

TEST(PitotDial, Records) {
  VariableStore vars;
  Session s(Module, vars);
  const GaugeLayout& g = s.panel().layout();
  EXPECT_EQ(g.name, "Kv_PitotDial");
  ASSERT_EQ(g.chain.size(), 5u);
  const uint32_t kinds[] = {rec::KindStatic, rec::KindStatic, rec::KindString, rec::KindString, rec::KindNeedle};
  const uint32_t flags[] = {0x83, 0x4083, 0x83, 0x83, 0x4083};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(g.chain[i].kind, kinds[i]) << i;
    EXPECT_EQ(g.chain[i].flagsAtLoad, flags[i]) << i;
  }
  for (int i : {MachText, KnotsText}) {
    const ElementInfo& e = g.chain[i];
    EXPECT_EQ(e.boxW, 96u);  // two pixels past the 158-pixel root bitmap
    EXPECT_EQ(e.boxH, 22u);
    EXPECT_EQ(e.colour, 0x00FFFFFFu);
    EXPECT_EQ(e.face, "Quartz");
    EXPECT_EQ(e.vars[0].token, 0u);
  }
  EXPECT_EQ(g.chain[Pointer].vars[0].token, 61u);
  EXPECT_EQ(g.chain[Pointer].table.size(), 6u);
  ASSERT_EQ(g.areas.size(), 3u);
  EXPECT_EQ(g.areas[0].kind, rec::AreaParent);
  EXPECT_EQ(g.areas[1].kind, rec::AreaEndParent);
  EXPECT_EQ(g.areas[2].kind, rec::AreaEnd);
  EXPECT_TRUE(g.tooltip.empty());
}

TEST(PitotDial, BitmapsFitTheirElements) {
  VariableStore vars;
  Session s(Module, vars);
  BitmapCache bitmaps(s.panel().image());
  const struct {
    int id, w, h;
  } sizes[] = {{0x100, 158, 158}, {0x1100, 158, 158}, {0x1200, 63, 11}};
  for (const auto& b : sizes) {
    const IndexedBitmap* bmp = bitmaps.get(b.id);
    ASSERT_TRUE(bmp) << b.id;
    EXPECT_EQ(bmp->width, b.w) << b.id;
    EXPECT_EQ(bmp->height, b.h) << b.id;
    EXPECT_LE(bmp->palette.size(), 256u);
  }
  for (int id : {0x100, 0x1100})
    for (auto [x, y] : {std::pair{0, 0}, {157, 0}, {0, 157}, {157, 157}})
      EXPECT_EQ(bitmaps.get(id)->colour(x, y), 0u) << id << ": corners are transparent";
  const IndexedBitmap* needle = bitmaps.get(0x1200);
  for (int x : {12, 30, 58}) EXPECT_NE(needle->colour(x, 7), 0u) << "the needle runs through its pivot row at x " << x;
  EXPECT_EQ(needle->colour(30, 0), 0u);
  EXPECT_EQ(needle->colour(30, 10), 0u);
}

TEST(PitotDial, MachText) {
  const struct {
    double var;
    const char* text;
  } cases[] = {{20480, "1.00"}, {16384, "0.80"}, {0, "0.00"}, {-500, "0.00"}, {-1e9, "0.00"}, {61440, "3.00"}};
  for (const auto& c : cases) EXPECT_EQ(Shown(0, c.var)->panel().elements()[MachText].text, c.text) << c.var;
}

TEST(PitotDial, KnotsText) {
  const struct {
    double knots;
    const char* text;
  } cases[] = {{250.4, "0250"}, {99.6, "0100"}, {-0.4, "0000"}, {-120, "0000"}, {20000, "20000"}, {7, "0007"}};
  for (const auto& c : cases) EXPECT_EQ(Shown(c.knots)->panel().elements()[KnotsText].text, c.text) << c.knots;
}

TEST(PitotDial, NeedleClampsAt450Only) {
  const struct {
    double knots, shown;
  } cases[] = {{451, 450}, {1000, 450}, {450, 450}, {449.5, 449.5}, {-5, -5}, {100, 100}};
  for (const auto& c : cases) EXPECT_EQ(Shown(c.knots)->panel().elements()[Pointer].value[0], c.shown) << c.knots;
}

TEST(PitotDial, TextsSetTheUpdatedBitNeedleLeavesFlagsAlone) {
  auto s = Shown(120, 8000);
  s->frames(2);
  EXPECT_EQ(s->panel().elements()[MachText].flags, 0x87u);
  EXPECT_EQ(s->panel().elements()[KnotsText].flags, 0x87u);
  EXPECT_EQ(s->panel().elements()[Pointer].flags, 0x4083u);
  EXPECT_EQ(s->panel().elements()[Face].flags, 0x4083u);
}

TEST(PitotDial, NeedleReadsItsOwnRecordTextReadsTheModuleRecord) {
  VariableStore vars;
  vars.set(61, 120);
  Session s(Module, vars);
  s.panel().runElements();  // before any update: only the host-refreshed record is current
  EXPECT_EQ(s.panel().elements()[Pointer].value[0], 120.0);
  EXPECT_EQ(s.panel().elements()[KnotsText].text, "0000");
  s.frames(1);
  EXPECT_EQ(s.panel().elements()[KnotsText].text, "0120");
}

// Pixels of the needle's yellow tip in a picture.
std::vector<std::pair<int, int>> TipPixels(const Canvas& c) {
  std::vector<std::pair<int, int>> out;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) {
      uint32_t p = c.pixel(x, y);
      int r = p >> 16 & 0xff, g = p >> 8 & 0xff, b = p & 0xff;
      if (r > 180 && g > 140 && b < 90 && r > b + 100) out.push_back({x, y});
    }
  return out;
}

// Every tip pixel lies within `slack` pixels of the ray from the centre toward (tx, ty).
void ExpectAlongRay(const Canvas& c, double tx, double ty) {
  const double cx = 79.5, cy = 79.5;
  double dx = tx + 0.5 - cx, dy = ty + 0.5 - cy, len = std::hypot(dx, dy);
  dx /= len;
  dy /= len;
  auto tip = TipPixels(c);
  ASSERT_GE(tip.size(), 10u) << "the needle's tip is drawn";
  for (auto [x, y] : tip) {
    double px = x + 0.5 - cx, py = y + 0.5 - cy;
    double along = px * dx + py * dy, across = std::abs(-px * dy + py * dx);
    EXPECT_GT(along, 20.0) << x << "," << y;
    EXPECT_LT(across, 3.0) << x << "," << y;
  }
}

TEST(PitotDialPicture, NeedleAt100KnotsPointsAtItsCalibrationPoint) {
  ExpectAlongRay(Shown(100)->picture(), 131, 50);
}

TEST(PitotDialPicture, NeedleAtZeroAndBelowPointsToTheTop) {
  ExpectAlongRay(Shown(0)->picture(), 81, 21);
  ExpectAlongRay(Shown(-40)->picture(), 81, 21);
  ExpectAlongRay(Shown(900)->picture(), 57, 26);  // clamped to 450
}

TEST(PitotDialPicture, BlackOfTheFaceShowsTheBezelBelow) {
  auto s = Shown(100);
  Canvas c = s->picture();
  BitmapCache bitmaps(s->panel().image());
  const IndexedBitmap* bezel = bitmaps.get(0x100);
  const IndexedBitmap* face = bitmaps.get(0x1100);
  ASSERT_TRUE(bezel && face);
  int checked = 0;
  for (int y = 0; y < 158; ++y)
    for (int x = 0; x < 158; ++x)
      if (std::hypot(x - 79, y - 79) > 74 && face->colour(x, y) == 0) {
        EXPECT_EQ(c.pixel(x, y), bezel->colour(x, y)) << x << "," << y;
        checked += bezel->colour(x, y) != 0;
      }
  EXPECT_GT(checked, 1000) << "the bezel rim lies under the face's transparent border";
}

}  // namespace
