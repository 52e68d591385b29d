#pragma once
// The record of every character, vehicle, turret and dynamic object of a map,
// interface, template or save, and its reader.
//
// A stored actor has a design part, which every file carries, and a run-time
// part, which only saves and the project state carry (withState). Without it
// the run-time fields are derived from the design part.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/byte_list.h"
#include "core/geometry.h"
#include "core/identifier.h"
#include "core/record_codecs.h"
#include "data/field_record.h"
#include "data/lists.h"
#include "data/script_record.h"
#include "data/spawn_record.h"
#include "data/sprite_records.h"

namespace kiv {

inline constexpr std::size_t kActorColorCount = 8;
inline constexpr std::uint32_t kNoColor = 0xFFFFFFFF;  // -1: no colour

// One appearance slot that an actor has: the sprite set that draws it and its colours.
// One sprite-set layer of a character's drawn stack, in drawing order.
struct CharacterLayer {
  std::int32_t layerSpriteSet = -1;
  std::uint32_t colour = 0xFFFFFFFF;
  std::int32_t order = 0;        // draw order of the sprite-set part
  std::int32_t colourIndex = 0;  // 0..7 for appearance layers, 0 for item layers
  std::int32_t value1 = 0;
  std::int32_t value2 = 0;
  std::int32_t source = 0;       // appearance slot, or the index of the item's sprite
  std::int32_t area = -1;        // equipment area; -1 for the character's own parts
  std::int32_t itemSprite = -1;  // item layers only
};

// Portraits show the layers whose tag matches the sprite set's portrait tag:
// one tinted image per colour index. A layer of the character's own parts
// takes the character's specular colour.
inline std::int32_t LayerTag(const CharacterLayer& l) { return l.colourIndex; }
inline std::int32_t LayerSpecularSource(const CharacterLayer& l) { return l.area; }

struct AppearancePart {
  std::int32_t spriteSet = -1;  // -1 none, -2 resolve by identifier
  Identifier spriteSetId;
  std::array<std::uint32_t, kActorColorCount> colors{kNoColor, kNoColor, kNoColor, kNoColor,
                                                     kNoColor, kNoColor, kNoColor, kNoColor};
  std::int32_t slot = 0;  // symbol number of the slot's name
};

struct StatisticValue {
  Identifier id;
  std::int32_t baseValue = 0;
  std::int32_t currentValue = 0;
};

struct InventoryEntry {
  std::int32_t item = -1;  // -1 none, -2 resolve by identifier
  Identifier itemId;
  std::uint8_t flag = 0;  // item lists: percent chance to drop at death; equipment: action requested
  std::int32_t quantity = 0;
  std::int32_t ammunition = 0;
  Identifier areaId;  // equipment entries: the equipment area's identifier
  std::int32_t fireWait = 0;  // equipment entries: ms until the weapon may fire again; saves: extension block
  std::uint8_t pressFired = 0;  // equipment entries: the held press already fired; saves: extension block
};

// A reference to another record by index and identifier.
struct IndexedReference {
  std::int32_t index = -1;
  Identifier id;
};

// kind: -1 none, -2 by name, -3 any map ("*"), -4 by identifier.
struct ActorMapReference {
  std::int32_t kind = -1;
  std::u16string name;
  Identifier id;
};

struct ValuePair {
  std::int32_t first = 0;
  std::int32_t second = 0;
};

struct Waypoint {
  std::array<std::int32_t, 4> values{};
};

// A timed push: pixels per ms on each axis for the ms left.
struct PushEntry {
  float x = 0.0f, y = 0.0f, z = 0.0f;
  std::int32_t timeLeft = 0;
};

// A contact with a character or zone: its index (-1 a free entry) and the ms
// left before the contact ends unless it is seen again.
// An entry of the actor's variables: name symbol, value, and a flag byte in extra1.
using ActorVariable = ScriptVariable;

struct Actor {
  std::u16string name;         // script Name
  std::u16string displayName;  // script Title
  float x = 0.0f, y = 0.0f, z = 0.0f;
  std::int32_t fileVersion = 0;
  float scaleX = 1.0f, scaleY = 1.0f, scaleZ = 1.0f;
  std::int32_t templateIndex = -1;
  Identifier templateId;
  float velocityX = 0.0f, velocityY = 0.0f, velocityZ = 0.0f, velocity = 0.0f;
  float strafeSpeed = 0.0f;  // pixels per ms across the heading
  float rotationY = 0.0f;  // script DirectionAngleY
  float heading = 0.0f;    // radians; script DirectionAngle, Direction
  std::int32_t deathTimer = 0;       // ms left of the death pose (the save's dying time)
  std::int32_t timeSinceHurt = -1;  // ms, -1 none
  std::int32_t customPoseTime = 0;  // ms into a pose chosen by a script

