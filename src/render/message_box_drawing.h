#pragma once
// The message boxes drawn over the frame: a 9-slice window skin, typed text
// revealed at the player's text speed page by page, an input line, a grid of
// items with a selection cursor and the speaker's portrait in box 0.
#include <cstdint>

#include "player/message_boxes.h"

namespace kiv {

// The project's message colours, ARGB: entries 2.. of the stored message-box
// defaults.
struct MessageColours {
  std::uint32_t textTop, textBottom, textShadow;
  std::uint32_t itemTop, itemBottom, itemFrame;
  std::uint32_t selectedTop, selectedBottom, selectedFrame;
  std::uint32_t input;  // the input line's text
};
MessageColours CurrentMessageColours();

// Draws boxes 0 to 49 in index order and advances their typing.
void DrawMessageBoxes();

// Draws and advances one box; the caller binds nothing.
void DrawMessageBox(std::int32_t index, MessageBox& box);

// A 9-slice window of (columns + 1) x (rows + 1) pieces of pieceSize pixels
// whose 3 x 3 source cells of cellSize start at (u, v); flushes the screen batch.
void DrawWindowSkin(float x, float y, float columns, float rows, float pieceSize, float u, float v, float cellSize,
                    std::uint32_t color);

// The portrait layers of a character filling a screen rectangle.
void DrawActorPortrait(std::int32_t map, std::int32_t actor, float x, float y, float width, float height,
                       std::uint32_t color);

}  // namespace kiv
