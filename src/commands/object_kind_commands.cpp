#include "commands/object_kind_commands.h"

#include <string_view>
#include <unordered_map>

#include "core/error.h"
#include "core/text_encoding.h"
#include "data/fixed_identifiers.h"

namespace kiv {

std::int32_t ObjectCommandCode(std::string_view name) {
  static const std::unordered_map<std::string_view, std::int32_t> codes = [] {
    std::unordered_map<std::string_view, std::int32_t> byName;
    for (std::int32_t code = 1; code <= kFixedIdentifierCount; ++code) byName.emplace(FixedIdentifierName(code), code);
    return byName;
  }();
  const auto found = codes.find(name);
  if (found == codes.end()) {
    RaiseError(kErrData, "Object command \"" + std::string(name) + "\" is not a fixed identifier.");
  }
  return found->second;
}

ObjectCommandTable::ObjectCommandTable(std::span<const InternalCommand> commands)
    : handlers_(static_cast<std::size_t>(kFixedIdentifierCount) + 1, nullptr) {
  for (const InternalCommand& command : commands) {
    InternalHandler& slot = handlers_[static_cast<std::size_t>(ObjectCommandCode(command.name))];
    if (slot != nullptr) RaiseError(kErrData, "Object command \"" + std::string(command.name) + "\" is listed twice.");
    slot = command.handler;
  }
}

InternalHandler ObjectCommandTable::For(std::int32_t code) const {
  if (code < 1 || code > kFixedIdentifierCount) return nullptr;
  return handlers_[static_cast<std::size_t>(code)];
}

bool ObjectCommandTable::Run(InternalCall& call) const {
  const InternalHandler handler = For(call.code);
  if (handler == nullptr) return false;
  handler(call);
  return true;
}

void RaiseObjectError(const std::u16string& text) { RaiseObjectMessage(Utf16ToAnsi(text)); }

}  // namespace kiv
