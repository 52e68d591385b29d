#include "script/saved_run_state.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/symbol_table.h"
#include "script/call_frame.h"
#include "script/timed_changes.h"
#include "script/waits.h"
#include "state/game_state.h"
#include "state/state_hooks.h"
#include "support/buffer_writer.h"
#include "trigger_engine_fixture.h"

namespace kiv {
namespace {

using test::BufferWriter;

constexpr std::int32_t kVersion = 100790;

// A frame whose every field holds a value of its own (base + field number), with
// variables, an id list and a value stack of object references whose vector
// is longer than its top, as the interpreter leaves it.
CallFrame SampleFrame(std::int32_t base) {
  CallFrame f;
  f.ownerKind = kOwnerActor;
  f.ownerIndex = base + 1;
  f.subIndex = base + 2;
  f.scriptIndex = base + 3;
  f.statementIndex = base + 4;
  f.tokenPosition = base + 5;
  f.assignment = 1;
  f.callerValue = base + 6;
  f.statics = {{SymbolIntern(u"count"), Variant::Long(base + 7)}};
  f.locals = {{SymbolIntern(u"x"), Variant::Text(u"hello")}, {SymbolIntern(u"y"), Variant::Single(2.5f)}};
  f.parameters = {{SymbolIntern(u"target"), Variant::Long(base + 8)}};
  f.idList = Variant::Array(kVarLong, {Variant::Long(base + 9), Variant::Long(base + 10)});
  f.ownerMap = base + 11;
  f.relateActor = base + 12;
  f.relateValue2 = base + 13;
  f.relateDoor = base + 14;
  f.relateTurret = base + 15;
  f.relateItem = base + 16;
  f.player = base + 17;
  f.thisZone = base + 18;
  f.thisActor = base + 19;
  f.thisDoor = base + 20;
  f.thisSpawn = base + 21;
  f.thisItem = base + 22;
  f.thisField = base + 23;
  f.suspendRoot = base + 24;
  f.valueStack = {{kObjectCharacter, Variant::Long(base + 25), 2},
                  {kValueOperator, Variant::Integer(u'+'), 0},
                  {kObjectDoor, Variant::Long(base + 26), 3},
                  {kValuePlain, Variant::Text(u"scratch"), 0},
                  {kValuePlain, Variant::Long(99), 0}};
  f.valueStackTop = 2;
  f.stackBase = base + 27;
  return f;
}

WaitingScript SampleWait() {
  WaitingScript wait;
  wait.combination = 0;
  wait.timeLeft = 1500;
  wait.controlCombination = 1;
  wait.controls = {3, 5};
  wait.actor = 4;
  wait.fieldText = 6;
  wait.fieldTarget = 7;
  wait.map = 2;
  wait.flags = 1 | 4;
  wait.player = 3;    // not stored
  wait.released = 1;  // not stored
  wait.paused = 1;
  wait.frames = {SampleFrame(100), SampleFrame(200)};
  wait.frames[1].ownerKind = kOwnerCustomEvent;
  return wait;
}

TimedChange SampleChange() {
  TimedChange change;
  change.code = SymbolIntern(u"Color");
  change.target = {kObjectCharacter, Variant::Long(4), 1};
  change.arguments = {{kValuePlain, Variant::Text(u"head"), 0}, {kObjectLight, Variant::Long(2), 1}};
  change.argumentUpper = 1;
  change.interpolation = kInterpolateColor;
  change.start = Variant::Long(static_cast<std::int32_t>(0xFF000000u));
  change.end = Variant::Long(static_cast<std::int32_t>(0xFFFFFFFFu));
  change.elapsed = 250;
  change.duration = 1000;
  change.paused = 1;
  return change;
}

void ExpectSameVariables(const std::vector<ScriptVariable>& a, const std::vector<ScriptVariable>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].symbol, b[i].symbol);
    EXPECT_EQ(a[i].value, b[i].value);
  }
}

