// art.cpp: the canvas, its shapes and text, palette conversion and BMP writing.
#include "tools/art/art.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unordered_map>

#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#include <stb/stb_truetype.h>

// The fonts, linked in by embed_file so that nothing is read at run time.
extern "C" const unsigned char ArtFontSans[];
extern "C" const unsigned char ArtFontSans_end[];
extern "C" const unsigned char ArtFontSansBold[];
extern "C" const unsigned char ArtFontSansBold_end[];

namespace art {

namespace {

double Clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

double Length(double x, double y) { return std::sqrt(x * x + y * y); }

double SegmentDistance(Point p, Point a, Point b) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? Clamp01(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2) : 0.0;
  return Length(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Signed distance to an axis-aligned box of half extents (hx, hy) about the origin.
double BoxDistance(double x, double y, double hx, double hy) {
  double qx = std::fabs(x) - hx, qy = std::fabs(y) - hy;
  return Length(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0);
}

}  // namespace

Colour Mix(Colour a, Colour b, double t) {
  t = Clamp01(t);
  return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Paint Paint::Linear(Point a, Colour ca, Point b, Colour cb) {
  Paint p(ca);
  p.kind = Kind::Linear;
  p.to = cb;
  p.p0 = a;
  p.p1 = b;
  return p;
}

Paint Paint::Radial(Point centre, double ra, Colour ca, double rb, Colour cb) {
  Paint p(ca);
  p.kind = Kind::Radial;
  p.to = cb;
  p.p0 = centre;
  p.r0 = ra;
  p.r1 = rb;
  return p;
}

Colour Paint::At(double x, double y) const {
  switch (kind) {
    case Kind::Solid:
      return from;
    case Kind::Linear: {
      double dx = p1.x - p0.x, dy = p1.y - p0.y;
      double len2 = dx * dx + dy * dy;
      double t = len2 > 0 ? ((x - p0.x) * dx + (y - p0.y) * dy) / len2 : 0.0;
      return Mix(from, to, t);
    }
    case Kind::Radial: {
      double r = Length(x - p0.x, y - p0.y);
      double t = r1 != r0 ? (r - r0) / (r1 - r0) : 0.0;
      return Mix(from, to, t);
    }
  }
  return from;
}

// ---- fonts ----

struct Font {
  stbtt_fontinfo info{};
  double capUnits = 0;  // height of a capital in font units
};

namespace {

Font LoadFont(const unsigned char* begin, const unsigned char* end, const char* name) {
  Font f;
  int offset = stbtt_GetFontOffsetForIndex(begin, 0);
  if (end <= begin || offset < 0 || !stbtt_InitFont(&f.info, begin, offset))
    throw Error(std::string("linked font ") + name + " is not a TrueType font");
  int x0, y0, x1, y1;
  f.capUnits = stbtt_GetCodepointBox(&f.info, 'H', &x0, &y0, &x1, &y1) ? y1 : 0.7 * 2048;
  return f;
}

// Code points of a UTF-8 text; a broken sequence reads as '?'.
std::vector<int> CodePoints(std::string_view s) {
  std::vector<int> out;
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= s.size()) {
      out.push_back('?');
      ++i;
      continue;
    }
    int cp = extra == 0 ? c : c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    out.push_back(cp);
    i += extra + 1;
  }
  return out;
}

struct GlyphPlace {
  int codepoint;
  double penX;  // pen position relative to the text's start
};

std::vector<GlyphPlace> Layout(const TextStyle& style, std::string_view text, double& advance) {
  const stbtt_fontinfo& info = style.font->info;
  double sx = stbtt_ScaleForMappingEmToPixels(&info, static_cast<float>(style.size)) * style.widthScale;
  std::vector<int> cps = CodePoints(text);
  std::vector<GlyphPlace> out;
  double pen = 0;
  for (size_t i = 0; i < cps.size(); ++i) {
    out.push_back({cps[i], pen});
    int adv, lsb;
    stbtt_GetCodepointHMetrics(&info, cps[i], &adv, &lsb);
    pen += adv * sx;
    if (i + 1 < cps.size()) pen += stbtt_GetCodepointKernAdvance(&info, cps[i], cps[i + 1]) * sx + style.tracking;
  }
  advance = pen;
  return out;
}

}  // namespace

const Font& Sans() {
  static const Font f = LoadFont(ArtFontSans, ArtFontSans_end, "DejaVu Sans");
  return f;
}

const Font& SansBold() {
  static const Font f = LoadFont(ArtFontSansBold, ArtFontSansBold_end, "DejaVu Sans Bold");
  return f;
}

TextExtent MeasureText(const TextStyle& style, std::string_view text) {
  TextExtent e;
  if (!style.font) throw Error("text style without a font");
  const stbtt_fontinfo& info = style.font->info;
  double sy = stbtt_ScaleForMappingEmToPixels(&info, static_cast<float>(style.size));
  double sx = sy * style.widthScale;
  std::vector<GlyphPlace> glyphs = Layout(style, text, e.advance);
  bool any = false;
  for (const GlyphPlace& g : glyphs) {
    int x0, y0, x1, y1;
    if (!stbtt_GetCodepointBox(&info, g.codepoint, &x0, &y0, &x1, &y1) || x1 <= x0) continue;
    double l = g.penX + x0 * sx, r = g.penX + x1 * sx;
    e.inkLeft = any ? std::min(e.inkLeft, l) : l;
    e.inkRight = any ? std::max(e.inkRight, r) : r;
    any = true;
  }
  if (!any) e.inkLeft = e.inkRight = 0;
  e.capHeight = style.font->capUnits * sy;
  return e;
}

// ---- canvas ----

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
  if (width <= 0 || height <= 0) throw Error("canvas size must be positive");
  pixels_.assign(static_cast<size_t>(width) * height * 4, 0.0f);
}

