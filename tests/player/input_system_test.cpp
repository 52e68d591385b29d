// The Input System over scripted key states: which ticks fire which inputs,
// the 500 ms step timeout, timed steps, disabled sets, open boxes, several
// players, the control slots' shift and the menu keys.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "data/game_data.h"
#include "data/project_state.h"
#include "media/controls_table.h"
#include "media/input_devices.h"
#include "player/input_system.h"
#include "player/message_boxes.h"
#include "player/shell_state.h"
#include "script/script_hooks.h"

namespace kiv {
namespace {

constexpr std::int32_t kKeyA = 30, kKeyB = 48, kKeyReturn = 28, kKeyUp = 200;
constexpr std::int32_t kKeyboard = 2;

struct Fire {
  std::int32_t tick, set, input, player;
  bool operator==(const Fire&) const = default;
};

class InputSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    projectState.Reset();
    shell.Reset();
    inputDevices.Reset();
    controls.clear();
    messageBoxState = 0;
    for (MessageBox& box : messageBoxes) box.visible = false;
    projectState.players.resize(1);
    shell.frameElapsed = 20;
    scriptHooks.RunTrigger = [this](const TriggerRun& run) {
      EXPECT_EQ(run.ownerKind, 10);
      fires.push_back({tick, run.ownerIndex, run.subIndex, run.player});
      return Variant();
    };
  }
  void TearDown() override {
    scriptHooks.Reset();
    gameData.Reset();
    projectState.Reset();
    inputDevices.Reset();
    controls.clear();
    messageBoxState = 0;
    for (MessageBox& box : messageBoxes) box.visible = false;
  }

  // One input set holding one input of the given steps, enabled for player 0.
  InputEntry& AddInput(const std::vector<std::pair<std::int32_t, std::int32_t>>& steps) {
    if (gameData.inputSets.empty()) {
      gameData.inputSets.emplace_back();
      gameData.inputSets[0].enabled = {1, 1, 1, 1};
    }
    InputEntry& entry = gameData.inputSets[0].entries.emplace_back();
    for (const auto& [flags, value] : steps) {
      InputStep& step = entry.steps.emplace_back();
      step.flags = flags;
      step.value = value;
    }
    entry.noControl = true;
    return entry;
  }

  // One poll and one run of the Input System with these keys down.
  void Tick(const std::set<std::int32_t>& down) {
    inputDevices.previousKeyboardState = inputDevices.keyboardState;
    inputDevices.keyboardState.fill(0);
    for (std::int32_t key : down) inputDevices.keyboardState[static_cast<std::size_t>(key)] = 0x80;
    RunInputSystem();
    ++tick;
  }

  std::int32_t tick = 0;
  std::vector<Fire> fires;
};

std::vector<std::int32_t> FireTicks(const std::vector<Fire>& fires) {
  std::vector<std::int32_t> ticks;
  for (const Fire& f : fires) ticks.push_back(f.tick);
  return ticks;
}

TEST_F(InputSystemTest, SequencesFireOnTheTicksOfTheirSteps) {
  using Keys = std::set<std::int32_t>;
  struct Case {
    const char* name;
    std::vector<std::pair<std::int32_t, std::int32_t>> steps;
    std::int32_t elapsed;
    std::vector<Keys> keys;  // per tick
    std::vector<std::int32_t> fireTicks;
  };
  const Keys none, a{kKeyA}, b{kKeyB};
  std::vector<Keys> aThenB400(22, none), aThenB600(32, none);
  aThenB400[0] = a;
  aThenB400[20] = b;  // 400 ms after A
  aThenB600[0] = a;
  aThenB600[30] = b;  // 600 ms after A
  std::vector<Keys> timed(14, none);
  timed[0] = a;
  const std::vector<Case> cases = {
      {"press", {{0x202, kKeyA}}, 20, {none, a, a, none}, {1}},
      {"press and release", {{0x302, kKeyA}}, 20, {none, a, a, none}, {3}},
      {"any release", {{0x102, kKeyA}}, 20, {a, a, none, a, none}, {2, 4}},
      {"A then B in 400 ms", {{0x202, kKeyA}, {0x202, kKeyB}}, 20, aThenB400, {20}},
      {"A then B in 600 ms", {{0x202, kKeyA}, {0x202, kKeyB}}, 20, aThenB600, {}},
      // The timed step becomes ready on tick 0 and counts that tick's 100 ms
      // at once: its timer passes 1000 on tick 10, 1000 ms later.
      {"timed 1000", {{0x202, kKeyA}, {0x10, 1000}}, 100, timed, {10}},
  };
  for (const Case& c : cases) {
    SetUp();
    fires.clear();
    tick = 0;
    AddInput(c.steps);
    shell.frameElapsed = c.elapsed;
    for (const Keys& keys : c.keys) Tick(keys);
    EXPECT_EQ(FireTicks(fires), c.fireTicks) << c.name;
  }
}

