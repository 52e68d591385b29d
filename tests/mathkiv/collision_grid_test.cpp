#include "mathkiv/collision_grid.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/error.h"
#include "grid_fixture.h"
#include "mathkiv/collision.h"
#include "mathkiv/math_init.h"

namespace kiv {
namespace {

using test::TestGrid;

constexpr std::int32_t kCell = 16;

CollisionShape BoxShape(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b, std::int32_t f,
                        std::int32_t k) {
  CollisionShape shape;
  CollisionBox box;
  box.left = l, box.top = t, box.right = r, box.bottom = b, box.front = f, box.back = k;
  shape.rectangles.push_back(box);
  return shape;
}

ShapePlacement At(float x, float y, float z = 0.0f, float heading = 0.0f) {
  ShapePlacement p;
  p.x = x, p.y = y, p.z = z, p.rotationZ = heading;
  return p;
}

class PaintArrayCollisionTest : public ::testing::Test {
 protected:
  void SetUp() override { MathInit(kCell, 0); }
  void TearDown() override { mathKivSettings.Reset(); }

  // A grid of 8 x 8 points and 4 layers whose ground heights are all 7.
  static TestGrid Ground() {
    TestGrid grid(8, 8, 4);
    for (std::int32_t j = 0; j < 8; ++j)
      for (std::int32_t i = 0; i < 8; ++i) grid.At(i, j, 0) = 7;
    return grid;
  }

  // Every point of layers 1 and up whose space the shape overlaps, by the
  // shape test against the point's own box.
  static bool Covers(const CollisionShape& shape, const ShapePlacement& placement, std::int32_t i,
                     std::int32_t j, std::int32_t k) {
    const CollisionShape cell = BoxShape(0, 0, kCell, kCell, 0, kGridLayerHeight);
    return IntersectCollisionCollision(shape, placement, cell,
                                       At(static_cast<float>(i * kCell), static_cast<float>(j * kCell),
                                          static_cast<float>((k - 1) * kGridLayerHeight)));
  }

