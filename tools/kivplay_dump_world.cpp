#include "kivplay_dump_world.h"

#include <cstddef>

#include "core/text_encoding.h"
#include "data/door_fields.h"
#include "data/game_data.h"
#include "data/map_weather_fields.h"

namespace kivplay {

namespace {

using json = nlohmann::json;
using namespace kiv;

json Characters(const Map& map) {
  json list = json::array();
  for (const Actor& a : map.actors) {
    json equipment = json::array();
    for (const InventoryEntry& e : a.equipment) equipment.push_back({e.item, e.fireWait, e.pressFired});
    list.push_back({{"name", Utf16ToUtf8(a.name)},
                    {"position", {a.x, a.y, a.z}},
                    {"heading", a.heading},
                    {"state", a.state},
                    {"removed", a.removed},
                    {"health", a.statistics.empty() ? 0 : a.statistics[0].currentValue},
                    {"step", {a.stepTarget, a.stepDirection, a.stepLeft}},
                    {"path", a.path},
                    {"routePosition", a.routePosition},
                    {"moveWait", a.moveWait},
                    {"aiMoveCommand", a.aiMoveCommand},
                    {"ai", {a.aiState, a.aiFocus, a.targetActor}},
                    {"timers",
                     {a.walkTime, a.idleTime, a.attackTimer, a.hurtTime, a.deathTimer, a.customPoseTime,
                      a.risePoseTime, a.fallPoseTime, a.timeSinceHurt, a.hopTime}},
                    {"velocity", {a.velocityX, a.velocityY, a.velocityZ, a.velocity, a.strafeSpeed}},
                    {"hop", {a.hopSpeed, a.hopHeight}},
                    {"pushes", a.pushes.size()},
                    {"tickFlags", a.tickFlags},
                    {"moved", a.moved},
                    {"edges", {a.inMap, a.inMapExtra, a.inCamera, a.inCameraExtra}},
                    {"damageNumber", {a.damageShowTime, a.damageShown}},
                    {"equipment", equipment}});
  }
  return list;
}

json Doors(Map& map) {
  json list = json::array();
  for (Door& d : map.doors) {
    list.push_back({{"name", Utf16ToUtf8(d.name)},
                    {"openAmount", d.openAmount},
                    {"swing", DoorSwing(d)},
                    {"openTimeLeft", DoorOpenTimeLeft(d)},
                    {"opener", DoorOpener(d)}});
  }
  return list;
}

json Spawns(const Map& map) {
  json list = json::array();
  for (const Spawn& s : map.spawns) {
    list.push_back({{"name", Utf16ToUtf8(s.name)},
                    {"time", s.time},
                    {"born", s.born},
                    {"died", s.died},
                    {"departed", s.departedCount}});
  }
  return list;
}

json Projectiles(const Map& map) {
  json list = json::array();
  for (const Projectile& p : map.projectiles) {
    list.push_back({{"kind", p.kind},
                    {"position", {p.x, p.y, p.z}},
                    {"heading", p.heading},
                    {"age", p.age},
                    {"range", p.remainingRange},
                    {"owner", p.owner}});
  }
  return list;
}

json Fields(const Map& map) {
  json list = json::array();
  for (const Field& f : map.fields) {
    const FieldView& v = f.view;
    json entry = {{"name", Utf16ToUtf8(f.name)},
                  {"position", {f.x, f.y}},
                  {"state", f.state},
                  {"hidden", f.noDraw},
                  {"elapsed", f.animationTime}};
    if (f.Kind() == 6) {
      entry["pan"] = {v.panning, v.panElapsed, v.panDuration, v.panTargetX, v.panTargetY};
      entry["shake"] = {v.shakeElapsed, v.shakeDuration, v.shakeRepeat};
      entry["flash"] = {v.flashElapsed, v.flashDuration, v.flashRepeat};
      entry["transition"] = {v.transitionMode, v.transitionElapsed, v.transitionDuration};
    }
    list.push_back(entry);
  }
  return list;
}

json captured = json::array();

}  // namespace

void CaptureWorld() {
  json maps = json::array();
  for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) {
    Map& map = gameData.maps[m];
    if (map.keptById) continue;
    maps.push_back({{"index", m},
                    {"file", Utf16ToUtf8(map.fileName)},
                    {"characters", Characters(map)},
                    {"doors", Doors(map)},
                    {"spawns", Spawns(map)},
                    {"projectiles", Projectiles(map)},
                    {"weather", {CloudDensity(map), RainDensity(map), WindDirection(map)}},
                    {"fields", Fields(map)}});
  }
  captured = maps;
}

json WorldDump() { return captured; }

}  // namespace kivplay
