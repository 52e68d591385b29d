// Geometric picking of the pointer: an interface whose view field shows a
// 128 x 128 map in a perspective (3-D) view, with 2,000 characters standing
// on it. Each pick starts at the interface, as the pointer update does, and
// goes through the view's camera to the zones and characters. Reports picks
// per second and the share of picks that found a character.
#include <benchmark/benchmark.h>

#include <random>

#include "data/game_data.h"
#include "data/project_state.h"
#include "media/graphics.h"
#include "player/shell_state.h"
#include "world/pointer_picking.h"

namespace {

using namespace kiv;

constexpr std::int32_t kScreenWidth = 800, kScreenHeight = 600;
constexpr std::int32_t kCharacters = 2000;

void BuildWorld() {
  gameData.Reset();
  projectState.Reset();
  graphics.Reset();
  graphics.presentParameters.backBufferWidth = kScreenWidth;
  graphics.presentParameters.backBufferHeight = kScreenHeight;
  dataSettings.gameVideoWidth = kScreenWidth;
  dataSettings.gameVideoHeight = kScreenHeight;
  shell.mouseTriggersPresent = true;

  const std::int32_t hud = gameData.maps.Append();
  const std::int32_t world = gameData.maps.Append();
  Map& h = gameData.maps[hud];
  h.isInterface = true;
  h.overlayActive = 1;
  Field view;
  view.face = 6;
  view.pixelWidth = kScreenWidth;
  view.pixelHeight = kScreenHeight;
  view.view.ownMap = world;
  view.view.projection = 1;  // perspective
  h.fields.push_back(view);

  Map& w = gameData.maps[world];
  w.width = 127;
  w.height = 127;
  w.layerCount = 3;
  std::mt19937 random(7);
  std::uniform_real_distribution<float> place(0.0f, 128.0f * 32.0f);
  CollisionShape shape;
  shape.rectangles.push_back(CollisionBox{-8, -8, 8, 8, 0, 48, {}});
  w.actors.resize(kCharacters);
  for (Actor& actor : w.actors) {
    actor.x = place(random);
    actor.y = place(random);
    actor.collisionShape = shape;
  }
}

void BM_GeometricPicking(benchmark::State& state) {
  BuildWorld();
  std::mt19937 random(11);
  std::uniform_int_distribution<std::int32_t> column(0, kScreenWidth - 1);
  std::uniform_int_distribution<std::int32_t> row(0, kScreenHeight - 1);
  std::int64_t picks = 0;
  std::int64_t hits = 0;
  for (auto _ : state) {
    PickQuery query;
    query.map = 0;
    query.x = column(random);
    query.y = row(random);
    query.viewWidth = kScreenWidth;
    query.viewHeight = kScreenHeight;
    const bool found = PickAtPoint(query);
    benchmark::DoNotOptimize(query.pickedIndex);
    ++picks;
    if (found) ++hits;
  }
  state.SetItemsProcessed(picks);
  state.counters["hitShare"] = picks > 0 ? static_cast<double>(hits) / static_cast<double>(picks) : 0.0;
  gameData.Reset();
  graphics.Reset();
}
BENCHMARK(BM_GeometricPicking)->Unit(benchmark::kMicrosecond);

}  // namespace

