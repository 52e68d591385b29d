// Reading a sprite set of 16 poses x 8 directions, each direction one layer
// animated through 8 frames of 4 parts, from the package held in memory:
// the reader, the built frames and the summary.
#include <benchmark/benchmark.h>

#include <vector>

#include "core/package.h"
#include "core/symbol_table.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/script_record.h"
#include "data/sprite_set.h"
#include "support/sprite_set_writer.h"

namespace kiv {
namespace {

constexpr std::int32_t kPoses = 16;
constexpr std::int32_t kFrames = 8;
constexpr std::int32_t kParts = 4;

// Every direction: one layer showing one frame, then the animation frames,
// each part with its own offsets, scale and rotation.
test::SpriteDirectionFixture MakeDirection() {
  test::FrameGroupFixture group;
  group.frames.resize(1);
  group.cellWidth = 64;
  group.cellHeight = 96;
  test::SpriteLayerFixture layer;
  layer.groups = {group};
  layer.entryValues = {120};
  layer.text = u"Body";
  layer.value = 1;
  test::SpriteDirectionFixture direction;
  direction.layers = {layer};
  for (std::int32_t f = 0; f < kFrames; ++f) {
    std::vector<test::FramePartFixture>& frame = direction.frames.emplace_back();
    for (std::int32_t p = 0; p < kParts; ++p) {
      test::FramePartFixture& part = frame.emplace_back();
      part.id = p;
      part.kind = p == 0 ? 0 : 2;
      part.x = f * 3 + p;
      part.y = -f;
      part.z = p;
      part.color = 0xFF808080u;
      part.scaleX = 1.0f + 0.1f * static_cast<float>(f);
      part.rotation.z = 0.1f * static_cast<float>(f);
    }
  }
  return direction;
}

ByteList MakeSpriteSetFile() {
  test::SpriteSetFixture set;
  set.name = u"Bench";
  set.displayName = u"Bench";
  set.poses.resize(kPoses);
  set.poses[15].name = u"Own";
  const test::SpriteDirectionFixture direction = MakeDirection();
  for (test::SpritePoseFixture& pose : set.poses) pose.directions.fill(direction);
  return test::SpriteSetFileBytes(set);
}

void BM_ReadSpriteSet(benchmark::State& state) {
  package.Reset();
  package.packageEntries.push_back({"0.ksp", MakeSpriteSetFile(), 0});
  SymbolTableReset();
  RegisterScriptIdentifiers();
  for (auto _ : state) {
    gameData.Reset();
    scriptTable.Reset();
    gameData.spriteSets.resize(1);
    ReadSpriteSet(PackageGetEntryBytes("0.ksp", -1), 0);
    benchmark::DoNotOptimize(gameData.spriteSets[0].poses[15].directions[7].builtFrames.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(package.packageEntries[0].bytes.size()));
}
BENCHMARK(BM_ReadSpriteSet)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kiv
