#include "script/script_stack_access.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "media/key_names.h"
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
  std::vector<Actor>& actors = gameData.maps[-1].actors;
  actors.resize(3);
  actors[1].x = 3.0f;
  actors[1].y = 4.0f;  // 5 from actor 0
  actors[2].z = 50.0f;
  Variant ids;
  EXPECT_TRUE(ScriptUpdateIdList(ids, true, 5.0f, -1, 0, 1));
  EXPECT_FALSE(ScriptUpdateIdList(ids, true, 5.0f, -1, 0, 1));   // already known
  EXPECT_FALSE(ScriptUpdateIdList(ids, true, 10.0f, -1, 0, 2));  // too far
  EXPECT_TRUE(ScriptUpdateIdList(ids, false, 10.0f, -1, 0, 2));  // far enough
  actors[1].x = 30.0f;
  EXPECT_FALSE(ScriptUpdateIdList(ids, true, 5.0f, -1, 0, 1));  // left: removed
  EXPECT_EQ(ids, Variant::Array(kVarLong, {Variant::Long(2)}));
  EXPECT_EQ(MessageOf([&] { ScriptUpdateIdList(ids, true, 5.0f, -1, 0, 3); }).substr(0, 2), "9 ");
  EXPECT_EQ(MessageOf([&] { ScriptUpdateIdList(ids, true, 5.0f, 0, 0, 1); }).substr(0, 2), "9 ");
}

