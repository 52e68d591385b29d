#include "world/actor_pose.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/angles.h"
#include "data/game_data.h"
#include "data/project_state.h"

namespace kiv {
namespace {

constexpr std::int32_t kDead = 3;

// Sprite sets built in code: poses of eight directions, each with a number of
// built frames of a frame time.
class PoseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    projectState.Reset();
    gameData.maps.Append();
  }

  std::int32_t NewSet(std::int32_t poseCount, std::uint8_t flags = 0) {
    SpriteSet set;
    set.flags = flags;
    set.poses.resize(static_cast<std::size_t>(poseCount));
    gameData.spriteSets.push_back(set);
    return static_cast<std::int32_t>(gameData.spriteSets.size()) - 1;
  }
  SpritePose& Pose(std::int32_t set, std::int32_t pose) {
    return gameData.spriteSets[static_cast<std::size_t>(set)].poses[static_cast<std::size_t>(pose)];
  }
  SpriteDirection& Dir(std::int32_t set, std::int32_t pose, std::int32_t d) {
    return Pose(set, pose).directions[static_cast<std::size_t>(d)];
  }
  void Frames(std::int32_t set, std::int32_t pose, std::int32_t d, std::int32_t count, std::int32_t ms = 100) {
    Dir(set, pose, d).builtFrames.assign(static_cast<std::size_t>(count), SpriteFrame());
    Dir(set, pose, d).frames.assign(static_cast<std::size_t>(count), SpriteFrame());
    Dir(set, pose, d).frameDuration = ms;
  }
  // A frame part of frame 0 drawing a layer of slot `slot`.
  void TagFrame(std::int32_t set, std::int32_t pose, std::int32_t d, std::int32_t frame, std::int32_t slot) {
    SpriteDirection& dir = Dir(set, pose, d);
    SpriteLayer layer;
    layer.slot = slot;
    dir.layers.push_back(layer);
    FramePart part;
    part.kind = kPartLayer;
    part.index = static_cast<std::int32_t>(dir.layers.size()) - 1;
    dir.builtFrames[static_cast<std::size_t>(frame)].parts.push_back(part);
  }
  Actor ActorOf(std::int32_t set, float heading = 0.0f, std::int32_t state = 0) {
    Actor a;
    a.parts.resize(1);
    a.parts[0].spriteSet = set;
    a.heading = heading;
    a.state = state;
    return a;
  }
};

TEST_F(PoseTest, DrawDirectionSearch) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::int32_t, std::int32_t>> framed;  // (pose, direction) with frames
    std::int32_t mirrorMask;                                   // of pose 0
    std::uint8_t setFlags;
    float heading;
    std::int32_t state;
    std::int32_t expected;
  };
  const float east = 0.0f;
  const float north = -kPiOver2;
  const Case cases[] = {
      {"the wanted direction has frames", {{0, 4}}, 0, 0, east, 0, 4},
      {"state 1 faces Down", {{0, 6}, {0, 4}}, 0, 0, east, 1, 6},
      {"counter-clockwise from the wanted one", {{0, 1}, {0, 3}}, 0, 0, east, 0, 3},
      {"counter-clockwise wraps past 0", {{0, 7}}, 0, 0, DirectionToAngle(1), 0, 7},
      {"a mirrored direction whose partner has frames", {{0, 0}}, 1 << 4, 0, east, 0, 4},
      {"a mirror bit on Up is ignored", {{0, 6}}, 1 << 2, 0, north, 0, 6},
      {"direction-4-only set", {{0, 4}, {0, 2}}, 0, 0x04, north, 0, 4},
      {"bit 0x10 lifts the direction-4-only rule", {{0, 4}, {0, 2}}, 0, 0x14, north, 0, 2},
      {"direction-4-only set without frames there", {{0, 2}}, 0, 0x04, north, 0, 4},
      {"the dead look in pose 13", {{13, 5}, {0, 4}}, 0, 0, DirectionToAngle(5), kDead, 5},
      {"the dead fall back to pose 0", {{0, 3}}, 0, 0, DirectionToAngle(5), kDead, 3},
      {"no frames anywhere: the wanted direction", {}, 0, 0, DirectionToAngle(5), kDead, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    const std::int32_t set = NewSet(14, c.setFlags);
    for (const auto& [pose, d] : c.framed) Frames(set, pose, d, 2);
    Pose(set, 0).mirrorMask = c.mirrorMask;
    EXPECT_EQ(ActorDrawDirection(ActorOf(set, c.heading, c.state)), c.expected);
  }
  // Without a body sprite set the wanted direction is the answer.
  Actor bare;
  bare.heading = kPiOver2;
  EXPECT_EQ(ActorDrawDirection(bare), 6);
}

