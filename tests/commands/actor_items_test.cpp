// Items and equipment of actors on the real script engine: a player's
// character sharing its party's inventory beside a character of no player
// with its own items.
#include <string>

#include "actor_properties_fixture.h"
#include "data/object_defaults.h"
#include "data/project_state.h"
#include "dialogs/player_settings.h"

namespace kiv::test {
namespace {

enum : std::int32_t { kSword, kAxe, kRing, kBread, kFire };
enum : std::int32_t { kHand, kFinger };

class ActorItemsTest : public ActorPropertiesTest {
 protected:
  void SetUp() override {
    ActorPropertiesTest::SetUp();
    BuildObjectDefaults();
    playerSettings.voiceEnabled = false;
    const char16_t* names[] = {u"Sword", u"Axe", u"Ring", u"Bread", u"Fire"};
    const std::int32_t weights[] = {5, 7, 1, 2, 0};
    for (std::size_t k = 0; k < std::size(names); ++k) {
      Item item;
      item.name = names[k];
      item.displayName = std::u16string(u"the ") + names[k];
      item.valueB = weights[k];
      item.statisticValues[0] = {0};
      gameData.items.push_back(item);
    }
    gameData.items[kSword].equipmentArea.index = kHand;
    gameData.items[kAxe].equipmentArea.index = kHand;
    gameData.items[kFire].equipmentArea.index = kHand;
    gameData.items[kRing].equipmentArea.index = kFinger;
    gameData.statistics.resize(1);
    projectState.equipmentAreas.resize(2);
    projectState.equipmentAreas[kHand].name = u"Hand";
    projectState.equipmentAreas[kFinger].name = u"Finger";

    hero_ = AddNamed(u"Hero", 100, 100, 0);
    goblin_ = AddNamed(u"Goblin", 200, 100, 0);
    for (std::int32_t a : {hero_, goblin_}) {
      At(a).equipment.resize(2);
      At(a).statistics.resize(1);
    }
    projectState.players.assign(1, Player());
    Player& player = projectState.players[0];
    player.mapIndex = 0;
    PartyMember member;
    member.character = hero_;
    member.magic = {Entry(kFire, 1), Entry(-1, 0)};
    player.party = {member};
    player.controlledMember = 0;
    At(hero_).owningPlayer = 0;
    At(hero_).partyMember = 0;
  }

  static InventoryEntry Entry(std::int32_t item, std::int32_t count) {
    InventoryEntry e;
    e.item = item;
    e.quantity = count;
    return e;
  }
  static Player& P() { return projectState.players[0]; }
  Actor& Hero() { return At(hero_); }
  Actor& Goblin() { return At(goblin_); }
  static Variant Names(std::initializer_list<const char16_t*> names) {
    std::vector<Variant> elements;
    for (const char16_t* name : names) elements.push_back(Variant::Text(name));
    return Variant::Array(kVarString, std::move(elements));
  }

