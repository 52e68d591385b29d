// Statistics, death and the AI switch of actors on the real script engine and
// real damage: hit points change through damage, other statistics at once
// with the statistic system script told, and the change number shown.
#include <string>

#include "actor_properties_fixture.h"
#include "player/character_fields.h"
#include "state/game_state.h"
#include "state/object_writers.h"
#include "state/save_game.h"

namespace kiv::test {
namespace {

enum : std::int32_t { kHp, kMana, kStrength };

class ActorStatisticsTest : public ActorPropertiesTest {
 protected:
  void SetUp() override {
    ActorPropertiesTest::SetUp();
    for (const char16_t* name : {u"HP", u"Mana", u"Strength"}) {
      Statistic statistic;
      statistic.name = name;
      statistic.id.bytes[0] = static_cast<std::uint8_t>(gameData.statistics.size() + 1);
      gameData.statistics.push_back(statistic);
    }
    hero_ = AddNamed(u"Hero", 100, 100, 0);
    foe_ = AddNamed(u"Foe", 160, 100, 0);
    for (std::int32_t a : {hero_, foe_}) {
      At(a).statistics = {{gameData.statistics[kHp].id, 100, 30},
                          {gameData.statistics[kMana].id, 20, 5},
                          {gameData.statistics[kStrength].id, 9, 9}};
    }
    // The statistic system script records the hero's state each time it runs.
    const ScriptExecutor previous = scriptHooks.internalExecutor;
    scriptHooks.internalExecutor = [this, previous](std::int32_t code, ScriptValue& object, std::int32_t upper,
                                                     ScriptValue& result, std::int16_t mode, const Variant& value,
                                                     bool lastToken) {
      if (SymbolName(code) == u"Mark") {
        statesAtScript_.push_back(At(hero_).state);
        // A script that adds actors moves the list in memory.
        if (growOnScript_) gameData.maps[0].actors.resize(gameData.maps[0].actors.size() + 64);
      }
      previous(code, object, upper, result, mode, value, lastToken);
    };
  }
  void TearDown() override {
    systemScripts[1] = Script();
    ActorPropertiesTest::TearDown();
  }

  void InstallStatisticScript() { systemScripts[1] = MakeScript(u"Mark(1)"); }
  Actor& Hero() { return At(hero_); }
  // Assigns HP of the hero from a running frame of the map whose relate actor is the foe.
  void AssignHitPointsAsFoe(std::int32_t value, std::int32_t frameMap = 0) {
    CallFrame frame;
    frame.ownerMap = frameMap;
    frame.relateActor = foe_;
    PushCallFrame(frame, kiv::Script());
    TopFrame().valueStack.assign(1, ScriptValue());
    TopFrame().valueStackTop = -1;
    ScriptValue object{kObjectActor, Variant::Long(hero_), 0};
    ScriptValue result;
    ScriptCallCommand(SymbolIntern(u"HP"), object, -1, result, kModeAssign, Variant::Long(value), true);
    PopCallFrame();
  }

