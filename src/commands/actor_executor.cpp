#include "commands/actor_executor.h"

#include "commands/actor_call.h"
#include "commands/actor_selection.h"
#include "commands/internal_call.h"
#include "core/error.h"
#include "data/game_data.h"
#include "script/script_convert.h"
#include "script/script_dispatch.h"
#include "script/script_hooks.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

[[noreturn]] void OutOfRange() { RaiseError(kErrIndex, "Subscript out of range"); }

std::uint8_t ToByte(const Variant& value, double lower, double upper) {
  double number = VarToLong(value);
  if (number < 0 || number > 255) RaiseError(kErrOverflow, "Overflow");
  if (number < lower) number = lower;
  if (number > upper) number = upper;
  return static_cast<std::uint8_t>(number);
}

// Assigns or reads the field a handler bound. Runs between the two phases, so
// that the pointer into the record is still good and phase 2 sees the stored
// value.
void TypedFieldTail(ActorCall& call) {
  if (call.Assigning()) {
    if (call.slot.Bound()) call.slot.Assign(call.value);
    if (call.angle != nullptr) *call.angle = ScriptConvertRotation(call.value, true);
    if (call.byte != nullptr) *call.byte = ToByte(call.value, call.byteLower, call.byteUpper);
  } else {
    if (call.slot.Bound()) call.Answer(call.slot.Read());
    if (call.angle != nullptr) call.Answer(Variant::Single(*call.angle));
    if (call.byte != nullptr) call.Answer(Variant::Byte(*call.byte));
  }
  call.slot = PropertySlot{};
  call.angle = nullptr;
  call.byte = nullptr;
}

}  // namespace

void ScriptActorProperty(std::int32_t code, ScriptValue& object, std::int32_t argumentUpper, ScriptValue& result,
                         std::int16_t mode, const Variant& value, bool lastToken) {
  const std::int32_t map = object.mapIndex;
  const std::int32_t index = VarToLong(object.value);
  if (map < 0 || map > gameData.maps.LastIndex()) OutOfRange();
  // A map object of an interface is one of its fields.
  if (object.kind == kObjectDynamic && gameData.maps[map].isInterface) {
    ScriptValue field = object;
    field.kind = kObjectField;
    if (scriptHooks.fieldExecutor) scriptHooks.fieldExecutor(code, field, argumentUpper, result, mode, value, lastToken);
    return;
  }
  if (index < 0 || index >= static_cast<std::int32_t>(gameData.maps[map].actors.size())) OutOfRange();
  const ActorProperty* property = ActorPropertyFor(code);
  if (property == nullptr) RaiseNotActorProperty(code);

  ActorCall call{code, object, argumentUpper, result, mode, value, lastToken, map, index};
  if (property->phase1 != nullptr) property->phase1(call);
  TypedFieldTail(call);
  if (call.phase2 && property->phase2 != nullptr) property->phase2(call);
  if (mode == kModeRead && !call.resultWritten) ScriptWriteResult(result, call.readValue);
}

void InstallActorProperties() { scriptHooks.actorExecutor = ScriptActorProperty; }

}  // namespace kiv
