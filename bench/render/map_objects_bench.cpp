// One frame of a 128 x 128-tile map of 4 layers on the offscreen device
// (Mesa's llvmpipe) at 800 x 600, through an oblique camera over the map's
// top-left corner: the ground of every layer and the two object groups in
// the 25 x 19 tiles in view, then 500 characters of five sprite layers (five
// sprite sets, so every layer is a depth layer of its own) standing in view,
// 20 pick-ups and 20 doors. The baseline is the same frame without pick-ups,
// characters and doors: the clear, the tiles and reading one pixel back, which
// waits for the drawing to finish. Milliseconds per frame, and the draw calls
// the device handed to OpenGL per frame ("drawCalls").
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "data/game_data.h"
#include "media/device_startup.h"
#include "media/graphics.h"
#include "media/quad_batcher.h"
#include "media/vertex_records.h"
#include "platform/gfx/d3dx.h"
#include "render/map_object_drawing.h"
#include "render/render_hooks.h"
#include "render/tile_drawing.h"
#include "support/solid_textures.h"

namespace kiv {
namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int kTiles = 128, kLayers = 4;
constexpr int kCharacters = 500, kSpriteLayers = 5, kPickUps = 20, kDoors = 20;

TileSet BenchTileSet(gfx::TexturePtr texture) {
  TileSet set;
  for (int i = 0; i < 4; ++i) {
    FrameGroup group;
    ImageFrame cell;
    cell.width = cell.height = 32;
    cell.textureLeft = static_cast<float>(i) / 4;
    cell.textureRight = static_cast<float>(i + 1) / 4;
    cell.textureBottom = 1;
    group.frames.push_back(cell);
    set.frames.frameGroups.push_back(group);
    Tile tile;
    tile.frameGroup = i;
    tile.colorA = tile.colorB = 0xFFFFFFFF;
    set.tiles.push_back(tile);
  }
  set.frames.textures = {std::move(texture)};
  return set;
}

SpriteSet BenchSpriteSet(gfx::TexturePtr texture) {
  SpriteSet set;
  set.poses.emplace_back();
  set.usedValues = {0};
  SpriteDirection& d = set.poses[0].directions[4];
  SpriteLayer layer;
  FrameGroup frame;
  frame.cellWidth = frame.cellHeight = 24;
  ImageFrame piece;
  piece.width = piece.height = 24;
  piece.textureRight = piece.textureBottom = 1;
  frame.frames.push_back(piece);
  layer.frames.frameGroups.push_back(frame);
  layer.frames.textures.push_back(std::move(texture));
  layer.frameEntries.push_back({100, 0});
  d.layers.push_back(layer);
  FramePart part;
  part.kind = kPartLayer;
  part.color = 0xFFFFFFFF;
  part.scaleX = part.scaleY = part.scaleZ = 1;
  d.builtFrames = {SpriteFrame{{part}}};
  d.frames = d.builtFrames;
  return set;
}

bool BuildScene(std::unique_ptr<gfx::Window>& window) {
  gameData.Reset();
  renderHooks.Reset();
  graphics.Reset();
  quadBatch.Reset();
  if (GraphicsCreateDirectX() != 0 || GraphicsCreateDirect3D() != 0) return false;
  window = std::make_unique<gfx::Window>("objects", kWidth, kHeight, false, false);
  graphics.defaultVertexFormat = kColoredVertexFormat;
  if (GraphicsCreateDevice(window.get(), 0, 0, 0, 0, 1, 0) != 0) return false;
  renderHooks.IsCharacterVisible = [](std::int32_t, std::int32_t) { return true; };
  renderHooks.LightColorAt = [](std::int32_t, float, float, float, std::uint32_t colour) { return colour; };

  gfx::TexturePtr tiles = test::SolidTexture(0xFF608040, 32);
  gameData.tileSets = {BenchTileSet(tiles), BenchTileSet(tiles), BenchTileSet(tiles)};
  Map& map = gameData.maps[gameData.maps.Append()];
  map.width = map.height = kTiles - 1;
  map.layerCount = kLayers - 1;
  for (int g = 0; g < 3; ++g) {
    TileLayerGroup& group = map.tileLayerGroups[static_cast<std::size_t>(g)];
    group.slotTileSets = {g};
    group.slotGrid.Make(kTiles, kTiles, kLayers);
    group.tileGrid.Make(kTiles, kTiles, kLayers);
    group.terraform.Make(kTiles, kTiles, kLayers);
    for (int z = 0; z < kLayers; ++z) {
      for (int y = 0; y < kTiles; ++y) {
        for (int x = 0; x < kTiles; ++x) {
          const bool filled = g == 0 ? (z == 0 || (x + y + z) % 7 == 0) : (x * 3 + y + z) % (g == 1 ? 5 : 9) == 0;
          if (!filled) continue;
          group.slotGrid.At(x, y, z) = 1;
          group.tileGrid.At(x, y, z) = static_cast<std::uint8_t>((x + y) % 4);
        }
      }
    }
  }
  map.lightGrid.Make(kTiles + 1, kTiles + 1, kLayers + 1, 0xFFE0E0E0);

  for (int s = 0; s < kSpriteLayers; ++s)
    gameData.spriteSets.push_back(BenchSpriteSet(test::SolidTexture(0xFF000000u | (0x3355AAu * (s + 1)), 24)));
  setExtents.maxSpriteWidth = setExtents.maxSpriteHeight = 24;
  for (int c = 0; c < kCharacters; ++c) {
    Actor& actor = map.actors.emplace_back();
    actor.x = static_cast<float>(16 + c % 25 * 31);
    actor.y = static_cast<float>(16 + c / 25 * 29);
    for (int s = 0; s < kSpriteLayers; ++s) {
      CharacterLayer layer;
      layer.layerSpriteSet = s;
      actor.characterLayers.push_back(layer);
    }
  }
  gameData.doorSets.emplace_back();
  gameData.doorSets[0].textures[1] = test::SolidTexture(0xFF804020, 64);
  for (int d = 0; d < kDoors; ++d) {
    Door& door = map.doors.emplace_back();
    door.x = static_cast<float>(32 + d * 38);
    door.y = 300;
    door.doorSet = 0;
  }
  gameData.items.emplace_back();
  gameData.items[0].pictureTexture = test::SolidTexture(0xFF2040C0, 32);
  gameData.items[0].valueC = 32;
  for (int p = 0; p < kPickUps; ++p) {
    PickUp& pickUp = map.pickUps.emplace_back();
    pickUp.x = static_cast<float>(24 + p * 38);
    pickUp.y = 500;
    pickUp.color = 0xFFFFFFFF;
    pickUp.spriteSet = -1;
    pickUp.items[0].item = 0;
  }

  gfx::Device& device = *graphics.direct3dDevice;
  device.SetRenderState(gfx::kRsZEnable, 0);
  device.SetRenderState(gfx::kRsAlphaBlendEnable, 1);
  device.SetRenderState(gfx::kRsSrcBlend, gfx::kBlendSrcAlpha);
  device.SetRenderState(gfx::kRsDestBlend, gfx::kBlendInvSrcAlpha);
  gfx::Matrix oblique;  // screen y = map y - height
  oblique.m[2][1] = -1;
  oblique.m[2][2] = 0;
  device.SetTransform(gfx::kTransformView, oblique);
  device.SetTransform(gfx::kTransformProjection, gfx::MatrixOrthoOffCenterLH(0, kWidth, kHeight, 0, -1000, 1000));
  return true;
}

void DrawFrame(const MapDrawStep& step, bool objects) {
  gfx::Device& device = *graphics.direct3dDevice;
  device.Clear(gfx::kClearTarget, 0xFF000000, 1, 0);
  device.SetVertexShader(kColoredVertexFormat);
  for (int g = 0; g < 3; ++g) {
    TileLayerArgs args;
    args.map = 0;
    args.group = g;
    args.window = {0, 0, 0, kWidth / 32 + 1, kHeight / 32 + 1, kLayers, kWidth, kHeight};
    DrawTileLayer(args);
  }
  if (objects) {
    DrawPickUps(step);
    DrawCharacters(step);
    DrawDoors(step);
  }
  gfx::SurfacePtr back;
  device.GetBackBuffer(back);
  gfx::LockedRect locked;
  gfx::Rect r{0, 0, 1, 1};
  if (back->LockRect(locked, &r, 0) == gfx::kOk) back->UnlockRect();
}

void RunFrames(benchmark::State& state, bool objects) {
  std::unique_ptr<gfx::Window> window;
  if (!BuildScene(window)) {
    state.SkipWithError("no offscreen device");
    return;
  }
  MapView view;
  MapDrawStep step;
  step.map = 0;
  step.view = &view;
  step.width = kWidth;
  step.height = kHeight;
  step.visibleRect = {0, 0, kWidth, kHeight};
  DrawFrame(step, objects);
  const std::uint64_t drawsBefore = graphics.direct3dDevice->DrawCallCount();
  for (auto _ : state) DrawFrame(step, objects);
  const std::uint64_t draws = graphics.direct3dDevice->DrawCallCount() - drawsBefore;
  state.counters["drawCalls"] = static_cast<double>(draws) / static_cast<double>(state.iterations());
  gameData.Reset();
  graphics.Reset();
}

void BM_MapFrameTilesOnly(benchmark::State& state) { RunFrames(state, false); }
BENCHMARK(BM_MapFrameTilesOnly)->MinWarmUpTime(0.5)->Unit(benchmark::kMillisecond);

void BM_MapFrameWith500Characters(benchmark::State& state) { RunFrames(state, true); }
BENCHMARK(BM_MapFrameWith500Characters)->MinWarmUpTime(0.5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kiv