  std::int32_t hero_ = -1;
  std::int32_t foe_ = -1;
  std::vector<std::int32_t> statesAtScript_;
  bool growOnScript_ = false;
};

TEST_F(ActorStatisticsTest, HitPointsChangeThroughDamage) {
  AssignHitPointsAsFoe(20);
  EXPECT_EQ(Hero().statistics[kHp].currentValue, 20);
  EXPECT_EQ(Hero().lastDamaged, foe_) << "the relate actor attacked";
  EXPECT_EQ(Hero().damageShown, 10);
  EXPECT_EQ(Hero().timeSinceHurt, 0);

  AssignHitPointsAsFoe(30);
  EXPECT_EQ(Hero().statistics[kHp].currentValue, 30);
  EXPECT_EQ(Hero().damageShown, -10);
  EXPECT_EQ(Hero().damageShowTime, 1500);
  EXPECT_FLOAT_EQ(Hero().damageRise, 0.28f);
  EXPECT_EQ(Hero().damageOffset, 0.0f);

  // From a frame of another map nobody attacks.
  gameData.maps.Append();
  Hero().lastDamaged = -1;
  AssignHitPointsAsFoe(25, 1);
  EXPECT_EQ(Hero().statistics[kHp].currentValue, 25);
  EXPECT_EQ(Hero().lastDamaged, -1);
}

TEST_F(ActorStatisticsTest, LargeIncreasesShowNineDigits) {
  Hero().statistics[kMana].baseValue = 2100000000;
  Assign(kObjectActor, hero_, u"CurrentStat", Variant::Long(2000000005), {Text(u"Mana")});
  EXPECT_EQ(Hero().statistics[kMana].currentValue, 2000000005);
  EXPECT_EQ(Hero().damageShown, -999999999);
  // A difference beyond 32 bits is an overflow, not a wrapped number.
  Hero().statistics[kMana].currentValue = -2000000000;
  EXPECT_EQ(Raised([&] {
              Assign(kObjectActor, hero_, u"CurrentStat", Variant::Long(2000000000), {Text(u"Mana")});
            }).substr(0, 2),
            "6 ");
  EXPECT_EQ(Hero().statistics[kMana].currentValue, -2000000000);
}

TEST_F(ActorStatisticsTest, MaximumOfHitPoints) {
  struct Case {
    std::int32_t current;
    std::int32_t assigned;
    std::int32_t maximum;
    std::int32_t after;
  } cases[] = {
      {30, 50, 50, 50},
      {30, 20, 20, 20},  // a lowered maximum caps the hit points
      {30, -5, 0, 30},   // a maximum of 0 keeps them
      {30, 30, 30, 30},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.assigned);
    Hero().statistics[kHp] = {gameData.statistics[kHp].id, 100, c.current};
    Hero().damageShowTime = 0;
    Assign(kObjectActor, hero_, u"MaxHP", Variant::Long(c.assigned));
    EXPECT_EQ(Hero().statistics[kHp].baseValue, c.maximum);
    EXPECT_EQ(Hero().statistics[kHp].currentValue, c.after);
    EXPECT_EQ(Hero().damageShowTime, 0) << "no change number";
    EXPECT_EQ(Hero().state, kStateNormal);
    EXPECT_EQ(Read(kObjectActor, hero_, u"MaxHP"), Variant::Long(c.maximum));
  }
}

TEST_F(ActorStatisticsTest, StatSetsMaximumAndCurrentTellingTheSystemScriptTwice) {
  InstallStatisticScript();
  Hero().state = 1;
  Assign(kObjectActor, hero_, u"Stat", Variant::Long(12), {Text(u"Mana")});
  EXPECT_EQ(Hero().statistics[kMana].baseValue, 12);
  EXPECT_EQ(Hero().statistics[kMana].currentValue, 12);
  EXPECT_EQ(statesAtScript_, (std::vector<std::int32_t>{1, 4}));
  EXPECT_EQ(Hero().state, 1) << "restored after the second run";
  EXPECT_EQ(Hero().damageShown, -7);
  EXPECT_EQ(Hero().damageShowTime, 1500);
  // While the state is 4 Stat is the current value.
  Hero().statistics[kMana].currentValue = 3;
  EXPECT_EQ(Read(kObjectActor, hero_, u"Stat", {Text(u"Mana")}), Variant::Long(12));
  Hero().state = 4;
  EXPECT_EQ(Read(kObjectActor, hero_, u"Stat", {Text(u"Mana")}), Variant::Long(3));
}

TEST_F(ActorStatisticsTest, TheSystemScriptMayMoveTheActorList) {
  // Both runs of the script grow the map's actor list; the hero is found
  // again by its index after each.
  InstallStatisticScript();
  growOnScript_ = true;
  Hero().state = 1;
  Assign(kObjectActor, hero_, u"Stat", Variant::Long(14), {Text(u"Strength")});
  EXPECT_EQ(statesAtScript_.size(), 2u);
  EXPECT_EQ(Hero().statistics[kStrength].baseValue, 14);
  EXPECT_EQ(Hero().statistics[kStrength].currentValue, 14);
  EXPECT_EQ(Hero().state, 1);
  EXPECT_EQ(Hero().damageShown, -5);
}

TEST_F(ActorStatisticsTest, StatisticsOutsideTheActorsTableAreErrorNine) {
  Hero().statistics.resize(2);  // Strength is missing
  const auto before = Hero().statistics;
  EXPECT_EQ(Raised([&] { Assign(kObjectActor, hero_, u"Stat", Variant::Long(5), {Text(u"Strength")}); }).substr(0, 2),
            "9 ");
  EXPECT_EQ(Raised([&] { Read(kObjectActor, hero_, u"CurrentStat", {Text(u"Strength")}); }).substr(0, 2), "9 ");
  EXPECT_EQ(Hero().statistics[kHp].currentValue, before[kHp].currentValue);
  EXPECT_EQ(Hero().statistics[kMana].baseValue, before[kMana].baseValue);
  EXPECT_NE(Raised([&] { Read(kObjectActor, hero_, u"Stat", {Text(u"Luck")}); }), "no error");
}

TEST_F(ActorStatisticsTest, StatWithItemComparesWithTheWornItem) {
  gameData.statistics.resize(3);
  for (const char16_t* name : {u"Sword", u"Axe", u"Potion"}) {
    Item item;
    item.name = name;
    item.displayName = std::u16string(u"a ") + name;
    item.statisticValues[0] = {0, 0, 0};
    gameData.items.push_back(item);
  }
  gameData.items[0].equipmentArea.index = 0;
  gameData.items[0].statisticValues[0] = {0, 0, 4};
  gameData.items[1].equipmentArea.index = 0;
  gameData.items[1].statisticValues[0] = {0, 0, 7};
  projectState.equipmentAreas.resize(1);
  projectState.equipmentAreas[0].name = u"Hand";
  Hero().equipment.resize(1);
  EXPECT_EQ(Read(kObjectActor, hero_, u"StatWithItem", {Text(u"Strength"), Text(u"Axe")}), Variant::Long(16));
  Hero().equipment[0].item = 0;
  EXPECT_EQ(Read(kObjectActor, hero_, u"StatWithItem", {Text(u"Strength"), Text(u"Axe")}), Variant::Long(12));
  EXPECT_EQ(Raised([&] { Read(kObjectActor, hero_, u"StatWithItem", {Text(u"Strength"), Text(u"Potion")}); }),
            "-1 The item \"a Potion\" is not equipment, and thus cannot be used with \"Statistic with Item\".");
}

TEST_F(ActorStatisticsTest, KillAndRaise) {
  Hero().statistics[kHp] = {gameData.statistics[kHp].id, 10, 0};
  Hero().state = kStateDead;
  On(kObjectActor, hero_, u"Kill", {Variant::Long(-1)});
  EXPECT_EQ(Hero().statistics[kHp].currentValue, 1);
  EXPECT_EQ(Hero().state, kStateNormal);
  // Kill(False) kills whatever the hit points, even without a maximum.
  for (const std::int32_t maximum : {1000, 0}) {
    Hero().statistics[kHp] = {gameData.statistics[kHp].id, maximum, maximum};
    Hero().state = kStateNormal;
    On(kObjectActor, hero_, u"Kill", {Variant::Long(0)});
    EXPECT_TRUE(Hero().state == kStateDying || Hero().state == kStateDead) << maximum;
    EXPECT_LE(Hero().statistics[kHp].currentValue, 0) << maximum;
  }
}

// What Kill leaves survives a save and a load.
TEST_F(ActorStatisticsTest, ADeathSurvivesASave) {
  Hero().statistics[kHp] = {gameData.statistics[kHp].id, 40, 40};
  On(kObjectActor, hero_, u"Kill", {Variant::Long(0)});
  Hero().deathTimer = 321;  // the dying pose ran a while
  ByteList bytes;
  std::int32_t offset = 0;
  WriteActor(Hero(), bytes, offset, true);
  Actor loaded;
  std::int32_t read = 0;
  ReadCharacter(bytes, read, loaded, kSaveFormatVersion, true);
  EXPECT_EQ(loaded.state, Hero().state);
  EXPECT_EQ(loaded.deathTimer, 321);
  ASSERT_EQ(loaded.statistics.size(), 3u);
  EXPECT_EQ(loaded.statistics[kHp].currentValue, Hero().statistics[kHp].currentValue);
  EXPECT_EQ(Hero().statistics[kHp].baseValue, 40);
  EXPECT_EQ(loaded.statistics[kHp].baseValue, 40);
}

TEST_F(ActorStatisticsTest, AIEnableAndPlainValues) {
  Hero().aiFlags = 6;
  Hero().aiState = 3;
  Hero().aiValue = 900;
  Hero().aiFocus = foe_;
  Assign(kObjectActor, hero_, u"AIEnable", Variant::Long(-1));
  EXPECT_EQ(std::vector<std::int32_t>({Hero().aiFlags, Hero().aiState, Hero().aiValue, Hero().aiFocus}),
            std::vector<std::int32_t>({7, 0, 0, -1}));
  EXPECT_EQ(Read(kObjectActor, hero_, u"AIEnable"), Variant::Integer(1));
  Hero().aiState = 3;
  Hero().aiValue = 900;
  Hero().aiFocus = foe_;
  Assign(kObjectActor, hero_, u"AIEnable", Variant::Long(0));
  EXPECT_EQ(std::vector<std::int32_t>({Hero().aiFlags, Hero().aiState, Hero().aiValue, Hero().aiFocus}),
            std::vector<std::int32_t>({6, 0, 0, foe_}));
  EXPECT_EQ(Read(kObjectActor, hero_, u"AIEnable"), Variant::Integer(0));

  On(kObjectActor, hero_, u"Action");
  EXPECT_EQ(Hero().actionValue, -1);
  On(kObjectActor, hero_, u"EquipmentDetonate");
  EXPECT_EQ(Hero().detonationValue, -1);
  Assign(kObjectActor, hero_, u"Experience", Variant::Long(77));
  Assign(kObjectActor, hero_, u"Points", Variant::Long(5));
  Assign(kObjectActor, hero_, u"TimeSinceHurt", Variant::Long(250));
  Assign(kObjectActor, hero_, u"AIState", Variant::Long(2));
  EXPECT_EQ(Hero().experience, 77);
  EXPECT_EQ(Hero().points, 5);
  EXPECT_EQ(Hero().timeSinceHurt, 250);
  EXPECT_EQ(Hero().aiState, 2);
  Assign(kObjectActor, hero_, u"Money", Variant::Double(12.5));
  EXPECT_EQ(Hero().money, 125000);
}

}  // namespace
}  // namespace kiv::test
