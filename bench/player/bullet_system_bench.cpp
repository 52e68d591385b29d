// One tick of a 128 x 128 map with 2,000 projectiles among 500 characters and
// 200 lights near a view: the Light, Bullet and Pick-Up systems in their
// order. In the same run the same map with lights that do not pulse. Reports
// both times per tick, the Light and Bullet systems' parts of them, and the
// share of the pulsing tick that relighting takes.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <random>

#include "data/game_data.h"
#include "data/project_state.h"
#include "data/sector_grid.h"
#include "mathkiv/math_init.h"
#include "player/bullet_system.h"
#include "player/pick_up_system.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "render/light_maps.h"
#include "runtime/runtime_startup.h"
#include "state/project_settings_block.h"
#include "world/actor_shapes.h"
#include "world/tile_collision.h"
#include "../world/walled_map.h"

namespace kiv {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::int32_t kSize = 128;
constexpr std::int32_t kTick = 16;
constexpr int kTicks = 100;
constexpr int kCharacters = 500;
constexpr int kProjectiles = 2000;
constexpr int kLights = 200;

std::int32_t MakeMap() {
  const std::int32_t map = bench::MakeWalledMap(kSize);
  storedProjectSettings.activityRange = 0.0f;  // every light of the map is near a view
  gameData.maps[map].ambientColor = 0xFF404040u;
  return map;
}

void Populate(std::int32_t map, bool pulsing) {
  Map& m = gameData.maps[map];
  std::mt19937 random(11);
  std::uniform_real_distribution<float> place(8.0f, kSize * 32.0f - 8.0f);
  std::uniform_real_distribution<float> angle(-3.14159f, 3.14159f);
  for (int k = 0; k < kCharacters; ++k) {
    Actor a;
    a.x = place(random);
    a.y = place(random);
    a.team = k % 2;
    a.collisionShape = BoxShapeOf(Box{-6, -6, 6, 6, 0, 40});
    a.vehicleRidden = -1;
    a.turretOperated = -1;
    a.furtherActor2 = -1;
    m.actors.push_back(a);
  }
  for (int k = 0; k < kProjectiles; ++k) {
    Projectile p;
    p.owner = k % kCharacters;
    p.x = m.actors[static_cast<std::size_t>(p.owner)].x;
    p.y = m.actors[static_cast<std::size_t>(p.owner)].y;
    p.z = 16.0f;
    p.heading = angle(random);
    p.speed = 0.3f;
    p.remainingRange = 1.0e9f;  // they fly the whole run
    p.motionMode = 1;           // and bounce off walls
    p.damage = 10;
    p.homingRange = k % 4 == 0 ? 300 : 0;
    p.turnRate = 0.002f;
    p.collisionShape = BoxShapeOf(Box{-4, -4, 4, 4, 0, 8});
    m.projectiles.push_back(p);
  }
  for (int k = 0; k < kLights; ++k) {
    Light l;
    l.enabled = 1;
    l.x = place(random);
    l.y = place(random);
    l.z = 48.0f;
    l.radius = 160;
    l.horizontalTo = 6.2831855f;
    l.verticalTo = 6.2831855f;
    l.red = 255, l.green = 200, l.blue = 150;
    l.edgeIntensity = 0.0f;
    l.nearestBlockedSquared = 160.0f * 160.0f + 1.0f;
    // A saw tooth that moves 16/255 a tick: relit on every tick.
    for (std::size_t i = 0; i < l.pattern.size(); ++i) l.pattern[i] = static_cast<std::uint8_t>((i * 8) & 0xFF);
    l.cycleLength = pulsing ? 1000 : 0;
    m.lights.push_back(l);
    SectorGridAddLight(m, k, l.x, l.y, l.z, l.radius, false);
  }
  GenerateLighting(map, -1, true);
}

struct TickTimes {
  double tick = 0.0;    // ms per tick, the three systems
  double lights = 0.0;  // of which the Light System with its relighting
  double bullets = 0.0;  // of which the Bullet System
};

// Times the Light, Bullet and Pick-Up systems on a fresh map.
TickTimes TimeTicks(bool pulsing) {
  const std::int32_t map = MakeMap();
  Populate(map, pulsing);
  shell.frameElapsed = kTick;
  shell.worldStepTime = kTick;
  TickTimes times;
  const auto ms = [](Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
  };
  const auto start = Clock::now();
  for (int tick = 0; tick < kTicks; ++tick) {
    const auto lights = Clock::now();
    playerHooks.LightSystem(map);
    const auto flight = Clock::now();
    RunBulletSystem(map);
    times.lights += ms(lights, flight);
    times.bullets += ms(flight, Clock::now());
    RunPickUpSystem(map);
  }
  times.tick = ms(start, Clock::now()) / kTicks;
  times.lights /= kTicks;
  times.bullets /= kTicks;
  return times;
}

void BM_BulletSystemTickWithPulsingLights(benchmark::State& state) {
  RuntimeStartUp();
  for (auto _ : state) {
    const TickTimes pulsing = TimeTicks(true);
    const TickTimes steady = TimeTicks(false);
    state.counters["ms_per_tick_pulsing"] = pulsing.tick;
    state.counters["ms_per_tick_steady"] = steady.tick;
    state.counters["ms_lights_pulsing"] = pulsing.lights;
    state.counters["ms_lights_steady"] = steady.lights;
    state.counters["ms_bullets_pulsing"] = pulsing.bullets;
    // Relighting's share of the pulsing tick: what the Light System costs beyond the steady one.
    state.counters["relighting_share"] = pulsing.tick > 0.0 ? (pulsing.lights - steady.lights) / pulsing.tick : 0.0;
  }
}
BENCHMARK(BM_BulletSystemTickWithPulsingLights)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace kiv
