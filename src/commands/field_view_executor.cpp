#include "commands/field_view_executor.h"

#include <unordered_map>

#include "commands/field_view_call.h"
#include "core/error.h"
#include "core/symbol_table.h"
#include "data/game_data.h"
#include "script/script_hooks.h"
#include "script/script_value_ops.h"
#include "script/trigger_hooks.h"
#include "script/waits.h"

namespace kiv {

namespace {

using Selection = std::unordered_map<std::int32_t, FieldViewHandler>;

Selection Build(std::span<const FieldViewIdentifier> identifiers) {
  Selection selection;
  for (const FieldViewIdentifier& identifier : identifiers)
    selection.emplace(SymbolIntern(std::u16string(identifier.name)), identifier.handler);
  return selection;
}

const Selection& FieldSelection() {
  static const Selection selection = Build(FieldIdentifiers());
  return selection;
}

const Selection& ViewSelection() {
  static const Selection selection = Build(ViewIdentifiers());
  return selection;
}

// A bound slot is assigned or read; a read answer goes to the result. An
// identifier no case serves leaves the result as it is.
void CommonTail(InternalCall& call) {
  if (call.Assigning()) {
    if (call.slot.Bound()) call.slot.Assign(call.value);
    return;
  }
  if (call.slot.Bound()) call.Answer(call.slot.Read());
  if (call.readFilled) ScriptWriteResult(call.result, call.readValue);
}

}  // namespace

Field& FieldOfReference(std::int32_t map, std::int32_t field) {
  if (map < -1 || map > gameData.maps.LastIndex()) RaiseError(kErrIndex, "Subscript out of range");
  std::vector<Field>& fields = gameData.maps[map].fields;
  if (field < 0 || static_cast<std::size_t>(field) >= fields.size()) RaiseError(kErrIndex, "Subscript out of range");
  return fields[static_cast<std::size_t>(field)];
}

Field& FieldViewCall::Target() const { return FieldOfReference(map, field); }

Map& FieldViewCall::TargetMap() const {
  FieldOfReference(map, field);
  return gameData.maps[map];
}

std::u16string FullObjectName(std::int32_t map, std::u16string_view name) {
  return u"|" + gameData.maps[map].fileName + u":" + std::u16string(name);
}

void AnswerFieldWait(FieldViewCall& call, std::int32_t fieldText, std::int32_t fieldTarget) {
  call.call.SetResult(kValueControl,
                      ScriptMakeWaitRequest(1, 0, -1, 0, call.map, Variant::Long(-1), fieldText, fieldTarget, -1));
}

void ScriptFieldViewProperty(std::int32_t code, ScriptValue& object, std::int32_t argumentUpper, ScriptValue& result,
                             std::int16_t mode, const Variant& value, bool lastToken) {
  if (object.kind != kObjectField && object.kind != kObjectCameraView) RaiseError(kErrData, "Invalid object type.");
  InternalCall call{code, object, argumentUpper, result, mode, value, lastToken, {}, {}, false};
  FieldViewCall target{call, object.mapIndex, VarToLong(object.value)};
  target.Target();  // a reference kept past a removal fails before anything changes
  const Selection& selection = object.kind == kObjectField ? FieldSelection() : ViewSelection();
  const auto found = selection.find(code);
  if (found == selection.end()) return;
  found->second(target);
  CommonTail(call);
}

bool FieldViewAtPanTarget(std::int32_t map, std::int32_t field) {
  if (map < -1 || map > gameData.maps.LastIndex()) return true;
  const std::vector<Field>& fields = gameData.maps[map].fields;
  if (field < 0 || static_cast<std::size_t>(field) >= fields.size()) return true;
  const FieldView& view = fields[static_cast<std::size_t>(field)].view;
  return view.panning == 0 || view.panElapsed >= view.panDuration;
}

void InstallFieldViewProperties() {
  scriptHooks.fieldExecutor = ScriptFieldViewProperty;
  triggerHooks.FieldAtTarget = FieldViewAtPanTarget;
}

}  // namespace kiv
