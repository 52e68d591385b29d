// A save with the script engine installed keeps its waiting scripts, timed
// changes and global values, and writes them back unchanged.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/folders.h"
#include "core/symbol_table.h"
#include "save_game_fixture.h"
#include "script/call_frame.h"
#include "script/script_globals.h"
#include "script/script_state_hooks.h"
#include "script/timed_changes.h"
#include "script/waits.h"
#include "script/world_systems.h"

namespace kiv::test {
namespace {

class SaveGameScriptTest : public SaveGameTest {
 protected:
  void SetUp() override {
    SaveGameTest::SetUp();
    ClearScriptState();
    InstallScriptStateHooks();
    stateHooks.ResetTickBase = [this] { ++tickBaseResets; };
  }
  void TearDown() override {
    gameFolder.clear();
    unsetenv("XDG_DATA_HOME");
    ClearScriptState();
    SaveGameTest::TearDown();
  }
  static void ClearScriptState() {
    waitingScripts.clear();
    timedChanges.clear();
    scriptGlobals.Reset();
  }
};

WaitingScript Wait() {
  CallFrame frame;
  frame.ownerKind = kOwnerActor;
  frame.ownerIndex = 1;
  frame.scriptIndex = -1;  // the actor runs no script in that slot: loading finds none
  frame.statementIndex = 2;
  frame.locals = {{SymbolIntern(u"steps"), Variant::Long(3)}};
  frame.valueStack = {{kObjectCharacter, Variant::Long(1), 0}};
  frame.valueStackTop = 0;
  WaitingScript wait;
  wait.timeLeft = 1500;
  wait.controls = {3, 5};
  wait.actor = 1;
  wait.map = 0;
  wait.frames = {frame};
  return wait;
}

TimedChange Change() {
  TimedChange change;
  change.code = SymbolIntern(u"Color");
  change.target = {kObjectCharacter, Variant::Long(1), 0};
  change.interpolation = kInterpolateColor;
  change.start = Variant::Long(0x10203040);
  change.end = Variant::Long(0x50607080);
  change.elapsed = 250;
  change.duration = 1000;
  return change;
}

TEST_F(SaveGameScriptTest, WaitingScriptsTimedChangesAndGlobalsComeBackAndSaveTheSame) {
  StartSampleGame();
  AddObjectsOfEveryKind();
  waitingScripts = {Wait(), Wait()};
  waitingScripts[1].timeLeft = 0;
  timedChanges = {Change()};
  scriptGlobals.variables = {{SymbolIntern(u"Gold"), Variant::Long(250)},
                             {SymbolIntern(u"Hero"), Variant::Text(u"Ann")}};
  scriptGlobals.switches = {{SymbolIntern(u"GateOpen"), -1}};
  gameState.saveCount = 0x1233;
  SaveGame(dir.File("first.kSV"));

  // Play goes on and changes them before the save is loaded.
  ClearScriptState();
  ASSERT_EQ(LoadGame(dir.File("first.kSV")), 0);
  ASSERT_EQ(waitingScripts.size(), 2u);
  EXPECT_EQ(waitingScripts[0].timeLeft, 1500);
  EXPECT_EQ(waitingScripts[0].controls, (std::vector<std::int32_t>{3, 5}));
  ASSERT_EQ(waitingScripts[0].frames.size(), 1u);
  EXPECT_EQ(waitingScripts[0].frames[0].statementIndex, 2);
  EXPECT_EQ(waitingScripts[0].frames[0].scriptIndex, -1);
  ASSERT_EQ(timedChanges.size(), 1u);
  EXPECT_EQ(timedChanges[0].code, SymbolIntern(u"Color"));
  EXPECT_EQ(timedChanges[0].end, Variant::Long(0x50607080));
  ASSERT_EQ(scriptGlobals.variables.size(), 2u);
  EXPECT_EQ(scriptGlobals.variables[1].value, Variant::Text(u"Ann"));
  ASSERT_EQ(scriptGlobals.switches.size(), 1u);
  EXPECT_EQ(scriptGlobals.switches[0].state, -1);

  SaveGame(dir.File("second.kSV"));
  const ByteList first = StreamOf(dir.File("first.kSV"));
  const ByteList second = StreamOf(dir.File("second.kSV"));
  // The only difference is the low byte of the save count, 0x1234 against 0x1235.
  ASSERT_EQ(first.size(), second.size());
  std::size_t differing = 0;
  for (std::size_t i = 0; i < first.size(); ++i) {
    if (first[i] != second[i]) {
      ++differing;
      EXPECT_EQ(first[i], 0x34);
      EXPECT_EQ(second[i], 0x35);
    }
  }
  EXPECT_EQ(differing, 1u);
}

// A save may hold waits that can no longer be tested or resumed: a control
// outside the controls table, an owner outside its table. The Call Back
// system logs and drops each of them and goes on with the others.
TEST_F(SaveGameScriptTest, LoadedWaitsThatCannotBeTestedOrResumedAreLoggedAndDropped) {
  setenv("XDG_DATA_HOME", dir.Path().c_str(), 1);  // the error log goes to the test's folder
  gameFolder = dir.Path() + "/Game";
  StartSampleGame();
  const std::int32_t town = MapNamed(u"Town");
  ASSERT_GE(town, 0);
  // Waits of 100 ms, each with one frame: the map's second event script, a
  // control far beyond the table, an actor beyond the map's list.
  const auto wait = [town](std::int32_t ownerKind, std::int32_t ownerIndex,
                           std::vector<std::int32_t> waitControls) {
    CallFrame frame;
    frame.ownerKind = ownerKind;
    frame.ownerIndex = ownerIndex;
    frame.subIndex = 0;
    frame.ownerMap = town;
    frame.statementIndex = 0;
    WaitingScript entry;
    entry.timeLeft = 100;
    entry.controls = std::move(waitControls);
    entry.map = town;
    entry.frames = {frame};
    return entry;
  };
  waitingScripts = {wait(kOwnerMap, 1, {}), wait(kOwnerMap, 1, {999}), wait(kOwnerActor, 99, {})};
  SaveGame(dir.File("waits.kSV"));
  ClearScriptState();
  ASSERT_EQ(LoadGame(dir.File("waits.kSV")), 0);
  ASSERT_EQ(waitingScripts.size(), 3u);

  // Polled from the last: the first wait is still reached (and, its time
  // over, taken out of the list) after the two that fail.
  EXPECT_NO_THROW(RunCallBackSystem(100, 100));
  EXPECT_TRUE(waitingScripts.empty());
  EXPECT_EQ(scriptEngine.callTop, -1);
  EXPECT_EQ(scriptEngine.resumeTop, -1);
  const ByteList log = ReadTestFile(dir.Path() + "/Kiv/Games/Game/ERROR.LOG");
  EXPECT_EQ(
      std::string(log.begin(), log.end()),
      "Error: Actor 99 does not exist. (9)\r\n  in waiting script of Map: \"Town\" Actor: \"\" Trigger: \r\n"
      "Error: Subscript out of range (9)\r\n  in waiting script of Map: \"Town\" Trigger: 1\r\n");
}

}  // namespace
}  // namespace kiv::test
