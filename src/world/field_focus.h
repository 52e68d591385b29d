#pragma once
// Interfaces as menus: the selected field of each interface, moving the
// selection with direction keys, activating a field, showing and hiding
// interfaces as overlays, the player's own interface with its input sets, and
// scrolling the fields so that a field stays inside the scroll region.
#include <cstdint>

namespace kiv {

// Directions of NavigateFields: 0 left, 2 up, 4 right, 6 down, 8 the given field.
inline constexpr std::int32_t kNavigateLeft = 0;
inline constexpr std::int32_t kNavigateUp = 2;
inline constexpr std::int32_t kNavigateRight = 4;
inline constexpr std::int32_t kNavigateDown = 6;
inline constexpr std::int32_t kNavigateToField = 8;

// Selects a field of the map (-1 deselects). With a cursor field that glides
// (speed above 0) and noGlide false, the selection is announced when the
// cursor arrives; otherwise at once.
void SelectField(std::int32_t map, std::int32_t field, bool noGlide);

// Activates a field: its activation event and its actions (hide, show or open
// an interface as the player's), or only the disabled event.
void ActivateField(std::int32_t map, std::int32_t field);

// Shows or hides a map as an overlay; capturesFocus is stored either way.
void SetMapActive(std::int32_t map, bool show, std::int32_t capturesFocus);

// Makes an interface the player's current interface (-1: back to the world)
// and swaps the current player's input sets accordingly.
void SetPlayerInterface(std::int32_t map);

// Moves the selection one step in a direction, wrapping at the ends; with
// direction 8 selects the given field. Raises -1 for any other direction.
void NavigateFields(std::int32_t map, std::int32_t direction, bool noGlide, std::int32_t field);

// Scrolls the map's scrolling fields so that the field lies inside the scroll
// region (nothing without a region).
void KeepFieldInScrollRegion(std::int32_t map, std::int32_t field);

// Moves a field and its children that do not scroll by (dx, dy).
void MoveFieldTree(std::int32_t map, std::int32_t field, std::int32_t dx, std::int32_t dy);

}  // namespace kiv
