#pragma once
// The interpreter: runs the compiled statements of a registered script in the
// frame on top of the call stack.
#include <cstdint>
#include <string>

#include "core/variant.h"
#include "data/script_record.h"

namespace kiv {

// Runs the script from startStatement to its end. nested is True when the
// run's value is not used (an event, or a custom event called as the last token
// of its caller's statement). Returns Empty when the script ran to its end or
// stopped, the value of a return request, Null when it suspended for a wait,
// and an Error value when it failed (the failure is already in the error log).
Variant ScriptExecute(std::int32_t scriptIndex, std::int32_t startStatement, bool nested);

// The source line a statement came from, trimmed; empty for the header line.
std::u16string ScriptStatementSourceLine(const Script& script, std::int32_t statementIndex);

}  // namespace kiv
