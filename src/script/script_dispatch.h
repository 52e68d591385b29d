#pragma once
// The single door from the interpreter and the timed-change system into the
// script vocabulary: hands a command, property or function to the executor of
// its object's kind, after the timed-change check of an assignment.
#include <cstdint>

#include "core/variant.h"
#include "script/script_value.h"

namespace kiv {

inline constexpr std::int16_t kModeRead = 0;
inline constexpr std::int16_t kModeAssign = -1;

// Returns True when a timed change took the assignment over (no executor ran).
// Mode 0 clears the result first; mode -1 leaves it as it is.
bool ScriptCallCommand(std::int32_t code, ScriptValue& object, std::int32_t argumentUpper,
                       ScriptValue& result, std::int16_t mode, const Variant& value, bool lastToken);

}  // namespace kiv
