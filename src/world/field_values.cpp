#include "world/field_values.h"

#include "core/number_text.h"
#include "script/script_operators.h"

namespace kiv {

namespace {

constexpr std::uint8_t kTextKind = 0;

bool Differ(const Variant& a, const Variant& b) { return ScriptBinaryOperator(u'u', a, b).AsLong() != 0; }

bool ArraysDiffer(const Variant& a, const Variant& b) {
  const std::vector<Variant>& x = a.Elements();
  const std::vector<Variant>& y = b.Elements();
  if (x.size() != y.size()) return true;
  for (std::size_t i = 0; i < x.size(); ++i) {
    if (Differ(x[i], y[i])) return true;
  }
  return false;
}

}  // namespace

bool FieldValuePairChanged(const Field& field, const Variant& value, const Variant& maximum, bool arrayBuilt) {
  if (value.Type() != field.value1.Type() || maximum.Type() != field.value2.Type()) return true;
  if (value.IsArray()) return arrayBuilt && ArraysDiffer(value, field.value1);
  return Differ(value, field.value1) || Differ(maximum, field.value2);
}

void StoreFieldValue(const Field& field, Variant& slot, const Variant& value, FieldEmptyValue empty) {
  if (value.IsEmpty() && empty == FieldEmptyValue::kKeepSlot) return;
  if (value.Type() == kVarError) {
    slot = Variant();
  } else if (value.IsArray() || field.Kind() == kTextKind) {
    slot = value;
  } else {
    // A variable never set counts as 0 in a number field.
    slot = Variant::Double(value.IsEmpty() ? 0.0 : ToNumber(value));
  }
}

bool ResultCounts(const Variant& result, bool arrayWanted) {
  if (result.IsEmpty() || result.Type() == kVarError) return false;
  return arrayWanted || !result.IsArray();
}

}  // namespace kiv
