#include <gtest/gtest.h>

#include "data/game_data.h"
#include "state/project_settings_block.h"
#include "support/world_builder.h"
#include "world/hit_lists.h"
#include "world/move_tests.h"
#include "world/tile_collision.h"

namespace kiv {
namespace {

class MoveTest : public ::testing::Test {
 protected:
  void SetUp() override { hitLists.Reset(); }

  // The mover's own shape at (x, y).
  bool MoveTo(std::int32_t self, float x, float y, bool collect = true) {
    const Actor a = w.M().actors[static_cast<std::size_t>(self)];
    return TestActorMove(w.map(), a.collisionShape, ShapePlacement{x, y, a.z}, self, -1, -1, collect, false);
  }

  test::WorldBuilder w{15, 15, 1};
};

TEST_F(MoveTest, SameTeamSolidsPassButAreListed) {
  const std::int32_t mover = w.AddCharacter(100, 100, 0, Box{-8, -8, 8, 8, 0, 48}, 1);
  const std::int32_t friendly = w.AddCharacter(200, 100, 0, Box{-8, -8, 8, 8, 0, 48}, 1);
  const std::int32_t other = w.AddCharacter(300, 100, 0, Box{-8, -8, 8, 8, 0, 48}, 2);
  EXPECT_FALSE(MoveTo(mover, 195, 100));
  EXPECT_EQ(hitLists.characterHits, (std::vector<std::int32_t>{friendly}));
  EXPECT_TRUE(MoveTo(mover, 295, 100));
  EXPECT_EQ(hitLists.characterHits, (std::vector<std::int32_t>{friendly, other}));
}

TEST_F(MoveTest, NonSolidMoverIsStoppedOnlyByScenery) {
  const std::int32_t ghost = w.AddCharacter(100, 100, 0, Box{-8, -8, 8, 8, 0, 48}, -1, false);
  w.AddCharacter(200, 100, 0);
  w.AddDoor(288, 40, 0);  // leaf y 98..104
  EXPECT_FALSE(MoveTo(ghost, 195, 100));
  EXPECT_FALSE(MoveTo(ghost, 300, 100));
  EXPECT_EQ(hitLists.doorHits, (std::vector<std::int32_t>{0}));
  // Scenery: boundaries, tiles, map shapes, blocking zones and pick-ups.
  EXPECT_TRUE(MoveTo(ghost, 4, 100));
  w.M().boundaries.push_back(test::MakeBoxShape(Box{400, 90, 410, 110, 0, 10}));
  EXPECT_TRUE(MoveTo(ghost, 400, 100));
  w.AddZone(Box{90, 300, 110, 310, 0, 64}, true);
  EXPECT_TRUE(MoveTo(ghost, 100, 300));
  w.AddPickUp(100, 400);
  EXPECT_TRUE(MoveTo(ghost, 100, 400));
  const std::int32_t wall = w.AddTileSet(true);
  w.SetTile(0, 10, 10, 0, wall);
  UpdateTileCollision(w.map(), -1, -1, -1);
  EXPECT_TRUE(MoveTo(ghost, 336, 336));
}

TEST_F(MoveTest, GroundOnlyEntriesStopOnlyMoveModeOne) {
  const std::int32_t set = w.AddTileSet(false, 1.0f);
  w.SetTile(0, 5, 5, 0, set);
  w.M().flags[2] = 1;
  UpdateTileCollision(w.map(), -1, -1, -1);
  const std::int32_t mover = w.AddCharacter(176, 120, 0);
  EXPECT_FALSE(MoveTo(mover, 176, 176));
  w.M().actors[static_cast<std::size_t>(mover)].moveMode = 1;
  EXPECT_TRUE(MoveTo(mover, 176, 176));
  w.M().actors[static_cast<std::size_t>(mover)].moveMode = 5;  // low two bits 1
  EXPECT_TRUE(MoveTo(mover, 176, 176));
}

TEST_F(MoveTest, ZoneAccessAndQuietBlockingZones) {
  gameData.actorTemplates.resize(2);
  gameData.actorTemplates[1].id.bytes[0] = 7;
  const std::int32_t mover = w.AddCharacter(100, 100, 0);
  const std::int32_t blocking = w.AddZone(Box{190, 90, 210, 110, 0, 64}, true);
  const std::int32_t open = w.AddZone(Box{190, 90, 210, 110, 0, 64}, false);
  EXPECT_TRUE(MoveTo(mover, 200, 100));
  EXPECT_EQ(hitLists.zoneHits, (std::vector<std::int32_t>{blocking, open}));
  Zone& zone = w.M().zones[static_cast<std::size_t>(blocking)];
  zone.templateFlags.push_back(TemplateFlag{gameData.actorTemplates[1].id, 1});
  w.M().actors[static_cast<std::size_t>(mover)].templateIndex = 1;
  hitLists.Reset();
  EXPECT_FALSE(MoveTo(mover, 200, 100));
  storedProjectSettings.flags[14] = -1;
  hitLists.Reset();
  EXPECT_FALSE(MoveTo(mover, 200, 100));
  EXPECT_EQ(hitLists.zoneHits, (std::vector<std::int32_t>{open}));
  zone.Disabled() = 1;
  w.M().actors[static_cast<std::size_t>(mover)].templateIndex = -1;
  EXPECT_FALSE(MoveTo(mover, 200, 100));
}

TEST_F(MoveTest, CharactersAndDoorsAreListedToTheEndAfterABlock) {
  const std::int32_t mover = w.AddCharacter(100, 100, 0);
  w.AddCharacter(200, 100, 0);
  w.AddCharacter(204, 100, 0);
  w.AddDoor(190, 40, 0);
  w.AddDoor(190, 40, 0, -1);  // without a door set: never hit
  EXPECT_TRUE(MoveTo(mover, 200, 100));
  EXPECT_EQ(hitLists.characterHits, (std::vector<std::int32_t>{1, 2}));
  EXPECT_EQ(hitLists.doorHits, (std::vector<std::int32_t>{0}));
  // Ignored ones are skipped; the tests only append.
  const Actor a = w.M().actors[0];
  EXPECT_TRUE(TestActorMove(w.map(), a.collisionShape, ShapePlacement{200, 100}, mover, 1, 0, true, false));
  EXPECT_EQ(hitLists.characterHits, (std::vector<std::int32_t>{1, 2, 2}));
  EXPECT_EQ(hitLists.doorHits, (std::vector<std::int32_t>{0}));
}

TEST_F(MoveTest, TraceSegmentZeroLengthChangesNothing) {
  w.AddCharacter(100, 100, 0);
  SegmentTrace trace;
  trace.characterHit = 5;
  trace.doorHit = 7;
  trace.boundaryResult = 3;
  EXPECT_FALSE(TraceSegment(w.map(), LineSegment{100, 100, 100, 100}, trace));
  EXPECT_EQ(trace.characterHit, 5);
  EXPECT_EQ(trace.doorHit, 7);
  EXPECT_EQ(trace.boundaryResult, 3);
}

TEST_F(MoveTest, TraceSegmentHitsAndSwitches) {
  w.AddCharacter(100, 100, 0, Box{-8, -8, 8, 8, 0, 48}, 3);
  w.AddCharacter(200, 100, 0, Box{-8, -8, 8, 8, 0, 48}, 4);
  w.AddDoor(288, 40, 0);
  SegmentTrace trace;
  trace.height = 10;
  EXPECT_TRUE(TraceSegment(w.map(), LineSegment{20, 100, 400, 100}, trace));
  EXPECT_EQ(trace.characterHit, 1);  // the last hit, not the nearest
  EXPECT_EQ(trace.doorHit, 0);
  EXPECT_EQ(trace.boundaryResult, -1);  // not tested after a hit
  SegmentTrace skip;
  skip.height = 10;
  skip.skipTeams = {4, -1};
  skip.skipCharacters = {0, -1, -1};
  skip.doorHit = -2;
  EXPECT_FALSE(TraceSegment(w.map(), LineSegment{20, 100, 400, 100}, skip));
  EXPECT_EQ(skip.characterHit, -1);
  EXPECT_EQ(skip.doorHit, -2);
  // A segment leaving the map hits the boundaries when nothing else was hit.
  SegmentTrace out;
  out.characterHit = -2;
  out.doorHit = -2;
  out.height = 10;
  EXPECT_TRUE(TraceSegment(w.map(), LineSegment{20, 20, -20, 20}, out));
  EXPECT_EQ(out.boundaryResult, 0);
}

TEST_F(MoveTest, TraceSegmentWalksTheSectorsItCrosses) {
  const std::int32_t wall = w.AddTileSet(true);
  w.SetTile(0, 12, 3, 0, wall);  // x 384..415, sector 3
  UpdateTileCollision(w.map(), -1, -1, -1);
  SegmentTrace trace;
  trace.characterHit = -2;
  trace.height = 10;
  EXPECT_TRUE(TraceSegment(w.map(), LineSegment{10, 100, 500, 100}, trace));
  trace.tileSwitch = -2;
  EXPECT_FALSE(TraceSegment(w.map(), LineSegment{10, 100, 500, 100}, trace));
}

struct RayCase {
  Vector3 origin;
  Vector3 direction;
  bool hits;
};

TEST(RayHitsBox, SlabTest) {
  const Box box{0, 0, 10, 10, 0, 10};
  const RayCase cases[] = {
      {{-5, 5, 5}, {1, 0, 0}, true},     // parallel to y and z, inside both slabs
      {{-5, 15, 5}, {1, 0, 0}, false},   // parallel, outside the y slab
      {{-5, -5, 5}, {1, 1, 0}, true},    // diagonal through the box
      {{-5, 20, 5}, {1, 1, 0}, false},   // diagonal past it
      {{5, 5, 50}, {0, 0, -1}, true},    // straight down
      {{5, 5, 50}, {0, 0, 1}, true},     // straight up: boxes behind the origin count too
      {{15, 5, 50}, {0, 0, -1}, false},  // beside it
  };
  for (const RayCase& c : cases)
    EXPECT_EQ(RayHitsBox(c.origin, c.direction, box), c.hits)
        << c.origin.x << "," << c.origin.y << "," << c.origin.z << " dir " << c.direction.x << ","
        << c.direction.y << "," << c.direction.z;
}

}  // namespace
}  // namespace kiv
