// One frame of map scenery and sprites into the recording batcher: a 40 x 30
// cell view of three tile groups (ground with quarter transitions, lower and
// upper objects) and 300 sprites of four layers, one of them a layer of 50
// particles. Against it, a plain loop that adds the same quads to the same
// batcher and recorder, with the same binds and flushes. The ratio of the two
// is the drawers' own cost over the batcher's.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "data/game_data.h"
#include "media/graphics.h"
#include "media/quad_batcher.h"
#include "media/vertex_records.h"
#include "platform/gfx/d3dx.h"
#include "render/render_hooks.h"
#include "render/sprite_drawing.h"
#include "render/tile_drawing.h"
#include "support/recording_batcher.h"

namespace kiv {
namespace {

constexpr int kColumns = 40, kRows = 30, kSprites = 300, kParticles = 50;

gfx::TexturePtr FakeTexture() {
  return std::make_shared<gfx::Texture>(std::make_shared<gfx::ContextToken>(), 0, 32, 32, 0, 1);
}

TileSet BenchTileSet(int images, std::uint8_t shape) {
  TileSet set;
  for (int i = 0; i < images; ++i) {
    FrameGroup group;
    ImageFrame cell;
    cell.image = i % 2;
    cell.width = cell.height = 32;
    cell.textureLeft = static_cast<float>(i) / 8;
    cell.textureRight = static_cast<float>(i + 1) / 8;
    cell.textureBottom = 1;
    group.frames.push_back(cell);
    set.frames.frameGroups.push_back(group);
    Tile tile;
    tile.frameGroup = i;
    tile.shape = shape;
    tile.colorA = 0xFFC0C0C0;
    tile.colorB = 0xFFFFFFFF;
    tile.scatterX = shape != 0 ? 6 : 0;
    tile.randomFlipA = 1;
    TerraformRule rule;
    rule.tiles.fill(-1);
    for (int k = 0; k < 4; ++k) rule.tiles[static_cast<std::size_t>(1 + 15 * k)] = (i + 1) % images;
    rule.byteL = 1;
    tile.terraformRules.push_back(rule);
    set.tiles.push_back(tile);
  }
  set.frames.textures = {FakeTexture(), FakeTexture()};
  return set;
}

SpriteLayer BenchLayer(std::int32_t flags) {
  SpriteLayer layer;
  layer.flags = flags;
  FrameGroup frame;
  frame.cellWidth = frame.cellHeight = 16;
  ImageFrame piece;
  piece.width = piece.height = 16;
  piece.textureRight = piece.textureBottom = 1;
  frame.frames.push_back(piece);
  layer.frames.frameGroups.push_back(frame);
  layer.frames.textures.push_back(FakeTexture());
  layer.frameEntries.push_back({100, 0});
  layer.emissionLimitMin = layer.emissionLimitMax = kParticles;
  layer.particleLifeMin = layer.particleLifeMax = 1000000;
  layer.particleRangesP = {1, 1, 0, 0};
  layer.spreadR = {0, 8, 0, 8, 0, 0};
  return layer;
}

void BuildScene() {
  gameData.Reset();
  renderHooks.Reset();
  renderHooks.TickMilliseconds = [] { return 10; };
  gameData.tileSets = {BenchTileSet(4, 0), BenchTileSet(4, 2), BenchTileSet(4, 0)};
  Map& map = gameData.maps[gameData.maps.Append()];
  map.width = kColumns - 1;
  map.height = kRows - 1;
  map.layerCount = 0;
  for (int g = 0; g < 3; ++g) {
    TileLayerGroup& group = map.tileLayerGroups[static_cast<std::size_t>(g)];
    group.slotTileSets = {g};
    group.slotGrid.Make(kColumns, kRows, 1);
    group.tileGrid.Make(kColumns, kRows, 1);
    group.terraform.Make(kColumns, kRows, 1);
    for (int y = 0; y < kRows; ++y) {
      for (int x = 0; x < kColumns; ++x) {
        const bool filled = g == 0 || (g == 1 ? (x + y) % 3 == 0 : (x * 7 + y) % 5 == 0);
        if (!filled) continue;
        group.slotGrid.At(x, y, 0) = 1;
        group.tileGrid.At(x, y, 0) = static_cast<std::uint8_t>((x / 4 + y / 3) % 4);
        if (g == 0 && (x + 2 * y) % 4 == 0)
          for (int k = 0; k < 4; ++k) group.terraform.At(k, 0, x, y, 0) = k % 2 == 0 ? 0x11 : 0;
      }
    }
  }
  map.lightGrid.Make(kColumns + 1, kRows + 1, 2, 0xFFFFFFFF);
  SpriteSet set;
  set.poses.emplace_back();
  SpriteDirection& d = set.poses[0].directions[4];
  d.layers = {BenchLayer(0), BenchLayer(kLayerAdditive), BenchLayer(kLayerSmooth), BenchLayer(kLayerParticles)};
  d.frameDuration = 100;
  SpriteFrame frame;
  for (int i = 0; i < 4; ++i) {
    FramePart part;
    part.kind = kPartLayer;
    part.index = i;
    part.x = 4 * i;
    part.color = 0xFFFFFFFF;
    part.scaleX = part.scaleY = part.scaleZ = 1;
    frame.parts.push_back(part);
  }
  d.builtFrames = {frame, frame};
  d.builtFrames[1].parts[0].x = 10;
  set.usedValues = {0};
  set.largestLayerValue = 0;
  gameData.spriteSets.push_back(set);
}

struct Scene {
  std::vector<SpriteInstance> instances = std::vector<SpriteInstance>(kSprites);
  MapView view;

