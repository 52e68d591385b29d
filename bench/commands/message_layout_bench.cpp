// The script message box laid out for MsgBox.Show: a 4,000-character message
// with 20 choices split from its codes, wrapped, and its choice items built
// (no drawing, no wait). The baseline is WrapText of the same 4,000
// characters alone, as wide as the box wraps them: no code search, no
// choices, no box record.
#include <benchmark/benchmark.h>

#include <string>

#include "commands/message_text.h"
#include "data/game_data.h"
#include "media/graphics.h"
#include "player/message_boxes.h"
#include "render/text_layout.h"

namespace {

using namespace kiv;

constexpr int kMessageLength = 4000;
constexpr int kChoiceCount = 20;

void SetUpFont() {
  static const bool ready = [] {
    gameData.Reset();
    FontSet font;
    font.textureWidth = 256;
    font.glyphInset = 1;
    font.lineHeight = 16;
    for (char16_t code = 32; code < 127; ++code) {
      FontGlyph glyph;
      glyph.width = static_cast<float>(5 + code % 7) / 256.0f;
      glyph.height = 16.0f / 256.0f;
      glyph.code = static_cast<std::int16_t>(code);
      font.glyphs.push_back(glyph);
    }
    gameData.fontSets.push_back(font);
    graphics.videoWidth = 800;
    return true;
  }();
  (void)ready;
}

// Words of two to nine letters, as prose has them.
std::u16string Message() {
  std::u16string text;
  for (int word = 0; static_cast<int>(text.size()) < kMessageLength; ++word) {
    const int letters = 2 + word * 7 % 8;
    for (int i = 0; i < letters; ++i) text += static_cast<char16_t>(u'a' + (word * 3 + i) % 26);
    text += u' ';
  }
  text.resize(kMessageLength);
  return text;
}

std::u16string MessageWithChoices() {
  std::u16string text = Message();
  for (int i = 1; i <= kChoiceCount; ++i) text += u"\\QChoice number " + std::u16string(1, u'A' + i);
  return text;
}

void BM_ShowMessageLayout(benchmark::State& state) {
  SetUpFont();
  const std::u16string text = MessageWithChoices();
  for (auto _ : state) {
    ScriptShowMessage(text);
    benchmark::DoNotOptimize(messageBoxes[0].glyphs.data());
  }
  if (messageBoxes[0].items.size() != kChoiceCount || messageBoxes[0].text.size() != kMessageLength) {
    state.SkipWithError("the message was not laid out");
  }
}

void BM_WrapTextAlone(benchmark::State& state) {
  SetUpFont();
  const std::u16string text = Message();
  const std::int32_t width = (graphics.videoWidth / 32 - 3) * 32;
  std::int32_t lines = 0;
  for (auto _ : state) {
    GlyphIndexList glyphs = WrapText(0, text, width, lines, 1.0f);
    benchmark::DoNotOptimize(glyphs.data());
  }
}

}  // namespace

BENCHMARK(BM_ShowMessageLayout)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WrapTextAlone)->Unit(benchmark::kMicrosecond);
