#pragma once
// What an identifier without a case of the internal executor can still be: a
// custom event called like a command, a "Screen." name of the camera view or a
// "Main." name of the player's party; otherwise an unknown identifier.
#include "commands/internal_call.h"

namespace kiv {

void RunInternalFallback(InternalCall& call);

}  // namespace kiv