// Compares what a save keeps: the value stack up to its top.
void ExpectSameFrame(const CallFrame& read, const CallFrame& saved) {
  const auto longs = [](const CallFrame& f) {
    return std::vector<std::int32_t>{
        f.ownerKind,   f.ownerIndex, f.subIndex,    f.scriptIndex,   f.statementIndex, f.tokenPosition,
        f.callerValue, f.ownerMap,   f.relateActor, f.relateValue2,  f.relateDoor,     f.relateTurret,
        f.relateItem,  f.player,     f.thisZone,    f.thisActor,     f.thisDoor,       f.thisSpawn,
        f.thisItem,    f.thisField,  f.suspendRoot, f.valueStackTop, f.stackBase,      f.assignment};
  };
  EXPECT_EQ(longs(read), longs(saved));
  EXPECT_EQ(read.idList, saved.idList);
  ExpectSameVariables(read.locals, saved.locals);
  ExpectSameVariables(read.statics, saved.statics);
  ExpectSameVariables(read.parameters, saved.parameters);
  const std::vector<ScriptValue> kept(saved.valueStack.begin(),
                                      saved.valueStack.begin() + (saved.valueStackTop + 1));
  EXPECT_EQ(read.valueStack, kept);
}

void ExpectSameWait(const WaitingScript& read, const WaitingScript& saved) {
  EXPECT_EQ(read.combination, saved.combination);
  EXPECT_EQ(read.timeLeft, saved.timeLeft);
  EXPECT_EQ(read.controlCombination, saved.controlCombination);
  EXPECT_EQ(read.controls, saved.controls);
  EXPECT_EQ(read.actor, saved.actor);
  EXPECT_EQ(read.fieldText, saved.fieldText);
  EXPECT_EQ(read.fieldTarget, saved.fieldTarget);
  EXPECT_EQ(read.map, saved.map);
  EXPECT_EQ(read.flags, saved.flags);
  EXPECT_EQ(read.paused, saved.paused);
  ASSERT_EQ(read.frames.size(), saved.frames.size());
  for (std::size_t i = 0; i < read.frames.size(); ++i) {
    SCOPED_TRACE("frame " + std::to_string(i));
    ExpectSameFrame(read.frames[i], saved.frames[i]);
  }
}

void ExpectSameChange(const TimedChange& read, const TimedChange& saved) {
  EXPECT_EQ(read.code, saved.code);
  EXPECT_EQ(read.target, saved.target);
  EXPECT_EQ(read.arguments, saved.arguments);
  EXPECT_EQ(read.argumentUpper, saved.argumentUpper);
  EXPECT_EQ(read.interpolation, saved.interpolation);
  EXPECT_EQ(read.start, saved.start);
  EXPECT_EQ(read.end, saved.end);
  EXPECT_EQ(read.elapsed, saved.elapsed);
  EXPECT_EQ(read.duration, saved.duration);
  EXPECT_EQ(read.paused, saved.paused);
}

// The stored form of a value-stack entry or target.
void PutValue(BufferWriter& w, const ScriptValue& v) {
  w.WriteLong(v.kind).WriteVariant(v.value).WriteLong(v.mapIndex);
}

void PutVariables(BufferWriter& w, const std::vector<ScriptVariable>& list) {
  w.WriteLong(static_cast<std::int32_t>(list.size()) - 1);
  for (const ScriptVariable& v : list) w.WriteString(SymbolName(v.symbol)).WriteVariant(v.value);
}

class SavedRunStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SymbolTableReset();
    waitingScripts.clear();
    timedChanges.clear();
  }
  void TearDown() override {
    waitingScripts.clear();
    timedChanges.clear();
  }

  static ByteList WriteAll() {
    ByteList buffer;
    std::int32_t offset = 0;
    WriteScriptRunState(buffer, offset);
    EXPECT_EQ(offset, static_cast<std::int32_t>(buffer.size()));
    return buffer;
  }

  static std::int32_t ReadAll(const ByteList& buffer) {
    std::int32_t offset = 0;
    ReadScriptRunState(buffer, offset, kVersion);
    return offset;
  }
};

TEST_F(SavedRunStateTest, WaitsAndTimedChangesRoundTripFieldByFieldAndByteForByte) {
  const WaitingScript wait = SampleWait();
  const TimedChange change = SampleChange();
  WaitingScript noFrames;
  noFrames.timeLeft = 40;
  waitingScripts = {wait, noFrames};
  timedChanges = {change};
  const ByteList first = WriteAll();

  waitingScripts.clear();
  timedChanges.clear();
  EXPECT_EQ(ReadAll(first), static_cast<std::int32_t>(first.size()));
  ASSERT_EQ(waitingScripts.size(), 2u);
  ExpectSameWait(waitingScripts[0], wait);
  ExpectSameWait(waitingScripts[1], noFrames);
  // The player condition and the release flag are not stored.
  EXPECT_EQ(waitingScripts[0].player, 0);
  EXPECT_EQ(waitingScripts[0].released, 0);
  ASSERT_EQ(timedChanges.size(), 1u);
  ExpectSameChange(timedChanges[0], change);

  EXPECT_EQ(WriteAll(), first);
}

