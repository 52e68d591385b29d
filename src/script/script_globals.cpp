#include "script/script_globals.h"

#include <algorithm>
#include <string>

#include "core/error.h"

namespace kiv {

ScriptGlobals scriptGlobals;

namespace {

template <typename T>
T& Checked(std::vector<T>& list, std::int32_t index, const char* what) {
  if (index < 0 || index >= static_cast<std::int32_t>(list.size())) {
    RaiseError(kErrIndex, std::string(what) + " " + std::to_string(index) + " does not exist.");
  }
  return list[static_cast<std::size_t>(index)];
}

template <typename T>
std::int32_t FindSymbol(const std::vector<T>& list, std::int32_t symbol) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i].symbol == symbol) return static_cast<std::int32_t>(i);
  }
  return -1;
}

}  // namespace

void ScriptTable3::Resize(std::int32_t newLastX, std::int32_t newLastY, std::int32_t newLastZ) {
  if (newLastX < 0 || newLastY < 0 || newLastZ < 0) RaiseError(kErrIndex, "Subscript out of range");
  // Step by step: three factors of up to 2^31 would overflow the product.
  std::int64_t total = 1;
  for (const std::int32_t last : {newLastX, newLastY, newLastZ}) {
    total *= static_cast<std::int64_t>(last) + 1;
    if (total > 16 * 1024 * 1024) RaiseError(7, "Out of memory");
  }
  std::vector<Variant> resized(static_cast<std::size_t>(total));
  const bool hadCells = !cells.empty();
  for (std::int32_t z = 0; hadCells && z <= std::min(lastZ, newLastZ); ++z) {
    for (std::int32_t y = 0; y <= std::min(lastY, newLastY); ++y) {
      for (std::int32_t x = 0; x <= std::min(lastX, newLastX); ++x) {
        resized[static_cast<std::size_t>(
            (static_cast<std::int64_t>(z) * (newLastY + 1) + y) * (newLastX + 1) + x)] =
            std::move(Cell(x, y, z));
      }
    }
  }
  cells = std::move(resized);
  lastX = newLastX;
  lastY = newLastY;
  lastZ = newLastZ;
}

Variant& ScriptTable3::Cell(std::int32_t x, std::int32_t y, std::int32_t z) {
  const std::size_t index =
      static_cast<std::size_t>((static_cast<std::int64_t>(z) * (static_cast<std::int64_t>(lastY) + 1) + y) *
                                   (static_cast<std::int64_t>(lastX) + 1) +
                               x);
  if (index >= cells.size()) RaiseError(kErrIndex, "Subscript out of range");
  return cells[index];
}

bool FindGlobalName(std::int32_t symbol, std::uint8_t& kind, std::int32_t& index) {
  if ((index = FindSymbol(scriptGlobals.variables, symbol)) >= 0) {
    kind = kTokenGlobalVariable;
  } else if ((index = FindSymbol(scriptGlobals.switches, symbol)) >= 0) {
    kind = kTokenSwitch;
  } else if ((index = FindSymbol(scriptGlobals.collections, symbol)) >= 0) {
    kind = kTokenCollection;
  } else if ((index = FindSymbol(scriptGlobals.tables, symbol)) >= 0) {
    kind = kTokenTable;
  } else {
    return false;
  }
  return true;
}

std::int32_t GlobalNameSymbol(std::uint8_t kind, std::int32_t index) {
  auto symbolOf = [index](const auto& list) {
    return index >= 0 && index < static_cast<std::int32_t>(list.size())
               ? list[static_cast<std::size_t>(index)].symbol
               : -1;
  };
  switch (kind) {
    case kTokenGlobalVariable:
      return symbolOf(scriptGlobals.variables);
    case kTokenSwitch:
      return symbolOf(scriptGlobals.switches);
    case kTokenCollection:
      return symbolOf(scriptGlobals.collections);
    case kTokenTable:
      return symbolOf(scriptGlobals.tables);
    default:
      return -1;
  }
}

ScriptVariable& GlobalVariableAt(std::int32_t index) {
  return Checked(scriptGlobals.variables, index, "Variable");
}
GlobalSwitch& GlobalSwitchAt(std::int32_t index) { return Checked(scriptGlobals.switches, index, "Switch"); }
ScriptCollection& CollectionAt(std::int32_t index) {
  return Checked(scriptGlobals.collections, index, "Collection");
}
ScriptTable3& TableAt(std::int32_t index) { return Checked(scriptGlobals.tables, index, "Table"); }

}  // namespace kiv
