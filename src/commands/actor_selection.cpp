#include "commands/actor_selection.h"

#include <array>
#include <string>
#include <unordered_map>

#include "core/error.h"
#include "data/fixed_identifiers.h"
#include "script/script_value.h"

namespace kiv {

namespace {

// The codes the actor executor may serve: one block of the fixed vocabulary,
// the vehicle-control block and three single names.
bool InActorRange(std::int32_t code) {
  return (code >= 2 && code <= 161) || (code >= 396 && code <= 407) || code == 170 || code == 411 || code == 610;
}

std::int32_t ActorCode(std::string_view name) {
  static const std::unordered_map<std::string_view, std::int32_t> codes = [] {
    std::unordered_map<std::string_view, std::int32_t> byName;
    for (std::int32_t code = 1; code <= kFixedIdentifierCount; ++code) byName.emplace(FixedIdentifierName(code), code);
    return byName;
  }();
  const auto found = codes.find(name);
  if (found == codes.end() || !InActorRange(found->second)) {
    RaiseError(kErrData, "Actor property \"" + std::string(name) + "\" is not an actor identifier.");
  }
  return found->second;
}

using Selection = std::array<const ActorProperty*, kFixedIdentifierCount + 1>;

const Selection& BuiltSelection() {
  static const Selection selection = [] {
    Selection table{};
    for (const auto family : {ActorIdentityProperties(), ActorPositionProperties(), ActorMotionProperties(),
                              ActorAppearanceProperties(), ActorItemProperties(), ActorStatisticProperties()}) {
      for (const ActorProperty& property : family) {
        const ActorProperty*& slot = table[static_cast<std::size_t>(ActorCode(property.name))];
        if (slot != nullptr) {
          RaiseError(kErrData, "Actor property \"" + std::string(property.name) + "\" is listed twice.");
        }
        slot = &property;
      }
    }
    return table;
  }();
  return selection;
}

}  // namespace

const ActorProperty* ActorPropertyFor(std::int32_t code) {
  if (code < 1 || code > kFixedIdentifierCount) return nullptr;
  return BuiltSelection()[static_cast<std::size_t>(code)];
}

std::vector<ServedIdentifier> ActorExecutorServes() {
  std::vector<ServedIdentifier> served;
  for (std::int32_t code = 1; code <= kFixedIdentifierCount; ++code) {
    if (ActorPropertyFor(code) != nullptr) {
      served.push_back({code, {kObjectActor, kObjectCharacter, kObjectVehicle, kObjectTurret, kObjectDynamic}});
    }
  }
  return served;
}

}  // namespace kiv
