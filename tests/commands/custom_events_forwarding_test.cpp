// The fall-back block: custom events called like commands, and the "Screen."
// and "Main." names handed on to the camera-view and party executors.
#include "data/script_link.h"
#include "internal_commands_fixture.h"
#include "script/script_compiler.h"

namespace kiv::test {
namespace {

class Fallback : public InternalCommandsTest {
 protected:
  // A custom event "Custom.<name>" with named parameters and a script.
  std::int32_t AddEvent(const std::u16string& name, const std::vector<std::u16string>& parameters,
                        const std::u16string& text) {
    CustomEvent event;
    event.name = name;
    event.displayName = name + u" event";
    event.eventSymbol = SymbolIntern(u"Custom." + name);
    for (const std::u16string& parameter : parameters) {
      event.parameters.push_back({parameter, u"TEXT"});
      event.script.frameTemplate.parameters.push_back({SymbolIntern(parameter), Variant()});
    }
    event.script.text = text;
    CompileScript(event.script);
    LinkScript(event.script, true);
    RegisterScript(event.script);
    gameData.customEvents.push_back(std::move(event));
    return static_cast<std::int32_t>(gameData.customEvents.size()) - 1;
  }

  // An interface with fields of the given kinds; shown when overlay is 1.
  std::int32_t AddInterface(std::uint8_t overlay, const std::vector<std::uint8_t>& fieldKinds) {
    const std::int32_t map = gameData.maps.Append();
    gameData.maps[map].isInterface = true;
    gameData.maps[map].overlayActive = overlay;
    for (const std::uint8_t kind : fieldKinds) {
      gameData.maps[map].fields.emplace_back();
      gameData.maps[map].fields.back().kind = kind;
    }
    return map;
  }

  // The object the last forwarded call was made on, recorded by a handler.
  void RecordObjects(const std::string& name) {
    const ScriptExecutor recorder = scriptHooks.fieldExecutor;
    for (ScriptExecutor* executor : {&scriptHooks.fieldExecutor, &scriptHooks.objectExecutor}) {
      *executor = [this, recorder, name](std::int32_t code, ScriptValue& object, std::int32_t upper,
                                         ScriptValue& result, std::int16_t mode, const Variant& value, bool last) {
        objects_.push_back(object);
        recorder(code, object, upper, result, mode, value, last);
        if (SymbolName(code) == AnsiToUtf16(name)) result.value = Variant::Text(u"answer");
      };
    }
  }

