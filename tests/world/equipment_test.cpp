#include "world/equipment.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/error.h"
#include "core/symbol_table.h"
#include "data/game_data.h"
#include "data/object_defaults.h"
#include "data/project_state.h"
#include "script/call_frame.h"
#include "script/script_hooks.h"
#include "support/world_builder.h"
#include "world/sprite_layers.h"

namespace kiv {
namespace {

enum : std::int32_t { kSword, kGun, kBullet, kPotion, kRing };

class EquipmentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildObjectDefaults();
    scriptHooks.Reset();
    scriptHooks.RunTrigger = [this](const TriggerRun& run) {
      runs_.push_back(run);
      // What the character holds when the event runs.
      const Actor& a = C();
      heldAtRun_.push_back(a.equipment[0].item);
      stockAtRun_.push_back(static_cast<std::int32_t>(projectState.players[0].items.size()));
      return Variant();
    };
    SpriteSet body;
    body.slot = objectDefaults.appearanceSlots[0];
    body.usedValues = {0};
    SpriteSet blade;
    blade.slot = SymbolIntern(u"Hand");
    blade.usedValues = {1};
    gameData.spriteSets = {body, blade};
    gameData.statistics.resize(2);
    for (const char16_t* name : {u"Sword", u"Gun", u"Bullet", u"Potion", u"Ring"}) {
      Item item;
      item.name = name;
      item.statisticValues[0] = {0, 0};
      gameData.items.push_back(item);
    }
    Item& sword = gameData.items[kSword];
    sword.statisticValues[0] = {2, 1};
    ItemSpriteLayer sprites;
    sprites.spriteSet.index = 0;
    sprites.parts.resize(1);
    sprites.parts[0].spriteSet.index = 1;
    sword.spriteLayers = {sprites};
    gameData.items[kGun].statisticValues[0] = {5, 0};
    gameData.items[kGun].linkedItem.index = kBullet;
    gameData.items[kGun].valueI = 6;
    gameData.items[kRing].valueZ1 = 1;  // never taken from or returned to the inventory
    gameData.items[kRing].statisticValues[0] = {0, 4};
    projectState.players.resize(1);
    character_ = w.AddCharacter(16, 16, 0);
    Actor& a = C();
    a.owningPlayer = 0;
    a.parts.resize(1);
    a.parts[0].spriteSet = 0;
    a.equipment.resize(2);
    a.statistics.resize(2);
    a.statistics[0] = {Identifier(), 12, 8};
    a.statistics[1] = {Identifier(), 5, 5};
    a.equipment[0].item = kSword;
  }
  void TearDown() override { scriptHooks.Reset(); }

  Actor& C() { return w.M().actors[static_cast<std::size_t>(character_)]; }
  static std::vector<InventoryEntry>& Stock() { return projectState.players[0].items; }
  static void Give(std::int32_t item, std::int32_t quantity, std::int32_t ammo = 0) {
    InventoryEntry entry;
    entry.item = item, entry.quantity = quantity, entry.ammunition = ammo;
    Stock().push_back(entry);
  }
  std::vector<std::int32_t> Stats() {
    std::vector<std::int32_t> out;
    for (const StatisticValue& s : C().statistics) out.insert(out.end(), {s.baseValue, s.currentValue});
    return out;
  }
  bool DrawsBlade() {
    for (const CharacterLayer& layer : C().characterLayers) {
      if (layer.layerSpriteSet == 1) return true;
    }
    return false;
  }

  test::WorldBuilder w{3, 3, 0};
  std::int32_t character_ = -1;
  std::vector<TriggerRun> runs_;
  std::vector<std::int32_t> heldAtRun_, stockAtRun_;
};

TEST_F(EquipmentTest, SwapReturnsThePreviousItemAndTakesTheNewWithItsRounds) {
  Give(kPotion, 1);
  Give(kGun, 1, 5);
  EXPECT_EQ(EquipItem(w.map(), character_, 0, kGun, true), kSword);
  // The sword's modifiers went, the gun's came; the sword is back (at the
  // front), the gun's entry is gone with its rounds in the area.
  EXPECT_EQ(Stats(), (std::vector<std::int32_t>{15, 11, 4, 4}));
  ASSERT_EQ(Stock().size(), 2u);
  EXPECT_EQ(Stock()[0].item, kSword);
  EXPECT_EQ(Stock()[0].quantity, 1);
  EXPECT_EQ(Stock()[1].item, kPotion);
  EXPECT_EQ(C().equipment[0].item, kGun);
  EXPECT_EQ(C().equipment[0].ammunition, 5);
  EXPECT_FALSE(DrawsBlade());
  // Unequipped (3) while the area is empty, then equipped (0) once the gun is in.
  ASSERT_EQ(runs_.size(), 2u);
  EXPECT_EQ(runs_[0].ownerKind, kOwnerItem);
  EXPECT_EQ(runs_[0].ownerIndex, kSword);
  EXPECT_EQ(runs_[0].subIndex, kItemUnequippedEvent);
  EXPECT_EQ(heldAtRun_[0], -1);
  EXPECT_EQ(runs_[1].ownerIndex, kGun);
  EXPECT_EQ(runs_[1].subIndex, kItemEquippedEvent);
  EXPECT_EQ(heldAtRun_[1], kGun);
  for (const TriggerRun& run : runs_) {
    EXPECT_EQ(run.map, w.map());
    EXPECT_EQ(run.relateActor, character_);
  }
}

