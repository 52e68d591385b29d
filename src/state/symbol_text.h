#pragma once
// The text of a symbol for saving; a number outside the table is saved as an
// empty name rather than failing the save.
#include <string>

#include "core/symbol_table.h"

namespace kiv {

inline std::u16string SymbolText(std::int32_t symbol) {
  if (symbol < 0 || symbol >= SymbolCount()) return std::u16string();
  return SymbolName(symbol);
}

}  // namespace kiv
