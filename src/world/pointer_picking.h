#pragma once
// The pointer: the gesture path while the action button is held, the object
// under the pointer (a field of an interface, or a zone or character of a map
// shown through a view field), the hover and pressed targets, the mouse events
// of fields, zones and characters, the controls that fields stand for, and
// the activation of a clicked field.
#include <cstdint>

namespace kiv {

// Kinds of pointer targets.
inline constexpr std::int32_t kPointerZone = 2;
inline constexpr std::int32_t kPointerCharacter = 3;
inline constexpr std::int32_t kPointerField = 9;

// One geometric pick in one map: the point and the view rectangle it is shown
// in, and for a map (not an interface) the view field that shows it.
struct PickQuery {
  std::int32_t map = -1;
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t viewLeft = 0;
  std::int32_t viewTop = 0;
  std::int32_t viewWidth = 0;
  std::int32_t viewHeight = 0;
  std::int32_t viewMap = -1;    // the interface holding the view field
  std::int32_t viewField = -1;
  // The result.
  std::int32_t pickedMap = -1;
  std::int32_t pickedKind = 0;
  std::int32_t pickedIndex = -1;
};

// buttonChange: 0 once per frame, 1 the action button went down, -1 it went
// up. Only player 0 has a pointer; any other player raises 9.
void UpdatePointer(std::int32_t player, std::int32_t buttonChange);

// The pick colour under the pointer, drawing the pick image at most once per
// frame; 0 outside the back buffer or without a pick target.
std::uint32_t PickColourAtPointer(std::int32_t player);

// Geometric picking: fields front to back, then zones with mouse triggers,
// then visible characters by index.
bool PickAtPoint(PickQuery& query);

// Leaves the old hover target (its leave event, and the release of a field's
// control) and stores the new one.
void SetHoverTarget(std::int32_t player, std::int32_t map, std::int32_t kind, std::int32_t index);

}  // namespace kiv