  static void ExpectPaintedExactly(const std::string& name, const CollisionShape& shape,
                                   const ShapePlacement& placement) {
    TestGrid grid = Ground();
    PaintArrayCollision(grid.View(), shape, placement, 1);
    int painted = 0;
    for (std::int32_t k = 0; k < grid.layers; ++k)
      for (std::int32_t j = 0; j < grid.rows; ++j)
        for (std::int32_t i = 0; i < grid.columns; ++i) {
          const std::uint8_t expected = k == 0 ? 7 : (Covers(shape, placement, i, j, k) ? 1 : 0);
          EXPECT_EQ(grid.At(i, j, k), expected) << name << " at " << i << "," << j << "," << k;
          painted += (k > 0 && grid.At(i, j, k) == 1);
        }
    EXPECT_GT(painted, 0) << name;
  }
};

TEST_F(PaintArrayCollisionTest, PaintsExactlyTheCoveredPointsAndNeverTheGround) {
  TestGrid grid = Ground();
  // A tile box at (16, 16) on the ground covers points 1..2 across and down, in layer 1 only.
  PaintArrayCollision(grid.View(), BoxShape(0, 0, 32, 32, 0, 32), At(16, 16), 1);
  for (std::int32_t k = 0; k < 4; ++k)
    for (std::int32_t j = 0; j < 8; ++j)
      for (std::int32_t i = 0; i < 8; ++i) {
        const bool inside = k == 1 && i >= 1 && i <= 2 && j >= 1 && j <= 2;
        EXPECT_EQ(grid.At(i, j, k), k == 0 ? 7 : (inside ? 1 : 0)) << i << "," << j << "," << k;
      }
  // Clearing with 0 gives the grid back as it was.
  PaintArrayCollision(grid.View(), BoxShape(0, 0, 32, 32, 0, 32), At(16, 16), 0);
  EXPECT_EQ(grid.cells, Ground().cells);
}

TEST_F(PaintArrayCollisionTest, ShapesAgainstTheShapeTestOfEachPoint) {
  CollisionShape triangle;
  CollisionPolygon polygon;
  polygon.points = {{0, 0}, {60, 0}, {0, 60}};
  polygon.height = 40;
  triangle.polygons.push_back(polygon);
  CollisionShape flipped = BoxShape(0, 0, 20, 36, 0, 64);
  flipped.transformed = flipped.flipX = 1;

  ExpectPaintedExactly("tall box", BoxShape(-12, -8, 12, 16, 0, 64), At(40, 40));
  ExpectPaintedExactly("box raised by 40", BoxShape(-12, -8, 12, 16, 0, 30), At(40, 40, 40));
  ExpectPaintedExactly("turned box", BoxShape(-20, -6, 20, 6, 0, 20), At(64, 64, 0, 0.6f));
  ExpectPaintedExactly("triangle", triangle, At(10, 10, 5));
  ExpectPaintedExactly("flipped box", flipped, At(64, 20));
  ExpectPaintedExactly("partly outside the grid", BoxShape(-40, -40, 24, 24, -30, 200), At(0, 0));
}

TEST_F(PaintArrayCollisionTest, TouchingFlatAndMisfitShapesPaintNothing) {
  const TestGrid untouched = Ground();
  struct Case {
    std::string name;
    CollisionShape shape;
    ShapePlacement placement;
  } cases[] = {
      {"plate between layers", BoxShape(0, 0, 64, 64, 0, 0), At(0, 0, 32)},
      {"below the grid", BoxShape(0, 0, 64, 64, 0, 10), At(0, 0, -10)},
      {"beyond the last column", BoxShape(0, 0, 64, 64, 0, 10), At(128, 0)},
      {"above the top layer", BoxShape(0, 0, 64, 64, 0, 10), At(0, 0, 96)},
      {"no parts", CollisionShape{}, At(0, 0)},
  };
  for (const Case& c : cases) {
    TestGrid grid = Ground();
    PaintArrayCollision(grid.View(), c.shape, c.placement, 1);
    EXPECT_EQ(grid.cells, untouched.cells) << c.name;
  }
  // A view whose counts do not match its cells is left alone.
  TestGrid grid = Ground();
  CollisionGridView wrong = grid.View();
  wrong.layers = 5;
  PaintArrayCollision(wrong, BoxShape(0, 0, 64, 64, 0, 64), At(0, 0), 1);
  EXPECT_EQ(grid.cells, untouched.cells);
}

TEST_F(PaintArrayCollisionTest, CountsWhoseProductWrapsAroundDoNotMatchTheCells) {
  // 2^22 x 2^21 x 2^21 points is 2^64, which wraps to the 0 cells given.
  std::vector<std::uint8_t> none;
  const CollisionGridView view{none, 1 << 22, 1 << 21, 1 << 21};
  EXPECT_FALSE(view.Valid());
  EXPECT_FALSE(ConstCollisionGridView(view).Valid());
  PaintArrayCollision(view, BoxShape(0, 0, 64, 64, 0, 64), At(0, 0), 1);  // writes nothing
}

TEST(MathInit, KeepsItsValuesAndRefusesCellSizesThatMakeNoGrid) {
  MathInit(8, 123);
  EXPECT_EQ(mathKivSettings.pathCellSize, 8);
  EXPECT_EQ(mathKivSettings.projectValue, 123);
  for (std::int32_t bad : {0, -16, 33}) {
    try {
      MathInit(bad, 1);
      ADD_FAILURE() << bad;
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), kErrData);
    }
    EXPECT_EQ(mathKivSettings.pathCellSize, 8);
  }
  mathKivSettings.Reset();
  EXPECT_EQ(mathKivSettings.pathCellSize, 32);
}

}  // namespace
}  // namespace kiv
