// Items, effects, sprites, fonts, equipment areas and statistics seen from
// scripts: what each identifier reads, the refusals of the read-only kinds
// and references past the end of their tables.
#include <gtest/gtest.h>

#include "data/game_data.h"
#include "data/item_set.h"
#include "data/project_state.h"
#include "object_kind_fixture.h"
#include "script/project_options.h"
#include "support/set_writers.h"
#include "world/map_systems.h"

namespace kiv::test {
namespace {

class GameDataPropertiesTest : public ObjectKindTest {
 protected:
  void SetUp() override {
    ObjectKindTest::SetUp();
    gameData.statistics.assign(4, Statistic());
    const char16_t* statNames[] = {u"HP", u"MP", u"Strength", u"Speed"};
    for (std::size_t k = 0; k < 4; ++k) {
      gameData.statistics[k].name = statNames[k];
      gameData.statistics[k].displayName = std::u16string(statNames[k]) + u" shown";
    }
    projectState.equipmentAreas.assign(2, EquipmentArea());
    projectState.equipmentAreas[0].name = u"Head";
    projectState.equipmentAreas[1].name = u"Hand";
    projectState.equipmentAreas[1].displayName = u"Right hand";

    gameData.items.assign(3, Item());
    Item& sword = gameData.items[0];
    sword.name = u"Sword";
    sword.displayName = u"Old sword";
    sword.equipmentArea.index = 1;
    sword.statisticValues[0] = {0, 0, 7};  // shorter than the table: Speed reads 0
    Item& bow = gameData.items[1];
    bow.name = u"Bow";
    bow.linkedItem.index = 2;
    bow.valueT = 1;  // ammo use
    Item& arrow = gameData.items[2];
    arrow.name = u"Arrow";
    arrow.linkedItem.index = -1;
    arrow.equipmentArea.index = -1;
    sword.linkedItem.index = -1;

    gameData.spriteSets.assign(2, SpriteSet());
    gameData.spriteSets[0].name = u"  EFFECT Boom  ";
    gameData.spriteSets[0].displayName = u"Big boom";
    gameData.spriteSets[1].name = u"Torch";
    gameData.fontSets.assign(1, FontSet());
    gameData.fontSets[0].name = u"Serif";
    gameData.fontSets[0].displayName = u"Serif font";
    gameData.fontSets[0].lineHeight = 17;
    mapSystems.Reset();
  }

  void TearDown() override {
    gameData.items.clear();
    gameData.spriteSets.clear();
    gameData.fontSets.clear();
    gameData.statistics.clear();
    projectState.equipmentAreas.clear();
    mapSystems.Reset();
    ObjectKindTest::TearDown();
  }

