#include "script/saved_run_state.h"

#include <string>
#include <utility>
#include <vector>

#include "core/data_buffer.h"
#include "core/error.h"
#include "core/symbol_table.h"
#include "data/lists.h"
#include "script/call_frame.h"
#include "script/timed_changes.h"
#include "script/trigger_dispatch.h"
#include "script/waits.h"
#include "state/symbol_text.h"

namespace kiv {

namespace {

// Smallest stored sizes, for checking counts against the bytes left.
constexpr std::int32_t kMinVariantSize = 5;                      // a tag and an empty text or array
constexpr std::int32_t kMinValueSize = 4 + kMinVariantSize + 4;  // kind, value, map index
constexpr std::int32_t kMinFrameSize = 12 * 4 + kMinVariantSize + 3 * 4 + 4 + 1 + 4 + 9 * 4;
constexpr std::int32_t kMinWaitSize = 1 + 4 + 1 + 4 + 5 * 4 + 1 + 4;
constexpr std::int32_t kMinTimedChangeSize = 4 + kMinValueSize + 4 + 4 + 2 * kMinVariantSize + 4 + 4 + 1;

template <typename T>
T& Entry(std::vector<T>& list, std::int32_t index, const char* what) {
  if (index < 0 || index >= static_cast<std::int32_t>(list.size())) {
    RaiseError(kErrIndex, std::string(what) + " " + std::to_string(index) + " does not exist.");
  }
  return list[static_cast<std::size_t>(index)];
}

// ---- values ----

void WriteValue(ByteList& buffer, std::int32_t& offset, const ScriptValue& value) {
  BufferWriteLong(buffer, value.kind, offset);
  BufferWriteVariant(buffer, value.value, offset);
  BufferWriteLong(buffer, value.mapIndex, offset);
}

ScriptValue ReadValue(const ByteList& buffer, std::int32_t& offset) {
  ScriptValue value;
  value.kind = BufferReadLong(buffer, offset);
  BufferReadVariant(buffer, value.value, offset);
  value.mapIndex = BufferReadLong(buffer, offset);
  return value;
}

// ---- call frames ----

void WriteFrame(ByteList& buffer, std::int32_t& offset, const CallFrame& frame) {
  for (const std::int32_t value :
       {frame.ownerKind, frame.ownerIndex, frame.subIndex, frame.scriptIndex, frame.statementIndex,
        frame.tokenPosition, frame.callerValue, frame.ownerMap, frame.relateActor, frame.relateValue2,
        frame.relateDoor, frame.relateTurret}) {
    BufferWriteLong(buffer, value, offset);
  }
  BufferWriteVariant(buffer, frame.idList, offset);
  WritePropertyList(buffer, offset, frame.locals);
  WritePropertyList(buffer, offset, frame.statics);
  WritePropertyList(buffer, offset, frame.parameters);
  BufferWriteLong(buffer, frame.relateItem, offset);
  BufferWriteByte(buffer, frame.assignment, offset);

  // The stack up to its top; the entries above it are scratch space. An entry
  // the vector lacks (never left by the interpreter) is stored empty so that
  // the record stays whole.
  const std::int32_t top = frame.valueStackTop < -1 ? -1 : frame.valueStackTop;
  BufferWriteLong(buffer, top, offset);
  const ScriptValue empty;
  for (std::int32_t i = 0; i <= top; ++i) {
    const std::size_t index = static_cast<std::size_t>(i);
    WriteValue(buffer, offset, index < frame.valueStack.size() ? frame.valueStack[index] : empty);
  }

  for (const std::int32_t value :
       {frame.player, frame.thisZone, frame.thisActor, frame.thisDoor, frame.thisSpawn, frame.thisItem,
        frame.thisField, frame.suspendRoot, frame.stackBase}) {
    BufferWriteLong(buffer, value, offset);
  }
}

CallFrame ReadFrame(const ByteList& buffer, std::int32_t& offset) {
  CallFrame frame;
  for (std::int32_t* field :
       {&frame.ownerKind, &frame.ownerIndex, &frame.subIndex, &frame.scriptIndex, &frame.statementIndex,
        &frame.tokenPosition, &frame.callerValue, &frame.ownerMap, &frame.relateActor, &frame.relateValue2,
        &frame.relateDoor, &frame.relateTurret}) {
    *field = BufferReadLong(buffer, offset);
  }
  // The interpreter resumes a statement from this token on.
  if (frame.tokenPosition < 0) RaiseError(kErrData, "Invalid token position.");
  BufferReadVariant(buffer, frame.idList, offset);
  ReadPropertyList(buffer, offset, frame.locals);
  ReadPropertyList(buffer, offset, frame.statics);
  ReadPropertyList(buffer, offset, frame.parameters);
  frame.relateItem = BufferReadLong(buffer, offset);
  frame.assignment = BufferReadByte(buffer, offset);

  // The stack holds exactly the entries up to its top: the interpreter grows
  // it as it pushes and sizes it afresh before a statement that starts empty.
  frame.valueStackTop = BufferReadLastIndex(buffer, offset, kMinValueSize);
  frame.valueStack.reserve(static_cast<std::size_t>(frame.valueStackTop + 1));
  for (std::int32_t i = 0; i <= frame.valueStackTop; ++i)
    frame.valueStack.push_back(ReadValue(buffer, offset));

  for (std::int32_t* field :
       {&frame.player, &frame.thisZone, &frame.thisActor, &frame.thisDoor, &frame.thisSpawn, &frame.thisItem,
        &frame.thisField, &frame.suspendRoot, &frame.stackBase}) {
    *field = BufferReadLong(buffer, offset);
  }
  return frame;
}

// ---- records ----

void WriteWait(ByteList& buffer, std::int32_t& offset, const WaitingScript& wait) {
  BufferWriteByte(buffer, wait.combination, offset);
  BufferWriteLong(buffer, wait.timeLeft, offset);
  BufferWriteByte(buffer, wait.controlCombination, offset);
  BufferWriteLastIndex(buffer, wait.controls.size(), offset);
  for (const std::int32_t control : wait.controls) BufferWriteLong(buffer, control, offset);
  for (const std::int32_t value : {wait.actor, wait.fieldText, wait.fieldTarget, wait.flags, wait.map}) {
    BufferWriteLong(buffer, value, offset);
  }
  BufferWriteByte(buffer, wait.paused, offset);
  BufferWriteLastIndex(buffer, wait.frames.size(), offset);
  for (const CallFrame& frame : wait.frames) WriteFrame(buffer, offset, frame);
}

WaitingScript ReadWait(const ByteList& buffer, std::int32_t& offset) {
  WaitingScript wait;
  wait.combination = BufferReadByte(buffer, offset);
  wait.timeLeft = BufferReadLong(buffer, offset);
  wait.controlCombination = BufferReadByte(buffer, offset);
  const std::int32_t controlLast = BufferReadLastIndex(buffer, offset, 4);
  wait.controls.resize(static_cast<std::size_t>(controlLast + 1));
  for (std::int32_t& control : wait.controls) control = BufferReadLong(buffer, offset);
  for (std::int32_t* field : {&wait.actor, &wait.fieldText, &wait.fieldTarget, &wait.flags, &wait.map}) {
    *field = BufferReadLong(buffer, offset);
  }
  wait.paused = BufferReadByte(buffer, offset);
  const std::int32_t frameLast = BufferReadLastIndex(buffer, offset, kMinFrameSize);
  wait.frames.reserve(static_cast<std::size_t>(frameLast + 1));
  for (std::int32_t i = 0; i <= frameLast; ++i) wait.frames.push_back(ReadFrame(buffer, offset));
  // Not stored: the player whose controls are tested and the release flag.
  wait.player = 0;
  wait.released = 0;
  return wait;
}

void WriteChange(ByteList& buffer, std::int32_t& offset, const TimedChange& change) {
  BufferWriteString(buffer, SymbolText(change.code), offset);
  WriteValue(buffer, offset, change.target);
  BufferWriteLastIndex(buffer, change.arguments.size(), offset);
  for (const ScriptValue& argument : change.arguments) WriteValue(buffer, offset, argument);
  BufferWriteLong(buffer, change.interpolation, offset);
  BufferWriteVariant(buffer, change.start, offset);
  BufferWriteVariant(buffer, change.end, offset);
  BufferWriteLong(buffer, change.elapsed, offset);
  BufferWriteLong(buffer, change.duration, offset);
  BufferWriteByte(buffer, change.paused, offset);
}

TimedChange ReadChange(const ByteList& buffer, std::int32_t& offset) {
  TimedChange change;
  change.code = SymbolIntern(BufferReadString(buffer, offset));
  change.target = ReadValue(buffer, offset);
  change.argumentUpper = BufferReadLastIndex(buffer, offset, kMinValueSize);
  change.arguments.reserve(static_cast<std::size_t>(change.argumentUpper + 1));
  for (std::int32_t i = 0; i <= change.argumentUpper; ++i)
    change.arguments.push_back(ReadValue(buffer, offset));
  change.interpolation = BufferReadLong(buffer, offset);
  BufferReadVariant(buffer, change.start, offset);
  BufferReadVariant(buffer, change.end, offset);
  change.elapsed = BufferReadLong(buffer, offset);
  change.duration = BufferReadLong(buffer, offset);
  change.paused = BufferReadByte(buffer, offset);
  return change;
}

}  // namespace

void WriteWaitingScript(ByteList& buffer, std::int32_t& offset, std::int32_t index) {
  WriteWait(buffer, offset, Entry(waitingScripts, index, "Waiting script"));
}

void WriteTimedChange(ByteList& buffer, std::int32_t& offset, std::int32_t index) {
  WriteChange(buffer, offset, Entry(timedChanges, index, "Timed change"));
}

void ReadSavedWaitingScript(const ByteList& buffer, std::int32_t& offset, std::int32_t, std::int32_t index) {
  WaitingScript& entry = Entry(waitingScripts, index, "Waiting script");
  entry = ReadWait(buffer, offset);
}

void ReadSavedTimedChange(const ByteList& buffer, std::int32_t& offset, std::int32_t, std::int32_t index) {
  TimedChange& entry = Entry(timedChanges, index, "Timed change");
  entry = ReadChange(buffer, offset);
}

void WriteScriptRunState(ByteList& buffer, std::int32_t& offset) {
  BufferWriteLastIndex(buffer, waitingScripts.size(), offset);
  for (const WaitingScript& wait : waitingScripts) WriteWait(buffer, offset, wait);
  BufferWriteLastIndex(buffer, timedChanges.size(), offset);
  for (const TimedChange& change : timedChanges) WriteChange(buffer, offset, change);
}

void ReadScriptRunState(const ByteList& buffer, std::int32_t& offset, std::int32_t) {
  std::vector<WaitingScript> waits;
  const std::int32_t waitLast = BufferReadLastIndex(buffer, offset, kMinWaitSize);
  waits.reserve(static_cast<std::size_t>(waitLast + 1));
  for (std::int32_t i = 0; i <= waitLast; ++i) waits.push_back(ReadWait(buffer, offset));

  std::vector<TimedChange> changes;
  const std::int32_t changeLast = BufferReadLastIndex(buffer, offset, kMinTimedChangeSize);
  changes.reserve(static_cast<std::size_t>(changeLast + 1));
  for (std::int32_t i = 0; i <= changeLast; ++i) changes.push_back(ReadChange(buffer, offset));

  waitingScripts = std::move(waits);
  timedChanges = std::move(changes);
}

void RelinkSavedFrames() {
  for (WaitingScript& wait : waitingScripts) {
    for (CallFrame& frame : wait.frames) {
      try {
        frame.scriptIndex = FindTriggerScript(frame.ownerKind, frame.ownerIndex, frame.subIndex, frame.ownerMap);
      } catch (const KivError&) {
        frame.scriptIndex = -1;  // an owner outside its table
      }
    }
  }
}

}  // namespace kiv
