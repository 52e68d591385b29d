// One frame of a message box typing 2,000 characters of wrapped text with 20
// items, plus 200 doors in their 3-D pass, into the recording batcher; against
// a plain loop that hands the same quads to the same batcher and recorder.
// The ratio of the two is the drawers' own cost over the batcher's.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "data/game_data.h"
#include "dialogs/player_settings.h"
#include "media/draw_device.h"
#include "media/quad_batcher.h"
#include "render/door_drawing.h"
#include "render/message_box_drawing.h"
#include "render/render_hooks.h"
#include "render/text_layout.h"
#include "support/recording_batcher.h"
#include "bench_font.h"

namespace kiv {
namespace {

constexpr std::int32_t kCharacters = 2000;
constexpr std::int32_t kItems = 20;
constexpr std::int32_t kDoors = 200;

std::u16string Words(std::int32_t characters, std::int32_t seed) {
  std::u16string text;
  for (std::int32_t word = seed; static_cast<std::int32_t>(text.size()) < characters; ++word) {
    for (std::int32_t i = 0; i < 1 + word * 7 % 9; ++i) text += static_cast<char16_t>(u'a' + (word + i) % 26);
    text += u' ';
  }
  text.resize(static_cast<std::size_t>(characters));
  return text;
}

gfx::TexturePtr BenchTexture() {
  return std::make_shared<gfx::Texture>(std::make_shared<gfx::ContextToken>(), 0, 256, 256, 0, 1);
}

void SetUpFrame() {
  gameData.Reset();
  gameData.fontSets.push_back(bench::BenchFont(14));
  gameData.fontSets[0].loadedTexture = BenchTexture();
  gameData.doorSets.resize(1);
  gameData.doorSets[0].textures = {BenchTexture(), BenchTexture(), BenchTexture()};
  static const gfx::TexturePtr skin = BenchTexture();
  renderHooks.SystemTexture = [](std::int32_t) { return skin; };
  renderHooks.TickMilliseconds = [] { return 1000000; };
  playerSettings.textInterval = 15;
  messageBoxes = {};
  MessageBox& box = messageBoxes[0];
  box.visible = true;
  box.width = 18, box.height = 14;
  std::int32_t lines = 0;
  box.glyphs = WrapText(0, Words(kCharacters, 0), 18 * 32 - 32, lines, 1.0f);
  box.itemColumns = 4, box.itemWidth = 2, box.itemHeight = 0;
  for (std::int32_t i = 0; i < kItems; ++i) {
    const std::u16string caption = Words(12, i);
    box.items.push_back({caption, WrapText(0, caption, 0, lines, 1.0f)});
  }
}

void DrawFrame() {
  messageBoxes[0].typeElapsed = 0;
  DrawMessageBoxes();
  for (std::int32_t d = 0; d < kDoors; ++d) {
    DrawDoor(0, static_cast<float>(d % 20) * 40, static_cast<float>(d / 20) * 40, 0, 0, 0, 0.125f, 0.25f,
             0xFFFFFFFF, 0xFF808080, 0, d % 21, static_cast<float>(d % 5) / 4.0f, d % 2 == 0, false, false, 32, 64);
  }
}

void BM_BoxAndDoorsFrame(benchmark::State& state) {
  SetUpFrame();
  test::RecordingBatcher recorder;
  DrawFrame();  // warms the batch and record arrays
  const std::size_t quads = recorder.quads.size();
  for (auto _ : state) {
    recorder.Clear();
    DrawFrame();
  }
  state.counters["quads"] = static_cast<double>(quads);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * quads));
}
BENCHMARK(BM_BoxAndDoorsFrame)->MinWarmUpTime(0.5)->Unit(benchmark::kMicrosecond);

// The recorded frame replayed: screen quads through the batcher with their
// corner colours, door strips straight to the drawer, the same texture binds
// and flushes.
void BM_PlainQuadLoop(benchmark::State& state) {
  SetUpFrame();
  test::RecordingBatcher recorder;
  DrawFrame();
  const std::vector<test::RecordedQuad> quads = recorder.quads;
  const std::vector<test::RecordedEvent> events = recorder.events;
  const gfx::TexturePtr texture = BenchTexture();
  for (auto _ : state) {
    recorder.Clear();
    DrawDevice& device = CurrentDrawDevice();
    BatchDrawer& drawer = CurrentBatchDrawer();
    for (const test::RecordedEvent& e : events) {
      if (e.kind == test::RecordedKind::kBind) {
        device.SetTexture(0, texture);
        continue;
      }
      if (e.kind != test::RecordedKind::kFlush) continue;
      for (std::size_t i = e.firstQuad; i < e.firstQuad + e.quadCount; ++i) {
        const test::RecordedQuad& q = quads[i];
        if (q.stride == sizeof(ColoredVertex)) {
          drawer.DrawPrimitiveUP(gfx::kPrimTriangleStrip, 2, q.bytes.data(), q.stride);
          continue;
        }
        const ScreenVertex tl = q.Screen(test::kTopLeft), br = q.Screen(test::kBottomRight);
        const ScreenVertex bl = q.Screen(test::kBottomLeft);
        QuadAddScreenGradient(q.Left(), q.Top(), q.Right() - q.Left(), q.Bottom() - q.Top(), {tl.tu, tl.tv},
                              {br.tu, tl.tv}, {br.tu, br.tv}, {tl.tu, br.tv}, tl.diffuse, tl.diffuse, bl.diffuse,
                              bl.diffuse, tl.specular);
      }
      if (e.stride != sizeof(ColoredVertex)) QuadBatchFlushScreen();
    }
  }
  if (recorder.quads.size() != quads.size()) state.SkipWithError("the loop drew other quads than the drawers");
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * quads.size()));
}
BENCHMARK(BM_PlainQuadLoop)->MinWarmUpTime(0.5)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kiv