Colour Canvas::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return Colour{};
  const float* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 4];
  if (p[3] <= 0) return Colour{};
  return Colour{p[0] / p[3] * 255.0, p[1] / p[3] * 255.0, p[2] / p[3] * 255.0, p[3]};
}

void Canvas::Set(int x, int y, Colour c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  float* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 4];
  double a = Clamp01(c.a);
  p[0] = static_cast<float>(Clamp01(c.r / 255.0) * a);
  p[1] = static_cast<float>(Clamp01(c.g / 255.0) * a);
  p[2] = static_cast<float>(Clamp01(c.b / 255.0) * a);
  p[3] = static_cast<float>(a);
}

void Canvas::Blend(int x, int y, const Colour& c, double coverage) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  double a = Clamp01(c.a) * Clamp01(coverage);
  if (a <= 0) return;
  float* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 4];
  double keep = 1.0 - a;
  p[0] = static_cast<float>(Clamp01(c.r / 255.0) * a + p[0] * keep);
  p[1] = static_cast<float>(Clamp01(c.g / 255.0) * a + p[1] * keep);
  p[2] = static_cast<float>(Clamp01(c.b / 255.0) * a + p[2] * keep);
  p[3] = static_cast<float>(a + p[3] * keep);
}

void Canvas::Clear(Colour c) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) Set(x, y, c);
}

void Canvas::Fill(const Paint& paint) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) Blend(x, y, paint.At(x + 0.5, y + 0.5), 1.0);
}

void Canvas::Shape(int x0, int y0, int x1, int y1, const std::function<double(double, double)>& distance,
                   const Paint& paint) {
  // 4 x 4 samples a pixel, each a quarter-pixel box crossed by a straight edge: smooth
  // edges, and thin strokes keep their weight.
  constexpr int N = 4;
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, width_);
  y1 = std::min(y1, height_);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      double centre = distance(x + 0.5, y + 0.5);
      double coverage;
      if (centre > 1.0) continue;
      if (centre < -1.0) {
        coverage = 1.0;
      } else {
        double sum = 0;
        for (int j = 0; j < N; ++j)
          for (int i = 0; i < N; ++i)
            sum += Clamp01(0.5 - N * distance(x + (i + 0.5) / N, y + (j + 0.5) / N));
        coverage = sum / (N * N);
      }
      if (coverage > 0) Blend(x, y, paint.At(x + 0.5, y + 0.5), coverage);
    }
  }
}

