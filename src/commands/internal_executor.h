#pragma once
// The executor of identifiers used without an object: keywords, the script's
// variables, switches, collections and tables, the internal commands, custom
// events called like commands, and the "Screen." and "Main." names handed on
// to the camera-view and party executors.
#include <cstdint>

#include "core/variant.h"
#include "script/script_value.h"

namespace kiv {

void ScriptRunInternal(std::int32_t code, ScriptValue& object, std::int32_t argumentUpper, ScriptValue& result,
                       std::int16_t mode, const Variant& value, bool lastToken);

// Installs ScriptRunInternal as the script engine's executor of kind 0.
void InstallInternalCommands();

}  // namespace kiv
