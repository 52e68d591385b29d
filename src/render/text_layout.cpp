#include "render/text_layout.h"

#include <limits>
#include <string>

#include "core/error.h"
#include "core/math_util.h"
#include "data/game_data.h"

namespace kiv {

namespace {

// Laid-out text holds 16-bit entries: a glyph beyond them draws as glyph 0.
std::int16_t StoredGlyph(std::int32_t glyph) {
  return glyph <= std::numeric_limits<std::int16_t>::max() ? static_cast<std::int16_t>(glyph) : 0;
}

// The end of the word that starts at p: the nearest blank or line mark at or
// after p, else the last character.
std::size_t WordEnd(const std::u16string& text, std::size_t p) {
  const std::size_t end = text.find_first_of(u" \u00B6", p);
  return end == std::u16string::npos ? text.size() - 1 : end;
}

}  // namespace

const FontSet& FontSetAt(std::int32_t fontSet) {
  if (fontSet < 0 || fontSet >= static_cast<std::int32_t>(gameData.fontSets.size()))
    RaiseError(kErrIndex, "Subscript out of range: font set " + std::to_string(fontSet) + ".");
  return gameData.fontSets[static_cast<std::size_t>(fontSet)];
}

std::int32_t FindFontGlyph(const FontSet& font, char16_t character) {
  const auto code = static_cast<std::int16_t>(character);
  const auto count = static_cast<std::int32_t>(font.glyphs.size());
  std::int32_t low = 0, high = count;
  while (low < high) {
    const std::int32_t mid = low + (high - low) / 2;
    if (font.glyphs[static_cast<std::size_t>(mid)].code < code) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  return low < count && font.glyphs[static_cast<std::size_t>(low)].code == code ? low : 0;
}

std::int32_t FindFontGlyph(std::int32_t fontSet, char16_t character) {
  return FindFontGlyph(FontSetAt(fontSet), character);
}

const FontGlyph* GlyphForIndex(const FontSet& font, std::int32_t index) {
  if (font.glyphs.empty()) return nullptr;
  if (index < 0 || index >= static_cast<std::int32_t>(font.glyphs.size())) index = 0;
  return &font.glyphs[static_cast<std::size_t>(index)];
}

std::int32_t AdvancePen(const FontGlyph* glyph, double textureWidth, double padding, std::int32_t x) {
  if (glyph == nullptr) return x;
  return RoundToLong(static_cast<double>(glyph->width) * textureWidth + x - 2.0 * padding);
}

GlyphIndexList WrapText(std::int32_t fontSet, const std::u16string& text, std::int32_t width,
                        std::int32_t& lineCount, float scale) {
  if (gameData.fontSets.empty()) return GlyphIndexList{0};
  const FontSet& font = FontSetAt(fontSet);
  if (text.empty()) return GlyphIndexList{StoredGlyph(FindFontGlyph(font, u' '))};

  const double textureWidth = static_cast<double>(font.textureWidth) * scale;
  const double padding = static_cast<double>(scale) * font.glyphInset;
  GlyphIndexList glyphs(text.size());
  std::int32_t lines = 1;
  std::int64_t lineWidth = 0;
  // Whether the current line holds a word: only then does a word that does
  // not fit start a new line. A word that starts a line (the first, or the
  // first after a line mark) stays on it however wide it is.
  bool lineHasWord = false;
  for (std::size_t p = 0; p < text.size();) {
    const std::size_t e = WordEnd(text, p);
    std::int32_t wordWidth = 0;
    for (std::size_t i = p; i <= e; ++i) {
      if (text[i] == kLineMarkCharacter) continue;
      const std::int32_t glyph = FindFontGlyph(font, text[i]);
      glyphs[i] = StoredGlyph(glyph);
      if (width != 0) wordWidth = AdvancePen(GlyphForIndex(font, glyph), textureWidth, padding, wordWidth);
    }
    if (width != 0) {
      if (lineWidth + wordWidth > width) {
        lineWidth = wordWidth;
        if (lineHasWord) {
          ++lines;
          // The blank that ended the previous word ends the line.
          glyphs[p - 1] = kGlyphLineMark;
        }
      } else {
        lineWidth += wordWidth;
      }
      lineHasWord = true;
    }
    if (text[e] == kLineMarkCharacter) {
      ++lines;
      glyphs[e] = kGlyphLineMark;
      lineWidth = 0;
      lineHasWord = false;
    }
    p = e + 1;
  }
  lineCount = lines;
  return glyphs;
}

}  // namespace kiv