namespace {

// The pixel box around [x0, x1] x [y0, y1] with a margin for the edge smoothing.
struct Bounds {
  int x0, y0, x1, y1;
};

Bounds Around(double x0, double y0, double x1, double y1) {
  return Bounds{static_cast<int>(std::floor(x0)) - 2, static_cast<int>(std::floor(y0)) - 2,
                static_cast<int>(std::ceil(x1)) + 2, static_cast<int>(std::ceil(y1)) + 2};
}

}  // namespace

void Canvas::Disc(double cx, double cy, double r, const Paint& paint) {
  Bounds b = Around(cx - r, cy - r, cx + r, cy + r);
  Shape(b.x0, b.y0, b.x1, b.y1, [&](double x, double y) { return Length(x - cx, y - cy) - r; }, paint);
}

void Canvas::Ring(double cx, double cy, double rInner, double rOuter, const Paint& paint) {
  double mid = (rInner + rOuter) / 2, half = (rOuter - rInner) / 2;
  Bounds b = Around(cx - rOuter, cy - rOuter, cx + rOuter, cy + rOuter);
  Shape(b.x0, b.y0, b.x1, b.y1, [&](double x, double y) { return std::fabs(Length(x - cx, y - cy) - mid) - half; },
        paint);
}

void Canvas::Line(double x0, double y0, double x1, double y1, double width, const Paint& paint) {
  double h = width / 2;
  Bounds b = Around(std::min(x0, x1) - h, std::min(y0, y1) - h, std::max(x0, x1) + h, std::max(y0, y1) + h);
  Shape(b.x0, b.y0, b.x1, b.y1,
        [&](double x, double y) { return SegmentDistance({x, y}, {x0, y0}, {x1, y1}) - h; }, paint);
}

void Canvas::Polygon(const std::vector<Point>& pts, const Paint& paint) {
  if (pts.size() < 3) return;
  double minX = pts[0].x, maxX = pts[0].x, minY = pts[0].y, maxY = pts[0].y;
  for (const Point& p : pts) {
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  Bounds b = Around(minX, minY, maxX, maxY);
  auto distance = [&](double x, double y) {
    double d = 1e30;
    int winding = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
      const Point& a = pts[i];
      const Point& c = pts[(i + 1) % pts.size()];
      d = std::min(d, SegmentDistance({x, y}, a, c));
      double side = (c.x - a.x) * (y - a.y) - (x - a.x) * (c.y - a.y);
      if (a.y <= y && c.y > y && side > 0) ++winding;
      if (a.y > y && c.y <= y && side < 0) --winding;
    }
    return winding != 0 ? -d : d;
  };
  Shape(b.x0, b.y0, b.x1, b.y1, distance, paint);
}

void Canvas::Tick(double cx, double cy, double rIn, double rOut, double angle, double width, const Paint& paint) {
  double ux = std::cos(angle), uy = std::sin(angle);
  double mid = (rIn + rOut) / 2, halfLen = (rOut - rIn) / 2, halfW = width / 2;
  double ex = std::fabs(ux) * halfLen + std::fabs(uy) * halfW, ey = std::fabs(uy) * halfLen + std::fabs(ux) * halfW;
  double mx = cx + ux * mid, my = cy + uy * mid;
  Bounds b = Around(mx - ex, my - ey, mx + ex, my + ey);
  Shape(b.x0, b.y0, b.x1, b.y1,
        [&](double x, double y) {
          double dx = x - mx, dy = y - my;
          return BoxDistance(dx * ux + dy * uy, -dx * uy + dy * ux, halfLen, halfW);
        },
        paint);
}

void Canvas::Arc(double cx, double cy, double r, double a0, double sweep, double width, const Paint& paint) {
  double half = width / 2;
  double u0x = std::cos(a0), u0y = std::sin(a0), u1x = std::cos(a0 + sweep), u1y = std::sin(a0 + sweep);
  bool wide = sweep > Pi;
  Bounds b = Around(cx - r - half, cy - r - half, cx + r + half, cy + r + half);
  Shape(b.x0, b.y0, b.x1, b.y1,
        [&](double x, double y) {
          double px = x - cx, py = y - cy;
          double ring = std::fabs(Length(px, py) - r) - half;
          double afterStart = -(u0x * py - u0y * px);  // <= 0 clockwise of the start
          double beforeEnd = u1x * py - u1y * px;      // <= 0 counter-clockwise of the end
          double sector = wide ? std::min(afterStart, beforeEnd) : std::max(afterStart, beforeEnd);
          return std::max(ring, sector);
        },
        paint);
}

