#pragma once
// The small predicates that collision and combat ask of characters, the
// motion state for pose choice, and the painting of the working collision
// grid that path-finding reads.
#include <cstdint>

#include "data/map_record.h"

namespace kiv {

bool IsTeamHostile(std::int32_t teamA, std::int32_t teamB);
// Team A holds team B as a friend (its relation entry is positive).
bool IsTeamFriendly(std::int32_t teamA, std::int32_t teamB);
bool IsCharacterCollidable(std::int32_t map, std::int32_t actor, bool allowDead);
bool IsCharacterVisible(std::int32_t map, std::int32_t actor);
// Whether a zone lets characters of this template through.
bool ZoneLetsTemplatePass(const Zone& zone, std::int32_t templateIndex);

// -1, 0 or 1 from the character's motion against the map's force.
std::int32_t CharacterMotionState(const Map& map, const Actor& character);

// The working grid becomes a copy of the static grid with characters, doors
// that do not open, pick-ups and blocking zones painted in.
void PaintPathCollision(std::int32_t map, std::int32_t mover, std::int32_t target, bool friendsPass);

}  // namespace kiv
