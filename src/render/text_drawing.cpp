#include "render/text_drawing.h"

#include <algorithm>
#include <limits>

#include "core/math_util.h"
#include "media/draw_device.h"
#include "media/quad_batcher.h"
#include "render/text_layout.h"

namespace kiv {

namespace {

constexpr std::int32_t kShadowOffset = 2;
constexpr std::int32_t kTailLineHeight = 32;

std::int32_t ClampToLong(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

void BindFontTexture(const FontSet& font) { CurrentDrawDevice().SetTexture(0, font.loadedTexture); }

// The shadow (unless its colour is 0) and the glyph itself, top-left at (left, top).
void AddGlyphQuads(const FontGlyph& glyph, double left, double top, float width, float height,
                   std::uint32_t topColor, std::uint32_t bottomColor, std::uint32_t shadowColor) {
  const float u2 = glyph.u + glyph.width, v2 = glyph.v + glyph.height;
  if (shadowColor != 0) {
    QuadAddScreen(static_cast<float>(left + kShadowOffset), static_cast<float>(top + kShadowOffset), width,
                  height, glyph.u, glyph.v, u2, v2, shadowColor, 0);
  }
  QuadAddScreenGradient(static_cast<float>(left), static_cast<float>(top), width, height, {glyph.u, glyph.v},
                        {u2, glyph.v}, {u2, v2}, {glyph.u, v2}, topColor, topColor, bottomColor, bottomColor,
                        0);
}

// The width of a line of text, measured with the advance rule.
std::int32_t MeasureText(const FontSet& font, const std::u16string& text) {
  std::int32_t width = 0;
  for (char16_t c : text) {
    width =
        AdvancePen(GlyphForIndex(font, FindFontGlyph(font, c)), font.textureWidth, font.glyphInset, width);
  }
  return width;
}

}  // namespace

void DrawTextLine(std::int32_t fontSet, const std::u16string& text, std::int32_t x, std::int32_t y,
                  std::uint32_t topColor, std::uint32_t bottomColor, std::uint32_t shadowColor) {
  const FontSet& font = FontSetAt(fontSet);
  BindFontTexture(font);
  const double top = static_cast<double>(y) - font.glyphInset;
  for (char16_t c : text) {
    const FontGlyph* glyph = GlyphForIndex(font, FindFontGlyph(font, c));
    if (glyph == nullptr) continue;
    AddGlyphQuads(*glyph, static_cast<double>(x) - font.glyphInset, top,
                  static_cast<float>(static_cast<double>(glyph->width) * font.textureWidth),
                  static_cast<float>(static_cast<double>(glyph->height) * font.textureHeight), topColor,
                  bottomColor, shadowColor);
    x = AdvancePen(glyph, font.textureWidth, font.glyphInset, x);
  }
  QuadBatchFlushScreen();
}

void DrawTextCentered(std::int32_t fontSet, const std::u16string& text, std::int32_t x, std::int32_t y,
                      std::uint32_t topColor, std::uint32_t bottomColor, std::uint32_t shadowColor) {
  const std::int32_t width = MeasureText(FontSetAt(fontSet), text);
  DrawTextLine(fontSet, text, ClampToLong(static_cast<std::int64_t>(x) - width / 2), y, topColor, bottomColor,
               shadowColor);
}

void DrawGlyphBlock(Rect& outRect, std::int32_t fontSet, const GlyphIndexList& glyphs,
                    std::int32_t firstIndex, std::int32_t lastIndex, std::int32_t x, std::int32_t y,
                    std::uint32_t topColor, std::uint32_t bottomColor, std::uint32_t shadowColor,
                    std::int32_t lineHeight, std::int32_t firstLine, std::int32_t lineCount,
                    std::int32_t align, float scale) {
  const FontSet& font = FontSetAt(fontSet);
  BindFontTexture(font);
  const std::int32_t textureWidth = RoundToLong(static_cast<double>(scale) * font.textureWidth);
  const std::int32_t textureHeight = RoundToLong(static_cast<double>(scale) * font.textureHeight);
  const std::int32_t padding = RoundToLong(static_cast<double>(scale) * font.glyphInset);
  if (lineHeight == -1) {
    lineHeight =
        font.glyphs.empty()
            ? 0
            : RoundToLong(static_cast<double>(font.glyphs[0].height) * textureHeight - 2.0 * padding);
  }

  // Only entries the list holds are drawn.
  const std::int32_t first = std::max(firstIndex, 0);
  const std::int32_t last = std::min(lastIndex, static_cast<std::int32_t>(glyphs.size()) - 1);
  const auto entry = [&](std::int32_t i) { return glyphs[static_cast<std::size_t>(i)]; };
  const auto advance = [&](std::int32_t i, std::int32_t penX) {
    return AdvancePen(GlyphForIndex(font, entry(i)), textureWidth, padding, penX);
  };
  const std::int64_t windowEnd = static_cast<std::int64_t>(firstLine) + lineCount;

  Rect extent{x, y, x, y};
  std::int64_t penY = static_cast<std::int64_t>(y) - lineHeight;
  std::int32_t penX = x;
  std::int64_t line = 0;
  for (std::int32_t i = first; i <= last; ++i) {
    const bool lineMark = entry(i) == kGlyphLineMark;
    if (i == first || lineMark) {
      std::int32_t width = 0;
      if (align == kAlignRight || align == kAlignCentre) {
        for (std::int32_t j = lineMark ? i + 1 : i; j <= last && entry(j) != kGlyphLineMark; ++j) {
          width = advance(j, width);
        }
      }
      const std::int32_t offset = align == kAlignRight ? -width : align == kAlignCentre ? -(width / 2) : 0;
      penX = ClampToLong(static_cast<std::int64_t>(x) + offset);
      extent.left = std::min(extent.left, penX);
      ++line;
      penY += lineHeight;
      if (lineMark) {
        // A block that opens with a line mark begins with an empty line.
        if (i == first) {
          ++line;
          penY += lineHeight;
        }
        continue;
      }
    }
    const FontGlyph* glyph = GlyphForIndex(font, entry(i));
    if (glyph == nullptr) continue;
    if (lineCount <= 0 || (firstLine < line && line <= windowEnd)) {
      AddGlyphQuads(*glyph, static_cast<double>(penX) - padding, static_cast<double>(penY) - padding,
                    static_cast<float>(static_cast<double>(glyph->width) * textureWidth),
                    static_cast<float>(static_cast<double>(glyph->height) * textureHeight), topColor,
                    bottomColor, shadowColor);
    }
    penX = AdvancePen(glyph, textureWidth, padding, penX);
    extent.right = std::max(extent.right, penX);
  }
  extent.bottom = ClampToLong(penY + lineHeight);
  QuadBatchFlushScreen();
  outRect = extent;
}

void DrawTextTail(std::int32_t fontSet, const GlyphIndexList& glyphs, std::int32_t x, std::int32_t y,
                  std::uint32_t topColor, std::uint32_t bottomColor, std::uint32_t shadowColor,
                  std::int32_t width) {
  const FontSet& font = FontSetAt(fontSet);
  const auto last = static_cast<std::int32_t>(glyphs.size()) - 1;
  std::int32_t start = 0;
  std::int32_t sum = 0;
  for (std::int32_t i = last; i >= 0; --i) {
    const std::int16_t glyph = glyphs[static_cast<std::size_t>(i)];
    // A line mark is never drawn and takes no room.
    if (glyph != kGlyphLineMark)
      sum = AdvancePen(GlyphForIndex(font, glyph), font.textureWidth, font.glyphInset, sum);
    if (sum > width) {
      start = i + 1;
      break;
    }
  }
  Rect drawn;
  DrawGlyphBlock(drawn, fontSet, glyphs, start, last, x, y, topColor, bottomColor, shadowColor,
                 kTailLineHeight, 0, 0, kAlignLeft, 1.0f);
}

}  // namespace kiv
