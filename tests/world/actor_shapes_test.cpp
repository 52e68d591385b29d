#include <gtest/gtest.h>

#include "mathkiv/collision.h"
#include "support/world_builder.h"
#include "world/actor_shapes.h"
#include "world/hit_lists.h"

namespace kiv {
namespace {

Box FirstBox(const CollisionShape& shape) {
  const CollisionBox& b = shape.rectangles.at(0);
  return Box{b.left, b.top, b.right, b.bottom, b.front, b.back};
}

struct DoorCase {
  std::uint8_t style;
  float amount;
  Box box;
};

TEST(DoorShape, BoxPerStyleAndAmount) {
  const DoorCase cases[] = {
      {0, 0.0f, {0, 58, 32, 64, 0, 64}},    {0, 1.0f, {0, 58, 32, 64, 0, 64}},
      {0, -0.5f, {0, 58, 32, 64, 0, 64}},   {8, 0.5f, {0, 58, 32, 64, 0, 64}},
      {1, 0.0f, {0, 58, 32, 64, 0, 64}},    {1, 0.5f, {0, 58, 23, 87, 0, 64}},
      {3, -0.5f, {0, 35, 23, 64, 0, 64}},   {2, 0.5f, {55, 58, 32, 87, 0, 64}},
      {5, -0.5f, {55, 35, 32, 64, 0, 64}},  {7, 0.5f, {0, 58, 16, 64, 0, 64}},
      {11, -0.5f, {0, 58, 48, 64, 0, 64}},  {9, 0.5f, {16, 58, 32, 64, 0, 64}},
      {17, -0.5f, {-16, 58, 32, 64, 0, 64}}, {21, 0.5f, {0, 58, 32, 64, 0, 64}},
  };
  for (const DoorCase& c : cases) {
    CollisionShape shape;
    DoorShapeForStyle(c.style, c.amount, shape);
    ASSERT_EQ(shape.rectangles.size(), 1u) << int{c.style} << " " << c.amount;
    EXPECT_EQ(FirstBox(shape), c.box) << int{c.style} << " " << c.amount;
  }
}

TEST(DoorShape, NearlyOpenEmptiesEveryStyleButZero) {
  for (int style = 1; style <= 20; ++style)
    for (float a : {1.0f, -1.0f, 0.99f, -0.99f}) {
      CollisionShape shape;
      DoorShapeForStyle(static_cast<std::uint8_t>(style), a, shape);
      EXPECT_TRUE(shape.rectangles.empty()) << style << " " << a;
    }
  CollisionShape shape;
  DoorShapeForStyle(1, 0.98f, shape);
  EXPECT_EQ(shape.rectangles.size(), 1u);
  DoorShapeForStyle(0, 0.995f, shape);
  EXPECT_EQ(shape.rectangles.size(), 1u);
}

TEST(Footprint, SizesFromTheShapeBox) {
  test::WorldBuilder w(3, 3, 0);
  const std::int32_t a = w.AddCharacter(40, 40, 0, Box{-10, -6, 10, 6, 0, 50});
  const Actor& actor = w.M().actors[static_cast<std::size_t>(a)];
  EXPECT_EQ(ActorShapeHeight(actor), 50);
  EXPECT_EQ(FootprintHalfSize(actor), 10);
  Box box;
  ActorCollisionRect(actor, box);
  EXPECT_EQ(box, (Box{30, 34, 50, 46, 0, 50}));
}

class ClimbTest : public ::testing::Test {
 protected:
  test::WorldBuilder w{7, 7, 3};
  std::int32_t mover = w.AddCharacter(48, 112, 0, Box{-8, -8, 8, 8, 0, 64});
};

TEST_F(ClimbTest, LowSceneryAheadCanBeClimbed) {
  // A box 40 px high one footprint east of the mover.
  w.M().boundaries.push_back(test::MakeBoxShape(Box{64, 100, 80, 124, 0, 40}));
  ResetActorCollision(w.map(), mover);
  const Actor& a = w.M().actors[static_cast<std::size_t>(mover)];
  EXPECT_EQ(FirstBox(a.frontShape), (Box{56, 104, 72, 120, 0, 64}));
  EXPECT_EQ(a.canClimb, -1);
  EXPECT_EQ(FirstBox(a.climbShape), (Box{88, 104, 104, 120, 0, 64}));
}

TEST_F(ClimbTest, TallSceneryCannotBeClimbed) {
  w.M().boundaries.push_back(test::MakeBoxShape(Box{64, 100, 80, 124, 0, 60}));
  ResetActorCollision(w.map(), mover);
  EXPECT_EQ(w.M().actors[static_cast<std::size_t>(mover)].canClimb, 0);
}

TEST_F(ClimbTest, CharacterAheadIsNeverClimbed) {
  w.AddCharacter(66, 112, 0, Box{-4, -4, 4, 4, 0, 10});
  ResetActorCollision(w.map(), mover);
  EXPECT_EQ(w.M().actors[static_cast<std::size_t>(mover)].canClimb, 0);
  EXPECT_EQ(hitLists.characterHits, (std::vector<std::int32_t>{1}));
}

TEST_F(ClimbTest, FreeFrontIsNoClimb) {
  ResetActorCollision(w.map(), mover);
  EXPECT_EQ(w.M().actors[static_cast<std::size_t>(mover)].canClimb, 0);
}

}  // namespace
}  // namespace kiv
