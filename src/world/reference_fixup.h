#pragma once
// Keeping stored indexes right when a map's character, zone or field list
// changes. A walker runs before the list changes, with the position of the
// change and its delta (+1 an element inserted at the position, -1 the element
// there leaves). With `shift` the elements above the position move (an
// insertion or a compaction); without it the element only leaves play in its
// slot, and only references to it are cleared.
#include <cstdint>

#include "core/variant.h"
#include "script/script_value.h"

namespace kiv {

// Negative references never change; a reference to the position becomes -1
// (delta < 0) or moves up by one (delta > 0); references above it move by
// delta only with `shift`.
void ShiftIndexRef(std::int32_t& ref, std::int32_t position, std::int32_t delta, bool shift);
// The same rule on a numeric Variant, stored back as a Long. Other values stay.
void ShiftVariantRef(Variant& ref, std::int32_t position, std::int32_t delta, bool shift);

// A script value of the map: the character kinds (one index, or each index of
// a team array), the zone kind, the field and view-field kinds.
void ShiftCharacterValueRef(ScriptValue& value, std::int32_t map, std::int32_t position, std::int32_t delta,
                            bool shift);
void ShiftZoneValueRef(ScriptValue& value, std::int32_t map, std::int32_t position, std::int32_t delta, bool shift);
void ShiftFieldValueRef(ScriptValue& value, std::int32_t map, std::int32_t position, std::int32_t delta, bool shift);

// The walkers. With `shift` they also fix the frames of the running scripts
// (their owners and the object references on their value stacks), so that a
// script that inserts or compacts a list keeps addressing its own objects.
void ShiftCharacterRefs(std::int32_t map, std::int32_t position, std::int32_t delta, bool shift);
void ShiftZoneRefs(std::int32_t map, std::int32_t position, std::int32_t delta, bool shift);
void ShiftFieldRefs(std::int32_t map, std::int32_t position, std::int32_t delta, bool shift);

}  // namespace kiv
