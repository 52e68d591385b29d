// The Input System over 50 input sets of 20 inputs of 4 key steps each, for 4
// players: one tick of it, with the keys of a few steps going down and up so
// that sequences advance, time out and fire as the game plays them.
#include <benchmark/benchmark.h>

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

constexpr int kSets = 50, kInputs = 20, kSteps = 4, kPlayers = 4;
constexpr std::int32_t kKeyStep = 0x2;  // a keyboard binding

void BuildInputSets() {
  gameData.Reset();
  projectState.Reset();
  shell.Reset();
  inputDevices.Reset();
  controls.clear();
  messageBoxState = 0;
  projectState.players.resize(kPlayers);
  shell.frameElapsed = 16;
  for (int s = 0; s < kSets; ++s) {
    InputSet& set = gameData.inputSets.emplace_back();
    set.enabled = {1, 1, 1, 1};
    for (int i = 0; i < kInputs; ++i) {
      InputEntry& entry = set.entries.emplace_back();
      for (int k = 0; k < kSteps; ++k) {
        InputStep& step = entry.steps.emplace_back();
        // Alternate press, release and press-and-release steps over keys 2 to 61.
        step.flags = kKeyStep | (k % 3 == 0 ? kInputStepOnPress : k % 3 == 1 ? kInputStepOnRelease
                                                                              : kInputStepOnPress | kInputStepOnRelease);
        step.value = 2 + (s * kInputs + i + k) % 60;
      }
      entry.noControl = (i % 2) == 0;
    }
  }
  scriptHooks.RunTrigger = [](const TriggerRun&) { return Variant(); };
}

void BM_InputSystemTick(benchmark::State& state) {
  BuildInputSets();
  std::int64_t tick = 0;
  for (auto _ : state) {
    // Each tick one key goes down and the previous one comes up.
    inputDevices.previousKeyboardState = inputDevices.keyboardState;
    inputDevices.keyboardState.fill(0);
    inputDevices.keyboardState[static_cast<std::size_t>(2 + tick % 60)] = 0x80;
    RunInputSystem();
    ++tick;
  }
  state.counters["steps"] = static_cast<double>(kSets * kInputs * kSteps * kPlayers);
  scriptHooks.Reset();
  gameData.Reset();
  projectState.Reset();
}
BENCHMARK(BM_InputSystemTick)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kiv
