#pragma once
// The other objects of maps and interfaces named by scripts: fields, spawns,
// zones, doors, dynamic objects, lights and speakers, by name or by the
// running trigger's "this" and "relate"; "|Town:Gate" searches one map only.
// The rules of the actor resolvers hold: every map from the last down to the
// objects of no map, a list's last record first; "none" (value -1, map -1)
// and, with raiseErrors, a script error on failure; a success prepares the
// object's map. A qualified name may load a map or interface: callers fetch
// map records again by index afterwards.
#include <cstdint>
#include <string_view>

#include "script/script_value.h"

namespace kiv {

// Kind 26. Without a required map (-1) the running trigger's own map or
// interface is searched first; a qualified name's interface is loaded when missing.
ScriptValue ScriptResolveField(std::u16string_view name, std::int32_t map, bool raiseErrors);
// Kind 21: a spawn (of characters or turrets).
ScriptValue ScriptResolveTurretSpawn(std::u16string_view name, bool raiseErrors);
// Kind 19.
ScriptValue ScriptResolveZone(std::u16string_view name, bool raiseErrors);
// Kind 13.
ScriptValue ScriptResolveDoor(std::u16string_view name, bool raiseErrors);
// Kind 15: an actor of a map, or a field of an interface, stored as
// "Dynamic Object " + name; the running trigger's map is searched first.
ScriptValue ScriptResolveDynamicObject(std::u16string_view name, bool raiseErrors);
// Kind 17.
ScriptValue ScriptResolveLight(std::u16string_view name, bool raiseErrors);
// Kind 30.
ScriptValue ScriptResolveSpeaker(std::u16string_view name, bool raiseErrors);

}  // namespace kiv
