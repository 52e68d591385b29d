#pragma once
// The keywords of system scripts that the executor tries first, used without
// arguments: DOORACTION, Exit, Quit and TURRETMAIN.
#include "commands/internal_call.h"

namespace kiv {

// True when the code is one of the keywords and it ran.
bool RunInternalKeyword(InternalCall& call);

// The control request that stops the running script.
Variant ScriptStopRequest();

}  // namespace kiv