TEST_F(SavedRunStateTest, EmptyListsWriteTwoLastIndexesOfMinusOne) {
  EXPECT_EQ(WriteAll(), BufferWriter().WriteLong(-1).WriteLong(-1).Bytes());
}

TEST_F(SavedRunStateTest, WaitingScriptLayout) {
  WaitingScript wait = SampleWait();
  wait.frames.resize(1);
  CallFrame& f = wait.frames[0];
  waitingScripts = {wait};

  BufferWriter expected;
  expected.WriteByte(0).WriteLong(1500).WriteByte(1);
  expected.WriteLong(1).WriteLong(3).WriteLong(5);
  expected.WriteLong(4).WriteLong(6).WriteLong(7).WriteLong(1 | 4).WriteLong(2);  // actor, fields, flags, map
  expected.WriteByte(1);                                                          // pause stamp
  expected.WriteLong(0);                                                          // one frame
  for (const std::int32_t v :
       {f.ownerKind, f.ownerIndex, f.subIndex, f.scriptIndex, f.statementIndex, f.tokenPosition,
        f.callerValue, f.ownerMap, f.relateActor, f.relateValue2, f.relateDoor, f.relateTurret}) {
    expected.WriteLong(v);
  }
  expected.WriteVariant(f.idList);
  PutVariables(expected, f.locals);
  PutVariables(expected, f.statics);
  PutVariables(expected, f.parameters);
  expected.WriteLong(f.relateItem).WriteByte(f.assignment);
  expected.WriteLong(2);
  for (std::size_t i = 0; i <= 2; ++i) PutValue(expected, f.valueStack[i]);
  for (const std::int32_t v : {f.player, f.thisZone, f.thisActor, f.thisDoor, f.thisSpawn, f.thisItem,
                               f.thisField, f.suspendRoot, f.stackBase}) {
    expected.WriteLong(v);
  }

  ByteList buffer;
  std::int32_t offset = 0;
  WriteWaitingScript(buffer, offset, 0);
  EXPECT_EQ(buffer, expected.Bytes());
}

TEST_F(SavedRunStateTest, EmptyFrameListAndArgumentListEndWithMinusOne) {
  WaitingScript wait;
  wait.timeLeft = 10;
  wait.player = 2;
  waitingScripts = {wait};
  ByteList buffer;
  std::int32_t offset = 0;
  WriteWaitingScript(buffer, offset, 0);
  EXPECT_EQ(buffer, BufferWriter()
                        .WriteByte(1)
                        .WriteLong(10)
                        .WriteByte(0)
                        .WriteLong(-1)  // no controls
                        .WriteLong(-1)
                        .WriteLong(-1)
                        .WriteLong(-1)
                        .WriteLong(0)
                        .WriteLong(-1)
                        .WriteByte(0)
                        .WriteLong(-1)  // no frames, and nothing after
                        .Bytes());

  TimedChange change;
  change.code = SymbolIntern(u"Alpha");
  change.target = {kObjectField, Variant::Long(3), 1};
  change.start = Variant::Single(0.0f);
  change.end = Variant::Single(1.0f);
  change.duration = 500;
  timedChanges = {change};
  buffer.clear();
  offset = 0;
  WriteTimedChange(buffer, offset, 0);
  EXPECT_EQ(buffer, BufferWriter()
                        .WriteString(u"Alpha")
                        .WriteLong(kObjectField)
                        .WriteVariant(Variant::Long(3))
                        .WriteLong(1)
                        .WriteLong(-1)  // no arguments
                        .WriteLong(kInterpolateNumber)
                        .WriteVariant(Variant::Single(0.0f))
                        .WriteVariant(Variant::Single(1.0f))
                        .WriteLong(0)
                        .WriteLong(500)
                        .WriteByte(0)
                        .Bytes());
}

