#pragma once
// Putting the game tables into their empty state and installing the fixed
// vocabulary that loading and the script engine rely on. Set tables, fonts,
// controls, script globals and the symbol table survive: reloading a game
// reuses them.
#include <array>
#include <cstdint>

namespace kiv {

// The script evaluator's operator ranks, indexed by an operator's one-character
// code (lower binds tighter), and its operator stack.
struct ScriptOperatorTables {
  std::array<std::uint8_t, 256> operatorPrecedence{};
  std::array<std::uint8_t, 16> operatorStack{};
};
extern ScriptOperatorTables scriptOperatorTables;

// Registers the fixed identifiers (the symbol table must be empty or hold
// exactly what an earlier reset put there), names the appearance slots, builds
// the default records and operator tables, and empties the scripts, the
// players, the maps (but the off-map record -1) and, through hooks, the script
// engine's run state and the shell's notices.
void ResetGameData();

}  // namespace kiv
