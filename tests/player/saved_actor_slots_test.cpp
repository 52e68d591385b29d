// The run-time part of a saved actor, assembled byte by byte in its stored
// order, arrives where the Character System and movement read it: every slot
// of the block lands in the value the world uses under that slot's meaning.
#include <gtest/gtest.h>

#include <string>

#include "core/data_buffer.h"
#include "core/symbol_table.h"
#include "data/actor_record.h"
#include "data/data_hooks.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/map_object_settings.h"
#include "data/object_defaults.h"
#include "data/script_record.h"
#include "player/character_fields.h"
#include "player/character_system_fields.h"
#include "support/map_object_writer.h"

namespace kiv {
namespace {

constexpr std::int32_t kVersion = 100790;
// The save's extra Longs in the actor's stored position part: anchor x and y,
// anchor heading and the two last targets.
constexpr std::size_t kPositionPartSize = 20;

class SavedActorSlotsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SymbolTableReset();
    RegisterScriptIdentifiers();
    BuildObjectDefaults();
    scriptTable.Reset();
    gameData.Reset();
    dataHooks.Reset();
    mapObjectSettings.Reset();
  }
  void TearDown() override {
    gameData.Reset();
    scriptTable.Reset();
    mapObjectSettings.Reset();
  }
};

// The run-time block as a save stores it, one distinct value per slot.
ByteList RunTimeBlock() {
  ByteList b;
  std::int32_t o = 0;
  auto l = [&](std::int32_t v) { BufferWriteLong(b, v, o); };
  auto s = [&](float v) { BufferWriteSingle(b, v, o); };
  l(-1);                     // removeMark
  l(3);                      // vehicle ridden
  l(4);                      // vehicle driven
  BufferWriteByte(b, 1, o);  // active
  l(2);                      // state
  l(1);                      // tickFlags
  l(0), l(0);
  l(5);   // step target
  l(6);   // stepDirection
  l(24);  // stepLeft
  l(-1);  // the path, empty
  l(0);
  for (int i = 0; i < 4; ++i) l(0);  // 16 bytes
  l(-1);
  l(-1), l(-1);  // two empty lists of pairs
  l(-1);
  l(0);  // owner
  l(1);  // partySlot
  l(-1);
  l(450);                    // dyingTime
  BufferWriteByte(b, 1, o);  // intervalRepeat
  l(0), l(0);
  l(125);                            // intervalElapsed
  l(1000);                           // interval
  BufferWriteString(b, u"Wave", o);  // scriptPose
  l(800);                            // scriptPoseDuration
  l(330);                            // scriptPoseTime
  l(2500);                           // lifeTime
  l(7);                              // driver
  l(0);
  s(0.5f), s(-0.25f), s(0.125f);  // velocity x, y, z
  s(0.2f);                        // driveSpeed
  s(-0.1f);                       // strafeSpeed
  s(-1.0f), s(1.0f);              // minHeading, maxHeading
  BufferWriteInt16(b, 0, o);
  l(-1);  // the second sprite list, empty
  for (std::uint8_t edge : {1, 0, 1, 0}) BufferWriteByte(b, edge, o);
  BufferWriteByte(b, 1, o);  // moved
  l(-1);                     // the 16-byte entries, empty
  l(0), l(-1), l(0), l(0);
  b.resize(static_cast<std::size_t>(o));
  return b;
}

TEST_F(SavedActorSlotsTest, EverySlotOfTheRunTimeBlockReachesTheValueTheWorldReads) {
  Actor design;
  design.name = design.displayName = u"Walker";
  ByteList bytes;
  std::int32_t end = 0;
  test::WriteActorFixture(bytes, end, design, kVersion, false);
  // The design part with the save's position Longs, then the block.
  bytes.resize(static_cast<std::size_t>(end) + kPositionPartSize);
  ByteList state;
  std::int32_t stateEnd = 0;
  test::WriteActorFixture(state, stateEnd, design, kVersion, true);
  ASSERT_GE(static_cast<std::size_t>(stateEnd), bytes.size());
  std::copy(state.begin(), state.begin() + static_cast<std::ptrdiff_t>(bytes.size()), bytes.begin());
  const ByteList block = RunTimeBlock();
  bytes.insert(bytes.end(), block.begin(), block.end());

  Actor a;
  std::int32_t offset = 0;
  ReadCharacter(bytes, offset, a, kVersion, true);
  EXPECT_EQ(offset, static_cast<std::int32_t>(bytes.size()));

  EXPECT_EQ(RemoveMark(a), -1);
  EXPECT_EQ(RiddenVehicle(a), 3);
  EXPECT_EQ(DrivenVehicle(a), 4);
  EXPECT_TRUE(IsActive(a));
  EXPECT_EQ(a.state, 2);
  EXPECT_EQ(a.tickFlags, 1);
  EXPECT_EQ(a.stepTarget, 5);
  EXPECT_EQ(StepDirection(a), 6);
  EXPECT_EQ(StepLeft(a), 24);
  EXPECT_EQ(Owner(a), 0);
  EXPECT_EQ(PartySlot(a), 1);
  EXPECT_EQ(DyingTime(a), 450);
  EXPECT_EQ(IntervalRepeat(a), 1);
  EXPECT_EQ(IntervalElapsed(a), 125);
  EXPECT_EQ(Interval(a), 1000);
  EXPECT_EQ(ScriptPose(a), SymbolIntern(u"Wave"));
  EXPECT_EQ(ScriptPoseDuration(a), 800);
  EXPECT_EQ(ScriptPoseTime(a), 330);
  EXPECT_EQ(LifeTime(a), 2500);
  EXPECT_EQ(a.driver, 7);
  EXPECT_EQ(Velocity(a, 0), 0.5f);
  EXPECT_EQ(Velocity(a, 1), -0.25f);
  EXPECT_EQ(Velocity(a, 2), 0.125f);
  EXPECT_EQ(DriveSpeed(a), 0.2f);
  EXPECT_EQ(a.strafeSpeed, -0.1f);
  EXPECT_EQ(MinHeading(a), -1.0f);
  EXPECT_EQ(MaxHeading(a), 1.0f);
  EXPECT_EQ(InsideMap(a), 1);
  EXPECT_EQ(CrossingMapEdge(a), 0);
  EXPECT_EQ(InsideCamera(a), 1);
  EXPECT_EQ(CrossingCameraEdge(a), 0);
  EXPECT_EQ(a.moved, 1);
}

}  // namespace
}  // namespace kiv
