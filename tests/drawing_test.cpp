// drawing_test.cpp: the host's drawing library: bitmap parsing, transparency, needles,
// readout text, scaling and PNG output.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "host/canvas.h"
#include "host/dib.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace {

using gaugehost::Canvas;
using gaugehost::DrawError;
using gaugehost::IndexedBitmap;

constexpr double Pi = 3.14159265358979323846;

void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void PutU16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}

// A packed 8-bit DIB built field by field, as a resource compiler lays it out.
struct DibParts {
  int width = 0, height = 0;
  bool topDown = false;
  uint32_t headerSize = 40;
  std::vector<uint32_t> palette;  // 0x00RRGGBB
  std::vector<uint8_t> pixels;    // top row first
};

std::vector<uint8_t> MakeDib(const DibParts& p) {
  const size_t stride = (static_cast<size_t>(p.width) + 3) / 4 * 4;
  std::vector<uint8_t> b(p.headerSize + 4 * p.palette.size() + stride * p.height, 0);
  PutU32(b, 0, p.headerSize);
  PutU32(b, 4, static_cast<uint32_t>(p.width));
  PutU32(b, 8, static_cast<uint32_t>(p.topDown ? -p.height : p.height));
  PutU16(b, 12, 1);
  PutU16(b, 14, 8);
  PutU32(b, 32, static_cast<uint32_t>(p.palette.size()));
  // Bytes of a larger header that this reader does not use: anything but zero.
  for (size_t i = 40; i < p.headerSize; ++i) b[i] = 0xA5;
  size_t at = p.headerSize;
  for (uint32_t c : p.palette) {
    b[at++] = static_cast<uint8_t>(c);
    b[at++] = static_cast<uint8_t>(c >> 8);
    b[at++] = static_cast<uint8_t>(c >> 16);
    b[at++] = 0x77;  // the unused fourth byte, which must not leak into the colour
  }
  for (int y = 0; y < p.height; ++y) {
    const int stored = p.topDown ? y : p.height - 1 - y;
    for (int x = 0; x < p.width; ++x) b[at + stored * stride + x] = p.pixels[y * p.width + x];
    for (size_t x = p.width; x < stride; ++x) b[at + stored * stride + x] = 0xEE;  // row padding
  }
  return b;
}

// The same DIB as a .bmp file, with `gap` junk bytes between palette and rows.
std::vector<uint8_t> MakeBmp(const DibParts& p, size_t gap) {
  const std::vector<uint8_t> dib = MakeDib(p);
  const size_t rowsAt = p.headerSize + 4 * p.palette.size();
  std::vector<uint8_t> b(14 + dib.size() + gap, 0);
  b[0] = 'B';
  b[1] = 'M';
  std::copy(dib.begin(), dib.begin() + rowsAt, b.begin() + 14);
  std::fill_n(b.begin() + 14 + rowsAt, gap, 0xCC);
  std::copy(dib.begin() + rowsAt, dib.end(), b.begin() + 14 + rowsAt + gap);
  PutU32(b, 2, static_cast<uint32_t>(b.size()));
  PutU32(b, 10, static_cast<uint32_t>(14 + rowsAt + gap));
  return b;
}

// 3 x 2, so every row carries one padding byte; colour 0 is the transparent black.
DibParts SmallParts() {
  DibParts p;
  p.width = 3;
  p.height = 2;
  p.palette = {0x000000, 0x102030, 0xFFEEDD, 0x010101};
  p.pixels = {1, 2, 3,
              0, 3, 1};
  return p;
}

void ExpectSmallBitmap(const IndexedBitmap& b) {
  ASSERT_EQ(b.width, 3);
  ASSERT_EQ(b.height, 2);
  EXPECT_EQ(b.palette, (std::vector<uint32_t>{0x000000, 0x102030, 0xFFEEDD, 0x010101}));
  EXPECT_EQ(b.pixels, (std::vector<uint8_t>{1, 2, 3, 0, 3, 1}));
  EXPECT_EQ(b.colour(1, 0), 0xFFEEDDu);
  EXPECT_EQ(b.colour(2, 1), 0x102030u);
  EXPECT_EQ(b.colour(3, 0), 0u);
  EXPECT_EQ(b.colour(0, -1), 0u);
}

