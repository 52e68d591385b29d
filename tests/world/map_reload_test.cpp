// Reloading a map while the game runs: waits, timed changes, players, views
// and the pointer are cut from it; its players come back after the load.
#include "world/map_reload.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/package.h"
#include "data/data_hooks.h"
#include "data/project_state.h"
#include "media/player_input_state.h"
#include "player/message_boxes.h"
#include "player/player_hooks.h"
#include "script/timed_changes.h"
#include "script/waits.h"
#include "state/project_settings_block.h"
#include "support/map_writer.h"
#include "support/world_builder.h"

namespace kiv {
namespace {

constexpr std::size_t kDeferredReloadWaitFlag = 16;

class MapReloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Clean();
    package.packageEntries.push_back({"Town.kmp", test::MapFileBytes(test::MapFixture()), 0});
    w.M().fileName = u"Town";
    other_ = gameData.maps.Append();
    ui_ = gameData.maps.Append();
    gameData.maps[ui_].isInterface = true;
    gameData.maps[ui_].fields.resize(2);
    gameData.maps[ui_].fields[0].view.ownMap = 0;
    gameData.maps[ui_].fields[0].view.followedCharacter = 1;
    gameData.maps[ui_].fields[1].view.ownMap = other_;
    gameData.maps[ui_].fields[1].view.followedCharacter = 1;
    for (int k = 0; k < 3; ++k) w.AddCharacter(64.0f + 32.0f * static_cast<float>(k), 64, 0);
    gameData.maps[other_].actors.resize(1);
    playerHooks.UpdateMapSystems = [this](std::int32_t map) { systemPasses_.push_back(map); };
    dataHooks.RefreshViewedMaps = [this](std::int32_t) { ++refreshes_; };
  }
  void TearDown() override { Clean(); }
  static void Clean() {
    package.Reset();
    waitingScripts.clear();
    timedChanges.clear();
    playerInputStates[0] = PlayerInputState();
    messagePortrait = MessagePortrait();
    playerHooks.Reset();
    dataHooks.Reset();
  }
  static WaitingScript WaitOn(std::int32_t map, std::int32_t frameMap, std::int32_t mark) {
    WaitingScript wait;
    wait.map = map;
    wait.timeLeft = mark;
    CallFrame frame;
    frame.ownerMap = frameMap;
    wait.frames.push_back(frame);
    return wait;
  }
  Player& AddPlayer(std::int32_t map, std::vector<std::int32_t> party, std::int32_t controlled = 0) {
    Player& player = projectState.players.emplace_back();
    player.mapIndex = map;
    player.controlledMember = controlled;
    for (std::int32_t c : party) {
      PartyMember member;
      member.character = c;
      player.party.push_back(member);
      if (map == 0) gameData.maps[0].actors[static_cast<std::size_t>(c)].owningPlayer =
          static_cast<std::int32_t>(projectState.players.size()) - 1;
    }
    return player;
  }

  test::WorldBuilder w{7, 7, 1};
  std::int32_t other_ = -1, ui_ = -1;
  std::vector<std::int32_t> systemPasses_;
  int refreshes_ = 0;
};