TEST_F(SavedRunStateTest, SingleRecordsReadIntoTheEntryTheCallerSized) {
  waitingScripts = {SampleWait()};
  timedChanges = {SampleChange()};
  ByteList buffer;
  std::int32_t offset = 0;
  WriteWaitingScript(buffer, offset, 0);
  WriteTimedChange(buffer, offset, 0);

  waitingScripts.assign(2, WaitingScript());
  timedChanges.assign(2, TimedChange());
  offset = 0;
  ReadSavedWaitingScript(buffer, offset, kVersion, 1);
  ReadSavedTimedChange(buffer, offset, kVersion, 1);
  EXPECT_EQ(offset, static_cast<std::int32_t>(buffer.size()));
  ExpectSameWait(waitingScripts[1], SampleWait());
  EXPECT_EQ(waitingScripts[1].player, 0);
  ExpectSameChange(timedChanges[1], SampleChange());
  EXPECT_TRUE(waitingScripts[0].frames.empty());

  for (const std::int32_t index : {-1, 2}) {
    offset = 0;
    try {
      ReadSavedWaitingScript(buffer, offset, kVersion, index);
      ADD_FAILURE() << "no error for index " << index;
    } catch (const KivError& error) {
      EXPECT_EQ(error.Number(), kErrIndex);
    }
  }
  try {
    WriteTimedChange(buffer, offset, 2);
    ADD_FAILURE() << "no error";
  } catch (const KivError& error) {
    EXPECT_EQ(error.Number(), kErrIndex);
  }

  // A damaged record leaves the entry as it was.
  const ByteList cut(buffer.begin(), buffer.begin() + 60);
  offset = 0;
  EXPECT_THROW(ReadSavedWaitingScript(cut, offset, kVersion, 0), KivError);
  EXPECT_EQ(waitingScripts[0].timeLeft, 0);
  EXPECT_TRUE(waitingScripts[0].controls.empty());
}

TEST_F(SavedRunStateTest, TruncatedStreamRaisesAndLeavesBothListsAsTheyWere) {
  waitingScripts = {SampleWait()};
  timedChanges = {SampleChange()};
  const ByteList full = WriteAll();
  for (std::size_t cut = 0; cut < full.size(); ++cut) {
    const ByteList part(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut));
    try {
      ReadAll(part);
      ADD_FAILURE() << "no error at cut " << cut;
    } catch (const KivError& error) {
      EXPECT_EQ(error.Number(), kErrData) << "cut " << cut;
    }
  }
  // Untouched: the same bytes again, and what only the live records hold.
  EXPECT_EQ(WriteAll(), full);
  ASSERT_EQ(waitingScripts.size(), 1u);
  EXPECT_EQ(waitingScripts[0].player, 3);
  EXPECT_EQ(waitingScripts[0].frames.at(0).valueStack.size(), 5u);
}

// A waiting script up to its frame count.
BufferWriter WaitHead(std::int32_t controlLast) {
  BufferWriter w;
  w.WriteLong(0).WriteByte(1).WriteLong(0).WriteByte(0).WriteLong(controlLast);
  return w;
}

BufferWriter WaitUpToFrames(std::int32_t frameLast) {
  BufferWriter w = WaitHead(-1);
  for (int i = 0; i < 5; ++i) w.WriteLong(-1);
  w.WriteByte(0).WriteLong(frameLast);
  return w;
}

TEST_F(SavedRunStateTest, CountsBeyondTheBytesLeftRaiseBeforeAllocating) {
  BufferWriter stackTooLong = WaitUpToFrames(0);
  for (int i = 0; i < 12; ++i) stackTooLong.WriteLong(0);
  stackTooLong.WriteVariant(Variant()).WriteLong(-1).WriteLong(-1).WriteLong(-1).WriteLong(-1).WriteByte(0);
  stackTooLong.WriteLong(0x7FFFFFF0);
  for (int i = 0; i < 9; ++i) stackTooLong.WriteLong(0);

  BufferWriter propertyTooLong = WaitUpToFrames(0);
  for (int i = 0; i < 12; ++i) propertyTooLong.WriteLong(0);
  propertyTooLong.WriteVariant(Variant()).WriteLong(0x20000000);

  struct Case {
    const char* name;
    ByteList stream;
  };
  const std::vector<Case> cases = {
      {"waiting scripts", BufferWriter().WriteLong(0x7FFFFFFF).WriteLong(-1).Bytes()},
      {"switch numbers", WaitHead(0x40000000).WriteLong(1).Bytes()},
      {"frames", WaitUpToFrames(0x01000000).WriteLong(0).Bytes()},
      {"locals", propertyTooLong.Bytes()},
      {"value stack", stackTooLong.Bytes()},
      {"timed changes", BufferWriter().WriteLong(-1).WriteLong(0x7FFFFFFF).Bytes()},
      {"arguments", BufferWriter()
                        .WriteLong(-1)
                        .WriteLong(0)
                        .WriteString(u"X")
                        .WriteLong(0)
                        .WriteVariant(Variant())
                        .WriteLong(0)
                        .WriteLong(0x7FFFFFFF)
                        .WriteLong(0)
                        .Bytes()},
      {"property name", BufferWriter().WriteLong(-1).WriteLong(0).WriteLong(-8).Bytes()},
      {"id list",
       [] {
         BufferWriter w = WaitUpToFrames(0);
         for (int i = 0; i < 12; ++i) w.WriteLong(0);
         w.WriteByte(12).WriteLong(0x7FFFFFFF);  // an array of tagged values far too long
         return w.Bytes();
       }()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      ReadAll(c.stream);
      ADD_FAILURE() << "no error";
    } catch (const KivError& error) {
      EXPECT_EQ(error.Number(), kErrData);
    }
    EXPECT_TRUE(waitingScripts.empty());
    EXPECT_TRUE(timedChanges.empty());
  }
}

