#include "commands/map_command_table.h"

#include <string>
#include <unordered_map>

#include "core/error.h"
#include "data/fixed_identifiers.h"

namespace kiv {

namespace {

std::int32_t FixedIdentifierCode(std::string_view name) {
  static const std::unordered_map<std::string_view, std::int32_t> codes = [] {
    std::unordered_map<std::string_view, std::int32_t> byName;
    for (std::int32_t code = 1; code <= kFixedIdentifierCount; ++code) byName.emplace(FixedIdentifierName(code), code);
    return byName;
  }();
  const auto found = codes.find(name);
  if (found == codes.end()) {
    RaiseError(kErrData, "Map command \"" + std::string(name) + "\" is not a fixed identifier.");
  }
  return found->second;
}

}  // namespace

MapCommandTable::MapCommandTable(std::span<const MapCommand> commands)
    : handlers_(static_cast<std::size_t>(kFixedIdentifierCount) + 1, nullptr) {
  for (const MapCommand& command : commands) {
    MapHandler& slot = handlers_[static_cast<std::size_t>(FixedIdentifierCode(command.name))];
    if (slot != nullptr) RaiseError(kErrData, "Map command \"" + std::string(command.name) + "\" is listed twice.");
    slot = command.handler;
  }
}

MapHandler MapCommandTable::For(std::int32_t code) const {
  if (code < 1 || code > kFixedIdentifierCount) return nullptr;
  return handlers_[static_cast<std::size_t>(code)];
}

}  // namespace kiv
