#include "commands/object_executor.h"

#include <algorithm>

#include "core/error.h"
#include "script/script_dispatch.h"
#include "script/script_hooks.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

// Long, Byte and Single values meet the clamps as numbers before they are
// converted, so a value beyond the field's type is clamped, not an overflow.
Variant ClampedNumber(const PropertySlot& slot, const Variant& value) {
  double number = VarToDouble(value);
  number = std::max(number, slot.Lowest());
  number = std::min(number, slot.Highest());
  return Variant::Double(number);
}

void StoreSlot(const PropertySlot& slot, const Variant& value) {
  switch (slot.SlotType()) {
    case PropertySlot::Type::kLong:
    case PropertySlot::Type::kSingle:
    case PropertySlot::Type::kByte:
      slot.Assign(ClampedNumber(slot, value));
      return;
    default:
      slot.Assign(value);
      return;
  }
}

}  // namespace

void ScriptObjectProperty(std::int32_t code, ScriptValue& object, std::int32_t argumentUpper, ScriptValue& result,
                          std::int16_t mode, const Variant& value, bool lastToken) {
  const ObjectKindEntryFn entry = ObjectKindEntryFor(object.kind);
  if (entry == nullptr) RaiseError(kErrData, "Invalid object type.");
  const std::int16_t callMode = mode != 0 ? kModeAssign : kModeRead;
  InternalCall call{code, object, argumentUpper, result, callMode, value, lastToken, {}, {}, false};
  entry(call);
  if (call.Assigning()) {
    if (call.slot.Bound()) StoreSlot(call.slot, call.value);
    return;
  }
  // An entry that set the result itself (a wait, a reference) answers nothing.
  if (call.slot.Bound()) call.Answer(call.slot.Read());
  if (call.readFilled) {
    ScriptWriteResult(call.result, call.readValue);
  } else if (!call.resultSet) {
    ScriptWriteResult(call.result, Variant());
  }
}

void InstallObjectExecutor() { scriptHooks.objectExecutor = ScriptObjectProperty; }

std::size_t ObjectListIndex(const Variant& id, std::size_t count) {
  const std::int32_t index = VarToLong(id);
  if (index < 0 || static_cast<std::size_t>(index) >= count) RaiseError(kErrIndex, "Subscript out of range");
  return static_cast<std::size_t>(index);
}

void RaiseObjectMessage(const std::string& message) { RaiseError(kErrData, message); }

}  // namespace kiv
