#include "data/item_fields.h"

#include <gtest/gtest.h>

#include "core/symbol_table.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/item_set.h"
#include "data/linking.h"
#include "data/map_object_settings.h"
#include "data/sprite_records.h"
#include "media/sound_sets.h"
#include "support/set_writers.h"

namespace kiv {
namespace {

Identifier Id(std::uint8_t fill) {
  Identifier id;
  IdFill(id, fill);
  return id;
}

// An item written by the item writer, read and linked against small tables
// whose positions differ from the slots, so that every name is seen to pick
// its own value.
class ItemFieldsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SymbolTableReset();
    RegisterScriptIdentifiers();
    scriptTable.Reset();
    gameData.Reset();
    soundSets.assign(6, SoundSet());
    for (std::uint8_t k = 0; k < 6; ++k) soundSets[k].id = Id(static_cast<std::uint8_t>(0x50 + k));
    gameData.spriteSets.assign(5, SpriteSet());
    for (std::uint8_t k = 0; k < 5; ++k) gameData.spriteSets[k].id = Id(static_cast<std::uint8_t>(0x60 + k));
    mapObjectSettings.equipmentAreaIds = {Id(0x70), Id(0x71), Id(0x72)};
    gameData.actorTemplates.assign(3, ActorTemplate());
    for (std::uint8_t k = 0; k < 3; ++k) gameData.actorTemplates[k].id = Id(static_cast<std::uint8_t>(0x90 + k));
    gameData.statistics.assign(2, Statistic());
    for (std::uint8_t k = 0; k < 2; ++k) gameData.statistics[k].id = Id(static_cast<std::uint8_t>(0xA0 + k));
  }
  void TearDown() override {
    gameData.Reset();
    scriptTable.Reset();
    soundSets.clear();
    mapObjectSettings = MapObjectSettings();
  }

  const Item& ReadAndLink(const test::ItemFixture& f) {
    gameData.items.assign(4, Item());
    for (std::uint8_t k = 0; k < 4; ++k) gameData.items[k].id = Id(static_cast<std::uint8_t>(0x80 + k));
    ReadItemSet(test::ItemFileBytes(f), 0);
    LinkItemSet(0);
    return gameData.items[0];
  }
};

