// canvas.h: an RGB picture that gauge art, needles and readout texts are drawn onto, and
// written out as PNG. Every operation clips to the canvas; pure black art is transparent.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "host/dib.h"

namespace gaugehost {

class Canvas {
 public:
  // A canvas of width x height pixels of colour `fill` (0x00RRGGBB); throws DrawError for
  // a negative or unreasonable size.
  Canvas(int width, int height, uint32_t fill = 0);

  int width() const { return width_; }
  int height() const { return height_; }
  // The colour at (x, y) as 0x00RRGGBB; throws DrawError outside the canvas.
  uint32_t pixel(int x, int y) const;
  void SetPixel(int x, int y, uint32_t rgb);
  // Rows top first, width() * height() entries.
  const std::vector<uint32_t>& pixels() const { return pixels_; }

  // The bitmap with its top-left pixel at (x, y).
  void DrawBitmap(const IndexedBitmap& bitmap, int x, int y);

  // The w x h rectangle of `picture` whose top-left is (srcX, srcY), drawn with its top-left
  // at (dstX, dstY); parts outside the picture draw nothing. With a `window` (w x h, its
  // top-left over dstX, dstY), picture pixels show only where the window's pixel is not
  // pure black; the window itself is not drawn.
  void DrawBitmapRegion(const IndexedBitmap& picture, int srcX, int srcY, int w, int h, int dstX,
                        int dstY, const IndexedBitmap* window = nullptr);

  // A needle bitmap that points along +x from its pivot pixel (pivotX, pivotY), turned
  // `angle` radians clockwise on screen (0 = +x) with that pixel placed on (posX, posY).
  // Nearest-pixel sampling keeps the bitmap's exact colours.
  void DrawRotated(const IndexedBitmap& needle, double pivotX, double pivotY, double posX,
                   double posY, double angle);

  // Readout text in the seven-segment face, sized by the box height, starting at the box's
  // left edge, centred vertically, anti-aliased and clipped to the box. rgb is 0x00RRGGBB.
  void DrawText(const std::string& text, int x, int y, int boxW, int boxH, uint32_t rgb);

  // A one-pixel outline just inside the w x h rectangle at (x, y).
  void OutlineRect(int x, int y, int w, int h, uint32_t rgb);
  // A small plain-face label whose top-left is (x, y), LabelHeight pixels tall.
  void DrawLabel(const std::string& text, int x, int y, uint32_t rgb);
  static constexpr int LabelHeight = 11;

  // Each pixel as a k x k block (k >= 1, else DrawError).
  Canvas Scaled(int k) const;
  // Writes the canvas as an RGB PNG; throws DrawError when it cannot.
  void WritePng(const std::string& path) const;

 private:
  // Blends rgb over the pixel with coverage alpha (0 to 255), if the pixel is on the canvas.
  void Blend(int x, int y, uint32_t rgb, unsigned alpha);

  int width_ = 0, height_ = 0;
  std::vector<uint32_t> pixels_;
};

}  // namespace gaugehost
