#pragma once
// Players and party members that references of kinds 34 and 11 name. Every
// access checks its index, so a reference kept past a removal is error 9;
// fetch again after anything that may run scripts.
#include <cstdint>

#include "commands/internal_call.h"
#include "data/actor_record.h"
#include "data/project_state.h"

namespace kiv {

// The player numbered by the reference's id (kind 34) or map index (kind 11).
std::int32_t CalledPlayerIndex(const InternalCall& call);
Player& CalledPlayer(const InternalCall& call);

// The member of a kind 11 reference.
std::int32_t CalledMemberIndex(const InternalCall& call);
PartyMember& CalledMember(const InternalCall& call);

// The member's character in the player's current map, nullptr when the map or
// the character index is outside its list.
Actor* MemberCharacter(const Player& player, const PartyMember& member);
// The character exists in play (its existence flag is 0).
bool MemberInPlay(const Player& player, const PartyMember& member);

}  // namespace kiv
