// The frame of the internal-command executor: keywords, variables, the result
// rule, property slots and identifiers that no command serves.
#include <algorithm>
#include <limits>

#include "commands/internal_call.h"
#include "commands/internal_selection.h"
#include "commands/property_slot.h"
#include "data/door_fields.h"
#include "data/fixed_identifiers.h"
#include "internal_commands_fixture.h"
#include "script/script_value_ops.h"

namespace kiv::test {
namespace {

using Frame = InternalCommandsTest;

TEST_F(Frame, ExitStopsTheScriptAndQuitAlsoAsksTheLoopToEnd) {
  EXPECT_EQ(RunScript(u"Mark(1)\r\nExit\r\nMark(2)"), Variant());
  EXPECT_EQ(Marks(), Longs({1}));
  EXPECT_FALSE(shell.quitRequest);
  calls_.clear();
  RunScript(u"Mark(1)\r\nQuit\r\nMark(2)");
  EXPECT_EQ(Marks(), Longs({1}));
  EXPECT_TRUE(shell.quitRequest);
}

TEST_F(Frame, KeywordsWithArgumentsAreUnknownIdentifiers) {
  EXPECT_EQ(ErrorOfScript(u"Exit(1)"),
            "Identifier \"Exit\" is not a variable, switch, custom event or internal command.");
  EXPECT_EQ(ErrorOfScript(u"Quit(1)"),
            "Identifier \"Quit\" is not a variable, switch, custom event or internal command.");
  EXPECT_FALSE(shell.quitRequest);
}

TEST_F(Frame, DoorAndTurretKeywordsNeedTheirRelatedObjects) {
  EXPECT_EQ(ErrorOfScript(u"DOORACTION"),
            "The \"Door Action\" event is meant to be used only in any system scripts relating to doors. Use the "
            "\"Open/Close Door\" event instead.");
  EXPECT_EQ(ErrorOfScript(u"TURRETMAIN"), "Incorrect usage of TURRETMAIN.");
  CallFrame frame;
  frame.ownerMap = 0;
  frame.relateActor = 0;
  frame.thisActor = 5;  // a turret that is not on the map
  const std::size_t before = ErrorLog().size();
  Run(Load(u"TURRETMAIN"), frame);
  EXPECT_GT(ErrorLog().size(), before);
  EXPECT_EQ(LastError(), "Subscript out of range");
}

TEST_F(Frame, DoorActionOpensTheRelateDoorForTheRelateCharacter) {
  gameData.maps[0].doors.resize(2);
  gameData.maps[0].doors[1].openStyle = 0;  // records the opener only
  gameData.maps[0].actors.resize(4);
  gameData.maps[0].actors[3].heading = 1.5f;
  CallFrame frame;
  frame.ownerMap = 0;
  frame.relateDoor = 1;
  frame.relateActor = 3;
  EXPECT_EQ(Run(Load(u"DOORACTION\r\nMark(1)"), frame), Variant());
  EXPECT_EQ(DoorOpener(gameData.maps[0].doors[1]), 3);
  EXPECT_EQ(Marks(), Longs({1}));
  frame.relateDoor = 2;  // a door removed since the script began
  const std::size_t before = ErrorLog().size();
  Run(Load(u"DOORACTION"), frame);
  EXPECT_GT(ErrorLog().size(), before);
  EXPECT_EQ(LastError(), "Subscript out of range");
}

TEST_F(Frame, AStaleCollectionOrTableIsErrorNineBeforeAnythingChanges) {
  Collection(u"bag", Longs({1}));
  PushCallFrame(CallFrame(), kiv::Script());
  CallFrame& frame = TopFrame();
  for (const std::int32_t kind : {kValueCollection, kValueTable}) {
    frame.valueStack = {ScriptValue{kind, Variant::Long(4), 0}, ScriptValue{kValuePlain, Variant::Long(2), 0},
                        ScriptValue()};
    frame.stackBase = 0;
    frame.valueStackTop = 1;
    ScriptValue object;
    ScriptValue result;
    const char16_t* name = kind == kValueCollection ? u"Collection.Add" : u"Table.Clear";
    EXPECT_EQ(Raised([&] { ScriptRunInternal(SymbolIntern(name), object, 1, result, kModeRead, Variant(), true); })
                  .rfind("9 ", 0),
              0u)
        << Utf16ToUtf8(name);
  }
  EXPECT_EQ(scriptGlobals.collections[0].elements, Longs({1}));
}

TEST_F(Frame, VariablesAreSearchedFromLocalsToTablesFirstMatchWins) {
  const std::int32_t name = SymbolIntern(u"score");
  scriptGlobals.variables.push_back({name, Variant::Long(100)});
  CallFrame frame;
  PushCallFrame(frame, kiv::Script());
  EXPECT_EQ(Call(u"score", {}).value, Variant::Long(100)) << "the global, when no local has the name";
  TopFrame().parameters.push_back({name, Variant::Long(3)});
  EXPECT_EQ(Call(u"score", {}).value, Variant::Long(3)) << "a parameter hides the global";
  TopFrame().statics.push_back({name, Variant::Long(2)});
  EXPECT_EQ(Call(u"score", {}).value, Variant::Long(2)) << "a static comes before a parameter";
  TopFrame().locals.push_back({name, Variant::Long(1)});
  EXPECT_EQ(Call(u"score", {}).value, Variant::Long(1)) << "a local comes first";
  Call(u"score", {}, kModeAssign, Variant::Long(7));
  EXPECT_EQ(TopFrame().locals[0].value, Variant::Long(7));
  EXPECT_EQ(scriptGlobals.variables[0].value, Variant::Long(100)) << "the hidden global keeps its value";
}

TEST_F(Frame, ADurationIsRefusedForLocalsButNotForGlobals) {
  const std::int32_t name = SymbolIntern(u"speed");
  scriptGlobals.variables.push_back({SymbolIntern(u"height"), Variant::Long(4)});
  PushCallFrame(CallFrame(), kiv::Script());
  TopFrame().locals.push_back({name, Variant::Long(1)});
  scriptEngine.pendingDuration = 500;
  EXPECT_EQ(Raised([&] { Call(u"speed", {}); }),
            "-1 Duration option cannot be used with local variables or parameters.");
  EXPECT_EQ(Call(u"height", {}).value, Variant::Long(4));
  scriptEngine.pendingDuration = 0;
}

TEST_F(Frame, SwitchesCollectionsAndTablesByName) {
  PushCallFrame(CallFrame(), kiv::Script());
  scriptGlobals.switches.push_back({SymbolIntern(u"lamp"), 0});
  Collection(u"bag", Longs({1, 2}));
  Table(u"grid", 2, 2, 1);

  struct SwitchCase {
    Variant assigned;
    std::int16_t state;
    std::int32_t reads;
  };
  for (const SwitchCase& c : {SwitchCase{Variant::Text(u"yes"), -1, 1}, SwitchCase{Variant::Text(u"0"), 0, 0},
                              SwitchCase{Variant::Long(5), -1, 1}, SwitchCase{Variant::Text(u"off"), 0, 0}}) {
    Call(u"lamp", {}, kModeAssign, c.assigned);
    EXPECT_EQ(scriptGlobals.switches[0].state, c.state) << VarToTextLenient(c.assigned).size();
    EXPECT_EQ(Call(u"lamp", {}).value, Variant::Long(c.reads));
  }

  EXPECT_EQ(Call(u"bag", {}), (ScriptValue{kValueCollection, Variant::Long(0), 0}));
  EXPECT_EQ(Raised([&] { Call(u"bag", {}, kModeAssign, Variant::Long(3)); }),
            "-1 Cannot set a collection to something that is not a collection.");
  EXPECT_EQ(scriptGlobals.collections[0].elements, Longs({1, 2})) << "a refused assignment changes nothing";
  Call(u"bag", {}, kModeAssign, Variant::Array(kVarVariant, Longs({7, 8, 9})));
  EXPECT_EQ(scriptGlobals.collections[0].elements, Longs({7, 8, 9}));
  Call(u"bag", {}, kModeAssign, Variant::Array(kVarVariant, {}));
  EXPECT_TRUE(scriptGlobals.collections[0].elements.empty());

  EXPECT_EQ(Call(u"grid", {}), (ScriptValue{kValueTable, Variant::Long(0), 0}));
  EXPECT_EQ(Raised([&] { Call(u"grid", {}, kModeAssign, Variant::Long(1)); }),
            "-1 Table \"grid\" cannot be assigned a value; use the Table commands to change its cells.");
  EXPECT_EQ(scriptGlobals.tables[0].cells.size(), 4u);
}

TEST_F(Frame, AVariableHidesACommandOnlyWithoutArguments) {
  PushCallFrame(CallFrame(), kiv::Script());
  Collection(u"list", Longs({4, 5}));
  scriptGlobals.variables.push_back({SymbolIntern(u"Pause"), Variant::Text(u"mine")});
  EXPECT_EQ(Call(u"Pause", {}).value, Variant::Text(u"mine"));
  const ScriptValue wait = Call(u"Pause", {Variant::Long(10)});
  EXPECT_EQ(wait.kind, kValueControl) << "with an argument Pause is the command";
  // A dotted name is never a variable.
  scriptGlobals.variables.push_back({SymbolIntern(u"Collection.Count"), Variant::Long(99)});
  EXPECT_EQ(Raised([&] { Call(u"Collection.Count", {}); }),
            "-1 Cannot use this command with something that is not a collection.");
}

TEST_F(Frame, AReadWritesAnEmptyResultOrAppendsAsText) {
  ScriptValue result;
  ScriptWriteResult(result, Variant::Long(3));
  EXPECT_EQ(result, (ScriptValue{kValuePlain, Variant::Long(3), -1}));
  ScriptWriteResult(result, Variant::Long(4));
  EXPECT_EQ(result.value, Variant::Text(u"34"));
  ScriptValue text{kValuePlain, Variant::Text(u"a"), 0};
  ScriptWriteResult(text, Variant::Single(1.5f));
  EXPECT_EQ(text, (ScriptValue{kValuePlain, Variant::Text(u"a1.5"), 0}));
}

TEST(PropertySlot, ConvertsThenClampsLongAndSingleButNotBooleanOrCurrency) {
  std::int32_t whole = 0;
  float single = 0.0f;
  std::uint8_t flag = 0;
  std::int64_t money = 0;
  struct Case {
    const char* what;
    PropertySlot::Type type;
    Variant value;
    double lower, upper;
    Variant reads;
    const char* error;
  };
  const Case cases[] = {
      {"Long: half to even", PropertySlot::Type::kLong, Variant::Double(2.5), kClampLowest, kClampHighest,
       Variant::Long(2), nullptr},
      {"Long: half to even up", PropertySlot::Type::kLong, Variant::Double(3.5), kClampLowest, kClampHighest,
       Variant::Long(4), nullptr},
      {"Long: numeric text", PropertySlot::Type::kLong, Variant::Text(u"12"), kClampLowest, kClampHighest,
       Variant::Long(12), nullptr},
      {"Long: clamped after converting", PropertySlot::Type::kLong, Variant::Double(300.4), 0, 255,
       Variant::Long(255), nullptr},
      {"Long: below the lower clamp", PropertySlot::Type::kLong, Variant::Long(-5), 0, 255, Variant::Long(0),
       nullptr},
      {"Long: out of range before clamping", PropertySlot::Type::kLong, Variant::Double(3e9), 0, 255, Variant(),
       "6 Overflow"},
      {"Long: a word", PropertySlot::Type::kLong, Variant::Text(u"ten"), kClampLowest, kClampHighest, Variant(),
       "13"},
      {"Single: clamped", PropertySlot::Type::kSingle, Variant::Double(1.75), -1, 1, Variant::Single(1.0f),
       nullptr},
      {"Single: kept", PropertySlot::Type::kSingle, Variant::Double(0.25), -1, 1, Variant::Single(0.25f), nullptr},
      {"Single: beyond its range", PropertySlot::Type::kSingle, Variant::Double(1e300), kClampLowest, kClampHighest,
       Variant(), "6 Overflow"},
      {"Boolean: a word", PropertySlot::Type::kBoolean, Variant::Text(u"yes"), 0, 0, Variant::Byte(1), nullptr},
      {"Boolean: zero", PropertySlot::Type::kBoolean, Variant::Text(u"0"), 0, 0, Variant::Byte(0), nullptr},
      {"Boolean: no clamp", PropertySlot::Type::kBoolean, Variant::Long(9), 5, 6, Variant::Byte(1), nullptr},
      {"Currency: four decimals", PropertySlot::Type::kCurrency, Variant::Double(12.34567), 0, 1,
       Variant::CurrencyScaled(123457), nullptr},
      {"Byte: a number", PropertySlot::Type::kByte, Variant::Double(200.6), kClampLowest, kClampHighest,
       Variant::Byte(201), nullptr},
      {"Byte: clamped", PropertySlot::Type::kByte, Variant::Long(90), 0, 50, Variant::Byte(50), nullptr},
  };
  for (const Case& c : cases) {
    whole = 0;
    single = 0.0f;
    flag = 0;
    money = 0;
    PropertySlot slot;
    switch (c.type) {
      case PropertySlot::Type::kLong:
        slot.BindLong(whole);
        break;
      case PropertySlot::Type::kSingle:
        slot.BindSingle(single);
        break;
      case PropertySlot::Type::kBoolean:
        slot.BindBoolean(flag);
        break;
      case PropertySlot::Type::kCurrency:
        slot.BindCurrency(money);
        break;
      case PropertySlot::Type::kByte:
        slot.BindByte(flag);
        break;
      case PropertySlot::Type::kNone:
        break;
    }
    slot.Clamp(c.lower, c.upper);
    std::string error = "no error";
    try {
      slot.Assign(c.value);
    } catch (const KivError& e) {
      error = std::to_string(e.Number()) + " " + e.what();
    }
    if (c.error != nullptr) {
      EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.what << ": " << error;
      EXPECT_EQ(slot.Read(), c.type == PropertySlot::Type::kLong ? Variant::Long(0) : Variant::Single(0.0f))
          << c.what << ": the field keeps its value";
    } else {
      EXPECT_EQ(error, "no error") << c.what;
      EXPECT_EQ(slot.Read(), c.reads) << c.what;
    }
  }
}

TEST_F(Frame, PropertyNamesWithoutAnObjectAreUnknownUnlessACustomEventClaimsThem) {
  const char16_t* names[] = {u"Born",         u"ChildActor",     u"Died",       u"Paused",     u"Simultaneous",
                             u"Delay",        u"Interval",       u"Proximity",  u"Count",      u"Time",
                             u"Sound",        u"Accelerating",   u"ChangeKeyMove", u"Extension", u"ExtensionStart",
                             u"ExtensionStop", u"Gas",           u"MaxGas",     u"Rising",     u"Turning",
                             u"Velocity",     u"WeaponAction",   u"TURRETMAIN", u"VEHICLEMAIN", u"Block",
                             u"Left",         u"Top",            u"Right",      u"Bottom",     u"Ceiling"};
  for (const char16_t* name : names) {
    EXPECT_EQ(ErrorOfScript(std::u16string(name) + u"(1)"),
              "Identifier \"" + Utf16ToUtf8(name) + "\" is not a variable, switch, custom event or internal command.")
        << Utf16ToUtf8(name);
  }
}

// Every identifier the internal executor serves without an object has its
// case: none is left to the fall-back's unknown-identifier error. The five
// keywords without arguments are served before the cases.
TEST(InternalSelection, EveryInternalCommandHasItsCase) {
  const std::vector<std::pair<std::int32_t, std::int32_t>> ranges = {
      {1, 1},     {24, 24},   {37, 37},   {49, 49},   {61, 61},   {63, 63},   {86, 86},   {132, 148},
      {150, 150}, {156, 156}, {159, 159}, {162, 162}, {168, 168}, {179, 179}, {181, 191}, {206, 206},
      {215, 244}, {296, 330}, {332, 335}, {361, 382}, {393, 393}, {395, 395}, {406, 406}, {410, 410},
      {417, 538}, {586, 599}, {602, 607}, {613, 613}, {627, 630}, {679, 679}};
  for (const auto& [first, last] : ranges)
    for (std::int32_t code = first; code <= last; ++code)
      EXPECT_NE(InternalHandlerFor(code), nullptr) << code << " " << FixedIdentifierName(code);
  // Inert identifiers have none.
  for (const std::int32_t inert : {118, 539, 600, 608, 631, 670}) {
    EXPECT_EQ(InternalHandlerFor(inert), nullptr) << FixedIdentifierName(inert);
  }
}

TEST(InternalSelection, ListsTheCodesItServesForNoObject) {
  std::vector<std::string> served;
  for (const ServedIdentifier& identifier : InternalExecutorServes()) {
    EXPECT_EQ(identifier.kinds, std::vector<std::int32_t>{kObjectNone});
    served.emplace_back(FixedIdentifierName(identifier.code));
  }
  // Keywords run before the selection, and the thirty property names have no case.
  // The camera view's "Screen." names take the fall-back.
  for (const char* absent : {"Exit", "Quit", "DOORACTION", "TURRETMAIN", "VEHICLEMAIN", "Count", "Born",
                             "Screen.Shake", "Screen.X"}) {
    EXPECT_EQ(std::count(served.begin(), served.end(), absent), 0) << absent;
  }
  for (const char* present : {"Actor", "Player", "Command", "Pause", "Return", "Collection.Add", "Collection.Cut",
                              "Table.Clear", "Table.Find", "Music.Play", "Music.WaitPlay", "Sound.PlayPos",
                              "Screen.HUD", "Screen.SizeY", "Shop.Show2", "Shop.Items"}) {
    EXPECT_EQ(std::count(served.begin(), served.end(), present), 1) << present;
  }
  // Then the main, message-box, cursor, inn and loading commands (74); the music,
  // sound, screen and shop commands (38); the structure, text, math, geometry,
  // colour, trigger-memory and remaining identifiers (118).
  EXPECT_EQ(served.size(), 24u + 2u + 19u + 10u + 74u + 38u + 118u);
}

}  // namespace
}  // namespace kiv::test