  Variant ItemRead(std::int32_t item, const std::u16string& name, const std::vector<Variant>& arguments = {}) {
    return Read(RunItemProperty, kObjectItem, item, name, arguments);
  }
};

TEST_F(GameDataPropertiesTest, ItemShopValuesAreTheFieldsTheItemFileKeeps) {
  ItemFixture fixture;
  fixture.name = u"Potion";
  fixture.displayName = u"Red potion";
  fixture.text = u"Heals a little.";
  fixture.value64 = 123456;  // 12.3456 in ten-thousandths
  fixture.valueB = 3;
  fixture.valueI = 6;
  fixture.valueT = 2;
  ReadItemSet(ItemFileBytes(fixture), 0);

  EXPECT_EQ(ItemRead(0, u"Name"), Variant::Text(u"Potion"));
  EXPECT_EQ(ItemRead(0, u"Title"), Variant::Text(u"Red potion"));
  EXPECT_EQ(ItemRead(0, u"Description"), Variant::Text(u"Heals a little."));
  const Variant price = ItemRead(0, u"Price");
  EXPECT_EQ(price.Type(), kVarCurrency);
  EXPECT_EQ(VarToText(price), u"12.3456");
  EXPECT_EQ(ItemRead(0, u"Weight"), Variant::Long(3));
  EXPECT_EQ(ItemRead(0, u"ClipSize"), Variant::Long(6));
  EXPECT_EQ(ItemRead(0, u"AmmoUse"), Variant::Long(2));
}

TEST_F(GameDataPropertiesTest, AmmoTypeAndAmmoItem) {
  struct Case {
    std::int32_t ammoItem;
    std::int32_t ammoUse;
    const char16_t* type;
    const char16_t* item;
  } cases[] = {
      {-1, 0, u"", u""},
      {-1, 2, u"Count", u""},
      {-1, 1, u"Count", u""},
      {2, 0, u"Ammo", u"Arrow"},
      {2, 3, u"Ammo", u"Arrow"},
  };
  for (const Case& c : cases) {
    gameData.items[1].linkedItem.index = c.ammoItem;
    gameData.items[1].valueT = c.ammoUse;
    EXPECT_EQ(ItemRead(1, u"AmmoType"), Variant::Text(c.type)) << c.ammoItem << " " << c.ammoUse;
    EXPECT_EQ(ItemRead(1, u"AmmoItem"), Variant::Text(c.item)) << c.ammoItem << " " << c.ammoUse;
  }
}

TEST_F(GameDataPropertiesTest, UsageHoldsOnlyWhenEveryNamedFlagIsSet) {
  struct Case {
    std::int32_t flags;
    std::vector<Variant> keywords;
    std::int16_t expected;
  } cases[] = {
      {0, {}, 1},
      {2, Texts({u"menu"}), 1},
      {2, Texts({u"menu", u"battle"}), 0},
      {6, Texts({u"menu", u"battle"}), 1},
      {64 | 2, Texts({u"sellable"}), 1},
      {1, Texts({u"battle", u"continuous"}), 0},
  };
  for (const Case& c : cases) {
    gameData.items[0].flagsX = c.flags;
    const Variant usage = ItemRead(0, u"Usage", c.keywords);
    EXPECT_EQ(usage.Type(), kVarInteger);
    EXPECT_EQ(usage, Variant::Integer(c.expected)) << c.flags;
  }
  const std::int32_t keywords = Collection(u"wanted", Texts({u"menu", u"battle"}));
  gameData.items[0].flagsX = 2;
  const ScriptValue fromCollection = [&] {
    CallFrame& frame = TopFrame();
    frame.valueStack.assign({ScriptValue{kValueCollection, Variant::Long(keywords), 0}, ScriptValue{}});
    frame.stackBase = 0;
    frame.valueStackTop = 0;
    ScriptValue object{kObjectItem, Variant::Long(0), -1};
    ScriptValue result;
    ScriptObjectProperty(SymbolIntern(u"Usage"), object, 0, result, kModeRead, Variant(), true);
    return result;
  }();
  EXPECT_EQ(fromCollection.value, Variant::Integer(0));
  EXPECT_NE(Raised([&] { ItemRead(0, u"Usage", Texts({u"flying"})); }), "no error");
}

TEST_F(GameDataPropertiesTest, ItemStatisticsAndEquipment) {
  EXPECT_EQ(ItemRead(0, u"Stat", Texts({u"Strength"})), Variant::Long(7));
  EXPECT_EQ(ItemRead(0, u"CurrentStat", Texts({u"Strength"})), Variant::Long(7));
  EXPECT_EQ(ItemRead(0, u"Stat", Texts({u"Speed"})), Variant::Long(0));
  EXPECT_EQ(Raised([&] { ItemRead(0, u"Stat", Texts({u"Luck"})); }), "-1 Statistic \"Luck\" does not exist.");
  EXPECT_EQ(ItemRead(0, u"Equipment"), Variant::Text(u"Hand"));
  EXPECT_EQ(ItemRead(2, u"Equipment"), Variant::Text(u""));
}

TEST_F(GameDataPropertiesTest, GraphicDescriptorsAndTheArrayFlag) {
  struct Case {
    ObjectKindEntry entry;
    std::int32_t kind;
    std::int32_t index;
    std::int32_t descriptor;
  } cases[] = {
      {RunItemProperty, kObjectItem, 2, 20},
      {RunStatisticProperty, kObjectStatistic, 3, 30},
      {RunEquipmentAreaProperty, kObjectEquipmentArea, 1, 40},
  };
  for (const Case& c : cases) {
    mapSystems.arrayValueBuilt = false;
    const Variant graphic = Read(c.entry, c.kind, c.index, u"Graphic");
    ASSERT_TRUE(graphic.IsArray());
    const std::vector<Variant>& e = graphic.Elements();
    ASSERT_EQ(e.size(), 7u);
    for (std::size_t k = 0; k < 7; ++k) {
      if (k == 0) {
        EXPECT_EQ(e[k], Variant::Long(c.descriptor));
      } else if (k == 5) {
        EXPECT_EQ(e[k], Variant::Long(c.index));
      } else {
        EXPECT_TRUE(e[k].IsEmpty()) << c.descriptor << " element " << k;
      }
    }
    EXPECT_TRUE(mapSystems.arrayValueBuilt) << c.descriptor;
  }
}

TEST_F(GameDataPropertiesTest, ReadOnlyKindsRefuseEveryAssignmentNamingTheRecord) {
  struct Case {
    ObjectKindEntry entry;
    std::int32_t kind;
    std::int32_t index;
    const char16_t* identifier;
    const char* error;
  } cases[] = {
      {RunItemProperty, kObjectItem, 0, u"Name",
       "-1 You cannot alter an item's properties. This was attempted on \"Sword\"."},
      {RunItemProperty, kObjectItem, 1, u"NoSuchIdentifier",
       "-1 You cannot alter an item's properties. This was attempted on \"Bow\"."},
      {RunEffectProperty, kObjectEffect, 0, u"Title",
       "-1 You cannot alter an effect's properties. This was attempted on \"  EFFECT Boom  \"."},
      {RunEffectProperty, kObjectSprite, 1, u"Name",
       "-1 You cannot alter an effect's properties. This was attempted on \"Torch\"."},
      {RunFontProperty, kObjectFont, 0, u"LineHeight",
       "-1 You cannot alter a font's properties. This was attempted on \"Serif font\"."},
      {RunStatisticProperty, kObjectStatistic, 3, u"Graphic", "-1 You cannot alter statistic graphic this way."},
      {RunEquipmentAreaProperty, kObjectEquipmentArea, 0, u"Graphic",
       "-1 You cannot alter equipment graphic this way."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Raised([&] { Assign(c.entry, c.kind, c.index, c.identifier, Variant::Long(1)); }), c.error);
  }
  EXPECT_EQ(gameData.items[0].name, u"Sword");
  EXPECT_EQ(gameData.fontSets[0].lineHeight, 17);
}

TEST_F(GameDataPropertiesTest, EffectAndSpriteNamesAreScriptingIds) {
  EXPECT_EQ(Read(RunEffectProperty, kObjectEffect, 0, u"Name"), Variant::Text(u"Boom"));
  EXPECT_EQ(Read(RunEffectProperty, kObjectEffect, 0, u"Title"), Variant::Text(u"Big boom"));
  EXPECT_EQ(Raised([&] { Read(RunEffectProperty, kObjectEffect, 1, u"Name"); }),
            "-1 Cannot identify \"Torch\" as an effect, since the scripting ID does not begin with 'Effect '.");
  EXPECT_EQ(Read(RunEffectProperty, kObjectSprite, 1, u"Name"), Variant::Text(u"Torch"));
}

TEST_F(GameDataPropertiesTest, SpriteSizesComeFromTheFirstUsableDirection) {
  SpritePose pose;
  for (SpriteDirection& d : pose.directions) {
    d.sizeX = 48;
    d.sizeY = 64;
    d.frames.emplace_back();
  }
  gameData.spriteSets[1].poses.push_back(pose);
  EXPECT_EQ(Read(RunEffectProperty, kObjectSprite, 1, u"SizeX"), Variant::Long(48));
  EXPECT_EQ(Read(RunEffectProperty, kObjectSprite, 1, u"SizeY"), Variant::Long(64));
}

TEST_F(GameDataPropertiesTest, FontsAreasAndStatistics) {
  EXPECT_EQ(Read(RunFontProperty, kObjectFont, 0, u"Name"), Variant::Text(u"Serif"));
  EXPECT_EQ(Read(RunFontProperty, kObjectFont, 0, u"Title"), Variant::Text(u"Serif font"));
  EXPECT_EQ(Read(RunFontProperty, kObjectFont, 0, u"LineHeight"), Variant::Long(17));
  EXPECT_EQ(Read(RunEquipmentAreaProperty, kObjectEquipmentArea, 1, u"Title"), Variant::Text(u"Right hand"));
  EXPECT_EQ(Read(RunStatisticProperty, kObjectStatistic, 2, u"Name"), Variant::Text(u"Strength"));

  Assign(RunStatisticProperty, kObjectStatistic, 2, u"Title", Variant::Text(u"Might"));
  Assign(RunEquipmentAreaProperty, kObjectEquipmentArea, 0, u"Name", Variant::Text(u"Helmet"));
  EXPECT_EQ(gameData.statistics[2].displayName, u"Might");
  EXPECT_EQ(projectState.equipmentAreas[0].name, u"Helmet");
  // An identifier the kind does not serve does nothing.
  EXPECT_TRUE(Read(RunStatisticProperty, kObjectStatistic, 2, u"Weight").IsEmpty());
  EXPECT_EQ(Raised([&] { Assign(RunStatisticProperty, kObjectStatistic, 2, u"Weight", Variant::Long(3)); }),
            "no error");
}

TEST_F(GameDataPropertiesTest, ReferencesOutsideTheirTablesAreErrorNine) {
  struct Case {
    ObjectKindEntry entry;
    std::int32_t kind;
    std::int32_t index;
    std::int16_t mode;
  } cases[] = {
      {RunItemProperty, kObjectItem, 3, kModeRead},   {RunItemProperty, kObjectItem, -1, kModeAssign},
      {RunEffectProperty, kObjectEffect, 2, kModeRead}, {RunFontProperty, kObjectFont, 1, kModeAssign},
      {RunStatisticProperty, kObjectStatistic, 4, kModeRead},
      {RunEquipmentAreaProperty, kObjectEquipmentArea, 2, kModeRead},
  };
  for (const Case& c : cases) {
    const std::string raised =
        Raised([&] { CallKind(c.entry, c.kind, Variant::Long(c.index), u"Name", {}, c.mode, Variant::Long(0)); });
    EXPECT_EQ(raised.substr(0, 2), "9 ") << c.kind << " " << c.index;
  }
}

}  // namespace
}  // namespace kiv::test
