#include "script/script_stack_access.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "script/script_convert.h"
#include "script/script_keywords.h"
#include "script/trigger_description.h"
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

class ScriptStackAccessTest : public ScriptEngineTest {
 protected:
  // A running frame of a script with one statement whose tokens are a text
  // literal "lit" and a local; the value stack is given.
  CallFrame& Frame(std::vector<ScriptValue> stack, std::int32_t stackBase) {
    Script script;
    ScriptStatement statement;
    statement.tokens.push_back({kTokenString, Variant::Text(u"lit")});
    statement.tokens.push_back({kTokenLocal, Variant::Long(0)});
    statement.tokens.push_back({kTokenSwitch, Variant::Long(0)});
    script.statements.push_back(statement);
    script.frameTemplate.locals.push_back({SymbolIntern(u"v"), Variant::Long(8)});
    script.hasStatements = true;
    const std::int32_t index = RegisterScript(script);
    CallFrame& frame = PushCallFrame(CallFrame(), scriptTable.scripts[static_cast<std::size_t>(index)]);
    frame.scriptIndex = index;
    frame.statementIndex = 0;
    frame.valueStack = std::move(stack);
    frame.valueStackTop = static_cast<std::int32_t>(frame.valueStack.size()) - 1;
    frame.stackBase = stackBase;
    return frame;
  }
};

ScriptValue Plain(Variant value) { return ScriptValue{kValuePlain, std::move(value), 0}; }
ScriptValue Reference(std::int32_t token) { return ScriptValue{kValueVariable, Variant::Long(token), 0}; }

TEST_F(ScriptStackAccessTest, ArgumentsReadThroughVariableReferences) {
  Frame({Plain(Variant::Long(1)), Reference(0), Reference(1), Reference(2),
         ScriptValue{kObjectZone, Variant::Long(4), 2}},
        1);
  EXPECT_EQ(ScriptGetArgument(-1), Variant::Long(1));  // entry 0 whatever the base
  EXPECT_EQ(ScriptGetArgument(0), Variant::Text(u"lit"));
  EXPECT_EQ(ScriptGetArgument(1), Variant::Long(8));
  EXPECT_TRUE(ScriptGetArgument(2).IsEmpty());  // a switch token reads as Empty
  EXPECT_EQ(ScriptGetArgumentKind(3), kObjectZone);
  EXPECT_EQ(ScriptGetArgumentMapIndex(3), 2);
  EXPECT_EQ(ScriptGetArgumentMapIndex(0), 0);
  EXPECT_EQ(ScriptGetArgumentArray(1, 0),
            Variant::Array(kVarVariant, {Variant::Text(u"lit"), Variant::Long(8)}));
  EXPECT_EQ(ScriptGetArgumentArray(0, 1), Variant::Array(kVarVariant, {}));
  EXPECT_EQ(MessageOf([] { ScriptGetArgument(9); }).substr(0, 2), "9 ");
}

TEST_F(ScriptStackAccessTest, CollectionsAndSlices) {
  std::vector<Variant> five;
  for (std::int32_t i = 0; i < 5; ++i) five.push_back(Variant::Long(i));
  scriptGlobals.collections.push_back({1, five});
  Frame({ScriptValue{kValueCollection, Variant::Long(0), 0},
         Plain(Variant::Array(kVarVariant, {Variant::Long(7)})), Plain(Variant::Long(3))},
        0);
  EXPECT_EQ(ScriptCollectionSize(0), 5);
  EXPECT_EQ(ScriptCollectionSize(1), 1);
  EXPECT_EQ(ScriptCollectionSize(2), 0);
  ScriptValue slice;
  ScriptCollectionSlice(slice, 0, 2, -1);
  EXPECT_EQ(slice.value, Variant::Array(kVarVariant, {Variant::Long(2), Variant::Long(3), Variant::Long(4)}));
  ScriptCollectionSlice(slice, 0, 5, 2);
  EXPECT_EQ(slice.value, Variant::Array(kVarVariant, {}));
  EXPECT_EQ(MessageOf([&] { ScriptCollectionSlice(slice, 0, -1, 1); }).substr(0, 2), "5 ");
  EXPECT_EQ(ScriptGetArgumentArray(2, 0), Variant::Array(kVarVariant, five));

  EXPECT_EQ(MessageOf([] { ScriptCheckCollectionArgument(0, true); }), "no error");
  EXPECT_EQ(MessageOf([] { ScriptCheckCollectionArgument(1, false); }), "no error");
  EXPECT_EQ(MessageOf([] { ScriptCheckCollectionArgument(1, true); }),
            "-1 Cannot use this command with a system collection; use the equivalent event if there is one.");
  EXPECT_EQ(MessageOf([] { ScriptCheckCollectionArgument(2, false); }),
            "-1 Cannot use this command with something that is not a collection.");
  EXPECT_EQ(MessageOf([] { ScriptGetTableArgument(0); }),
            "-1 Cannot use this command with something that is not a table.");
}

