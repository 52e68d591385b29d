#pragma once
// Solid axis-aligned boxes for the map drawing: 36 coloured vertices, six
// faces of two triangles, ready for one triangle-list draw.
#include <array>
#include <cstdint>

#include "media/vertex_records.h"

namespace kiv {

struct ColorPair {
  std::uint32_t diffuse = 0;
  std::uint32_t specular = 0;
};

// The colour pairs are given for the faces in the planes x, y + h, x + w, y,
// z and z + d; the output begins with the z face.
std::array<ColoredVertex, 36> ShapeBuildBox(float x, float y, float z, float w, float h, float d, float su,
                                            float sv, const std::array<ColorPair, 6>& colors);

}  // namespace kiv
