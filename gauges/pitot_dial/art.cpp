// art.cpp: draws the airspeed indicator's bitmaps (bezel, knots face, needle).
#include <cmath>
#include <string>
#include <vector>

#include "gauges/pitot_dial/bitmaps.h"
#include "host/needle_geometry.h"
#include "tools/art/art.h"

namespace {

using art::Rgb;

constexpr int Width = 158, Height = 158;

// The needle's rotation centre, gauge pixel (79, 79), as a point between pixel edges.
constexpr double CX = 79.5, CY = 79.5;

constexpr double BezelOuter = 78.5;  // touches the bitmap's right and bottom edges
constexpr double BezelInner = 70.0;
constexpr double FaceRadius = 70.3;

constexpr double TickOuter = 68.0;
constexpr double MajorInner = 61.0;
constexpr double MinorInner = 64.5;
constexpr double FigureEdge = 59.2;  // figures keep inside this circle

// The host's string boxes: the text starts at their left edge, sized to their height.
constexpr double BoxX = 64, MachY = 47, KnotsY = 87, BoxHeight = 22;
// The visible windows hold four seven-segment characters up to half the box height wide,
// as far as the figures 100 and 140 leave room.
constexpr double WindowLeft = BoxX - 2.5, WindowWidth = 47.5, WindowMargin = 1.0;

const art::Colour White = Rgb(245, 245, 245);
const art::Colour CoverBlack = Rgb(1, 1, 1);

double ScaleAngle(double knots) {
  static const std::vector<gauge_geometry::CalibrationPoint> table = {
      {81, 21, 0}, {82, 21, 60}, {131, 50, 100}, {111, 132, 160}, {37, 117, 250}, {57, 26, 450}};
  return gauge_geometry::NeedleAngle(table, 79, 79, knots);
}

art::Canvas Bezel() {
  art::Canvas c(Width, Height);
  art::Rim(c, CX, CY, BezelOuter, BezelInner);

  for (double deg : {-135.0, -45.0, 45.0, 135.0}) {
    double a = art::Degrees(deg);
    art::Screw(c, CX + std::cos(a) * 74.3, CY + std::sin(a) * 74.3, 3.4, a + art::Degrees(60));
  }

  // The knob in the lower left corner against the rim, clear of the screw: knurled edge, plain top.
  double a = art::Degrees(135), d = 88.9;
  art::Knob(c, CX + std::cos(a) * d, CY + std::sin(a) * d, 10.5);
  return c;
}

// A recessed window round the string box whose top is y: lit lower frame, near-black glass.
void Window(art::Canvas& c, double y) {
  double x = WindowLeft, top = y - WindowMargin, h = BoxHeight + 2 * WindowMargin;
  c.RoundedRect(x - 1.6, top - 1.6, WindowWidth + 3.2, h + 3.2, 4.2,
                art::Paint::Linear({0, top - 2}, Rgb(30, 30, 33), {0, top + h + 2}, Rgb(120, 120, 126)));
  c.RoundedRect(x, top, WindowWidth, h, 3, Rgb(4, 4, 5));
}

art::Canvas Face() {
  art::Canvas c(Width, Height);
  c.Disc(CX, CY, FaceRadius, CoverBlack);

  // Marks every 10 kt up to 250 between the figures, every 25 kt beyond.
  std::vector<double> minor, major{60, 80, 100, 120, 140, 160, 200, 250, 300, 350, 400, 450};
  for (int k = 70; k < 250; k += 10)
    if ((k < 160 && k % 20 != 0) || (k > 160 && k != 200)) minor.push_back(k);
  for (int k = 275; k < 450; k += 50) minor.push_back(k);
  for (double v : minor) c.Tick(CX, CY, MinorInner, TickOuter, ScaleAngle(v), 1.3, White);
  for (double v : major) c.Tick(CX, CY, MajorInner, TickOuter, ScaleAngle(v), 2.2, White);

  art::TextStyle figures{&art::SansBold(), 11, White, 0.8, -0.2};
  for (int v : {60, 80, 100, 120, 140, 160, 200, 250, 300, 350, 400})
    art::DialFigure(c, figures, CX, CY, FigureEdge, ScaleAngle(v), std::to_string(v));

  Window(c, MachY);
  Window(c, KnotsY);
  art::TextStyle label{&art::SansBold(), 8, Rgb(225, 225, 225), 1.0, 0.4};
  double mid = WindowLeft + WindowWidth / 2 - 4;  // a little left, clear of the figure 80
  c.Text(label, mid, MachY - WindowMargin - 6.5, art::Anchor::Centre, "MACH");
  c.Text(label, mid, KnotsY + BoxHeight + WindowMargin + 6.5, art::Anchor::Centre, "KTS");
  return c;
}

// Pointing right from the pivot pixel (6, 7): grey hub, white shaft, yellow tip.
art::Canvas Needle() {
  art::Canvas c(63, 11);
  const double px = 6.5, py = 7.5;
  c.Line(1.6, py, px, py, 3.0, Rgb(200, 200, 204));
  c.Polygon({{px, py - 1.35}, {45, py - 1.1}, {45, py + 1.1}, {px, py + 1.35}}, Rgb(240, 240, 240));
  c.Polygon({{44.5, py - 1.1}, {57.5, py - 1.0}, {62.7, py}, {57.5, py + 1.0}, {44.5, py + 1.1}}, Rgb(255, 204, 0));
  c.Disc(px, py, 3.45, Rgb(70, 70, 74));
  c.Disc(px, py, 2.7, art::Paint::Radial({px - 0.8, py - 0.8}, 0, Rgb(200, 200, 205), 3.2, Rgb(120, 120, 126)));
  c.Disc(px, py, 0.9, Rgb(50, 50, 54));
  return c;
}

}  // namespace

int main(int argc, char** argv) {
  return art::RunArtProgram(argc, argv, "the airspeed indicator's bitmaps",
                            {{BitmapBezel, Bezel}, {BitmapFace, Face}, {BitmapNeedle, Needle}});
}
