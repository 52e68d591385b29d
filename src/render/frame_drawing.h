#pragma once
// The frame: every shown interface in drawing order, then the notices, the
// message boxes and the cursor; also the drawing order of interfaces and which
// interface takes input, which the pointer and the scripts share.
#include <cstdint>

namespace kiv {

// 0 for a normal frame; 1 or 2 while the pointer picking has the frame drawn
// as a pick image (its caller sets and restores it).
extern std::int32_t pickPass;

// Draws one frame into the back buffer and presents it (not in a pick pass).
// drawingFrame is cleared again however the frame ends.
void DrawFrame();

// Map a comes before map b: smaller layer, then smaller order, then smaller index.
bool IsMapDrawnBefore(std::int32_t a, std::int32_t b);
// The shown interface after (before, when backwards) the map in drawing
// order; -1 asks for the first (last); -1 when there is none.
std::int32_t FindNextMapInOrder(std::int32_t map, bool backwards);
// The player's current interface takes input; one whose own block is set, or
// that lies under a shown exclusive one, does not.
bool IsMapInputActive(std::int32_t map);

// The loading logo, 256 x 256, centred, with alpha clamped to 0..1.
void DrawLoadingImage(float alpha, bool useDisplayMode);

// A colour channel 0..1 as a byte: 0 at or below 0, 255 at or above 1, else
// rounded half up.
std::uint32_t ChannelByte(float channel);
// The three colours of a notice of the given age: text, second, shadow.
void NoticeColors(std::int32_t age, std::uint32_t& text, std::uint32_t& second, std::uint32_t& shadow);

}  // namespace kiv
