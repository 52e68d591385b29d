#include "player/character_movement.h"

#include "player/character_motion_steps.h"
#include "player/character_world.h"
#include "player/input_system.h"
#include "player/message_boxes.h"

namespace kiv {

bool DrivingAllowed(const Actor& a) { return Owner(a) < 0 || (messageBoxState == 0 && !AnyGameBoxShown()); }

void MoveCharacter(CharacterTurn& turn) {
  Actor* a = TurnActor(turn);
  if (a == nullptr) return;
  MotionWork work;
  work.x = a->x;
  work.y = a->y;
  work.z = a->z;
  work.heading = a->heading;
  if (turn.alive && !RunGridStepping(turn, work)) return;
  a = TurnActor(turn);
  if (a == nullptr) return;
  if (turn.alive && StepLeft(*a) < 1 && IsActive(*a) && DrivingAllowed(*a)) {
    RunDriving(turn, work);
  } else {
    characterWorld.ClearCharacterMotion(*a);
  }
  RunFreeMotion(turn, work);
}

}  // namespace kiv
