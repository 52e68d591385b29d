// Text of 10,000 characters in a font of 95 glyphs: laying it out with word
// wrap, and drawing the laid-out text as a block with shadows into the
// recording batcher, against a plain loop that adds the same quads to the
// same batcher and recorder. The ratio of the two is the drawer's own cost
// over the batcher's. Both start each run with warm batch and record arrays.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "data/game_data.h"
#include "render/text_drawing.h"
#include "render/text_layout.h"
#include "support/recording_batcher.h"
#include "bench_font.h"

namespace kiv {
namespace {

constexpr std::int32_t kCharacters = 10000;
constexpr std::int32_t kWrapWidth = 600;
constexpr std::uint32_t kTop = 0xFFFFFFFF, kBottom = 0xFF909090, kShadow = 0x80000000;

// Words of 1 to 9 letters with a line mark after every 40th word.
std::u16string BenchText() {
  std::u16string text;
  for (std::int32_t word = 0; static_cast<std::int32_t>(text.size()) < kCharacters; ++word) {
    for (std::int32_t i = 0; i < 1 + word * 7 % 9; ++i) text += static_cast<char16_t>(u'a' + (word + i) % 26);
    text += word % 40 == 39 ? u'\u00B6' : u' ';
  }
  text.resize(kCharacters);
  return text;
}

void UseBenchFont() {
  gameData.Reset();
  gameData.fontSets.push_back(bench::BenchFont());
}

GlyphIndexList LaidOutText() {
  std::int32_t lines = 0;
  return WrapText(0, BenchText(), kWrapWidth, lines, 1.0f);
}

void BM_WrapText(benchmark::State& state) {
  UseBenchFont();
  const std::u16string text = BenchText();
  for (auto _ : state) {
    std::int32_t lines = 0;
    GlyphIndexList glyphs = WrapText(0, text, kWrapWidth, lines, 1.0f);
    benchmark::DoNotOptimize(glyphs.data());
    benchmark::DoNotOptimize(lines);
  }
  state.SetItemsProcessed(state.iterations() * kCharacters);
}
BENCHMARK(BM_WrapText)->MinWarmUpTime(0.5)->Unit(benchmark::kMicrosecond);

void DrawBlock(const GlyphIndexList& glyphs) {
  Rect extent;
  DrawGlyphBlock(extent, 0, glyphs, 0, static_cast<std::int32_t>(glyphs.size()) - 1, 0, 0, kTop, kBottom,
                 kShadow, -1, 0, 0, kAlignLeft, 1.0f);
  benchmark::DoNotOptimize(extent);
}

void BM_DrawGlyphBlock(benchmark::State& state) {
  UseBenchFont();
  const GlyphIndexList glyphs = LaidOutText();
  test::RecordingBatcher recorder;
  DrawBlock(glyphs);  // warms the batch and record arrays
  const std::size_t quads = recorder.quads.size();
  for (auto _ : state) {
    recorder.Clear();
    DrawBlock(glyphs);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * quads));
}
BENCHMARK(BM_DrawGlyphBlock)->MinWarmUpTime(0.5)->Unit(benchmark::kMicrosecond);

// One quad as the drawer added it, read back from a recording.
struct PlainQuad {
  bool gradient;
  float x, y, width, height, u1, v1, u2, v2;
  std::uint32_t top, bottom;
};

void BM_PlainQuadLoop(benchmark::State& state) {
  UseBenchFont();
  const GlyphIndexList glyphs = LaidOutText();
  test::RecordingBatcher recorder;
  DrawBlock(glyphs);
  std::vector<PlainQuad> plain;
  for (const test::RecordedQuad& q : recorder.quads) {
    const ScreenVertex tl = q.Screen(test::kTopLeft), br = q.Screen(test::kBottomRight);
    const ScreenVertex bl = q.Screen(test::kBottomLeft);
    plain.push_back({tl.diffuse != kShadow, q.Left(), q.Top(), q.Right() - q.Left(), q.Bottom() - q.Top(),
                     tl.tu, tl.tv, br.tu, br.tv, tl.diffuse, bl.diffuse});
  }
  const gfx::TexturePtr texture = gameData.fontSets[0].loadedTexture;
  for (auto _ : state) {
    recorder.Clear();
    CurrentDrawDevice().SetTexture(0, texture);
    for (const PlainQuad& p : plain) {
      if (p.gradient) {
        QuadAddScreenGradient(p.x, p.y, p.width, p.height, {p.u1, p.v1}, {p.u2, p.v1}, {p.u2, p.v2},
                              {p.u1, p.v2}, p.top, p.top, p.bottom, p.bottom, 0);
      } else {
        QuadAddScreen(p.x, p.y, p.width, p.height, p.u1, p.v1, p.u2, p.v2, p.top, 0);
      }
    }
    QuadBatchFlushScreen();
  }
  if (recorder.quads.size() != plain.size()) state.SkipWithError("the loop drew other quads than the drawer");
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * plain.size()));
}
BENCHMARK(BM_PlainQuadLoop)->MinWarmUpTime(0.5)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kiv