TEST_F(InputSystemTest, ASetWhoseEnabledByteIsZeroNeverAdvances) {
  AddInput({{0x202, kKeyA}});
  gameData.inputSets[0].enabled[0] = 0;
  Tick({});
  Tick({kKeyA});
  EXPECT_TRUE(fires.empty());
  EXPECT_EQ(gameData.inputSets[0].entries[0].steps[0].progress[0], kStepIdle);
}

TEST_F(InputSystemTest, AnOpenSystemBoxFiresNothingButTheMenuKeysFollow) {
  AddInput({{0x202, kKeyReturn}});
  messageBoxState = 8;
  Tick({});
  Tick({kKeyReturn, kKeyUp});
  EXPECT_TRUE(fires.empty());
  const Player& player = projectState.players[0];
  EXPECT_TRUE(player.keyReturnDown);
  EXPECT_EQ(player.arrowKeys, 2);
  EXPECT_FALSE(player.keyReturnHeld);  // not down in the previous poll
  EXPECT_FALSE(player.arrowKeysHeld);
  Tick({kKeyReturn, kKeyUp});
  EXPECT_TRUE(player.keyReturnHeld);
  EXPECT_TRUE(player.arrowKeysHeld);
  Tick({kKeyUp});
  EXPECT_FALSE(player.keyReturnDown);
  EXPECT_FALSE(player.keyReturnHeld);
  EXPECT_TRUE(player.arrowKeysHeld);
  Tick({});
  EXPECT_FALSE(player.arrowKeysHeld);
  EXPECT_EQ(player.arrowKeys, 0);
}

TEST_F(InputSystemTest, AShownGameBoxStopsInputsAndControlSlots) {
  AddInput({{0x202, kKeyA}});
  controls.resize(1);
  controls[0].slots[0].pending = 1;
  messageBoxes[3].visible = true;
  Tick({});
  Tick({kKeyA});
  EXPECT_TRUE(fires.empty());
  EXPECT_EQ(controls[0].slots[0].current, 0);
  messageBoxes[3].visible = false;
  Tick({kKeyA});
  EXPECT_EQ(controls[0].slots[0].current, 1);
  EXPECT_EQ(controls[0].slots[0].previous, 0);
  Tick({});
  EXPECT_EQ(controls[0].slots[0].previous, 1);
}

TEST_F(InputSystemTest, FiredThisTickKeepsAnInputFromLaterPlayersUnlessItHasAMouseStep) {
  projectState.players.resize(2);
  AddInput({{0x202, kKeyA}});
  Tick({});
  Tick({kKeyA});
  EXPECT_EQ(fires, (std::vector<Fire>{{1, 0, 0, 0}}));

  SetUp();
  fires.clear();
  tick = 0;
  projectState.players.resize(2);
  AddInput({{0x202, kKeyA}}).kind4 = true;
  Tick({});
  Tick({kKeyA});
  EXPECT_EQ(fires, (std::vector<Fire>{{1, 0, 0, 0}, {1, 0, 0, 1}}));

  // An input with a control step is never marked: every player tests it.
  SetUp();
  fires.clear();
  tick = 0;
  projectState.players.resize(2);
  AddInput({{0x202, kKeyA}}).noControl = false;
  Tick({});
  Tick({kKeyA});
  EXPECT_EQ(fires.size(), 2u);
}

TEST_F(InputSystemTest, TheFiringPlayersCharacterActs) {
  AddInput({{0x202, kKeyA}});
  projectState.players[0].mapIndex = 4;
  projectState.players[0].party.resize(2);
  projectState.players[0].party[1].character = 7;
  projectState.players[0].controlledMember = 1;
  TriggerRun seen;
  scriptHooks.RunTrigger = [&](const TriggerRun& run) {
    seen = run;
    return Variant();
  };
  Tick({});
  Tick({kKeyA});
  EXPECT_EQ(seen.map, 4);
  EXPECT_EQ(seen.relateActor, 7);
}

TEST_F(InputSystemTest, DisablingASetCompletesHeldReleaseSteps) {
  AddInput({{0x302, kKeyA}});
  Tick({});
  Tick({kKeyA});  // under way, waiting for the release
  ASSERT_EQ(gameData.inputSets[0].entries[0].steps[0].progress[0], kStepUnderWay);
  SetInputSetEnabled(0, 0, 1);  // the value it has: nothing
  EXPECT_TRUE(fires.empty());
  SetInputSetEnabled(0, 0, 0);
  EXPECT_EQ(fires.size(), 1u);
  EXPECT_EQ(gameData.inputSets[0].enabled[0], 0);
  // Enabling again fires nothing.
  SetInputSetEnabled(0, 0, 1);
  EXPECT_EQ(fires.size(), 1u);
}

}  // namespace
}  // namespace kiv
