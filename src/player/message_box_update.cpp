#include "player/message_box_update.h"

#include <cmath>
#include <string>

#include "core/text_encoding.h"
#include "data/data_hooks.h"
#include "player/message_boxes.h"
#include "player/shell_state.h"

namespace kiv {

namespace {

constexpr std::int32_t kLeft = 1, kUp = 2, kRight = 4, kDown = 8;
constexpr double kScrollPerMs = 0.32;  // pixels: a 32-pixel line in 100 ms
constexpr double kGlidePerMs = 0.01;   // rows or columns
constexpr float kLineHeight = 32.0f;

// Moves value toward target by step, landing on it instead of passing it.
void Glide(float& value, double target, double step) {
  if (value < target) {
    value = static_cast<float>(value + step);
    if (value > target) value = static_cast<float>(target);
  } else if (value > target) {
    value = static_cast<float>(value - step);
    if (value < target) value = static_cast<float>(target);
  }
}

// The number that a number input holds (its leading digits; 0 without).
std::int64_t InputNumber(const std::u16string& text) {
  std::size_t p = 0;
  while (p < text.size() && text[p] == u' ') ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == u'-' || text[p] == u'+')) negative = text[p++] == u'-';
  std::int64_t value = 0;
  for (; p < text.size() && text[p] >= u'0' && text[p] <= u'9'; ++p) {
    value = value * 10 + (text[p] - u'0');
    if (value > 0x7FFFFFFFLL) break;
  }
  return negative ? -value : value;
}

std::u16string NumberText(std::int64_t value) {
  std::u16string text;
  for (const char c : std::to_string(value)) text += static_cast<char16_t>(c);
  return text;
}

void MoveSelection(MessageBox& box, Player& keys) {
  const std::int32_t n = box.LastItem();
  const std::int32_t c = box.itemColumns;
  std::int32_t s = box.selected;
  if (!keys.arrowKeysHeld) {
    if ((keys.arrowKeys & kUp) != 0) {
      if (c != 0) {
        s -= c;
        if (s < 0) s = s % c + n;
      } else {
        s = (s + n) % (n + 1);
      }
      keys.arrowKeysHeld = true;
    } else if ((keys.arrowKeys & kDown) != 0) {
      if (c != 0) {
        s += c;
        if (s > n) s = (s % c + 1) % c;
      } else {
        s = (s + 1) % (n + 1);
      }
      keys.arrowKeysHeld = true;
    }
    if (c != 0) {
      if ((keys.arrowKeys & kLeft) != 0) {
        s = (s + n) % (n + 1);
        keys.arrowKeysHeld = true;
      } else if ((keys.arrowKeys & kRight) != 0) {
        s = (s + 1) % (n + 1);
        keys.arrowKeysHeld = true;
      }
    }
    box.selected = s;
  }
}

void GlideSelection(MessageBox& box, std::int32_t ms) {
  const std::int32_t c = box.itemColumns;
  const std::int32_t s = box.selected;
  const double step = kGlidePerMs * ms;
  std::int32_t row = s;
  if (c != 0) {
    row = s / c;
    Glide(box.cursorColumn, s % c, step);
  }
  Glide(box.cursorRow, row, step);
  if (box.visibleRows <= 0) return;
  if (row > box.scroll + static_cast<float>(box.visibleRows)) {
    box.scroll = static_cast<float>(box.scroll + step);
    if (!(row > box.scroll + static_cast<float>(box.visibleRows)))
      box.scroll = static_cast<float>(row - box.visibleRows);
  } else if (row < box.scroll) {
    box.scroll = static_cast<float>(box.scroll - step);
    if (!(row < box.scroll)) box.scroll = static_cast<float>(row);
  }
}

void StepNumber(std::int32_t index, MessageBox& box, Player& keys) {
  if (keys.arrowKeysHeld) return;
  const std::int64_t v = InputNumber(box.inputText);
  std::int64_t next = v;
  bool acted = true;
  if ((keys.arrowKeys & kUp) != 0) {
    if (v < box.inputMax) next = v + 1;
  } else if ((keys.arrowKeys & kDown) != 0) {
    if (v > box.inputMin) next = v - 1;
  } else if ((keys.arrowKeys & kLeft) != 0) {
    next = v - 10 < box.inputMin ? box.inputMin : v - 10;
  } else if ((keys.arrowKeys & kRight) != 0) {
    next = v + 10 > box.inputMax ? box.inputMax : v + 10;
  } else {
    acted = false;
  }
  if (!acted) return;
  keys.arrowKeysHeld = true;
  box.inputText = NumberText(next);
  LayOutInput(index);
}

}  // namespace

Player& MenuPlayer() {
  static Player idle;
  const std::int32_t p = shell.currentPlayer;
  if (p < 0 || p >= static_cast<std::int32_t>(projectState.players.size())) {
    idle = Player{};
    return idle;
  }
  return projectState.players[static_cast<std::size_t>(p)];
}

bool AcceptPressed(const Player& player) { return player.keyReturnDown && !player.keyReturnHeld; }
bool CancelPressed(const Player& player) { return player.keyEscapeDown && !player.keyEscapeHeld; }

void LayOutInput(std::int32_t index) {
  MessageBox& box = messageBoxes[static_cast<std::size_t>(index)];
  box.inputGlyphs = dataHooks.WrapText(0, box.inputText, 0, box.inputLines, 1.0f);
}

void UpdateMessageBox(std::int32_t index, std::int32_t ms) {
  if (index < 0 || index >= kMessageBoxCount) return;
  MessageBox& box = messageBoxes[static_cast<std::size_t>(index)];
  if (!box.visible) return;

  const float pageTop = static_cast<float>(box.pageStart) * kLineHeight;
  if (box.textScroll < pageTop) {
    box.textScroll = static_cast<float>(box.textScroll + kScrollPerMs * ms);
    if (box.textScroll > pageTop) box.textScroll = pageTop + 0.1f;
  }

  const bool moreText = box.linesPerPage > 0 && box.linesPerPage + box.pageStart + 1 < box.lineCount;
  if (box.LastItem() < 0 && box.inputMode == 0 && !moreText) return;
  box.activated = true;

  Player& keys = MenuPlayer();
  if (moreText) {
    // The page is complete once its text is revealed up to the page's end.
    if (AcceptPressed(keys)) {
      if (box.allShown || box.pageFull) ++box.pageStart;
      keys.keyReturnHeld = true;
    }
    return;
  }
  if (box.LastItem() > 0) {
    MoveSelection(box, keys);
    GlideSelection(box, ms);
  } else if (box.inputMode == 2) {
    StepNumber(index, box, keys);
  }
}

}  // namespace kiv
