// The Character System's tick of one 128 x 128 map with walking characters
// (routes and queued steps) and driven vehicles: 1,000 + 100 and, to show how
// it scales, 2,000 + 200. Each size runs with the collision broad phase and,
// as the baseline, with the old loop that tests every object of every list
// (useBroadPhase off); everything else in the tick is the same. Every run
// starts on a fresh map and times its ticks after warm-up ticks.
#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>
#include <random>

#include "data/broad_phase.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "data/sector_grid.h"
#include "mathkiv/math_init.h"
#include "player/character_fields.h"
#include "player/character_system.h"
#include "player/character_world.h"
#include "player/shell_state.h"
#include "state/project_settings_block.h"
#include "world/actor_shapes.h"
#include "world/character_world_setup.h"
#include "world/tile_collision.h"

#include "../world/walled_map.h"

namespace kiv {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::int32_t kSize = 128;
constexpr std::int32_t kTick = 16;
constexpr int kTicks = 200;

void Populate(std::int32_t map, int walkers, int vehicles) {
  Map& m = gameData.maps[map];
  std::mt19937 random(5);
  std::uniform_int_distribution<int> cell(0, kSize * 2 - 1);
  const auto add = [&]() -> Actor& {
    Actor a;
    for (;;) {
      a.x = static_cast<float>(cell(random) * 16 + 8);
      a.y = static_cast<float>(cell(random) * 16 + 8);
      if (m.tileLayerGroups[0].slotGrid.At(static_cast<std::int32_t>(a.x) / 32, static_cast<std::int32_t>(a.y) / 32,
                                           0) == 1)
        break;
    }
    a.collisionShape = BoxShapeOf(Box{-6, -6, 6, 6, 0, 40});
    a.areaBox = Box{-100000, -100000, 100000, 100000, -100000, 100000};
    a.speed = 0.1f;
    a.canMove = 1;
    a.vehicleRidden = -1;
    a.turretOperated = -1;
    a.furtherActor2 = -1;  // not marked for removal
    m.actors.push_back(a);
    return m.actors.back();
  };
  for (int k = 0; k < walkers; ++k) {
    Actor& a = add();
    if (k % 2 == 0) {
      a.route = {0x11, 0x41, 0x101, 0x5};
    } else {
      a.path.assign(8, 0x4001);
    }
  }
  for (int k = 0; k < vehicles; ++k) {
    Actor& v = add();
    v.vehicle = 1;
    v.collisionShape = BoxShapeOf(Box{-12, -8, 12, 8, 0, 24});
    DriveInput(v) = 1.0f;
    TurnInput(v) = (k % 3) - 1.0f;
    v.gas = 1000.0f;
    v.maxGas = 1000.0f;
    v.vehicleValue2 = 0.001f;  // acceleration
  }
}

// The thread's CPU time in ms: on a shared machine the wall time also counts
// the waits for a core.
double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct TickTimes {
  double wallMs = 0.0;
  double cpuMs = 0.0;
};

// Runs warm-up ticks, then timed ticks, on a fresh map; ms per timed tick.
TickTimes TimeTicks(int walkers, int vehicles, int warmUp, int ticks) {
  const std::int32_t map = bench::MakeWalledMap(kSize);
  Populate(map, walkers, vehicles);
  shell.frameElapsed = kTick;
  shell.worldStepTime = kTick;
  const auto tick = [&] {
    RunCharacterSystem(map);
    // Walkers whose queue ran out queue again.
    for (Actor& a : gameData.maps[map].actors)
      if (a.vehicle == 0 && a.path.empty() && a.route.empty()) a.path.assign(8, 0x4001);
  };
  for (int k = 0; k < warmUp; ++k) tick();
  const auto start = Clock::now();
  const double cpuStart = ThreadCpuMs();
  for (int k = 0; k < ticks; ++k) tick();
  return TickTimes{std::chrono::duration<double, std::milli>(Clock::now() - start).count() / ticks,
                   (ThreadCpuMs() - cpuStart) / ticks};
}

// Arguments: walkers, vehicles, broad phase (1) or the old loop (0).
void BM_CharacterSystemTick(benchmark::State& state) {
  const auto walkers = static_cast<int>(state.range(0));
  const auto vehicles = static_cast<int>(state.range(1));
  useBroadPhase = state.range(2) != 0;
  // The old loop is quadratic: fewer ticks keep its runs short.
  const int warmUp = useBroadPhase ? 20 : 3;
  const int ticks = useBroadPhase ? kTicks : 20;
  for (auto _ : state) {
    characterWorld.Reset();
    InstallCharacterWorldHooks();
    const TickTimes times = TimeTicks(walkers, vehicles, warmUp, ticks);
    state.counters["ms_per_tick"] = times.wallMs;
    state.counters["cpu_ms_per_tick"] = times.cpuMs;
  }
  state.counters["characters"] = walkers + vehicles;
  useBroadPhase = true;
}
BENCHMARK(BM_CharacterSystemTick)
    ->Args({1000, 100, 1})
    ->Args({1000, 100, 0})
    ->Args({2000, 200, 1})
    ->Args({2000, 200, 0})
    ->Unit(benchmark::kMillisecond)
    ->MinWarmUpTime(0.0)  // warm-up ticks run inside each iteration
    ->Iterations(1);

}  // namespace
}  // namespace kiv
