#include "media/box_shapes.h"

#include <gtest/gtest.h>

namespace kiv {
namespace {

std::array<ColorPair, 6> NumberedPairs() {
  std::array<ColorPair, 6> pairs{};
  for (std::uint32_t i = 0; i < 6; ++i) pairs[i] = {0xFF000000u + i + 1, 0x100u * (i + 1)};
  return pairs;
}

TEST(BoxShapes, UnitBoxCornersInFaceOrder) {
  const auto v = ShapeBuildBox(0, 0, 0, 1, 1, 1, 1, 1, NumberedPairs());
  struct Case {
    int index;
    float x, y, z;
  };
  const Case cases[] = {{0, 1, 0, 0}, {1, 0, 0, 0}, {2, 0, 1, 0}, {6, 0, 0, 0}, {7, 0, 0, 1},
                        {12, 0, 0, 1}, {18, 1, 0, 1}, {24, 1, 1, 1}, {30, 1, 0, 1}, {35, 1, 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    const ColoredVertex& p = v[static_cast<std::size_t>(c.index)];
    EXPECT_EQ(p.x, c.x);
    EXPECT_EQ(p.y, c.y);
    EXPECT_EQ(p.z, c.z);
  }
}

TEST(BoxShapes, ColourPairsLandOnTheirFaces) {
  const auto v = ShapeBuildBox(2, 3, 4, 5, 6, 7, 1, 1, NumberedPairs());
  // Output faces z, x, z + d, x + w, y + h, y take pairs 5, 1, 6, 3, 2, 4.
  const std::uint32_t pairOfFace[6] = {5, 1, 6, 3, 2, 4};
  for (int f = 0; f < 6; ++f) {
    for (int i = 0; i < 6; ++i) {
      const ColoredVertex& p = v[static_cast<std::size_t>(f * 6 + i)];
      EXPECT_EQ(p.diffuse, 0xFF000000u + pairOfFace[f]) << f << " " << i;
      EXPECT_EQ(p.specular, 0x100u * pairOfFace[f]);
    }
  }
  // Each face lies in its plane.
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(v[static_cast<std::size_t>(i)].z, 4);        // z
    EXPECT_EQ(v[static_cast<std::size_t>(6 + i)].x, 2);    // x
    EXPECT_EQ(v[static_cast<std::size_t>(12 + i)].z, 11);  // z + d
    EXPECT_EQ(v[static_cast<std::size_t>(18 + i)].x, 7);   // x + w
    EXPECT_EQ(v[static_cast<std::size_t>(24 + i)].y, 9);   // y + h
    EXPECT_EQ(v[static_cast<std::size_t>(30 + i)].y, 3);   // y
  }
}

TEST(BoxShapes, TextureCoordinatesRepeatPerFace) {
  const auto v = ShapeBuildBox(0, 0, 0, 0, 0, 0, 2, 3, NumberedPairs());
  const float tu[6] = {2, 0, 0, 0, 2, 2};
  const float tv[6] = {3, 3, 0, 0, 0, 3};
  for (int f = 0; f < 6; ++f) {
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(v[static_cast<std::size_t>(f * 6 + i)].tu, tu[i]);
      EXPECT_EQ(v[static_cast<std::size_t>(f * 6 + i)].tv, tv[i]);
    }
  }
}

}  // namespace
}  // namespace kiv
