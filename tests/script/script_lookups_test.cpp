#include "script/script_lookups.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/error.h"
#include "media/sound_sets.h"
#include "script_test_fixture.h"

namespace kiv {
namespace {

using test::ScriptEngineTest;

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const KivError& error) {
    return std::to_string(error.Number()) + " " + error.what();
  }
  return "no error";
}

class ScriptLookupsTest : public ScriptEngineTest {
 protected:
  void SetUp() override {
    ScriptEngineTest::SetUp();
    soundSets.clear();
  }
  void TearDown() override {
    soundSets.clear();
    ScriptEngineTest::TearDown();
  }

  // A running script whose frame relates to relateItem and belongs to thisItem.
  void RunningScript(std::int32_t relateItem, std::int32_t thisItem) {
    scriptEngine.callTop = 0;
    scriptEngine.callStack[0].relateItem = relateItem;
    scriptEngine.callStack[0].thisItem = thisItem;
  }
};

// One table of the plain family: how to fill it with names and how to look a name up.
struct PlainTable {
  const char* label;
  std::function<void(const std::vector<std::u16string>&)> fill;
  std::function<ScriptValue(std::u16string_view, bool)> lookUp;
  std::int32_t kind;
  const char* prefix;
};

template <typename Record>
std::function<void(const std::vector<std::u16string>&)> Filler(std::vector<Record>& records) {
  return [&records](const std::vector<std::u16string>& names) {
    records.clear();
    records.resize(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) records[i].name = names[i];
  };
}

std::vector<PlainTable> PlainTables() {
  return {
      {"font", Filler(gameData.fontSets), ScriptLookupFont, kObjectFont, "Font "},
      {"sound", Filler(soundSets),
       [](std::u16string_view name, bool raise) {
         return ScriptValue{kValuePlain, Variant::Long(ScriptLookupSound(name, raise)), 0};
       },
       kValuePlain, "Sound/Music "},
      {"input set", Filler(gameData.inputSets), ScriptLookupInputSet, kObjectInputSet, "Input set "},
      {"control", Filler(controls), ScriptLookupControl, kObjectInputSet, "Control "},
      {"equipment area", Filler(projectState.equipmentAreas), ScriptLookupEquipmentArea, kObjectEquipmentArea,
       "Area of equipment "},
      {"actor template", Filler(gameData.actorTemplates), ScriptLookupActorTemplate, kObjectActorTemplate,
       "Actor template "},
      {"item", Filler(gameData.items),
       [](std::u16string_view name, bool raise) { return ScriptLookupItem(name, raise, false); }, kObjectItem,
       "Item/Magic "},
  };
}

TEST_F(ScriptLookupsTest, PlainTablesMatchNamesByTheLooseSetting) {
  struct Case {
    bool loose;
    const char16_t* name;
    std::int32_t index;
  };
  // clang-format off
  const Case cases[] = {
      {true, u" Arial ", 1},  // trimmed and lower-cased on both sides: "arial" comes first
      {true, u"COURIER", 0},
      {true, u"times", 3},    // the record " Times " is trimmed too
      {false, u"Arial", 2},
      {false, u"arial", 1},
      {false, u" Arial ", -1},
      {false, u"ARIAL", -1},
      {false, u"times", -1},
      {false, u" Times ", 3},
      {false, u"Mono", 4},    // of two records with one name the lower index wins
      {false, u"", -1},
  };
  // clang-format on
  for (const PlainTable& table : PlainTables()) {
    table.fill({u"Courier", u"arial", u"Arial", u" Times ", u"Mono", u"Mono"});
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(table.label) + " " + Utf16ToUtf8(c.name) + (c.loose ? " loose" : " exact"));
      SetLooseNameMatching(c.loose);
      EXPECT_EQ(table.lookUp(c.name, false), (ScriptValue{table.kind, Variant::Long(c.index), 0}));
      if (c.index >= 0) {
        EXPECT_EQ(table.lookUp(c.name, true).value, Variant::Long(c.index));
      }
    }
  }
}

