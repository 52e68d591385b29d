#pragma once
// The change rule of a field's value pair and the conversions of the results
// of its retrieve-value scripts.
#include <cstdint>

#include "core/variant.h"
#include "data/field_record.h"

namespace kiv {

// True when the new value and maximum differ from the stored ones: by type
// (an array against a non-array included), element by element for arrays
// (with the script's not-equal; an array counts as unchanged unless the
// scripts built a new one), by the script's not-equal otherwise.
bool FieldValuePairChanged(const Field& field, const Variant& value, const Variant& maximum, bool arrayBuilt);

// What an Empty value does to the slot: a value script that gave nothing
// leaves the slot alone; a script's assignment stores it like any value.
enum class FieldEmptyValue : std::uint8_t { kKeepSlot, kStore };

// Stores a value or maximum as the field keeps it: an Error value (a missing
// argument) is stored as Empty, an array (or anything in a text field,
// kind 0) as it is, anything else as a Double.
void StoreFieldValue(const Field& field, Variant& slot, const Variant& value,
                     FieldEmptyValue empty = FieldEmptyValue::kKeepSlot);

// A script result counts when it is neither Empty nor an Error value, nor an
// array unless arrays are wanted.
bool ResultCounts(const Variant& result, bool arrayWanted = false);

}  // namespace kiv
