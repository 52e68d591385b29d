#include "commands/map_object_copies.h"

#include <cmath>

#include "core/error.h"
#include "data/game_data.h"
#include "data/script_record.h"
#include "data/sector_grid.h"
#include "player/map_speaker_sound.h"
#include "render/light_maps.h"
#include "world/object_resets.h"

namespace kiv {

namespace {

template <typename Record>
Record& Entry(std::vector<Record>& list, std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= list.size()) RaiseError(kErrIndex, "Subscript out of range");
  return list[static_cast<std::size_t>(index)];
}


// Before a light map is made again: no obstacle met within the radius yet, and
// every point traced.
void ResetLightReach(Light& light) {
  light.nearestBlockedSquared = static_cast<float>(light.radius) * static_cast<float>(light.radius) + 1.0f;
  light.clearDistanceSquared = 0.0f;
}

void Relight(std::int32_t map, std::int32_t lightIndex) {
  Light& light = gameData.maps[map].lights[static_cast<std::size_t>(lightIndex)];
  light.enabled = 1;
  GenerateLighting(map, lightIndex, true);
  Light& lit = gameData.maps[map].lights[static_cast<std::size_t>(lightIndex)];
  lit.clearDistanceSquared = lit.nearestBlockedSquared;
}

}  // namespace

void CopyZone(std::int32_t targetMap, std::int32_t sourceMap, std::int32_t sourceZone, const std::u16string& name,
              const ZoneBox& box) {
  Zone copy = Entry(gameData.maps[sourceMap].zones, sourceZone);
  for (Trigger& trigger : copy.triggers) RegisterScript(trigger.script);
  copy.name = name;
  if (copy.shape.rectangles.empty()) copy.shape.rectangles.emplace_back();
  CollisionBox& first = copy.shape.rectangles[0];
  first.left = box.xFrom;
  first.top = box.yFrom;
  first.right = box.xTo;
  first.bottom = box.yTo;
  first.front = box.zFrom;
  first.back = box.zTo;
  gameData.maps[targetMap].zones.push_back(std::move(copy));
}

void CopyLight(std::int32_t targetMap, std::int32_t sourceMap, std::int32_t sourceLight, const std::u16string& name,
               std::int32_t x, std::int32_t y, std::int32_t z) {
  Light copy = Entry(gameData.maps[sourceMap].lights, sourceLight);
  copy.name = name;
  copy.x = static_cast<float>(x);
  copy.y = static_cast<float>(y);
  copy.z = static_cast<float>(z);
  Map& target = gameData.maps[targetMap];
  target.lights.push_back(std::move(copy));
  const auto index = static_cast<std::int32_t>(target.lights.size()) - 1;
  const Light& added = target.lights.back();
  BuildSectorGrid(target);
  SectorGridAddLight(target, index, added.x, added.y, added.z, added.radius, false);
  if (added.enabled != 0) GenerateLighting(targetMap, index, true);
}

void RemoveLight(std::int32_t map, std::int32_t light) {
  Light& entry = Entry(gameData.maps[map].lights, light);
  if (entry.enabled != 0) {
    entry.enabled = 0;
    GenerateLighting(map, light, true);
  }
  gameData.maps[map].lights[static_cast<std::size_t>(light)].name.clear();
}

std::int32_t MoveLight(std::int32_t light, std::int32_t map, std::int32_t targetMap, float x, float y, float z) {
  Light& entry = Entry(gameData.maps[map].lights, light);
  const bool moved = targetMap != map || std::nearbyint(x) != std::nearbyint(entry.x) ||
                     std::nearbyint(y) != std::nearbyint(entry.y) || std::nearbyint(z) != std::nearbyint(entry.z);
  if (!moved) {
    entry.x = x;
    entry.y = y;
    entry.z = z;
    return light;
  }
  const bool wasLit = entry.enabled != 0;
  if (wasLit) {
    entry.enabled = 0;
    GenerateLighting(map, light, true);
  }
  {
    Map& source = gameData.maps[map];
    Light& old = source.lights[static_cast<std::size_t>(light)];
    SectorGridAddLight(source, light, old.x, old.y, old.z, old.radius, true);
    old.x = x;
    old.y = y;
    old.z = z;
    ResetLightReach(old);
  }
  if (targetMap == map) {
    Map& source = gameData.maps[map];
    const Light& placed = source.lights[static_cast<std::size_t>(light)];
    SectorGridAddLight(source, light, placed.x, placed.y, placed.z, placed.radius, false);
    if (wasLit) Relight(map, light);
    return light;
  }
  Map& target = gameData.maps[targetMap];
  target.lights.push_back(gameData.maps[map].lights[static_cast<std::size_t>(light)]);
  const auto copy = static_cast<std::int32_t>(target.lights.size()) - 1;
  BuildSectorGrid(target);
  const Light& added = target.lights.back();
  SectorGridAddLight(target, copy, added.x, added.y, added.z, added.radius, false);
  if (wasLit) Relight(targetMap, copy);
  gameData.maps[map].lights[static_cast<std::size_t>(light)].name.clear();
  return copy;
}

std::int32_t MoveSpeaker(std::int32_t speaker, std::int32_t map, std::int32_t targetMap, float x, float y, float z) {
  Speaker& entry = Entry(gameData.maps[map].speakers, speaker);
  entry.x = x;
  entry.y = y;
  entry.z = z;
  if (targetMap == map) {
    UpdateMapSpeaker(entry, true);
    return speaker;
  }
  const bool wasEnabled = entry.enabled != 0;
  if (wasEnabled) {
    entry.enabled = 0;
    UpdateMapSpeaker(entry, false);
  }
  Map& target = gameData.maps[targetMap];
  target.speakers.push_back(gameData.maps[map].speakers[static_cast<std::size_t>(speaker)]);
  const auto copy = static_cast<std::int32_t>(target.speakers.size()) - 1;
  if (wasEnabled) {
    Speaker& added = target.speakers.back();
    added.enabled = 1;
    UpdateMapSpeaker(added, false);
  }
  gameData.maps[map].speakers[static_cast<std::size_t>(speaker)].name.clear();
  return copy;
}

std::int32_t MoveField(std::int32_t field, std::int32_t map, std::int32_t targetMap, float x, float y, float z) {
  Field& entry = Entry(gameData.maps[map].fields, field);
  entry.x = x;
  entry.y = y;
  entry.z = z;
  if (targetMap == map) return field;
  DetachField(map, field);
  Map& target = gameData.maps[targetMap];
  target.fields.push_back(gameData.maps[map].fields[static_cast<std::size_t>(field)]);
  const auto copy = static_cast<std::int32_t>(target.fields.size()) - 1;
  ResetFieldState(map, field);
  // The old entry's removal mark: the map systems take it off the list, its
  // stored references moving to the copy.
  gameData.maps[map].fields[static_cast<std::size_t>(field)].removeMark = copy;
  return copy;
}

}  // namespace kiv
