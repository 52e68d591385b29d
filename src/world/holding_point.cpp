#include "world/holding_point.h"

#include "data/game_data.h"
#include "data/item_fields.h"
#include "data/project_state.h"
#include "player/character_fields.h"
#include "render/sprite_drawing.h"
#include "world/actor_pose.h"

namespace kiv {

namespace {

constexpr std::int32_t kHoldingPointPose = 6;  // the pose the single holding point is measured on
constexpr std::array<std::int32_t, 3> kNoBodyPoint{0, 0, 8};

}  // namespace

bool MeasureHoldingPoint(std::int32_t spriteSet, std::int32_t pose, std::int32_t direction, std::int32_t time,
                         std::int32_t slot, std::array<std::int32_t, 3>& point, float yaw) {
  if (spriteSet < 0 || static_cast<std::size_t>(spriteSet) >= gameData.spriteSets.size()) return false;
  const SpriteSet& set = gameData.spriteSets[static_cast<std::size_t>(spriteSet)];
  if (pose < 0 || static_cast<std::size_t>(pose) >= set.poses.size()) return false;
  SpriteInstance scratch;
  const MapView view;
  const std::int32_t mask =
      DrawSpritePart(set.poses[static_cast<std::size_t>(pose)], kAllSpriteGroups, -1, direction, time, scratch, view,
                     0, 0, 0, 1, 1, 1, false, false, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0, yaw, 0, 0, 0, 0, 0, 1, 1,
                     false, kDrawMeasure, -1, -1);
  if (slot < 0) {
    for (std::int32_t k = 0; k < 4; ++k)
      if ((mask & (1 << k)) != 0) {
        slot = k;
        break;
      }
  }
  if (slot < 0 || slot > 3 || (mask & (1 << slot)) == 0) return false;
  const FramePart& part = spriteHoldingPoints[static_cast<std::size_t>(slot)];
  point = {part.x, part.y, part.z};
  return true;
}

std::array<std::int32_t, 3> LaunchHoldingPoint(std::int32_t map, std::int32_t shooter, std::int32_t item) {
  const Actor& actor = gameData.maps[map].actors[static_cast<std::size_t>(shooter)];
  const std::int32_t body = actor.parts.empty() ? -1 : actor.parts[0].spriteSet;
  if (body < 0) return kNoBodyPoint;
  const std::int32_t direction = ActorDrawDirection(actor);
  std::array<std::int32_t, 3> point{0, 0, 0};
  if (SingleHoldPoint()) {
    if (!MeasureHoldingPoint(body, kHoldingPointPose, direction, 0, -1, point)) point = {0, 0, 0};
    return point;
  }
  const std::int32_t area = ItemHoldingArea(gameData.items[static_cast<std::size_t>(item)]);
  if (area < 0) return point;
  const auto& areas = projectState.equipmentAreas;
  const std::int32_t slot =
      static_cast<std::size_t>(area) < areas.size() ? areas[static_cast<std::size_t>(area)].value : -1;
  if (slot < 0 || slot > 3) return kNoBodyPoint;
  std::int32_t pose = kHoldingPointPose, poseTime = 0;
  SelectActorPose(map, actor, body, kAllSpriteGroups, direction, pose, poseTime);
  if (!MeasureHoldingPoint(body, pose, direction, poseTime, slot, point)) point = {0, 0, 0};
  return point;
}

}  // namespace kiv
