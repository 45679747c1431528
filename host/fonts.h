// fonts.h: the two faces linked into the host, rasterised into coverage masks that the
// canvas blends in the text colour.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace gaugehost {

// Anti-aliased coverage of one line of text, 0 (none) to 255 (full), rows top first.
struct TextMask {
  int width = 0, height = 0;
  int penX = 0;      // column where the first character's pen starts
  int baseline = 0;  // row of the baseline
  std::vector<uint8_t> alpha;

  uint8_t at(int x, int y) const { return alpha[static_cast<size_t>(y) * width + x]; }
};

// Seven-segment readout text: digits `digitHeight` pixels tall at a pitch of `digitPitch`
// pixels; a space is a blank digit cell; characters the face lacks come from the plain face.
// Text is UTF-8 where it is valid UTF-8, otherwise Latin-1 bytes (the gauges' ANSI text).
TextMask RenderSegmentText(const std::string& text, double digitHeight, double digitPitch);

// Plain (DejaVu Sans) text whose capitals are `capHeight` pixels tall.
TextMask RenderPlainText(const std::string& text, double capHeight);

}  // namespace gaugehost
