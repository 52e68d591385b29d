#include "data/item_set.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/symbol_table.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "support/set_writers.h"
#include "support/sprite_set_writer.h"

namespace kiv {
namespace {

using test::ItemFixture;

Identifier Id(std::uint8_t fill) {
  Identifier id;
  IdFill(id, fill);
  return id;
}

class ItemSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SymbolTableReset();
    RegisterScriptIdentifiers();
    scriptTable.Reset();
    gameData.Reset();
    gameData.statistics.assign(3, Statistic());
    for (std::uint8_t k = 0; k < 3; ++k) gameData.statistics[k].id = Id(static_cast<std::uint8_t>(0xA0 + k));
  }
  void TearDown() override {
    gameData.Reset();
    scriptTable.Reset();
  }

  const Item& Read(const ItemFixture& fixture) {
    gameData.items.assign(1, Item());
    ReadItemSet(test::ItemFileBytes(fixture), 0);
    return gameData.items[0];
  }
};

TEST_F(ItemSetTest, ReadsTheCurrentLayout) {
  ItemFixture f;
  f.id = Id(1);
  f.flagA = 1;
  f.kindNumber = 1;
  f.value64 = 0x0102030405060708;
  f.soundIds = {Id(0x51), Id(0x52), Id(0x53), Id(0x54), Id(0x55)};
  f.spriteSetIds = {Id(0x61), Id(0x62), Id(0x63), Id(0x64)};
  f.linkedItemId = Id(0x70);
  f.equipmentAreaId = Id(0x71);
  f.imageValues[7] = {8, 9};
  f.valueH = 2.5f;
  f.valueS = 33;
  f.spriteLayers = {{Id(0x81), {{Id(0x82), 4}, {Id(0x83), 5}}}};
  f.statistics = {{Id(0xA2), {10, 11, 12}}, {Id(0xEE), {1, 2, 3}}, {Id(0xA0), {20, 21, 22}}};
  f.flagsX = 3;
  f.valueY = 6;
  f.kind = u"Equipment";
  f.valueZ2 = 9;
  f.templateFlags = {{Id(0x90), 1}};
  f.scripts[3] = test::LongScriptWithStatement();

  const Item& item = Read(f);
  EXPECT_EQ(item.id, Id(1));
  EXPECT_EQ(item.flagA, 1);
  EXPECT_EQ(item.displayName, u"Sword display");
  EXPECT_EQ(item.kindNumber, 1);
  EXPECT_EQ(item.value64, 0x0102030405060708);
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(item.sounds[i].index, -2);
    EXPECT_EQ(item.sounds[i].id, f.soundIds[i]);
  }
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(item.spriteSets[i].id, f.spriteSetIds[i]);
  EXPECT_EQ(item.linkedItem.index, -2);
  EXPECT_EQ(item.equipmentArea.id, Id(0x71));
  EXPECT_EQ(item.images[7].value2, 9);
  EXPECT_EQ(item.valueC, 60);
  EXPECT_EQ(item.valueD, 70);
  EXPECT_FLOAT_EQ(item.valueH, 2.5f);
  EXPECT_EQ(item.valueS, 33);
  ASSERT_EQ(item.spriteLayers.size(), 1u);
  ASSERT_EQ(item.spriteLayers[0].parts.size(), 2u);
  EXPECT_EQ(item.spriteLayers[0].parts[1].spriteSet.id, Id(0x83));
  EXPECT_EQ(item.spriteLayers[0].parts[1].slot, 5);
  // Values of unknown statistics are skipped; the rest land by identifier.
  EXPECT_EQ(item.statisticValues[0], (std::vector<std::int32_t>{20, 0, 10}));
  EXPECT_EQ(item.statisticValues[2], (std::vector<std::int32_t>{22, 0, 12}));
  EXPECT_EQ(item.flagsX, 3);
  EXPECT_EQ(item.valueY, 6);
  EXPECT_EQ(item.kind, u"Equipment");
  EXPECT_EQ(item.valueZ2, 9);
  ASSERT_EQ(item.templateFlags.size(), 1u);
  EXPECT_TRUE(item.scripts[3].hasStatements);
  EXPECT_EQ(scriptTable.scripts.size(), 1u);
}

