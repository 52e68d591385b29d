// Two hostile teams of 100 AI characters and 10 turrets each on a 128 x 128
// map for 600 ticks of 16 ms on a fake clock: every character's movement
// update with its combat behaviour (scans, chasing, taking position, firing),
// the turrets' aim and fire, the step carried out and the weapon waits
// counted down. Projectiles are launched, not flown (the list is emptied
// after each tick). Reports the time per tick and, in the same run, the share
// spent in sight tests (timed through a linker wrap of the sight test).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <random>

#include "core/math_util.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "data/sector_grid.h"
#include "mathkiv/math_init.h"
#include "player/shell_state.h"
#include "state/project_settings_block.h"
#include "world/actor_shapes.h"
#include "world/combat_sight.h"
#include "world/hit_lists.h"
#include "world/movement_commands.h"
#include "world/movement_fields.h"
#include "world/tile_collision.h"
#include "walled_map.h"

namespace {

using Clock = std::chrono::steady_clock;
double sightSeconds = 0.0;

}  // namespace

// The linker sends the calls of the world library here (-Wl,--wrap).
extern "C" {
bool __real__ZN3kiv16CombatSightClearEiRKNS_5ActorES2_RKSt5arrayIiLm3EERKS3_IiLm2EE(
    std::int32_t, const kiv::Actor&, const kiv::Actor&, const std::array<std::int32_t, 3>&,
    const std::array<std::int32_t, 2>&);
bool __wrap__ZN3kiv16CombatSightClearEiRKNS_5ActorES2_RKSt5arrayIiLm3EERKS3_IiLm2EE(
    std::int32_t map, const kiv::Actor& from, const kiv::Actor& to, const std::array<std::int32_t, 3>& characters,
    const std::array<std::int32_t, 2>& teams) {
  const auto start = Clock::now();
  const bool clear =
      __real__ZN3kiv16CombatSightClearEiRKNS_5ActorES2_RKSt5arrayIiLm3EERKS3_IiLm2EE(map, from, to, characters, teams);
  sightSeconds += std::chrono::duration<double>(Clock::now() - start).count();
  return clear;
}
}

namespace kiv {
namespace {

constexpr std::int32_t kSize = 128;
constexpr std::int32_t kTick = 16;
constexpr int kTicks = 600;

std::int32_t MakeMap() { return bench::MakeWalledMap(kSize); }

void Populate(std::int32_t map) {
  projectState.teams.assign(2, Team());
  projectState.teams[0].relations = {1, -1};
  projectState.teams[1].relations = {-1, 1};
  Item gun;
  gun.name = u"Gun";
  gun.valueJ = 250;  // delay between uses
  gun.valueK = 1;    // one projectile per use
  gun.valueG = 300;  // range
  gun.valueH = 0.8f;
  gun.spriteSets[2].index = 0;
  gameData.items = {gun};
  SpriteSet shot;
  shot.poses.resize(1);
  gameData.spriteSets = {shot};
  Map& m = gameData.maps[map];
  std::mt19937 random(9);
  std::uniform_int_distribution<int> cell(0, kSize - 1);
  const auto add = [&](std::int32_t team, bool turret) {
    Actor a;
    for (;;) {
      // Team 0 starts in the left half, team 1 in the right half.
      a.x = static_cast<float>((cell(random) + team * kSize) * 16 + 8);
      a.y = static_cast<float>(cell(random) * 32 + 8);
      const std::int32_t tx = static_cast<std::int32_t>(a.x) / 32;
      const std::int32_t ty = static_cast<std::int32_t>(a.y) / 32;
      if (m.tileLayerGroups[0].slotGrid.At(tx, ty, 0) == 1) break;
    }
    a.collisionShape = BoxShapeOf(Box{-6, -6, 6, 6, 0, 40});
    a.areaBox = Box{-100000, -100000, 100000, 100000, -100000, 100000};
    a.speed = 0.1f;
    a.physicsFlags = 0;
    a.team = team;
    a.statistics = {StatisticValue{{}, 10, 10}};
    a.equipment.resize(1);
    a.equipment[0].item = 0;
    a.turretRange = 400;  // sight range
    a.arc = turret ? 3.0f : 6.2831855f;
    a.speedFactor = 1.0f;
    a.gridX = RoundToLong(a.x);
    a.gridY = RoundToLong(a.y);
    a.gridHeading = team == 0 ? 0.0f : 3.1415927f;
    a.heading = a.gridHeading;
    if (turret) {
      a.turret = 1;
      a.turningKey = 1;
    } else {
      a.aiFlags = 1;
    }
    m.actors.push_back(a);
  };
  for (std::int32_t team = 0; team < 2; ++team) {
    for (int k = 0; k < 100; ++k) add(team, false);
    for (int k = 0; k < 10; ++k) add(team, true);
  }
}

// The world update's step for one character.
void CarryOutStep(Actor& a) {
  static constexpr int kStepX[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
  static constexpr int kStepY[8] = {0, -1, -1, -1, 0, 1, 1, 1};
  if (StepRemaining(a) <= 0) return;
  const std::int32_t d = StepDirection(a);
  const float covered = std::min(static_cast<float>(StepRemaining(a)), a.speed * kTick);
  a.x += static_cast<float>(kStepX[d]) * covered;
  a.y += static_cast<float>(kStepY[d]) * covered;
  StepRemaining(a) -= std::max(1, RoundToLong(covered));
  if (StepRemaining(a) <= 0) {
    StepRemaining(a) = 0;
    a.x = static_cast<float>(RoundToLong(a.x));
    a.y = static_cast<float>(RoundToLong(a.y));
  }
}

void BM_CombatTicks(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    const std::int32_t map = MakeMap();
    Populate(map);
    shell.frameElapsed = kTick;
    sightSeconds = 0.0;
    combatSightTests = 0;
    double launched = 0.0;
    state.ResumeTiming();
    const auto start = Clock::now();
    for (int tick = 0; tick < kTicks; ++tick) {
      for (std::size_t i = 0; i < gameData.maps[map].actors.size(); ++i) {
        hitLists.Reset();
        UpdateCharacterMovement(map, static_cast<std::int32_t>(i));
        Actor& a = gameData.maps[map].actors[i];
        CarryOutStep(a);
        for (InventoryEntry& e : a.equipment)
          if (e.fireWait > 0) e.fireWait -= kTick;
      }
      launched += static_cast<double>(gameData.maps[map].projectiles.size());
      gameData.maps[map].projectiles.clear();
    }
    const double total = std::chrono::duration<double>(Clock::now() - start).count();
    state.counters["ms_per_tick"] = total * 1000.0 / kTicks;
    state.counters["sight_share"] = sightSeconds / total;
    state.counters["sight_tests"] = static_cast<double>(combatSightTests);
    state.counters["projectiles"] = launched;
  }
}
BENCHMARK(BM_CombatTicks)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace kiv
