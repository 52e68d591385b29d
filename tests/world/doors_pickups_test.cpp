#include "world/doors_pickups.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <vector>

#include "core/angles.h"
#include "script/call_frame.h"
#include "script/script_hooks.h"
#include "state/game_state.h"
#include "support/world_builder.h"
#include "world/movement_fields.h"

namespace kiv {
namespace {

class DoorsPickUpsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scriptHooks.Reset();
    scriptHooks.RunTrigger = [this](const TriggerRun& run) {
      runs_.push_back(run);
      if (run.ownerKind == kOwnerSystem) parametersAtRun_ = scriptTable.scripts.at(0).frameTemplate.parameters;
      return Variant();
    };
  }
  void TearDown() override {
    scriptHooks.Reset();
    systemScripts[kPickUpSystemTrigger] = Script();
    scriptTable.Reset();
  }
  Door& D(std::int32_t i) { return w.M().doors[static_cast<std::size_t>(i)]; }
  PickUp& P(std::int32_t i) { return w.M().pickUps[static_cast<std::size_t>(i)]; }

  test::WorldBuilder w{15, 15, 1};
  std::vector<TriggerRun> runs_;
  std::vector<ScriptVariable> parametersAtRun_;
};

TEST_F(DoorsPickUpsTest, SwingByStyleAndAngle) {
  struct Case {
    std::uint8_t style;
    float angle;
    float swing;
  };
  const float justBelow = std::nextafter(kPiOver4, 0.0f);
  const float justAbove = std::nextafter(kThreePiOver4, 4.0f);
  const Case cases[] = {
      {1, kPiOver2, 1.0f},   {1, -kPiOver2, -1.0f}, {1, kPiOver4, 1.0f},  {1, kThreePiOver4, 1.0f},
      {1, justBelow, -1.0f}, {1, justAbove, -1.0f}, {2, kPiOver2 + kTwoPi, 1.0f}, {2, 0.0f, -1.0f},
      {3, kPiOver2, -1.0f},  {5, kPiOver2, -1.0f},  {4, -kPiOver2, 1.0f}, {6, 0.0f, 1.0f},
      {20, kPi, 1.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << int(c.style) << " angle " << c.angle);
    runs_.clear();
    const std::int32_t door = w.AddDoor(64, 64, c.style);
    OpenDoor(w.map(), door, c.angle, 4);
    EXPECT_EQ(DoorOpener(D(door)), 4);
    EXPECT_EQ(DoorSwing(D(door)), c.swing);
    ASSERT_EQ(runs_.size(), 1u);
    EXPECT_EQ(runs_[0].ownerKind, kOwnerDoor);
    EXPECT_EQ(runs_[0].ownerIndex, door);
    EXPECT_EQ(runs_[0].subIndex, 1);
    EXPECT_EQ(runs_[0].map, w.map());
    EXPECT_EQ(runs_[0].relateActor, 4);
  }
}

TEST_F(DoorsPickUpsTest, StyleZeroRecordsTheOpenerOnly) {
  const std::int32_t door = w.AddDoor(64, 64, 0);
  DoorSwing(D(door)) = 0.25f;
  OpenDoor(w.map(), door, kPiOver2, 3);
  EXPECT_EQ(DoorOpener(D(door)), 3);
  EXPECT_EQ(DoorSwing(D(door)), 0.25f);
  EXPECT_TRUE(runs_.empty());
}

TEST_F(DoorsPickUpsTest, AddPickUpFillsItsEntriesAndFurtherFields) {
  Item ammo;
  gameData.items.push_back(ammo);
  Item gun;
  gun.linkedItem.index = 0;  // its ammunition
  gameData.items.push_back(gun);
  struct Case {
    std::int32_t item;
    std::int32_t entry1Item;
    std::int32_t entry1Quantity;
  };
  const Case cases[] = {{-1, -1, 0}, {0, -1, 0}, {1, 0, 12}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    const std::int32_t p = AddPickUp(w.map(), 10, 20, 30, c.item, 3, 12, 7, 50000, 9, -1);
    const PickUp& pick = P(p);
    EXPECT_EQ(pick.x, 10);
    EXPECT_EQ(pick.y, 20);
    EXPECT_EQ(pick.z, 30);
    EXPECT_EQ(pick.items[0].item, c.item);
    EXPECT_EQ(pick.items[0].quantity, 3);
    EXPECT_EQ(pick.items[1].item, c.entry1Item);
    EXPECT_EQ(pick.items[1].quantity, c.entry1Quantity);
    EXPECT_EQ(PickUpExtraValue1(P(p)), 7);
    EXPECT_EQ(PickUpExtraValue2(P(p)), 9);
    EXPECT_EQ(pick.money, 50000);
    EXPECT_EQ(pick.spriteSet, -1);
    EXPECT_EQ(pick.flag1, 1);
    EXPECT_EQ(pick.flag2, 1);
    EXPECT_EQ(pick.runValue, -1);
    EXPECT_EQ(pick.color, 0x22000000u);
    EXPECT_EQ(std::bit_cast<float>(pick.color), 0x1p-59f);
    EXPECT_FALSE(pick.collisionShape.rectangles.empty());
  }
}