  std::int32_t hero_ = -1;
  std::int32_t goblin_ = -1;
};

TEST_F(ActorItemsTest, CountsOfItemsAndAmmunition) {
  P().items = {Entry(kSword, 2), Entry(kBread, 4)};
  Hero().equipment[kHand].item = kSword;
  Goblin().items = {Entry(kSword, 1)};
  Goblin().equipment[kHand].item = kSword;
  EXPECT_EQ(Read(kObjectActor, hero_, u"ItemCount", {Text(u"Sword")}), Variant::Long(3));
  EXPECT_EQ(Read(kObjectActor, goblin_, u"ItemCount", {Text(u"Sword")}), Variant::Long(1));
  EXPECT_EQ(Read(kObjectActor, hero_, u"ItemInventoryCount", {Text(u"Sword")}), Variant::Long(2));
  EXPECT_EQ(Raised([&] { Assign(kObjectActor, hero_, u"ItemCount", Variant::Long(5), {Text(u"Sword")}); }),
            "-1 You cannot change the item count directly this way. Use Add/Remove Item.");
  // Bread uses neither ammunition nor units: "" although the party holds it.
  EXPECT_EQ(Read(kObjectActor, hero_, u"Ammo", {Text(u"Bread")}), Text(u""));
  EXPECT_EQ(Read(kObjectActor, goblin_, u"Ammo", {Text(u"Sword")}), Text(u""));
  EXPECT_NE(Raised([&] { Read(kObjectActor, hero_, u"ItemCount", {Text(u"Shield")}); }), "no error");
}

TEST_F(ActorItemsTest, AddingAndSettingInventoryCounts) {
  On(kObjectActor, goblin_, u"AddItem", {Text(u"Bread")});
  On(kObjectActor, goblin_, u"AddItem", {Text(u"Bread"), Variant::Long(3)});
  EXPECT_EQ(Read(kObjectActor, goblin_, u"ItemInventoryCount", {Text(u"Bread")}), Variant::Long(4));
  Assign(kObjectActor, goblin_, u"ItemInventoryCount", Variant::Long(1), {Text(u"Bread")});
  EXPECT_EQ(Goblin().items.at(0).quantity, 1);
  Assign(kObjectActor, hero_, u"ItemInventoryCount", Variant::Long(6), {Text(u"Axe")});
  EXPECT_EQ(P().items.at(0).item, kAxe);
  EXPECT_EQ(P().items.at(0).quantity, 6);
}

TEST_F(ActorItemsTest, ItemProbabilityOfACharacterOfNoPlayer) {
  Goblin().items = {Entry(kBread, 1)};
  struct Case {
    std::int32_t assigned;
    std::int32_t stored;
  } cases[] = {{40, 40}, {0, 0}, {100, 100}, {150, 100}};
  for (const Case& c : cases) {
    Assign(kObjectActor, goblin_, u"ItemProbability", Variant::Long(c.assigned), {Text(u"Bread")});
    EXPECT_EQ(Goblin().items[0].flag, c.stored) << c.assigned;
    EXPECT_EQ(Read(kObjectActor, goblin_, u"ItemProbability", {Text(u"Bread")}), Variant::Byte(c.stored));
  }
  EXPECT_EQ(Raised([&] { Read(kObjectActor, goblin_, u"ItemProbability", {Text(u"Axe")}); }),
            "-1 You cannot get the probability of the item \"Axe\" as the character \"Goblin\" does not have it.");
  EXPECT_EQ(Raised([&] { Assign(kObjectActor, goblin_, u"ItemProbability", Variant::Long(5), {Text(u"Axe")}); }),
            "-1 You cannot change the probability of the item \"Axe\" as the character \"Goblin\" does not have it.");
  P().items = {Entry(kBread, 1)};
  EXPECT_EQ(Read(kObjectActor, hero_, u"ItemProbability", {Text(u"Bread")}), Variant::Byte(0));
  EXPECT_EQ(Raised([&] { Assign(kObjectActor, hero_, u"ItemProbability", Variant::Long(5), {Text(u"Bread")}); }),
            "-1 You cannot change the item probability for a playable character.");
}

TEST_F(ActorItemsTest, ListsOfItems) {
  P().items = {Entry(kRing, 1), Entry(kAxe, 2), Entry(kSword, 1)};
  Goblin().items = {Entry(kBread, 3), Entry(kSword, 2)};
  EXPECT_EQ(Read(kObjectActor, hero_, u"Items"), Names({u"Ring", u"Axe", u"Sword"}));
  EXPECT_EQ(Read(kObjectActor, hero_, u"ItemsForEquipment", {Text(u"Hand")}), Names({u"Axe", u"Sword", u"Fire"}));
  EXPECT_EQ(Read(kObjectActor, goblin_, u"ItemsForEquipment", {Text(u"Hand")}), Names({u"Sword"}));
  EXPECT_EQ(Read(kObjectActor, goblin_, u"ItemsForEquipment", {Text(u"Finger")}), Names({}));
  EXPECT_EQ(Read(kObjectActor, hero_, u"Magic"), Names({u"Fire"}));
  EXPECT_EQ(Read(kObjectActor, goblin_, u"Magic"), Names({}));
  EXPECT_EQ(Read(kObjectActor, hero_, u"ItemTotalWeight"), Variant::Long(1 + 14 + 5));
  EXPECT_EQ(Read(kObjectActor, goblin_, u"ItemTotalWeight"), Variant::Long(6 + 10));
}

TEST_F(ActorItemsTest, EquippingAndUnequipping) {
  P().items = {Entry(kSword, 1), Entry(kAxe, 1)};
  On(kObjectActor, hero_, u"Equip", {Text(u"Hand"), Text(u"Sword")});
  EXPECT_EQ(Hero().equipment[kHand].item, kSword);
  EXPECT_EQ(Read(kObjectActor, hero_, u"Equipment", {Text(u"Hand")}), Text(u"Sword"));
  EXPECT_EQ(Read(kObjectActor, hero_, u"Equipment", {Text(u"Finger")}), Text(u""));
  EXPECT_EQ(Raised([&] { Assign(kObjectActor, hero_, u"Equipment", Text(u"Axe"), {Text(u"Hand")}); }),
            "-1 You cannot directly access equipment this way. Use Equip/Unequip.");
  // Unequip with discard: the sword goes back to the inventory and then away.
  On(kObjectActor, hero_, u"Unequip", {Text(u"Hand"), Variant::Long(-1)});
  EXPECT_EQ(Hero().equipment[kHand].item, -1);
  EXPECT_EQ(Read(kObjectActor, hero_, u"ItemInventoryCount", {Text(u"Sword")}), Variant::Long(0));
  // Unequipping an empty slot does nothing.
  const auto before = P().items.size();
  On(kObjectActor, hero_, u"Unequip", {Text(u"Hand"), Variant::Long(-1)});
  EXPECT_EQ(P().items.size(), before);
  // Equip with give: the goblin gets an axe and wears it.
  On(kObjectActor, goblin_, u"Equip", {Text(u"Hand"), Text(u"Axe"), Variant::Long(-1)});
  EXPECT_EQ(Goblin().equipment[kHand].item, kAxe);
}

TEST_F(ActorItemsTest, EquipSequentialNeedsAPlayersCharacter) {
  EXPECT_EQ(Raised([&] { On(kObjectActor, goblin_, u"EquipSequential", {Text(u"Hand"), Variant::Long(-1)}); }),
            "-1 Changing equipment sequentially does not work with non-playable character.");
  P().items = {Entry(kRing, 1), Entry(kAxe, 1)};
  On(kObjectActor, hero_, u"EquipSequential", {Text(u"Hand"), Variant::Long(-1)});
  EXPECT_EQ(Hero().equipment[kHand].item, kAxe);
}

TEST_F(ActorItemsTest, AnAreaPastTheActorsSlotsIsErrorNine) {
  Hero().equipment.resize(1);  // no Finger slot
  P().items = {Entry(kRing, 1)};
  for (const char16_t* name : {u"Equipment", u"EquipmentAction"}) {
    EXPECT_EQ(Raised([&] { Read(kObjectActor, hero_, name, {Text(u"Finger")}); }).substr(0, 2), "9 ")
        << Utf16ToUtf8(name);
  }
  EXPECT_EQ(Raised([&] { On(kObjectActor, hero_, u"Equip", {Text(u"Finger"), Text(u"Ring")}); }).substr(0, 2), "9 ");
  EXPECT_EQ(P().items.at(0).quantity, 1) << "nothing changed";
  EXPECT_NE(Raised([&] { Read(kObjectActor, hero_, u"Equipment", {Text(u"Tail")}); }), "no error");
}

TEST_F(ActorItemsTest, EquipmentActionClearsTheFiredPressOnAssignment) {
  InventoryEntry& slot = Hero().equipment[kHand];
  slot.pressFired = 1;
  EXPECT_EQ(Read(kObjectActor, hero_, u"EquipmentAction", {Text(u"Hand")}), Variant::Byte(0));
  EXPECT_EQ(Hero().equipment[kHand].pressFired, 1) << "a read leaves it";
  Assign(kObjectActor, hero_, u"EquipmentAction", Variant::Long(-1), {Text(u"Hand")});
  EXPECT_EQ(Hero().equipment[kHand].flag, 1);
  EXPECT_EQ(Hero().equipment[kHand].pressFired, 0);
}

}  // namespace
}  // namespace kiv::test
