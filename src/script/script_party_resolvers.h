#pragma once
// Teams, party members and statistics named by scripts. Names follow the
// project's name rule; the first record of a table with the name wins.
#include <cstdint>
#include <string_view>

#include "script/script_value.h"

namespace kiv {

// Kind 10: the characters of the team, from the highest-numbered map that has
// any (down to the objects of no map), last index first. Without raiseErrors a
// failure leaves the value Empty and the map index 0.
ScriptValue ScriptResolveTeamMembers(std::u16string_view teamName, bool raiseErrors);

// Kind 11: value the party slot, map index the player. The slot's character is
// named by its stored name; for player 0 with party shortcut names on also by
// "p" + slot, "P" + slot or the slot alone. player -1 searches every player,
// 0 first; a party's last slot is tried first. Without raiseErrors a failure
// leaves the value Empty and the map index 0.
ScriptValue ScriptResolvePartyMember(std::u16string_view name, std::int32_t player, bool raiseErrors);

// The index of the team in the teams table, -1 none; an empty name with
// allowEmpty gives -1 silently.
std::int32_t ScriptResolveTeam(std::u16string_view name, bool raiseErrors, bool allowEmpty);

// Kind 28, map index -1 always.
ScriptValue ScriptResolveStatistic(std::u16string_view name, bool raiseErrors);

}  // namespace kiv
