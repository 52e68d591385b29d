#include "script/trigger_dispatch.h"

#include <algorithm>
#include <limits>
#include <string>
#include <utility>

#include "core/error.h"
#include "core/log.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "data/template_application.h"
#include "media/gestures.h"
#include "media/input_binding.h"
#include "media/player_input_state.h"
#include "script/condition_compiler.h"
#include "script/script_interpreter.h"
#include "script/script_stack_access.h"
#include "script/script_value_ops.h"
#include "script/trigger_description.h"
#include "script/trigger_hooks.h"
#include "script/waits.h"
#include "state/game_state.h"

namespace kiv {

std::array<float, 4> gestureResults{};

namespace {

constexpr std::int32_t kSystemSlotCount = kSystemScriptCount;
constexpr std::int32_t kControlMode = 1;

[[noreturn]] void RaiseNoSlot(const char* what, std::int32_t index) {
  RaiseError(kErrIndex, std::string(what) + " " + std::to_string(index) + " does not exist.");
}

template <typename List>
auto& Element(List& list, std::int32_t index, const char* what) {
  if (index < 0 || static_cast<std::size_t>(index) >= list.size()) RaiseNoSlot(what, index);
  return list[static_cast<std::size_t>(index)];
}

// The game state's system script of a slot; none while the slot has no statements.
const Script* SystemSlotScript(std::int32_t slot) {
  const Script& script = systemScripts[static_cast<std::size_t>(slot)];
  return script.hasStatements ? &script : nullptr;
}

// The script record held by an owner's slot; nullptr for an empty sprite-texture slot.
const Script* SlotScript(std::int32_t ownerKind, std::int32_t ownerIndex, std::int32_t subIndex,
                         std::int32_t map) {
  switch (ownerKind) {
    case kOwnerSystem:
      if (ownerIndex < 0 || ownerIndex >= kSystemSlotCount) RaiseNoSlot("System script", ownerIndex);
      return SystemSlotScript(ownerIndex);
    case kOwnerMap:
      return &Element(gameData.maps[map].eventScripts, ownerIndex, "Map event");
    case kOwnerZone:
      return &Element(Element(gameData.maps[map].zones, ownerIndex, "Zone").triggers, subIndex, "Trigger").script;
    case kOwnerActor:
      return &Element(Element(gameData.maps[map].actors, ownerIndex, "Actor").triggers, subIndex, "Trigger").script;
    case kOwnerDoor:
      return &Element(Element(gameData.maps[map].doors, ownerIndex, "Door").scripts, subIndex, "Door event");
    case kOwnerItem:
      return &Element(Element(gameData.items, ownerIndex, "Item").scripts, subIndex, "Item event");
    case kOwnerSpawn:
      return &Element(Element(gameData.maps[map].spawns, ownerIndex, "Spawn").scripts, subIndex, "Spawn event");
    case kOwnerField:
      return &Element(Element(gameData.maps[map].fields, ownerIndex, "Field").triggers, subIndex, "Trigger").script;
    case kOwnerInput:
      return &Element(Element(gameData.inputSets, ownerIndex, "Input set").entries, subIndex, "Input").script;
    case kOwnerCustomEvent:
      return &Element(gameData.customEvents, ownerIndex, "Custom event").script;
    case kOwnerFieldValue:
      return &Element(Element(gameData.maps[map].fields, ownerIndex, "Field").scripts, subIndex, "Field value");
    default:
      RaiseNoSlot("Trigger owner kind", ownerKind);
  }
}

Script* ScriptOrNull(std::int32_t index) {
  if (index < 0 || index >= static_cast<std::int32_t>(scriptTable.scripts.size())) return nullptr;
  return &scriptTable.scripts[static_cast<std::size_t>(index)];
}

const Actor& ActorOf(std::int32_t map, std::int32_t actor) {
  return Element(gameData.maps[map].actors, actor, "Actor");
}

// Whole-number counter with the interval added; clamped to the Long range.
std::int32_t ClampToLong(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

bool TestCondition(Script& script, const ConditionToken& token, const TriggerRun& run) {
  const std::int32_t value = token.value;
  switch (token.kind) {
    case kConditionCursorSprite:
      return playerInputStates[0].cursorSprite == value;
    case kConditionControl:
      return InputTestBinding(run.player, kControlMode, value, 0, 0);
    case kConditionControlUp:
      return InputTestBinding(run.player, kControlMode, value, -1, 0);
    case kConditionControlDown:
      return InputTestBinding(run.player, kControlMode, value, 1, 0);
    case kConditionGestureAccuracy:
      return gestureResults[kGestureAccuracySlot] >= static_cast<float>(value);
    case kConditionGestureScaleMin:
      return gestureResults[kGestureScaleSlot] >= static_cast<float>(value);
    case kConditionGestureScaleMax:
      return gestureResults[kGestureScaleSlot] <= static_cast<float>(value);
    case kConditionGestureAngleMax:
      return gestureResults[kGestureAngleSlot] <= static_cast<float>(value);
    case kConditionIsA:
      return IsSameOrDescendant(ActorOf(run.map, run.relateActor).templateIndex, value);
    case kConditionIsPlayer: {
      const Actor& actor = ActorOf(run.map, run.relateActor);
      const std::int32_t owner =
          actor.driver >= 0 ? ActorOf(run.map, actor.driver).owningPlayer : actor.owningPlayer;
      return (owner >= 0 ? 1 : 0) == value;
    }
    case kConditionTimePassed: {
      Variant& counter = script.frameTemplate.idList;
      std::int64_t count = (counter.IsEmpty() ? 0 : VarToLong(counter)) +
                           static_cast<std::int64_t>(triggerHooks.TickElapsed());
      const bool passed = count >= value;
      if (passed) count -= value;
      counter = Variant::Long(ClampToLong(count));
      return passed;
    }
    case kConditionProximityClose:
    case kConditionProximityFar:
      return ScriptUpdateIdList(script.frameTemplate.idList, token.kind == kConditionProximityClose,
                                static_cast<float>(value), run.map, run.ownerIndex, run.relateActor);
    case kConditionGesture:
      if (token.gesture != nullptr) {
        GestureMatchResult match;
        GestureMatch(token.gesture->strokes[0], playerInputStates[0].stroke, static_cast<float>(value), match);
        gestureResults = {match.score, match.completion, match.angleDifference, match.scaleRatio};
      }
      return true;
    default:
      return true;
  }
}

// Fast conditions run before any frame of the trigger exists, so no frame
// would catch their errors: a failing test is logged and fails the condition.
bool PassesConditions(std::int32_t scriptIndex, const TriggerRun& run) {
  const std::int32_t top = scriptEngine.callTop;
  for (std::size_t i = 0;; ++i) {
    Script& script = ScriptAt(scriptIndex);
    if (i >= script.conditionTokens.size()) return true;
    const ConditionToken token = script.conditionTokens[i];
    try {
      if (!TestCondition(script, token, run)) return false;
    } catch (const std::exception& error) {
      scriptEngine.callTop = top;
      scriptEngine.applyingTimedChange = false;
      ErrorLogAppend(CaughtErrorLine(error) + "\r\n  in condition " + std::to_string(token.kind) + " of " +
                     Utf16ToAnsi(DescribeTriggerRun(run)));
      return false;
    }
  }
}

void SetThisObjects(CallFrame& frame, const TriggerRun& run, const CallFrame* caller) {
  switch (run.ownerKind) {
    case kOwnerSystem:
      if ((run.ownerIndex >= 1 && run.ownerIndex <= 4) || run.ownerIndex == 6 || run.ownerIndex == 7) {
        frame.thisActor = run.subIndex;
      }
      break;
    case kOwnerZone:
      frame.thisZone = run.ownerIndex;
      break;
    case kOwnerActor:
      frame.thisActor = run.ownerIndex;
      break;
    case kOwnerDoor:
      frame.thisDoor = run.ownerIndex;
      break;
    case kOwnerItem:
      frame.thisItem = run.ownerIndex;
      break;
    case kOwnerSpawn:
      frame.thisSpawn = run.ownerIndex;
      break;
    case kOwnerField:
    case kOwnerFieldValue:
      frame.thisField = run.ownerIndex;
      break;
    case kOwnerCustomEvent:
      if (caller != nullptr) {
        frame.thisZone = caller->thisZone;
        frame.thisActor = caller->thisActor;
        frame.thisDoor = caller->thisDoor;
        frame.thisSpawn = caller->thisSpawn;
        frame.thisItem = caller->thisItem;
        frame.thisField = caller->thisField;
      }
      break;
    default:
      break;
  }
}

// Gives up a resumption whose frames can no longer be restored: the scripts of
// the frames not yet restored no longer count as running.
void AbandonResume(std::int32_t firstUnrestored) {
  const std::int32_t last =
      std::min<std::int32_t>(scriptEngine.resumeTop, static_cast<std::int32_t>(scriptEngine.resumeFrames.size()) - 1);
  for (std::int32_t i = std::max(firstUnrestored, 0); i <= last; ++i) {
    ClearRunningFlag(scriptEngine.resumeFrames[static_cast<std::size_t>(i)].scriptIndex);
  }
  scriptEngine.resumeTop = -1;
  scriptEngine.resumeFrames.clear();
}

}  // namespace

std::int32_t FindTriggerScript(std::int32_t ownerKind, std::int32_t ownerIndex, std::int32_t subIndex,
                               std::int32_t map) {
  std::int32_t index = -1;
  if (ownerKind == kOwnerSpriteTexture) {
    index = triggerHooks.SpriteTextureScript();
  } else {
    const Script* slot = SlotScript(ownerKind, ownerIndex, subIndex, map);
    if (slot == nullptr || !slot->hasStatements) return -1;
    index = slot->index;
  }
  return ScriptOrNull(index) != nullptr ? index : -1;
}

Variant ScriptRunTrigger(const TriggerRun& run) {
  const bool resuming = scriptEngine.resumeTop != -1;
  const std::int32_t newTop = scriptEngine.callTop + 1;
  const std::int32_t scriptIndex = FindTriggerScript(run.ownerKind, run.ownerIndex, run.subIndex, run.map);
  if (scriptIndex < 0 ||
      (resuming && newTop >= static_cast<std::int32_t>(scriptEngine.resumeFrames.size()))) {
    if (resuming) AbandonResume(newTop);
    return Variant();
  }
  if (!resuming) {
    const Script& script = ScriptAt(scriptIndex);
    if (script.runOnce == 1 && script.hasRun == 1) return Variant();
    if (!PassesConditions(scriptIndex, run)) return Variant();
  }

  const CallFrame* caller = scriptEngine.callTop >= 0 ? &TopFrame() : nullptr;
  CallFrame fields;
  fields.ownerKind = run.ownerKind;
  fields.ownerIndex = run.ownerIndex;
  fields.subIndex = run.subIndex;
  fields.callerValue = run.callerValue;
  fields.ownerMap = run.map;
  fields.relateActor = run.relateActor;
  fields.relateValue2 = run.relateValue2;
  fields.relateDoor = run.relateDoor;
  fields.relateTurret = run.relateTurret;
  fields.relateItem = run.relateItem;
  fields.player = run.player;
  fields.suspendRoot = run.suspendRoot;
  SetThisObjects(fields, run, caller);
  CallFrame& frame = PushCallFrame(fields, ScriptAt(scriptIndex));

  std::int32_t start = 0;
  if (resuming) {
    CallFrame& saved = scriptEngine.resumeFrames[static_cast<std::size_t>(newTop)];
    frame.locals = std::move(saved.locals);
    frame.statics = std::move(saved.statics);
    frame.idList = std::move(saved.idList);
    frame.parameters = std::move(saved.parameters);
    frame.tokenPosition = saved.tokenPosition;
    frame.valueStack = std::move(saved.valueStack);
    frame.valueStackTop = saved.valueStackTop;
    frame.assignment = saved.assignment;
    start = saved.statementIndex;
    if (newTop == scriptEngine.resumeTop) {
      // The frame that suspended continues after its wait statement.
      scriptEngine.resumeTop = -1;
      scriptEngine.resumeFrames.clear();
      ++start;
    }
  }

  ScriptAt(scriptIndex).hasRun = 1;
  Variant result;
  try {
    result = ScriptExecute(scriptIndex, start, run.nested);
    if (Script* script = ScriptOrNull(scriptIndex)) {
      if (result.Type() != kVarNull) script->hasRun = 0;
      // The frame is popped next and refilled from a template at its next
      // push, so its storage is traded rather than its values copied.
      std::swap(script->frameTemplate.statics, frame.statics);
      std::swap(script->frameTemplate.idList, frame.idList);
    }
  } catch (...) {
    PopCallFrame();
    throw;
  }
  PopCallFrame();
  if (scriptEngine.callTop < 0) triggerHooks.EndMapDataAudio();
  return result;
}

void ScriptRaiseObjectEvent(std::int32_t ownerKind, std::int32_t object, std::int32_t eventCode, std::int32_t map,
                            std::int32_t relateActor, std::int32_t relateValue2, std::int32_t relateDoor,
                            std::int32_t relateTurret, std::int32_t relateItem) {
  // The object's list, read afresh after every script (scripts may change it).
  const auto objectCount = [ownerKind, map]() -> std::size_t {
    const Map& record = gameData.maps[map];
    switch (ownerKind) {
      case kOwnerZone:
        return record.zones.size();
      case kOwnerActor:
        return record.actors.size();
      case kOwnerField:
        return record.fields.size();
      default:
        RaiseNoSlot("Trigger owner kind", ownerKind);
    }
  };
  const auto triggers = [ownerKind, map, object]() -> const std::vector<Trigger>& {
    Map& record = gameData.maps[map];
    if (ownerKind == kOwnerZone) return record.zones[static_cast<std::size_t>(object)].triggers;
    if (ownerKind == kOwnerActor) return record.actors[static_cast<std::size_t>(object)].triggers;
    return record.fields[static_cast<std::size_t>(object)].triggers;
  };
  if (object < 0 || static_cast<std::size_t>(object) >= objectCount()) return;
  for (std::size_t t = 0; t < triggers().size(); ++t) {
    if (triggers()[t].event != eventCode) continue;
    TriggerRun run;
    run.ownerKind = ownerKind;
    run.ownerIndex = object;
    run.subIndex = static_cast<std::int32_t>(t);
    run.map = map;
    run.relateActor = relateActor;
    run.relateValue2 = relateValue2;
    run.relateDoor = relateDoor;
    run.relateTurret = relateTurret;
    run.relateItem = relateItem;
    run.suspendRoot = -1;
    run.nested = true;
    run.player = 0;
    ScriptRunTrigger(run);
    if (static_cast<std::size_t>(object) >= objectCount()) return;
  }
}

bool ScriptIsMapTriggerRunning(std::int32_t map) {
  for (std::int32_t i = 0; i <= scriptEngine.callTop && i < kCallStackSize; ++i) {
    const CallFrame& frame = scriptEngine.callStack[static_cast<std::size_t>(i)];
    if (frame.ownerKind == kOwnerMap && frame.ownerIndex == 0 && frame.ownerMap == map) return true;
  }
  return false;
}

}  // namespace kiv