void Canvas::RoundedRect(double x, double y, double w, double h, double radius, const Paint& paint) {
  radius = std::clamp(radius, 0.0, std::min(w, h) / 2);
  double cx = x + w / 2, cy = y + h / 2;
  Bounds b = Around(x, y, x + w, y + h);
  Shape(b.x0, b.y0, b.x1, b.y1,
        [&](double px, double py) {
          return BoxDistance(px - cx, py - cy, w / 2 - radius, h / 2 - radius) - radius;
        },
        paint);
}

void Canvas::Text(const TextStyle& style, double x, double y, Anchor anchor, std::string_view text) {
  TextExtent e = MeasureText(style, text);
  double startX = anchor == Anchor::Centre ? x - (e.inkLeft + e.inkRight) / 2
                  : anchor == Anchor::Left ? x - e.inkLeft
                                           : x - e.inkRight;
  double baseline = y + e.capHeight / 2;
  const stbtt_fontinfo& info = style.font->info;
  float sy = stbtt_ScaleForMappingEmToPixels(&info, static_cast<float>(style.size));
  float sx = static_cast<float>(sy * style.widthScale);
  double advance;
  std::vector<unsigned char> mask;
  for (const GlyphPlace& g : Layout(style, text, advance)) {
    double penX = startX + g.penX;
    double fx = std::floor(penX), fy = std::floor(baseline);
    float shiftX = static_cast<float>(penX - fx), shiftY = static_cast<float>(baseline - fy);
    int ix0, iy0, ix1, iy1;
    stbtt_GetCodepointBitmapBoxSubpixel(&info, g.codepoint, sx, sy, shiftX, shiftY, &ix0, &iy0, &ix1, &iy1);
    int w = ix1 - ix0, h = iy1 - iy0;
    if (w <= 0 || h <= 0) continue;
    mask.assign(static_cast<size_t>(w) * h, 0);
    stbtt_MakeCodepointBitmapSubpixel(&info, mask.data(), w, h, w, sx, sy, shiftX, shiftY, g.codepoint);
    int ox = static_cast<int>(fx) + ix0, oy = static_cast<int>(fy) + iy0;
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i) {
        unsigned char m = mask[static_cast<size_t>(j) * w + i];
        if (m) Blend(ox + i, oy + j, style.paint.At(ox + i + 0.5, oy + j + 0.5), m / 255.0);
      }
  }
}

void Canvas::Draw(const Canvas& over, int x, int y) {
  for (int j = 0; j < over.height_; ++j)
    for (int i = 0; i < over.width_; ++i) {
      int tx = x + i, ty = y + j;
      if (tx < 0 || ty < 0 || tx >= width_ || ty >= height_) continue;
      const float* s = &over.pixels_[(static_cast<size_t>(j) * over.width_ + i) * 4];
      float* d = &pixels_[(static_cast<size_t>(ty) * width_ + tx) * 4];
      float keep = 1.0f - s[3];
      for (int k = 0; k < 4; ++k) d[k] = s[k] + d[k] * keep;
    }
}

void DialFigure(Canvas& c, const TextStyle& style, double cx, double cy, double edge, double angle,
                std::string_view text) {
  TextExtent e = MeasureText(style, text);
  double ux = std::cos(angle), uy = std::sin(angle);
  double r = edge - (e.Width() / 2 * std::fabs(ux) + e.capHeight / 2 * std::fabs(uy));
  c.Text(style, cx + ux * r, cy + uy * r, Anchor::Centre, text);
}

void Screw(Canvas& c, double x, double y, double r, double slotAngle) {
  c.Disc(x, y, r + 0.7, Rgb(10, 10, 11));
  c.Disc(x, y, r, Paint::Linear({x - r, y - r}, Rgb(175, 175, 182), {x + r, y + r}, Rgb(50, 50, 55)));
  double dx = std::cos(slotAngle) * r * 0.78, dy = std::sin(slotAngle) * r * 0.78;
  c.Line(x - dx, y - dy, x + dx, y + dy, std::max(0.8, r * 0.28), Rgb(22, 22, 24));
}

