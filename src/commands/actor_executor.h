#pragma once
// The executor of properties of actor references: characters, vehicles,
// turrets, any actor, and map objects (a map object of an interface is a
// field and goes on to the field executor).
#include <cstdint>

#include "core/variant.h"
#include "script/script_value.h"

namespace kiv {

void ScriptActorProperty(std::int32_t code, ScriptValue& object, std::int32_t argumentUpper, ScriptValue& result,
                         std::int16_t mode, const Variant& value, bool lastToken);

// Installs ScriptActorProperty as the script engine's actor executor.
void InstallActorProperties();

}  // namespace kiv