// The DrawError message of `parse`, or a note that nothing was thrown.
template <typename Parse>
std::string ErrorOf(Parse parse) {
  try {
    parse();
  } catch (const DrawError& e) {
    return e.what();
  }
  return "no error";
}

TEST(DibTest, ReadsBottomUpRowsPaddingAndPalette) {
  const std::vector<uint8_t> dib = MakeDib(SmallParts());
  ExpectSmallBitmap(gaugehost::ParseDib(dib.data(), dib.size()));
}

TEST(DibTest, ReadsTopDownRowsAfterALargerHeader) {
  DibParts p = SmallParts();
  p.topDown = true;
  p.headerSize = 124;
  const std::vector<uint8_t> dib = MakeDib(p);
  ExpectSmallBitmap(gaugehost::ParseDib(dib.data(), dib.size()));
}

TEST(DibTest, FullPaletteWhenColourCountIsZero) {
  DibParts p = SmallParts();
  p.palette.resize(256, 0x445566);
  p.pixels[0] = 255;
  std::vector<uint8_t> dib = MakeDib(p);
  PutU32(dib, 32, 0);
  const IndexedBitmap b = gaugehost::ParseDib(dib.data(), dib.size());
  EXPECT_EQ(b.palette.size(), 256u);
  EXPECT_EQ(b.colour(0, 0), 0x445566u);
}

TEST(DibTest, BmpFileRowsStartAtTheFileOffset) {
  const std::vector<uint8_t> bmp = MakeBmp(SmallParts(), 10);
  ExpectSmallBitmap(gaugehost::ParseBmpFile(bmp.data(), bmp.size()));
}

TEST(DibTest, EveryTruncationIsRefused) {
  const std::vector<uint8_t> dib = MakeDib(SmallParts());
  for (size_t n = 0; n < dib.size(); ++n) {
    const std::vector<uint8_t> cut(dib.begin(), dib.begin() + n);  // exact size: ASan sees overreads
    EXPECT_NE(ErrorOf([&] { gaugehost::ParseDib(cut.data(), cut.size()); }).find("truncated"),
              std::string::npos)
        << n << " bytes";
  }
  const std::vector<uint8_t> bmp = MakeBmp(SmallParts(), 6);
  for (size_t n = 0; n < bmp.size(); ++n) {
    const std::vector<uint8_t> cut(bmp.begin(), bmp.begin() + n);
    EXPECT_THROW(gaugehost::ParseBmpFile(cut.data(), cut.size()), DrawError) << n << " bytes";
  }
}

TEST(DibTest, MalformedHeadersAndPixelsAreRefusedWithTheirReason) {
  const std::vector<uint8_t> good = MakeDib(SmallParts());
  struct Case {
    const char* expected;  // part of the message
    size_t at;
    uint32_t value;
    int width;  // of the field: 2 or 4 bytes
  };
  const Case cases[] = {
      {"24 bits per pixel", 14, 24, 2},
      {"compression 1", 16, 1, 4},
      {"header size 12", 0, 12, 4},
      {"header of 4000 bytes", 0, 4000, 4},
      {"unreasonable size 0 x", 4, 0, 4},
      {"unreasonable size -3 x", 4, static_cast<uint32_t>(-3), 4},
      {"unreasonable size 100000 x", 4, 100000, 4},
      {"unreasonable size 3 x 0", 8, 0, 4},
      {"unreasonable size 3 x -2147483648", 8, 0x80000000u, 4},
      {"palette of 300 colours", 32, 300, 4},
      {"plane count 2", 12, 2, 2},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bad = good;
    if (c.width == 2)
      PutU16(bad, c.at, static_cast<uint16_t>(c.value));
    else
      PutU32(bad, c.at, c.value);
    const std::string message = ErrorOf([&] { gaugehost::ParseDib(bad.data(), bad.size()); });
    EXPECT_NE(message.find(c.expected), std::string::npos) << c.expected << " <- " << message;
  }
  // A pixel naming a colour beyond the palette.
  DibParts shortPalette = SmallParts();
  shortPalette.palette.resize(2);
  const std::vector<uint8_t> beyond = MakeDib(shortPalette);
  EXPECT_NE(ErrorOf([&] { gaugehost::ParseDib(beyond.data(), beyond.size()); })
                .find("pixel (1, 0) uses colour 2 of a 2-colour palette"),
            std::string::npos);
  // A height so large its rows cannot be in the data, and no data at all.
  std::vector<uint8_t> tall = good;
  PutU32(tall, 8, 16000);
  EXPECT_NE(ErrorOf([&] { gaugehost::ParseDib(tall.data(), tall.size()); }).find("truncated"), std::string::npos);
  EXPECT_THROW(gaugehost::ParseDib(nullptr, 100), DrawError);
}

