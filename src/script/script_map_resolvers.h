#pragma once
// Maps and interfaces named by scripts: by file name, or by the keywords
// "main" (the player's), "this" and "relate" (the running trigger's). A map or
// interface not in memory yet is loaded from the package, so a resolver may
// append to maps: callers fetch map records again by index afterwards.
// Results are map references (kind 8; 25 for an interface found by
// ScriptResolveMapOrInterface) with map index 0, value -1 for none.
#include <string_view>

#include "script/script_value.h"

namespace kiv {

// A map. With load, a map held only by identifier is read first and a name not
// in memory is loaded; a map found by name is then prepared for play. Refused
// (always) while the loading screen runs a tick.
ScriptValue ScriptResolveMap(std::u16string_view name, bool load, bool raiseErrors, bool showProgress);

// An interface; "main" is the player's interface, else the top shown one. An
// interface not in memory is always loaded.
ScriptValue ScriptResolveInterface(std::u16string_view name, bool raiseErrors);

// A map or an interface, whichever comes first in maps: the map part of the
// qualified names of spawns and dynamic objects. Its one message is always raised.
ScriptValue ScriptResolveMapOrInterface(std::u16string_view name, bool load);

}  // namespace kiv
