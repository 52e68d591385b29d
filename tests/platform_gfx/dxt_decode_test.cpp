#include "platform/gfx/dxt_decode.h"

#include <gtest/gtest.h>

#include <vector>

namespace kiv::gfx {
namespace {

// The first row of a 4 x 4 block, its colours worked out by hand: end points
// expanded from 5:6:5 by repeating their top bits, the middle colours the
// thirds (or the half) between them, alpha from the block's alpha half.
TEST(DecodeDxt, FirstRowOfOneBlockMatchesTheHandDecodedPixels) {
  struct Case {
    const char* name;
    DxtKind kind;
    std::vector<std::uint8_t> block;
    std::uint32_t expected[4];
  };
  const Case cases[] = {
      // Red above blue: four colours; the row uses indexes 0, 1, 2, 3.
      {"dxt1 four colours",
       DxtKind::kDxt1,
       {0x00, 0xF8, 0x1F, 0x00, 0xE4, 0, 0, 0},
       {0xFFFF0000, 0xFF0000FF, 0xFFAA0055, 0xFF5500AA}},
      // Blue not above red: three colours and transparent black.
      {"dxt1 three colours",
       DxtKind::kDxt1,
       {0x1F, 0x00, 0x00, 0xF8, 0xE4, 0, 0, 0},
       {0xFF0000FF, 0xFFFF0000, 0xFF7F007F, 0x00000000}},
      // Mid grey 0x8410 and pure green 0x07E0.
      {"dxt1 expansion",
       DxtKind::kDxt1,
       {0x10, 0x84, 0xE0, 0x07, 0x44, 0, 0, 0},
       {0xFF848284, 0xFF00FF00, 0xFF848284, 0xFF00FF00}},
      // Four-bit alpha 0, 15, 8, 5; the colours always have four entries.
      {"dxt3",
       DxtKind::kDxt3,
       {0xF0, 0x58, 0, 0, 0, 0, 0, 0, 0x1F, 0x00, 0x00, 0xF8, 0xE4, 0, 0, 0},
       {0x000000FF, 0xFFFF0000, 0x885500AA, 0x55AA0055}},
      // Alpha 200 above 100: eight levels; indexes 0, 1, 2, 7.
      {"dxt5 eight levels",
       DxtKind::kDxt5,
       {200, 100, 0x88, 0x0E, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0},
       {0xC8FFFFFF, 0x64FFFFFF, 0xB9FFFFFF, 0x72FFFFFF}},
      // Alpha 50 not above 150: six levels, then 0 and 255; indexes 2, 5, 6, 7.
      {"dxt5 six levels",
       DxtKind::kDxt5,
       {50, 150, 0xAA, 0x0F, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0},
       {0x46FFFFFF, 0x82FFFFFF, 0x00FFFFFF, 0xFFFFFFFF}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::uint32_t> argb;
    ASSERT_TRUE(DecodeDxt(c.kind, c.block.data(), c.block.size(), 4, 4, argb));
    ASSERT_EQ(argb.size(), 16u);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(argb[static_cast<std::size_t>(x)], c.expected[x]) << std::hex << x;
  }
}

// A 6 x 5 image is 2 x 2 blocks; pixels past the image's edges are dropped.
TEST(DecodeDxt, PartialBlocksAtTheEdgesAreCutToTheImage) {
  std::vector<std::uint8_t> data(4 * 8, 0);
  const std::uint8_t colors[4][2] = {{0x00, 0xF8}, {0xE0, 0x07}, {0x1F, 0x00}, {0xFF, 0xFF}};
  for (int b = 0; b < 4; ++b) {
    data[static_cast<std::size_t>(b * 8)] = colors[b][0];
    data[static_cast<std::size_t>(b * 8 + 1)] = colors[b][1];
  }
  std::vector<std::uint32_t> argb;
  ASSERT_TRUE(DecodeDxt(DxtKind::kDxt1, data.data(), data.size(), 6, 5, argb));
  ASSERT_EQ(argb.size(), 30u);
  EXPECT_EQ(argb[0], 0xFFFF0000u);          // block (0, 0)
  EXPECT_EQ(argb[5], 0xFF00FF00u);          // (5, 0) in block (1, 0)
  EXPECT_EQ(argb[4 * 6], 0xFF0000FFu);      // (0, 4) in block (0, 1)
  EXPECT_EQ(argb[4 * 6 + 5], 0xFFFFFFFFu);  // (5, 4) in block (1, 1)
}

TEST(DecodeDxt, RefusesDataShorterThanTheLevel) {
  const std::vector<std::uint8_t> data(24, 0);  // three DXT1 blocks, four needed for 8 x 8
  std::vector<std::uint32_t> argb{1, 2, 3};
  EXPECT_FALSE(DecodeDxt(DxtKind::kDxt1, data.data(), data.size(), 8, 8, argb));
  EXPECT_TRUE(argb.empty());
  EXPECT_FALSE(DecodeDxt(DxtKind::kDxt5, data.data(), data.size(), 4, 8, argb));  // two 16-byte blocks
  EXPECT_FALSE(DecodeDxt(DxtKind::kDxt1, data.data(), data.size(), 0, 4, argb));
  EXPECT_TRUE(DecodeDxt(DxtKind::kDxt1, data.data(), data.size(), 12, 4, argb));
}

}  // namespace
}  // namespace kiv::gfx
