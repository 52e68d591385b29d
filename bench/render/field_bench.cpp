// One frame of an interface of 200 fields (texts, icon rows, meters, panels)
// and one view field at 800 x 600 on the offscreen device, against as many
// screen quads through the batcher alone, each flushed as the field pass
// flushes them, in the same run. Both wait for the frame to reach the back
// buffer (a pixel read back) before the next. The ratio of the two is the
// field drawing's own cost over the batcher's and the device's.
#include <benchmark/benchmark.h>

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "core/variant.h"
#include "data/game_data.h"
#include "media/device_startup.h"
#include "media/graphics.h"
#include "media/quad_batcher.h"
#include "media/vertex_records.h"
#include "platform/gfx/window.h"
#include "player/player_hooks.h"
#include "render/field_drawing.h"
#include "render/frame_drawing.h"
#include "render/map_drawing.h"
#include "render/render_hooks.h"
#include "support/back_buffer_pixels.h"
#include "support/recording_batcher.h"
#include "bench_font.h"

extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

namespace kiv {
namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int kFieldsPerKind = 50;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;

std::unique_ptr<gfx::Window> window;
std::size_t frameQuads = 0;

gfx::TexturePtr SolidTexture(int size, std::uint32_t argb) {
  const std::vector<std::uint32_t> texels(static_cast<std::size_t>(size * size), argb);
  gfx::TexturePtr texture;
  graphics.direct3dDevice->CreateTextureFromArgb(size, size, gfx::kFmtA8R8G8B8, 1, texels.data(), true, texture);
  return texture;
}

std::int32_t AddSprite(int size, std::uint32_t argb) {
  SpriteSet set;
  set.poses.emplace_back();
  SpriteDirection& d = set.poses[0].directions[4];
  SpriteLayer layer;
  FrameGroup frame;
  frame.cellWidth = frame.cellHeight = size;
  ImageFrame piece;
  piece.width = piece.height = size;
  piece.textureRight = piece.textureBottom = 1;
  frame.frames.push_back(piece);
  layer.frames.frameGroups.push_back(frame);
  layer.frames.textures.push_back(SolidTexture(size, argb));
  layer.frameEntries.push_back({100, 0});
  d.layers.push_back(layer);
  FramePart part;
  part.kind = kPartLayer;
  part.color = kWhite;
  part.scaleX = part.scaleY = part.scaleZ = 1;
  d.builtFrames = {SpriteFrame{{part}}, SpriteFrame{{part}}};
  d.frameDuration = 100;
  d.sizeX = d.sizeY = size;
  set.usedValues = {0};
  set.loaded = true;
  gameData.spriteSets.push_back(set);
  return static_cast<std::int32_t>(gameData.spriteSets.size()) - 1;
}

Field BaseField(std::int32_t map, std::uint8_t kind, std::int32_t i) {
  Field f;
  f.mapIndex = map;
  f.face = kind;
  f.x = static_cast<float>(10 + (i % 10) * 78);
  f.y = static_cast<float>(10 + (i / 10) * 28);
  f.pixelWidth = f.previousPixelWidth = 70;
  f.pixelHeight = f.previousPixelHeight = 24;
  f.colorsA.fill(0xFFE0C040);
  f.colorsB.fill(0xFF404080);
  f.value1 = Variant::Double(3.5);
  f.value2 = Variant::Double(5);
  return f;
}

void BuildInterface() {
  gameData.Reset();
  dataSettings.gameVideoWidth = kWidth;
  dataSettings.gameVideoHeight = kHeight;
  FontSet font = bench::BenchFont(14);
  font.loadedTexture = SolidTexture(128, kWhite);
  gameData.fontSets.push_back(font);
  const std::int32_t icon = AddSprite(8, 0xFFFFFFFF);
  const std::int32_t panel = AddSprite(48, 0xFF8080FF);
  const std::int32_t bar = AddSprite(32, 0xFF80FF80);
  const std::int32_t ui = gameData.maps.Append();
  Map& m = gameData.maps[ui];
  m.isInterface = true;
  m.ambientColor = kWhite;
  m.overlayActive = 1;
  std::int32_t n = 0;
  for (std::int32_t i = 0; i < kFieldsPerKind; ++i, ++n) {
    Field f = BaseField(ui, 0, n);
    f.fontSet = 0;
    f.value1 = Variant::Text(u"Score 12345 Lives");
    for (char16_t c : f.value1.AsText()) f.lines.push_back(static_cast<std::int16_t>(c - 32));
    m.fields.push_back(f);
  }
  for (std::int32_t i = 0; i < kFieldsPerKind; ++i, ++n) {
    Field f = BaseField(ui, 1, n);
    f.spriteSet = icon;
    f.pixelWidth = 0;
    f.sprites.resize(5);
    m.fields.push_back(f);
  }
  for (std::int32_t i = 0; i < kFieldsPerKind; ++i, ++n) {
    Field f = BaseField(ui, 2, n);
    f.designByte3 = static_cast<std::uint8_t>(i % 3);
    f.spriteSet = i % 6 == 1 ? bar : -1;
    f.designValues = {std::bit_cast<std::int32_t>(0.0f), std::bit_cast<std::int32_t>(6.2831855f)};
    m.fields.push_back(f);
  }
  for (std::int32_t i = 0; i < kFieldsPerKind; ++i, ++n) {
    Field f = BaseField(ui, 4, n);
    f.spriteSet = panel;
    f.pixelWidth = f.previousPixelWidth = 96;
    f.pixelHeight = f.previousPixelHeight = 96;
    m.fields.push_back(f);
  }
  Field view = BaseField(ui, 6, 0);
  view.x = 100;
  view.y = 300;
  view.pixelWidth = view.previousPixelWidth = 400;
  view.pixelHeight = view.previousPixelHeight = 250;
  m.fields.push_back(view);
  // The map the view shows: an empty one, so the view costs its set-up only.
  const std::int32_t shown = gameData.maps.Append();
  gameData.maps[shown].width = 19;
  gameData.maps[shown].height = 19;
  gameData.maps[shown].ambientColor = kWhite;
  // KIV_BENCH_VIEW_MAP=1 lets the view field draw its (empty) map; by default
  // the view field costs its state restore only.
  const bool viewMap = std::getenv("KIV_BENCH_VIEW_MAP") != nullptr;
  playerHooks.FieldViewMap = [shown, viewMap](std::int32_t, std::int32_t field) {
    return viewMap && field == kFieldsPerKind * 4 ? shown : -1;
  };
  playerHooks.DrawMap = [](std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t parent,
                           std::int32_t field, std::int32_t width, std::int32_t height) {
    DrawMap(map, x, y, parent, field, width, height);
  };
  renderHooks.DrawFields = [](std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t width,
                              std::int32_t height, const MapView& view) { DrawFields(map, x, y, width, height, view); };
}

// The field pass of the interface over the whole back buffer, called as map
// drawing's field step calls it.
void Frame() {
  graphics.direct3dDevice->Clear(gfx::kClearTarget, 0xFF000000, 1, 0);
  MapView view;
  view.viewport = {0, 0, kWidth, kHeight, 0, 1};
  DrawFields(0, 0, 0, kWidth, kHeight, view);
}

bool SetUpDevice() {
  if (window) return true;
  graphics.Reset();
  quadBatch.Reset();
  if (GraphicsCreateDirectX() != 0 || GraphicsCreateDirect3D() != 0) return false;
  window = std::make_unique<gfx::Window>("fields", kWidth, kHeight, false, false);
  graphics.defaultVertexFormat = kScreenVertexFormat;
  if (GraphicsCreateDevice(window.get(), 0, 0, 0, 0, 1, 0) != 0) return false;
  BuildInterface();
  test::RecordingBatcher recorder;
  try {
    Frame();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s (%s)\n", e.what(), gameData.currentActivity.c_str());
    throw;
  }
  frameQuads = recorder.quads.size() + recorder.Count(test::RecordedKind::kTriangles);
  return true;
}

void BM_InterfaceOfTwoHundredFields(benchmark::State& state) {
  if (!SetUpDevice()) {
    state.SkipWithError("no device");
    return;
  }
  for (auto _ : state) {
    Frame();
    benchmark::DoNotOptimize(test::BackBufferRgb(400, 300));
  }
  state.counters["quads"] = static_cast<double>(frameQuads);
}
BENCHMARK(BM_InterfaceOfTwoHundredFields)->MinWarmUpTime(0.5)->Unit(benchmark::kMillisecond);

void BM_SameQuadsThroughTheBatcher(benchmark::State& state) {
  if (!SetUpDevice()) {
    state.SkipWithError("no device");
    return;
  }
  gfx::Device& device = *graphics.direct3dDevice;
  const gfx::TexturePtr texture = SolidTexture(8, kWhite);
  for (auto _ : state) {
    device.Clear(gfx::kClearTarget, 0xFF000000, 1, 0);
    device.SetVertexShader(kScreenVertexFormat);
    device.SetTexture(0, texture);
    for (std::size_t q = 0; q < frameQuads; ++q) {
      const auto i = static_cast<float>(q % 200);
      QuadAddScreen(10 + i * 3, 10 + i * 2, 16, 16, 0, 0, 1, 1, 0xFFE0C040, 0);
      QuadBatchFlushScreen();
    }
    benchmark::DoNotOptimize(test::BackBufferRgb(400, 300));
  }
  state.counters["quads"] = static_cast<double>(frameQuads);
}
BENCHMARK(BM_SameQuadsThroughTheBatcher)->MinWarmUpTime(0.5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kiv
