#pragma once
// The game of the save benchmarks: the generated game of 50 maps, started and
// filled with copies of its actors, pick-ups and lights up to 10,000 objects.
#include <cstddef>
#include <cstdint>

#include "data/game_data.h"
#include "data/game_loading.h"
#include "generated_game.h"
#include "state/state_block.h"
#include "support/sample_game.h"
#include "support/state_block_writer.h"

namespace kiv::bench {

inline constexpr std::int32_t kSets = 200;
inline constexpr std::int32_t kMaps = 50;
inline constexpr std::size_t kObjects = 10000;

inline std::size_t CountObjects() {
  std::size_t count = 0;
  for (std::int32_t m = -1; m <= gameData.maps.LastIndex(); ++m) {
    const Map& map = gameData.maps[m];
    count += map.doors.size() + map.zones.size() + map.boundaries.size() + map.actors.size() +
             map.pickUps.size() + map.lights.size() + map.speakers.size() + map.projectiles.size() +
             map.spawns.size() + map.fields.size() + map.positionedTexts.size();
  }
  return count;
}

// The generated game started, its maps loaded, then actors, pick-ups and
// lights copied along a row until the maps hold kObjects objects.
inline void StartSaveBenchGame() {
  static const ByteList bytes = [] {
    test::PackageWriter writer = test::GeneratedGamePackage(kSets, kMaps);
    writer.AddCompressed("INTRO.kst",
                         test::ProjectStateBytes(kCurrentFormatVersion, test::StateBlockFixture{}));
    return writer.Build();
  }();
  OpenGeneratedGame(bytes);
  LoadProjectState();
  LoadGameData();
  ReachGeneratedMaps(kMaps);
  for (std::size_t n = CountObjects(), step = 0; n < kObjects; ++n, ++step) {
    Map& map = gameData.maps[static_cast<std::int32_t>(step % kMaps)];
    const float x = 32.0f * static_cast<float>(step / kMaps % 32);
    switch (step / kMaps % 3) {
      case 0:
        map.actors.push_back(map.actors.front());
        map.actors.back().x = x;
        break;
      case 1:
        map.pickUps.push_back(map.pickUps.front());
        map.pickUps.back().x = x;
        break;
      default:
        map.lights.push_back(map.lights.front());
        map.lights.back().x = x;
        break;
    }
  }
}

}  // namespace kiv::bench
