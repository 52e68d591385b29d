#include "script/script_party_resolvers.h"

#include <string>
#include <vector>

#include "core/error.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "script/call_frame.h"
#include "script/project_options.h"
#include "script/script_object_names.h"
#include "script/script_resolve_support.h"

namespace kiv {

namespace {

template <typename Record>
std::int32_t FirstNamed(const std::vector<Record>& table, const ScriptSearchName& name) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (ScriptNameMatches(table[i].name, name.text, name.loose)) return static_cast<std::int32_t>(i);
  }
  return -1;
}

// The failure of team members and party members that raises nothing: Empty, map index 0.
ScriptValue EmptyFailure(std::int32_t kind, bool raise, const std::string& message) {
  if (raise) RaiseError(kErrData, message);
  return ScriptValue{kind, Variant(), 0};
}

// Slot k of player 0 is also "p" + k, "P" + k and k.
bool IsShortcutOf(const std::u16string& name, std::size_t slot) {
  const std::u16string digits = Utf8ToUtf16(std::to_string(slot));
  return name == digits || name == u"p" + digits || name == u"P" + digits;
}

}  // namespace

ScriptValue ScriptResolveTeamMembers(std::u16string_view teamName, bool raiseErrors) {
  ScriptRequireRunningScript();
  const ScriptSearchName name = ScriptPrepareName(teamName);
  const std::int32_t team = FirstNamed(projectState.teams, name);
  // A team that does not exist has no members; searching for team -1 would
  // collect every character of no team.
  if (team < 0)
    return EmptyFailure(kObjectTeam, raiseErrors, "Team " + ScriptQuoted(name.text) + " does not exist.");
  for (std::int32_t map = gameData.maps.LastIndex(); map >= -1; --map) {
    const std::vector<Actor>& actors = gameData.maps[map].actors;
    std::vector<Variant> members;
    for (std::size_t i = actors.size(); i-- > 0;) {
      if (actors[i].team == team) members.push_back(Variant::Long(static_cast<std::int32_t>(i)));
    }
    if (members.empty()) continue;
    ScriptReachedMap(map);
    return ScriptValue{kObjectTeam, Variant::Array(kVarLong, std::move(members)), map};
  }
  return EmptyFailure(kObjectTeam, raiseErrors,
                      "There are no characters in the " + ScriptQuoted(name.text) + " team.");
}

ScriptValue ScriptResolvePartyMember(std::u16string_view argument, std::int32_t player, bool raiseErrors) {
  ScriptRequireRunningScript();
  const ScriptSearchName name = ScriptPrepareName(argument);
  const bool shortcuts = ScriptPartyShortcutNames();
  const auto playerCount = static_cast<std::int32_t>(projectState.players.size());
  const std::int32_t firstPlayer = player == -1 ? 0 : player;
  const std::int32_t lastPlayer = player == -1 ? playerCount - 1 : player;
  for (std::int32_t p = firstPlayer; p <= lastPlayer; ++p) {
    if (p < 0 || p >= playerCount) continue;
    const Player& record = projectState.players[static_cast<std::size_t>(p)];
    for (std::size_t k = record.party.size(); k-- > 0;) {
      const Actor& character = ScriptMapActor(record.mapIndex, record.party[k].character);
      if (ScriptNameMatches(character.name, name.text, name.loose) ||
          (p == 0 && shortcuts && IsShortcutOf(name.text, k))) {
        return ScriptValue{kObjectPartyMember, Variant::Long(static_cast<std::int32_t>(k)), p};
      }
    }
  }
  return EmptyFailure(kObjectPartyMember, raiseErrors,
                      "Party member " + ScriptQuoted(name.text) + " is not loaded.");
}

std::int32_t ScriptResolveTeam(std::u16string_view teamName, bool raiseErrors, bool allowEmpty) {
  ScriptRequireRunningScript();
  const ScriptSearchName name = ScriptPrepareName(teamName);
  if (name.text.empty() && allowEmpty) return -1;
  const std::int32_t team = FirstNamed(projectState.teams, name);
  if (team < 0 && raiseErrors) RaiseError(kErrData, "Team " + ScriptQuoted(name.text) + " does not exist.");
  return team;
}

ScriptValue ScriptResolveStatistic(std::u16string_view statisticName, bool raiseErrors) {
  ScriptRequireRunningScript();
  const ScriptSearchName name = ScriptPrepareName(statisticName);
  const std::int32_t statistic = FirstNamed(gameData.statistics, name);
  if (statistic < 0 && raiseErrors) {
    RaiseError(kErrData, "Statistic " + ScriptQuoted(name.text) + " does not exist.");
  }
  return ScriptValue{kObjectStatistic, Variant::Long(statistic), -1};
}

}  // namespace kiv
