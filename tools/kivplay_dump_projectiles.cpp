#include "kivplay_dump_projectiles.h"

#include <cstddef>

#include "core/text_encoding.h"
#include "data/game_data.h"

namespace kivplay {

nlohmann::json ProjectilesDump() {
  using namespace kiv;
  nlohmann::json maps = nlohmann::json::array();
  for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) {
    const Map& map = gameData.maps[m];
    if (map.projectiles.empty()) continue;
    nlohmann::json list = nlohmann::json::array();
    for (std::size_t i = 0; i < map.projectiles.size(); ++i) {
      const Projectile& p = map.projectiles[i];
      list.push_back({{"index", i},
                      {"kind", p.kind},
                      {"x", p.x},
                      {"y", p.y},
                      {"z", p.z},
                      {"range", p.remainingRange}});
    }
    maps.push_back({{"map", m}, {"file", Utf16ToUtf8(map.fileName)}, {"projectiles", list}});
  }
  return maps;
}

}  // namespace kivplay
