#include "world/inventory.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/error.h"
#include "data/game_data.h"
#include "data/item_fields.h"
#include "support/world_builder.h"

namespace kiv {
namespace {

enum : std::int32_t { kSword, kGun, kBullet, kPotion };

class InventoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char16_t* name : {u"Sword", u"Gun", u"Bullet", u"Potion"}) {
      Item item;
      item.name = name;
      gameData.items.push_back(item);
    }
    gameData.items[kGun].linkedItem.index = kBullet;  // its ammunition
    gameData.items[kGun].valueI = 6;                  // its clip
    projectState.players.resize(1);
  }

  static std::vector<InventoryEntry>& Stock() { return projectState.players[0].items; }
  static void Give(std::int32_t item, std::int32_t quantity, std::int32_t ammo = 0) {
    InventoryEntry entry;
    entry.item = item, entry.quantity = quantity, entry.ammunition = ammo;
    Stock().push_back(entry);
  }
  // item:quantity/ammo of every entry, in order.
  static std::vector<std::vector<std::int32_t>> Entries(const std::vector<InventoryEntry>& list) {
    std::vector<std::vector<std::int32_t>> out;
    for (const InventoryEntry& e : list) out.push_back({e.item, e.quantity, e.ammunition});
    return out;
  }

  test::WorldBuilder w{3, 3, 0};
};

TEST_F(InventoryTest, ChangePlayerItemCountCases) {
  struct Case {
    const char* name;
    std::vector<std::vector<std::int32_t>> before;  // item, quantity, ammo
    std::int32_t item, quantity, ammo;
    bool atFront, refuse;
    std::int32_t result, ammoAfter;
    std::vector<std::vector<std::int32_t>> after;
  };
  const Case cases[] = {
      {"-5 of 3 removes the entry and reports -3",
       {{kSword, 3, 0}, {kPotion, 1, 0}},
       kSword,
       -5,
       0,
       false,
       false,
       -3,
       0,
       {{kPotion, 1, 0}}},
      {"-3 of 3", {{kSword, 3, 0}}, kSword, -3, 0, false, false, -3, 0, {}},
      {"+2 on 3", {{kSword, 3, 0}}, kSword, 2, 0, false, false, 2, 0, {{kSword, 5, 0}}},
      {"-2 of 3 leaves 1", {{kSword, 3, 0}}, kSword, -2, 0, false, false, -2, 0, {{kSword, 1, 0}}},
      {"refused below zero", {{kSword, 3, 0}}, kSword, -5, 0, false, true, 0, 0, {{kSword, 3, 0}}},
      {"refusal allows exactly zero", {{kSword, 3, 0}}, kSword, -3, 0, false, true, -3, 0, {}},
      {"the first entry of the item",
       {{kSword, 1, 0}, {kSword, 4, 0}},
       kSword,
       2,
       0,
       false,
       false,
       2,
       0,
       {{kSword, 3, 0}, {kSword, 4, 0}}},
      {"new entry at the end",
       {{kSword, 1, 0}},
       kPotion,
       4,
       0,
       false,
       false,
       4,
       0,
       {{kSword, 1, 0}, {kPotion, 4, 0}}},
      {"new entry at the front",
       {{kSword, 1, 0}},
       kPotion,
       4,
       0,
       true,
       false,
       4,
       0,
       {{kPotion, 4, 0}, {kSword, 1, 0}}},
      {"new entry with its rounds", {}, kGun, 1, 3, false, false, 1, 3, {{kGun, 1, 3}}},
      {"a new entry has no rounds to hand out", {}, kPotion, 2, -1, false, false, 2, 0, {{kPotion, 2, 0}}},
      {"nothing to remove", {{kSword, 1, 0}}, kPotion, -2, -1, false, false, 0, 0, {{kSword, 1, 0}}},
      {"nothing added", {}, kPotion, 0, 0, false, false, 0, 0, {}},
      {"rounds loaded up to the clip, the surplus back to the stock",
       {{kGun, 1, 4}, {kBullet, 2, 0}},
       kGun,
       0,
       5,
       false,
       false,
       0,
       5,
       {{kGun, 1, 6}, {kBullet, 5, 0}}},
      {"surplus makes a new stock entry",
       {{kGun, 1, 0}},
       kGun,
       0,
       10,
       false,
       false,
       0,
       10,
       {{kGun, 1, 6}, {kBullet, 4, 0}}},
      {"rounds handed out", {{kGun, 2, 4}}, kGun, -1, -1, false, false, -1, 4, {{kGun, 1, 0}}},
      {"an ending entry returns its rounds as items",
       {{kGun, 1, 4}, {kBullet, 1, 0}},
       kGun,
       -1,
       0,
       false,
       false,
       -1,
       0,
       {{kBullet, 5, 0}}},
      {"a refusal keeps the rounds handed out",
       {{kGun, 1, 4}},
       kGun,
       -2,
       -1,
       false,
       true,
       0,
       4,
       {{kGun, 1, 0}}},
      {"rounds of an item without ammunition item stay",
       {{kSword, 1, 0}},
       kSword,
       0,
       9,
       false,
       false,
       0,
       9,
       {{kSword, 1, 9}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Stock().clear();
    for (const auto& e : c.before) Give(e[0], e[1], e[2]);
    std::int32_t ammo = c.ammo;
    EXPECT_EQ(ChangePlayerItemCount(0, c.item, c.quantity, ammo, c.atFront, c.refuse), c.result);
    EXPECT_EQ(ammo, c.ammoAfter);
    EXPECT_EQ(Entries(Stock()), c.after);
  }
}

TEST_F(InventoryTest, NewEntriesHaveConditionHundred) {
  std::int32_t ammo = 0;
  ChangePlayerItemCount(0, kPotion, 2, ammo, false, false);
  ASSERT_EQ(Stock().size(), 1u);
  EXPECT_EQ(Stock()[0].flag, kNewEntryCondition);
}

TEST_F(InventoryTest, UnknownPlayerIsARangeError) {
  std::int32_t ammo = 0;
  try {
    ChangePlayerItemCount(3, kPotion, 1, ammo, false, false);
    FAIL() << "no error";
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), kErrIndex);
  }
}

