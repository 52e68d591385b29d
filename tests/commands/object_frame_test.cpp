#include "object_frame_fixture.h"

namespace kiv::test {
namespace {

TEST_F(ObjectFrameTest, KindsWithoutAnEntryAreInvalidObjectTypes) {
  for (const std::int32_t kind : {16, 18, 20, 24, static_cast<int>(kObjectMapOrInterface), 32, 35, 38, 99}) {
    ScriptValue reference{kind, Variant::Long(0), 0};
    ScriptValue result;
    EXPECT_EQ(Raised([&] { ScriptObjectProperty(SymbolIntern(u"Name"), reference, -1, result, kModeRead, Variant(), true); }),
              "-1 Invalid object type.")
        << "kind " << kind;
  }
}

TEST_F(ObjectFrameTest, AnIdentifierTheKindDoesNotNameReadsEmptyAndDropsAssignments) {
  gameData.maps[0].fileName = u"Town";
  struct Case {
    const char* what;
    ScriptValue before;
    Variant value;
    std::int32_t mapIndex;
  };
  const Case cases[] = {
      {"fresh result", ScriptValue{kValuePlain, Variant(), 7}, Variant(), -1},
      {"result holding 3", ScriptValue{kValuePlain, Variant::Long(3), 7}, Variant::Text(u"3"), 7},
  };
  for (const Case& c : cases) {
    ScriptValue reference = MapRef(0);
    ScriptValue result = c.before;
    ScriptObjectProperty(SymbolIntern(u"Jump"), reference, -1, result, kModeRead, Variant(), true);
    EXPECT_EQ(result.value, c.value) << c.what;
    EXPECT_EQ(result.mapIndex, c.mapIndex) << c.what;
  }
  EXPECT_EQ(Raised([&] { Set(MapRef(0), u"Jump", Variant::Long(5)); }), "no error");
  EXPECT_EQ(gameData.maps[0].fileName, u"Town");
}

TEST_F(ObjectFrameTest, AReadIntoAResultHoldingAValueAppendsItAsText) {
  gameData.maps[0].fileName = u"Town";
  ScriptValue reference = MapRef(0);
  ScriptValue result{kValuePlain, Variant::Long(3), 0};
  ScriptObjectProperty(SymbolIntern(u"Name"), reference, -1, result, kModeRead, Variant(), true);
  EXPECT_EQ(result.value, Variant::Text(u"3Town"));
}

TEST_F(ObjectFrameTest, AMapIndexOutsideTheTableIsError9BeforeAnythingChanges) {
  for (const std::int32_t index : {-1, 1, 5}) {
    EXPECT_EQ(Raised([&] { Set(MapRef(index), u"Title", Variant::Text(u"x")); }).substr(0, 2), "9 ") << index;
  }
}

TEST_F(ObjectFrameTest, OnlyTheLow16BitsOfTheModeCountAndAnyNonZeroModeAssigns) {
  ScriptValue reference = MapRef(0);
  ScriptValue result;
  ScriptObjectProperty(SymbolIntern(u"Title"), reference, -1, result, static_cast<std::int16_t>(0x10000 + 1),
                       Variant::Text(u"Assigned"), true);
  EXPECT_EQ(gameData.maps[0].displayName, u"Assigned");
  ScriptObjectProperty(SymbolIntern(u"Title"), reference, -1, result, static_cast<std::int16_t>(0x20000),
                       Variant::Text(u"Ignored"), true);
  EXPECT_EQ(gameData.maps[0].displayName, u"Assigned");
  EXPECT_EQ(result.value, Variant::Text(u"Assigned"));
}

TEST_F(ObjectFrameTest, NameTitleAndVariablesOfMapsAndInterfaces) {
  const std::int32_t menu = AddInterface(u"Menu");
  for (const std::int32_t map : {0, menu}) {
    gameData.maps[map].properties.push_back(ScriptVariable{SymbolIntern(u"Gold"), Variant::Long(5)});
    gameData.maps[map].properties.push_back(ScriptVariable{SymbolIntern(u"Gold"), Variant::Long(6)});
    EXPECT_EQ(On(MapRef(map), u"Variable", {Variant::Text(u"Gold")}).value, Variant::Long(5));
    Set(MapRef(map), u"Variable", Variant::Text(u"many"), {Variant::Text(u"Gold")});
    EXPECT_EQ(gameData.maps[map].properties[0].value, Variant::Text(u"many")) << "the first match is assigned";
    EXPECT_EQ(gameData.maps[map].properties[1].value, Variant::Long(6));
    Set(MapRef(map), u"Name", Variant::Long(12));
    Set(MapRef(map), u"Title", Variant::Text(u"The place"));
    EXPECT_EQ(On(MapRef(map), u"Name").value, Variant::Text(u"12"));
    EXPECT_EQ(On(MapRef(map), u"Title").value, Variant::Text(u"The place"));
  }
  EXPECT_EQ(Raised([&] { On(MapRef(menu), u"Variable", {Variant::Text(u"Silver")}); }),
            "-1 Map/interface (\"12\") variable \"Silver\" does not exist.");
}

}  // namespace
}  // namespace kiv::test
