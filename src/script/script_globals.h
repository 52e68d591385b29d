#pragma once
// The game's script globals: variables, switches, user collections and tables.
// Tokens of kinds 13 to 16 and value-stack entries of kinds 1 and 2 index them.
#include <cstdint>
#include <vector>

#include "core/variant.h"
#include "data/script_record.h"

namespace kiv {

struct GlobalSwitch {
  std::int32_t symbol = 0;
  std::int16_t state = 0;  // -1 on, 0 off
};

struct ScriptCollection {
  std::int32_t symbol = 0;
  std::vector<Variant> elements;
};

// A three-dimensional table; every dimension has an upper index (size - 1).
struct ScriptTable3 {
  std::int32_t symbol = 0;
  std::int32_t lastX = 0;
  std::int32_t lastY = 0;
  std::int32_t lastZ = 0;
  std::vector<Variant> cells;  // x fastest, then y, then z

  // Resizes to the given upper indexes, keeping the cells that stay inside.
  void Resize(std::int32_t newLastX, std::int32_t newLastY, std::int32_t newLastZ);
  // The cell of 0-based indexes that lie inside the table (checked by the caller).
  Variant& Cell(std::int32_t x, std::int32_t y, std::int32_t z);
};

struct ScriptGlobals {
  std::vector<ScriptVariable> variables;
  std::vector<GlobalSwitch> switches;
  std::vector<ScriptCollection> collections;
  std::vector<ScriptTable3> tables;

  void Reset() { *this = ScriptGlobals(); }
};
extern ScriptGlobals scriptGlobals;

// The global that a name binds to, searched in variables, switches,
// collections, then tables; gives the token kind (13 to 16) and index.
bool FindGlobalName(std::int32_t symbol, std::uint8_t& kind, std::int32_t& index);
// The symbol of a global of token kind 13 to 16, -1 when there is none.
std::int32_t GlobalNameSymbol(std::uint8_t kind, std::int32_t index);

// Checked access by index; error 9 with a message outside the list.
ScriptVariable& GlobalVariableAt(std::int32_t index);
GlobalSwitch& GlobalSwitchAt(std::int32_t index);
ScriptCollection& CollectionAt(std::int32_t index);
ScriptTable3& TableAt(std::int32_t index);

}  // namespace kiv
