#include "world/relations.h"

#include <cmath>

#include "core/math_util.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "mathkiv/collision.h"
#include "mathkiv/collision_grid.h"
#include "world/actor_shapes.h"
#include "world/world_settings.h"

namespace kiv {

namespace {

std::int32_t Relation(std::int32_t teamA, std::int32_t teamB) {
  if (teamA < 0 || teamB < 0) return 0;
  const auto& teams = projectState.teams;
  if (static_cast<std::size_t>(teamA) >= teams.size()) return 0;
  const auto& relations = teams[static_cast<std::size_t>(teamA)].relations;
  if (static_cast<std::size_t>(teamB) >= relations.size()) return 0;
  return relations[static_cast<std::size_t>(teamB)];
}

int Sign(float v) { return v > 0.0f ? 1 : (v < 0.0f ? -1 : 0); }

}  // namespace

bool IsTeamHostile(std::int32_t teamA, std::int32_t teamB) { return Relation(teamA, teamB) < 0; }
bool IsTeamFriendly(std::int32_t teamA, std::int32_t teamB) { return Relation(teamA, teamB) > 0; }

bool IsCharacterCollidable(std::int32_t map, std::int32_t actor, bool allowDead) {
  const Actor& a = gameData.maps[map].actors[static_cast<std::size_t>(actor)];
  if (a.noRect != 0 || a.removed != 0 || a.vehicleRidden >= 0) return false;
  if (a.state == 3) return allowDead;
  return true;
}

bool IsCharacterVisible(std::int32_t map, std::int32_t actor) {
  const Actor& a = gameData.maps[map].actors[static_cast<std::size_t>(actor)];
  return a.noDraw == 0 && a.removed == 0 && a.vehicleRidden < 0;
}

bool ZoneLetsTemplatePass(const Zone& zone, std::int32_t templateIndex) {
  const auto& templates = gameData.actorTemplates;
  if (templateIndex < 0 || static_cast<std::size_t>(templateIndex) >= templates.size()) return false;
  const Identifier& id = templates[static_cast<std::size_t>(templateIndex)].id;
  for (const TemplateFlag& entry : zone.templateFlags)
    if (entry.id == id) return entry.flag != 0;
  return false;
}

std::int32_t CharacterMotionState(const Map& map, const Actor& character) {
  const float motion[3] = {character.velocityX, character.velocityY, character.velocityZ};
  const float force[3] = {map.MapForceX(), map.MapForceY(), map.MapForceZ()};
  bool allAtRest = true;
  for (int k = 0; k < 3; ++k) {
    const bool atRest = NearlyEqual(motion[k], 0.0f, 0.1f) || Sign(motion[k]) != Sign(force[k]) || force[k] == 0.0f;
    allAtRest = allAtRest && atRest;
  }
  const bool flag = character.airborne != 0;
  if (allAtRest) return flag ? 1 : 0;
  if (flag) return -1;
  for (int k = 0; k < 3; ++k)
    if (std::fabs(force[k] * 100.0f) < std::fabs(motion[k])) return -1;
  return 0;
}

void PaintPathCollision(std::int32_t map, std::int32_t mover, std::int32_t target, bool friendsPass) {
  Map& m = gameData.maps[map];
  m.workingCollision = m.staticCollision;
  CollisionGridView grid{m.workingCollision.cells, m.workingCollision.columns, m.workingCollision.rows,
                         m.workingCollision.layers};
  std::int32_t moverTeam = -1;
  std::int32_t moverTemplate = -1;
  if (mover >= 0 && static_cast<std::size_t>(mover) < m.actors.size()) {
    moverTeam = m.actors[static_cast<std::size_t>(mover)].team;
    moverTemplate = m.actors[static_cast<std::size_t>(mover)].templateIndex;
  }
  for (std::size_t i = 0; i < m.actors.size(); ++i) {
    const auto index = static_cast<std::int32_t>(i);
    if (index == mover || index == target) continue;
    const Actor& a = m.actors[i];
    if (!IsCharacterCollidable(map, index, false) || a.solid == 0) continue;
    if (friendsPass && moverTeam >= 0 && IsTeamFriendly(moverTeam, a.team)) continue;
    const float z = FlatMovement() ? 0.0f : a.z;
    const ShapePlacement placement{a.x, a.y, z, 0.0f, a.rotationY, a.heading, a.scaleX, a.scaleY, a.scaleZ};
    PaintArrayCollision(grid, a.collisionShape, placement, 1);
    if (a.moveCommand[1] > 0) {
      CollisionShape step = BoxShapeOf(a.stepRect);
      PaintArrayCollision(grid, step, ShapePlacement{}, 1);
      ResetCollision(step);
    }
  }
  for (const Door& door : m.doors) {
    if (door.openStyle != 0) continue;
    PaintArrayCollision(grid, door.collisionShape, ShapePlacement{door.x, door.y, FlatMovement() ? 0.0f : door.z}, 1);
  }
  for (const PickUp& pickUp : m.pickUps) {
    if (!pickUp.Blocks()) continue;
    PaintArrayCollision(grid, pickUp.collisionShape, ShapePlacement{pickUp.x, pickUp.y, FlatMovement() ? 0.0f : pickUp.z},
                        1);
  }
  for (const Zone& zone : m.zones) {
    if (zone.Blocking() == 0 || zone.Disabled() != 0) continue;
    if (moverTemplate >= 0 && ZoneLetsTemplatePass(zone, moverTemplate)) continue;
    PaintArrayCollision(grid, zone.shape, ShapePlacement{}, 1);
  }
}

}  // namespace kiv