TEST_F(MapReloadTest, WaitsOfTheMapAreCancelledExceptTheNewestOfADeferredReload) {
  struct Case {
    const char* what;
    bool spare, flag;
    std::vector<std::int32_t> left;
  };
  const std::vector<Case> cases = {
      {"direct reload", false, true, {2}},
      {"deferred, the project lets it wait", true, true, {2, 3}},
      {"deferred, the project does not", true, false, {2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    waitingScripts = {WaitOn(0, 1, 0), WaitOn(1, 0, 1), WaitOn(1, 1, 2), WaitOn(0, 0, 3)};
    storedProjectSettings.flags[kDeferredReloadWaitFlag] = c.flag ? -1 : 0;
    ReloadMap(0, true, c.spare, false);
    std::vector<std::int32_t> left;
    for (const WaitingScript& wait : waitingScripts) left.push_back(wait.timeLeft);
    EXPECT_EQ(left, c.left);
  }
}

TEST_F(MapReloadTest, TimedChangesOfCharactersOnTheMapAreCancelled) {
  const std::vector<ScriptValue> targets = {
      {kObjectCharacter, Variant::Long(1), 0},
      {kObjectDoor, Variant::Long(0), 0},
      {kObjectTeam, Variant::Array(kVarVariant, {Variant::Long(0)}), 0},
      {kObjectCharacter, Variant::Long(1), 1},
      {kObjectField, Variant::Long(1), 0},
  };
  for (const ScriptValue& target : targets) {
    TimedChange change;
    change.target = target;
    timedChanges.push_back(change);
  }
  ReloadMap(0, true, false, false);
  ASSERT_EQ(timedChanges.size(), 3u);
  EXPECT_EQ(timedChanges[0].target.kind, kObjectDoor);
  EXPECT_EQ(timedChanges[1].target.mapIndex, 1);
  EXPECT_EQ(timedChanges[2].target.kind, kObjectField);
}

TEST_F(MapReloadTest, PlayersOnTheMapComeBackAndOthersStay) {
  AddPlayer(0, {0, 2}, 1);
  AddPlayer(other_, {0});
  AddPlayer(0, {});  // nobody to park: skipped
  ReloadMap(0, true, false, false);
  const Player& back = projectState.players[0];
  EXPECT_EQ(back.mapIndex, 0);
  EXPECT_EQ(back.unstoredValue, 0);
  ASSERT_EQ(gameData.maps[0].actors.size(), 2u);  // the reloaded map holds none of its own
  for (const PartyMember& member : back.party) {
    EXPECT_GE(member.character, 0);
    EXPECT_LT(member.character, 2);
  }
  EXPECT_NE(back.party[0].character, back.party[1].character);
  EXPECT_EQ(projectState.players[1].mapIndex, other_);
  EXPECT_EQ(projectState.players[1].party[0].character, 0);
  EXPECT_EQ(projectState.players[1].unstoredValue, -1);
  EXPECT_EQ(projectState.players[2].mapIndex, 0);
  EXPECT_EQ(projectState.players[2].unstoredValue, -1);
}

TEST_F(MapReloadTest, FaceViewsAndHoverAreCutTheOverlayFlagSurvivesAndOneSystemsPassFollows) {
  messagePortrait.map = 0;
  messagePortrait.actor = 1;
  playerInputStates[0].targetMap = 0;
  playerInputStates[0].targetKind = kOwnerActor;
  playerInputStates[0].targetIndex = 1;
  w.M().overlayActive = 1;
  w.M().pendingReload = kReloadRequested | kReloadSkipEntryTrigger;
  ReloadMap(0, true, false, false);
  EXPECT_EQ(messagePortrait.map, -1);
  EXPECT_EQ(messagePortrait.actor, -1);
  EXPECT_EQ(gameData.maps[ui_].fields[0].view.followedCharacter, -1);
  EXPECT_EQ(gameData.maps[ui_].fields[1].view.followedCharacter, 1);
  EXPECT_EQ(playerInputStates[0].targetMap, -1);
  EXPECT_EQ(playerInputStates[0].targetIndex, -1);
  EXPECT_EQ(w.M().overlayActive, 1);
  EXPECT_EQ(w.M().pendingReload, 0);
  EXPECT_EQ(w.M().fileName, u"Town");
  EXPECT_EQ(systemPasses_, std::vector<std::int32_t>{0});
  EXPECT_EQ(refreshes_, 0);  // only interfaces refresh the viewed maps
}

TEST_F(MapReloadTest, AFailedLoadBringsThePlayersBackBeforeTheErrorIsReported) {
  AddPlayer(0, {1});
  w.M().fileName = u"Lost";
  w.M().overlayActive = 1;
  EXPECT_ANY_THROW(ReloadMap(0, true, false, false));
  EXPECT_EQ(projectState.players[0].mapIndex, 0);
  const std::int32_t back = projectState.players[0].party[0].character;
  ASSERT_GE(back, 0);
  ASSERT_LT(back, static_cast<std::int32_t>(gameData.maps[0].actors.size()));
  EXPECT_EQ(gameData.maps[0].actors[static_cast<std::size_t>(back)].owningPlayer, 0);
  EXPECT_EQ(w.M().overlayActive, 1);
}

}  // namespace
}  // namespace kiv