  std::vector<ScriptValue> objects_;
};

TEST_F(Fallback, ACustomEventRunsNestedWithItsParametersAndGivesItsValue) {
  AddEvent(u"Sum", {u"a", u"b"}, u"Mark(a, b)\r\nReturn(a + b)");
  EXPECT_EQ(RunScript(u"LOCAL r\r\nSET r = Custom.Sum(2, 3, 4)\r\nReturn(r)"), Variant::Long(5));
  ASSERT_EQ(Marks().size(), 1u);
  EXPECT_EQ(calls_[0].arguments, Longs({2, 3})) << "the extra argument is ignored";
}

TEST_F(Fallback, AMissingParameterFailsAfterTheOnesCopied) {
  const std::int32_t event = AddEvent(u"Pair", {u"a", u"b"}, u"Mark(a, b)");
  EXPECT_EQ(ErrorOfScript(u"Custom.Pair(7)"), "Not enough parameters for custom event \"Pair event\".");
  EXPECT_TRUE(Marks().empty());
  const std::int32_t script = gameData.customEvents[static_cast<std::size_t>(event)].script.index;
  EXPECT_EQ(ScriptAt(script).frameTemplate.parameters[0].value, Variant::Long(7)) << "the first one stays copied";
}

TEST_F(Fallback, AnEventWithoutAScriptDoesNothing) {
  AddEvent(u"Empty", {u"a"}, u"");
  EXPECT_EQ(ErrorOfScript(u"Custom.Empty(1)\r\nMark(2)"), "");
  EXPECT_EQ(Marks(), std::vector<Variant>{Variant::Long(2)});
}

TEST_F(Fallback, TheFirstEventOfTheNameWins) {
  AddEvent(u"Who", {}, u"Return(1)");
  AddEvent(u"Who", {}, u"Return(2)");
  EXPECT_EQ(RunScript(u"Return(Custom.Who)"), Variant::Long(1));
}

TEST_F(Fallback, ScreenNamesGoToTheFirstShownInterfacesCameraView) {
  RecordObjects("X");
  EXPECT_EQ(ErrorOfScript(u"Mark(Screen.X)"), "Ambiguous camera view.");
  AddInterface(0, {6});              // 1: not shown
  const std::int32_t hud = AddInterface(1, {1, 6, 6});  // 2: its first usable view is field 2
  gameData.maps[hud].fields[1].noDraw = 1;
  AddInterface(1, {6});              // 3: shown too, but later
  EXPECT_EQ(RunScript(u"Return(Screen.X)"), Variant::Text(u"answer"));
  ASSERT_EQ(objects_.size(), 1u);
  EXPECT_EQ(objects_[0], (ScriptValue{kObjectCameraView, Variant::Long(2), hud}));
  EXPECT_EQ(calls_.back().name, "X");
  // "screen." in another letter case is not the prefix.
  EXPECT_EQ(ErrorOfScript(u"Mark(screen.X)"),
            "Identifier \"screen.X\" is not a variable, switch, custom event or internal command.");
}

TEST_F(Fallback, MainNamesGoToTheCurrentPlayerOrTheRelateCharactersOwner) {
  RecordObjects("Money");
  projectState.players.resize(3);
  shell.currentPlayer = 1;
  gameData.maps[0].actors.resize(2);
  gameData.maps[0].actors[1].owningPlayer = 2;
  EXPECT_EQ(RunScript(u"Return(Main.Money)"), Variant::Text(u"answer"));
  CallFrame relating;
  relating.ownerMap = 0;
  relating.relateActor = 1;
  Run(Load(u"Mark(Main.Money)"), relating);
  storedProjectSettings.flags[18] = -1;  // "main" always the controlled member
  Run(Load(u"Mark(Main.Money)"), relating);
  ASSERT_EQ(objects_.size(), 3u);
  EXPECT_EQ(objects_[0], (ScriptValue{kObjectPlayer, Variant::Long(1), 0}));
  EXPECT_EQ(objects_[1], (ScriptValue{kObjectPlayer, Variant::Long(2), 0}));
  EXPECT_EQ(objects_[2], (ScriptValue{kObjectPlayer, Variant::Long(1), 0}));
}

TEST_F(Fallback, TheObjectIsNoObjectAgainAfterForwarding) {
  AddInterface(1, {6});
  PushCallFrame(CallFrame(), kiv::Script());
  for (const char16_t* name : {u"Screen.Shake", u"Main.Speed2"}) {
    ScriptValue object;
    ScriptValue result;
    ScriptRunInternal(SymbolIntern(name), object, -1, result, kModeRead, Variant(), true);
    EXPECT_EQ(object.kind, kObjectNone) << Utf16ToUtf8(name);
  }
}

// Maps appended while a custom event runs (as a map it names is loaded) leave
// the caller nothing stale: the event's parameters and the camera view are
// fetched again by index.
TEST_F(Fallback, MapsGrowingDuringANestedEventLeaveNothingStale) {
  AddInterface(1, {6});
  handlers_["Grow"] = [](const RecordedCall&, ScriptValue&) {
    for (int i = 0; i < 64; ++i) gameData.maps.Append();
  };
  AddEvent(u"Load", {u"a"}, u"Main.Grow\r\nReturn(a)");
  RecordObjects("X");
  EXPECT_EQ(RunScript(u"LOCAL r\r\nSET r = Custom.Load(Screen.X)\r\nSET r = r & Custom.Load(Screen.X)\r\nReturn(r)"),
            Variant::Text(u"answeranswer"));
  EXPECT_GE(gameData.maps.LastIndex(), 128);
}

}  // namespace
}  // namespace kiv::test