TEST_F(ScriptStackAccessTest, TablesCheckEveryIndex) {
  scriptGlobals.tables.emplace_back();
  scriptGlobals.tables[0].Resize(2, 2, 0);
  EXPECT_EQ(MessageOf([] { ScriptCheckTableElement(0, 3, 0, 0); }),
            "-1 Element (4, 1, 1) does not exist in table that is of size (3, 3, 1).");
  EXPECT_EQ(MessageOf([] { ScriptCheckTableElement(0, 0, -1, 0); }),
            "-1 Element (1, 0, 1) does not exist in table that is of size (3, 3, 1).");
  EXPECT_EQ(MessageOf([] { ScriptCheckTableElement(0, 2, 2, 0); }), "no error");
  EXPECT_EQ(MessageOf([] { ScriptCheckTableElement(5, 0, 0, 0); }).substr(0, 2), "9 ");

  scriptGlobals.tables[0].Cell(1, 1, 0) = Variant::Long(5);
  scriptGlobals.tables[0].Resize(3, 1, 1);
  EXPECT_EQ(scriptGlobals.tables[0].Cell(1, 1, 0), Variant::Long(5));  // kept through the resize
  // Sizes far beyond the cell limit fail as out of memory (no overflowing size
  // arithmetic) and leave the table as it was.
  for (const std::int32_t big : {16 * 1024 * 1024, 0x7FFFFFFF}) {
    EXPECT_EQ(MessageOf([big] { scriptGlobals.tables[0].Resize(0, big, 0); }), "7 Out of memory");
    EXPECT_EQ(MessageOf([big] { scriptGlobals.tables[0].Resize(big, big, big); }), "7 Out of memory");
  }
  EXPECT_EQ(scriptGlobals.tables[0].Cell(1, 1, 0), Variant::Long(5));

  ScriptClearTable(0);
  EXPECT_EQ(MessageOf([] { ScriptCheckTableElement(0, 0, 0, 0); }), "no error");
  EXPECT_TRUE(scriptGlobals.tables[0].Cell(0, 0, 0).IsEmpty());  // the one cell exists

  gameData.maps.Append();
  gameData.maps[0].width = 3;
  gameData.maps[0].height = 2;
  gameData.maps[0].layerCount = 1;
  EXPECT_EQ(MessageOf([] { ScriptCheckTileBounds(0, 3, 2, 1); }), "no error");
  EXPECT_EQ(MessageOf([] { ScriptCheckTileBounds(0, 4, 0, 0); }),
            "-1 Attempting to access tile (4, 0, 0) which is out of the bounds of the map.");
}

TEST_F(ScriptStackAccessTest, SortsByTextOrNumber) {
  std::vector<Variant> texts{Variant::Text(u"b"), Variant::Text(u" A"), Variant::Text(u"c")};
  ScriptSortArray(texts, 0, 2, false, false);
  EXPECT_EQ(texts, (std::vector<Variant>{Variant::Text(u" A"), Variant::Text(u"b"), Variant::Text(u"c")}));
  std::vector<Variant> numbers{Variant::Text(u"10"), Variant::Long(9), Variant::Double(11.5),
                               Variant::Long(-1)};
  ScriptSortArray(numbers, 0, 3, true, true);
  EXPECT_EQ(numbers, (std::vector<Variant>{Variant::Double(11.5), Variant::Text(u"10"), Variant::Long(9),
                                           Variant::Long(-1)}));

  ScriptTable3 table;
  table.Resize(2, 1, 0);
  for (std::int32_t x = 0; x <= 2; ++x) {
    table.Cell(x, 0, 0) = Variant::Long(3 - x);
    table.Cell(x, 1, 0) = Variant::Long(x);
  }
  ScriptSortArrayKeyed(table, 1, {1, 1, 1}, 0, 2, false, true);  // row 1 only
  EXPECT_EQ(table.Cell(0, 0, 0), Variant::Long(1));
  EXPECT_EQ(table.Cell(2, 0, 0), Variant::Long(3));
  EXPECT_EQ(table.Cell(0, 1, 0), Variant::Long(0));
  EXPECT_EQ(MessageOf([&] {
              ScriptSortArrayKeyed(table, 1, {1, 3, 1}, 0, 2, false, true);
            }).substr(0, 2),
            "9 ");
}

