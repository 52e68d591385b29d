#pragma once
// Party members gain experience and levels by a linear threshold, take their
// statistics' bases per level, learn the magic a level grants, and leave the
// chain of members that follow one another.
#include <cstddef>
#include <cstdint>

#include "data/project_state.h"

namespace kiv {

// The base of a statistic at a level; false when the member's table does not
// reach that statistic or level. A row the file did not store is 0 throughout.
bool LevelStat(const PartyMember& member, std::size_t statistic, std::int32_t level, std::int64_t& value);

// The system trigger told of a member's change of level.
inline constexpr std::int32_t kLevelChangedSystemTrigger = 5;
// The movement word of a character that follows its leader, and the AI flag
// that lets the computer move it.
inline constexpr std::int32_t kFollowLeaderCommand = 0x10003;
inline constexpr std::int32_t kComputerMoved = 1;

// Adds experience points (target 0) or moves to the target level (above 0,
// experience untouched), a level at a time within the member's levels; each
// step changes the statistics' maximums by the level's bases and restores the
// character to full, a step up learns the level's magic. A change of level
// runs the level system trigger with the character's name, the old level and
// the names of the magic learnt.
void AddPartyMemberExperience(std::int32_t player, std::int32_t member, std::int32_t points,
                              std::int32_t target);

// Adds the item to (add) or removes it from the member's learnt magic; True
// when the list changed.
bool SetPartyMemberListId(std::int32_t player, std::int32_t member, std::int32_t item, bool add);

// Takes the member out of the chain: its followers follow its own leader and,
// when it was the controlled member, the first of them still in play takes
// control.
void UnlinkPartyMember(std::int32_t player, std::int32_t member);

}  // namespace kiv
