#include "script/pause_state.h"

#include <gtest/gtest.h>

#include "data/game_data.h"
#include "script/timed_changes.h"
#include "script/waits.h"
#include "state/game_state.h"

namespace kiv {
namespace {

// Two interfaces around one world map; a timed change and a waiting script.
class PauseStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Clear();
    for (const bool isInterface : {true, false, true}) {
      gameData.maps[gameData.maps.Append()].isInterface = isInterface;
    }
  }
  void TearDown() override { Clear(); }
  static void Clear() {
    gameData.Reset();
    gameState.Reset();
    timedChanges.clear();
    waitingScripts.clear();
  }

  // The paused bytes of maps 0, 1 and 2.
  static std::vector<std::uint8_t> MapStamps() {
    return {gameData.maps[0].paused, gameData.maps[1].paused, gameData.maps[2].paused};
  }
};

TEST_F(PauseStateTest, StampsInterfacesTimedChangesAndWaitsButNotWorldMaps) {
  SetGamePaused(1);
  EXPECT_EQ(gameState.paused, 1);
  EXPECT_EQ(MapStamps(), (std::vector<std::uint8_t>{1, 0, 1}));
  EXPECT_EQ(gameData.maps[-1].paused, 0) << "the off-map record is no interface";

  // Records made while paused carry their own value until the next change.
  timedChanges.emplace_back();
  waitingScripts.emplace_back();
  gameData.maps[1].paused = 7;  // a world map keeps whatever it holds
  SetGamePaused(0);
  EXPECT_EQ(gameState.paused, 0);
  EXPECT_EQ(MapStamps(), (std::vector<std::uint8_t>{0, 7, 0}));
  EXPECT_EQ(timedChanges[0].paused, 0);
  EXPECT_EQ(waitingScripts[0].paused, 0);

  SetGamePaused(1);
  EXPECT_EQ(MapStamps(), (std::vector<std::uint8_t>{1, 7, 1}));
  EXPECT_EQ(timedChanges[0].paused, 1);
  EXPECT_EQ(waitingScripts[0].paused, 1);
}

TEST_F(PauseStateTest, SettingTheSameStateAgainChangesNothing) {
  SetGamePaused(1);
  // Stamped in between: the second call with the same state leaves them.
  gameData.maps[0].paused = 0;
  timedChanges.emplace_back();
  waitingScripts.emplace_back();
  SetGamePaused(1);
  EXPECT_EQ(MapStamps(), (std::vector<std::uint8_t>{0, 0, 1}));
  EXPECT_EQ(timedChanges[0].paused, 0);
  EXPECT_EQ(waitingScripts[0].paused, 0);
}

}  // namespace
}  // namespace kiv
