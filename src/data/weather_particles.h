#pragma once
// The screen-space weather of a map: clouds and raindrops placed by the
// weather placement and moved every tick by the Cloud and Rain systems.
#include <cstdint>

#include "data/sprite_records.h"

namespace kiv {

struct CloudParticle {
  float x = 0.0f;  // screen pixels
  float y = 0.0f;
  float speed = 0.0f;    // pixels per ms along the wind
  std::int32_t age = 0;  // ms; the animation clock of its sprite
  std::int32_t spriteSet = -1;
  SpriteInstance sprite;  // frame-delay state
  std::uint32_t color = 0;      // ARGB: the map's ambient colour with a random alpha
  float variation = 1.0f;       // 1 - Rnd x the map's cloud variation
  std::uint8_t mirrorB = 0;     // 0 or 1
  std::uint8_t mirrorA = 0;     // 0 or 1; drawing passes it as the first mirror flag
};

struct RainParticle {
  float x = 0.0f;  // screen pixels
  float y = 0.0f;
  float speed = 0.0f;    // x 50 pixels per ms down the screen
  std::int32_t age = 0;  // ms; the animation clock of its sprite
  SpriteInstance sprite;  // of the map's rain sprite set
  std::uint32_t color = 0;  // ARGB
  float size = 1.0f;        // drawn as the sprite's scale on all three axes
  float sway = 0.0f;        // radians, added to the drop's drawing angle
};

}  // namespace kiv
