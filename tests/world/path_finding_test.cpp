#include "world/path_finding.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "state/project_settings_block.h"
#include "support/world_builder.h"

namespace kiv {
namespace {

// A 512 x 512 map with 16-pixel path cells and one layer of space (z 0..64).
class PathFindingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mover_ = w.AddCharacter(48, 48, 0);
    A(mover_).name = u"Bob";
  }
  Actor& A(std::int32_t i) { return w.M().actors[static_cast<std::size_t>(i)]; }
  std::uint8_t WorkingAt(float x, float y, std::int32_t layer) {
    const ByteGrid3& g = w.M().workingCollision;
    return g.At(static_cast<std::int32_t>(x) / 16, static_cast<std::int32_t>(y) / 16, layer);
  }

  test::WorldBuilder w{15, 15, 1};
  std::int32_t mover_ = -1;
};

TEST_F(PathFindingTest, WholePathBecomesTheMoveQueueLastStepFirst) {
  struct Case {
    std::int32_t facing;
    std::vector<std::int32_t> queue;
  };
  const Case cases[] = {{6, {258, 67, 67, 67}}, {8, {67, 67, 67}}, {0, {6, 67, 67, 67}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.facing);
    A(mover_).x = 48;
    EXPECT_EQ(FindCharacterPath(w.map(), mover_, false, 96, 48, 0, c.facing, false, 0, true), 8);
    EXPECT_EQ(A(mover_).path, c.queue);
    EXPECT_EQ(lastPath, (std::vector<std::uint8_t>{4, 4, 4}));
  }
  // The step-only form gives the first direction and leaves the queue alone.
  A(mover_).path.clear();
  EXPECT_EQ(FindCharacterPath(w.map(), mover_, true, 48, 96, 0, 8, false, 0, true), 6);
  EXPECT_TRUE(A(mover_).path.empty());
}

TEST_F(PathFindingTest, TargetInTheMoversOwnCellEmptiesTheQueueAndKeepsLastPath) {
  struct Case {
    float x, y;
    std::int32_t tx, ty;
  };
  const Case cases[] = {{48, 48, 50, 60}, {48, 48, 63, 48}, {48, 48, 48, 63}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.tx << ", " << c.ty);
    A(mover_).x = c.x;
    A(mover_).y = c.y;
    A(mover_).path = {5, 5};
    lastPath = {1, 2};
    EXPECT_EQ(FindCharacterPath(w.map(), mover_, false, c.tx, c.ty, 0, 6, false, 0, true), 0);
    EXPECT_TRUE(A(mover_).path.empty());
    EXPECT_EQ(lastPath, (std::vector<std::uint8_t>{1, 2}));
  }
}

TEST_F(PathFindingTest, UnreachableTargetRaisesWithTheMoversPlace) {
  A(mover_).path = {5};
  try {
    FindCharacterPath(w.map(), mover_, false, 2000, 3000, 0, 8, false, 0, true);
    FAIL() << "no error";
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), -1);
    EXPECT_STREQ(e.what(), "\"Bob\" cannot walk from (48, 48) to (2000, 3000).");
  }
  EXPECT_TRUE(lastPath.empty());
  EXPECT_EQ(FindCharacterPath(w.map(), mover_, false, 2000, 3000, 0, 8, false, 0, false), 0);
  EXPECT_EQ(A(mover_).path, (std::vector<std::int32_t>{5}));
}

TEST_F(PathFindingTest, AFarFollowTargetHasItsOwnCellsCleared) {
  // Reach: 2 x 16 + 8 + 8 = 48 pixels.
  struct Case {
    float tx;
    bool cleared;
  };
  const Case cases[] = {{200, true}, {96, true}, {95, false}, {80, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tx);
    w.M().actors.resize(1);
    w.M().zones.clear();
    A(mover_).x = 48;
    const std::int32_t target = w.AddCharacter(c.tx, 48, 0);
    // The target stands in a blocking zone, which painting marks.
    w.AddZone(Box{static_cast<std::int32_t>(c.tx) - 4, 44, static_cast<std::int32_t>(c.tx) + 4, 52, 0, 64}, true);
    FollowStep(w.map(), mover_, target, false);
    EXPECT_EQ(WorkingAt(c.tx, 48, 1), c.cleared ? 0 : 1);
  }
}

TEST_F(PathFindingTest, FlatMovementHandsHeightZeroToTheSearch) {
  // A character standing 200 high lies above the grid unless heights are flat.
  w.AddCharacter(96, 48, 200);
  for (const bool flat : {false, true}) {
    SCOPED_TRACE(flat);
    storedProjectSettings.flags[10] = flat ? -1 : 0;
    A(mover_).x = 48;
    A(mover_).z = flat ? 500.0f : 0.0f;  // flat: the mover's own height does not count either
    EXPECT_EQ(FindCharacterPath(w.map(), mover_, false, 144, 48, 0, 8, false, 0, true), 8);
    const bool straight = lastPath == std::vector<std::uint8_t>{4, 4, 4, 4, 4, 4};
    EXPECT_EQ(straight, !flat);
    EXPECT_EQ(WorkingAt(96, 48, 1), flat ? 1 : 0);
  }
}

}  // namespace
}  // namespace kiv