TEST(DibTest, MalformedBmpFileHeadersAreRefused) {
  const std::vector<uint8_t> good = MakeBmp(SmallParts(), 0);
  std::vector<uint8_t> unsigned_ = good;
  unsigned_[0] = 'X';
  EXPECT_NE(ErrorOf([&] { gaugehost::ParseBmpFile(unsigned_.data(), unsigned_.size()); }).find("'BM'"),
            std::string::npos);
  std::vector<uint8_t> intoPalette = good;
  PutU32(intoPalette, 10, 14 + 40 + 4);
  EXPECT_NE(ErrorOf([&] { gaugehost::ParseBmpFile(intoPalette.data(), intoPalette.size()); }).find("palette"),
            std::string::npos);
  std::vector<uint8_t> beyond = good;
  PutU32(beyond, 10, 0xFFFFFFF0u);
  EXPECT_NE(ErrorOf([&] { gaugehost::ParseBmpFile(beyond.data(), beyond.size()); }).find("truncated"),
            std::string::npos);
}

// A bitmap of one row per entry of `rows`, each row a list of RGB colours.
IndexedBitmap Art(const std::vector<std::vector<uint32_t>>& rows) {
  IndexedBitmap b;
  b.height = static_cast<int>(rows.size());
  b.width = static_cast<int>(rows[0].size());
  for (const auto& row : rows)
    for (uint32_t c : row) {
      size_t i = 0;
      while (i < b.palette.size() && b.palette[i] != c) ++i;
      if (i == b.palette.size()) b.palette.push_back(c);
      b.pixels.push_back(static_cast<uint8_t>(i));
    }
  return b;
}

TEST(CanvasTest, PureBlackIsTransparentNearBlackCoversAndEdgesClip) {
  const uint32_t bg = 0x123456;
  Canvas canvas(4, 3, bg);
  const IndexedBitmap art = Art({{0xFF0000, 0x000000, 0x010101},
                                 {0x000000, 0x00FF00, 0x000001}});
  canvas.DrawBitmap(art, 2, 1);  // the right column falls off the canvas
  EXPECT_EQ(canvas.pixel(2, 1), 0xFF0000u);
  EXPECT_EQ(canvas.pixel(3, 1), bg);  // pure black: the background shows
  EXPECT_EQ(canvas.pixel(2, 2), bg);
  EXPECT_EQ(canvas.pixel(3, 2), 0x00FF00u);
  canvas.DrawBitmap(art, -2, -1);  // only the near-black bottom-right corner lands, at (0, 0)
  EXPECT_EQ(canvas.pixel(0, 0), 0x000001u);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x)
      if (!(x == 0 && y == 0) && !(y > 0 && x >= 2)) {
        EXPECT_EQ(canvas.pixel(x, y), bg) << x << "," << y;
      }
  EXPECT_THROW(canvas.pixel(4, 0), DrawError);
  EXPECT_THROW(canvas.pixel(0, -1), DrawError);
}

