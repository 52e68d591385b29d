#include "support/sample_images.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

// A public-domain font built from line segments; its C code is compiled here
// only to draw the sample's glyph sheet.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wconversion"
#pragma GCC diagnostic ignored "-Wpedantic"
#include <stb/stb_easy_font.h>
#pragma GCC diagnostic pop

namespace kiv::test {

namespace {

void PutLittle(ByteList& bytes, std::size_t at, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A cheap repeatable speckle so that flat colours show some grain.
bool Speckle(std::int32_t x, std::int32_t y, std::uint32_t salt) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u ^ salt;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return h % 7 == 0;
}

std::uint32_t GroundPixel(std::int32_t tile, std::int32_t x, std::int32_t y) {
  const bool grain = Speckle(x, y, static_cast<std::uint32_t>(tile));
  switch (tile) {
    case 0:  // grass
      return grain ? 0x2E7D32 : 0x4CAF50;
    case 1:  // sand
      return grain ? 0xC8A860 : 0xE6CC80;
    case 2:  // stone: a grid of flags
      if (x % 16 == 0 || y % 16 == 0) return 0x606060;
      return grain ? 0x8A8A8A : 0xA0A0A0;
    case 3:  // water with a ripple line
      return (y + x / 4) % 8 == 0 ? 0x90C8F0 : 0x2870C0;
    default:  // wall: bricks in offset courses
      if (y % 8 == 7 || (x + (y / 8 % 2) * 8) % 16 == 15) return 0x5A4A40;
      return grain ? 0x8E4A30 : 0xA85A3A;
  }
}

}  // namespace

ByteList BmpBytes(std::int32_t width, std::int32_t height,
                  const std::function<std::uint32_t(std::int32_t, std::int32_t)>& pixel) {
  const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  const std::size_t dataBytes = rowBytes * static_cast<std::size_t>(height);
  ByteList bytes(54 + dataBytes, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  PutLittle(bytes, 2, static_cast<std::uint32_t>(bytes.size()), 4);
  PutLittle(bytes, 10, 54, 4);  // pixel data offset
  PutLittle(bytes, 14, 40, 4);  // info header size
  PutLittle(bytes, 18, static_cast<std::uint32_t>(width), 4);
  PutLittle(bytes, 22, static_cast<std::uint32_t>(height), 4);  // positive: rows bottom-up
  PutLittle(bytes, 26, 1, 2);
  PutLittle(bytes, 28, 24, 2);
  PutLittle(bytes, 34, static_cast<std::uint32_t>(dataBytes), 4);
  for (std::int32_t y = 0; y < height; ++y) {
    const std::size_t row = 54 + rowBytes * static_cast<std::size_t>(height - 1 - y);
    for (std::int32_t x = 0; x < width; ++x) {
      const std::uint32_t rgb = pixel(x, y);
      const std::size_t at = row + static_cast<std::size_t>(x) * 3;
      bytes[at] = static_cast<std::uint8_t>(rgb);
      bytes[at + 1] = static_cast<std::uint8_t>(rgb >> 8);
      bytes[at + 2] = static_cast<std::uint8_t>(rgb >> 16);
    }
  }
  return bytes;
}

EmbeddedResource EmbeddedImage(const ByteList& fileBytes) {
  EmbeddedResource resource;
  resource.mode = 1;
  resource.fileBytes = fileBytes;
  return resource;
}

ByteList SampleTileSheet() {
  return BmpBytes(kSampleTileCount * kSampleTileSize, kSampleTileSize, [](std::int32_t x, std::int32_t y) {
    return GroundPixel(x / kSampleTileSize, x % kSampleTileSize, y);
  });
}

ByteList SampleFigure() {
  // A figure seen from the front: hair, face, shirt with arms, trousers, boots.
  return BmpBytes(kSampleFigureWidth, kSampleFigureHeight, [](std::int32_t x, std::int32_t y) -> std::uint32_t {
    const std::int32_t dx = std::abs(2 * x - (kSampleFigureWidth - 1));  // twice the distance from the middle
    if (y < 14) {
      const std::int32_t dy = 2 * y - 14;
      if (dx * dx + dy * dy > 14 * 14) return kKeyColour;
      if (y < 5) return 0x5A3A1A;                                 // hair
      if (y == 7 && (dx == 5 || dx == 7)) return 0x202020;        // eyes
      return 0xF0C8A0;                                            // face
    }
    if (y < 30) {
      if (dx <= 16) return 0xC03030;                              // shirt
      if (dx <= 22 && y < 27) return y > 24 ? 0xF0C8A0 : 0xC03030;  // arms and hands
      return kKeyColour;
    }
    if (y < 44) return dx <= 14 && dx >= 2 ? 0x303C78 : kKeyColour;  // two legs
    return dx <= 16 && dx >= 2 ? 0x3A2410 : kKeyColour;               // boots
  });
}

ByteList SampleDoorSheet() {
  constexpr std::int32_t kCellWidth = kSampleDoorSheetSize / 8, kCellHeight = kSampleDoorSheetSize / 4;
  return BmpBytes(kSampleDoorSheetSize, kSampleDoorSheetSize, [](std::int32_t x, std::int32_t y) -> std::uint32_t {
    if (x >= kCellWidth || y >= kCellHeight) return kKeyColour;
    if (x < 2 || x >= kCellWidth - 2 || y < 2) return 0x4A2C12;    // frame
    if (x == 24 && y == 34) return 0xE0C040;                     // knob
    return x % 8 == 0 ? 0x6A4020 : 0x8A5A2E;                     // planks
  });
}

ByteList SampleCoin() {
  return BmpBytes(kSampleCoinSize, kSampleCoinSize, [](std::int32_t x, std::int32_t y) -> std::uint32_t {
    const std::int32_t dx = 2 * x - (kSampleCoinSize - 1), dy = 2 * y - (kSampleCoinSize - 1);
    const std::int32_t d2 = dx * dx + dy * dy;
    if (d2 > 22 * 22) return kKeyColour;
    if (d2 > 18 * 18) return 0xB08010;  // rim
    return (dx + dy) / 2 % 6 == 0 ? 0xFFF080 : 0xF0C020;
  });
}

ByteList SampleCloud() {
  return BmpBytes(kSampleCloudWidth, kSampleCloudHeight, [](std::int32_t x, std::int32_t y) -> std::uint32_t {
    // Three overlapping puffs, white with a grey underside.
    const auto inside = [&](std::int32_t cx, std::int32_t cy, std::int32_t r) {
      return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
    };
    if (!inside(28, 28, 18) && !inside(50, 22, 20) && !inside(72, 30, 16)) return kKeyColour;
    return y > 34 ? 0xD8DCE4 : 0xFFFFFF;
  });
}

ByteList SampleDrop() {
  return BmpBytes(kSampleDropWidth, kSampleDropHeight, [](std::int32_t, std::int32_t y) -> std::uint32_t {
    return y < 4 ? 0xA0C0F0 : 0xD0E4FF;
  });
}

namespace {

constexpr std::int32_t kGlyphScale = 2;  // the segment font is drawn twice its size

// The glyph's segments as boxes (left, top, right, bottom) in its cell, scaled.
std::vector<std::array<std::int32_t, 4>> GlyphBoxes(char16_t code) {
  char text[2] = {static_cast<char>(code), 0};
  std::vector<float> vertices(4096);
  const int quads = stb_easy_font_print(0, 0, text, nullptr, vertices.data(),
                                        static_cast<int>(vertices.size() * sizeof(float)));
  std::vector<std::array<std::int32_t, 4>> boxes;
  for (int q = 0; q < quads; ++q) {
    float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
    for (int v = 0; v < 4; ++v) {
      const float* vertex = &vertices[static_cast<std::size_t>((q * 4 + v) * 4)];
      left = std::min(left, vertex[0]), right = std::max(right, vertex[0]);
      top = std::min(top, vertex[1]), bottom = std::max(bottom, vertex[1]);
    }
    boxes.push_back({static_cast<std::int32_t>(left) * kGlyphScale + 1, static_cast<std::int32_t>(top) * kGlyphScale + 2,
                     static_cast<std::int32_t>(right) * kGlyphScale + 1,
                     static_cast<std::int32_t>(bottom) * kGlyphScale + 2});
  }
  return boxes;
}

}  // namespace

std::int32_t SampleGlyphAdvance(char16_t code) {
  char text[2] = {static_cast<char>(code), 0};
  return stb_easy_font_width(text) * kGlyphScale + 1;
}

ByteList SampleFontSheet() {
  std::vector<bool> ink(static_cast<std::size_t>(kSampleFontSheetSize * kSampleFontSheetSize), false);
  for (char16_t code = kSampleFirstGlyph; code <= kSampleLastGlyph; ++code) {
    const std::int32_t n = code - kSampleFirstGlyph;
    const std::int32_t cellX = n % kSampleGlyphColumns * kSampleGlyphWidth;
    const std::int32_t cellY = n / kSampleGlyphColumns * kSampleGlyphHeight;
    for (const auto& box : GlyphBoxes(code)) {
      for (std::int32_t y = box[1]; y < box[3] && y < kSampleGlyphHeight; ++y)
        for (std::int32_t x = box[0]; x < box[2] && x < kSampleGlyphWidth; ++x)
          ink[static_cast<std::size_t>((cellY + y) * kSampleFontSheetSize + cellX + x)] = true;
    }
  }
  return BmpBytes(kSampleFontSheetSize, kSampleFontSheetSize, [&ink](std::int32_t x, std::int32_t y) {
    return ink[static_cast<std::size_t>(y * kSampleFontSheetSize + x)] ? 0xFFFFFFu : kKeyColour;
  });
}

ByteList SampleWindowSkin() {
  return BmpBytes(256, 256, [](std::int32_t x, std::int32_t y) -> std::uint32_t {
    if (x < 96 && y < 96) {
      // Background: light with a soft darker rim, so the box colour shows.
      const std::int32_t edge = std::min({x, y, 95 - x, 95 - y});
      return edge < 4 ? 0xC0C0C0 : 0xF0F0F0;
    }
    if (x < 192 && y < 96) {
      // Frame: a double line round the 96 x 96 block, clear inside.
      const std::int32_t edge = std::min({x - 96, y, 191 - x, 95 - y});
      if (edge < 2) return 0xFFFFFF;
      if (edge == 3) return 0x909090;
      return kKeyColour;
    }
    if (x >= 96 && x < 192 && y >= 96 && y < 128) {
      // Input bar: a field with a dark outline, capped at both ends.
      const std::int32_t dy = std::min(y - 100, 123 - y);
      if (dy < 0) return kKeyColour;
      if ((x < 100 && x >= 96) || (x >= 188)) return kKeyColour;
      const bool border = dy == 0 || x == 100 || x == 187;
      return border ? 0x303030 : 0xF8F8F8;
    }
    return kKeyColour;
  });
}

}  // namespace kiv::test
