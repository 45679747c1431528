// art.h: drawing gauge bitmaps by code at build time.
//
//   art::Canvas c(158, 158);                        // starts fully transparent
//   c.Disc(79.5, 79.5, 70, art::Rgb(1, 1, 1));      // covering black
//   c.Tick(79.5, 79.5, 60, 68, angle, 2.0, art::Rgb(255, 255, 255));
//   c.Text({&art::SansBold(), 9}, 79.5, 40, art::Anchor::Centre, "MACH");
//   art::WriteBmp("out/256.bmp", art::ToIndexed(c)); // throws art::Error on failure
//
// Coordinates are continuous pixels: pixel (i, j) covers [i, i+1) x [j, j+1), so its centre
// is (i + 0.5, j + 0.5). Angles are radians, 0 along +x, growing clockwise (y points down),
// the convention of host/needle_geometry.h. Every shape is anti-aliased and painted over
// what is there (source-over).
//
// The gauge art rule: pure black RGB(0,0,0) is transparent. ToIndexed turns transparent
// pixels into (0,0,0) and never lets a visible pixel be (0,0,0).
#pragma once
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace art {

constexpr double Pi = 3.14159265358979323846;

inline double Degrees(double d) { return d * Pi / 180.0; }

struct Error : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Straight (not premultiplied) colour: r, g, b in 0..255, a in 0..1.
struct Colour {
  double r = 0, g = 0, b = 0, a = 0;
};

constexpr Colour Rgb(int r, int g, int b, double a = 1.0) { return Colour{double(r), double(g), double(b), a}; }

// Mix of two colours, t = 0 gives a, t = 1 gives b.
Colour Mix(Colour a, Colour b, double t);

struct Point {
  double x = 0, y = 0;
};

// What a shape is filled with: one colour, or a gradient between two.
struct Paint {
  enum class Kind { Solid, Linear, Radial };
  Kind kind = Kind::Solid;
  Colour from, to;
  Point p0, p1;           // linear: `from` at p0, `to` at p1
  double r0 = 0, r1 = 0;  // radial about p0: `from` at radius r0, `to` at r1

  Paint() = default;
  Paint(Colour c) : from(c), to(c) {}  // implicit: a colour paints as itself
  static Paint Linear(Point a, Colour ca, Point b, Colour cb);
  static Paint Radial(Point centre, double ra, Colour ca, double rb, Colour cb);
  Colour At(double x, double y) const;
};

// A TrueType face linked into the program.
struct Font;
const Font& Sans();
const Font& SansBold();

struct TextStyle {
  const Font* font = nullptr;
  double size = 10;        // em size in pixels
  Paint paint = Rgb(255, 255, 255);
  double widthScale = 1.0; // below 1 for condensed figures
  double tracking = 0.0;   // extra pixels between letters
};

// Where a text's reference point sits. The vertical reference is always the middle of the
// capital height, so figures on one circle line up whatever their ink.
enum class Anchor { Centre, Left, Right };

struct TextExtent {
  double advance = 0;              // pen travel
  double inkLeft = 0, inkRight = 0; // ink box relative to the pen start
  double capHeight = 0;
  double Width() const { return inkRight - inkLeft; }
};

TextExtent MeasureText(const TextStyle& style, std::string_view text);

class Canvas {
 public:
  Canvas(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  Colour At(int x, int y) const;  // straight colour of a pixel
  void Set(int x, int y, Colour c);

  void Clear(Colour c = Colour{});   // replaces every pixel
  void Fill(const Paint& paint);     // paints over every pixel
  void Disc(double cx, double cy, double r, const Paint& paint);
  void Ring(double cx, double cy, double rInner, double rOuter, const Paint& paint);
  // Round caps at both ends.
  void Line(double x0, double y0, double x1, double y1, double width, const Paint& paint);
  // Non-zero winding fill.
  void Polygon(const std::vector<Point>& points, const Paint& paint);
  // A flat-ended radial mark from rIn to rOut at `angle`.
  void Tick(double cx, double cy, double rIn, double rOut, double angle, double width, const Paint& paint);
  // A flat-ended band of `width` on the circle of radius r, clockwise from a0 through `sweep`.
  void Arc(double cx, double cy, double r, double a0, double sweep, double width, const Paint& paint);
  void RoundedRect(double x, double y, double w, double h, double radius, const Paint& paint);
  void Text(const TextStyle& style, double x, double y, Anchor anchor, std::string_view text);
  // Draws `over` on top, its pixel (0,0) at (x, y).
  void Draw(const Canvas& over, int x, int y);

  // Paints the shape whose signed distance (negative inside) is `distance`, over the
  // pixel box [x0, x1) x [y0, y1). For shapes the methods above do not cover.
  void Shape(int x0, int y0, int x1, int y1, const std::function<double(double, double)>& distance,
             const Paint& paint);

 private:
  void Blend(int x, int y, const Colour& c, double coverage);

  int width_, height_;
  std::vector<float> pixels_;  // premultiplied r, g, b in 0..1 and a, row by row from the top
};

// A dial figure at `angle` about (cx, cy), its ink box pushed in until the corner nearest
// the rim touches the circle of radius `edge`: every figure keeps the same gap to its tick.
void DialFigure(Canvas& c, const TextStyle& style, double cx, double cy, double edge, double angle,
                std::string_view text);

// A slotted bezel screw of radius r.
void Screw(Canvas& c, double x, double y, double r, double slotAngle);

// A round dark instrument rim from radius `inner` to `outer`, lit from the upper left with a
// recessed inner step, and covering black inside `inner`.
void Rim(Canvas& c, double cx, double cy, double outer, double inner);

// A round knob of radius r: knurled edge, plain top lit from the upper left.
void Knob(Canvas& c, double x, double y, double r);

// An 8-bit palette image: what a gauge bitmap resource holds.
struct IndexedImage {
  int width = 0, height = 0;
  std::vector<uint32_t> palette;  // 0x00RRGGBB, at most 256 entries
  std::vector<uint8_t> pixels;    // width * height palette indices, top row first
};

// Pixels covered less than `threshold` become transparent (0,0,0); the rest are composited
// over black and kept at least (1,1,1). The palette is exact when those colours number 255
// or fewer (index 0 is the transparent black), quantised by median cut otherwise.
IndexedImage ToIndexed(const Canvas& canvas, double threshold = 0.125);

// An uncompressed 8 bits per pixel Windows BMP with a 256-entry palette; throws Error.
void WriteBmp(const std::string& path, const IndexedImage& image);

// The main of an art program: `program OUTDIR` writes OUTDIR/<resource>.bmp for every
// bitmap, `--help` prints the usage. Returns the process exit code.
struct Bitmap {
  int resource;
  std::function<Canvas()> draw;
};
int RunArtProgram(int argc, char** argv, const char* what, const std::vector<Bitmap>& bitmaps);

}  // namespace art
