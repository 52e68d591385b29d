// The broad phase must not change an answer: on a crowded map every move,
// step and segment test is run with it and with every object tested, and the
// answers, hit lists (members and order) and segment results must agree while
// characters move, turn, change shape, leave and arrive.
#include <gtest/gtest.h>

#include <random>

#include "data/broad_phase.h"
#include "data/game_data.h"
#include "script/script_dispatch.h"
#include "script/script_hooks.h"
#include "support/world_builder.h"
#include "world/hit_lists.h"
#include "world/move_tests.h"
#include "world/object_resets.h"
#include "world/reference_fixup.h"
#include "world/tile_collision.h"

namespace kiv {
namespace {

constexpr std::int32_t kTiles = 63;  // 2,048 pixels a side
constexpr float kPixels = 2048.0f;

struct Answer {
  bool blocked = false;
  HitLists hits;
  Box swept;
  SegmentTrace trace;

  bool operator==(const Answer& o) const {
    return blocked == o.blocked && hits.characterHits == o.hits.characterHits && hits.zoneHits == o.hits.zoneHits &&
           hits.doorHits == o.hits.doorHits && swept == o.swept && trace.boundaryResult == o.trace.boundaryResult &&
           trace.mapShapeHit == o.trace.mapShapeHit && trace.characterHit == o.trace.characterHit &&
           trace.doorHit == o.trace.doorHit && trace.pickUpHit == o.trace.pickUpHit;
  }
};

class BroadPhaseTest : public ::testing::Test {
 protected:
  void TearDown() override {
    useBroadPhase = true;
    SetBroadPhaseMovesNoted(w.M(), false);
  }

  float Coordinate() { return std::uniform_real_distribution<float>(-40.0f, kPixels + 40.0f)(random_); }
  std::int32_t Below(std::int32_t n) { return std::uniform_int_distribution<std::int32_t>(0, n - 1)(random_); }
  Box RandomBox() {
    const std::int32_t half = 2 + Below(14);
    return Box{-half, -half / 2 - Below(4), half, half, Below(3) == 0 ? 20 : 0, 48};
  }

  void Populate() {
    for (int k = 0; k < 300; ++k) {
      const std::int32_t c =
          w.AddCharacter(Coordinate(), Coordinate(), 0.0f, RandomBox(), Below(4) - 1, Below(5) != 0);
      Actor& a = w.M().actors[static_cast<std::size_t>(c)];
      a.heading = static_cast<float>(Below(628)) / 100.0f;
      if (Below(10) == 0) a.scaleX = 1.5f;
      if (Below(20) == 0) a.noRect = 1;
    }
    for (int k = 0; k < 60; ++k) {
      const float x = Coordinate(), y = Coordinate();
      const std::int32_t z = w.AddZone(Box{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y),
                                           static_cast<std::int32_t>(x) + 8 + Below(200),
                                           static_cast<std::int32_t>(y) + 8 + Below(60), 0, 64},
                                       Below(2) == 0);
      if (Below(8) == 0) w.M().zones[static_cast<std::size_t>(z)].Disabled() = 1;
    }
    for (int k = 0; k < 60; ++k) w.AddDoor(static_cast<float>(32 * Below(kTiles)), static_cast<float>(32 * Below(kTiles)), 0);
    for (int k = 0; k < 60; ++k) w.AddPickUp(Coordinate(), Coordinate(), Below(6) == 0 ? -1 : 0);
    for (int k = 0; k < 8; ++k) {
      const std::int32_t x = Below(2000), y = Below(2000);
      w.M().boundaries.push_back(test::MakeBoxShape(Box{x, y, x + 40, y + 12, 0, 30}));
    }
    const std::int32_t wall = w.AddTileSet(true);
    for (int k = 0; k < 150; ++k) w.SetTile(0, Below(kTiles), Below(kTiles), 0, wall);
    UpdateTileCollision(w.map(), -1, -1, -1);
    // Every move below is noted, as in the Character System's tick.
    SetBroadPhaseMovesNoted(w.M(), true);
  }

