#include "script/script_dispatch.h"

#include "data/broad_phase.h"
#include "script/call_frame.h"
#include "script/script_hooks.h"
#include "script/timed_changes.h"

namespace kiv {

bool ScriptCallCommand(std::int32_t code, ScriptValue& object, std::int32_t argumentUpper,
                       ScriptValue& result, std::int16_t mode, const Variant& value, bool lastToken) {
  if (mode == kModeRead) {
    result = ScriptValue();
  } else if (scriptEngine.applyingTimedChange) {
    scriptEngine.applyingTimedChange = false;
  } else if (ScriptStartTimedChange(code, object, argumentUpper, value, scriptEngine.pendingDuration)) {
    scriptEngine.pendingDuration = 0;
    return true;
  }
  // A command may place characters, zones, doors or pick-ups without a note:
  // the collision broad phase re-checks every object before its next query.
  if (object.kind != kObjectField && object.kind != kObjectCameraView) MarkEveryBroadPhaseDirty();
  switch (object.kind) {
    case kObjectNone:
      scriptHooks.internalExecutor(code, object, argumentUpper, result, mode, value, lastToken);
      break;
    case kObjectCharacter:
    case kObjectVehicle:
    case kObjectTurret:
    case kObjectDynamic:
    case kObjectActor:
      scriptHooks.actorExecutor(code, object, argumentUpper, result, mode, value, lastToken);
      break;
    case kObjectField:
    case kObjectCameraView:
      scriptHooks.fieldExecutor(code, object, argumentUpper, result, mode, value, lastToken);
      break;
    default:
      scriptHooks.objectExecutor(code, object, argumentUpper, result, mode, value, lastToken);
      break;
  }
  return false;
}

}  // namespace kiv