TEST_F(ScriptStackAccessTest, ActionControlAndCurrentPlayer) {
  controls.resize(3);
  controls[0].name = u"Jump";
  controls[1].name = u"Fire";
  controls[2].name = u"Action";
  controls[0].slots[0].bindings = {{kBindKeyboard, 57}};
  controls[1].slots[0].bindings = {{kBindMouse, 28}, {kBindKeyboard, 28}};
  controls[2].slots[1].bindings = {{kBindKeyboard, 28}};  // another player's
  EXPECT_EQ(ScriptFindActionControl(0), 2);
  controls[2].name = u"Talk";
  EXPECT_EQ(ScriptFindActionControl(0), 1);  // Enter before Space
  EXPECT_EQ(ScriptFindActionControl(1), 2);
  controls[1].slots[0].bindings.pop_back();  // a mouse binding of code 28 is no Enter key
  EXPECT_EQ(ScriptFindActionControl(0), 0);
  controls.resize(1);
  controls[0].slots[0].bindings.clear();
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
  gameData.maps[0].actors.resize(6);
  gameData.maps[0].fields.resize(3);
  gameData.maps[0].fields[2].parent = 0;
  // Player 0 controls party slot 1, character 12 of map 0.
  projectState.players.resize(1);
  projectState.players[0].mapIndex = 0;
  projectState.players[0].controlledMember = 1;
  projectState.players[0].party.resize(2);
  projectState.players[0].party[1].character = 12;
  std::vector<std::int32_t> generated;
  dataHooks.GenerateMapData = [&generated](std::int32_t map, bool) { generated.push_back(map); };
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
  EXPECT_EQ(MessageOf([&] { ScriptResolveFrameKeyword(result, kKeywordActorMain, 1, true); }),
            "-1 Actor \"main\" cannot be used as the controlled party member is in a different map from "
            "\"Town\".");
  EXPECT_EQ(MessageOf([&] { ScriptResolveFrameKeyword(result, kKeywordActorRelate, -1, true); }),
            "-1 Actor \"relate\" cannot be used as this script does not relate to an actor.");
  ScriptResolveFrameKeyword(result, kKeywordActorRelate, -1, false);
  EXPECT_EQ(result, (ScriptValue{kObjectActor, Variant::Long(-1), -1}));

  // "main" of a trigger related to a character: that character when a player
  // owns it and the option "main always controlled" is off.
  struct MainCase {
    const char* what;
    std::int32_t relateOwner;
    bool alwaysControlled;
    std::int32_t expected;
  };
  const MainCase mains[] = {
      {"a player's character", 1, false, 5},
      {"nobody's character", -1, false, 12},
      {"always the controlled member", 1, true, 12},
  };
  frame.relateActor = 5;
  for (const MainCase& c : mains) {
    gameData.maps[0].actors[5].owningPlayer = c.relateOwner;
    storedProjectSettings.flags[18] = c.alwaysControlled ? -1 : 0;  // option flag 19
    ScriptResolveFrameKeyword(result, kKeywordActorMain, -1, true);
    EXPECT_EQ(result, (ScriptValue{kObjectActor, Variant::Long(c.expected), 0})) << c.what;
  }
  storedProjectSettings.flags[18] = 0;
  gameData.maps[0].actors[5].owningPlayer = 1;
  EXPECT_EQ(MessageOf([&] { ScriptResolveFrameKeyword(result, kKeywordActorMain, 1, true); }),
            "-1 Actor \"relate\" cannot be used as the related actor is in a different map from \"Town\".");
  frame.relateActor = 6;  // not in the map
  EXPECT_EQ(MessageOf([&] { ScriptResolveFrameKeyword(result, kKeywordActorMain, -1, true); }).substr(0, 2),
            "9 ");
  frame.relateActor = -1;

  // The controlled member as the players table holds it.
  projectState.players[0].controlledMember = -1;
  EXPECT_EQ(MessageOf([&] { ScriptResolveFrameKeyword(result, kKeywordActorMain, -1, true); }),
            "-1 Actor \"main\" cannot be used as there is no controlled party member.");
  projectState.players[0].controlledMember = 2;  // beyond the party
  EXPECT_EQ(MessageOf([&] { ScriptResolveFrameKeyword(result, kKeywordActorMain, -1, true); }).substr(0, 2),
            "9 ");
  projectState.players.clear();
  EXPECT_EQ(MessageOf([&] { ScriptResolveFrameKeyword(result, kKeywordActorMain, -1, true); }),
            "-1 Actor \"main\" cannot be used as there is no controlled party member.");

  EXPECT_EQ(MessageOf([&] { ScriptResolveFrameKeyword(result, kKeywordFieldThis, -1, true); }),
            "-1 Field \"this\" cannot be used as this script does not belong to a field.");
  EXPECT_EQ(MessageOf([&] { ScriptResolveFrameKeyword(result, kKeywordFieldRelate, -1, false); }),
            "9 Field \"relate\" cannot be used as this script does not belong to a field.");
  frame.thisField = 2;
  ScriptResolveFrameKeyword(result, kKeywordFieldRelate, -1, true);
  EXPECT_EQ(result, (ScriptValue{kObjectField, Variant::Long(0), 0}));
  frame.thisField = 1;
  EXPECT_EQ(MessageOf([&] { ScriptResolveFrameKeyword(result, kKeywordFieldRelate, -1, true); }),
            "-1 Field \"relate\" cannot be used as this field is not associated with any other field.");
  frame.thisField = 3;
  EXPECT_EQ(MessageOf([&] { ScriptResolveFrameKeyword(result, kKeywordFieldRelate, -1, true); }).substr(0, 2),
            "9 ");
  PopCallFrame();
}