TEST_F(ScriptLookupsTest, PlainTablesQuoteTheComparedNameWhenNotFound) {
  for (const PlainTable& table : PlainTables()) {
    SCOPED_TRACE(table.label);
    table.fill({u"Courier"});
    SetLooseNameMatching(true);
    EXPECT_EQ(MessageOf([&] { table.lookUp(u" Big Font ", true); }),
              std::string("-1 ") + table.prefix + "\"big font\" does not exist.");
    SetLooseNameMatching(false);
    EXPECT_EQ(MessageOf([&] { table.lookUp(u" Big Font ", true); }),
              std::string("-1 ") + table.prefix + "\" Big Font \" does not exist.");
    EXPECT_EQ(MessageOf([&] { table.lookUp(u"courier", false); }), "no error");
  }
}

TEST_F(ScriptLookupsTest, ItemKeywordsGoThroughTheRunningFrame) {
  gameData.items.resize(3);
  gameData.items[0].name = u"Sword";
  gameData.items[1].name = u"relate";  // hidden behind the keyword
  gameData.items[2].name = u"Relate";
  struct Case {
    bool loose;
    std::int32_t relateItem;
    std::int32_t thisItem;
    const char16_t* name;
    bool allowEmpty;
    std::int32_t index;
    std::string message;  // with raise set
  };
  const Case cases[] = {
      {false, 0, -1, u"relate", false, 0, "no error"},
      {false, -1, 2, u"this", false, 2, "no error"},
      {false, 0, -1, u"Relate", false, 2,
       "no error"},  // only "relate" exactly is the keyword without the setting
      {false, 0, -1, u" relate", false, -1, "-1 Item/Magic \" relate\" does not exist."},
      {true, 1, -1, u" RELATE ", false, 1, "no error"},
      {true, -1, 0, u"This", false, 0, "no error"},
      {false, -1, -1, u"relate", false, -1,
       "-1 Item \"relate\" cannot be used as this script does not relate to an item."},
      {true, -1, -1, u" This ", false, -1,
       "-1 Item \"this\" cannot be used as this script does not belong to an item."},
      {false, -1, -1, u"", true, -1, "no error"},
      {true, -1, -1, u"  ", true, -1, "no error"},
      {false, -1, -1, u"", false, -1, "-1 Item/Magic \"\" does not exist."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.name));
    SetLooseNameMatching(c.loose);
    RunningScript(c.relateItem, c.thisItem);
    EXPECT_EQ(ScriptLookupItem(c.name, false, c.allowEmpty),
              (ScriptValue{kObjectItem, Variant::Long(c.index), 0}));
    EXPECT_EQ(MessageOf([&] { ScriptLookupItem(c.name, true, c.allowEmpty); }), c.message);
  }
  // The keywords need a running script; a plain name does not.
  scriptEngine.callTop = -1;
  EXPECT_EQ(MessageOf([] { ScriptLookupItem(u"relate", false, false); }).substr(0, 2), "9 ");
  EXPECT_EQ(MessageOf([] { ScriptLookupItem(u"this", false, false); }).substr(0, 2), "9 ");
  EXPECT_EQ(ScriptLookupItem(u"Sword", true, false).value, Variant::Long(0));
}

TEST_F(ScriptLookupsTest, KeysByDisplayNameExactly) {
  struct Case {
    bool loose;
    const char16_t* name;
    ScriptValue found;
  };
  const Case cases[] = {
      {false, u"Esc", {kValuePlain, Variant::Long(2), 1}},
      {false, u"Left", {kValuePlain, Variant::Long(2), 203}},
      {false, u"Stop", {kValuePlain, Variant::Long(2), 149}},  // two keys with one name: the lower code
      {false, u"Left Click", {kValuePlain, Variant::Long(4), 0}},
      {false, u"Click 4", {kValuePlain, Variant::Long(4), 3}},
      {false, u"Mouse Wheel", {kValuePlain, Variant::Long(4), 10}},
      {false, u"Button 1", {kValuePlain, Variant::Long(8), 0}},
      {false, u"Button 32", {kValuePlain, Variant::Long(8), 31}},
      {false, u"Button 33", {kValuePlain, Variant::Long(-1), 0}},
      {true, u"esc", {kValuePlain, Variant::Long(-1), 0}},   // never lower-cased
      {true, u" Esc", {kValuePlain, Variant::Long(-1), 0}},  // never trimmed
      {false, u"", {kValuePlain, Variant::Long(-1), 0}},     // codes without a name are not found by ""
      {false, u"None", {kValuePlain, Variant::Long(-1), 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.name));
    SetLooseNameMatching(c.loose);
    EXPECT_EQ(ScriptLookupKey(c.name, false), c.found);
  }
  SetLooseNameMatching(true);
  EXPECT_EQ(MessageOf([] { ScriptLookupKey(u" Esc", true); }), "-1 Key \" Esc\" does not exist.");
  EXPECT_EQ(MessageOf([] { ScriptLookupKey(u"", true); }), "-1 Key \"\" does not exist.");
}