void Rim(Canvas& c, double cx, double cy, double outer, double inner) {
  const double light = 0.7 * outer, step = 0.71 * inner;
  c.Disc(cx, cy, outer, Rgb(12, 12, 13));
  c.Disc(cx, cy, outer - 0.9,
         Paint::Linear({cx - light, cy - light}, Rgb(112, 112, 118), {cx + light, cy + light}, Rgb(20, 20, 22)));
  c.Ring(cx, cy, inner + 2.2, outer - 3.2,
         Paint::Linear({cx - light, cy - light}, Rgb(64, 64, 69), {cx + light, cy + light}, Rgb(28, 28, 31)));
  c.Ring(cx, cy, inner - 0.5, inner + 2.4,
         Paint::Linear({cx - step, cy - step}, Rgb(8, 8, 9), {cx + step, cy + step}, Rgb(80, 80, 86)));
  c.Disc(cx, cy, inner, Rgb(1, 1, 1));
}

void Knob(Canvas& c, double x, double y, double r) {
  c.Disc(x, y, r + 0.6, Rgb(6, 6, 7));
  c.Disc(x, y, r - 0.2, Rgb(44, 44, 48));
  int teeth = static_cast<int>(std::lround(2 * Pi * r / 1.9));
  for (int i = 0; i < teeth; ++i) c.Tick(x, y, r * 0.79, r - 0.2, 2 * Pi * i / teeth, 0.95, Rgb(14, 14, 16));
  c.Disc(x, y, r * 0.77, Paint::Linear({x - r * 0.65, y - r * 0.65}, Rgb(112, 112, 118), {x + r * 0.65, y + r * 0.65},
                                       Rgb(26, 26, 30)));
  c.Disc(x, y, r * 0.66, Paint::Radial({x - r * 0.15, y - r * 0.15}, 0, Rgb(66, 66, 72), r * 0.75, Rgb(26, 26, 29)));
}

// ---- palette ----

