#include "kivplay_dump_weather.h"

#include "core/text_encoding.h"
#include "data/door_fields.h"
#include "data/game_data.h"
#include "data/map_weather_fields.h"

namespace kivplay {

namespace {

nlohmann::json MapWeather(std::int32_t index, kiv::Map& map) {
  nlohmann::json doors = nlohmann::json::array();
  for (kiv::Door& door : map.doors) {
    doors.push_back({{"name", kiv::Utf16ToUtf8(door.name)},
                     {"openAmount", door.openAmount},
                     {"openFuture", kiv::DoorSwing(door)},
                     {"openTimeLeft", kiv::DoorOpenTimeLeft(door)}});
  }
  nlohmann::json lights = nlohmann::json::array();
  for (const kiv::Light& light : map.lights) {
    lights.push_back({{"name", kiv::Utf16ToUtf8(light.name)},
                      {"on", light.enabled},
                      {"applied", light.appliedIntensity},
                      {"current", light.currentIntensity}});
  }
  return {{"index", index},
          {"name", kiv::Utf16ToUtf8(map.fileName)},
          {"clouds", map.clouds.size()},
          {"rain", map.rainDrops.size()},
          {"wind", kiv::WindDirection(map)},
          {"doors", doors},
          {"lights", lights}};
}

nlohmann::json captured = nlohmann::json::array();

}  // namespace

void CaptureWeather() {
  nlohmann::json maps = nlohmann::json::array();
  for (std::int32_t m = 0; m <= kiv::gameData.maps.LastIndex(); ++m) {
    kiv::Map& map = kiv::gameData.maps[m];
    if (map.isInterface || map.keptById) continue;
    maps.push_back(MapWeather(m, map));
  }
  captured = maps;
}

nlohmann::json WeatherDump() { return captured; }

}  // namespace kivplay