  std::uint8_t vehicle = 0;  // characters can board or operate it
  std::uint8_t turret = 0;
  std::uint8_t flashing = 0;
  std::uint8_t inMap = 0;
  std::uint8_t inMapExtra = 0;
  std::uint8_t inCamera = 0;
  std::uint8_t inCameraExtra = 0;
  std::uint8_t designByte = 0;  // stored last of the design part
  std::uint8_t airborne = 0;
  std::uint8_t moved = 0;  // 1 = the character moved this tick
  std::uint8_t designByte1 = 0, designByte2 = 0;
  std::uint8_t face = 0;
  std::uint8_t shadow = 0;

  std::vector<AppearancePart> parts;
  std::vector<CharacterLayer> characterLayers;  // rebuilt from parts and equipment, not stored
  std::int16_t hasPose13 = 0;  // -1 when some layer's sprite set draws pose 13; rebuilt with the layers
  std::uint32_t specular = 0;
  std::uint32_t shadowColor = 0;
  std::int32_t designValue = 0;  // stored after ShadowColor

  float gas = 0.0f, maxGas = 0.0f;
  float speed = 0.0f;
  float vehicleValue1 = -0.15f, vehicleValue2 = 0.0f, vehicleValue3 = 0.0f;
  float derivedValue1 = 0.0f, derivedValue2 = 0.0f;
  std::int32_t vehicleValue15 = 15;
  std::int32_t physicsFlags = 75;
  float extension = 0.0f;  // 0..1, script Extension; stored in the same four bytes as a Single

  std::int32_t turretRange = 640;
  float turnRate = 1.5707964f;
  float arc = 6.2831855f;
  float arcStart = 0.0f, arcEnd = 0.0f;
  std::int16_t turningKey = 0;

  std::int32_t state = 0;  // 3 dead
  std::int32_t tickFlags = 0;  // bit 0: counts as moved at the start of the tick
  std::uint8_t removed = 0;
  std::uint8_t noDraw = 0;
  std::uint8_t noRect = 0;
  // Blocks movers and is hit by shots; touching it counts as touching something solid.
  std::uint8_t solidToTouch = 1;
  std::uint8_t canMove = 1;

  SpriteInstance sprite;  // the animation of the sprite the actor shows
  std::vector<Attachment> attachedEffects;  // run time
  std::vector<Attachment> attachedSprites;
  std::uint32_t flashColor = 0;
  // The flash: count, timer (ms into the interval) and interval (ms, 0 no flash);
  // flashing above makes it repeat until stopped.
  std::array<std::int32_t, 3> flashValues{};
  std::uint32_t tint = kNoColor;
  std::int32_t pose = 0;  // symbol of the pose a script chose, 0 none
  // What PosePlay gives with the pose (-1 none); the Character System ends
  // the pose once customPoseTime passes it.
  std::int32_t poseValue = 0;

  std::int32_t vehicleRidden = -1;
  std::int32_t turretOperated = -1;
  std::int32_t furtherActor1 = -1;
  std::int32_t furtherActor2 = -1;
  std::int32_t owningPlayer = -1;
  std::int32_t partyMember = -1;
  std::int32_t autoMoveStyle = 0;
  Box areaBox;
  std::int32_t targetActor = -1;  // reset to -1 when the actor leaves play
  // The running grid step: the actor it may touch (-1 none), its direction
  // 0..7 and the pixels left.
  std::int32_t stepTarget = -1;
  std::int32_t stepDirection = 0;
  std::int32_t stepLeft = 0;
  std::vector<std::int32_t> path;
  std::vector<std::int32_t> route;  // script ChangeRoute
  std::int32_t routePosition = 0;
  std::array<std::uint8_t, 3> movementFlags{};
  float movementX = 0.0f, movementY = 0.0f, movementZ = 0.0f;
  float keyForward = 0.0f, keyTurning = 0.0f, keyStrafing = 0.0f, keyRising = 0.0f;
  std::vector<Waypoint> waypoints;

  std::vector<InventoryEntry> items;
  std::vector<InventoryEntry> equipment;  // one per equipment area
  std::vector<StatisticValue> statistics;  // one per statistic
  std::int32_t experience = 0;
  std::int64_t money = 0;  // currency: four decimal places
  std::int32_t points = 0;

