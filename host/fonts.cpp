// fonts.cpp: glyph layout and rasterising with stb_truetype over the embedded font files.
#include "host/fonts.h"

#include <algorithm>
#include <cmath>

#include "host/dib.h"

#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>

// The font files, linked in by the build's embed_file.
extern "C" const unsigned char GaugeFontSegment[];
extern "C" const unsigned char GaugeFontSegment_end[];
extern "C" const unsigned char GaugeFontPlain[];
extern "C" const unsigned char GaugeFontPlain_end[];

namespace gaugehost {

namespace {

struct Font {
  stbtt_fontinfo info{};
  double refHeight = 0;   // font units: height of the glyph that sets the size
  double refAdvance = 0;  // font units: advance of that glyph
};

Font LoadFont(const unsigned char* begin, const unsigned char* end, int refChar, const char* name) {
  Font f;
  if (end <= begin || stbtt_InitFont(&f.info, begin, 0) == 0)
    throw DrawError(std::string("font: the embedded ") + name + " face cannot be read");
  const int glyph = stbtt_FindGlyphIndex(&f.info, refChar);
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0, advance = 0, bearing = 0;
  if (glyph == 0 || stbtt_GetGlyphBox(&f.info, glyph, &x0, &y0, &x1, &y1) == 0 || y1 <= y0)
    throw DrawError(std::string("font: the embedded ") + name + " face has no usable '" +
                    char(refChar) + "'");
  stbtt_GetGlyphHMetrics(&f.info, glyph, &advance, &bearing);
  f.refHeight = y1 - y0;
  f.refAdvance = advance;
  return f;
}

// The seven-segment face is sized by its '8' (a full digit cell), the plain face by its 'H'.
const Font& SegmentFont() {
  static const Font f = LoadFont(GaugeFontSegment, GaugeFontSegment_end, '8', "seven-segment");
  return f;
}

const Font& PlainFont() {
  static const Font f = LoadFont(GaugeFontPlain, GaugeFontPlain_end, 'H', "plain");
  return f;
}

// One glyph placed on the line at its pen position.
struct Placed {
  const Font* font = nullptr;
  int glyph = 0;
  float scaleX = 0, scaleY = 0;
  double penX = 0;
};

struct Line {
  std::vector<Placed> glyphs;
};

// Appends `glyph` of `font` at the pen, with kerning against the previous glyph of the same font.
void Place(Line& line, const Font& font, int glyph, float scaleX, float scaleY, double& pen) {
  if (!line.glyphs.empty() && line.glyphs.back().font == &font)
    pen += scaleX * stbtt_GetGlyphKernAdvance(&font.info, line.glyphs.back().glyph, glyph);
  line.glyphs.push_back({&font, glyph, scaleX, scaleY, pen});
  int advance = 0, bearing = 0;
  stbtt_GetGlyphHMetrics(&font.info, glyph, &advance, &bearing);
  pen += scaleX * advance;
}

// UTF-8 sequences decode to their code point; any other byte stands for itself (Latin-1).
std::vector<int> CodePoints(const std::string& text) {
  std::vector<int> out;
  const size_t n = text.size();
  for (size_t i = 0; i < n;) {
    const unsigned lead = static_cast<unsigned char>(text[i]);
    const size_t extra = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 && lead < 0xF0 ? 2 : lead >= 0xC2 && lead < 0xE0 ? 1 : 0;
    bool ok = extra > 0 && i + extra < n;
    int cp = static_cast<int>(lead & (0x3Fu >> extra));
    for (size_t k = 1; ok && k <= extra; ++k) {
      const unsigned next = static_cast<unsigned char>(text[i + k]);
      ok = (next & 0xC0) == 0x80;
      cp = cp << 6 | static_cast<int>(next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    if (ok && ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
               (cp >= 0xD800 && cp < 0xE000)))
      ok = false;
    out.push_back(ok ? cp : static_cast<int>(lead));
    i += ok ? extra + 1 : 1;
  }
  return out;
}

TextMask Rasterise(const Line& line) {
  int minX = 0, minY = 0, maxX = 0, maxY = 0;
  bool any = false;
  struct Box {
    int x0, y0, x1, y1;
  };
  std::vector<Box> boxes(line.glyphs.size());
  for (size_t i = 0; i < line.glyphs.size(); ++i) {
    const Placed& g = line.glyphs[i];
    Box& b = boxes[i];
    const int ix = static_cast<int>(std::floor(g.penX));
    stbtt_GetGlyphBitmapBoxSubpixel(&g.font->info, g.glyph, g.scaleX, g.scaleY,
                                    static_cast<float>(g.penX - ix), 0.f, &b.x0, &b.y0, &b.x1, &b.y1);
    b.x0 += ix;
    b.x1 += ix;
    if (b.x1 <= b.x0 || b.y1 <= b.y0) continue;
    minX = any ? std::min(minX, b.x0) : std::min(0, b.x0);
    minY = any ? std::min(minY, b.y0) : b.y0;
    maxX = std::max(maxX, b.x1);
    maxY = any ? std::max(maxY, b.y1) : b.y1;
    any = true;
  }
  TextMask mask;
  if (!any) return mask;
  mask.width = maxX - minX;
  mask.height = maxY - minY;
  mask.penX = -minX;
  mask.baseline = -minY;
  mask.alpha.assign(static_cast<size_t>(mask.width) * mask.height, 0);
  std::vector<uint8_t> glyphPixels;
  for (size_t i = 0; i < line.glyphs.size(); ++i) {
    const Placed& g = line.glyphs[i];
    const Box& b = boxes[i];
    const int w = b.x1 - b.x0, h = b.y1 - b.y0;
    if (w <= 0 || h <= 0) continue;
    const int ix = static_cast<int>(std::floor(g.penX));
    glyphPixels.assign(static_cast<size_t>(w) * h, 0);
    stbtt_MakeGlyphBitmapSubpixel(&g.font->info, glyphPixels.data(), w, h, w, g.scaleX, g.scaleY,
                                  static_cast<float>(g.penX - ix), 0.f, g.glyph);
    // Glyphs may overlap (a decimal point sits in the gap of the digit before it): add coverage.
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        uint8_t& dst = mask.alpha[static_cast<size_t>(b.y0 - minY + y) * mask.width + (b.x0 - minX + x)];
        dst = static_cast<uint8_t>(std::min(255, dst + glyphPixels[static_cast<size_t>(y) * w + x]));
      }
  }
  return mask;
}

}  // namespace

TextMask RenderSegmentText(const std::string& text, double digitHeight, double digitPitch) {
  const Font& seg = SegmentFont();
  const Font& plain = PlainFont();
  const float segY = static_cast<float>(digitHeight / seg.refHeight);
  const float segX = static_cast<float>(digitPitch / seg.refAdvance);
  const float plainScale = static_cast<float>(digitHeight / plain.refHeight);
  Line line;
  double pen = 0;
  for (int c : CodePoints(text)) {
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) continue;
    if (c == ' ') {
      pen += digitPitch;
      continue;
    }
    if (int glyph = stbtt_FindGlyphIndex(&seg.info, c); glyph != 0)
      Place(line, seg, glyph, segX, segY, pen);
    else
      Place(line, plain, stbtt_FindGlyphIndex(&plain.info, c), plainScale, plainScale, pen);
  }
  return Rasterise(line);
}

TextMask RenderPlainText(const std::string& text, double capHeight) {
  const Font& plain = PlainFont();
  const float scale = static_cast<float>(capHeight / plain.refHeight);
  Line line;
  double pen = 0;
  for (int c : CodePoints(text)) {
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) continue;
    Place(line, plain, stbtt_FindGlyphIndex(&plain.info, c), scale, scale, pen);
  }
  return Rasterise(line);
}

}  // namespace gaugehost
