#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/angles.h"
#include "core/log.h"
#include "core/math_util.h"
#include "core/random.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "data/item_fields.h"
#include "data/set_lookups.h"
#include "data/sprite_instance.h"
#include "script/call_frame.h"
#include "script/script_hooks.h"
#include "world/holding_point.h"
#include "world/combat_targets.h"
#include "world/item_sounds.h"
#include "world/weapons.h"

namespace kiv {

namespace {

constexpr std::int32_t kItemUsedEvent = 1;

const Actor* ShooterOf(std::int32_t map, std::int32_t shooter) {
  if (map < -1 || map > gameData.maps.LastIndex()) return nullptr;
  const std::vector<Actor>& actors = gameData.maps[map].actors;
  if (shooter < 0 || static_cast<std::size_t>(shooter) >= actors.size()) return nullptr;
  return &actors[static_cast<std::size_t>(shooter)];
}

void RunUseScript(std::int32_t map, std::int32_t item, std::int32_t shooter, std::int32_t parent) {
  TriggerRun run;
  run.ownerKind = kOwnerItem;
  run.ownerIndex = item;
  run.subIndex = kItemUsedEvent;
  run.map = map;
  run.relateActor = shooter;
  run.relateItem = parent;
  scriptHooks.RunTrigger(run);
}

// The item's values that every projectile of one use copies.
Projectile ProjectileTemplate(const Item& it, std::int32_t item, std::int32_t shooter) {
  Projectile p;
  p.speed = ItemProjectileSpeed(it);
  p.spriteSet = ItemProjectileSprite(it);
  SpriteSetFirstCollisionShape(p.spriteSet, p.collisionShape);
  p.explosionSpriteSet = ItemExplosionSprite(it);
  p.hitSound = ItemProjectileHitSound(it);
  p.kind = ItemProjectileKindFlag(it) != 0 ? kProjectileCharge : 0;
  ProjectileSubKind(p) = ItemProjectileSubKind(it);
  p.item = item;
  p.damage = ItemProjectileDamage(it);
  p.damageInterval = ItemProjectileDamageInterval(it);
  ProjectileStandToFire(p) = ItemStandToFire(it);
  ProjectileKindFlag(p) = ItemProjectileKindFlag(it);
  p.turnRate = ItemProjectileTurnRate(it);
  p.homingRange = ItemProjectileHomingRange(it);
  p.owner = shooter;
  p.scaleX = p.scaleY = p.scaleZ = 1.0f;
  p.link = -1;
  p.currentZone = -1;
  p.remainingRange = static_cast<float>(ItemRange(it));
  p.verticalSpeed = ItemProjectileVerticalSpeed(it);
  return p;
}

// Launches the weapon's own projectiles; false when its sprite is missing,
// which ends the whole launch.
bool LaunchOwnProjectiles(std::int32_t map, std::int32_t item, std::int32_t shooter, float angle, float rateFactor,
                          bool exact) {
  const Actor* a = ShooterOf(map, shooter);
  if (a == nullptr) return false;
  const std::array<std::int32_t, 3> hold = LaunchHoldingPoint(map, shooter, item);
  const float x = static_cast<float>(RoundToLong(static_cast<double>(a->scaleX) * hold[0] + a->x));
  const float y = static_cast<float>(RoundToLong(static_cast<double>(a->scaleY) * hold[1] + a->y));
  const float z = static_cast<float>(RoundToLong(static_cast<double>(a->scaleZ) * hold[2] + a->z));
  const Item& it = gameData.items[static_cast<std::size_t>(item)];
  const std::int32_t count = ProjectilesPerUse(item, rateFactor);
  if (count > 0 && ItemProjectileSprite(it) < 0) {
    ErrorLogAppend("\"" + Utf16ToAnsi(it.name) + "\" is missing projectile effect.");
    return false;
  }
  if (count <= 0) return true;
  const Projectile shape = ProjectileTemplate(it, item, shooter);
  std::vector<Projectile>& list = gameData.maps[map].projectiles;
  const std::size_t first = list.size();
  list.resize(first + static_cast<std::size_t>(count));
  const float spread = 1.0f - ItemAccuracy(it);
  // The new entries are filled from the end.
  for (std::size_t k = list.size(); k-- > first;) {
    Projectile& p = list[k];
    p = shape;
    SetObjectSprite(p.sprite, p.spriteSet);
    p.x = x;
    p.y = y;
    p.z = z;
    p.heading = exact ? angle
                      : angle + spread * (RandomSingle() * kPiOver4 - kPiOver8);
  }
  return true;
}

void Launch(std::int32_t map, std::int32_t item, std::int32_t shooter, std::int32_t parent, float angle,
            float rateFactor, bool exact, std::vector<std::int32_t>& followed) {
  if (item < 0 || static_cast<std::size_t>(item) >= gameData.items.size()) return;
  followed.push_back(item);
  {
    const Item& it = gameData.items[static_cast<std::size_t>(item)];
    const Actor* a = ShooterOf(map, shooter);
    if (a == nullptr) return;
    if (ItemAlertRadius(it) > 0)
      AlertCharactersInRange(map, shooter, a->x, a->y, static_cast<float>(ItemAlertRadius(it)));
  }
  RunUseScript(map, item, shooter, parent);
  {
    const Actor* a = ShooterOf(map, shooter);
    if (a == nullptr) return;
    const Item& it = gameData.items[static_cast<std::size_t>(item)];
    PlayItemSoundAt(ItemUseSound(it), a->x, a->y, a->z);
    if (ItemUseEffect(it) >= 0) AttachEffectAnimation(map, shooter, ItemUseEffect(it), false);
  }
  if (parent == -1 && !LaunchOwnProjectiles(map, item, shooter, angle, rateFactor, exact)) return;
  const std::int32_t ammo = ItemAmmoItem(gameData.items[static_cast<std::size_t>(item)]);
  if (ammo < 0 || ammo == item) return;
  for (std::int32_t seen : followed)
    if (seen == ammo) return;
  Launch(map, ammo, shooter, item, 0.0f, 1.0f, false, followed);
}

}  // namespace

std::int32_t ProjectilesPerUse(std::int32_t item, float rateFactor) {
  const Item& it = gameData.items[static_cast<std::size_t>(item)];
  const std::int64_t count = ItemProjectileCount(it);
  const std::int32_t delay = ItemFireDelay(it);
  std::int64_t extra = 0;
  if ((ItemFlags(it) & kItemAutomatic) != 0 && delay != 0) {
    const double whole = std::floor(static_cast<double>(rateFactor));
    const std::int64_t wholeDelays = static_cast<std::int64_t>(std::clamp(whole, -2147483648.0, 2147483647.0)) / delay;
    extra = wholeDelays * count;
  }
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(count + extra, -2147483648LL, 2147483647LL));
}

void LaunchProjectiles(std::int32_t map, std::int32_t item, std::int32_t shooter, std::int32_t parent, float angle,
                       float rateFactor, bool exact) {
  std::vector<std::int32_t> followed;
  Launch(map, item, shooter, parent, angle, rateFactor, exact, followed);
}

}  // namespace kiv
