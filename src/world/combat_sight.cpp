#include "world/combat_sight.h"

#include "core/math_util.h"
#include "player/character_fields.h"
#include "world/actor_shapes.h"
#include "world/move_tests.h"
#include "world/relations.h"

namespace kiv {

std::int64_t combatSightTests = 0;

bool IsValidCombatTarget(const Actor& self, const Actor& target) {
  if (!IsTeamHostile(self.team, target.team)) return false;
  if (target.removed != 0 || (target.state != 0 && target.state != 1)) return false;
  return TargetAnyCharacter() || HealthMaximum(target) >= 1;
}

std::int64_t RoundedDistanceSquared(const Actor& a, const Actor& b) {
  const std::int64_t dx = static_cast<std::int64_t>(RoundToLong(b.x)) - RoundToLong(a.x);
  const std::int64_t dy = static_cast<std::int64_t>(RoundToLong(b.y)) - RoundToLong(a.y);
  return dx * dx + dy * dy;
}

bool CombatSightClear(std::int32_t map, const Actor& from, const Actor& to,
                      const std::array<std::int32_t, 3>& skipCharacters, const std::array<std::int32_t, 2>& skipTeams) {
  ++combatSightTests;
  LineSegment segment;
  segment.x1 = RoundToLong(from.x);
  segment.y1 = RoundToLong(from.y);
  segment.x2 = RoundToLong(to.x);
  segment.y2 = RoundToLong(to.y);
  SegmentTrace trace;
  trace.skipCharacters = skipCharacters;
  trace.skipTeams = skipTeams;
  trace.zoneSwitch = -2;  // zones do not block sight
  trace.height = static_cast<float>(to.z + 0.6 * ActorShapeHeight(to));
  return !TraceSegment(map, segment, trace);
}

}  // namespace kiv