TEST(CanvasTest, MovingPictureShowsOnlyThroughItsWindow) {
  // A 1-wide strip of four rows seen through a 2-row window whose lower pixel is closed.
  const IndexedBitmap picture = Art({{0x111111}, {0x222222}, {0x000000}, {0x444444}});
  const IndexedBitmap window = Art({{0x010101}, {0x000000}});
  const uint32_t bg = 0x808080;
  Canvas canvas(3, 3, bg);
  canvas.DrawBitmapRegion(picture, 0, 0, 1, 2, 1, 0, &window);
  EXPECT_EQ(canvas.pixel(1, 0), 0x111111u);  // the picture's colour, not the window's
  EXPECT_EQ(canvas.pixel(1, 1), bg);         // the window is closed over picture row 1
  canvas.DrawBitmapRegion(picture, 0, 2, 1, 2, 2, 0);
  EXPECT_EQ(canvas.pixel(2, 0), bg);  // picture row 2 is pure black
  EXPECT_EQ(canvas.pixel(2, 1), 0x444444u);
  canvas.DrawBitmapRegion(picture, 0, 3, 1, 2, 0, 0);
  EXPECT_EQ(canvas.pixel(0, 0), 0x444444u);
  EXPECT_EQ(canvas.pixel(0, 1), bg);  // beyond the picture's last row
}

// A needle pointing right from its pivot (0, 1): a white shaft on the middle row with a red
// tip pixel, and transparent rows above and below.
IndexedBitmap ThinNeedle(int length) {
  std::vector<uint32_t> shaft(length, 0xFFFFFF);
  shaft.back() = 0xFF0000;
  return Art({std::vector<uint32_t>(length, 0), shaft, std::vector<uint32_t>(length, 0)});
}

TEST(RotationTest, AngleZeroPlacesThePivotPixelExactly) {
  const IndexedBitmap needle = Art({{0x0000FF, 0x00FF00, 0x000000, 0xFF0000},
                                    {0x00FFFF, 0xFFFFFF, 0xFF00FF, 0x000000}});
  Canvas rotated(12, 10, 0x202020), plain(12, 10, 0x202020);
  rotated.DrawRotated(needle, 1, 1, 5, 4, 0.0);
  plain.DrawBitmap(needle, 4, 3);
  EXPECT_EQ(rotated.pixels(), plain.pixels());
  EXPECT_EQ(rotated.pixel(5, 4), 0xFFFFFFu);
}

TEST(RotationTest, NeedleLiesAlongTheRayAtItsAngle) {
  const int length = 40;
  const IndexedBitmap needle = ThinNeedle(length);
  const double angles[] = {0.3, 1.0, Pi / 2, 2.5, Pi, -2.0, -Pi / 4, 5.5};
  for (double angle : angles) {
    const uint32_t bg = 0x000040;
    Canvas canvas(120, 120, bg);
    const int posX = 60, posY = 60;
    canvas.DrawRotated(needle, 0, 1, posX, posY, angle);
    // Screen coordinates, y down: clockwise angle a points along (cos a, sin a).
    const double dirX = std::cos(angle), dirY = std::sin(angle);
    const double cx = posX + 0.5, cy = posY + 0.5;
    std::vector<std::pair<double, double>> lit;
    for (int y = 0; y < canvas.height(); ++y)
      for (int x = 0; x < canvas.width(); ++x) {
        const uint32_t c = canvas.pixel(x, y);
        if (c == bg) continue;
        ASSERT_TRUE(c == 0xFFFFFF || c == 0xFF0000) << "colour " << std::hex << c << " not in the needle";
        const double along = (x + 0.5 - cx) * dirX + (y + 0.5 - cy) * dirY;
        const double across = -(x + 0.5 - cx) * dirY + (y + 0.5 - cy) * dirX;
        EXPECT_LE(std::abs(across), 0.5 + 1e-9) << "angle " << angle << " pixel " << x << "," << y;
        EXPECT_GE(along, -0.5 - 1e-9) << "angle " << angle;
        EXPECT_LE(along, length - 0.5 + 1e-9) << "angle " << angle;
        if (c == 0xFF0000) {
          EXPECT_GE(along, length - 1.5 - 1e-9) << "tip off the far end, angle " << angle;
        }
        lit.emplace_back(along, across);
      }
    // No gaps: every point of the ray's first `length - 1` pixels has a lit pixel close by.
    for (double t = 0; t <= length - 1; t += 0.5) {
      bool near = false;
      for (const auto& [along, across] : lit) near = near || std::hypot(along - t, across) < 1.0;
      EXPECT_TRUE(near) << "gap at " << t << " along, angle " << angle;
    }
  }
  Canvas down(30, 30);
  down.DrawRotated(needle, 0, 1, 15, 5, Pi / 2);
  EXPECT_EQ(down.pixel(15, 5 + 10), 0xFFFFFFu);  // a quarter turn clockwise points down the screen
  EXPECT_EQ(down.pixel(15 + 10, 5), 0u);
}

