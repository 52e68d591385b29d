#include "world/party_operations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/error.h"
#include "data/data_hooks.h"
#include "data/game_data.h"
#include "data/object_defaults.h"
#include "data/project_state.h"
#include "dialogs/player_settings.h"
#include "player/shell_state.h"
#include "player/start_window.h"
#include "script/call_frame.h"
#include "script/script_hooks.h"
#include "support/world_builder.h"

namespace kiv {
namespace {

// Items: a gun firing bullets, a bow using itself, a stone that uses nothing,
// and three items of area 0 (A, B and C) beside a helmet of area 1.
enum : std::int32_t { kGun, kBullet, kBow, kStone, kItemA, kItemB, kItemC, kHelmet, kKey };

std::string Raised(const std::function<void()>& action) {
  try {
    action();
  } catch (const KivError& error) {
    return std::to_string(error.Number()) + " " + error.what();
  }
  return "no error";
}

// Player 0 with four members (characters 0..3) on a 20 x 20 map and one
// character (4) of no player; two equipment areas.
class PartyOperationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildObjectDefaults();
    scriptHooks.Reset();
    scriptHooks.RunTrigger = [](const TriggerRun&) { return Variant(); };
    dataHooks.Reset();
    startWindowDevices.Reset();
    startWindowDevices.SpeechSpeak = [this](const std::u16string& text, std::int32_t flags) {
      spoken_.push_back(text);
      speakFlags_.push_back(flags);
    };
    gameData.statistics.resize(1);
    const char16_t* names[] = {u"Gun", u"Bullet", u"Bow", u"Stone", u"A", u"B", u"C", u"Helmet", u"Key"};
    for (const char16_t* name : names) {
      Item item;
      item.name = name;
      item.displayName = std::u16string(u"the ") + name;
      item.statisticValues[0] = {0};
      gameData.items.push_back(item);
    }
    gameData.items[kGun].linkedItem.index = kBullet;
    gameData.items[kBow].valueT = 1;  // one unit per use, no ammunition item
    for (std::int32_t k : {kItemA, kItemB, kItemC}) gameData.items[static_cast<std::size_t>(k)].equipmentArea.index = 0;
    gameData.items[kItemA].equipmentArea.index = 1;  // A fits the other area
    gameData.items[kHelmet].equipmentArea.index = 1;
    gameData.items[kGun].equipmentArea.index = 0;
    gameData.items[kBow].equipmentArea.index = 0;

    projectState.players.assign(1, Player());
    Player& player = projectState.players[0];
    player.mapIndex = w.map();
    for (std::int32_t k = 0; k < 4; ++k) {
      const std::int32_t c = w.AddCharacter(40.0f + 32.0f * static_cast<float>(k), 40, 0, Box{-4, -4, 4, 4, 0, 16});
      PartyMember m;
      m.character = c;
      player.party.push_back(m);
      A(c).owningPlayer = 0;
      A(c).equipment.resize(2);
    }
    stranger_ = w.AddCharacter(300, 300, 0, Box{-4, -4, 4, 4, 0, 16});
    A(stranger_).equipment.resize(2);
    player.controlledMember = 0;
  }
  void TearDown() override {
    startWindowDevices.Reset();
    scriptHooks.Reset();
    playerSettings.voiceEnabled = false;
    scriptEngine.callTop = -1;
  }

  Actor& A(std::int32_t i) { return w.M().actors[static_cast<std::size_t>(i)]; }
  static Player& P() { return projectState.players[0]; }
  static InventoryEntry Entry(std::int32_t item, std::int32_t count) {
    InventoryEntry e;
    e.item = item;
    e.quantity = count;
    return e;
  }
  static std::vector<std::int32_t> InventoryItems() {
    std::vector<std::int32_t> items;
    for (const InventoryEntry& e : P().items) items.push_back(e.item);
    return items;
  }

  test::WorldBuilder w{19, 19, 0, 16};
  std::int32_t stranger_ = -1;
  std::vector<std::u16string> spoken_;
  std::vector<std::int32_t> speakFlags_;
};

