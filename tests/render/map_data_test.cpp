// Map data generation: when it runs, the order of its steps, the progress
// texts, the audio threads and the hooks through which loading reaches it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/data_hooks.h"
#include "data/game_data.h"
#include "data/sector_grid.h"
#include "platform/os/clock.h"
#include "player/shell_state.h"
#include "render/light_maps.h"
#include "render/map_data.h"
#include "render/map_data_hooks.h"
#include "render/render_hooks.h"
#include "script/call_frame.h"
#include "script/trigger_hooks.h"
#include "state/state_hooks.h"

namespace kiv {
namespace {

class MapDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAll();
    mapDataHooks.UpdateTileCollision = [this](std::int32_t map, std::int32_t c, std::int32_t r, std::int32_t l) {
      const Map& m = gameData.maps[map];
      steps.push_back("tiles " + std::to_string(map) + " " + std::to_string(c) + " " + std::to_string(r) + " " +
                      std::to_string(l) + (m.heightGrid.empty() ? " no heights" : "") +
                      (m.lightGrid.cells.empty() ? "" : " lit") + " | " + shell.loadingText);
    };
    dataHooks.UpdateCharacterFloorHeight = [this](std::int32_t map, std::int32_t actor) {
      steps.push_back("floor " + std::to_string(map) + " " + std::to_string(actor) +
                      (gameData.maps[map].lightGrid.cells.empty() ? "" : " lit"));
    };
  }
  void TearDown() override { ResetAll(); }
  void ResetAll() {
    EndMapDataAudio();
    gameData.Reset();
    mapDataHooks.Reset();
    dataHooks.Reset();
    stateHooks.Reset();
    triggerHooks.Reset();
    renderHooks.Reset();
    shell.loadingText.clear();
    scriptEngine.tickStamp = 0;
  }

  std::int32_t MakeMap(bool isInterface = false) {
    const std::int32_t index = gameData.maps.Append();
    Map& m = gameData.maps[index];
    m.width = 2;
    m.height = 1;
    m.layerCount = 0;
    m.isInterface = isInterface;
    m.ambientColor = 0xFF203040u;
    m.actors.resize(2);
    BuildSectorGrid(m);
    return index;
  }

  std::vector<std::string> steps;
  os::FakeClock clock{5000};
};

TEST_F(MapDataTest, RunsItsStepsInOrderWithProgress) {
  os::ScopedClock useClock(clock);
  const std::int32_t map = MakeMap();
  GenerateMapData(map, true);
  const std::vector<std::string> expected = {
      "tiles 0 -1 -1 -1 | Generating terraformation, please wait...", "floor 0 0", "floor 0 1"};
  EXPECT_EQ(steps, expected);
  EXPECT_EQ(shell.loadingText, "Generating lighting, please wait...");
  const Map& m = gameData.maps[map];
  EXPECT_EQ(m.lightGrid.cells.size(), 4u * 3u * 2u);
  for (const std::uint32_t c : m.lightGrid.cells) EXPECT_EQ(c, 0xFF203040u);
  EXPECT_TRUE(m.mapDataPrepared);
  EXPECT_EQ(scriptEngine.tickStamp, 5000u);
  // The audio library renders by itself until the script engine ends it.
  EXPECT_TRUE(audioThreadsOn);
  EndMapDataAudio();
  EXPECT_FALSE(audioThreadsOn);
}

TEST_F(MapDataTest, WithoutProgressNoTextsAndNoAudioThreads) {
  const std::int32_t map = MakeMap();
  GenerateMapData(map, false);
  EXPECT_EQ(steps, (std::vector<std::string>{"tiles 0 -1 -1 -1 | ", "floor 0 0", "floor 0 1"}));
  EXPECT_EQ(shell.loadingText, "");
  EXPECT_FALSE(audioThreadsOn);
  EXPECT_TRUE(gameData.maps[map].mapDataPrepared);
}

TEST_F(MapDataTest, DoesNothingForNegativeIndexesInterfacesAndPreparedMaps) {
  const std::int32_t map = MakeMap();
  const std::int32_t overlay = MakeMap(true);
  for (const std::int32_t index : {-1, -5, overlay, overlay + 1}) GenerateMapData(index, true);
  EXPECT_TRUE(steps.empty());
  EXPECT_FALSE(audioThreadsOn);
  EXPECT_TRUE(gameData.maps[overlay].lightGrid.cells.empty());
  GenerateMapData(map, false);
  steps.clear();
  GenerateMapData(map, true);
  EXPECT_TRUE(steps.empty());
  EXPECT_FALSE(audioThreadsOn);
  // Loading the map again clears the flag: it is generated again.
  gameData.maps[map].mapDataPrepared = false;
  GenerateMapData(map, false);
  EXPECT_EQ(steps.size(), 3u);
}

TEST_F(MapDataTest, LoadingSaveLoadingAndDrawingReachItThroughTheirHooks) {
  const std::int32_t first = MakeMap();
  const std::int32_t second = MakeMap();
  InstallMapDataHooks();
  dataHooks.GenerateMapData(first, true);
  EXPECT_TRUE(gameData.maps[first].mapDataPrepared);
  EXPECT_TRUE(audioThreadsOn);
  triggerHooks.EndMapDataAudio();
  EXPECT_FALSE(audioThreadsOn);
  stateHooks.GenerateMapData(second, 0);
  EXPECT_TRUE(gameData.maps[second].mapDataPrepared);
  EXPECT_FALSE(audioThreadsOn);
  EXPECT_EQ(renderHooks.LightColorAt(first, 10, 10, 0, 0xFFFFFFFFu), 0xFF203040u);
  EXPECT_EQ(renderHooks.LightColorAt(-1, 10, 10, 0, 0x11223344u), 0x11223344u);
}

}  // namespace
}  // namespace kiv