TEST(RotationTest, NeedleClipsAtTheCanvasEdge) {
  Canvas canvas(10, 10, 0x101010);
  canvas.DrawRotated(ThinNeedle(40), 0, 1, 5, 5, 0.0);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(canvas.pixel(x, 5), x >= 5 ? 0xFFFFFFu : 0x101010u) << x;
  canvas.DrawRotated(ThinNeedle(40), 0, 1, -1e12, 5, 1.0);  // far off: nothing, no fault
  canvas.DrawRotated(ThinNeedle(40), 0, 1, 5, 5, NAN);
  EXPECT_EQ(canvas.pixel(4, 5), 0x101010u);
}

// The smallest rectangle of pixels that differ from `bg`; w is 0 when none do.
struct Extent {
  int x = 0, y = 0, w = 0, h = 0;
};
Extent Changed(const Canvas& c, uint32_t bg) {
  int x0 = INT_MAX, y0 = INT_MAX, x1 = -1, y1 = -1;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x)
      if (c.pixel(x, y) != bg) x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
  if (x1 < 0) return {};
  return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

TEST(TextTest, DigitsFillTheBoxHeightCentredFromTheLeftEdge) {
  const uint32_t bg = 0x000000;
  Canvas canvas(200, 100, bg);
  const int bx = 30, by = 20, bw = 150, bh = 40;
  canvas.DrawText("808", bx, by, bw, bh, 0xFFFFFF);
  const Extent e = Changed(canvas, bg);
  ASSERT_GT(e.w, 0);
  EXPECT_GE(e.h, bh / 2) << "digits should fill most of the box height";
  EXPECT_LE(std::abs((e.y - by) - (by + bh - (e.y + e.h))), 2) << "vertically centred";
  EXPECT_GE(e.x, bx);
  EXPECT_LE(e.x - bx, bh / 6) << "starts at the box's left edge";
  EXPECT_LT(e.x + e.w, bx + bw) << "three digits fit well inside";
  // Anti-aliased: some pixels are partly covered.
  bool partial = false;
  for (uint32_t p : canvas.pixels()) partial = partial || (p != bg && p != 0xFFFFFF);
  EXPECT_TRUE(partial);
}

TEST(TextTest, ClippedToItsBoxAndBlendedOverTheBackground) {
  const uint32_t bg = 0x204060;
  Canvas canvas(120, 60, bg);
  const int bx = 10, by = 15, bw = 50, bh = 20;
  canvas.DrawText("8888888888888", bx, by, bw, bh, 0xFFC000);
  const Extent e = Changed(canvas, bg);
  ASSERT_GT(e.w, 0);
  EXPECT_GE(e.x, bx);
  EXPECT_GE(e.y, by);
  EXPECT_EQ(e.x + e.w, bx + bw) << "too long a text runs up to the box's right edge and stops";
  EXPECT_LE(e.y + e.h, by + bh);
  // Every changed pixel lies between background and text colour, channel by channel.
  for (uint32_t p : canvas.pixels()) {
    if (p == bg) continue;
    const int r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, b = p & 0xFF;
    EXPECT_TRUE(r >= 0x20 && r <= 0xFF && g >= 0x40 && g <= 0xC0 && b <= 0x60) << std::hex << p;
  }
  // A box wholly outside the canvas or of no size draws nothing.
  const std::vector<uint32_t> before = canvas.pixels();
  canvas.DrawText("88", 200, 200, 30, 20, 0xFFFFFF);
  canvas.DrawText("88", 70, 10, 0, 20, 0xFFFFFF);
  canvas.DrawText("88", -100, 10, 60, 20, 0xFFFFFF);
  EXPECT_EQ(canvas.pixels(), before);
}

