#include "world/character_motion.h"

namespace kiv {

void ClearCharacterMotion(Actor& actor) {
  actor.movementX = 0.0f;
  actor.movementY = 0.0f;
  actor.movementZ = 0.0f;
  actor.keyForward = 0.0f;
  actor.keyTurning = 0.0f;
  actor.keyStrafing = 0.0f;
  actor.keyRising = 0.0f;
}

}  // namespace kiv
