#pragma once
// The smaller object records of a map: doors, zones, pick-ups, lights,
// speakers, spawns, positioned texts and the projectiles of saves. Actors and
// fields have headers of their own.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/identifier.h"
#include "core/record_codecs.h"
#include "data/actor_record.h"
#include "data/lists.h"
#include "data/script_record.h"
#include "data/spawn_record.h"
#include "data/sprite_records.h"

namespace kiv {

// A reference to a map by index, name and identifier: -1 none, -2 resolve by
// name (or not found), -3 any map, -4 resolve by identifier.
struct MapTarget {
  std::int32_t index = -1;
  std::u16string name;
  Identifier id;
};

inline constexpr std::size_t kDoorScriptCount = 10;
inline constexpr std::size_t kPatternLength = 128;

struct Door {
  std::u16string name;
  std::u16string displayName;
  std::uint8_t byte1 = 0;
  std::int32_t value1 = -1;  // white until a file or save gives the colour
  std::int32_t value2 = 0;
  std::uint8_t byte2 = 0;
  std::uint8_t byte3 = 0;
  float openAmount = 0.0f;  // 0 closed .. 1 open
  float openAmountShown = 0.0f;
  float openAmount2 = 0.0f;  // saves only; else the open amount
  std::uint8_t openStyle = 0;
  float x = 0.0f, y = 0.0f, z = 0.0f;
  std::uint8_t byte4 = 0;
  std::int32_t value3 = 0;
  std::int32_t value4 = 0;
  std::int32_t doorSet = -1;  // -1 none, -2 not found
  Identifier doorSetId;
  std::uint8_t byte5 = 0;
  std::uint8_t byte6 = 0;
  MapTarget target;
  std::array<std::int32_t, 2> targetValues{16, 16};
  std::int32_t value5 = 0;
  std::array<Script, kDoorScriptCount> scripts;
  std::uint8_t byte7 = 0;
  std::uint8_t byte8 = 0;
  std::u16string text;
  std::int32_t item = -1;  // -1 none, -2 not found
  Identifier itemId;
  std::int32_t value6 = 0;
  std::int32_t value7 = 0;  // saves only
  CollisionShape collisionShape;
  std::int32_t openTimeLeft = 0;  // ms before the open door closes; run time, never stored

  // How the door is drawn besides its stored fields (data/door_fields.h);
  // the reader leaves these as they start.
  std::uint8_t mirrorU = 0, mirrorV = 0;
  std::uint8_t fullBright = 0;  // not lit by the map's light grid

  // The no-rectangle byte: an inactive door neither collides nor is hit.
  std::uint8_t& Inactive() { return byte6; }
  std::uint8_t Inactive() const { return byte6; }
};

struct Zone {
  std::u16string name;
  std::u16string displayName;
  CollisionShape shape;      // working shape: flat extents open to +-100000
  CollisionShape keptShape;  // as read
  std::uint8_t byte1 = 0;
  MapTarget target;
  std::array<std::int32_t, 2> targetValues{16, 16};
  std::int32_t value1 = 0;
  std::uint8_t byte2 = 0;
  std::vector<TemplateFlag> templateFlags;
  std::vector<Trigger> triggers;
  std::uint8_t saveByte = 0;  // saves only

  // The no-rectangle byte (a disabled zone is neither touched nor hit) and the
  // block byte.
  std::uint8_t& Disabled() { return byte1; }
  std::uint8_t Disabled() const { return byte1; }
  std::uint8_t& Blocking() { return byte2; }
  std::uint8_t Blocking() const { return byte2; }
};

struct PickUp {
  float x = 0.0f, y = 0.0f, z = 0.0f;
  std::uint32_t color = 0;  // ARGB
  std::uint8_t flag1 = 0;
  std::array<std::int32_t, 2> values1{};
  std::uint8_t flag2 = 0;
  std::array<std::int32_t, 2> values2{};
  std::int32_t respawnTime = 0;  // ms; 0 never respawns
  std::int32_t respawnCountdown = 0;
  std::array<InventoryEntry, 2> items;  // only the first entry's identifier is stored
  std::int64_t money = 0;
  std::array<std::int32_t, 2> values3{};
  std::int32_t spriteSet = -1;  // -2 resolve by identifier
  Identifier spriteSetId;
  SpriteInstance sprite;
  std::int32_t runValue = 0;
  CollisionShape collisionShape;

