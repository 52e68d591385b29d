#include "kivplay_dump_actors.h"

#include <cstddef>
#include <string>

#include "core/text_encoding.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "player/character_world.h"

namespace kivplay {

namespace {

using json = nlohmann::json;
using namespace kiv;

// A busy map raises thousands of events a tick: keep the first ones and count the rest.
constexpr std::size_t kMaxEvents = 20000;

struct EventCapture {
  json events = json::array();
  std::size_t total = 0;
};
EventCapture capture;

std::string EventName(std::int32_t code) {
  if (code < 1 || code > kFixedIdentifierCount) return std::to_string(code);
  return std::string(FixedIdentifierName(code));
}

json ActorEntry(std::size_t index, const Actor& a) {
  return {{"index", index},
          {"name", Utf16ToUtf8(a.name)},
          {"x", a.x},
          {"y", a.y},
          {"z", a.z},
          {"heading", a.heading},
          {"state", a.state},
          {"removed", a.removed},
          {"moved", a.moved},
          {"insideMap", a.inMap},
          {"crossingMapEdge", a.inMapExtra},
          {"insideCamera", a.inCamera},
          {"crossingCameraEdge", a.inCameraExtra}};
}

}  // namespace

void InstallActorsDump() {
  const auto raise = characterWorld.RaiseObjectEvent;
  characterWorld.RaiseObjectEvent = [raise](std::int32_t kind, std::int32_t object, std::int32_t event,
                                            std::int32_t map, std::int32_t related) {
    ++capture.total;
    if (capture.events.size() < kMaxEvents) {
      capture.events.push_back({{"kind", kind},
                                {"object", object},
                                {"event", event},
                                {"name", EventName(event)},
                                {"map", map},
                                {"related", related}});
    }
    raise(kind, object, event, map, related);
  };
}

json ActorsDump() {
  json maps = json::array();
  for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) {
    const Map& map = gameData.maps[m];
    if (map.actors.empty()) continue;
    json actors = json::array();
    for (std::size_t i = 0; i < map.actors.size(); ++i) actors.push_back(ActorEntry(i, map.actors[i]));
    maps.push_back({{"map", m}, {"file", Utf16ToUtf8(map.fileName)}, {"actors", actors}});
  }
  return {{"maps", maps}, {"events", capture.events}, {"eventCount", capture.total}};
}

}  // namespace kivplay
