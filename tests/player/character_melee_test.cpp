// The melee strike: once per attack in the tick that crosses its middle, with
// the footprint widened by the item's reaches toward the facing.
#include "character_fixture.h"
#include "core/angles.h"
#include "player/character_action.h"

namespace kiv::test {
namespace {

class Melee : public CharacterTest {
 protected:
  // A sword of reach forward 20, backward 5, sideways 3 and 400 ms.
  std::int32_t AddFighter(std::int32_t attackTime, float speedFactor) {
    Item sword;
    sword.valueQ = 20;
    sword.valueR = 5;
    sword.valueS = 3;
    sword.valueJ = 400;
    gameData.items.push_back(sword);
    const std::int32_t k = AddCharacter(100.0f, 100.0f);
    Character(k).equipment.resize(2);
    Character(k).equipment[1].item = 0;
    Character(k).attackArea = 1;
    Character(k).attackTimer = attackTime;
    Character(k).speedFactor = speedFactor;
    return k;
  }
  void Tick(std::int32_t k, std::int32_t elapsed) {
    CharacterTurn turn = Turn(k, elapsed);
    StrikeMelee(turn);
  }
};

TEST_F(Melee, StrikesOncePerAttackWhenCrossingTheMiddle) {
  struct Case {
    const char* name;
    std::int32_t start;
    float factor;
    std::size_t strikes;
  };
  for (const Case c : {Case{"FullAttack", 400, 1.0f, 1}, Case{"StartsJustBeforeTheMiddle", 201, 1.0f, 1},
                       Case{"StartsWithLessThanHalf", 150, 1.0f, 0}, Case{"SlowerFactor", 800, 2.0f, 1},
                       Case{"NoDuration", 50, 0.0f, 0}}) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    world.damage.clear();
    const std::int32_t k = AddFighter(c.start, c.factor);
    for (int i = 0; i < 10; ++i) Tick(k, 100);
    EXPECT_EQ(world.damage.size(), c.strikes);
    EXPECT_LE(Character(k).attackTimer, 0);
  }
}

TEST_F(Melee, StrikeBoxWidensTowardTheFacing) {
  struct Case {
    const char* name;
    float heading;
    Box box;
  };
  // Footprint 92..108 on both axes, 0..32 high.
  const Case cases[] = {
      {"Right", 0.0f, Box{87, 89, 128, 111, 0, 32}},      {"Left", 3.1415927f, Box{72, 89, 113, 111, 0, 32}},
      {"Down", 1.5707964f, Box{89, 87, 111, 128, 0, 32}}, {"Up", -1.5707964f, Box{89, 72, 111, 113, 0, 32}},
      // Turned by 0.9 rad the footprint covers 88..112 on both axes; the
      // diagonal widens it like Down.
      {"RightDown", 0.9f, Box{85, 83, 115, 132, 0, 32}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    world.damage.clear();
    const std::int32_t k = AddFighter(250, 1.0f);
    Character(k).heading = c.heading;
    Tick(k, 100);
    ASSERT_EQ(world.damage.size(), 1u);
    EXPECT_EQ(world.damage[0].box, c.box);
    EXPECT_EQ(world.damage[0].attacker, k);
    EXPECT_EQ(world.damage[0].item, 0);
    EXPECT_FALSE(world.damage[0].hitFriends);
  }
}

TEST_F(Melee, NoItemOrNoReachOrDeadMeansNoStrike) {
  for (int variant = 0; variant < 3; ++variant) {
    SCOPED_TRACE(variant);
    TearDown();
    SetUp();
    world.damage.clear();
    const std::int32_t k = AddFighter(250, 1.0f);
    if (variant == 0) Character(k).equipment[1].item = -1;
    if (variant == 1) gameData.items[0].valueQ = 0;
    if (variant == 2) Character(k).state = kStateDying;
    Tick(k, 100);
    EXPECT_TRUE(world.damage.empty());
    EXPECT_EQ(Character(k).attackTimer, variant == 2 ? 250 : 150);
  }
}

}  // namespace
}  // namespace kiv::test