TEST_F(DoorsPickUpsTest, TakePickUpCountsDownAndRunsThePickUpScript) {
  Item sword;
  sword.name = u"Sword";
  gameData.items.push_back(sword);
  Item arrows;
  arrows.name = u"Arrows";
  gameData.items.push_back(arrows);
  // A game without the pick-up script: the countdown only.
  const std::int32_t never = AddPickUp(w.map(), 0, 0, 0, 0, 2, 0, 0, 0, 0, -1);
  TakePickUp(w.map(), 5, never);
  EXPECT_EQ(P(never).respawnCountdown, kNeverRespawn);
  EXPECT_EQ(kNeverRespawn, 0x7FFFFDFF);
  EXPECT_TRUE(runs_.empty());

  // The registered pick-up script with its eight parameters.
  Script script;
  script.hasStatements = true;
  for (int k = 0; k < 8; ++k) script.frameTemplate.parameters.push_back(ScriptVariable{100 + k, Variant()});
  scriptTable.scripts.push_back(script);
  systemScripts[kPickUpSystemTrigger].hasStatements = true;
  systemScripts[kPickUpSystemTrigger].index = 0;
  const std::int32_t p = AddPickUp(w.map(), 0, 0, 0, 0, 2, 0, 11, 123456, 22, -1);
  P(p).items[1].item = 1;
  P(p).items[1].quantity = 30;
  P(p).respawnTime = 5000;
  TakePickUp(w.map(), 5, p);
  EXPECT_EQ(P(p).respawnCountdown, 5000);
  ASSERT_EQ(runs_.size(), 1u);
  EXPECT_EQ(runs_[0].ownerKind, kOwnerSystem);
  EXPECT_EQ(runs_[0].ownerIndex, kPickUpSystemTrigger);
  EXPECT_EQ(runs_[0].map, w.map());
  EXPECT_EQ(runs_[0].relateActor, 5);
  EXPECT_EQ(runs_[0].relateItem, 0);
  const std::vector<Variant> expected{Variant::Integer(0),          Variant::Text(u"Sword"),
                                      Variant::Long(2),             Variant::Text(u"Arrows"),
                                      Variant::Long(30),            Variant::CurrencyScaled(123456),
                                      Variant::Long(11),            Variant::Long(22)};
  ASSERT_EQ(parametersAtRun_.size(), 8u);
  for (std::size_t k = 0; k < 8; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(parametersAtRun_[k].symbol, static_cast<std::int32_t>(100 + k));
    EXPECT_EQ(parametersAtRun_[k].value, expected[k]);
  }
  // No items: empty names and counts 0.
  const std::int32_t empty = AddPickUp(w.map(), 0, 0, 0, -1, 4, 0, 0, 0, 0, -1);
  TakePickUp(w.map(), 5, empty);
  EXPECT_EQ(parametersAtRun_[1].value, Variant::Text(u""));
  EXPECT_EQ(parametersAtRun_[2].value, Variant::Long(0));
  EXPECT_EQ(runs_.back().relateItem, -1);
}

TEST_F(DoorsPickUpsTest, ExpiredAnimationsLeaveFromTheEndAndLoopsStay) {
  SpriteSet set;
  set.poses.resize(1);
  SpriteDirection& d = set.poses[0].directions[4];
  d.builtFrames.resize(4);
  d.frames.resize(4);
  d.layers.resize(1);
  d.frameDuration = 100;  // 400 ms
  gameData.spriteSets.push_back(set);
  const auto entry = [](std::int32_t elapsed, bool loops) {
    Attachment a;
    a.spriteSet = 0;
    a.valueA = elapsed;
    a.byteE = loops ? 1 : 0;
    return a;
  };
  std::vector<Attachment> list{entry(350, false), entry(100, false), entry(390, true), entry(299, false)};
  ExpireEffectAnimations(list, 100);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].valueA, 200);
  EXPECT_EQ(list[1].valueA, 490);  // loops on
  EXPECT_EQ(list[2].valueA, 399);  // not beyond 400 yet
  ExpireEffectAnimations(list, 2);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].valueA, 492);
}

}  // namespace
}  // namespace kiv
