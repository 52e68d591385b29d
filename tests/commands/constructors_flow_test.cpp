// Identifiers that give object references, and the flow commands Pause and Return.
#include "commands/internal_executor.h"
#include "internal_commands_fixture.h"
#include "player/shell_state.h"
#include "script/resolver_fixture.h"

namespace kiv::test {
namespace {

// The resolvers' small game with the internal executor in place.
class Constructors : public ResolverTest {
 protected:
  void SetUp() override {
    ResolverTest::SetUp();
    scriptHooks.internalExecutor = ScriptRunInternal;
  }

  ScriptValue Call(const std::u16string& name, const Variant& argument) {
    CallFrame& frame = TopFrame();
    frame.valueStack = {ScriptValue{kValuePlain, argument, 0}, ScriptValue()};
    frame.stackBase = 0;
    frame.valueStackTop = 0;
    ScriptValue object;
    ScriptValue result;
    ScriptRunInternal(SymbolIntern(name), object, 0, result, kModeRead, Variant(), true);
    return result;
  }
};

TEST_F(Constructors, GiveTheirResolversReferenceWhole) {
  Map& town = gameData.maps[kTown];
  town.zones.resize(2);
  town.zones[1].name = u"Gate";
  town.doors.resize(1);
  town.doors[0].name = u"Front";
  town.lights.resize(3);
  town.lights[2].name = u"Lamp";
  town.speakers.resize(1);
  town.speakers[0].name = u"Bell";
  AddActor(kTown, u"Character Bob");
  AddActor(kCave, u"Vehicle Cart");
  AddActor(kTown, u"Turret Gun");
  AddField(kHud, u"Score");

  struct Case {
    const char16_t* identifier;
    const char16_t* name;
    ScriptValue expected;
  };
  const Case cases[] = {
      {u"Zone", u"Gate", Ref(kObjectZone, 1, kTown)},
      {u"Command", u"Gate", Ref(kObjectZone, 1, kTown)},
      {u"Door", u"Front", Ref(kObjectDoor, 0, kTown)},
      {u"Light", u"Lamp", Ref(kObjectLight, 2, kTown)},
      {u"Speaker", u"Bell", Ref(kObjectSpeaker, 0, kTown)},
      {u"Char", u"Bob", Ref(kObjectCharacter, 0, kTown)},
      {u"Actor", u"Character Bob", Ref(kObjectActor, 0, kTown)},
      {u"Vehicle", u"Cart", Ref(kObjectVehicle, 0, kCave)},
      {u"Turret", u"Gun", Ref(kObjectTurret, 1, kTown)},
      {u"Field", u"Score", Ref(kObjectField, 0, kHud)},
      {u"ViewField", u"Score", Ref(kObjectCameraView, 0, kHud)},
      {u"Map", u"Forest", Ref(kObjectMap, kForest, 0)},
      {u"Interface", u"Menu", Ref(kObjectMap, kMenu, 0)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Call(c.identifier, Variant::Text(c.name)), c.expected)
        << Utf16ToUtf8(c.identifier) << "(" << Utf16ToUtf8(c.name) << ")";
  }
}

TEST_F(Constructors, ZoneAndCommandThisAreTheScriptsZone) {
  gameData.maps[kTown].zones.resize(3);
  Frame().ownerMap = kTown;
  Frame().thisZone = 2;
  const ScriptValue zone = Call(u"Zone", Variant::Text(u"this"));
  EXPECT_EQ(zone.kind, kObjectZone);
  EXPECT_EQ(zone.value, Variant::Long(2));
  EXPECT_EQ(Call(u"Command", Variant::Text(u"this")), zone);
}

TEST_F(Constructors, ANameThatNamesNothingIsTheResolversError) {
  EXPECT_EQ(ErrorOf([&] { Call(u"Zone", Variant::Text(u"Nowhere")); }).rfind("-1 ", 0), 0u);
  EXPECT_EQ(ErrorOf([&] { Call(u"Char", Variant::Text(u"Nobody")); }).rfind("-1 ", 0), 0u);
}

TEST_F(Constructors, PlayersCountFromOne) {
  EXPECT_EQ(Call(u"Player", Variant::Long(1)), (ScriptValue{kObjectPlayer, Variant::Long(0), 0}));
  EXPECT_EQ(Call(u"Player", Variant::Text(u"3")), (ScriptValue{kObjectPlayer, Variant::Long(2), 0}));
  EXPECT_EQ(ErrorOf([&] { Call(u"Player", Variant::Text(u"first")); }).rfind("13 ", 0), 0u);
}

using Flow = InternalCommandsTest;

TEST_F(Flow, PauseResumesAfterItsTimeAndPauseZeroAtTheFirstPoll) {
  constexpr std::int32_t kEvent = 600;  // an event without conditions
  const std::int32_t waiting = AddActor(kEvent, u"Mark(1)\r\nPause(500)\r\nMark(2)");
  const std::int32_t quick = AddActor(kEvent, u"Mark(10)\r\nPause(0)\r\nMark(20)");
  Raise(waiting);
  Raise(quick);
  EXPECT_EQ(Marks(), Longs({1, 10}));
  Tick(1);
  EXPECT_EQ(Marks(), Longs({1, 10, 20}));
  Tick(498);
  EXPECT_EQ(Marks(), Longs({1, 10, 20}));
  Tick(1);
  EXPECT_EQ(Marks(), Longs({1, 10, 20, 2}));
}

TEST_F(Flow, ReturnGivesValuesAndCollectionsByValueButNoTables) {
  Collection(u"bag", Longs({1, 2}));
  Table(u"grid", 1, 1, 1);
  EXPECT_EQ(RunScript(u"Return(\"done\")"), Variant::Text(u"done"));
  const Variant values = RunScript(u"Return(bag)");
  EXPECT_EQ(values, Variant::Array(kVarVariant, Longs({1, 2})));
  EXPECT_EQ(ErrorOfScript(u"Return(grid)"), "You cannot return a table.");
  EXPECT_EQ(ErrorOfScript(u"Mark(Count(1))"),
            "Identifier \"Count\" is not a variable, switch, custom event or internal command.");
}

}  // namespace
}  // namespace kiv::test
