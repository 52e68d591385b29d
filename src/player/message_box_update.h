#pragma once
// One tick of one message box: the text scrolls to its page, long text pages
// on Return, the selection moves among the items (in one column or a grid)
// and glides there, the item list follows it, and a number input steps.
#include <cstdint>

#include "data/project_state.h"

namespace kiv {

// The player whose menu keys drive the boxes: the current player. With no
// such player an idle one that presses nothing.
Player& MenuPlayer();

// A press counts when its key is down and its latch has not yet been set
// by an earlier action on the same press.
bool AcceptPressed(const Player& player);
bool CancelPressed(const Player& player);

// Does nothing unless the box is shown; ms is the tick's time.
void UpdateMessageBox(std::int32_t index, std::int32_t ms);

// Wraps the text of a number or typed input into the box's input glyphs.
void LayOutInput(std::int32_t index);

}  // namespace kiv
