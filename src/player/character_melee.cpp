#include "mathkiv/collision.h"
#include "player/character_action.h"
#include "player/character_motion_steps.h"
#include "player/character_timers.h"
#include "player/character_world.h"

namespace kiv {

void StrikeMelee(CharacterTurn& turn) {
  Actor* a = TurnActor(turn);
  if (a == nullptr || !turn.alive) return;
  std::int32_t item = -1;
  Box box;
  if (!AdvanceMeleeAttack(*a, turn.elapsed, item, box)) return;
  CollisionShape shape;
  CollisionBox rect;
  rect.left = box.left;
  rect.top = box.top;
  rect.right = box.right;
  rect.bottom = box.bottom;
  rect.front = box.front;
  rect.back = box.back;
  shape.rectangles.push_back(rect);
  // Not an explosion: the attacker is spared.
  characterWorld.ApplyAreaDamage(turn.map, shape, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, turn.actor, 0, item, -1,
                                 false);
  ResetCollision(shape);
}

}  // namespace kiv