namespace {

struct ColourCount {
  uint32_t rgb;
  uint32_t count;
};

int Channel(uint32_t rgb, int c) { return static_cast<int>((rgb >> (16 - 8 * c)) & 0xFF); }

uint32_t Pack(int r, int g, int b) {
  return (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) | static_cast<uint32_t>(b);
}

int Distance2(uint32_t a, uint32_t b) {
  int d = 0;
  for (int c = 0; c < 3; ++c) {
    int e = Channel(a, c) - Channel(b, c);
    d += e * e;
  }
  return d;
}

// Mean colour of a set, never the transparent black.
uint32_t MeanColour(const std::vector<ColourCount>& set, size_t begin, size_t end) {
  double sum[3] = {0, 0, 0}, n = 0;
  for (size_t i = begin; i < end; ++i) {
    for (int c = 0; c < 3; ++c) sum[c] += double(Channel(set[i].rgb, c)) * set[i].count;
    n += set[i].count;
  }
  int v[3];
  for (int c = 0; c < 3; ++c) v[c] = n > 0 ? static_cast<int>(std::lround(sum[c] / n)) : 0;
  uint32_t rgb = Pack(v[0], v[1], v[2]);
  return rgb == 0 ? Pack(1, 1, 1) : rgb;
}

// Median cut of the visible colours into at most `slots` entries, then a few rounds of
// moving each entry to the mean of the colours nearest it.
std::vector<uint32_t> Quantise(std::vector<ColourCount> colours, size_t slots) {
  struct Box {
    size_t begin, end;
  };
  std::vector<Box> boxes{{0, colours.size()}};
  auto spread = [&](const Box& b, int& channel) {
    int best = -1;
    for (int c = 0; c < 3; ++c) {
      int lo = 255, hi = 0;
      for (size_t i = b.begin; i < b.end; ++i) {
        lo = std::min(lo, Channel(colours[i].rgb, c));
        hi = std::max(hi, Channel(colours[i].rgb, c));
      }
      if (hi - lo > best) {
        best = hi - lo;
        channel = c;
      }
    }
    return best;
  };
  while (boxes.size() < slots) {
    int pick = -1, pickChannel = 0;
    double pickScore = 0;
    for (size_t k = 0; k < boxes.size(); ++k) {
      if (boxes[k].end - boxes[k].begin < 2) continue;
      int channel = 0;
      int s = spread(boxes[k], channel);
      double weight = 0;
      for (size_t i = boxes[k].begin; i < boxes[k].end; ++i) weight += colours[i].count;
      double score = s * std::sqrt(weight);
      if (s > 0 && score > pickScore) {
        pickScore = score;
        pick = static_cast<int>(k);
        pickChannel = channel;
      }
    }
    if (pick < 0) break;
    Box b = boxes[pick];
    std::sort(colours.begin() + b.begin, colours.begin() + b.end, [&](const ColourCount& x, const ColourCount& y) {
      return Channel(x.rgb, pickChannel) < Channel(y.rgb, pickChannel);
    });
    double total = 0, run = 0;
    for (size_t i = b.begin; i < b.end; ++i) total += colours[i].count;
    size_t cut = b.begin + 1;
    for (size_t i = b.begin; i + 1 < b.end; ++i) {
      run += colours[i].count;
      cut = i + 1;
      if (run >= total / 2) break;
    }
    boxes[pick] = {b.begin, cut};
    boxes.push_back({cut, b.end});
  }
  std::vector<uint32_t> palette;
  for (const Box& b : boxes) palette.push_back(MeanColour(colours, b.begin, b.end));

  for (int round = 0; round < 4; ++round) {
    std::vector<double> sum(palette.size() * 3, 0.0), n(palette.size(), 0.0);
    for (const ColourCount& cc : colours) {
      size_t best = 0;
      int bestD = Distance2(cc.rgb, palette[0]);
      for (size_t k = 1; k < palette.size(); ++k) {
        int d = Distance2(cc.rgb, palette[k]);
        if (d < bestD) {
          bestD = d;
          best = k;
        }
      }
      for (int c = 0; c < 3; ++c) sum[best * 3 + c] += double(Channel(cc.rgb, c)) * cc.count;
      n[best] += cc.count;
    }
    for (size_t k = 0; k < palette.size(); ++k) {
      if (n[k] <= 0) continue;
      uint32_t rgb = Pack(static_cast<int>(std::lround(sum[k * 3] / n[k])), static_cast<int>(std::lround(sum[k * 3 + 1] / n[k])),
                          static_cast<int>(std::lround(sum[k * 3 + 2] / n[k])));
      palette[k] = rgb == 0 ? Pack(1, 1, 1) : rgb;
    }
  }
  return palette;
}

}  // namespace

IndexedImage ToIndexed(const Canvas& canvas, double threshold) {
  IndexedImage out;
  out.width = canvas.width();
  out.height = canvas.height();
  // Each pixel as 0x00RRGGBB, or 0 for transparent.
  std::vector<uint32_t> rgb(static_cast<size_t>(out.width) * out.height, 0);
  std::unordered_map<uint32_t, uint32_t> counts;
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) {
      Colour c = canvas.At(x, y);
      if (c.a < threshold) continue;
      auto over = [&](double v) { return std::clamp(static_cast<int>(std::lround(v * c.a)), 0, 255); };
      uint32_t v = Pack(over(c.r), over(c.g), over(c.b));
      if (v == 0) v = Pack(1, 1, 1);
      rgb[static_cast<size_t>(y) * out.width + x] = v;
      ++counts[v];
    }

  std::vector<ColourCount> colours;
  for (const auto& [v, n] : counts) colours.push_back({v, n});
  std::sort(colours.begin(), colours.end(), [](const ColourCount& a, const ColourCount& b) { return a.rgb < b.rgb; });

  out.palette.push_back(0);
  if (colours.size() <= 255) {
    for (const ColourCount& cc : colours) out.palette.push_back(cc.rgb);
  } else {
    for (uint32_t p : Quantise(colours, 255)) out.palette.push_back(p);
  }

  std::unordered_map<uint32_t, uint8_t> index;
  for (const ColourCount& cc : colours) {
    size_t best = 1;
    int bestD = Distance2(cc.rgb, out.palette[1]);
    for (size_t k = 2; k < out.palette.size() && bestD > 0; ++k) {
      int d = Distance2(cc.rgb, out.palette[k]);
      if (d < bestD) {
        bestD = d;
        best = k;
      }
    }
    index[cc.rgb] = static_cast<uint8_t>(best);
  }
  out.pixels.resize(rgb.size());
  for (size_t i = 0; i < rgb.size(); ++i) out.pixels[i] = rgb[i] == 0 ? 0 : index[rgb[i]];
  return out;
}

