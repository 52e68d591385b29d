#pragma once
// The pieces of the state block that its reader and writer share: the system
// scripts, the players with their parties, and the regrouping of the parties
// of a project form. Used only by the state block.
#include <cstdint>
#include <vector>

#include "core/byte_list.h"
#include "data/actor_record.h"
#include "data/project_state.h"

namespace kiv {

// Reads the system scripts in stored order (slots 0, 8, 5, 1, 2, 9, 10, 11, 12)
// in the save form (full) or the editor's form, and gives the slots that hold
// a script their fixed parameter names.
void ReadSystemScripts(const ByteList& buffer, std::int32_t& offset, bool full, std::int32_t version);
// Writes the same slots in the same order in the save form.
void WriteSystemScripts(ByteList& buffer, std::int32_t& offset);

// The players as read: the table and, for the project form, the actors of all
// party members (each member's character is its index in that list).
struct ReadPlayersResult {
  std::vector<Player> players;
  std::vector<Actor> actors;
  std::int32_t memberCount = 0;
};
ReadPlayersResult ReadPlayers(const ByteList& buffer, std::int32_t& offset, bool full, std::int32_t version);
void WritePlayers(ByteList& buffer, std::int32_t& offset);

// Moves every party member to the player it names, then chains each party so
// that every member follows the nearest earlier member still in play.
void RegroupParties(std::vector<Player>& players, std::vector<Actor>& actors);

}  // namespace kiv
