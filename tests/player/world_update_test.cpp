// The world update's order of systems, the per-map pass, the view lists, the
// near-a-view test and the loading tick, with recording systems.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "data/game_data.h"
#include "data/project_state.h"
#include "dialogs/player_settings.h"
#include "media/draw_device.h"
#include "media/graphics.h"
#include "support/recording_batcher.h"
#include "player/loading_progress.h"
#include "player/main_loop.h"
#include "player/message_boxes.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "player/world_update.h"
#include "script/call_frame.h"
#include "state/game_state.h"
#include "state/project_settings_block.h"

namespace kiv {
namespace {

class WorldUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    projectState.Reset();
    shell.Reset();
    gameState.Reset();
    storedProjectSettings.Reset();
    messageBoxState = 0;
    for (MessageBox& box : messageBoxes) box.visible = false;
    playerHooks.Reset();
    loopPlatform.Reset();
    loopPlatform.DoEvents = [] {};
    shell.frameElapsed = 20;
    // Map 0: a world map; map 1: a shown interface with a view field on map 0;
    // map 2: a world map nobody shows; map 3: the loading interface, hidden.
    for (int i = 0; i < 4; ++i) gameData.maps.Append();
    gameData.maps[1].isInterface = true;
    gameData.maps[1].overlayActive = 1;
    gameData.maps[1].fields.resize(1);
    gameData.maps[1].fields[0].kind = 6;
    gameData.maps[3].isInterface = true;
    projectState.settings.furtherInterfaces[0].index = 3;
    shows = {{1, 0, 0}};
    playerHooks.FieldViewMap = [this](std::int32_t map, std::int32_t field) {
      for (const auto& s : shows) {
        if (s[0] == map && s[1] == field) return s[2];
      }
      return -1;
    };
    playerHooks.FieldViewFocus = [](std::int32_t map, std::int32_t field, float& x, float& y, float& z) {
      x = 100.0f * static_cast<float>(map);
      y = 10.0f * static_cast<float>(field);
      z = 5.0f;
    };
    const auto record = [this](const char* name) { return [this, name] { calls.push_back(name); }; };
    const auto perMap = [this](const char* name) {
      return [this, name](std::int32_t map) { calls.push_back(std::string(name) + " " + std::to_string(map)); };
    };
    playerHooks.MessageBoxSystem = record("boxes");
    playerHooks.ActionRects = record("action");
    playerHooks.HISystem = record("hi");
    playerHooks.MessageSystem = record("messages");
    playerHooks.CloudSystem = perMap("cloud");
    playerHooks.RainSystem = perMap("rain");
    playerHooks.UpdateMapSystems = perMap("map");
    playerHooks.LightSystem = perMap("light");
    playerHooks.SpeakerSystem = perMap("speaker");
    playerHooks.DoorSystem = perMap("door");
    playerHooks.BulletSystem = perMap("bullet");
    playerHooks.PickUpSystem = perMap("pickup");
    playerHooks.CharacterSystem = perMap("character");
    playerHooks.RemoveMarkedObjects = perMap("remove");
  }
  void TearDown() override {
    playerHooks.Reset();
    loopPlatform.Reset();
    gameData.Reset();
    projectState.Reset();
    shell.Reset();
    gameState.Reset();
    graphics.Reset();
  }

  test::RecordingBatcher recorder;  // the device the loading frames draw on
  std::vector<std::array<std::int32_t, 3>> shows;  // interface, field, shown map
  std::vector<std::string> calls;
};

const std::vector<std::string> kWholeTrail = {
    "Input System", "Message Box System", "Main Character's ActionRects", "HI System", "Call Back System",
    "Lerp System",  "Message System",     "Cloud System",                 "Rain System", "Light System",
    "Speaker System", "Door System",      "Bullet System",                "Pick-Up System", "Character System"};

TEST_F(WorldUpdateTest, ANormalTickRunsEverySystemInOrderAndRemovalForEveryMap) {
  gameState.playTime = 1000;
  WorldUpdate();
  EXPECT_EQ(worldActivityTrail, kWholeTrail);
  const std::vector<std::string> expected = {
      "boxes",    "action",   "hi",          "messages", "cloud 0",     "rain 0",   "map 0",
      "light 0",  "speaker 0", "door 0",     "bullet 0", "pickup 0",    "character 0", "remove 0",
      "map 1",    "remove 1", "remove 2",    "remove 3", "remove -1"};
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(gameState.playTime, 1020);
  EXPECT_EQ(gameData.maps[0].runningTime, 20);
  EXPECT_EQ(gameData.maps[1].runningTime, 20);
  EXPECT_EQ(gameData.maps[2].runningTime, 0);
  EXPECT_NE(scriptEngine.tickStamp, 0u);
}

TEST_F(WorldUpdateTest, AnOpenSystemBoxStopsTheTickAfterTheActionRects) {
  messageBoxState = 8;
  WorldUpdate();
  EXPECT_EQ(calls, (std::vector<std::string>{"boxes", "action"}));
  EXPECT_EQ(worldActivityTrail.back(), "Main Character's ActionRects");
  EXPECT_EQ(gameState.playTime, 20);
  messageBoxState = 0;
}

TEST_F(WorldUpdateTest, WhilePausedThereIsNoHIMapsAreSkippedAndInterfacesRun) {
  gameState.paused = 1;
  WorldUpdate();
  const std::vector<std::string> expected = {"boxes",  "action",   "messages", "remove 0",
                                             "map 1",  "remove 1", "remove 2", "remove 3", "remove -1"};
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(gameData.maps[0].runningTime, 0);
  EXPECT_EQ(gameData.maps[1].runningTime, 20);
}

