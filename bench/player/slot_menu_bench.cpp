// A load through the load slot menu (the running game saved as the backup,
// the slot loaded, the backup deleted) of the save benchmark's game, against
// loading the same save alone in the same run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/folders.h"
#include "data/project_state.h"
#include "player/builtin_message_boxes.h"
#include "player/message_boxes.h"
#include "player/shell_state.h"
#include "player/slot_menu.h"
#include "save_bench_game.h"
#include "state/save_game.h"

namespace kiv {
namespace {

// A user folder of this run's own, and the game saved into slot 0.
struct SlotBench {
  SlotBench() {
    root =
        (std::filesystem::temp_directory_path() / ("kiv-slot-bench-" + std::to_string(::getpid()))).string();
    setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
    gameFolder = root + "/games/SlotBench";
    gameFolderName = "SlotBench";
    bench::StartSaveBenchGame();
    InitMessageBoxes(true);
    SaveGame(SlotSavePath(0));
  }
  ~SlotBench() { std::filesystem::remove_all(root); }
  std::string root;
};

// The load menu as a script opens it, with Return pressed on the first slot.
void ChooseFirstSlot() {
  OpenSlotMenu(false);
  shell.currentPlayer = 0;
  if (projectState.players.empty()) projectState.players.resize(1);
  Player& player = projectState.players[0];
  player.keyReturnDown = true;
  player.keyReturnHeld = false;
  player.keyEscapeDown = false;
  player.arrowKeys = 0;
}

void BM_LoadThroughSlotMenu(benchmark::State& state) {
  const SlotBench bench;
  for (auto _ : state) {
    state.PauseTiming();
    ChooseFirstSlot();
    state.ResumeTiming();
    RunSystemMessageBoxes();
    if (messageBoxState != 0 || std::filesystem::exists(SlotBackupPath())) {
      state.SkipWithError("the slot did not load");
    }
  }
  state.counters["objects"] = static_cast<double>(bench::CountObjects());
}
BENCHMARK(BM_LoadThroughSlotMenu)->Unit(benchmark::kMillisecond);

void BM_LoadGameAlone(benchmark::State& state) {
  const SlotBench bench;
  for (auto _ : state) {
    if (LoadGame(SlotSavePath(0)) != 0) state.SkipWithError("the save did not load");
  }
  state.counters["objects"] = static_cast<double>(bench::CountObjects());
}
BENCHMARK(BM_LoadGameAlone)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kiv