TEST_F(ScriptLookupsTest, TileSetsOfTheGivenLayerOnly) {
  gameData.tileSets.resize(4);
  const std::pair<const char16_t*, std::int32_t> sets[] = {
      {u"Grass", 0}, {u"Rock", 1}, {u"Grass", 2}, {u"grass", 2}};
  for (std::size_t i = 0; i < 4; ++i) {
    gameData.tileSets[i].name = sets[i].first;
    gameData.tileSets[i].kind = sets[i].second;
  }
  struct Case {
    bool loose;
    const char16_t* name;
    std::int32_t layer;
    bool allowEmpty;
    std::int32_t index;
    std::string message;
  };
  const Case cases[] = {
      {false, u"Grass", 0, false, 0, "no error"},
      {false, u"Grass", 2, false, 2, "no error"},
      {false, u"grass", 2, false, 3, "no error"},
      {true, u" GRASS ", 2, false, 2, "no error"},
      {false, u"Rock", 0, false, -1,
       "-1 Tile-set \"Rock\" does not exist. Ensure you picked the correct tile-set layer."},
      {true, u" Rock ", 2, false, -1,
       "-1 Tile-set \"rock\" does not exist. Ensure you picked the correct tile-set layer."},
      {false, u"", 1, true, -1, "no error"},
      {false, u"", 1, false, -1,
       "-1 Tile-set \"\" does not exist. Ensure you picked the correct tile-set layer."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.name));
    SetLooseNameMatching(c.loose);
    EXPECT_EQ(ScriptLookupTileSet(c.name, c.layer, c.allowEmpty, false), c.index);
    EXPECT_EQ(MessageOf([&] { ScriptLookupTileSet(c.name, c.layer, c.allowEmpty, true); }), c.message);
  }
}

TEST_F(ScriptLookupsTest, EffectsAreSpriteSetsNamedEffectAndTheName) {
  gameData.spriteSets.resize(4);
  gameData.spriteSets[0].name = u"Boom";
  gameData.spriteSets[1].name = u"Effect Boom";
  gameData.spriteSets[2].name = u" effect smoke ";
  gameData.spriteSets[3].name = u"Fizz";
  struct Case {
    bool loose;
    const char16_t* name;
    bool allowEmpty;
    std::int32_t index;
    std::string message;
  };
  const Case cases[] = {
      {false, u"Boom", false, 1, "no error"},
      {true, u" BOOM ", false, 1, "no error"},
      {true, u"Smoke", false, 2, "no error"},
      {false, u"smoke", false, -1, "-1 Effect \"smoke\" does not exist."},
      {false, u"boom", false, -1, "-1 Effect \"boom\" does not exist."},
      {false, u"Fizz", false, -1, "-1 Effect \"Fizz\" does not exist."},  // a sprite set, not an effect
      {true, u" Fizz ", false, -1, "-1 Effect \"fizz\" does not exist."},
      {false, u"", true, -1, "no error"},
      {false, u"", false, -1, "-1 Effect \"\" does not exist."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.name));
    SetLooseNameMatching(c.loose);
    EXPECT_EQ(ScriptLookupEffect(c.name, false, c.allowEmpty),
              (ScriptValue{kObjectEffect, Variant::Long(c.index), 0}));
    EXPECT_EQ(MessageOf([&] { ScriptLookupEffect(c.name, true, c.allowEmpty); }), c.message);
  }
}

}  // namespace
}  // namespace kiv
