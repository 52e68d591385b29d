#pragma once
// The link pass of a compiled script: branch targets, actor and field keyword
// calls, and variable names bound to their lists.
#include <cstdint>

#include "data/script_record.h"

namespace kiv {

// Sets the next-branch index of every IF, ELSEIF and ELSE. With resolveNames
// (always in the player) also collapses Actor("main"|"relate"|"this") and
// Field("relate"|"this") into keyword tokens and binds symbol tokens to the
// script's locals, statics and parameters, then to the globals (data hooks).
void LinkScript(Script& script, bool resolveNames);

// Replaces the call-start, string and call tokens that end at position by one
// keyword token and moves position back by two.
void CollapseKeywordCall(ScriptStatement& statement, std::int32_t& position, std::int32_t keyword);

}  // namespace kiv
