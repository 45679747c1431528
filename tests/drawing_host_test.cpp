// How the host draws what element callbacks return, against the fixture gauge's bitmaps.
#include <gtest/gtest.h>

#include "host/session.h"
#include "tests/fixture/fixture_gauge.h"

using namespace gaugehost;

namespace {

const std::string Fixture = std::string(GAUGES_DIR) + "/Kv_TestFixture.gau";
constexpr uint32_t Grey = 0x808080, Red = 0xDC1E1E, Green = 0x1EC83C, Blue = 0x283CE6, Yellow = 0xF0DC14;

Canvas Picture(double icon) {
  VariableStore vars;
  vars.set(FixtureTokenHide, icon);
  Session s(Fixture, vars);
  s.frames(1);
  return s.picture();
}

TEST(HostDrawing, IconIndexSelectsTheFollowingBitmap) {
  EXPECT_EQ(Picture(0).pixel(8, 8), Red);
  EXPECT_EQ(Picture(1).pixel(8, 8), Green);
}

TEST(HostDrawing, HiddenElementDrawsNothing) {
  Canvas shown = Picture(0), hidden = Picture(-1);
  EXPECT_EQ(hidden.pixel(8, 8), Grey);
  int differing = 0;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x) differing += shown.pixel(x, y) != hidden.pixel(x, y);
  EXPECT_EQ(differing, 16 * 16) << "only the icon's own pixels go";
}

TEST(HostDrawing, PureBlackIsTransparent) {
  Canvas c = Picture(0);
  EXPECT_EQ(c.width(), 80);
  EXPECT_EQ(c.pixel(75, 75), 0u) << "nothing below the root: the empty canvas shows";
  EXPECT_EQ(c.pixel(65, 75), Grey);
}

TEST(HostDrawing, NeedleFollowsItsCalibrationTable) {
  // 0 points at (40, 10): straight up from the centre (40, 40); 100 at (70, 40): right.
  for (double v : {0.0, 100.0, -50.0, 400.0}) {
    VariableStore vars;
    vars.set(FixtureTokenNeedle, v);
    Session s(Fixture, vars);
    s.frames(1);
    Canvas c = s.picture();
    bool up = v <= 0;
    EXPECT_EQ(c.pixel(up ? 40 : 60, up ? 20 : 40), 0xFFFFFFu) << v;
    EXPECT_EQ(c.pixel(up ? 60 : 40, up ? 40 : 20), Grey) << v;
  }
}

TEST(HostDrawing, SliderMovesByValueTimesScale) {
  for (double v : {0.0, 5.0, -1.0}) {
    VariableStore vars;
    vars.set(FixtureTokenSlider, v);
    Session s(Fixture, vars);
    s.frames(1);
    Canvas c = s.picture();
    int left = 2 + static_cast<int>(v * 2);
    EXPECT_EQ(c.pixel(left, 31), Blue) << v;
    EXPECT_EQ(c.pixel(left + 3, 31), Blue) << v;
    EXPECT_EQ(c.pixel(left + 4, 31), Grey) << v;
    if (left > 0) {
      EXPECT_EQ(c.pixel(left - 1, 31), Grey) << v;
    }
  }
}

TEST(HostDrawing, MovingImageShowsThePictureRowsForItsValue) {
  const struct {
    double value;
    int firstYellowRow;  // window row where the picture's bottom half begins
  } cases[] = {{10, 10}, {20, 0}, {15, 5}, {5, 10}, {30, 0}};
  for (const auto& c : cases) {
    VariableStore vars;
    vars.set(FixtureTokenMoving, c.value);
    Session s(Fixture, vars);
    s.frames(1);
    Canvas p = s.picture();
    for (int row = 0; row < 10; ++row)
      EXPECT_EQ(p.pixel(64, 2 + row), row < c.firstYellowRow ? Blue : Yellow) << c.value << " row " << row;
    EXPECT_EQ(p.pixel(64, 12), Grey) << "nothing below the window";
  }
}

}  // namespace