  std::array<IndexedReference, 2> furtherReferences;
  std::int16_t actionValue = 0;      // -1: a script asked for the action
  std::int16_t detonationValue = 0;  // -1: a script asked to detonate
  IndexedReference itemReference;  // a vehicle's key item (-1 none); legacy vehicles' item
  std::int32_t driver = -1;
  ActorMapReference mapReference;
  // The interface the map reference names travels with the actor: the actor
  // keeps its own copies of that interface's fields and spawns, which its
  // drawing puts in place while the interface is updated and drawn over it.
  std::vector<Field> carriedFields;
  std::vector<Spawn> carriedSpawns;
  std::uint32_t carriedAmbient = 0xFFFFFFFF;  // the interface's ambient colour while it is drawn over the actor
  std::int32_t carriedIndex = -1;
  std::int32_t team = -1;
  Identifier teamId;
  std::int32_t aiFlags = 0;  // bit 0: the AI is on
  std::int32_t aiState = 0;
  std::int32_t aiValue = 0;  // the AI's timer
  std::int32_t gridX = 0, gridY = 0;
  float gridHeading = 0.0f;
  float speedFactor = 0.0f;  // multiplies the attack time of a held item
  std::int32_t aiFocus = -1;
  std::vector<Trigger> triggers;
  std::vector<ActorVariable> variables;
  CollisionShape collisionShape;
  std::vector<ValuePair> pairs1;
  std::vector<ValuePair> pairs2;
  std::int32_t lastDamaged = -1;
  std::int32_t lastAttacked = -1;
  float memorizedX = 0.0f, memorizedY = 0.0f, memorizedZ = 0.0f;
  std::int32_t memorized = -1;

  // Set by map loading when a spawn of the map stands where the actor does.
  std::int32_t spawn = -1;
  std::uint8_t spawned = 0;

  // World state that no file stores.
  float floorHeight = 0.0f;
  std::uint8_t floorKnown = 0;
  CollisionShape frontShape;  // the footprint one step ahead
  CollisionShape climbShape;  // the front probe raised to where it may climb
  std::int32_t canClimb = 0;  // -1 True
  Box stepRect;               // the box a running step sweeps
  std::int32_t movedTo = -1;  // the index the record got in the map it moved to
  std::int32_t moveMode = 0;  // low two bits; 1 walks on the ground
  std::int32_t driverLink = -1;  // a driver's second vehicle link

  // Movement and pose state that the record formats have no place for; our
  // saves keep it in their extension block (state/save_extension.h).
  std::uint8_t groundState = 1;     // 1 standing on the floor
  std::int32_t moveWait = 0;        // ms before the next movement command
  std::int32_t aiMoveCommand = 0;   // command word the combat behaviour left, 0 none
  std::int32_t actorFlags = 0;      // bit 4: leaving a vehicle keeps the state
  std::int32_t walkTime = 0;        // ms of walking (poses 0, 1, 6 to 8, 14)
  std::int32_t idleTime = 0;        // ms into the idle pose
  std::int32_t attackTimer = 0;     // ms left of the running attack
  std::int32_t hurtTime = 0;        // ms left of the hurt pose
  std::int32_t risePoseTime = 0;    // ms into motion pose 10
  std::int32_t fallPoseTime = 0;    // ms into motion pose 11

  // How the actor is drawn; no file stores these, so every actor starts lit,
  // unmirrored and depth-tested.
  std::uint8_t mirrorX = 0, mirrorY = 0;  // non-zero: mirrored across that axis
  std::uint8_t noDepth = 0;               // picked through what lies in front of it
  std::uint8_t fullBright = 0;            // not lit by the map's lights
  std::int32_t deadUpright = 0;           // non-zero: a dead actor is drawn standing
  std::int32_t keepItems = 0;             // non-zero: a dead actor still shows its carried items
  // The hop (a drawing offset that bounces back at half speed); saves: extension block.
  std::int32_t hopTime = 0;  // ms left of the hop
  float hopSpeed = 0.0f;     // pixels per ms, upwards
  float hopHeight = 0.0f;    // pixels above the ground

  // Per-tick character state of the world update; attackArea and the pushes
  // go in our saves' extension block.
  std::int32_t actionSource = 0;    // negative: a player's action keeps the current shapes
  std::int32_t attackArea = -1;     // equipment area of the running attack
  std::vector<PushEntry> pushes;    // timed pushes, applied from the last down

  // The message shown over the character while messageValue is above 0, in
  // its second colour form when messageSecondForm is set; saves: extension block.
  std::int32_t messageValue = 0;
  std::u16string messageText;
  std::uint8_t messageSecondForm = 0;
  // The floating damage number (saves: extension block): ms left to show it, the pixels
  // per ms it rises, how far it has risen, and the number shown.
  std::int32_t damageShowTime = 0;
  float damageRise = 0.0f;
  float damageOffset = 0.0f;
  std::int32_t damageShown = 0;
};

// Contacts: the zones and the characters a character touches (first: the
// index, -1 a free entry; second: ms of grace before the contact ends).
inline std::vector<ValuePair>& TouchingZones(Actor& a) { return a.pairs1; }
inline std::vector<ValuePair>& TouchingActors(Actor& a) { return a.pairs2; }

// Reads one actor section at offset into actor. version is the format version
// of the enclosing file; mapMode is the enclosing map's map mode (0 for
// templates and state). Read errors propagate; the record stays partly filled.
void ReadCharacter(const ByteList& buffer, std::int32_t& offset, Actor& actor, std::int32_t version,
                   bool withState, std::int32_t mapMode = 0);

}  // namespace kiv
