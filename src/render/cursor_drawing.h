#pragma once
// The pointer's sprite, drawn last in every normal frame.
#include "data/sprite_records.h"

namespace kiv {

// The cursor sprite's frame-delay state, kept from frame to frame.
extern SpriteInstance cursorSpriteInstance;

// Draws input state 0's cursor sprite at the pointer in screen space, coloured
// by its cursor colour, animated by the play time. No sprite (-1): nothing.
void DrawCursor();

}  // namespace kiv
