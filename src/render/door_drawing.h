#pragma once
// Doors as upright textured quads whose corners move with the open style and
// amount, and the images of held items drawn at a sprite's holding point.
#include <array>
#include <cstdint>
#include <vector>

#include "data/sprite_records.h"
#include "media/vertex_records.h"

namespace kiv {

// Open styles.
enum DoorStyle : std::int32_t {
  kDoorNone = 0,
  kDoorRotateLeft = 1,
  kDoorRotateRight = 2,
  kDoorRotateLeftUp = 3,
  kDoorRotateLeftDown = 4,
  kDoorRotateRightUp = 5,
  kDoorRotateRightDown = 6,
  kDoorSqueezeLeft = 7,
  kDoorSqueezeUp = 8,
  kDoorSqueezeRight = 9,
  kDoorSqueezeDown = 10,
  kDoorHideLeft = 11,
  kDoorHideUp = 12,
  kDoorHideRight = 13,
  kDoorHideDown = 14,
  kDoorSlideLeft = 15,
  kDoorSlideUp = 16,
  kDoorSlideRight = 17,
  kDoorHideSplitVertical = 18,
  kDoorHideSplitHorizontal = 19,
  kDoorSlideSplitHorizontal = 20,
};

// One quad's corners: bottom-left, top-left, bottom-right, top-right (x along
// the door's width, z up its height).
using DoorQuad = std::array<ColoredVertex, 4>;

struct DoorShape {
  float x = 0, y = 0, z = 0;
  float u1 = 0, v1 = 0, u2 = 1, v2 = 1;  // left and right u, top and bottom v
  std::int32_t style = kDoorNone;
  float amount = 0;  // 0 closed, 1 open; negative swings the other way
  bool mirrorU = false, mirrorV = false;
  bool flatPass = false;  // laid onto the map plane
  float width = 32, height = 64;
};

// The door's quads with positions and texture coordinates (colours left 0).
std::vector<DoorQuad> BuildDoorQuads(const DoorShape& door);

void DrawDoor(std::int32_t doorSet, float x, float y, float z, float u1, float v1, float u2, float v2,
              std::uint32_t colour, std::uint32_t overlayColour, std::uint32_t specular, std::int32_t openStyle,
              float openAmount, bool mirrorU, bool mirrorV, bool flatPass, std::int32_t width, float height);

// The image direction drawn for a wanted one: d, d - 1, d + 1, d - 2, ...;
// -1 when the item has no image.
std::int32_t NearestItemImage(std::int32_t item, std::int32_t direction);

void DrawHeldItem(const FramePart& holdingPoint, std::int32_t direction, std::int32_t item, float x, float y,
                  float z, float scaleX, float scaleY, float scaleZ, std::uint32_t colour, std::uint32_t lightColour,
                  std::uint32_t pickColour);

}  // namespace kiv