TEST_F(ScriptStackAccessTest, ProximityIdListRemembersActors) {
  std::map<std::int32_t, float> x{{0, 0.0f}, {1, 5.0f}, {2, 50.0f}};
  scriptHooks.ActorPosition = [&x](std::int32_t, std::int32_t actor, float& px, float& py, float& pz) {
    px = x[actor];
    py = pz = 0.0f;
  };
  Variant ids;
  EXPECT_TRUE(ScriptUpdateIdList(ids, true, 10.0f, 0, 0, 1));
  EXPECT_FALSE(ScriptUpdateIdList(ids, true, 10.0f, 0, 0, 1));  // already known
  EXPECT_FALSE(ScriptUpdateIdList(ids, true, 10.0f, 0, 0, 2));  // too far
  x[1] = 30.0f;
  EXPECT_FALSE(ScriptUpdateIdList(ids, true, 10.0f, 0, 0, 1));  // left: removed
  EXPECT_TRUE(ids.IsEmpty());
}

TEST_F(ScriptStackAccessTest, ActionControlAndCurrentPlayer) {
  std::vector<std::u16string> names{u"Jump", u"Fire", u"Action"};
  scriptHooks.ControlCount = [&names] { return static_cast<std::int32_t>(names.size()); };
  scriptHooks.ControlName = [&names](std::int32_t i) { return names[static_cast<std::size_t>(i)]; };
  scriptHooks.ControlHasKeyBinding = [](std::int32_t control, std::int32_t, std::int32_t key) {
    return (control == 1 && key == 28) || (control == 0 && key == 57);
  };
  EXPECT_EQ(ScriptFindActionControl(0), 2);
  names[2] = u"Talk";
  EXPECT_EQ(ScriptFindActionControl(0), 1);  // Enter before Space
  names.resize(1);
  EXPECT_EQ(ScriptFindActionControl(0), 0);
  names.clear();
  EXPECT_EQ(MessageOf([] { ScriptFindActionControl(0); }),
            "-1 Could not find \"Action\" control or a control which responds to the ENTER or SPACE key.");
  EXPECT_EQ(MessageOf([] { ScriptFindActionControl(4); }).substr(0, 2), "9 ");
  EXPECT_EQ(ScriptCurrentPlayerIndex(), 0);
}

