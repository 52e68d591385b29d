#include "core/angles.h"
#include "mathkiv/collision.h"
#include "player/character_action.h"
#include "player/character_motion_steps.h"
#include "player/character_world.h"

namespace kiv {

namespace {

// The footprint widened by the item's reaches: forward on the facing side,
// backward behind, sideways on both flanks.
Box StrikeBox(Box box, const Item& item, float heading) {
  const std::int32_t forward = ItemReachForward(item);
  const std::int32_t backward = ItemReachBackward(item);
  const std::int32_t sideways = ItemReachSideways(item);
  const std::int32_t d = AngleToDirection(heading);
  if (d == 0) {
    box.left -= forward;
    box.top -= sideways;
    box.right += backward;
    box.bottom += sideways;
  } else if (d >= 1 && d <= 3) {
    box.left -= sideways;
    box.top -= forward;
    box.right += sideways;
    box.bottom += backward;
  } else if (d == 4) {
    box.left -= backward;
    box.top -= sideways;
    box.right += forward;
    box.bottom += sideways;
  } else {
    box.left -= sideways;
    box.top -= backward;
    box.right += sideways;
    box.bottom += forward;
  }
  return box;
}

}  // namespace

void StrikeMelee(CharacterTurn& turn) {
  Actor* a = TurnActor(turn);
  if (a == nullptr || !turn.alive || AttackTime(*a) <= 0) return;
  const std::int32_t old = AttackTime(*a);
  AttackTime(*a) -= turn.elapsed;
  if (a->attackArea < 0 || static_cast<std::size_t>(a->attackArea) >= a->equipment.size()) return;
  const std::int32_t itemIndex = a->equipment[static_cast<std::size_t>(a->attackArea)].item;
  if (itemIndex < 0 || static_cast<std::size_t>(itemIndex) >= gameData.items.size()) return;
  const Item& item = gameData.items[static_cast<std::size_t>(itemIndex)];
  if (ItemReachForward(item) <= 0) return;
  // An attack without duration never strikes: its middle is not defined.
  const float duration = a->speedFactor * static_cast<float>(ItemAttackTime(item));
  if (duration == 0.0f) return;
  const float before = (duration - static_cast<float>(old)) / duration;
  const float after = (duration - static_cast<float>(AttackTime(*a))) / duration;
  if (!(before < 0.5f && after >= 0.5f)) return;

  Box footprint;
  characterWorld.ActorCollisionRectAt(*a, a->x, a->y, a->z, 0.0f, a->rotationY, a->heading, a->scaleX,
                                      a->scaleY, a->scaleZ, footprint);
  const Box box = StrikeBox(footprint, item, a->heading);
  CollisionShape shape;
  CollisionBox rect;
  rect.left = box.left;
  rect.top = box.top;
  rect.right = box.right;
  rect.bottom = box.bottom;
  rect.front = box.front;
  rect.back = box.back;
  shape.rectangles.push_back(rect);
  characterWorld.ApplyAreaDamage(turn.map, shape, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, turn.actor, 0,
                                 itemIndex, -1, false);
  ResetCollision(shape);
}

}  // namespace kiv
