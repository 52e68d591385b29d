#include "media/box_shapes.h"

namespace kiv {
namespace {

struct Face {
  int corners[6];
  int colorPair;  // index into the caller's colour pairs
};

// Output order: planes z, x, z + d, x + w, y + h, y.
constexpr Face kFaces[6] = {
    {{3, 0, 1, 1, 2, 3}, 4}, {{0, 4, 5, 5, 1, 0}, 0}, {{4, 7, 6, 6, 5, 4}, 5},
    {{7, 3, 2, 2, 6, 7}, 2}, {{6, 2, 1, 1, 5, 6}, 1}, {{7, 4, 0, 0, 3, 7}, 3},
};

}  // namespace

std::array<ColoredVertex, 36> ShapeBuildBox(float x, float y, float z, float w, float h, float d, float su,
                                            float sv, const std::array<ColorPair, 6>& colors) {
  const float cx[8] = {x, x, x + w, x + w, x, x, x + w, x + w};
  const float cy[8] = {y, y + h, y + h, y, y, y + h, y + h, y};
  const float cz[8] = {z, z, z, z, z + d, z + d, z + d, z + d};
  const float tu[6] = {su, 0, 0, 0, su, su};
  const float tv[6] = {sv, sv, 0, 0, 0, sv};

  std::array<ColoredVertex, 36> out{};
  for (int f = 0; f < 6; ++f) {
    const ColorPair& pair = colors[static_cast<std::size_t>(kFaces[f].colorPair)];
    for (int i = 0; i < 6; ++i) {
      const int c = kFaces[f].corners[i];
      ColoredVertex& v = out[static_cast<std::size_t>(f * 6 + i)];
      v.x = cx[c];
      v.y = cy[c];
      v.z = cz[c];
      v.diffuse = pair.diffuse;
      v.specular = pair.specular;
      v.tu = tu[i];
      v.tv = tv[i];
    }
  }
  return out;
}

}  // namespace kiv
