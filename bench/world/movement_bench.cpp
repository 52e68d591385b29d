// 500 characters on a 128 x 128 map for 1,000 ticks of 16 ms on a fake clock:
// 400 walk routes and queues, 100 follow the player's character with path
// search. Reports the time per tick and, in the same run, the shares spent
// painting the path-finding grid and in the helper library's search (both
// timed through linker wraps of the two functions).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>

#include "core/math_util.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "data/sector_grid.h"
#include "mathkiv/math_init.h"
#include "mathkiv/path_search.h"
#include "player/shell_state.h"
#include "state/project_settings_block.h"
#include "world/actor_shapes.h"
#include "world/hit_lists.h"
#include "world/movement_commands.h"
#include "world/movement_fields.h"
#include "world/tile_collision.h"

#include "walled_map.h"

namespace {

using Clock = std::chrono::steady_clock;
double paintSeconds = 0.0;
double searchSeconds = 0.0;
long paintCalls = 0;
long searchCalls = 0;

}  // namespace

// The linker sends the calls of the world library here (-Wl,--wrap).
extern "C" {
void __real__ZN3kiv18PaintPathCollisionEiiib(std::int32_t, std::int32_t, std::int32_t, bool);
void __wrap__ZN3kiv18PaintPathCollisionEiiib(std::int32_t map, std::int32_t mover, std::int32_t target,
                                             bool friendsPass) {
  const auto start = Clock::now();
  __real__ZN3kiv18PaintPathCollisionEiiib(map, mover, target, friendsPass);
  paintSeconds += std::chrono::duration<double>(Clock::now() - start).count();
  ++paintCalls;
}
std::uint8_t __real__ZN3kiv10AIFindNextENS_22ConstCollisionGridViewEiiiiiiRKNS_3BoxEh(
    kiv::ConstCollisionGridView, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
    std::int32_t, const kiv::Box&, std::uint8_t);
std::uint8_t __wrap__ZN3kiv10AIFindNextENS_22ConstCollisionGridViewEiiiiiiRKNS_3BoxEh(
    kiv::ConstCollisionGridView grid, std::int32_t sx, std::int32_t sy, std::int32_t sz, std::int32_t gx,
    std::int32_t gy, std::int32_t gz, const kiv::Box& footprint, std::uint8_t flag) {
  const auto start = Clock::now();
  const std::uint8_t d =
      __real__ZN3kiv10AIFindNextENS_22ConstCollisionGridViewEiiiiiiRKNS_3BoxEh(grid, sx, sy, sz, gx, gy, gz,
                                                                                footprint, flag);
  searchSeconds += std::chrono::duration<double>(Clock::now() - start).count();
  ++searchCalls;
  return d;
}
}

namespace kiv {
namespace {

constexpr std::int32_t kSize = 128;
constexpr std::int32_t kTick = 16;

void Populate(std::int32_t map) {
  Map& m = gameData.maps[map];
  std::mt19937 random(5);
  std::uniform_int_distribution<int> cell(0, kSize * 2 - 1);
  const auto addCharacter = [&]() {
    Actor a;
    for (;;) {
      a.x = static_cast<float>(cell(random) * 16 + 8);
      a.y = static_cast<float>(cell(random) * 16 + 8);
      const std::int32_t tx = static_cast<std::int32_t>(a.x) / 32;
      const std::int32_t ty = static_cast<std::int32_t>(a.y) / 32;
      if (m.tileLayerGroups[0].slotGrid.At(tx, ty, 0) == 1) break;
    }
    a.collisionShape = BoxShapeOf(Box{-6, -6, 6, 6, 0, 40});
    a.areaBox = Box{-100000, -100000, 100000, 100000, -100000, 100000};
    a.speed = 0.1f;
    a.physicsFlags = 0;
    m.actors.push_back(a);
    return static_cast<std::int32_t>(m.actors.size()) - 1;
  };
  const std::int32_t player = addCharacter();
  m.actors[0].route = {0x41, 0x41, 0x41, 0x41, 0x101, 0x101, 0x5, 0x5, 0x5, 0x5, 0x11, 0x11};
  projectState.players.resize(1);
  projectState.players[0].mapIndex = map;
  PartyMember member;
  member.character = player;
  projectState.players[0].party.push_back(member);
  for (int k = 0; k < 400; ++k) {
    const std::int32_t i = addCharacter();
    if (k % 2 == 0) {
      m.actors[static_cast<std::size_t>(i)].route = {0x11, 0x41, 0x101, 0x5};
    } else {
      m.actors[static_cast<std::size_t>(i)].path.assign(8, 0x4001);
    }
  }
  for (int k = 0; k < 99; ++k) {
    const std::int32_t i = addCharacter();
    m.actors[static_cast<std::size_t>(i)].autoMoveStyle = 0x10003;
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

void BM_MovementTicks(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    const std::int32_t map = bench::MakeWalledMap(kSize);
    Populate(map);
    shell.frameElapsed = kTick;
    paintSeconds = searchSeconds = 0.0;
    paintCalls = searchCalls = 0;
    state.ResumeTiming();
    const auto start = Clock::now();
    for (int tick = 0; tick < 1000; ++tick) {
      Map& m = gameData.maps[map];
      for (std::size_t i = 0; i < m.actors.size(); ++i) {
        hitLists.Reset();
        UpdateCharacterMovement(map, static_cast<std::int32_t>(i));
        Actor& a = gameData.maps[map].actors[i];
        CarryOutStep(a);
        if (a.path.empty() && a.route.empty() && a.autoMoveStyle == 0) a.path.assign(8, 0x4001);
      }
    }
    const double total = std::chrono::duration<double>(Clock::now() - start).count();
    state.counters["ms_per_tick"] = total * 1000.0 / 1000.0;  // seconds to ms, over 1,000 ticks
    state.counters["paint_share"] = paintSeconds / total;
    state.counters["search_share"] = searchSeconds / total;
    state.counters["paints"] = static_cast<double>(paintCalls);
    state.counters["searches"] = static_cast<double>(searchCalls);
  }
}
BENCHMARK(BM_MovementTicks)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace kiv
