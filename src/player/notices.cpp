#include "player/notices.h"

#include "data/data_hooks.h"
#include "data/game_data.h"
#include "media/graphics.h"

namespace kiv {

std::vector<Notice> notices;

namespace {

constexpr std::int32_t kMergeAge = 10000;
constexpr std::int32_t kRemoveAge = 15000;

bool gameRunning = false;

// Lays out a notice's shown text with font set 0 across the screen width; with
// no font set loaded the notice keeps no layout.
void LayOut(Notice& notice, const std::u16string& shown) {
  if (gameData.fontSets.empty()) return;
  notice.glyphs = dataHooks.WrapText(0, shown, graphics.videoWidth, notice.lineCount, 1.0f);
}

std::u16string WithCount(const std::u16string& text, std::int32_t count) {
  std::u16string shown = text + u" x";
  for (const char c : std::to_string(count)) shown += static_cast<char16_t>(c);
  return shown;
}

}  // namespace

void PostNotice(const std::u16string& text, bool merge) {
  if (merge) {
    for (Notice& notice : notices) {
      if (notice.age >= kMergeAge || notice.text != text) continue;
      notice.age = 0;
      ++notice.count;
      LayOut(notice, WithCount(notice.text, notice.count));
      return;
    }
  }
  Notice notice;
  notice.text = text;
  LayOut(notice, text);
  notices.push_back(std::move(notice));
}

void AgeNotices(std::int32_t elapsed) {
  for (std::size_t n = notices.size(); n-- > 0;) {
    notices[n].age += elapsed;
    if (notices[n].age > kRemoveAge) notices.erase(notices.begin() + static_cast<std::ptrdiff_t>(n));
  }
}

bool GameRunning() { return gameRunning; }
GameRunningScope::GameRunningScope() { gameRunning = true; }
GameRunningScope::~GameRunningScope() { gameRunning = false; }

}  // namespace kiv