  void Draw(bool advance) {
    for (int g = 0; g < 3; ++g) {
      TileLayerArgs args;
      args.map = 0;
      args.group = g;
      args.window = {0, 0, 0, kColumns, kRows, 1, 640, 480};
      DrawTileLayer(args);
    }
    for (int s = 0; s < kSprites; ++s) {
      DrawSprite(0, 50 + s, instances[static_cast<std::size_t>(s)], view, static_cast<float>(s % 40 * 32),
                 static_cast<float>(s / 40 * 64), 0, 1, 1, 1, false, false, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 0, 0, 0,
                 1, 1, advance);
    }
  }

  // Emits every emitter's 50 particles.
  void Warm() {
    for (int i = 0; i < kParticles; ++i) Draw(true);
  }
};

void BM_TileAndSpriteFrame(benchmark::State& state) {
  BuildScene();
  test::RecordingBatcher recorder;
  Scene scene;
  scene.Warm();
  recorder.Clear();
  scene.Draw(false);
  const std::size_t quads = recorder.quads.size();
  for (auto _ : state) {
    recorder.Clear();
    scene.Draw(false);
  }
  state.counters["quads"] = static_cast<double>(quads);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * quads));
}
BENCHMARK(BM_TileAndSpriteFrame)->MinWarmUpTime(0.5)->Unit(benchmark::kMicrosecond);

// The recorded frame as plain adder calls: each coloured quad by its corner
// box, each screen or lit quad likewise, with the recorded binds and flushes.
void BM_PlainQuadLoop(benchmark::State& state) {
  BuildScene();
  test::RecordingBatcher recorder;
  Scene scene;
  scene.Warm();
  recorder.Clear();
  scene.Draw(false);
  const std::vector<test::RecordedQuad> quads = recorder.quads;
  const std::vector<test::RecordedEvent> events = recorder.events;
  for (auto _ : state) {
    recorder.Clear();
    for (const test::RecordedEvent& e : events) {
      if (e.kind == test::RecordedKind::kBind) {
        CurrentDrawDevice().SetTexture(0, nullptr);
      } else if (e.kind == test::RecordedKind::kFlush) {
        for (std::size_t q = e.firstQuad; q < e.firstQuad + e.quadCount; ++q) {
          const ColoredVertex tl = quads[q].Vertex<ColoredVertex>(test::kTopLeft);
          const ColoredVertex br = quads[q].Vertex<ColoredVertex>(test::kBottomRight);
          const ColoredVertex tr = quads[q].Vertex<ColoredVertex>(test::kTopRight);
          const ColoredVertex bl = quads[q].Vertex<ColoredVertex>(test::kBottomLeft);
          QuadAddColored3D(tl.x, tl.y, br.z, br.x - tl.x, br.y - tl.y, tl.z - br.z, {tl.tu, tl.tv}, {tr.tu, tr.tv},
                           {br.tu, br.tv}, {bl.tu, bl.tv}, tl.diffuse, tr.diffuse, bl.diffuse, br.diffuse, 0);
        }
        QuadBatchFlushColored3D();
      }
    }
  }
  if (recorder.quads.size() != quads.size()) state.SkipWithError("the loop drew other quads than the drawers");
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * quads.size()));
}
BENCHMARK(BM_PlainQuadLoop)->MinWarmUpTime(0.5)->Unit(benchmark::kMicrosecond);

// The same frame drawn by Mesa's llvmpipe into a 640 x 480 offscreen window,
// with real textures; reading one pixel back waits for the drawing to finish.
void BM_TileAndSpriteFrameOnMesa(benchmark::State& state) {
  BuildScene();
  graphics.Reset();
  quadBatch.Reset();
  if (GraphicsCreateDirectX() != 0 || GraphicsCreateDirect3D() != 0) {
    state.SkipWithError("no video");
    return;
  }
  auto window = std::make_unique<gfx::Window>("bench", 640, 480, false, false);
  graphics.defaultVertexFormat = kColoredVertexFormat;
  if (GraphicsCreateDevice(window.get(), 0, 0, 0, 0, 1, 0) != 0) {
    state.SkipWithError("no device");
    return;
  }
  gfx::Device& device = *graphics.direct3dDevice;
  const std::vector<std::uint32_t> texels(32 * 32, 0xFFC08040);
  gfx::TexturePtr texture;
  device.CreateTextureFromArgb(32, 32, gfx::kFmtA8R8G8B8, 1, texels.data(), true, texture);
  for (TileSet& set : gameData.tileSets)
    for (gfx::TexturePtr& t : set.frames.textures) t = texture;
  for (SpriteLayer& layer : gameData.spriteSets[0].poses[0].directions[4].layers) layer.frames.textures = {texture};
  device.SetRenderState(gfx::kRsZEnable, 0);
  device.SetRenderState(gfx::kRsAlphaBlendEnable, 1);
  device.SetRenderState(gfx::kRsSrcBlend, gfx::kBlendSrcAlpha);
  device.SetRenderState(gfx::kRsDestBlend, gfx::kBlendInvSrcAlpha);
  device.SetTransform(gfx::kTransformProjection, gfx::MatrixOrthoOffCenterLH(0, 1280, 960, 0, -1000, 1000));
  Scene scene;
  scene.Warm();
  auto finish = [&device] {
    gfx::SurfacePtr back;
    device.GetBackBuffer(back);
    gfx::LockedRect locked;
    gfx::Rect r{0, 0, 1, 1};
    if (back->LockRect(locked, &r, 0) == gfx::kOk) back->UnlockRect();
  };
  for (auto _ : state) {
    device.Clear(gfx::kClearTarget, 0xFF000000, 1, 0);
    scene.Draw(false);
    finish();
  }
  graphics.Reset();
}
BENCHMARK(BM_TileAndSpriteFrameOnMesa)->MinWarmUpTime(0.5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kiv
