#include "data/font_set.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/data_buffer.h"
#include "core/error.h"
#include "core/math_util.h"
#include "data/game_data.h"
#include "data/resource_header.h"

namespace kiv {

namespace {

constexpr std::int32_t kFirstDisplayName = 100787;
constexpr std::int32_t kFirstTextureSize = 100712;
constexpr std::int32_t kFirstInset = 100713;
constexpr std::int32_t kFirstKind = 100763;
constexpr std::int32_t kFirstGlyphList = 100530;

constexpr std::int32_t kGlyphSize = 2 + 16;
// Older fonts hold the codes 32 to 255 in four columns of coordinates.
constexpr std::int32_t kColumnFirstCode = 32;
constexpr std::int32_t kColumnGlyphCount = 224;

FontSet& FontAt(std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= gameData.fontSets.size())
    RaiseError(kErrIndex, "Subscript out of range: font set " + std::to_string(index) + ".");
  return gameData.fontSets[static_cast<std::size_t>(index)];
}

void ReadGlyphs(const ByteList& buffer, std::int32_t& offset, std::int32_t version, FontSet& set) {
  if (version >= kFirstGlyphList) {
    const std::int32_t last = BufferReadLastIndex(buffer, offset, kGlyphSize);
    set.glyphs.assign(static_cast<std::size_t>(last + 1), FontGlyph());
    for (FontGlyph& glyph : set.glyphs) {
      glyph.code = BufferReadInt16(buffer, offset);
      glyph.u = BufferReadSingle(buffer, offset);
      glyph.v = BufferReadSingle(buffer, offset);
      glyph.width = BufferReadSingle(buffer, offset);
      glyph.height = BufferReadSingle(buffer, offset);
    }
    return;
  }
  BufferRequire(buffer, offset, static_cast<std::int64_t>(kColumnGlyphCount) * 16);
  set.glyphs.assign(kColumnGlyphCount, FontGlyph());
  for (std::int32_t i = 0; i < kColumnGlyphCount; ++i)
    set.glyphs[static_cast<std::size_t>(i)].code = static_cast<std::int16_t>(kColumnFirstCode + i);
  for (FontGlyph& glyph : set.glyphs) glyph.u = BufferReadSingle(buffer, offset);
  for (FontGlyph& glyph : set.glyphs) glyph.v = BufferReadSingle(buffer, offset);
  for (FontGlyph& glyph : set.glyphs) glyph.width = BufferReadSingle(buffer, offset);
  for (FontGlyph& glyph : set.glyphs) glyph.height = BufferReadSingle(buffer, offset);
}

// Line height := height of glyph 0 x texture height - 2 x glyph inset, rounded
// half to even. A font without glyphs gets 0.
void ComputeLineHeight(FontSet& set) {
  if (set.glyphs.empty()) {
    set.lineHeight = 0;
    return;
  }
  const double height = static_cast<double>(set.glyphs[0].height) * set.textureHeight - 2.0 * set.glyphInset;
  set.lineHeight = RoundToLong(height);
}

}  // namespace

void ReadFontSet(const ByteList& buffer, std::int32_t index) {
  FontSet& set = FontAt(index);
  std::int32_t offset = 0;
  std::int32_t version = 0;
  CheckResourceHeader(buffer, offset, version, kMinSetVersion);
  set.id = ReadSetIdentifier(buffer, offset, version);
  set.texture = EmptyImageSource();
  ReadImageSource(buffer, set.texture, offset, version);
  set.name = BufferReadString(buffer, offset);
  set.displayName = version >= kFirstDisplayName ? BufferReadString(buffer, offset) : set.name;
  if (version >= kFirstTextureSize) {
    set.textureWidth = BufferReadLong(buffer, offset);
    set.textureHeight = BufferReadLong(buffer, offset);
  } else {
    set.textureWidth = 256;
    set.textureHeight = 256;
  }
  set.text = BufferReadString(buffer, offset);
  set.value = BufferReadLong(buffer, offset);
  BufferReadByte(buffer, offset);
  set.byte2 = BufferReadByte(buffer, offset);
  BufferReadByte(buffer, offset);
  BufferReadByte(buffer, offset);
  set.value2 = BufferReadLong(buffer, offset);
  if (version >= kFirstInset) {
    set.glyphInset = BufferReadLong(buffer, offset);
    set.flag = BufferReadByte(buffer, offset);
    set.legacy = false;
  } else {
    set.glyphInset = 0;
    set.flag = 0;
    set.legacy = true;
  }
  set.kind = version >= kFirstKind ? BufferReadString(buffer, offset) : std::u16string();
  ReadGlyphs(buffer, offset, version, set);
  ComputeLineHeight(set);
}

}  // namespace kiv