TEST(TextTest, SizeFollowsTheBoxHeightAndMissingCharactersFallBack) {
  Canvas small(300, 100), large(300, 100);
  small.DrawText("88", 0, 0, 300, 20, 0xFFFFFF);
  large.DrawText("88", 0, 0, 300, 40, 0xFFFFFF);
  const Extent s = Changed(small, 0), l = Changed(large, 0);
  ASSERT_GT(s.h, 0);
  EXPECT_NEAR(double(l.h) / s.h, 2.0, 0.25);
  EXPECT_NEAR(double(l.w) / s.w, 2.0, 0.25);
  // '%' is not a seven-segment character: the plain face draws it.
  Canvas percent(100, 50);
  percent.DrawText("%", 0, 0, 100, 40, 0xFFFFFF);
  EXPECT_GT(Changed(percent, 0).w, 5);
  // A space is a blank digit cell: it pushes what follows one digit further right.
  Canvas spaced(300, 100);
  spaced.DrawText("8 8", 0, 0, 300, 40, 0xFFFFFF);
  EXPECT_GT(Changed(spaced, 0).w, l.w + l.w / 4);
}

TEST(CanvasTest, OutlineAndLabel) {
  Canvas canvas(20, 20, 0x111111);
  canvas.OutlineRect(2, 3, 5, 4, 0x00FF00);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool inside = x >= 2 && x <= 6 && y >= 3 && y <= 6;
      const bool border = inside && (x == 2 || x == 6 || y == 3 || y == 6);
      EXPECT_EQ(canvas.pixel(x, y), border ? 0x00FF00u : 0x111111u) << x << "," << y;
    }
  canvas.OutlineRect(-5, -5, 100, 100, 0x0000FF);  // edges off the canvas: nothing there drawn
  EXPECT_EQ(canvas.pixel(0, 0), 0x111111u);
  Canvas label(60, 30, 0);
  label.DrawLabel("hand", 5, 10, 0xFFFF00);
  const Extent e = Changed(label, 0);
  ASSERT_GT(e.w, 10);
  EXPECT_GE(e.x, 5);
  EXPECT_GE(e.y, 10);
  EXPECT_LE(e.y + e.h, 10 + Canvas::LabelHeight);
}

TEST(CanvasTest, ScaledRepeatsEachPixelAndPngRoundTrips) {
  Canvas canvas(3, 2);
  const uint32_t colours[] = {0x010203, 0xFF0000, 0x00FF00, 0x0000FF, 0x808080, 0xFEDCBA};
  for (int i = 0; i < 6; ++i) canvas.SetPixel(i % 3, i / 3, colours[i]);
  const Canvas big = canvas.Scaled(3);
  ASSERT_EQ(big.width(), 9);
  ASSERT_EQ(big.height(), 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 9; ++x) EXPECT_EQ(big.pixel(x, y), canvas.pixel(x / 3, y / 3)) << x << "," << y;
  EXPECT_EQ(canvas.Scaled(1).pixels(), canvas.pixels());
  EXPECT_THROW(canvas.Scaled(0), DrawError);

  const std::filesystem::path path = std::filesystem::temp_directory_path() / "gauge_drawing_test.png";
  big.WritePng(path.string());
  std::ifstream file(path, std::ios::binary);
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
  file.close();
  std::filesystem::remove(path);
  int w = 0, h = 0, channels = 0;
  unsigned char* rgb = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels, 3);
  ASSERT_NE(rgb, nullptr) << "not a readable PNG";
  ASSERT_EQ(w, 9);
  ASSERT_EQ(h, 6);
  for (int i = 0; i < w * h; ++i) {
    const uint32_t got = uint32_t(rgb[3 * i]) << 16 | uint32_t(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2];
    EXPECT_EQ(got, big.pixels()[i]) << i;
  }
  stbi_image_free(rgb);

  const std::filesystem::path nowhere = std::filesystem::temp_directory_path() / "no_such_dir_9f3a" / "x.png";
  EXPECT_THROW(big.WritePng(nowhere.string()), DrawError);
}

}  // namespace
