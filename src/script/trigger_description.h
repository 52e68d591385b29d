#pragma once
// The one-line description of a script run that error reports end with: the
// map, the owner of the trigger, and the parameters of the running script.
#include <string>

#include "script/call_frame.h"

namespace kiv {

std::u16string DescribeTrigger(const CallFrame& frame);

}  // namespace kiv
