// dib.cpp: reading 8-bit uncompressed DIBs; no read happens before its range is checked.
#include "host/dib.h"

namespace gaugehost {

namespace {

constexpr size_t InfoHeaderSize = 40;
constexpr size_t FileHeaderSize = 14;

uint32_t ReadU32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t ReadU16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

int32_t ReadI32(const uint8_t* p) { return static_cast<int32_t>(ReadU32(p)); }

[[noreturn]] void Fail(const std::string& what) { throw DrawError("bitmap: " + what); }

// The header fields that decide the layout, validated.
struct DibLayout {
  size_t headerSize = 0;
  int width = 0, height = 0;
  bool topDown = false;
  size_t paletteCount = 0;
  size_t rowStride = 0;
};

// Reads and checks the info header at the start of `data`; `size` bounds the header alone.
DibLayout ReadInfoHeader(const uint8_t* data, size_t size) {
  if (size < 4) Fail("truncated: no room for the header size (" + std::to_string(size) + " bytes)");
  DibLayout d;
  d.headerSize = ReadU32(data);
  if (d.headerSize < InfoHeaderSize)
    Fail("unsupported header size " + std::to_string(d.headerSize) + " (at least 40 expected)");
  if (d.headerSize > size)
    Fail("truncated: header of " + std::to_string(d.headerSize) + " bytes in " + std::to_string(size));
  const int32_t width = ReadI32(data + 4);
  const int64_t rawHeight = ReadI32(data + 8);
  const uint16_t planes = ReadU16(data + 12);
  const uint16_t bitCount = ReadU16(data + 14);
  const uint32_t compression = ReadU32(data + 16);
  const uint32_t coloursUsed = ReadU32(data + 32);
  if (planes != 1) Fail("plane count " + std::to_string(planes) + " (1 expected)");
  if (bitCount != 8) Fail(std::to_string(bitCount) + " bits per pixel (only 8 is supported)");
  if (compression != 0) Fail("compression " + std::to_string(compression) + " (only uncompressed is supported)");
  const int64_t height = rawHeight < 0 ? -rawHeight : rawHeight;
  if (width <= 0 || height == 0 || width > MaxBitmapSide || height > MaxBitmapSide)
    Fail("unreasonable size " + std::to_string(width) + " x " + std::to_string(rawHeight));
  if (coloursUsed > 256) Fail("palette of " + std::to_string(coloursUsed) + " colours (at most 256)");
  d.width = width;
  d.height = static_cast<int>(height);
  d.topDown = rawHeight < 0;
  d.paletteCount = coloursUsed == 0 ? 256 : coloursUsed;
  d.rowStride = (static_cast<size_t>(width) + 3) / 4 * 4;
  return d;
}

// Decodes palette and rows once their ranges are known to lie inside the input.
IndexedBitmap Decode(const DibLayout& d, const uint8_t* palette, const uint8_t* rows) {
  IndexedBitmap b;
  b.width = d.width;
  b.height = d.height;
  b.palette.resize(d.paletteCount);
  for (size_t i = 0; i < d.paletteCount; ++i) {
    const uint8_t* e = palette + 4 * i;  // blue, green, red, unused
    b.palette[i] = uint32_t(e[2]) << 16 | uint32_t(e[1]) << 8 | e[0];
  }
  b.pixels.resize(static_cast<size_t>(d.width) * d.height);
  for (int y = 0; y < d.height; ++y) {
    const int stored = d.topDown ? y : d.height - 1 - y;
    const uint8_t* src = rows + static_cast<size_t>(stored) * d.rowStride;
    uint8_t* dst = b.pixels.data() + static_cast<size_t>(y) * d.width;
    for (int x = 0; x < d.width; ++x) {
      if (src[x] >= d.paletteCount)
        Fail("pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") uses colour " +
             std::to_string(src[x]) + " of a " + std::to_string(d.paletteCount) + "-colour palette");
      dst[x] = src[x];
    }
  }
  return b;
}

size_t PixelBytes(const DibLayout& d) { return d.rowStride * static_cast<size_t>(d.height); }

}  // namespace

uint32_t IndexedBitmap::colour(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  const size_t at = static_cast<size_t>(y) * width + x;
  if (at >= pixels.size() || pixels[at] >= palette.size()) return 0;
  return palette[pixels[at]];
}

IndexedBitmap ParseDib(const uint8_t* data, size_t size) {
  if (data == nullptr) size = 0;
  const DibLayout d = ReadInfoHeader(data, size);
  const size_t paletteBytes = 4 * d.paletteCount;
  const size_t needed = d.headerSize + paletteBytes + PixelBytes(d);
  if (size < needed)
    Fail("truncated: " + std::to_string(d.width) + " x " + std::to_string(d.height) + " with " +
         std::to_string(d.paletteCount) + " colours needs " + std::to_string(needed) + " bytes, " +
         std::to_string(size) + " given");
  return Decode(d, data + d.headerSize, data + d.headerSize + paletteBytes);
}

IndexedBitmap ParseBmpFile(const uint8_t* data, size_t size) {
  if (data == nullptr) size = 0;
  if (size < FileHeaderSize) Fail("truncated: " + std::to_string(size) + " bytes, no file header");
  if (data[0] != 'B' || data[1] != 'M') Fail("not a .bmp file (no 'BM' signature)");
  const size_t pixelOffset = ReadU32(data + 10);
  const DibLayout d = ReadInfoHeader(data + FileHeaderSize, size - FileHeaderSize);
  const size_t paletteStart = FileHeaderSize + d.headerSize;
  const size_t paletteBytes = 4 * d.paletteCount;
  if (pixelOffset < paletteStart + paletteBytes)
    Fail("pixel offset " + std::to_string(pixelOffset) + " lies inside the header or the " +
         std::to_string(d.paletteCount) + "-colour palette");
  if (pixelOffset > size || size - pixelOffset < PixelBytes(d))
    Fail("truncated: rows of " + std::to_string(PixelBytes(d)) + " bytes at offset " +
         std::to_string(pixelOffset) + " in a file of " + std::to_string(size));
  return Decode(d, data + paletteStart, data + pixelOffset);
}

}  // namespace gaugehost
