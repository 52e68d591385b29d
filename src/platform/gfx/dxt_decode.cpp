#include "platform/gfx/dxt_decode.h"

#include <array>

namespace kiv::gfx {
namespace {

struct Rgb {
  std::uint32_t r, g, b;
};

// 5:6:5 to 8 bits per channel, the top bits repeated into the low ones so
// that full and zero channels stay 255 and 0.
Rgb Expand565(std::uint16_t c) {
  const std::uint32_t r = (c >> 11) & 0x1F, g = (c >> 5) & 0x3F, b = c & 0x1F;
  return {r << 3 | r >> 2, g << 2 | g >> 4, b << 3 | b >> 2};
}

std::uint32_t Argb(std::uint32_t a, const Rgb& c) { return a << 24 | c.r << 16 | c.g << 8 | c.b; }

Rgb Mix(const Rgb& a, std::uint32_t wa, const Rgb& b, std::uint32_t wb) {
  const std::uint32_t sum = wa + wb;
  return {(a.r * wa + b.r * wb) / sum, (a.g * wa + b.g * wb) / sum, (a.b * wa + b.b * wb) / sum};
}

std::uint16_t Word16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

// The colour half of a block: two 5:6:5 end points and 2-bit indexes. DXT1
// blocks whose first end point is not above the second have three colours and
// transparent black; DXT3 and DXT5 always use four colours.
void DecodeColors(const std::uint8_t* block, bool allowTransparent, std::array<std::uint32_t, 16>& out) {
  const std::uint16_t c0 = Word16(block), c1 = Word16(block + 2);
  const Rgb e0 = Expand565(c0), e1 = Expand565(c1);
  std::array<std::uint32_t, 4> palette{};
  palette[0] = Argb(255, e0);
  palette[1] = Argb(255, e1);
  if (c0 > c1 || !allowTransparent) {
    palette[2] = Argb(255, Mix(e0, 2, e1, 1));
    palette[3] = Argb(255, Mix(e0, 1, e1, 2));
  } else {
    palette[2] = Argb(255, Mix(e0, 1, e1, 1));
    palette[3] = 0;
  }
  for (int i = 0; i < 16; ++i) {
    const std::uint32_t index = (block[4 + i / 4] >> (2 * (i % 4))) & 3;
    out[static_cast<std::size_t>(i)] = palette[index];
  }
}

// Four bits of alpha per pixel.
void ApplyExplicitAlpha(const std::uint8_t* block, std::array<std::uint32_t, 16>& pixels) {
  for (int i = 0; i < 16; ++i) {
    const std::uint32_t a = (block[i / 2] >> (4 * (i % 2))) & 0xF;
    auto& p = pixels[static_cast<std::size_t>(i)];
    p = (p & 0xFFFFFF) | (a * 17) << 24;
  }
}

// Two alpha end points and 3-bit indexes: eight levels between them, or six
// levels and the extremes 0 and 255 when the first end point is not above the second.
void ApplyInterpolatedAlpha(const std::uint8_t* block, std::array<std::uint32_t, 16>& pixels) {
  const std::uint32_t a0 = block[0], a1 = block[1];
  std::array<std::uint32_t, 8> levels{a0, a1};
  if (a0 > a1) {
    for (std::uint32_t i = 1; i < 7; ++i) levels[i + 1] = ((7 - i) * a0 + i * a1) / 7;
  } else {
    for (std::uint32_t i = 1; i < 5; ++i) levels[i + 1] = ((5 - i) * a0 + i * a1) / 5;
    levels[6] = 0;
    levels[7] = 255;
  }
  std::uint64_t bits = 0;
  for (int i = 0; i < 6; ++i) bits |= static_cast<std::uint64_t>(block[2 + i]) << (8 * i);
  for (int i = 0; i < 16; ++i) {
    const std::uint32_t index = static_cast<std::uint32_t>(bits >> (3 * i)) & 7;
    auto& p = pixels[static_cast<std::size_t>(i)];
    p = (p & 0xFFFFFF) | levels[index] << 24;
  }
}

}  // namespace

std::size_t DxtBlockBytes(DxtKind kind) { return kind == DxtKind::kDxt1 ? 8 : 16; }

std::size_t DxtLevelBytes(DxtKind kind, std::uint32_t width, std::uint32_t height) {
  return static_cast<std::size_t>((static_cast<std::uint64_t>(width) + 3) / 4) *
         static_cast<std::size_t>((static_cast<std::uint64_t>(height) + 3) / 4) * DxtBlockBytes(kind);
}

bool DecodeDxt(DxtKind kind, const std::uint8_t* data, std::size_t length, std::uint32_t width,
               std::uint32_t height, std::vector<std::uint32_t>& argb) {
  argb.clear();
  if (!data || width == 0 || height == 0 || length < DxtLevelBytes(kind, width, height)) return false;
  argb.resize(static_cast<std::size_t>(width) * height);
  const std::size_t blockBytes = DxtBlockBytes(kind);
  const std::uint32_t blocksWide = (width + 3) / 4, blocksHigh = (height + 3) / 4;
  std::array<std::uint32_t, 16> pixels{};
  for (std::uint32_t by = 0; by < blocksHigh; ++by) {
    for (std::uint32_t bx = 0; bx < blocksWide; ++bx) {
      const std::uint8_t* block = data + (static_cast<std::size_t>(by) * blocksWide + bx) * blockBytes;
      if (kind == DxtKind::kDxt1) {
        DecodeColors(block, true, pixels);
      } else {
        DecodeColors(block + 8, false, pixels);
        if (kind == DxtKind::kDxt3) {
          ApplyExplicitAlpha(block, pixels);
        } else {
          ApplyInterpolatedAlpha(block, pixels);
        }
      }
      // Blocks on the right and bottom edges may reach past the image.
      for (std::uint32_t y = 0; y < 4 && by * 4 + y < height; ++y) {
        for (std::uint32_t x = 0; x < 4 && bx * 4 + x < width; ++x) {
          argb[static_cast<std::size_t>(by * 4 + y) * width + bx * 4 + x] = pixels[y * 4 + x];
        }
      }
    }
  }
  return true;
}

}  // namespace kiv::gfx