// Error reports name the records of the game data: the owner, the trigger's
// event with its conditions, the steps of an input and the character's player.
TEST_F(ScriptStackAccessTest, TriggerDescriptions) {
  gameData.maps.Append();
  Map& menu = gameData.maps[0];
  menu.fileName = u"Menu";
  menu.isInterface = true;
  menu.zones.resize(1);
  menu.zones[0].name = u"Gate";
  menu.zones[0].triggers.resize(2);
  menu.zones[0].triggers[0].event = SymbolIntern(u"Trigger.Zone.TouchedActor");
  menu.zones[0].triggers[0].parameters = {u"\"Hero\"", u"", u"1"};
  menu.zones[0].triggers[0].script.text = u"Show";
  menu.zones[0].triggers[1].event = SymbolIntern(u"Trigger.Zone.LeftActor");  // its script has no text
  menu.actors.resize(2);
  menu.actors[1].name = u"Character Bob";
  menu.actors[1].owningPlayer = 1;
  menu.actors[1].triggers.resize(1);
  menu.actors[1].triggers[0].event = SymbolIntern(u"Trigger.Actor.Loaded");
  menu.actors[1].triggers[0].script.text = u"Show";
  menu.doors.resize(1);
  menu.doors[0].name = u"Front";
  menu.spawns.resize(1);
  menu.spawns[0].name = u"Nest";
  menu.fields.resize(1);
  menu.fields[0].name = u"OK";
  gameData.items.resize(1);
  gameData.items[0].name = u"Potion";
  gameData.customEvents.resize(1);
  gameData.customEvents[0].name = u"Hit";
  gameData.inputSets.resize(1);
  gameData.inputSets[0].name = u"Keys";
  gameData.inputSets[0].entries.resize(1);
  for (const auto& [flags, value] : std::vector<std::pair<std::int32_t, std::int32_t>>{
           {1, -2}, {1 | 512, 3}, {1, 9}, {2 | 256, 28}, {4, 5}, {8, 0}, {16, 1500}}) {
    InputStep step;
    step.flags = flags;
    step.value = value;
    gameData.inputSets[0].entries[0].steps.push_back(step);
  }
  controls.resize(4);
  controls[3].name = u"Fire";

  auto frame = [](std::int32_t kind, std::int32_t map, std::int32_t owner, std::int32_t sub) {
    CallFrame f;
    f.ownerKind = kind;
    f.ownerMap = map;
    f.ownerIndex = owner;
    f.subIndex = sub;
    return f;
  };
  CallFrame input = frame(kOwnerInput, 0, 0, 0);
  input.relateActor = 1;
  const std::pair<CallFrame, std::u16string> cases[] = {
      {frame(kOwnerZone, 0, 0, 0),
       u"Interface: \"Menu\" Zone: \"Gate\" Trigger: Trigger.Zone.TouchedActor (\"Hero\", 1)"},
      {frame(kOwnerZone, 0, 0, 1), u"Interface: \"Menu\" Zone: \"Gate\" Trigger: "},
      {frame(kOwnerActor, 0, 1, 0),
       u"Interface: \"Menu\" Actor: \"Character Bob\" Trigger: Trigger.Actor.Loaded"},
      {frame(kOwnerDoor, 0, 0, 2), u"Interface: \"Menu\" Door: \"Front\" Trigger: 2"},
      {frame(kOwnerSpawn, 0, 0, 1), u"Interface: \"Menu\" Spawn: \"Nest\" Trigger: 1"},
      {frame(kOwnerField, 0, 0, 0), u"Interface: \"Menu\" Field: \"OK\" Trigger: "},
      {frame(kOwnerFieldValue, 0, 0, 4), u"Interface: \"Menu\" Field: \"OK\" Retrieve Value: 4"},
      {frame(kOwnerItem, -1, 0, 1), u"Item: \"Potion\" Trigger: 1"},
      {frame(kOwnerCustomEvent, -1, 0, 0), u"Custom Event: \"Hit\""},
      {input, u"Input: \"Keys\" Player: 2 Trigger: ???,Fire (Down),???,Enter (Up),Click 6,Button 1,1.5"},
      {frame(kOwnerInput, -1, 0, 0),
       u"Input: \"Keys\" Trigger: ???,Fire (Down),???,Enter (Up),Click 6,Button 1,1.5"},
      // Records that do not exist read as empty: the report is written while an error is handled.
      {frame(kOwnerZone, 0, 4, 0), u"Interface: \"Menu\" Zone: \"\" Trigger: "},
      {frame(kOwnerActor, 7, 0, 0), u"Map: \"\" Actor: \"\" Trigger: "},
      {frame(kOwnerInput, -1, 3, 0), u"Input: \"\" Trigger: "},
      {frame(kOwnerCustomEvent, -1, -1, 0), u"Custom Event: \"\""},
      {frame(12, -1, 4, 2), u"12: \"4\" Trigger: 2"},
  };
  for (const auto& [described, expected] : cases) {
    EXPECT_EQ(DescribeTrigger(described), expected) << Utf16ToUtf8(expected);
  }
  input.relateActor = 5;  // no such character: no player
  EXPECT_EQ(DescribeTrigger(input).substr(0, 23), u"Input: \"Keys\" Player: 0");

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