// ---- BMP ----

namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

}  // namespace

void WriteBmp(const std::string& path, const IndexedImage& image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<size_t>(image.width) * image.height)
    throw Error(path + ": image size and pixel count disagree");
  if (image.palette.empty() || image.palette.size() > 256) throw Error(path + ": palette must hold 1 to 256 colours");
  for (uint8_t p : image.pixels)
    if (p >= image.palette.size()) throw Error(path + ": pixel index beyond the palette");

  const uint32_t stride = (static_cast<uint32_t>(image.width) + 3) & ~3u;
  const uint32_t headers = 14 + 40 + 256 * 4;
  const uint32_t imageBytes = stride * static_cast<uint32_t>(image.height);
  std::vector<uint8_t> b;
  b.reserve(headers + imageBytes);
  b.push_back('B');
  b.push_back('M');
  Put32(b, headers + imageBytes);
  Put32(b, 0);
  Put32(b, headers);
  Put32(b, 40);
  Put32(b, static_cast<uint32_t>(image.width));
  Put32(b, static_cast<uint32_t>(image.height));  // positive: rows bottom-up
  Put16(b, 1);
  Put16(b, 8);
  Put32(b, 0);  // BI_RGB
  Put32(b, imageBytes);
  Put32(b, 2835);  // 72 dpi
  Put32(b, 2835);
  Put32(b, 256);
  Put32(b, 0);
  for (size_t i = 0; i < 256; ++i) {
    uint32_t c = i < image.palette.size() ? image.palette[i] : 0;
    b.push_back(static_cast<uint8_t>(c));
    b.push_back(static_cast<uint8_t>(c >> 8));
    b.push_back(static_cast<uint8_t>(c >> 16));
    b.push_back(0);
  }
  for (int y = image.height - 1; y >= 0; --y) {
    const uint8_t* row = &image.pixels[static_cast<size_t>(y) * image.width];
    b.insert(b.end(), row, row + image.width);
    b.insert(b.end(), stride - static_cast<uint32_t>(image.width), 0);
  }

  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw Error(path + ": cannot create: " + std::strerror(errno));
  bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
  int err = errno;
  if (std::fclose(f) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (!ok) throw Error(path + ": write failed: " + std::strerror(err));
}

// ---- program ----

int RunArtProgram(int argc, char** argv, const char* what, const std::vector<Bitmap>& bitmaps) {
  const char* name = argc > 0 && argv[0] ? argv[0] : "art";
  auto usage = [&](std::FILE* to) {
    std::fprintf(to, "usage: %s OUTDIR\n  writes %s as OUTDIR/<resource number>.bmp:", name, what);
    for (const Bitmap& b : bitmaps) std::fprintf(to, " %d.bmp", b.resource);
    std::fprintf(to, "\n");
  };
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    usage(stdout);
    return 0;
  }
  if (argc != 2 || argv[1][0] == '\0' || argv[1][0] == '-') {
    if (argc == 2 && argv[1][0] == '-')
      std::fprintf(stderr, "%s: unknown option %s\n", name, argv[1]);
    else
      std::fprintf(stderr, "%s: expected exactly one argument, the output directory\n", name);
    usage(stderr);
    return 2;
  }
  std::string dir = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec || !std::filesystem::is_directory(dir, ec)) {
    std::fprintf(stderr, "%s: %s: cannot use as output directory%s%s\n", name, dir.c_str(), ec ? ": " : "",
                 ec ? ec.message().c_str() : "");
    return 1;
  }
  try {
    for (const Bitmap& b : bitmaps) WriteBmp(dir + "/" + std::to_string(b.resource) + ".bmp", ToIndexed(b.draw()));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", name, e.what());
    return 1;
  }
  return 0;
}

}  // namespace art
