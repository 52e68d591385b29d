// One whole frame on the offscreen device (Mesa's llvmpipe) with no interface
// shown and 20 notices of one line each at the bottom of an 800 x 600 back
// buffer: the default states, the clear, the notices' text with shadows and
// the present. Milliseconds per frame.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "data/game_data.h"
#include "media/device_startup.h"
#include "media/graphics.h"
#include "media/vertex_records.h"
#include "player/notices.h"
#include "player/shell_state.h"
#include "render/frame_drawing.h"
#include "render/text_layout.h"

namespace kiv {
namespace {

constexpr int kWidth = 800, kHeight = 600, kNotices = 20;

// Printable codes 32..126 in 16 x 16 cells of a white 256 x 128 texture.
FontSet NoticeFont() {
  FontSet font;
  font.textureWidth = 256;
  font.textureHeight = 128;
  font.lineHeight = 16;
  for (std::int16_t code = 32; code <= 126; ++code) {
    const std::int32_t cell = code - 32;
    FontGlyph glyph;
    glyph.code = code;
    glyph.u = static_cast<float>(cell % 16) / 16.0f;
    glyph.v = static_cast<float>(cell / 16) / 8.0f;
    glyph.width = 10.0f / 256.0f;
    glyph.height = 16.0f / 128.0f;
    font.glyphs.push_back(glyph);
  }
  return font;
}

void BM_EmptyFrameWithTwentyNotices(benchmark::State& state) {
  graphics.Reset();
  GraphicsCreateDirectX();
  GraphicsCreateDirect3D();
  auto window = std::make_unique<gfx::Window>("frame", kWidth, kHeight, false, false);
  graphics.defaultVertexFormat = kColoredVertexFormat;
  if (GraphicsCreateDevice(window.get(), 0, 0, 0, 0, 1, 0) != 0) {
    state.SkipWithError("no offscreen device");
    return;
  }
  gameData.Reset();
  shell.Reset();
  gameData.fontSets.push_back(NoticeFont());
  const std::vector<std::uint32_t> white(256 * 128, 0xFFFFFFFF);
  graphics.direct3dDevice->CreateTextureFromArgb(256, 128, gfx::kFmtA8R8G8B8, 1, white.data(), true,
                                                 gameData.fontSets[0].loadedTexture);
  notices.clear();
  for (int n = 0; n < kNotices; ++n) {
    Notice notice;
    const std::string text = "Notice " + std::to_string(n) + ": the door to the cellar is locked.";
    notice.text.assign(text.begin(), text.end());
    notice.glyphs = WrapText(0, notice.text, kWidth, notice.lineCount, 1.0f);
    notice.age = n * 700;  // the oldest ones fading
    notices.push_back(notice);
  }
  for (auto _ : state) DrawFrame();
  state.counters["notices"] = kNotices;
  notices.clear();
  gameData.Reset();
  graphics.Reset();
}
BENCHMARK(BM_EmptyFrameWithTwentyNotices)->MinWarmUpTime(0.5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kiv