TEST_F(ItemSetTest, DefaultsOfOlderItems) {
  ItemFixture f;
  f.version = 100789;
  f.valueC = 60;
  f.valueD = 99;  // not stored
  EXPECT_EQ(Read(f).valueD, 60);

  f.version = 100583;
  f.flagE = 0;
  const Item& old = Read(f);
  EXPECT_EQ(old.valueC, 48);
  EXPECT_EQ(old.valueD, 48);
  EXPECT_EQ(old.flagE, 0);  // stored from 100582
  f.version = 100581;
  EXPECT_EQ(Read(f).flagE, 1);

  f = ItemFixture();
  f.valueU = 0;
  EXPECT_EQ(Read(f).valueU, 1);
  f.valueU = -5;
  EXPECT_EQ(Read(f).valueU, 1);
}

TEST_F(ItemSetTest, KindOfItemsBefore100763) {
  struct Case {
    const char* name;
    Identifier area;
    std::int32_t kindNumber;
    std::u16string kind;
  };
  const Case cases[] = {
      {"equipment", Id(3), 1, u"Equipment"},
      {"magic", Identifier(), 1, u"Magic"},
      {"common", Identifier(), 0, u"Common"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ItemFixture f;
    f.version = 100762;
    f.equipmentAreaId = c.area;
    f.kindNumber = c.kindNumber;
    f.kind = u"Stored";
    EXPECT_EQ(Read(f).kind, c.kind);
  }
}

TEST_F(ItemSetTest, FlagAOfItemsBefore100776) {
  struct Case {
    std::int32_t valueF;
    std::uint8_t expected;
  };
  for (const Case c : {Case{0, 0}, Case{3, 1}}) {
    ItemFixture f;
    f.version = 100775;
    f.valueF = c.valueF;
    f.flagN = 1;
    f.spriteSetIds[3] = Id(4);
    EXPECT_EQ(Read(f).flagA, c.expected);
  }
}

// Items of every layout gate read to the end: the fields around each gate
// land where they belong.
TEST_F(ItemSetTest, EveryVersionGateReadsThrough) {
  const std::int32_t versions[] = {
      100309, 100353, 100354, 100378, 100380, 100381, 100384, 100385, 100393, 100395, 100398, 100405, 100430,
      100437, 100438, 100444, 100453, 100460, 100472, 100473, 100476, 100478, 100480, 100488, 100492, 100494,
      100544, 100582, 100584, 100665, 100666, 100718, 100719, 100720, 100763, 100776, 100789, 100790};
  for (std::int32_t version : versions) {
    SCOPED_TRACE(version);
    ItemFixture f;
    f.version = version;
    f.name = u"Name";
    f.valueT = 71;
    f.flagV = 5;
    f.statistics = {{Id(0xA1), {4, 5, 6}}};
    f.soundName = u"Clang";
    for (auto& script : f.scripts) script.text = u"' note";
    const Item& item = Read(f);
    EXPECT_EQ(item.name, u"Name");
    EXPECT_EQ(item.displayName, version >= 100492 ? u"Sword display" : u"Name");
    EXPECT_EQ(item.valueT, 71);
    EXPECT_EQ(item.flagV, 5);
    if (version >= 100384) {
      EXPECT_EQ(item.statisticValues[0][1], 4);
      EXPECT_EQ(item.statisticValues[1][1], version >= 100473 ? 5 : 0);
      EXPECT_EQ(item.statisticValues[2][1], version >= 100488 ? 6 : 0);
    }
    EXPECT_EQ(item.soundName1, version >= 100378 && version < 100405 ? u"Clang" : u"");
    EXPECT_EQ(item.sounds[0].index, version >= 100405 ? -2 : -1);
    EXPECT_EQ((item.flagsX & 0x40) != 0, version < 100544);
    EXPECT_EQ(item.valueY, version >= 100385 ? 0 : 1);
    EXPECT_EQ(item.scripts[0].text, u"' note");
  }
}

TEST_F(ItemSetTest, DamagedFiles) {
  ItemFixture f;
  f.version = 100737;
  f.statistics = {{Id(0xA1), {4, 5, 6}}};
  f.spriteLayers = {{Id(1), {{Id(2), 3}}}};
  const ByteList bytes = test::ItemFileBytes(f);
  for (std::size_t size = 25; size < bytes.size(); size += 11) {
    gameData.items.assign(1, Item());
    try {
      ReadItemSet(ByteList(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)), 0);
      FAIL() << size;
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), kErrData);
    }
  }
}

}  // namespace
}  // namespace kiv