  template <typename Test>
  void Compare(Test test, int step) {
    useBroadPhase = true;
    Answer broad;
    hitLists.Reset();
    test(broad);
    broad.hits = hitLists;
    useBroadPhase = false;
    Answer every;
    hitLists.Reset();
    test(every);
    every.hits = hitLists;
    useBroadPhase = true;
    ASSERT_TRUE(broad == every) << "step " << step;
    if (broad.blocked) ++blocked_;
    if (!broad.hits.characterHits.empty()) ++withCharacterHits_;
  }

  void Move(std::int32_t c) {
    Actor& a = w.M().actors[static_cast<std::size_t>(c)];
    a.x += static_cast<float>(Below(81) - 40);
    a.y += static_cast<float>(Below(81) - 40);
    if (Below(4) == 0) a.heading = static_cast<float>(Below(628)) / 100.0f;
    if (Below(50) == 0) a.collisionShape = test::MakeBoxShape(RandomBox());
    NoteActorMoved(w.M(), c);
  }

  test::WorldBuilder w{kTiles, kTiles, 1};
  std::mt19937 random_{41};
  int blocked_ = 0;
  int withCharacterHits_ = 0;
};

TEST_F(BroadPhaseTest, EveryAnswerMatchesTheTestOfEveryObject) {
  Populate();
  for (int step = 0; step < 2000; ++step) {
    const auto count = static_cast<std::int32_t>(w.M().actors.size());
    const std::int32_t c = Below(count);
    const Actor mover = w.M().actors[static_cast<std::size_t>(c)];
    const ShapePlacement to{mover.x + static_cast<float>(Below(41) - 20), mover.y + static_cast<float>(Below(41) - 20),
                            mover.z, 0.0f, 0.0f, static_cast<float>(Below(628)) / 100.0f};
    const std::int32_t ignored = Below(3) == 0 ? Below(count) : -1;
    const bool collect = Below(4) != 0;
    ASSERT_NO_FATAL_FAILURE(Compare(
        [&](Answer& out) {
          out.blocked = TestActorMove(w.map(), mover.collisionShape, to, c, ignored, Below(2) - 1, collect, false);
        },
        step));
    const std::int32_t direction = Below(8);
    ASSERT_NO_FATAL_FAILURE(Compare(
        [&](Answer& out) {
          out.blocked = TestCharacterStep(w.map(), c, direction, 6.0f, out.swept, false, 0.0f, true, true);
        },
        step));
    LineSegment segment{static_cast<std::int32_t>(mover.x), static_cast<std::int32_t>(mover.y),
                        static_cast<std::int32_t>(Coordinate()), static_cast<std::int32_t>(Coordinate())};
    const float height = static_cast<float>(Below(60));
    const std::int32_t skip = Below(count);
    ASSERT_NO_FATAL_FAILURE(Compare(
        [&](Answer& out) {
          out.trace.skipCharacters = {c, skip, -1};
          out.trace.height = height;
          out.blocked = TraceSegment(w.map(), segment, out.trace);
        },
        step));
    Move(c);
    if (step % 200 == 199) {
      // A character leaves (the list closes up) and another arrives.
      const std::int32_t gone = Below(count);
      ShiftCharacterRefs(w.map(), gone, -1, true);
      w.M().actors.erase(w.M().actors.begin() + gone);
      w.AddCharacter(Coordinate(), Coordinate(), 0.0f, RandomBox(), 1);
    }
    if (step % 250 == 0) {
      // A door swings: its shape changes and the map is re-checked.
      Door& door = w.M().doors[static_cast<std::size_t>(Below(static_cast<std::int32_t>(w.M().doors.size())))];
      door.collisionShape = test::MakeBoxShape(Box{0, 40, 6, 64, 0, 64});
      MarkBroadPhaseDirty(w.M());
    }
  }
  // The replay meets every kind of answer, not only misses.
  EXPECT_GT(blocked_, 500) << blocked_;
  EXPECT_GT(withCharacterHits_, 100) << withCharacterHits_;
}

TEST_F(BroadPhaseTest, ACandidateThatMovedUnnoticedIsPlacedAgain) {
  const std::int32_t a = w.AddCharacter(100, 100, 0);
  const std::int32_t b = w.AddCharacter(300, 100, 0);
  SetBroadPhaseMovesNoted(w.M(), true);
  const Actor mover = w.M().actors[static_cast<std::size_t>(a)];
  EXPECT_TRUE(TestActorMove(w.map(), mover.collisionShape, ShapePlacement{295, 100}, a, -1, -1, false, false));
  // b goes away within its own column without being noted.
  w.M().actors[static_cast<std::size_t>(b)].x = 340;
  EXPECT_FALSE(TestActorMove(w.map(), mover.collisionShape, ShapePlacement{295, 100}, a, -1, -1, false, false));
  // Noted moves reach any column.
  w.M().actors[static_cast<std::size_t>(b)].x = 1500;
  NoteActorMoved(w.M(), b);
  EXPECT_TRUE(TestActorMove(w.map(), mover.collisionShape, ShapePlacement{1495, 100}, a, -1, -1, false, false));
}

// During the Character System's pass the boxes are trusted between notes. Two
// writers need none: the character whose turn runs, and script commands,
// after which every object is re-checked.
TEST_F(BroadPhaseTest, TheTurnsCharacterAndScriptCommandsNeedNoNote) {
  const std::int32_t a = w.AddCharacter(100, 100, 0);
  const std::int32_t b = w.AddCharacter(300, 100, 0);
  const std::int32_t c = w.AddCharacter(500, 100, 0);
  const CollisionShape shape = w.M().actors[static_cast<std::size_t>(a)].collisionShape;
  const auto blockedAt = [&](float x) {
    return TestActorMove(w.map(), shape, ShapePlacement{x, 100}, a, -1, -1, false, false);
  };
  SetBroadPhaseMovesNoted(w.M(), true);
  SetBroadPhaseTurnActor(w.M(), b);
  EXPECT_TRUE(blockedAt(295));
  // The turn's character leaves its columns without a note.
  w.M().actors[static_cast<std::size_t>(b)].x = 1500;
  EXPECT_TRUE(blockedAt(1495));
  EXPECT_FALSE(blockedAt(295));
  // A script command carries another character across the map.
  EXPECT_TRUE(blockedAt(495));
  const ScriptExecutor kept = scriptHooks.actorExecutor;
  scriptHooks.actorExecutor = [&](std::int32_t, ScriptValue&, std::int32_t, ScriptValue&, std::int16_t,
                                  const Variant&, bool) { w.M().actors[static_cast<std::size_t>(c)].x = 1800; };
  ScriptValue object{kObjectCharacter, Variant::Long(c), w.map()};
  ScriptValue result;
  ScriptCallCommand(1, object, -1, result, kModeRead, Variant(), true);
  scriptHooks.actorExecutor = kept;
  EXPECT_TRUE(blockedAt(1795));
  EXPECT_FALSE(blockedAt(495));
  SetBroadPhaseTurnActor(w.M(), -1);
}

TEST_F(BroadPhaseTest, ObjectsOutsideTheMapAndUnplaceableShapesAreHandled) {
  const std::int32_t a = w.AddCharacter(100, 100, 0);
  const std::int32_t outside = w.AddCharacter(-500, -500, 0);
  const std::int32_t lost = w.AddCharacter(std::numeric_limits<float>::quiet_NaN(), 100, 0);
  const CollisionShape shape = w.M().actors[static_cast<std::size_t>(a)].collisionShape;
  SetBroadPhaseMovesNoted(w.M(), true);
  hitLists.Reset();
  TestActorMove(w.map(), shape, ShapePlacement{-495, -500}, a, -1, -1, true, false);
  EXPECT_EQ(hitLists.characterHits, (std::vector<std::int32_t>{outside}));
  hitLists.Reset();
  TestActorMove(w.map(), shape, ShapePlacement{100, 100}, a, -1, -1, true, false);
  EXPECT_TRUE(hitLists.characterHits.empty()) << "a NaN position overlaps nothing";
  (void)lost;
}

}  // namespace
}  // namespace kiv
