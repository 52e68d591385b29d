#pragma once
// The notices on the screen: short texts that stack up from the bottom, shown
// at full strength for 10 seconds, fading over 5 more, then removed.
#include <cstdint>
#include <string>
#include <vector>

#include "data/glyph_index_list.h"

namespace kiv {

struct Notice {
  std::u16string text;    // as posted, without the repeat count
  GlyphIndexList glyphs;  // the shown text laid out with font set 0; empty without font sets
  std::int32_t lineCount = 0;
  std::int32_t age = 0;    // ms since posted or last repeated
  std::int32_t count = 1;  // times posted while it was younger than 10 seconds
};

// Oldest first; the newest is drawn at the bottom.
extern std::vector<Notice> notices;

// Posts a text. With merge, a notice of exactly that text younger than 10
// seconds is repeated instead: its age starts again and its shown text gets
// " x" and the count; otherwise the text is appended as a new notice.
void PostNotice(const std::u16string& text, bool merge);

// The Message System: every notice ages by the tick's time; one older than 15
// seconds is removed.
void AgeNotices(std::int32_t elapsed);

// Texts reach the notices only while a game runs: from the start-game
// sequence's beginning to its end.
bool GameRunning();
struct GameRunningScope {
  GameRunningScope();
  ~GameRunningScope();
  GameRunningScope(const GameRunningScope&) = delete;
  GameRunningScope& operator=(const GameRunningScope&) = delete;
};

}  // namespace kiv