TEST_F(EquipmentTest, EquippingDrawsTheItemAndUnequippingReturnsItsRounds) {
  C().equipment[0].item = -1;
  Give(kSword, 2);
  EXPECT_EQ(EquipItem(w.map(), character_, 0, kSword, false), -1);
  EXPECT_TRUE(DrawsBlade());
  EXPECT_EQ(Stats(), (std::vector<std::int32_t>{14, 10, 6, 6}));
  EXPECT_EQ(Stock()[0].quantity, 1);
  C().equipment[1] = InventoryEntry{kGun, Identifier(), 0, 0, 4, Identifier()};
  EXPECT_EQ(EquipItem(w.map(), character_, 1, -1, false), kGun);
  ASSERT_EQ(Stock().size(), 2u);
  EXPECT_EQ(Stock()[1].item, kGun);
  EXPECT_EQ(Stock()[1].ammunition, 4);
  EXPECT_EQ(C().equipment[1].item, -1);
  EXPECT_EQ(C().equipment[1].ammunition, 0);
  ASSERT_EQ(runs_.size(), 2u);  // the sword equipped, the gun unequipped
  EXPECT_EQ(runs_[1].subIndex, kItemUnequippedEvent);
}

TEST_F(EquipmentTest, EquippingWhatThePlayerLacksFailsAfterReturningThePrevious) {
  RebuildSpriteLayers(C());
  ASSERT_TRUE(DrawsBlade());
  try {
    EquipItem(w.map(), character_, 0, kPotion, false);
    FAIL() << "no error";
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), kErrData);
    EXPECT_EQ(std::string(e.what()),
              "Player cannot equip the \"Potion\" because the player does not have it.");
  }
  EXPECT_EQ(C().equipment[0].item, -1);
  ASSERT_EQ(Stock().size(), 1u);
  EXPECT_EQ(Stock()[0].item, kSword);
  ASSERT_EQ(runs_.size(), 1u);
  EXPECT_EQ(runs_[0].subIndex, kItemUnequippedEvent);
  EXPECT_EQ(stockAtRun_[0], 1);  // the sword was back before its event ran
  EXPECT_EQ(Stats(), (std::vector<std::int32_t>{10, 6, 4, 4}));
  // The returned sword is no longer drawn.
  EXPECT_FALSE(DrawsBlade());
}

TEST_F(EquipmentTest, NoInventoryItemsAndCharactersOfNoPlayer) {
  struct Case {
    const char* name;
    std::int32_t owner;
    std::int32_t item;
    std::vector<std::int32_t> stockAfter;  // items in the inventory afterwards
  };
  const Case cases[] = {
      {"a no-inventory item comes from nowhere", 0, kRing, {kSword}},
      {"a character of no player takes anything and loses what it took off", -1, kPotion, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Stock().clear();
    C().owningPlayer = c.owner;
    C().equipment[0].item = kSword;
    EXPECT_EQ(EquipItem(w.map(), character_, 0, c.item, false), kSword);
    EXPECT_EQ(C().equipment[0].item, c.item);
    std::vector<std::int32_t> stock;
    for (const InventoryEntry& e : Stock()) stock.push_back(e.item);
    EXPECT_EQ(stock, c.stockAfter);
    EXPECT_TRUE(C().items.empty());
  }
  // Taking the ring off does not return it either.
  C().owningPlayer = 0;
  C().equipment[0].item = kRing;
  Stock().clear();
  EXPECT_EQ(EquipItem(w.map(), character_, 0, -1, false), kRing);
  EXPECT_TRUE(Stock().empty());
}

TEST_F(EquipmentTest, AnAreaOutsideTheListIsARangeError) {
  for (std::int32_t area : {-1, 2}) {
    try {
      EquipItem(w.map(), character_, area, -1, false);
      FAIL() << "no error for " << area;
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), kErrIndex);
    }
  }
}

}  // namespace
}  // namespace kiv
