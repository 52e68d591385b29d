#pragma once
// Actors named by scripts: characters, vehicles and turrets by their scripting
// ID ("Bob" for the stored "Character Bob"), any actor by its full stored name,
// or by the keywords "main", "relate", "this" and "party". A name is searched
// in every map from the last down to the objects of no map, the last record of
// a list first; "|Town:Bob" searches Town only. map, when not -1, is the map
// the object must be in. Failures give "none" (value -1, map -1) of the kind
// and, with raiseErrors, a script error (-1). A success prepares the object's
// map for play. The map part of a qualified name may load a map: callers
// fetch map records again by index afterwards.
#include <cstdint>
#include <string_view>

#include "script/script_value.h"

namespace kiv {

// Kind 31; "party" gives the members in play (kind 10); "P1" names party slot
// 1 when party shortcut names are on.
ScriptValue ScriptResolveActor(std::u16string_view name, std::int32_t map, bool raiseErrors, bool allowEmpty);
// Kind 9; "party" gives kind 10 and "relate" in an item's script the item (kind 22).
ScriptValue ScriptResolveCharacter(std::u16string_view name, std::int32_t map, bool raiseErrors,
                                   bool allowEmpty);
// Kind 12.
ScriptValue ScriptResolveVehicle(std::u16string_view name, std::int32_t map, bool raiseErrors);
// Kind 14; its keywords are not held to the map.
ScriptValue ScriptResolveTurret(std::u16string_view name, std::int32_t map, bool raiseErrors);

}  // namespace kiv
