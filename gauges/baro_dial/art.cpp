// art.cpp: draws the backup altimeter's bitmaps (bezel with BARO knob, face, needle).
#include <cmath>
#include <string>
#include <vector>

#include "gauges/baro_dial/bitmaps.h"
#include "host/needle_geometry.h"
#include "tools/art/art.h"

namespace {

using art::Rgb;

constexpr int Width = 158, Height = 156;

// The needle's rotation centre, gauge pixel (81, 77), as a point between pixel edges.
constexpr double CX = 81.5, CY = 77.5;

constexpr double BezelOuter = 76.5;  // touches the bitmap's right edge
constexpr double BezelInner = 68.0;
constexpr double FaceRadius = 68.3;

constexpr double TickOuter = 66.0;
constexpr double MajorInner = 58.5;
constexpr double MinorInner = 62.0;
constexpr double FigureEdge = 56.8;

// The BARO knob fills the click area 13..39 x 122..147.
constexpr double KnobX = 13 + 27 / 2.0, KnobY = 122 + 26 / 2.0, KnobRadius = 12.5;

// Visible windows round the host's string boxes (text from the box's left edge, sized to
// the box height): five, four and five characters of about 0.42 box heights, kept clear
// of the figures 1, 2, 4 and 6.
struct Window {
  double x, y, w, h;
};
constexpr Window AltitudeWindow{51, 44, 71, 34};
constexpr Window MillibarWindow{40, 92, 41, 20};
constexpr Window InchesWindow{85, 93, 39, 19};

const art::Colour White = Rgb(245, 245, 245);
const art::Colour CoverBlack = Rgb(1, 1, 1);

double DialAngle(double feet) {
  static const std::vector<gauge_geometry::CalibrationPoint> table = {{83, 22, 0}, {82, 22, 999}};
  return gauge_geometry::NeedleAngle(table, 81, 77, feet);
}

art::Canvas Bezel() {
  art::Canvas c(Width, Height);
  art::Rim(c, CX, CY, BezelOuter, BezelInner);

  for (double deg : {-135.0, -45.0, 45.0}) {
    double a = art::Degrees(deg);
    art::Screw(c, CX + std::cos(a) * 72.3, CY + std::sin(a) * 72.3, 3.4, a + art::Degrees(60));
  }

  // The BARO knob over the rim's lower left: knurled edge, flat top with its name.
  const double x = KnobX, y = KnobY;
  art::Knob(c, x, y, KnobRadius);
  c.Text({&art::SansBold(), 6.2, Rgb(235, 235, 235), 1.0, 0.1}, x, y, art::Anchor::Centre, "BARO");
  return c;
}

// A recessed window: lit lower frame, near-black glass.
void DrawWindow(art::Canvas& c, const Window& w) {
  c.RoundedRect(w.x - 1.6, w.y - 1.6, w.w + 3.2, w.h + 3.2, 4.2,
                art::Paint::Linear({0, w.y - 2}, Rgb(30, 30, 33), {0, w.y + w.h + 2}, Rgb(120, 120, 126)));
  c.RoundedRect(w.x, w.y, w.w, w.h, 3, Rgb(4, 4, 5));
}

art::Canvas Face() {
  art::Canvas c(Width, Height);
  c.Disc(CX, CY, FaceRadius, CoverBlack);

  for (int feet = 0; feet < 1000; feet += 50) {
    bool major = feet % 100 == 0;
    c.Tick(CX, CY, major ? MajorInner : MinorInner, TickOuter, DialAngle(feet), major ? 2.4 : 1.4, White);
  }
  art::TextStyle figures{&art::SansBold(), 12.5, White, 0.9, 0};
  for (int k = 0; k < 10; ++k)
    art::DialFigure(c, figures, CX, CY, FigureEdge, DialAngle(k * 100), std::to_string(k));

  // The unit legend left of the 0, clear of the 9 and of the 950 ft mark.
  art::TextStyle small{&art::SansBold(), 6.0, Rgb(225, 225, 225), 1.0, 0.3};
  c.Text(small, 76.5, 25.5, art::Anchor::Right, "100");
  c.Text(small, 76.5, 33.0, art::Anchor::Right, "FEET");

  DrawWindow(c, AltitudeWindow);
  DrawWindow(c, MillibarWindow);
  DrawWindow(c, InchesWindow);
  art::TextStyle label{&art::SansBold(), 7.0, Rgb(225, 225, 225), 1.0, 0.4};
  c.Text(label, MillibarWindow.x + MillibarWindow.w / 2, 86.5, art::Anchor::Centre, "MB");
  c.Text(label, InchesWindow.x + InchesWindow.w / 2, 86.5, art::Anchor::Centre, "IN HG");
  return c;
}

// Pointing right from the pivot pixel (5, 5): dark hub, white pointer.
art::Canvas Needle() {
  art::Canvas c(62, 11);
  const double px = 5.5, py = 5.5;
  c.Polygon({{px, py - 1.6}, {47, py - 1.4}, {61.7, py}, {47, py + 1.4}, {px, py + 1.6}}, Rgb(242, 242, 242));
  c.Disc(px, py, 5.1, Rgb(96, 96, 102));
  c.Disc(px, py, 4.3, art::Paint::Radial({px - 1, py - 1}, 0, Rgb(58, 58, 63), 5, Rgb(22, 22, 25)));
  c.Disc(px, py, 1.2, Rgb(110, 110, 116));
  return c;
}

}  // namespace

int main(int argc, char** argv) {
  return art::RunArtProgram(argc, argv, "the backup altimeter's bitmaps",
                            {{BitmapBezel, Bezel}, {BitmapFace, Face}, {BitmapNeedle, Needle}});
}
