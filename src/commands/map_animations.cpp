// Sprite and effect animations played once on a map or interface: a
// projectile record of the explosion kind that the map systems run to the end
// of its animation and then remove (or hold on its last frame).
#include "commands/map_command_table.h"
#include "data/game_data.h"
#include "data/sprite_instance.h"
#include "data/sprite_set_queries.h"
#include "script/script_convert.h"
#include "script/script_lookups.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

// Motion mode of a projectile that neither moves on hits nor stops at them:
// what a spent weapon projectile becomes when it turns into its explosion.
constexpr std::uint8_t kAnimationMotionMode = 3;

float SingleArgument(const InternalCall& call, std::int32_t i) { return static_cast<float>(VarToDouble(call.Argument(i))); }

// Fills the record in the order the three commands share; the caller sets
// the scales, speed, heading, colour and keep flag.
Projectile& Append(InternalCall& call, std::int32_t map, std::int32_t spriteSet) {
  Projectile p;
  p.owner = -1;
  p.spriteSet = spriteSet;
  SetObjectSprite(p.sprite, spriteSet);
  if (spriteSet >= 0) p.collisionShape = SpriteSetCollisionShape(spriteSet);
  p.explosionSpriteSet = -1;
  p.x = SingleArgument(call, 1);
  p.y = SingleArgument(call, 2);
  // On an interface the third coordinate says whether the animation is drawn in front.
  p.z = gameData.maps[map].isInterface ? (call.ArgumentBoolean(3) ? 1.0f : 0.0f) : SingleArgument(call, 3);
  p.remainingRange = 1.0f;
  p.scaleX = SingleArgument(call, 4);
  p.kind = kProjectileExplosion;
  p.motionMode = kAnimationMotionMode;
  p.item = -1;
  std::vector<Projectile>& list = gameData.maps[map].projectiles;
  list.push_back(std::move(p));
  return list.back();
}

// PlaySprite and PlayEffect2: one scale, a colour, speed, rotation, keep flag.
void PlayUniform(InternalCall& call, std::int32_t map, std::int32_t spriteSet) {
  const float scale = SingleArgument(call, 4);
  const std::int32_t colour = call.ArgumentLong(5);
  const float speed = SingleArgument(call, 6);
  const float heading = ScriptConvertRotation(call.Argument(7), true);
  const bool keep = call.ArgumentBoolean(8);
  Projectile& p = Append(call, map, spriteSet);
  p.scaleY = scale;
  p.scaleZ = scale;
  p.specular = colour;
  p.speed = speed;
  p.heading = heading;
  p.holdLastFrame = keep ? 1 : 0;
}

void PlaySprite(InternalCall& call, std::int32_t map) {
  const std::int32_t set = VarToLong(ScriptLookupSprite(call.ArgumentText(0), -1, true, false).value);
  PlayUniform(call, map, set);
}

void PlayEffect2(InternalCall& call, std::int32_t map) {
  const std::int32_t set = VarToLong(ScriptLookupEffect(call.ArgumentText(0), true, false).value);
  PlayUniform(call, map, set);
}

void PlayEffect(InternalCall& call, std::int32_t map) {
  const std::int32_t set = VarToLong(ScriptLookupEffect(call.ArgumentText(0), true, false).value);
  const float scaleY = SingleArgument(call, 5);
  const float scaleZ = SingleArgument(call, 6);
  const float speed = SingleArgument(call, 7);
  const float heading = ScriptConvertRotation(call.Argument(8), true);
  const bool keep = call.ArgumentBoolean(10);
  Projectile& p = Append(call, map, set);
  p.scaleY = scaleY;
  p.scaleZ = scaleZ;
  p.specular = -1;
  p.speed = speed;
  p.heading = heading;
  p.holdLastFrame = keep ? 1 : 0;
}

constexpr MapCommand kAnimations[] = {
    {"PlaySprite", PlaySprite},
    {"PlayEffect", PlayEffect},
    {"PlayEffect2", PlayEffect2},
};

}  // namespace

std::span<const MapCommand> MapAnimationCommands() { return kAnimations; }

}  // namespace kiv
