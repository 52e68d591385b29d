#include "support/sample_images.h"

#include <cstdlib>

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
    default:  // water with a ripple line
      return (y + x / 4) % 8 == 0 ? 0x90C8F0 : 0x2870C0;
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

}  // namespace kiv::test