TEST_F(PoseTest, TryPoseMatchesFrameTagsFirstThenEnabledSlotEntries) {
  const std::int32_t set = NewSet(3);
  Frames(set, 1, 4, 3);
  TagFrame(set, 1, 4, 2, 77);
  SpriteDirection& dir = Dir(set, 1, 4);
  dir.slots[0] = SlotEntry{55, false};
  dir.slots[2] = SlotEntry{66, true};
  Frames(set, 2, 0, 1);
  Pose(set, 2).mirrorMask = 1 << 4;  // direction 4 drawn from direction 0
  struct Case {
    std::int32_t pose, tag, direction;
    bool qualifies;
  };
  const Case cases[] = {
      {1, kAnyTag, 4, true}, {1, 77, 4, true},  {1, 66, 4, true},  {1, 55, 4, false},
      {1, 12, 4, false},     {1, kAnyTag, 3, false}, {0, kAnyTag, 4, false}, {9, kAnyTag, 4, false},
      {2, kAnyTag, 4, true}, {2, kAnyTag, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "pose " << c.pose << " tag " << c.tag << " direction " << c.direction);
    std::int32_t chosen = -5;
    EXPECT_EQ(TryPose(c.pose, set, c.tag, c.direction, chosen), c.qualifies);
    EXPECT_EQ(chosen, c.qualifies ? c.pose : -5);
  }
}

// Item roles of the pose choice: a melee weapon (pose 2, carry 7), a ranged one
// (3, carry 6), a thrown one without ammunition (4, carry 8), magic (5, carry 8).
class PoseChoiceTest : public PoseTest {
 protected:
  void SetUp() override {
    PoseTest::SetUp();
    projectState.equipmentAreas.resize(2);
    set_ = NewSet(18);
    for (std::int32_t p = 0; p < 18; ++p) Frames(set_, p, 4, 4, 100);  // 400 ms each
    melee_ = AddItem([](Item& i) { i.valueQ = 1; });
    ranged_ = AddItem([](Item& i) { i.valueK = 1; });
    thrown_ = AddItem([](Item& i) {
      i.valueK = 1;
      i.flagP = 1;
    });
    magic_ = AddItem([](Item& i) {
      i.valueK = 1;
      i.kindNumber = 1;
    });
    plain_ = AddItem([](Item&) {});
  }
  template <typename Fill>
  std::int32_t AddItem(Fill fill) {
    Item item;
    item.valueJ = 400;  // attack time
    fill(item);
    gameData.items.push_back(item);
    return static_cast<std::int32_t>(gameData.items.size()) - 1;
  }
  Actor Walker() {
    Actor a = ActorOf(set_);
    a.equipment.resize(2);
    a.speedFactor = 1.0f;
    return a;
  }
  std::pair<std::int32_t, std::int32_t> Choose(const Actor& a, std::int32_t tag = kAnyTag) {
    std::int32_t pose = -1, time = -1;
    SelectActorPose(0, a, set_, tag, 4, pose, time);
    return {pose, time};
  }
  std::int32_t set_ = -1, melee_ = -1, ranged_ = -1, thrown_ = -1, magic_ = -1, plain_ = -1;
};

