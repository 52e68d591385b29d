#pragma once
// Small operations on fields and lights of a map: the per-state values of a
// field from the project's style presets, the copy of a field's state into its
// live values down its tree of child fields, the placement of an interface
// field for the current screen, and the four lights of a drawn cell.
#include <array>
#include <cstdint>
#include <vector>

#include "data/map_record.h"

namespace kiv {

// Fills the per-state colours of a field of style 1 to 4 from the presets.
void SetFieldStateDefaults(Field& field);

// Copies field f's current state into its live values (unless its style is 5)
// and passes its state on to the child fields whose state differs.
void ApplyFieldState(Map& map, std::int32_t f);
// The same for a field whose only children are those listed (ascending) and
// which have no children themselves, as a freshly spawned list item: it reads
// no other field, so it costs nothing for the size of the interface.
void ApplyFieldStateToFamily(Map& map, std::int32_t f, const std::vector<std::int32_t>& children);

// True when screen layout k has a placement for field f, which then takes it.
bool ApplyLayoutToField(Map& map, std::int32_t f, std::int32_t k);

// Moves (and for stretched fields sizes) field f from the interface's design
// size to the current one, snapping x and y to multiples of 8.
void RescaleFieldToScreen(Map& map, std::int32_t f);

// The setting of one of the four device lights of a cell.
struct CellLight {
  bool enabled = false;
  // Fixed-function light: point light at the position, colour and range.
  float x = 0.0f, y = 0.0f, z = 0.0f;
  std::array<float, 3> diffuse{};
  float range = 0.0f;
  // Generated shaders: vertex constant 20 + i and pixel constant 4 + i.
  std::array<float, 4> vertexConstant{1.0f, 1.0f, 1.0f, 1.0f};
  std::array<float, 4> pixelConstant{};
};

// The four lights of a cell from its light indexes (-1 none). With shaders the
// falloff 1 / (s r)^2 of each light is stored in it, s the world scale. A light
// of radius 0 or less (or an index outside the list) gives no light.
std::array<CellLight, 4> EnableCellLights(Map& map, const std::array<std::int32_t, 4>& cellLights,
                                          float worldScale);

}  // namespace kiv