TEST_F(PartyOperationsTest, ItemCountSharesThePartyStockAndCountsOwnEquipment) {
  P().items = {Entry(kBullet, 9), Entry(kItemB, 2), Entry(kItemB, 40)};
  A(1).equipment[0].item = kItemB;
  A(2).equipment[0].item = kItemB;  // another member's equipment is not counted for member 1
  A(stranger_).items = {Entry(kItemC, 1), Entry(kItemB, 4), Entry(kItemB, 7)};
  A(stranger_).equipment[0].item = kItemB;  // never counted for a character of no player
  struct Case {
    const char* name;
    std::int32_t actor;
    std::int32_t item;
    std::int32_t count;
  } cases[] = {
      {"two in the party's first entry and one equipped", 1, kItemB, 3},
      {"a member that has none equipped", 3, kItemB, 2},
      {"an item nobody holds", 1, kHelmet, 0},
      {"no player: the first own entry only", stranger_, kItemB, 4},
      {"no player: an item it lacks", stranger_, kBullet, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(CountCharacterItem(w.map(), c.actor, c.item), c.count) << c.name;
  EXPECT_EQ(Raised([&] { CountCharacterItem(w.map(), 99, kItemB); }).substr(0, 2), "9 ");
}

TEST_F(PartyOperationsTest, AmmoCountsTheAmmunitionOrThePrimaryMembersEquipment) {
  P().items = {Entry(kStone, 5), Entry(kBow, 3), Entry(kBullet, 12), Entry(kGun, 1)};
  A(0).equipment[0].item = kBow;  // the primary member
  A(2).equipment[0].item = kBow;  // the member asked about: not counted
  A(2).equipment[1].item = kBow;
  A(stranger_).items = {Entry(kBullet, 50)};
  struct Case {
    const char* name;
    std::int32_t actor;
    std::int32_t item;
    std::int32_t count;
  } cases[] = {
      {"neither ammunition item nor units per use, though the party holds it", 2, kStone, -1},
      {"the ammunition item's stock", 2, kGun, 12},
      {"own stock plus the primary member's equipment", 2, kBow, 4},
      {"no player", stranger_, kGun, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(CountAmmo(w.map(), c.actor, c.item), c.count) << c.name;
  P().controlledMember = -1;
  EXPECT_EQ(CountAmmo(w.map(), 2, kBow), 3) << "no primary member";
}

TEST_F(PartyOperationsTest, BodyColoursReachOnlyPartsWhoseSetFollowsTheBody) {
  SpriteSet follows;
  follows.flags = kSpriteSetFollowsBodyColors;
  gameData.spriteSets = {SpriteSet(), follows};
  Actor& a = A(0);
  a.parts.resize(4);
  for (std::uint32_t k = 0; k < kActorColorCount; ++k) a.parts[0].colors[k] = 0xFF000000u + k;
  a.parts[1].spriteSet = 1;  // follows
  a.parts[2].spriteSet = 0;  // does not
  a.parts[3].spriteSet = -1;
  a.parts[2].colors[0] = 0x12345678;
  a.parts[3].colors[0] = 0x12345678;
  // Layers: part 1 slot 3, part 1 as an item's layer, part 2 slot 0.
  CharacterLayer own;
  own.source = 1, own.area = -1, own.colourIndex = 3, own.colour = 1;
  CharacterLayer item = own;
  item.area = 0;
  CharacterLayer other = own;
  other.source = 2, other.colourIndex = 0;
  a.characterLayers = {own, item, other};
  PropagateBodyColors(a);
  EXPECT_EQ(a.parts[1].colors, a.parts[0].colors);
  EXPECT_EQ(a.parts[2].colors[0], 0x12345678u);
  EXPECT_EQ(a.parts[3].colors[0], 0x12345678u);
  EXPECT_EQ(a.characterLayers[0].colour, 0xFF000003u);
  EXPECT_EQ(a.characterLayers[1].colour, 1u);
  EXPECT_EQ(a.characterLayers[2].colour, 1u);
}

TEST_F(PartyOperationsTest, EquipSequentialRotatesPastItemsThatDoNotFitOrAreWorn) {
  struct Case {
    const char* name;
    bool forward;
    std::int32_t worn;
    std::vector<std::int32_t> inventory;
    std::int32_t equipped;
    std::vector<std::int32_t> after;
  } cases[] = {
      // A fits area 1 only; B is worn: A and B go to the end, C is taken, B comes back last.
      {"forward", true, kItemB, {kItemA, kItemB, kItemC}, kItemC, {kItemA, kItemB}},
      // From the back: C is taken at once; B joins its own entry.
      {"backward", false, kItemB, {kItemA, kItemB, kItemC}, kItemC, {kItemA, kItemB}},
      {"backward passes the worn item", false, kItemC, {kItemA, kItemB, kItemC, kHelmet}, kItemB,
       {kItemC, kHelmet, kItemA}},
      {"nothing else fits: the list comes round unchanged", true, kItemB, {kItemA, kItemB, kHelmet}, kItemB,
       {kItemA, kItemB, kHelmet}},
  };
  playerSettings.voiceEnabled = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    spoken_.clear();
    P().items.clear();
    for (std::int32_t item : c.inventory) P().items.push_back(Entry(item, 1));
    A(1).equipment[0].item = c.worn;
    EquipNextInArea(w.map(), 1, 0, c.forward);
    EXPECT_EQ(A(1).equipment[0].item, c.equipped);
    EXPECT_EQ(InventoryItems(), c.after);
    if (c.equipped != c.worn) {
      EXPECT_EQ(spoken_, std::vector<std::u16string>{gameData.items[static_cast<std::size_t>(c.equipped)].displayName});
      EXPECT_EQ(speakFlags_.back(), 3);
    } else {
      EXPECT_TRUE(spoken_.empty());
    }
  }
}

TEST_F(PartyOperationsTest, EquipSequentialIsSilentWithTheVoiceOff) {
  P().items = {Entry(kItemC, 1)};
  EquipNextInArea(w.map(), 1, 0, true);
  EXPECT_EQ(A(1).equipment[0].item, kItemC);
  EXPECT_TRUE(spoken_.empty());
}

TEST_F(PartyOperationsTest, EquipSequentialRefusesBadCallersBeforeChangingAnything) {
  P().items = {Entry(kItemA, 1), Entry(kItemC, 1)};
  EXPECT_EQ(Raised([&] { EquipNextInArea(w.map(), stranger_, 0, true); }),
            "-1 Changing equipment sequentially does not work with non-playable character.");
  P().items.clear();
  EXPECT_EQ(Raised([&] { EquipNextInArea(w.map(), stranger_, 0, true); }),
            "-1 Changing equipment sequentially does not work with non-playable character.")
      << "even with an empty inventory";
  EXPECT_EQ(Raised([&] { EquipNextInArea(w.map(), 1, 0, true); }), "no error") << "empty inventory";
  P().items = {Entry(kItemA, 1), Entry(kItemC, 1)};
  EXPECT_EQ(Raised([&] { EquipNextInArea(w.map(), 1, 2, true); }).substr(0, 2), "9 ");
  EXPECT_EQ(InventoryItems(), (std::vector<std::int32_t>{kItemA, kItemC}));
}

TEST_F(PartyOperationsTest, PrimaryMemberHandsTheFollowChainOver) {
  // 1 follows 0; 2 and 3 follow 1.
  A(1).targetActor = 0;
  A(2).targetActor = 1;
  A(3).targetActor = 1;
  A(1).aiState = 5, A(1).aiValue = 6, A(1).autoMoveStyle = 7, A(1).aiFlags = 8;
  SetPrimaryMember(0, 1);
  EXPECT_EQ(P().controlledMember, 1);
  EXPECT_EQ(A(0).autoMoveStyle, 0x10003);
  EXPECT_EQ(A(0).aiFlags, 1);
  EXPECT_EQ(A(0).targetActor, 1) << "the old primary follows the new one";
  EXPECT_EQ(A(2).targetActor, 0) << "the new member's followers take over whom it followed";
  EXPECT_EQ(A(3).targetActor, 0);
  EXPECT_EQ(A(0).x, 32.0f) << "snapped to the path grid";
  const Actor& now = A(1);
  EXPECT_EQ(std::vector<std::int32_t>({now.aiState, now.aiValue, now.autoMoveStyle, now.aiFlags, now.targetActor}),
            std::vector<std::int32_t>({0, 0, 0, 0, -1}));
}

TEST_F(PartyOperationsTest, PrimaryMemberStaysWhenTheOldOneCannotBeSnapped) {
  A(1).targetActor = 0;
  A(1).aiFlags = 8;
  // Walls all around the controlled character: no grid point is free.
  w.M().boundaries.push_back(test::MakeBoxShape(Box{0, 0, 100, 100, 0, 16}));
  SetPrimaryMember(0, 1);
  EXPECT_EQ(P().controlledMember, 0);
  EXPECT_EQ(A(0).autoMoveStyle, 0);
  EXPECT_EQ(A(0).targetActor, -1);
  EXPECT_EQ(A(1).targetActor, 0);
  EXPECT_EQ(A(1).aiFlags, 8);
  EXPECT_EQ(A(0).x, 40.0f);
}

TEST_F(PartyOperationsTest, PrimaryMemberWithoutOneOnlyTakesControl) {
  P().controlledMember = -1;
  A(2).targetActor = 3;
  SetPrimaryMember(0, 2);
  EXPECT_EQ(P().controlledMember, 2);
  EXPECT_EQ(A(2).targetActor, -1);
  EXPECT_EQ(Raised([] { SetPrimaryMember(0, 4); }).substr(0, 2), "9 ");
  EXPECT_EQ(P().controlledMember, 2);
}

TEST_F(PartyOperationsTest, RejoiningMemberFollowsTheEndOfTheChain) {
  struct Case {
    const char* name;
    std::vector<std::int32_t> targets;  // follow targets of characters 0..2 (3 rejoins)
    std::vector<std::uint8_t> left;     // existence flags of 0..2
    std::int32_t leader;
  } cases[] = {
      {"a straight chain", {-1, 0, 1}, {0, 0, 0}, 2},
      {"a member out of play ends the chain", {-1, 0, 1}, {0, 1, 0}, 0},
      {"the first follower found is taken", {-1, 0, 0}, {0, 0, 0}, 1},
      // 0 follows 2, 2 follows 1, 1 follows 0: the walk ends once every member was visited.
      {"a loop of follow links", {2, 0, 1}, {0, 0, 0}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (std::int32_t k = 0; k < 3; ++k) {
      A(k).targetActor = c.targets[static_cast<std::size_t>(k)];
      A(k).removed = c.left[static_cast<std::size_t>(k)];
    }
    A(3).removed = 1;
    A(3).x = 300;
    A(3).y = 20;
    A(3).targetActor = 0;
    A(c.leader).heading = 1.5f;
    RejoinPartyMember(0, 3);
    EXPECT_EQ(A(3).removed, 0);
    EXPECT_EQ(A(3).targetActor, c.leader);
    EXPECT_EQ(A(3).heading, 1.5f);
    // Placed at the leader and moved to a free grid point near it.
    EXPECT_LE(std::abs(A(3).x - A(c.leader).x), 32.0f);
    EXPECT_LE(std::abs(A(3).y - A(c.leader).y), 32.0f);
    A(c.leader).heading = 0.0f;
  }
}

TEST_F(PartyOperationsTest, RejoiningMemberInPlayOrWithoutPrimary) {
  A(3).targetActor = 2;
  RejoinPartyMember(0, 3);
  EXPECT_EQ(A(3).targetActor, 2) << "a member in play is left alone";
  P().controlledMember = -1;
  A(3).removed = 1;
  RejoinPartyMember(0, 3);
  EXPECT_EQ(P().controlledMember, 3);
  EXPECT_EQ(A(3).targetActor, -1);
  EXPECT_EQ(A(3).removed, 0);
  EXPECT_EQ(A(3).x, 136.0f) << "not moved";
}

// VEHICLEMAIN from a vehicle's trigger: character 1 tries to board the
// stranger's place, a vehicle here.
class VehicleMainTest : public PartyOperationsTest {
 protected:
  void SetUp() override {
    PartyOperationsTest::SetUp();
    shell.currentPlayer = 0;
    A(stranger_).vehicle = 1;
    A(stranger_).x = 56;
    A(stranger_).y = 40;
  }
  void RunFrom(std::int32_t relate, std::int32_t thisActor) {
    CallFrame frame;
    frame.ownerMap = w.map();
    frame.relateActor = relate;
    frame.thisActor = thisActor;
    scriptEngine.callStack[0] = frame;
    scriptEngine.callTop = 0;
    ScriptVehicleMain();
  }
};

TEST_F(VehicleMainTest, NeedsBothRelateAndThisActor) {
  for (auto [relate, self] : {std::pair{-1, 4}, std::pair{1, -1}}) {
    EXPECT_EQ(Raised([&] { RunFrom(relate, self); }), "-1 Incorrect usage of VEHICLEMAIN.");
  }
}

TEST_F(VehicleMainTest, BoardsWithTheKeyOrWhenNoneIsNeeded) {
  struct Case {
    const char* name;
    std::int32_t key;
    std::vector<InventoryEntry> inventory;
    std::int32_t equipped;  // area 1
    bool boards;
  } cases[] = {
      {"no key needed", -1, {}, -1, true},
      {"key in the party's inventory", kKey, {Entry(kItemA, 1), Entry(kKey, 1)}, -1, true},
      {"an entry of count 0 still holds it", kKey, {Entry(kKey, 0)}, -1, true},
      {"key equipped", kKey, {}, kKey, true},
      {"a negative count does not", kKey, {Entry(kKey, -1)}, -1, false},
      {"no key", kKey, {Entry(kItemA, 1)}, -1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    A(stranger_).itemReference.index = c.key;
    A(stranger_).driver = -1;
    A(1).vehicleRidden = -1;
    P().items = c.inventory;
    A(1).equipment[1].item = c.equipped;
    RunFrom(1, stranger_);
    EXPECT_EQ(A(1).vehicleRidden, c.boards ? stranger_ : -1);
    EXPECT_EQ(A(stranger_).driver, c.boards ? 1 : -1);
  }
}

}  // namespace
}  // namespace kiv
