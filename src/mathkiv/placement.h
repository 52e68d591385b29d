#pragma once
// How a collision shape is put into the world, and the segment of line tests.
#include <cstdint>

namespace kiv {

// The nine numbers of a placement: position in pixels, rotation in radians
// about the x, y and z axes (applied in that order; z is the height axis, so a
// heading is a rotation about z), and a scale factor per axis.
struct ShapePlacement {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float rotationX = 0.0f;
  float rotationY = 0.0f;
  float rotationZ = 0.0f;
  float scaleX = 1.0f;
  float scaleY = 1.0f;
  float scaleZ = 1.0f;
};

// A segment from pixel (x1, y1) to pixel (x2, y2) of a line test.
struct LineSegment {
  std::int32_t x1 = 0;
  std::int32_t y1 = 0;
  std::int32_t x2 = 0;
  std::int32_t y2 = 0;
};

}  // namespace kiv
