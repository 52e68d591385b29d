#pragma once
// The "Drawing Fields" step of map drawing: every field of an interface in
// list order, in normal frames and in the pick passes, with the text,
// object-picture, static-effect and view kinds; the value kinds are
// value_fields.h's.
#include <cstdint>

#include "render/map_view.h"

namespace kiv {

struct Field;

// Draws the fields of interface map, whose view starts at (x, y) and is width
// x height pixels (-1 each: the whole back buffer), with the map's view record.
// Nothing for a map that is not an interface, nor outside a pick pass while the
// alpha of the interface's ambient colour is 0.
void DrawFields(std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                const MapView& view);

// The last glyph of a text field's laid-out text that shows now: all of it,
// or with typing mode 1 the glyphs typed in its animation time at
// textInterval ms each. -1 for a field without laid-out text.
std::int32_t LastGlyphShown(const Field& field);

// A text field has shown all its text (at once, or typed to the last glyph);
// true for an index outside the maps or their fields.
bool FieldTextShown(std::int32_t map, std::int32_t field);

}  // namespace kiv
