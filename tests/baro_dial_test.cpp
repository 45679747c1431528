// The backup altimeter through the host, against the real module: texts, needle, the BARO
// knob's mouse area and its key event.
#include <gtest/gtest.h>

#include <cmath>

#include "host/records.h"
#include "host/session.h"

using namespace gaugehost;

namespace {

const std::string Module = std::string(GAUGES_DIR) + "/Kv_BaroDial.gau";
enum { AltitudeText = 2, MillibarText = 3, InchesText = 4, Pointer = 5 };
enum { KnobArea = 2 };
constexpr uint32_t BaroKnobEvent = 0x10030;

std::unique_ptr<Session> Shown(double feet, double millibars = 1013.25, double inches = 29.92) {
  VariableStore vars;
  vars.set(74, feet);
  vars.set(75, millibars);
  vars.set(76, inches);
  auto s = std::make_unique<Session>(Module, vars);
  s->frames(1);
  return s;
}

TEST(BaroDial, MouseAreaList) {
  auto s = Shown(0);
  const Panel& p = s->panel();
  const GaugeLayout& g = p.layout();
  ASSERT_EQ(g.areas.size(), 5u);
  const uint32_t kinds[] = {rec::AreaParent, rec::AreaTooltip, rec::AreaChild, rec::AreaEndParent, rec::AreaEnd};
  for (size_t i = 0; i < 5; ++i) {
    const MouseAreaInfo& a = g.areas[i];
    EXPECT_EQ(a.kind, kinds[i]) << i;
    EXPECT_EQ(a.helpId, 0u) << i;
    EXPECT_EQ(a.eventId, 0u) << i;
    if (i == KnobArea) continue;
    EXPECT_EQ(a.cursor, -1) << i;
    EXPECT_EQ(a.flags, 0u) << i;
    EXPECT_EQ(a.x | a.y | a.w | a.h, 0) << i;
    if (a.kind != rec::AreaTooltip) {
      EXPECT_EQ(a.action | a.args, 0u) << i;
    }
  }
  const MouseAreaInfo& knob = g.areas[KnobArea];
  EXPECT_EQ(std::vector<int>({knob.x, knob.y, knob.w, knob.h}), std::vector<int>({13, 122, 27, 26}));
  EXPECT_EQ(knob.cursor, 5);
  EXPECT_EQ(knob.flags, 0x20000000u);
  EXPECT_EQ(knob.args, 0u);
  EXPECT_EQ(g.tooltip, "Backup-Altimeter");
  ASSERT_NE(g.tooltipArgs, 0u);
  EXPECT_EQ(p.image().u32(g.tooltipArgs, "args"), 0u) << "the argument list is one zero word";
}

TEST(BaroDial, BitmapsFitTheirElements) {
  auto s = Shown(0);
  BitmapCache bitmaps(s->panel().image());
  const struct {
    int id, w, h;
  } sizes[] = {{0x100, 158, 156}, {0x1300, 158, 156}, {0x1200, 62, 11}};
  for (const auto& b : sizes) {
    const IndexedBitmap* bmp = bitmaps.get(b.id);
    ASSERT_TRUE(bmp) << b.id;
    EXPECT_EQ(bmp->width, b.w) << b.id;
    EXPECT_EQ(bmp->height, b.h) << b.id;
  }
  for (int id : {0x100, 0x1300}) EXPECT_EQ(bitmaps.get(id)->colour(157, 0), 0u) << id << ": corners are transparent";
  const IndexedBitmap* needle = bitmaps.get(0x1200);
  for (int x : {12, 30, 58}) EXPECT_NE(needle->colour(x, 5), 0u) << "the needle runs through its pivot row at x " << x;
}

TEST(BaroDial, Texts) {
  const struct {
    int element;
    double value;
    const char* text;
  } cases[] = {
      {AltitudeText, 1234.4, "01234"}, {AltitudeText, -50, "-0050"},   {AltitudeText, 12345.6, "12346"},
      {AltitudeText, 100000, "100000"}, {AltitudeText, 0, "00000"},    {MillibarText, 1013.25, "1013"},
      {MillibarText, 950.6, "0951"},   {InchesText, 29.92, "29.92"},    {InchesText, 29.9, "29.90"},
      {InchesText, 9.5, "09.50"},
  };
  for (const auto& c : cases) {
    auto s = c.element == AltitudeText ? Shown(c.value) : c.element == MillibarText ? Shown(0, c.value) : Shown(0, 0, c.value);
    const ElementState& e = s->panel().elements()[c.element];
    EXPECT_EQ(e.text, c.text) << c.value;
    EXPECT_EQ(e.flags, 0x87u) << "strings set the updated bit";
  }
}

TEST(BaroDial, NeedleGetsTheAltitudeUnchanged) {
  for (double feet : {500.0, 1234.0, -20.0, 0.0}) {
    auto s = Shown(feet);
    const ElementState& e = s->panel().elements()[Pointer];
    EXPECT_EQ(e.value[0], feet);
    EXPECT_EQ(e.flags, 0x4083u) << "the needle leaves its flags alone";
  }
}

TEST(BaroDial, NeedleTurnsOncePer1000Feet) {
  // Pixels that change between 500 and 250 feet, outside the altitude window whose digits
  // change too, are the needle's: straight down at 500, to the right at 250.
  Canvas down = Shown(500)->picture(), right = Shown(250)->picture();
  const double cx = 81.5, cy = 77.5;
  int onDown = 0, onRight = 0, elsewhere = 0;
  for (int y = 0; y < down.height(); ++y)
    for (int x = 0; x < down.width(); ++x) {
      if (down.pixel(x, y) == right.pixel(x, y) || (x >= 53 && y >= 45 && y < 77)) continue;
      double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
      if (std::hypot(dx, dy) < 8) continue;  // the hub turns in place
      if (std::abs(dx) < 4 && dy > 0)
        ++onDown;
      else if (std::abs(dy) < 4 && dx > 0)
        ++onRight;
      else
        ++elsewhere;
    }
  EXPECT_GT(onDown, 40);
  EXPECT_GT(onRight, 40);
  EXPECT_EQ(elsewhere, 0);
}

TEST(BaroKnob, OneClickOneEvent) {
  auto s = Shown(0);
  for (auto [x, y] : {std::pair{26, 135}, {13, 122}, {39, 147}, {13, 147}, {39, 122}}) {
    ClickResult r = s->click(x, y);
    EXPECT_EQ(r.area, KnobArea) << x << "," << y;
    ASSERT_EQ(r.events.size(), 1u) << x << "," << y;
    EXPECT_EQ(r.events[0].id, BaroKnobEvent);
    EXPECT_EQ(r.events[0].value, 0u);
    EXPECT_EQ(r.result, 0u);
  }
}

TEST(BaroKnob, ClicksJustOutsideEachEdgeSendNothing) {
  auto s = Shown(0);
  for (auto [x, y] : {std::pair{12, 135}, {40, 135}, {26, 121}, {26, 148}, {80, 80}, {-1, -1}, {500, 500}}) {
    ClickResult r = s->click(x, y);
    EXPECT_EQ(r.area, -1) << x << "," << y;
    EXPECT_TRUE(r.events.empty()) << x << "," << y;
  }
  EXPECT_TRUE(s->panel().keyEvents().empty());
}

TEST(BaroKnob, CallbackReturnsZeroWhateverItsArguments) {
  auto s = Shown(0);
  const std::pair<uint32_t, uint32_t> args[] = {{0, 0}, {0xFFFFFFFF, 0xFFFFFFFF}, {26, 0x20000000}, {0x80000000, 1}};
  for (auto [a, b] : args) EXPECT_EQ(s->panel().callMouse(KnobArea, a, b), 0u) << a << "," << b;
  EXPECT_EQ(s->panel().keyEvents().size(), 4u);
}

TEST(BaroKnob, KnobIsDrawnUnderItsAreaAndOutlinedOnRequest) {
  auto s = Shown(0);
  Canvas plain = s->picture(), outlined = s->picture({true});
  BitmapCache bitmaps(s->panel().image());
  const IndexedBitmap* bezel = bitmaps.get(0x100);
  ASSERT_TRUE(bezel);
  int knob = 0;
  for (int y = 122; y < 148; ++y)
    for (int x = 13; x < 40; ++x) knob += bezel->colour(x, y) != 0;
  EXPECT_GT(knob, 27 * 26 * 2 / 3) << "the knob fills its area";
  EXPECT_NE(outlined.pixel(13, 135), plain.pixel(13, 135));
  EXPECT_NE(outlined.pixel(39, 135), plain.pixel(39, 135));
  EXPECT_EQ(outlined.pixel(100, 40), plain.pixel(100, 40)) << "nothing drawn outside the areas";
}

}  // namespace
