#include "commands/internal_fallback.h"

#include <string>

#include "core/error.h"
#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "player/shell_state.h"
#include "script/call_frame.h"
#include "script/player_control.h"
#include "script/project_options.h"
#include "script/script_hooks.h"
#include "script/script_stack_access.h"
#include "script/trigger_dispatch.h"

namespace kiv {

namespace {

constexpr std::int32_t kCameraViewField = 6;

// The first custom event (index order) whose symbol is the code, -1 none.
std::int32_t FindCustomEvent(std::int32_t code) {
  for (std::size_t i = 0; i < gameData.customEvents.size(); ++i) {
    if (gameData.customEvents[i].eventSymbol == code) return static_cast<std::int32_t>(i);
  }
  return -1;
}

// Copies the arguments into the parameters of the event's registered script
// (the template its frame copies) and runs it nested.
void RunCustomEvent(InternalCall& call, std::int32_t event) {
  const CustomEvent& record = gameData.customEvents[static_cast<std::size_t>(event)];
  if (!record.script.hasStatements || record.script.index < 0) return;
  const std::int32_t scriptIndex = record.script.index;
  const auto parameterCount = static_cast<std::int32_t>(record.parameters.size());
  const std::string displayName = Utf16ToAnsi(record.displayName);
  for (std::int32_t j = 0; j < parameterCount; ++j) {
    if (j > call.argumentUpper) {
      RaiseError(kErrData, "Not enough parameters for custom event \"" + displayName + "\".");
    }
    Variant argument = ScriptGetArgument(j);
    std::vector<ScriptVariable>& parameters = ScriptAt(scriptIndex).frameTemplate.parameters;
    if (j >= static_cast<std::int32_t>(parameters.size())) RaiseError(kErrIndex, "Subscript out of range");
    parameters[static_cast<std::size_t>(j)].value = std::move(argument);
  }
  const CallFrame& frame = TopFrame();
  TriggerRun run;
  run.ownerKind = kOwnerCustomEvent;
  run.ownerIndex = event;
  run.subIndex = 0;
  run.callerValue = -1;
  run.map = frame.ownerMap;
  run.relateActor = frame.relateActor;
  run.relateValue2 = frame.relateValue2;
  run.relateDoor = frame.relateDoor;
  run.relateTurret = frame.relateTurret;
  run.relateItem = frame.relateItem;
  run.suspendRoot = 0;
  run.nested = call.lastToken;
  run.player = frame.player;
  call.result.value = ScriptRunTrigger(run);
}

// The first shown interface's camera view: kind 33, the field as id and the
// interface as map index.
void LocateCameraView(ScriptValue& object) {
  for (std::int32_t map = 0; map <= gameData.maps.LastIndex(); ++map) {
    const Map& record = gameData.maps[map];
    if (!record.isInterface || record.overlayActive != 1) continue;
    for (std::size_t field = 0; field < record.fields.size(); ++field) {
      const Field& candidate = record.fields[field];
      if (candidate.Kind() == kCameraViewField && candidate.noDraw == 0 && candidate.nonExistent == 0) {
        object = ScriptValue{kObjectCameraView, Variant::Long(static_cast<std::int32_t>(field)), map};
        return;
      }
    }
  }
  RaiseError(kErrData, "Ambiguous camera view.");
}

// The player "Main." names: the current player, or the owner of the running
// script's relate character unless "main" is always the controlled member.
std::int32_t MainPlayer() {
  std::int32_t player = shell.currentPlayer;
  if (!ScriptMainAlwaysControlled() && scriptEngine.callTop >= 0) {
    const CallFrame& frame = TopFrame();
    if (frame.relateActor >= 0) {
      const std::int32_t owner = ScriptCharacterOwnerPlayer(frame.ownerMap, frame.relateActor);
      if (owner >= 0) player = owner;
    }
  }
  return player;
}

// Hands the rest of the name on to another executor with the object set, and
// leaves the object as no object again, also when that executor fails.
void Forward(InternalCall& call, const ScriptExecutor& executor, std::u16string_view rest) {
  struct KindBack {
    ScriptValue& object;
    ~KindBack() { object.kind = kObjectNone; }
  } kindBack{call.object};
  const std::int32_t code = SymbolIntern(rest);
  executor(code, call.object, call.argumentUpper, call.result, call.mode, call.value, call.lastToken);
}

}  // namespace

void RunInternalFallback(InternalCall& call) {
  if (const std::int32_t event = FindCustomEvent(call.code); event >= 0) {
    RunCustomEvent(call, event);
    return;
  }
  const std::u16string name = SymbolName(call.code);
  if (name.starts_with(u"Screen.")) {
    LocateCameraView(call.object);
    Forward(call, scriptHooks.fieldExecutor, std::u16string_view(name).substr(7));
    return;
  }
  if (name.starts_with(u"Main.")) {
    call.object = ScriptValue{kObjectPlayer, Variant::Long(MainPlayer()), 0};
    Forward(call, scriptHooks.objectExecutor, std::u16string_view(name).substr(5));
    return;
  }
  RaiseError(kErrData, "Identifier \"" + Utf16ToAnsi(name) +
                           "\" is not a variable, switch, custom event or internal command.");
}

}  // namespace kiv