TEST_F(ScriptStackAccessTest, ConvertBoolean) {
  const std::pair<Variant, std::uint8_t> cases[] = {
      {Variant::Text(u" Yes "), 1}, {Variant::Text(u"ON"), 1},  {Variant::Text(u"0.0"), 1},
      {Variant::Text(u"2"), 1},     {Variant::Text(u"off"), 0}, {Variant::Text(u""), 0},
      {Variant::Long(-3), 1},       {Variant::Double(0.0), 0},  {Variant::Boolean(true), 1},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(ScriptConvertBoolean(value, true), expected);
  EXPECT_EQ(MessageOf([] { ScriptConvertBoolean(Variant::Text(u" maybe"), true); }),
            "-1 Boolean \" maybe\" is invalid.");
  EXPECT_EQ(ScriptConvertBoolean(Variant::Text(u"maybe"), false), 0);
  EXPECT_EQ(MessageOf([] { ScriptConvertBoolean(Variant(), true); }),
            "-1 Unsupported data-type to convert boolean.");
  EXPECT_EQ(ScriptConvertBoolean(Variant(), false), 0);
}

TEST_F(ScriptStackAccessTest, FrameKeywords) {
  gameData.maps.Append();
  gameData.maps.Append();
  gameData.maps[1].fileName = u"Town";
  std::vector<std::int32_t> generated;
  dataHooks.GenerateMapData = [&generated](std::int32_t map, bool) { generated.push_back(map); };
  scriptHooks.PlayerControl = [](std::int32_t) { return PlayerControlState{0, 1, 12}; };
  CallFrame& frame = Frame({}, 0);
  frame.ownerMap = 0;
  frame.thisActor = 3;
  ScriptValue result;

  ScriptResolveFrameKeyword(result, kKeywordActorMain, -1, true);
  EXPECT_EQ(result, (ScriptValue{kObjectActor, Variant::Long(12), 0}));
  ScriptResolveFrameKeyword(result, kKeywordActorThis, 0, true);
  EXPECT_EQ(result, (ScriptValue{kObjectActor, Variant::Long(3), 0}));
  EXPECT_EQ(generated, (std::vector<std::int32_t>{0, 0}));
  EXPECT_EQ(MessageOf([&] { ScriptResolveFrameKeyword(result, kKeywordActorThis, 1, true); }),
            "-1 Actor \"this\" cannot be used as this actor is in a different map from \"Town\".");
  EXPECT_EQ(MessageOf([&] { ScriptResolveFrameKeyword(result, kKeywordActorRelate, -1, true); }),
            "-1 Actor \"relate\" cannot be used as this script does not relate to an actor.");
  ScriptResolveFrameKeyword(result, kKeywordActorRelate, -1, false);
  EXPECT_EQ(result, (ScriptValue{kObjectActor, Variant::Long(-1), -1}));

  // "main" of a trigger related to a player's character is that character.
  frame.relateActor = 5;
  scriptHooks.CharacterOwnerPlayer = [](std::int32_t, std::int32_t) { return 1; };
  ScriptResolveFrameKeyword(result, kKeywordActorMain, -1, true);
  EXPECT_EQ(result, (ScriptValue{kObjectActor, Variant::Long(5), 0}));
  EXPECT_EQ(MessageOf([&] { ScriptResolveFrameKeyword(result, kKeywordActorMain, 1, true); }),
            "-1 Actor \"relate\" cannot be used as the related actor is in a different map from \"Town\".");

  EXPECT_EQ(MessageOf([&] { ScriptResolveFrameKeyword(result, kKeywordFieldThis, -1, true); }),
            "-1 Field \"this\" cannot be used as this script does not belong to a field.");
  EXPECT_EQ(MessageOf([&] { ScriptResolveFrameKeyword(result, kKeywordFieldRelate, -1, false); }),
            "-1 Field \"relate\" cannot be used as this script does not belong to a field.");
  frame.thisField = 2;
  scriptHooks.FieldParentField = [](std::int32_t, std::int32_t field) { return field == 2 ? 0 : -1; };
  ScriptResolveFrameKeyword(result, kKeywordFieldRelate, -1, true);
  EXPECT_EQ(result, (ScriptValue{kObjectField, Variant::Long(0), 0}));
  PopCallFrame();
}

TEST_F(ScriptStackAccessTest, TriggerDescriptions) {
  gameData.maps.Append();
  gameData.maps[0].fileName = u"Menu";
  gameData.maps[0].isInterface = true;
  scriptHooks.OwnerName = [](std::int32_t kind, std::int32_t, std::int32_t) {
    return kind == kOwnerItem ? std::u16string(u"Potion") : std::u16string(u"Gate");
  };
  scriptHooks.TriggerEventText = [](std::int32_t, std::int32_t, std::int32_t, std::int32_t) {
    return std::u16string(u"TouchedActor");
  };
  scriptHooks.ControlName = [](std::int32_t) { return std::u16string(u"Fire"); };
  scriptHooks.InputControlName = [](std::int32_t, std::int32_t) { return std::u16string(u"Enter"); };
  scriptHooks.InputTriggerEntries = [](std::int32_t, std::int32_t) {
    return std::vector<InputTriggerEntry>{{1, -1}, {1 | 512, 3}, {2 | 256, 28}, {16, 1500}};
  };
  CallFrame zone;
  zone.ownerKind = kOwnerZone;
  zone.ownerMap = 0;
  EXPECT_EQ(DescribeTrigger(zone), u"Interface: \"Menu\" Zone: \"Gate\" Trigger: TouchedActor");
  CallFrame item;
  item.ownerKind = kOwnerItem;
  item.subIndex = 1;
  EXPECT_EQ(DescribeTrigger(item), u"Item: \"Potion\" Trigger: 1");
  CallFrame input;
  input.ownerKind = kOwnerInput;
  EXPECT_EQ(DescribeTrigger(input), u"Input: \"Gate\" Trigger: ???,Fire (Down),Enter (Up),1.5");
  CallFrame other;
  other.ownerKind = 12;
  other.ownerIndex = 4;
  other.subIndex = 2;
  EXPECT_EQ(DescribeTrigger(other), u"12: \"4\" Trigger: 2");

  CallFrame& running = Frame({}, 0);
  running.ownerKind = kOwnerSystem;
  running.ownerIndex = 2;
  running.parameters.push_back({SymbolIntern(u"a"), Variant::Long(5)});
  running.parameters.push_back({SymbolIntern(u"b"), Variant::Text(u"x")});
  EXPECT_EQ(DescribeTrigger(running), u"System Script Trigger: 2 Params: a=5, b=\"x\"");
  PopCallFrame();
}

}  // namespace
}  // namespace kiv