// ---- with the trigger engine: saved waits resume, system scripts run ----

constexpr std::int32_t kEvent = 600;  // an event without conditions

class SavedRunResumeTest : public test::TriggerEngineTest {
 protected:
  void TearDown() override {
    stateHooks.Reset();
    systemScripts = {};
    test::TriggerEngineTest::TearDown();
  }
};

TEST_F(SavedRunResumeTest, WaitRestoredFromASaveResumesInsideItsCustomEvent) {
  gameData.customEvents.resize(1);
  gameData.customEvents[0].script = MakeScript(u"LOCAL n\r\nSET n = 3\r\nPause(100)\r\nReturn(n + 4)");
  const std::int32_t owner = AddActor(kEvent, u"LOCAL x\r\nSET x = 1 + MyEvent()\r\nMark(x)");
  Raise(owner);
  ASSERT_EQ(waitingScripts.size(), 1u);
  ASSERT_EQ(waitingScripts[0].frames.size(), 2u);

  // Saved and loaded through the state hooks that the trigger engine installs.
  // The stored script indexes are stale (a loaded game registers its scripts
  // in its own order): reading points them at the scripts the owners run.
  std::vector<std::int32_t> running;
  for (CallFrame& frame : waitingScripts[0].frames) {
    running.push_back(frame.scriptIndex);
    frame.scriptIndex = 77;
  }
  ByteList buffer;
  std::int32_t offset = 0;
  stateHooks.WriteScriptRunState(buffer, offset);
  waitingScripts.clear();
  offset = 0;
  stateHooks.ReadScriptRunState(buffer, offset, kVersion);
  ASSERT_EQ(waitingScripts.size(), 1u);
  for (std::size_t f = 0; f < running.size(); ++f) EXPECT_EQ(waitingScripts[0].frames[f].scriptIndex, running[f]);

  Tick(99);
  EXPECT_TRUE(Marks().empty());
  Tick(1);
  // The caller's pending "1 +" and the event's local n both survived the save.
  EXPECT_EQ(Marks(), (std::vector<Variant>{Variant::Long(8)}));
  EXPECT_TRUE(waitingScripts.empty());
  EXPECT_EQ(scriptEngine.callTop, -1);
  EXPECT_EQ(ErrorLog(), "");
}

TEST_F(SavedRunResumeTest, NegativeTokenPositionIsADamagedRecord) {
  Raise(AddActor(kEvent, u"Pause(100)\r\nMark(1)"));
  ASSERT_EQ(waitingScripts.size(), 1u);
  waitingScripts[0].frames.at(0).tokenPosition = -1;  // the resumed statement would start before its tokens
  ByteList buffer;
  std::int32_t offset = 0;
  stateHooks.WriteScriptRunState(buffer, offset);
  waitingScripts.clear();
  offset = 0;
  try {
    stateHooks.ReadScriptRunState(buffer, offset, kVersion);
    ADD_FAILURE() << "no error";
  } catch (const KivError& error) {
    EXPECT_EQ(error.Number(), kErrData);
  }
  EXPECT_TRUE(waitingScripts.empty());
}

TEST_F(SavedRunResumeTest, SystemEventsRunTheSystemScriptOfTheirSlot) {
  systemScripts[9] = MakeScript(u"Mark(9)");
  for (const std::int32_t slot : {9, 3}) {
    TriggerRun run;
    run.ownerKind = kOwnerSystem;
    run.ownerIndex = slot;
    ScriptRunTrigger(run);
  }
  EXPECT_EQ(Marks(), (std::vector<Variant>{Variant::Long(9)}));  // slot 3 holds no statements
  EXPECT_EQ(ErrorLog(), "");
}

}  // namespace
}  // namespace kiv
