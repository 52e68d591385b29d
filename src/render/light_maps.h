#pragma once
// The light map of a map: the light colour at every tile corner of every
// layer (lightGrid) and, per tile cell, the at most four lights that reach
// its centre (cellLights). Lights reach a point when they are on, near enough,
// in their horizontal and vertical ranges and not blocked by a closed door or
// a boundary of the map.
#include <array>
#include <cstdint>

namespace kiv {

// Rebuilds the light map of one map (every map for -1). light -1 makes the
// grids anew and fills them; a light index recomputes only the corners it can
// reach and, with rebuildCellLists, the cell lists around it. Maps held only
// by identifier are left alone; a single light of a map whose grids were never
// made changes nothing.
void GenerateLighting(std::int32_t map, std::int32_t light, bool rebuildCellLists);

// The colour of the light at a point in pixels: the ambient colour plus or
// minus every light that reaches it; modulated by colour unless that is
// 0xFFFFFFFF. An unknown map or one without tiles gives colour unchanged.
std::uint32_t LightColorAt(std::int32_t map, float x, float y, float z, std::uint32_t colour);

// The first four lights (in the order of the sector's list) that reach the
// cell centre (x, y, z) within their radius plus 32, then -1.
void BuildCellLightList(std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t z,
                        std::array<std::int32_t, 4>& list);

}  // namespace kiv
