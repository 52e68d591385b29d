#pragma once
// The one-line description of a script run that error reports end with: the
// map, the owner of the trigger, and the parameters of the running script.
#include <exception>
#include <string>

#include "script/call_frame.h"
#include "script/script_hooks.h"

namespace kiv {

std::u16string DescribeTrigger(const CallFrame& frame);
// The same for a run that has no frame yet (or no longer has one).
std::u16string DescribeTriggerRun(const TriggerRun& run);

// The first line of a report of an error that no frame caught: "Error: " and
// the message, then the error's number in parentheses when it has one.
std::string CaughtErrorLine(const std::exception& error);

}  // namespace kiv
