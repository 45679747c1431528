// dib.h: 8-bit palette bitmaps as gauge modules carry them (RT_BITMAP resources) or as
// .bmp files, parsed with every size and offset checked against the bytes given.
#pragma once
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace gaugehost {

// Thrown for a picture that cannot be read or drawn, and for output that cannot be written.
struct DrawError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct IndexedBitmap {
  int width = 0, height = 0;
  std::vector<uint32_t> palette;  // 0x00RRGGBB
  std::vector<uint8_t> pixels;    // palette indices, top row first, width * height

  // The RGB colour at (x, y); pure black (transparent) outside the bitmap or for an index
  // beyond the palette, so that callers may sample freely.
  uint32_t colour(int x, int y) const;
};

// The largest width or height accepted; anything beyond is taken for a corrupt header.
constexpr int MaxBitmapSide = 16384;

// A packed DIB: BITMAPINFOHEADER (or a larger header, by its size field), palette, rows.
IndexedBitmap ParseDib(const uint8_t* data, size_t size);
// A .bmp file: the 14-byte file header, then a DIB whose rows start at the file's offset.
IndexedBitmap ParseBmpFile(const uint8_t* data, size_t size);

}  // namespace gaugehost