TEST_F(WorldUpdateTest, ALoadingTickRunsOnlyTheLoadingInterfaceAndRemovesNothing) {
  shell.loadingTick = true;
  WorldUpdate();
  EXPECT_EQ(calls, (std::vector<std::string>{"map 3"}));
  EXPECT_TRUE(worldActivityTrail.empty());
  EXPECT_TRUE(gameData.maps[0].viewList.empty());
  EXPECT_EQ(gameState.playTime, 20);
}

TEST_F(WorldUpdateTest, ViewListsHoldOneEntryPerViewFieldOfAShownInterface) {
  // Two fields of the shown interface show map 0; map 3 (hidden) shows map 2;
  // a field showing nothing adds nothing.
  gameData.maps[1].fields.resize(3);
  gameData.maps[1].fields[1].kind = 6;
  gameData.maps[1].fields[2].kind = 6;
  gameData.maps[3].fields.resize(1);
  gameData.maps[3].fields[0].kind = 6;
  shows = {{1, 0, 0}, {1, 1, 0}, {1, 2, -1}, {3, 0, 2}};
  RebuildViewLists();
  ASSERT_EQ(gameData.maps[0].viewList.size(), 2u);
  EXPECT_EQ(gameData.maps[0].viewList[1].field, 1);
  EXPECT_EQ(gameData.maps[0].viewList[1].interfaceMap, 1);
  EXPECT_FLOAT_EQ(gameData.maps[0].viewList[1].x, 100.0f);
  EXPECT_FLOAT_EQ(gameData.maps[0].viewList[1].y, 10.0f);
  EXPECT_TRUE(gameData.maps[2].viewList.empty());
  // A field of a kind other than a view adds nothing either.
  gameData.maps[1].fields[1].kind = 0;
  RebuildViewLists();
  EXPECT_EQ(gameData.maps[0].viewList.size(), 1u);
}

TEST_F(WorldUpdateTest, IsNearViewFocusComparesSquaredHorizontalDistances) {
  gameData.maps[0].viewList = {MapViewEntry{0.0f, 0.0f, 0.0f, 1, 0}};
  struct Case {
    float range, x, y, z, radius;
    std::int32_t map;
    bool near;
  };
  const Case cases[] = {
      {0.0f, 1e6f, 1e6f, 0.0f, 0.0f, 2, true},     // range 0: near everywhere, even unseen
      {100.0f, 1.0f, 1.0f, 0.0f, 0.0f, 2, false},  // no view entry
      {100.0f, 60.0f, 80.0f, 0.0f, 0.0f, 0, true}, // exactly at the range counts as near
      {100.0f, 60.0f, 80.1f, 0.0f, 0.0f, 0, false},
      {100.0f, 60.0f, 80.1f, 0.0f, 1.0f, 0, true},  // the radius widens it
      {100.0f, 0.0f, 0.0f, 5000.0f, 0.0f, 0, true}, // z is not used
  };
  for (const Case& c : cases) {
    storedProjectSettings.activityRange = c.range;
    EXPECT_EQ(IsNearViewFocus(c.map, c.x, c.y, c.z, c.radius), c.near)
        << c.range << " " << c.x << "," << c.y << " map " << c.map;
  }
}

TEST_F(WorldUpdateTest, ASystemRaisingInALoadingTickLeavesNoLoadingTickBehind) {
  // The loading progress runs a tick; a system raises inside it; the caller
  // catches and plays on: the next tick is a normal one.
  graphics.videoDeviceType = 1;
  playerHooks.WorldUpdate = [] { WorldUpdate(); };
  bool raise = true;
  playerHooks.UpdateMapSystems = [&](std::int32_t map) {
    calls.push_back("map " + std::to_string(map));
    if (raise && shell.loadingTick) throw std::runtime_error("system failed");
  };
  EXPECT_THROW(ShowLoadingProgress("Loading map...", 0.1f), std::runtime_error);
  EXPECT_FALSE(shell.loadingTick);
  calls.clear();
  WorldUpdate();
  EXPECT_EQ(worldActivityTrail, kWholeTrail);
  EXPECT_EQ(calls.front(), "boxes");
}

TEST_F(WorldUpdateTest, LoadingProgressLogsClampsAndTicksOnlyOnTheHardwareDevice) {
  std::int32_t ticks = 0, frames = 0;
  playerHooks.WorldUpdate = [&] {
    EXPECT_TRUE(shell.loadingTick);
    ++ticks;
  };
  playerHooks.DrawFrame = [&] { ++frames; };
  graphics.videoDeviceType = 2;  // the reference device
  ShowLoadingProgress("one", 0.6f);
  EXPECT_EQ(ticks, 0);
  EXPECT_EQ(shell.loadingText, "one");
  graphics.videoDeviceType = 1;
  ShowLoadingProgress("two", 0.6f);
  EXPECT_EQ(shell.loadingProgress, 1.0f);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(frames, 1);
  EXPECT_FALSE(shell.loadingTick);
  // Nothing but the text while a frame is drawn.
  shell.drawingFrame = true;
  ShowLoadingProgress("three", 0.1f);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(shell.loadingText, "three");
  shell.drawingFrame = false;
  // An empty text keeps the last one.
  ShowLoadingProgress("", 0.0f);
  EXPECT_EQ(shell.loadingText, "three");
}

}  // namespace
}  // namespace kiv
