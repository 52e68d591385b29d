#include "script/player_control.h"

#include <string>

#include "core/error.h"
#include "data/game_data.h"
#include "data/project_state.h"

namespace kiv {

PlayerControlState ScriptPlayerControl(std::int32_t player) {
  PlayerControlState state;
  if (player < 0 || static_cast<std::size_t>(player) >= projectState.players.size()) return state;
  const Player& record = projectState.players[static_cast<std::size_t>(player)];
  state.currentMap = record.mapIndex;
  state.controlledMember = record.controlledMember;
  if (state.controlledMember < 0) return state;
  if (static_cast<std::size_t>(state.controlledMember) >= record.party.size()) {
    RaiseError(kErrIndex, "Subscript out of range: party member " + std::to_string(state.controlledMember) +
                              " of player " + std::to_string(player) + ".");
  }
  state.controlledCharacter = record.party[static_cast<std::size_t>(state.controlledMember)].character;
  return state;
}

std::int32_t ScriptCharacterOwnerPlayer(std::int32_t map, std::int32_t character) {
  const std::vector<Actor>& actors = gameData.maps[map].actors;
  if (character < 0 || static_cast<std::size_t>(character) >= actors.size()) {
    RaiseError(kErrIndex, "Subscript out of range: character " + std::to_string(character) + ".");
  }
  return actors[static_cast<std::size_t>(character)].owningPlayer;
}

}  // namespace kiv