TEST_F(InventoryTest, CharacterOfNoPlayerKeepsItsOwnList) {
  const std::int32_t c = w.AddCharacter(16, 16, 0);
  Actor& actor = w.M().actors[static_cast<std::size_t>(c)];
  AddCharacterItem(w.map(), c, kPotion, 5);
  AddCharacterItem(w.map(), c, kSword, 1);
  AddCharacterItem(w.map(), c, kPotion, -1);
  EXPECT_EQ(Entries(actor.items), (std::vector<std::vector<std::int32_t>>{{kPotion, 4, 0}, {kSword, 1, 0}}));
  EXPECT_EQ(actor.items[0].flag, kNewEntryCondition);
  AddCharacterItem(w.map(), c, kPotion, -4);
  EXPECT_EQ(Entries(actor.items), (std::vector<std::vector<std::int32_t>>{{kSword, 1, 0}}));
  // Taking what it lacks leaves nothing behind.
  AddCharacterItem(w.map(), c, kBullet, -2);
  EXPECT_EQ(Entries(actor.items), (std::vector<std::vector<std::int32_t>>{{kSword, 1, 0}}));
  EXPECT_TRUE(Stock().empty());
}

TEST_F(InventoryTest, CharacterOfAPlayerUsesTheInventory) {
  const std::int32_t c = w.AddCharacter(16, 16, 0);
  w.M().actors[static_cast<std::size_t>(c)].owningPlayer = 0;
  Give(kPotion, 1);
  AddCharacterItem(w.map(), c, kPotion, 2);
  AddCharacterItem(w.map(), c, kSword, -1);
  EXPECT_EQ(Entries(Stock()), (std::vector<std::vector<std::int32_t>>{{kPotion, 3, 0}}));
  EXPECT_TRUE(w.M().actors[static_cast<std::size_t>(c)].items.empty());
}

TEST_F(InventoryTest, ItemValuesByName) {
  Item item;
  item.valueI = 12;
  item.valueZ1 = 1;
  item.linkedItem.index = 4;
  item.statisticValues[0] = {3, -2};
  EXPECT_EQ(ItemClipSize(item), 12);
  EXPECT_EQ(ItemNoInventory(item), 1);
  EXPECT_EQ(ItemAmmoItem(item), 4);
  EXPECT_EQ(ItemStatModifiers(item), (std::vector<std::int32_t>{3, -2}));
  ItemSpriteLayerPart part;
  part.slot = static_cast<std::int32_t>(0xFF804020u);
  EXPECT_EQ(ItemSpritePartColour(part), 0xFF804020u);
}

}  // namespace
}  // namespace kiv
