#pragma once
// Plain records of the world and drawing code: rectangles and boxes in whole
// pixels, vectors and quaternions in 32-bit floats, and the row-vector 4x4
// matrices and viewport of the projection helper.
#include <cstdint>

namespace kiv {

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Box {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  std::int32_t front = 0;
  std::int32_t back = 0;
  friend bool operator==(const Box&, const Box&) = default;
};

struct Vector3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  friend bool operator==(const Vector3&, const Vector3&) = default;
};

// A rotation (x, y, z, w); identity is (0, 0, 0, 1).
struct Quaternion {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float w = 1.0f;
  friend bool operator==(const Quaternion&, const Quaternion&) = default;
};

// m[row][column]; points are row vectors multiplied on the left (p' = p * M),
// so the translation sits in row 3.
struct Matrix4 {
  float m[4][4] = {};
};

// The screen area a projection maps into; depth runs from MinZ to MaxZ.
struct Viewport {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  float MinZ = 0.0f;
  float MaxZ = 1.0f;
};

}  // namespace kiv
