#pragma once
// The script's own names used without arguments: the running frame's locals,
// statics and parameters, then the global variables, switches, collections and
// tables, first match in that order.
#include "commands/internal_call.h"

namespace kiv {

// True when a variable of the code's name was found and read or assigned.
bool RunScriptVariable(InternalCall& call);

}  // namespace kiv
