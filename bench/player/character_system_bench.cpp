// The Character System's tick of one 128 x 128 map with 1,000 walking
// characters (routes and queued steps) and 100 driven vehicles, with the
// world's move tests, and in the same run the same tick with move tests that
// never hit. Reports the time per tick of both and their ratio, whose excess
// over 1 is the share of collision.
#include <benchmark/benchmark.h>

#include <chrono>
#include <random>

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

void Populate(std::int32_t map) {
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
  for (int k = 0; k < 1000; ++k) {
    Actor& a = add();
    if (k % 2 == 0) {
      a.route = {0x11, 0x41, 0x101, 0x5};
    } else {
      a.path.assign(8, 0x4001);
    }
  }
  for (int k = 0; k < 100; ++k) {
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

// Runs kTicks Character System ticks on a fresh map; ms per tick.
double TimeTicks() {
  const std::int32_t map = bench::MakeWalledMap(kSize);
  Populate(map);
  shell.frameElapsed = kTick;
  shell.worldStepTime = kTick;
  const auto start = Clock::now();
  for (int tick = 0; tick < kTicks; ++tick) {
    RunCharacterSystem(map);
    // Walkers whose queue ran out queue again.
    for (Actor& a : gameData.maps[map].actors)
      if (a.vehicle == 0 && a.path.empty() && a.route.empty()) a.path.assign(8, 0x4001);
  }
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / kTicks;
}

void BM_CharacterSystemTick(benchmark::State& state) {
  for (auto _ : state) {
    characterWorld.Reset();
    InstallCharacterWorldHooks();
    const double withCollision = TimeTicks();
    // The same tick with move and step tests that never hit.
    characterWorld.TestActorMove = [](std::int32_t, const CollisionShape&, const ShapePlacement&, std::int32_t,
                                      std::int32_t, std::int32_t, bool, bool) { return false; };
    characterWorld.TestCharacterStep = [](std::int32_t, std::int32_t, std::int32_t, float, Box&, bool, float, bool,
                                          bool) { return false; };
    const double withoutHits = TimeTicks();
    state.counters["ms_per_tick"] = withCollision;
    state.counters["ms_per_tick_no_hits"] = withoutHits;
    state.counters["ratio"] = withoutHits > 0.0 ? withCollision / withoutHits : 0.0;
  }
}
BENCHMARK(BM_CharacterSystemTick)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace kiv