TEST_F(PoseChoiceTest, PosesInTheOrderOfTheChoice) {
  struct Case {
    const char* what;
    std::function<void(Actor&)> setUp;
    std::function<void()> sprites;  // removes frames
    std::int32_t pose;
  };
  const std::vector<Case> cases = {
      {"idle", [](Actor&) {}, [] {}, 9},
      {"no pose 9 leaves pose 0 even without frames", [](Actor&) {},
       [this] {
         Frames(set_, 9, 4, 0);
         Frames(set_, 0, 4, 0);
       },
       0},
      {"walking turns idle into 0", [](Actor& a) { a.walkTime = 10; }, [] {}, 0},
      {"state 1", [](Actor& a) { a.state = 1; }, [] {}, 14},
      {"melee carried", [this](Actor& a) { a.equipment[0].item = melee_; }, [] {}, 7},
      {"melee attacking", [this](Actor& a) {
         a.equipment[0].item = melee_;
         a.attackTimer = 100;
       }, [] {}, 2},
      {"ranged carried", [this](Actor& a) { a.equipment[0].item = ranged_; }, [] {}, 6},
      {"ranged attacking", [this](Actor& a) {
         a.equipment[0].item = ranged_;
         a.attackTimer = 1;
       }, [] {}, 3},
      {"thrown attacking", [this](Actor& a) {
         a.equipment[1].item = thrown_;
         a.attackTimer = 1;
       }, [] {}, 4},
      {"thrown carried", [this](Actor& a) { a.equipment[1].item = thrown_; }, [] {}, 8},
      {"magic attacking", [this](Actor& a) {
         a.equipment[0].item = magic_;
         a.attackTimer = 1;
       }, [] {}, 5},
      {"plain item carried", [this](Actor& a) { a.equipment[0].item = plain_; }, [] {}, 8},
      {"the first carry pose that qualifies stays", [this](Actor& a) {
         a.equipment[0].item = melee_;
         a.equipment[1].item = ranged_;
       }, [] {}, 7},
      {"an attack pose stops the area loop", [this](Actor& a) {
         a.equipment[0].item = melee_;
         a.equipment[1].item = ranged_;
         a.attackTimer = 1;
       }, [] {}, 2},
      {"an attack pose without frames falls back to carrying", [this](Actor& a) {
         a.equipment[0].item = melee_;
         a.attackTimer = 1;
       }, [this] { Frames(set_, 2, 4, 0); }, 7},
      {"hurt wins over weapons", [this](Actor& a) {
         a.equipment[0].item = melee_;
         a.attackTimer = 1;
         a.hurtTime = 5;
       }, [] {}, 12},
      {"dead", [](Actor& a) {
         a.state = kDead;
         a.hurtTime = 5;
       }, [] {}, 13},
      {"dead without pose 13 keeps pose 9", [](Actor& a) { a.state = kDead; }, [this] { Frames(set_, 13, 4, 0); },
       9},
      {"a script pose ignores motion, weapons and hurt", [this](Actor& a) {
         a.pose = 99;
         a.state = 1;
         a.equipment[0].item = melee_;
         a.attackTimer = 1;
         a.hurtTime = 5;
       }, [this] {
         Pose(set_, 16).name = 99;
         Pose(set_, 17).name = 99;
       }, 17},
      {"a script pose without a match keeps idle", [](Actor& a) {
         a.pose = 98;
         a.hurtTime = 5;
       }, [] {}, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    c.sprites();
    Actor a = Walker();
    c.setUp(a);
    EXPECT_EQ(Choose(a).first, c.pose);
  }
}

TEST_F(PoseChoiceTest, MotionPosesFollowTheMotionState) {
  gameData.maps[0].mapValueAC = 1.0f;  // the map's force along z
  Actor a = Walker();
  a.velocityZ = 500.0f;  // faster than the force allows: motion state -1
  EXPECT_EQ(Choose(a).first, 11);
  a.velocityZ = 0.0f;  // at rest with the motion flag: 1
  a.airborne = 1;
  EXPECT_EQ(Choose(a).first, 10);
  a.state = 1;  // state 1 comes after motion
  EXPECT_EQ(Choose(a).first, 14);
}

TEST_F(PoseChoiceTest, PoseTimesByPose) {
  struct Case {
    const char* what;
    std::function<void(Actor&)> setUp;
    std::int32_t pose;
    std::int32_t time;
  };
  const std::vector<Case> cases = {
      {"idle time", [](Actor& a) { a.idleTime = 123; }, 9, 123},
      {"walking: speed / 0.2 x walk time, 2.5 to even", [](Actor& a) {
         a.walkTime = 1;
         a.speed = 0.5f;
       }, 0, 2},
      {"walking: 7.5 to even", [](Actor& a) {
         a.walkTime = 3;
         a.speed = 0.5f;
       }, 0, 8},
      {"attack: share of the attack done x duration", [this](Actor& a) {
         a.equipment[0].item = melee_;
         a.attackTimer = 100;  // 300 of 400 ms done: 3/4 of 400
       }, 2, 300},
      {"attack with speed factor 0: time 0", [this](Actor& a) {
         a.equipment[0].item = melee_;
         a.attackTimer = 100;
         a.speedFactor = 0.0f;
       }, 2, 0},
      {"hurt: duration - hurt time", [](Actor& a) { a.hurtTime = 150; }, 12, 250},
      {"dead: duration - death timer", [](Actor& a) {
         a.state = kDead;
         a.deathTimer = 100;
       }, 13, 300},
      {"never negative", [](Actor& a) { a.hurtTime = 1000; }, 12, 0},
      {"custom pose time", [this](Actor& a) {
         a.pose = 7;
         a.customPoseTime = 42;
         Pose(set_, 15).name = 7;
       }, 15, 42},
      {"state 1 pose walks", [](Actor& a) {
         a.state = 1;
         a.walkTime = 100;
         a.speed = 0.2f;
       }, 14, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    Actor a = Walker();
    c.setUp(a);
    EXPECT_EQ(Choose(a), std::make_pair(c.pose, c.time));
  }
  // A dead actor whose pose 13 does not qualify shows its pose with time 0.
  SetUp();
  Frames(set_, 13, 4, 0);
  Actor dead = Walker();
  dead.state = kDead;
  dead.idleTime = 300;
  EXPECT_EQ(Choose(dead), std::make_pair(9, 0));
}

TEST_F(PoseChoiceTest, MapDrawingTagsChooseAmongPoses) {
  // Only pose 0 has a frame that draws the tag's slot: idle does not qualify.
  TagFrame(set_, 0, 4, 0, 31);
  Actor a = Walker();
  EXPECT_EQ(Choose(a, 31).first, 0);
  TagFrame(set_, 9, 4, 1, 31);
  EXPECT_EQ(Choose(a, 31).first, 9);
}

}  // namespace
}  // namespace kiv