  // How the pick-up is drawn; the reader leaves these as they start.
  std::uint8_t hidden = 0;
  std::uint8_t mirrorV = 0, mirrorH = 0;
  std::uint8_t fullBright = 0;  // not lit by the map's lights
  std::uint32_t secondColor = 0;

  // Taken and not back yet: taking starts the respawn countdown (0x7FFFFDFF
  // for one that never comes back) and the Pick-Up System ends it when the
  // pick-up is present again. Collision, path painting, sight lines, taking
  // and drawing all ask this one state.
  bool Taken() const { return respawnCountdown >= 1; }
  // Whether it stands in the way of movement, paths and sight lines: a present
  // pick-up with an item, unless its first flag byte lets walkers through
  // (pick-ups added while the game runs set it).
  bool Blocks() const { return !Taken() && flag1 == 0 && items[0].item >= 0; }
};

struct Light {
  std::u16string name;
  std::u16string displayName;
  float x = 0.0f, y = 0.0f, z = 0.0f;
  std::int32_t radius = 0;  // script Radius
  // The directions lit, radians: around the vertical axis from horizontalFrom
  // to horizontalTo, and in the vertical plane from verticalFrom to
  // verticalTo; a range whose start lies above its end wraps through 0.
  float horizontalFrom = 0.0f;
  float horizontalTo = 0.0f;
  float verticalFrom = 0.0f;
  float verticalTo = 6.2831855f;
  std::uint8_t enabled = 0;  // script On
  std::uint8_t red = 0, green = 0, blue = 0;
  std::array<std::uint8_t, kPatternLength> pattern{};
  float appliedIntensity = 1.0f;
  float currentIntensity = 1.0f;
  std::int32_t cycleLength = 0;  // ms; 0 no pattern
  std::int32_t patternTime = 0;
  float edgeIntensity = 0.0f;  // share of the full intensity left at the radius
  std::uint8_t subtractive = 0;  // non-zero: the light darkens
  // Points nearer than this (squared) are lit without a trace for obstacles;
  // map loading sets it from nearestBlockedSquared once the first light map is made.
  float clearDistanceSquared = 0.0f;
  // The nearest obstacle met by a light map's traces, squared, less 2048.
  float nearestBlockedSquared = 1.0f;
  // 1 / (scale x radius)^2, written when the cell lights are enabled for the shaders.
  float shaderFalloff = 0.0f;
};

struct Speaker {
  std::u16string name;
  std::u16string displayName;
  std::uint8_t enabled = 0;
  float x = 0.0f, y = 0.0f, z = 0.0f;
  std::int32_t radius = 0;
  float startAngle = 0.0f, endAngle = 0.0f;
  std::int32_t soundSet = -1;  // -1 none, -2 not found; script Sound
  Identifier soundSetId;
  std::array<std::uint8_t, kPatternLength> pattern{};
  float volumeFactor = 1.0f;
  std::int32_t cycleLength = 0;
  std::int32_t patternTime = 0;
  float focus = 0.0f;
  // Playing state, as the sound layer's speaker record carries it.
  std::uint32_t channel = 0;
  std::int32_t variation = 0;
  std::uint8_t playing = 0;
};

struct PositionedText {
  std::int32_t value1 = 0;
  std::int32_t value2 = 0;
  float x = 0.0f, y = 0.0f, z = 0.0f;
  std::u16string text;
};

// A projectile in flight; only saves store them (97 bytes each). The members
// stand in the order of the save record; the weapon code fills them at launch
// and the Bullet System flies them.
//
// How the names fit the record. The launch copies its values in this order:
// speed, sprite set, explosion sprite set, hit sound, kind, damage phase,
// item, damage, damage interval, motion mode, hold, charge trigger, turn rate,
// homing range, heading, owner, position, scale, link, current zone,
// remaining range, vertical speed. The save slots that this order leaves
// open were settled as follows:
// - the two Longs "given at launch" are the item and the owner (the only two
//   that the launch takes from its caller rather than from the item);
// - the Long that is -1 at launch is the current zone; the link is not stored;
// - the launch names two item bytes after the damage: the copy of the item's
//   stand-to-fire byte is the motion mode, the copy of its kind flag is the
//   charge trigger (the kind is 4 exactly when that flag is set); the hold
//   byte takes the one remaining byte slot that is not copied from the item;
// - the sub-kind that the launch copies right after the kind is the damage
//   phase, so "kind 4 with sub-kind 2" is a charge that deals damage only as
//   its explosion;
// - of the two item Singles with no float slot left, the turn rate takes the
//   float slot 27 and the vertical speed the last 32-bit slot (same 4 bytes).
struct Projectile {
  float x = 0.0f, y = 0.0f, z = 0.0f;
  float heading = 0.0f;             // radians
  float speed = 0.0f;               // px per ms; a charge's fuse (ms left)
  std::int32_t item = -1;           // weapon item whose damage applies, -1 the owner's first equipped
  std::int32_t owner = -1;          // character that fired it (FiringActor), -1 none
  float remainingRange = 0.0f;      // px; spent at 0 or less (LifeLeft, the item's Range)
  std::int32_t age = 0;             // ms; also the animation time (ElapsedMs)
  std::int32_t currentZone = -1;    // zone it is in (ProjectileZone), -1 none
  std::int32_t spriteSet = -1;      // the sprite shown now
  std::int32_t explosionSpriteSet = -1;  // what it turns into when spent, -1 none
  std::uint8_t kind = 0;            // 4 charge, 99 explosion, else flying
  std::uint8_t damagePhase = 0;     // SubKind; stored in a 4-byte slot
  std::int32_t damage = 0;
  std::int32_t damageInterval = 0;  // ms
  std::uint8_t motionMode = 0;      // copy of the item's StandToFire byte
  std::uint8_t holdLastFrame = 0;   // an ended explosion stays on its last frame
  std::int32_t specular = 0;        // ARGB specular colour of its sprite
  float scaleX = 1.0f, scaleY = 1.0f, scaleZ = 1.0f;
  std::uint8_t triggered = 0;       // charges: 0 waiting, 1 fuse or proximity, 2 remote
  std::int32_t homingRange = 0;     // px
  std::int32_t hitSound = -1;       // played once where it is spent, -1 none
  std::uint8_t chargeTrigger = 0;   // copy of the item's ProjectileKindFlag: 1 fuse then proximity, 2 remote, 3 fuse
  float turnRate = 0.0f;            // radians per ms
  float verticalSpeed = 0.0f;       // px per ms; 0 ignores gravity
  // Run time, not stored.
  std::int32_t link = -1;
  SpriteInstance sprite;
  CollisionShape collisionShape;
};

// Kind values the Bullet System and the weapon code share.
inline constexpr std::uint8_t kProjectileCharge = 4;
inline constexpr std::uint8_t kProjectileExplosion = 99;

// The weapon code's names for the launch copies.
inline std::uint8_t& ProjectileSubKind(Projectile& p) { return p.damagePhase; }
inline std::uint8_t& ProjectileStandToFire(Projectile& p) { return p.motionMode; }
inline std::uint8_t& ProjectileKindFlag(Projectile& p) { return p.chargeTrigger; }

// What projectile drawing calls the projectile's fields.
inline std::int32_t ProjectileAnimationTime(const Projectile& p) { return p.age; }  // ms
inline std::uint32_t ProjectileSpecular(const Projectile& p) { return static_cast<std::uint32_t>(p.specular); }

}  // namespace kiv
