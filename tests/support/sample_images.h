#pragma once
// Small pictures drawn in code for the sample game: 24-bit BMP files whose
// magenta pixels are the colour key (transparent once loaded).
#include <cstdint>
#include <functional>

#include "core/byte_list.h"
#include "core/record_codecs.h"

namespace kiv::test {

// The colour key: pixels of this colour (0xRRGGBB) load as transparent.
inline constexpr std::uint32_t kKeyColour = 0xFF00FF;

// A width x height BMP whose pixel (x, y), y down, is pixel(x, y) as 0xRRGGBB.
ByteList BmpBytes(std::int32_t width, std::int32_t height,
                  const std::function<std::uint32_t(std::int32_t, std::int32_t)>& pixel);

// An embedded image holding one file.
EmbeddedResource EmbeddedImage(const ByteList& fileBytes);

// The sample's pictures. Cell sizes are those the drawing code expects.
inline constexpr std::int32_t kSampleTileCount = 5;      // grass, sand, stone, water, wall
inline constexpr std::int32_t kSampleTileSize = 32;      // one cell, tiles side by side
inline constexpr std::int32_t kSampleFigureWidth = 32;   // a standing figure
inline constexpr std::int32_t kSampleFigureHeight = 48;
inline constexpr std::int32_t kSampleDoorSheetSize = 256;  // 8 x 4 cells of 32 x 64
inline constexpr std::int32_t kSampleCoinSize = 32;
inline constexpr std::int32_t kSampleCloudWidth = 96;  // a soft cloud
inline constexpr std::int32_t kSampleCloudHeight = 48;
inline constexpr std::int32_t kSampleDropWidth = 2;  // a rain streak
inline constexpr std::int32_t kSampleDropHeight = 12;

ByteList SampleTileSheet();  // kSampleTileCount cells across, one row
ByteList SampleFigure();
ByteList SampleDoorSheet();  // a door in cell (0, 0), the rest keyed out
ByteList SampleCoin();
ByteList SampleCloud();
ByteList SampleDrop();

// The sample's font: printable ASCII (codes 32 to 126) as white glyphs on the
// colour key, kSampleGlyphColumns to a row in cells of kSampleGlyphWidth x
// kSampleGlyphHeight on a kSampleFontSheetSize square sheet.
inline constexpr std::int32_t kSampleFontSheetSize = 256;
inline constexpr std::int32_t kSampleGlyphColumns = 16;
inline constexpr std::int32_t kSampleGlyphWidth = 16;
inline constexpr std::int32_t kSampleGlyphHeight = 24;
inline constexpr char16_t kSampleFirstGlyph = 32, kSampleLastGlyph = 126;
ByteList SampleFontSheet();
// The pixels glyph `code` advances the pen by.
std::int32_t SampleGlyphAdvance(char16_t code);

// System texture 0, the window skin of message boxes (256 x 256, cells of
// 32): the background's 3 x 3 cells at (0, 0), the frame's at (96, 0) and the
// input bar's three cells at (96, 96), (128, 96) and (160, 96). Light, so the
// boxes' colours tint it.
ByteList SampleWindowSkin();

}  // namespace kiv::test
