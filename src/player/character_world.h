#pragma once
// PROVISIONAL: world operations the Character System calls; replaced by the shared contract.
#include <cstdint>
#include <functional>
#include <vector>

#include "data/actor_record.h"

namespace kiv {

struct CharacterWorldHooks {
  std::function<void(std::int32_t map, std::int32_t actor)> ResetActorCollision;
  std::function<bool(std::int32_t map, std::int32_t actor, bool allowDead)> IsCharacterCollidable;
  std::function<void(std::int32_t map, std::int32_t actor, std::int32_t area, float heading, float power,
                     bool exact, bool bypass)>
      TryFireCharacterWeapon;
  std::function<std::int32_t(std::int32_t map, std::int32_t actor)> CharacterMotionState;
  std::function<void(std::vector<Attachment>& list, std::int32_t elapsed)> ExpireEffectAnimations;
  std::function<bool(std::int32_t map, const CollisionShape& shape, float x, float y, float z, float rotationX,
                     float rotationY, float heading, std::int32_t owner, std::int32_t damage, std::int32_t item,
                     std::int32_t projectile, bool explosion)>
      ApplyAreaDamage;
  std::function<void(std::int32_t map, std::int32_t actor)> BeginCharacterTick;
  std::function<void(std::int32_t map, std::int32_t actor, bool alive)> MoveCharacter;
  std::function<void(std::int32_t map, std::int32_t actor)> CharacterWeaponsAndAction;
  std::function<void(std::int32_t map, std::int32_t actor)> CharacterContacts;
  std::function<void(std::int32_t map, std::int32_t actor)> TakeTouchedPickUps;
  std::function<void(std::int32_t map, std::int32_t index, std::int32_t delta, bool compacting)> ShiftCharacterRefs;
  std::function<void(std::int32_t map, std::int32_t index, std::int32_t delta, bool compacting)> ShiftFieldRefs;
  std::function<void(std::int32_t map, bool flag1, bool flag2, bool flag3)> ReloadMap;

  CharacterWorldHooks() { Reset(); }
  void Reset() {
    ResetActorCollision = [](std::int32_t, std::int32_t) {};
    IsCharacterCollidable = [](std::int32_t, std::int32_t, bool) { return false; };
    TryFireCharacterWeapon = [](std::int32_t, std::int32_t, std::int32_t, float, float, bool, bool) {};
    CharacterMotionState = [](std::int32_t, std::int32_t) { return 0; };
    ExpireEffectAnimations = [](std::vector<Attachment>&, std::int32_t) {};
    ApplyAreaDamage = [](std::int32_t, const CollisionShape&, float, float, float, float, float, float, std::int32_t,
                         std::int32_t, std::int32_t, std::int32_t, bool) { return false; };
    BeginCharacterTick = [](std::int32_t, std::int32_t) {};
    MoveCharacter = [](std::int32_t, std::int32_t, bool) {};
    CharacterWeaponsAndAction = [](std::int32_t, std::int32_t) {};
    CharacterContacts = [](std::int32_t, std::int32_t) {};
    TakeTouchedPickUps = [](std::int32_t, std::int32_t) {};
    ShiftCharacterRefs = [](std::int32_t, std::int32_t, std::int32_t, bool) {};
    ShiftFieldRefs = [](std::int32_t, std::int32_t, std::int32_t, bool) {};
    ReloadMap = [](std::int32_t, bool, bool, bool) {};
  }
};
inline CharacterWorldHooks characterWorld;

}  // namespace kiv
