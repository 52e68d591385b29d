#include "commands/internal_selection.h"

#include <array>
#include <string>
#include <unordered_map>

#include "core/error.h"
#include "data/fixed_identifiers.h"
#include "script/script_value.h"

namespace kiv {

namespace {

// The executor's table covers codes 1 to 679; later codes take the fall-back block.
constexpr std::int32_t kLastDispatchedCode = 679;

using Selection = std::array<InternalHandler, kLastDispatchedCode + 1>;

std::int32_t FixedCode(std::string_view name) {
  static const std::unordered_map<std::string_view, std::int32_t> codes = [] {
    std::unordered_map<std::string_view, std::int32_t> byName;
    for (std::int32_t code = 1; code <= kFixedIdentifierCount; ++code) byName.emplace(FixedIdentifierName(code), code);
    return byName;
  }();
  const auto found = codes.find(name);
  if (found == codes.end() || found->second > kLastDispatchedCode) {
    RaiseError(kErrData, "Internal command \"" + std::string(name) + "\" is not a dispatched identifier.");
  }
  return found->second;
}

const Selection& BuiltSelection() {
  static const Selection selection = [] {
    Selection table{};
    for (const auto family : {ConstructorCommands(), FlowCommands(), CollectionCommands(), TableCommands(),
                               MainCommands(), MessageBoxCommands(), CursorCommands(), InnLoadingCommands(),
                               MusicCommands(), SoundCommands(), ScreenCommands(), ShopCommands(),
                               StructureFunctions(), TextFunctions(), MathFunctions(), GeometryFunctions(),
                               ColourFunctions(), TriggerMemoryFunctions(), MainIdentifiers()}) {
      for (const InternalCommand& command : family) {
        InternalHandler& slot = table[static_cast<std::size_t>(FixedCode(command.name))];
        if (slot != nullptr) {
          RaiseError(kErrData, "Internal command \"" + std::string(command.name) + "\" is listed twice.");
        }
        slot = command.handler;
      }
    }
    return table;
  }();
  return selection;
}

}  // namespace

InternalHandler InternalHandlerFor(std::int32_t code) {
  if (code < 1 || code > kLastDispatchedCode) return nullptr;
  return BuiltSelection()[static_cast<std::size_t>(code)];
}

std::vector<ServedIdentifier> InternalExecutorServes() {
  std::vector<ServedIdentifier> served;
  const Selection& selection = BuiltSelection();
  for (std::int32_t code = 1; code <= kLastDispatchedCode; ++code) {
    if (selection[static_cast<std::size_t>(code)] != nullptr) served.push_back({code, {kObjectNone}});
  }
  return served;
}

}  // namespace kiv
