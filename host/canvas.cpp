// canvas.cpp: clipped drawing of palette art, rotated needles and text onto an RGB canvas.
#include "host/canvas.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "host/fonts.h"

#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace gaugehost {

namespace {

// Beyond these a size is a mistake of the caller, not a picture.
constexpr int MaxCanvasSide = 32768;
constexpr int64_t MaxCanvasPixels = int64_t(1) << 26;

// Digits take this share of the box height, leaving room between the gauges' stacked rows.
constexpr double DigitHeightShare = 0.6;
// Digit cells are this share of the box height wide: the radio stack's 10-pixel pitch in
// its 23-pixel boxes, which its mouse areas follow.
constexpr double DigitPitchShare = 10.0 / 23.0;
// Capital height of DrawLabel's text.
constexpr double LabelCapHeight = 8.0;

// The clipped span [from, to) of `start + [0, length)` within [lo, hi).
struct Span {
  int from, to;
};
Span Clip(int start, int length, int lo, int hi) {
  const int64_t a = std::max<int64_t>(start, lo);
  const int64_t b = std::min<int64_t>(int64_t(start) + std::max(length, 0), hi);
  return {static_cast<int>(a), static_cast<int>(std::max(a, b))};
}

uint32_t Mix(uint32_t over, uint32_t under, unsigned alpha) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const unsigned f = (over >> shift) & 0xFF, b = (under >> shift) & 0xFF;
    out |= ((f * alpha + b * (255 - alpha) + 127) / 255) << shift;
  }
  return out;
}

}  // namespace

Canvas::Canvas(int width, int height, uint32_t fill) {
  if (width < 0 || height < 0 || width > MaxCanvasSide || height > MaxCanvasSide ||
      int64_t(width) * height > MaxCanvasPixels)
    throw DrawError("canvas: unreasonable size " + std::to_string(width) + " x " + std::to_string(height));
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<size_t>(width) * height, fill & 0xFFFFFF);
}

uint32_t Canvas::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_)
    throw DrawError("canvas: pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                    ") outside " + std::to_string(width_) + " x " + std::to_string(height_));
  return pixels_[static_cast<size_t>(y) * width_ + x];
}

void Canvas::SetPixel(int x, int y, uint32_t rgb) {
  if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[static_cast<size_t>(y) * width_ + x] = rgb & 0xFFFFFF;
}

void Canvas::Blend(int x, int y, uint32_t rgb, unsigned alpha) {
  if (alpha == 0 || x < 0 || y < 0 || x >= width_ || y >= height_) return;
  uint32_t& p = pixels_[static_cast<size_t>(y) * width_ + x];
  p = alpha >= 255 ? rgb & 0xFFFFFF : Mix(rgb, p, alpha);
}

void Canvas::DrawBitmap(const IndexedBitmap& bitmap, int x, int y) {
  DrawBitmapRegion(bitmap, 0, 0, bitmap.width, bitmap.height, x, y);
}

void Canvas::DrawBitmapRegion(const IndexedBitmap& picture, int srcX, int srcY, int w, int h,
                              int dstX, int dstY, const IndexedBitmap* window) {
  const Span xs = Clip(dstX, w, 0, width_), ys = Clip(dstY, h, 0, height_);
  for (int y = ys.from; y < ys.to; ++y)
    for (int x = xs.from; x < xs.to; ++x) {
      const int i = x - dstX, j = y - dstY;
      if (window != nullptr && window->colour(i, j) == 0) continue;
      const uint32_t c = picture.colour(srcX + i, srcY + j);
      if (c != 0) pixels_[static_cast<size_t>(y) * width_ + x] = c;
    }
}

void Canvas::DrawRotated(const IndexedBitmap& needle, double pivotX, double pivotY, double posX,
                         double posY, double angle) {
  if (needle.width <= 0 || needle.height <= 0 || !std::isfinite(angle)) return;
  const double c = std::cos(angle), s = std::sin(angle);
  // Pixel centres sit at +0.5: the pivot pixel's centre goes onto the target pixel's centre.
  const double srcCx = pivotX + 0.5, srcCy = pivotY + 0.5;
  const double dstCx = posX + 0.5, dstCy = posY + 0.5;
  double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
  for (int corner = 0; corner < 4; ++corner) {
    const double u = (corner & 1 ? needle.width : 0) - srcCx;
    const double v = (corner & 2 ? needle.height : 0) - srcCy;
    const double x = dstCx + u * c - v * s, y = dstCy + u * s + v * c;
    minX = std::min(minX, x), maxX = std::max(maxX, x);
    minY = std::min(minY, y), maxY = std::max(maxY, y);
  }
  if (!(minX < width_ && minY < height_ && maxX > 0 && maxY > 0)) return;
  const int x0 = static_cast<int>(std::floor(std::max(minX, 0.0)));
  const int y0 = static_cast<int>(std::floor(std::max(minY, 0.0)));
  const int x1 = static_cast<int>(std::ceil(std::min<double>(maxX, width_)));
  const int y1 = static_cast<int>(std::ceil(std::min<double>(maxY, height_)));
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      // Inverse mapping: turn the offset from the target centre back by -angle.
      const double dx = x + 0.5 - dstCx, dy = y + 0.5 - dstCy;
      const double u = srcCx + dx * c + dy * s, v = srcCy - dx * s + dy * c;
      if (!(u >= 0 && v >= 0 && u < needle.width && v < needle.height)) continue;
      const uint32_t colour = needle.colour(static_cast<int>(u), static_cast<int>(v));
      if (colour != 0) pixels_[static_cast<size_t>(y) * width_ + x] = colour;
    }
}