TEST_F(ItemFieldsTest, EveryNameReadsItsOwnValue) {
  test::ItemFixture f;
  f.id = Id(0x80);
  f.flagA = 1;
  f.kindNumber = 1;
  f.valueB = 3;
  f.soundIds = {Id(0x55), Id(0x54), Id(0x53), Id(0x52), Id(0x51)};
  f.spriteSetIds = {Id(0x64), Id(0x63), Id(0x62), Id(0x61)};
  f.linkedItemId = Id(0x83);
  f.equipmentAreaId = Id(0x72);
  f.flagE = 2;
  f.valueF = 35;
  f.valueG = 400;
  f.valueH = 0.75f;
  f.valueI = 6;
  f.valueJ = 250;
  f.valueK = 3;
  f.valueL = 1200;
  f.valueM = 160;
  f.flagN = 1;
  f.valueO = 500;
  f.flagP = 1;
  f.valueQ = 48;
  f.valueR = 4;
  f.valueS = 32;
  f.valueT = 2;
  f.valueU = 90;
  f.flagV = 1;
  f.valueW = 7;
  f.statistics = {{Id(0xA1), {11, 12, 13}}, {Id(0xA0), {1, 2, -20}}};
  f.flagsX = kItemAutomatic | kItemOnDead;
  f.valueY = kEffectOnValues | kEffectOnMaximums;
  f.valueZ1 = 1;
  f.valueZ2 = -5;
  f.templateFlags = {{Id(0x92), 1}, {Id(0x90), 0}};
  const Item& item = ReadAndLink(f);

  EXPECT_EQ(ItemFlags(item), kItemAutomatic | kItemOnDead);
  EXPECT_EQ(ItemEffectFlags(item), kEffectOnValues | kEffectOnMaximums);
  EXPECT_TRUE(ItemUnlit(item));
  EXPECT_EQ(ItemNoInventory(item), 1);
  EXPECT_EQ(ItemHoldingArea(item), 2);
  EXPECT_EQ(ItemStatModifiers(item), (std::vector<std::int32_t>{1, 11}));
  EXPECT_EQ(ItemStatCost(item), (std::vector<std::int32_t>{2, 12}));
  EXPECT_EQ(ItemStatChange(item), (std::vector<std::int32_t>{-20, 13}));
  EXPECT_EQ(ItemStatAt(ItemStatChange(item), 1), 13);
  EXPECT_EQ(ItemStatAt(ItemStatChange(item), 2), 0);

  EXPECT_EQ(ItemAmmoItem(item), 3);
  EXPECT_EQ(ItemAmmoUse(item), 2);
  EXPECT_EQ(ItemClipSize(item), 6);
  EXPECT_EQ(ItemReloadTime(item), 1200);
  EXPECT_EQ(ItemFireDelay(item), 250);
  EXPECT_EQ(ItemProjectileCount(item), 3);
  EXPECT_EQ(ItemProjectileSprite(item), 2);
  EXPECT_FLOAT_EQ(ItemAccuracy(item), 0.75f);
  EXPECT_EQ(ItemAlertRadius(item), 160);
  EXPECT_EQ(ItemRange(item), 400);
  EXPECT_EQ(ItemStandToFire(item), 1);
  EXPECT_EQ(ItemReach(item), 48);
  EXPECT_EQ(ItemReachBackward(item), 4);
  EXPECT_EQ(ItemReachSideways(item), 32);
  EXPECT_EQ(ItemAttackPoseFlag5(item), 1);
  EXPECT_EQ(ItemAttackPoseFlag4(item), 1);

  EXPECT_EQ(ItemUseSound(item), 5);
  EXPECT_EQ(ItemHitSound(item), 4);
  EXPECT_EQ(ItemReloadSound(item), 3);
  EXPECT_EQ(ItemEmptySound(item), 2);
  EXPECT_EQ(ItemProjectileHitSound(item), 1);
  EXPECT_EQ(ItemUseEffect(item), 4);
  EXPECT_EQ(ItemHitEffect(item), 3);
  EXPECT_EQ(ItemExplosionSprite(item), 1);

  EXPECT_EQ(ItemProjectileKindFlag(item), 1);
  EXPECT_EQ(ItemProjectileSubKind(item), 2);
  EXPECT_EQ(ItemProjectileDamage(item), 35);
  EXPECT_EQ(ItemProjectileDamageInterval(item), 500);
  EXPECT_FLOAT_EQ(ItemProjectileSpeed(item), 3.0f);
  EXPECT_FLOAT_EQ(ItemProjectileTurnRate(item), 7.0f);
  EXPECT_EQ(ItemProjectileHomingRange(item), 90);
  EXPECT_FLOAT_EQ(ItemProjectileVerticalSpeed(item), -5.0f);

  // The template table is realigned to the templates: 0 listed off, 1 absent, 2 on.
  EXPECT_FALSE(ItemImmuneTemplate(item, 0));
  EXPECT_FALSE(ItemImmuneTemplate(item, 1));
  EXPECT_TRUE(ItemImmuneTemplate(item, 2));
  EXPECT_FALSE(ItemImmuneTemplate(item, -1));
  EXPECT_FALSE(ItemImmuneTemplate(item, 3));
}

TEST_F(ItemFieldsTest, AnItemWithoutReferencesNamesNone) {
  test::ItemFixture f;
  f.id = Id(0x80);
  const Item& item = ReadAndLink(f);
  EXPECT_EQ(ItemAmmoItem(item), -1);
  EXPECT_EQ(ItemHoldingArea(item), -1);
  EXPECT_EQ(ItemProjectileSprite(item), -1);
  EXPECT_EQ(ItemUseSound(item), -1);
  EXPECT_EQ(ItemEmptySound(item), -1);
  EXPECT_EQ(ItemHitEffect(item), -1);
  EXPECT_EQ(ItemExplosionSprite(item), -1);
}

}  // namespace
}  // namespace kiv