void Canvas::DrawText(const std::string& text, int x, int y, int boxW, int boxH, uint32_t rgb) {
  if (text.empty() || boxW <= 0 || boxH <= 0) return;
  const double digitHeight = DigitHeightShare * boxH;
  const TextMask mask = RenderSegmentText(text, digitHeight, DigitPitchShare * boxH);
  const int baseline = static_cast<int>(std::lround(y + boxH / 2.0 + digitHeight / 2.0));
  const int left = x - mask.penX, top = baseline - mask.baseline;
  const Span xs = Clip(x, boxW, 0, width_), ys = Clip(y, boxH, 0, height_);
  for (int py = std::max(ys.from, top); py < std::min(ys.to, top + mask.height); ++py)
    for (int px = std::max(xs.from, left); px < std::min(xs.to, left + mask.width); ++px)
      Blend(px, py, rgb, mask.at(px - left, py - top));
}

void Canvas::OutlineRect(int x, int y, int w, int h, uint32_t rgb) {
  if (w <= 0 || h <= 0) return;
  const Span xs = Clip(x, w, 0, width_), ys = Clip(y, h, 0, height_);
  const int64_t right = int64_t(x) + w - 1, bottom = int64_t(y) + h - 1;
  for (int i = xs.from; i < xs.to; ++i) {
    SetPixel(i, y, rgb);
    if (bottom < height_) SetPixel(i, static_cast<int>(bottom), rgb);
  }
  for (int j = ys.from; j < ys.to; ++j) {
    SetPixel(x, j, rgb);
    if (right < width_) SetPixel(static_cast<int>(right), j, rgb);
  }
}

void Canvas::DrawLabel(const std::string& text, int x, int y, uint32_t rgb) {
  if (text.empty()) return;
  const TextMask mask = RenderPlainText(text, LabelCapHeight);
  // Caps start one row below y, so accents and the tallest letters stay inside LabelHeight.
  const int baseline = y + 1 + static_cast<int>(LabelCapHeight);
  const int left = x - mask.penX, top = baseline - mask.baseline;
  for (int j = 0; j < mask.height; ++j)
    for (int i = 0; i < mask.width; ++i) Blend(left + i, top + j, rgb, mask.at(i, j));
}

Canvas Canvas::Scaled(int k) const {
  if (k < 1) throw DrawError("canvas: scale factor " + std::to_string(k) + " (at least 1)");
  if (int64_t(width_) * k > MaxCanvasSide || int64_t(height_) * k > MaxCanvasSide)
    throw DrawError("canvas: scaling " + std::to_string(width_) + " x " + std::to_string(height_) +
                    " by " + std::to_string(k) + " is too large");
  Canvas out(width_ * k, height_ * k);
  for (int y = 0; y < out.height_; ++y) {
    const uint32_t* src = pixels_.data() + static_cast<size_t>(y / k) * width_;
    uint32_t* dst = out.pixels_.data() + static_cast<size_t>(y) * out.width_;
    for (int x = 0; x < out.width_; ++x) dst[x] = src[x / k];
  }
  return out;
}

void Canvas::WritePng(const std::string& path) const {
  if (width_ == 0 || height_ == 0) throw DrawError("png: cannot write an empty canvas to " + path);
  std::vector<uint8_t> rgb(pixels_.size() * 3);
  for (size_t i = 0; i < pixels_.size(); ++i) {
    rgb[3 * i] = static_cast<uint8_t>(pixels_[i] >> 16);
    rgb[3 * i + 1] = static_cast<uint8_t>(pixels_[i] >> 8);
    rgb[3 * i + 2] = static_cast<uint8_t>(pixels_[i]);
  }
  std::vector<char> png;
  auto append = [](void* context, void* data, int size) {
    auto* out = static_cast<std::vector<char>*>(context);
    out->insert(out->end(), static_cast<char*>(data), static_cast<char*>(data) + size);
  };
  if (stbi_write_png_to_func(append, &png, width_, height_, 3, rgb.data(), width_ * 3) == 0 || png.empty())
    throw DrawError("png: encoding " + std::to_string(width_) + " x " + std::to_string(height_) + " failed");
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) throw DrawError("png: cannot create " + path);
  file.write(png.data(), static_cast<std::streamsize>(png.size()));
  file.close();
  if (!file) throw DrawError("png: writing " + path + " failed");
}

}  // namespace gaugehost
