// Each object record written in the save form reads back through the map
// readers with their save flag and writes the same bytes again; the losses the
// format makes on purpose are checked by name.
#include "state/object_writers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <functional>

#include "core/data_buffer.h"
#include "core/error.h"
#include "core/symbol_table.h"
#include "data/actor_record.h"
#include "data/data_hooks.h"
#include "data/field_record.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "data/map_object_readers.h"
#include "data/map_object_settings.h"
#include "data/object_defaults.h"
#include "data/script_record.h"
#include "data/sector_grid.h"
#include "state/save_references.h"
#include "support/map_object_writer.h"

namespace kiv {
namespace {

Identifier IdOf(std::uint8_t byte) {
  Identifier id;
  IdFill(id, byte);
  return id;
}

class ObjectWritersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SymbolTableReset();
    RegisterScriptIdentifiers();
    BuildObjectDefaults();
    scriptTable.Reset();
    gameData.Reset();
    dataSettings.Reset();
    dataSettings.gridCellSize = 8;
    dataHooks.Reset();
    mapObjectSettings.Reset();
    projectState.Reset();
  }
  void TearDown() override {
    dataHooks.Reset();
    gameData.Reset();
    scriptTable.Reset();
    dataSettings.Reset();
    mapObjectSettings.Reset();
    projectState.Reset();
  }
};

Trigger MakeTrigger() {
  Trigger t;
  t.event = SymbolIntern(u"Trigger.Actor.Action");
  t.parameters = {u"\"Character\"", u"1"};
  t.script.text = u"x = 1";
  return t;
}

struct KindCase {
  const char* kind;
  std::function<void(Map&)> fill;  // one record of the kind, every stored field set
  std::function<void(Map&, ByteList&, std::int32_t&)> write;
  std::function<void(const ByteList&, std::int32_t&, Map&)> read;
  std::function<void(const Map& written, const Map& read)> check;  // named fields and losses
};

std::vector<KindCase> Cases() {
  std::vector<KindCase> cases;
  cases.push_back({"door",
                   [](Map& m) {
                     Door d;
                     d.name = u"Gate";
                     d.displayName = u"Town gate";
                     d.byte1 = 1, d.value1 = 2, d.value2 = 3, d.byte2 = 4, d.byte3 = 5;
                     d.openAmount = 0.5f, d.openAmount2 = 0.25f, d.openStyle = 2;
                     d.x = 10, d.y = 20, d.z = 30;
                     d.byte4 = 6, d.value3 = 7, d.value4 = 8;
                     d.doorSet = -2, d.doorSetId = IdOf(0x11);
                     d.byte5 = 9, d.byte6 = 10;
                     d.target.name = u"Cave", d.targetValues = {3, 4}, d.value5 = 11;
                     d.scripts[3].text = u"open";
                     d.byte7 = 12, d.byte8 = 13, d.text = u"Locked";
                     d.item = -2, d.itemId = IdOf(0x12);
                     d.value6 = 14, d.value7 = 15;
                     m.doors.push_back(d);
                   },
                   [](Map& m, ByteList& b, std::int32_t& o) { WriteDoor(m, b, o, 0, true); },
                   [](const ByteList& b, std::int32_t& o, Map& m) {
                     m.doors.resize(1);
                     ReadDoor(b, o, kCurrentFormatVersion, m, 0, 0, true);
                   },
                   [](const Map& w, const Map& r) {
                     const Door& a = w.doors[0];
                     const Door& b = r.doors[0];
                     EXPECT_EQ(b.displayName, a.displayName);
                     EXPECT_EQ(b.openAmount2, a.openAmount2);
                     EXPECT_EQ(b.doorSetId, a.doorSetId);
                     EXPECT_EQ(b.target.name, u"Cave");
                     EXPECT_EQ(b.scripts[3].text, u"open");
                     EXPECT_EQ(b.itemId, a.itemId);
                     EXPECT_EQ(b.value7, 15);
                   }});
  cases.push_back({"zone",
                   [](Map& m) {
                     Zone z;
                     z.name = u"Pit";
                     z.displayName = u"The pit";
                     z.shape.rectangles = {CollisionBox{1, 2, 3, 4, 5, 6, {}}, CollisionBox{7, 8, 9, 10, 11, 12, {}}};
                     z.byte1 = 1, z.target.name = u"Hell", z.targetValues = {5, 6}, z.value1 = 7, z.byte2 = 8;
                     z.templateFlags = {TemplateFlag{IdOf(0x21), 1}, TemplateFlag{IdOf(0x22), 0}};
                     z.triggers = {MakeTrigger()};
                     z.saveByte = 9;
                     m.zones.push_back(z);
                   },
                   [](Map& m, ByteList& b, std::int32_t& o) { WriteZone(m, b, o, 0, true); },
                   [](const ByteList& b, std::int32_t& o, Map& m) {
                     m.zones.resize(1);
                     ReadZone(b, o, kCurrentFormatVersion, m, 0, true);
                   },
                   [](const Map& w, const Map& r) {
                     const Zone& b = r.zones[0];
                     // Only the first rectangle is kept.
                     ASSERT_EQ(b.shape.rectangles.size(), 1u);
                     EXPECT_EQ(b.shape.rectangles[0], w.zones[0].shape.rectangles[0]);
                     ASSERT_EQ(b.templateFlags.size(), 2u);
                     EXPECT_EQ(b.templateFlags[0].id, IdOf(0x21));
                     ASSERT_EQ(b.triggers.size(), 1u);
                     EXPECT_EQ(b.triggers[0].parameters, w.zones[0].triggers[0].parameters);
                     EXPECT_EQ(b.saveByte, 9);
                   }});
  cases.push_back({"boundary",
                   [](Map& m) {
                     CollisionShape s;
                     s.rectangles = {CollisionBox{-5, -6, 7, 8, 1, 2, {}}, CollisionBox{1, 1, 2, 2, 3, 3, {}}};
                     m.boundaries.push_back(s);
                   },
                   [](Map& m, ByteList& b, std::int32_t& o) { WriteBoundary(m, b, o, 0); },
                   [](const ByteList& b, std::int32_t& o, Map& m) {
                     m.boundaries.resize(1);
                     ReadBoundary(b, o, kCurrentFormatVersion, m, 0);
                   },
                   [](const Map& w, const Map& r) {
                     ASSERT_EQ(r.boundaries[0].rectangles.size(), 1u);  // only the first rectangle is kept
                     EXPECT_EQ(r.boundaries[0].rectangles[0], w.boundaries[0].rectangles[0]);
                   }});
  cases.push_back({"pick-up",
                   [](Map& m) {
                     PickUp p;
                     p.x = 1.5f, p.y = 2.5f, p.z = 3.5f, p.flag1 = 1, p.values1 = {2, 3};
                     p.color = 0x80112233, p.flag2 = 4, p.values2 = {5, 6};
                     p.spriteSet = -2, p.spriteSetId = IdOf(0x31);
                     p.items[0].item = -2, p.items[0].itemId = IdOf(0x32), p.items[0].quantity = 7;
                     p.items[1].item = -2, p.items[1].itemId = IdOf(0x33), p.items[1].quantity = 8;
                     p.respawnTime = 9, p.money = 123456789012LL, p.values3 = {10, 11};
                     p.respawnCountdown = 12, p.runValue = 13;
                     m.pickUps.push_back(p);
                   },
                   [](Map& m, ByteList& b, std::int32_t& o) { WritePickUp(m, b, o, 0, true); },
                   [](const ByteList& b, std::int32_t& o, Map& m) {
                     m.pickUps.resize(1);
                     ReadPickUp(b, o, kCurrentFormatVersion, m, 0, true);
                   },
                   [](const Map&, const Map& r) {
                     const PickUp& b = r.pickUps[0];
                     EXPECT_EQ(b.color, 0x80112233u);
                     EXPECT_EQ(b.items[0].itemId, IdOf(0x32));
                     EXPECT_EQ(b.items[1].quantity, 8);
                     EXPECT_TRUE(IdIsEmpty(b.items[1].itemId));  // the second entry keeps only its count
                     EXPECT_EQ(b.money, 123456789012LL);
                     EXPECT_EQ(b.runValue, 13);
                   }});
  cases.push_back({"light",
                   [](Map& m) {
                     Light l;
                     l.name = u"Lamp", l.displayName = u"Street lamp", l.enabled = 1;
                     l.x = 1, l.y = 2, l.z = 3, l.radius = 4, l.horizontalFrom = 5.5f, l.horizontalTo = 0.5f;
                     l.verticalFrom = 0.5f, l.verticalTo = 1.5f, l.edgeIntensity = 0.25f;
                     l.red = 8, l.green = 9, l.blue = 10, l.subtractive = 1, l.cycleLength = 11;
                     for (std::size_t i = 0; i < kPatternLength; ++i) l.pattern[i] = static_cast<std::uint8_t>(i * 2);
                     m.lights.push_back(l);
                   },
                   [](Map& m, ByteList& b, std::int32_t& o) { WriteLight(m, b, o, 0); },
                   [](const ByteList& b, std::int32_t& o, Map& m) {
                     m.lights.resize(1);
                     ReadLight(b, o, kCurrentFormatVersion, m, 0);
                   },
                   [](const Map& w, const Map& r) {
                     EXPECT_EQ(r.lights[0].pattern, w.lights[0].pattern);
                     EXPECT_EQ(r.lights[0].horizontalFrom, 5.5f);
                     EXPECT_EQ(r.lights[0].horizontalTo, 0.5f);
                     EXPECT_EQ(r.lights[0].verticalFrom, 0.5f);
                     EXPECT_EQ(r.lights[0].verticalTo, 1.5f);
                     EXPECT_EQ(r.lights[0].edgeIntensity, 0.25f);
                     EXPECT_EQ(r.lights[0].subtractive, 1);
                     EXPECT_EQ(r.lights[0].cycleLength, 11);
                   }});
  cases.push_back({"speaker",
                   [](Map& m) {
                     Speaker s;
                     s.name = u"Bell", s.displayName = u"Church bell", s.enabled = 1;
                     s.x = 1, s.y = 2, s.z = 3, s.radius = 4, s.startAngle = 0.25f, s.endAngle = 0.75f;
                     s.soundSet = -2, s.soundSetId = IdOf(0x41);
                     s.pattern.fill(7);
                     s.cycleLength = 5, s.focus = 0.5f;
                     m.speakers.push_back(s);
                   },
                   [](Map& m, ByteList& b, std::int32_t& o) { WriteSpeaker(m, b, o, 0); },
                   [](const ByteList& b, std::int32_t& o, Map& m) {
                     m.speakers.resize(1);
                     ReadSpeaker(b, o, kCurrentFormatVersion, m, 0);
                   },
                   [](const Map&, const Map& r) {
                     EXPECT_EQ(r.speakers[0].soundSetId, IdOf(0x41));
                     EXPECT_EQ(r.speakers[0].soundSet, -2);
                     EXPECT_EQ(r.speakers[0].focus, 0.5f);
                   }});
  cases.push_back({"spawn",
                   [](Map& m) {
                     Spawn s;
                     s.name = u"Nest", s.displayName = u"Wasp nest", s.x = 1, s.y = 2, s.z = 3;
                     s.scripts[2].text = u"spawned";
                     s.paused = 1, s.delay = 2, s.interval = 3, s.count = 4, s.simultaneous = 5, s.proximity = 6;
                     s.linkedActor = 7, s.time = 8, s.born = 9, s.died = 10;
                     m.spawns.push_back(s);
                   },
                   [](Map& m, ByteList& b, std::int32_t& o) { WriteSpawn(m, b, o, 0, true); },
                   [](const ByteList& b, std::int32_t& o, Map& m) {
                     m.spawns.resize(1);
                     ReadSpawn(b, o, kCurrentFormatVersion, m, 0, true);
                   },
                   [](const Map&, const Map& r) {
                     const Spawn& b = r.spawns[0];
                     EXPECT_EQ(b.scripts[2].text, u"spawned");
                     EXPECT_EQ(b.simultaneous, 5);
                     EXPECT_EQ(b.proximity, 6);
                     EXPECT_EQ(b.born, 9);
                     EXPECT_EQ(b.died, 10);
                   }});
  cases.push_back({"map extra",
                   [](Map& m) { m.positionedTexts.push_back(PositionedText{0, 0, 1.5f, 2.5f, 3.5f, u"Here"}); },
                   [](Map& m, ByteList& b, std::int32_t& o) { WriteMapExtra(m, b, o, 0); },
                   [](const ByteList& b, std::int32_t& o, Map& m) {
                     m.positionedTexts.resize(1);
                     ReadPositionedText(b, o, m, 0);
                   },
                   [](const Map&, const Map& r) { EXPECT_EQ(r.positionedTexts[0].text, u"Here"); }});
  cases.push_back({"projectile",
                   [](Map& m) {
                     Projectile p;
                     p.x = 1, p.y = 2, p.z = 3, p.heading = 4, p.speed = 5, p.item = 6;
                     p.owner = 7, p.remainingRange = 8, p.age = 9, p.currentZone = 10, p.spriteSet = -1;
                     p.explosionSpriteSet = 11, p.kind = 12, p.damagePhase = 0xAB, p.damage = 13;
                     p.damageInterval = 14, p.motionMode = 15, p.holdLastFrame = 16, p.specular = 17, p.scaleX = 2;
                     p.scaleY = 3, p.scaleZ = 4, p.triggered = 18, p.homingRange = 19, p.hitSound = 20;
                     p.chargeTrigger = 21, p.turnRate = 22.5f, p.verticalSpeed = 23;
                     p.collisionShape.rectangles.resize(1);  // rebuilt on reading, not stored
                     m.projectiles.push_back(p);
                   },
                   [](Map& m, ByteList& b, std::int32_t& o) {
                     const std::int32_t start = o;
                     WriteProjectile(m, b, o, 0);
                     EXPECT_EQ(o - start, kProjectileRecordSize);
                   },
                   [](const ByteList& b, std::int32_t& o, Map& m) {
                     m.projectiles.resize(1);
                     ReadProjectile(b, o, m, 0);
                   },
                   [](const Map&, const Map& r) {
                     EXPECT_EQ(r.projectiles[0].damagePhase, 0xAB);
                     EXPECT_TRUE(r.projectiles[0].collisionShape.rectangles.empty());
                   }});
  cases.push_back({"actor",
                   [](Map& m) {
                     Actor a;
                     a.name = u"Hero", a.displayName = u"The hero", a.face = 2;
                     AppearancePart part;
                     part.slot = SymbolIntern(u"Body"), part.spriteSet = -3;
                     part.colors = {1, 2, 3, 4, 5, 6, 7, 8};
                     a.parts = {part};
                     a.specular = 0x10203040, a.autoMoveStyle = 3, a.heading = 1.25f;
                     a.designByte1 = 1, a.designByte2 = 2;
                     a.x = 100, a.y = 200, a.z = 10;
                     a.gridX = 96, a.gridY = 192, a.gridHeading = 0.5f, a.lastAttacked = 4, a.lastDamaged = 5;
                     a.shadow = 1, a.shadowColor = 0x11223344, a.designValue = 6, a.speed = 2.5f;
                     a.aiFlags = 7, a.speedFactor = 8;
                     a.items = {InventoryEntry{-2, IdOf(0x51), 1, 3, 4, {}}};
                     a.route = {1, 2, 3};
                     a.removed = 0, a.noDraw = 1, a.noRect = 1, a.solidToTouch = 0;
                     a.team = -2, a.teamId = IdOf(0x52), a.experience = 9, a.money = 99999, a.points = 10;
                     a.itemReference = {-2, IdOf(0x53)};
                     a.gas = 1, a.maxGas = 2, a.vehicleValue1 = 3, a.vehicleValue2 = 4, a.vehicleValue3 = 5;
                     a.derivedValue1 = 6, a.derivedValue2 = 7, a.vehicleValue15 = 8, a.physicsFlags = 9;
                     a.vehicle = 1, a.keyTurning = 0.5f, a.keyForward = -1, a.keyRising = 1, a.keyStrafing = 0.25f;
                     a.turret = 1, a.turretRange = 300, a.turnRate = 2, a.arc = 3;
                     a.scaleX = 2, a.scaleY = 3, a.scaleZ = 4;
                     a.attachedSprites = {Attachment{-2, IdOf(0x54), 1, 2, 3, 0x44332211, 5, 6, 7, 8}};
                     a.templateIndex = -2, a.templateId = IdOf(0x55);
                     a.mapReference.name = u"Town";
                     a.furtherReferences = {IndexedReference{-2, IdOf(0x56)}, IndexedReference{-3, {}}};
                     a.tint = 0x7F7F7F7F;
                     a.triggers = {MakeTrigger()};
                     a.variables = {ActorVariable{SymbolIntern(u"Mood"), Variant::Long(3), 1, 0}};
                     a.designByte = 11;
                     a.furtherActor2 = 1, a.vehicleRidden = 2, a.turretOperated = 3, a.canMove = 0;
                     a.state = 4, a.tickFlags = 5, a.aiState = 6, a.aiValue = 7;
                     a.stepTarget = 8, a.stepDirection = 9, a.stepLeft = 10;
                     a.path = {11, 12}, a.routePosition = 13, a.areaBox = Box{1, 2, 3, 4, 0, 0};
                     a.aiFocus = 14, a.pairs1 = {ValuePair{1, 2}}, a.pairs2 = {ValuePair{3, 4}, ValuePair{5, 6}};
                     a.targetActor = 15, a.owningPlayer = 1, a.partyMember = 2, a.furtherActor1 = 16;
                     a.deathTimer = 17, a.flashing = 1, a.flashColor = 0xFF00FF00, a.flashValues = {18, 19, 20};
                     a.pose = SymbolIntern(u"Walk"), a.poseValue = 21, a.customPoseTime = 22, a.timeSinceHurt = 23;
                     a.driver = 24, a.extension = 25, a.velocityX = 1, a.velocityY = 2, a.velocityZ = 3;
                     a.velocity = 4, a.strafeSpeed = 0.375f, a.arcStart = 0.5f, a.arcEnd = 1.5f, a.turningKey = -1;
                     a.attachedEffects = {Attachment{-2, IdOf(0x57), 9, 8, 7, 0x01020304, 6, 5, 4, 3}};
                     a.inMap = 1, a.inMapExtra = 2, a.inCamera = 3, a.inCameraExtra = 4, a.moved = 1;
                     a.waypoints = {Waypoint{{1, 2, 3, 4}}};
                     a.memorized = 27, a.memorizedX = 1, a.memorizedY = 2, a.memorizedZ = 3;
                     m.actors.push_back(a);
                   },
                   [](Map& m, ByteList& b, std::int32_t& o) { WriteActor(m.actors[0], b, o, true); },
                   [](const ByteList& b, std::int32_t& o, Map& m) {
                     m.actors.resize(1);
                     ReadCharacter(b, o, m.actors[0], kCurrentFormatVersion, true);
                   },
                   [](const Map& w, const Map& r) {
                     const Actor& a = w.actors[0];
                     const Actor& b = r.actors[0];
                     ASSERT_EQ(b.parts.size(), 1u);
                     EXPECT_EQ(b.parts[0].spriteSetId, WildcardIdentifier());  // -3 stored as the wildcard
                     EXPECT_EQ(b.parts[0].colors, a.parts[0].colors);
                     EXPECT_EQ(b.teamId, a.teamId);
                     EXPECT_EQ(b.templateId, a.templateId);
                     EXPECT_EQ(b.furtherReferences[1].id, WildcardIdentifier());
                     EXPECT_EQ(b.variables.size(), 1u);
                     EXPECT_EQ(b.pose, a.pose);
                     EXPECT_EQ(b.waypoints[0].values, a.waypoints[0].values);
                     EXPECT_EQ(b.memorizedZ, 3.0f);
                     EXPECT_EQ(b.gridHeading, 0.5f);
                     // The run-time slots come back under the names the world reads.
                     EXPECT_EQ(b.tickFlags, 5);
                     EXPECT_EQ(b.stepTarget, 8);
                     EXPECT_EQ(b.stepDirection, 9);
                     EXPECT_EQ(b.stepLeft, 10);
                     EXPECT_EQ(b.deathTimer, 17);
                     EXPECT_EQ(b.customPoseTime, 22);
                     EXPECT_EQ(b.strafeSpeed, 0.375f);
                     EXPECT_EQ(b.moved, 1);
                   }});
  cases.push_back({"field",
                   [](Map& m) {
                     Field f;
                     f.name = u"Ok", f.displayName = u"OK button", f.face = 3;
                     for (std::size_t i = 0; i < kFieldStateCount; ++i) {
                       f.colorsA[i] = static_cast<std::uint32_t>(i + 1);
                       f.colorsB[i] = static_cast<std::uint32_t>(i + 11);
                       f.colorsC[i] = static_cast<std::uint32_t>(i + 21);
                     }
                     f.x = 1, f.y = 2, f.z = 3, f.width = 40, f.height = 20, f.depth = 1, f.lineHeight = 12;
                     f.shadow = 1, f.noDraw = 0, f.nonExistent = 1, f.layoutValues = {4, 5, 6};
                     f.scripts[10].text = u"last";
                     f.triggers = {MakeTrigger()};
                     f.value1 = Variant::Long(5), f.value2 = Variant::Text(u"max"), f.contentKind = 1;
                     f.fontSet = -2, f.fontSetId = IdOf(0x61), f.designByte1 = 1;
                     f.spriteSet = -2, f.spriteSetId = IdOf(0x62);
                     f.designByte2 = 2, f.valueDefault1 = 3, f.designByte3 = 4, f.designValues = {5, 6};
                     f.placementBytes = {1, 2, 0}, f.anchorFlags = 0x11, f.style = 5, f.specular = 7;
                     f.valueAfterSpecular = 8, f.rotation = 9, f.selectable = 1, f.disabled = 0;
                     f.byteDefault1 = 0, f.byteByContent = 1, f.activationOrder = 1, f.parent = -1;
                     f.actions = {FieldAction{2, -2, u"Inventory", {}}};
                     f.view.followedPlayer = 1, f.control = -2, f.controlId = IdOf(0x63), f.controlValue = 4;
                     f.fontScale = 1.5f, f.sizeMode = 1, f.fontSizeMode = 1;
                     f.ownIndex = 0, f.appliedSelectable = 1, f.state = 2, f.spawner = 3, f.runValue = 4;
                     f.previousPixelWidth = 5, f.previousPixelHeight = 6, f.runByte = 7;
                     f.view.panning = 1, f.view.panStartX = 101, f.view.panStartY = 102, f.view.panStartZ = 103;
                     f.view.panTargetX = 104, f.view.panTargetY = 105, f.view.panTargetZ = 106;
                     f.view.panElapsed = 107, f.view.panDuration = 108, f.view.transitionKind = -3;
                     f.view.transitionMode = 1, f.view.transitionColor = 0xFF102030;
                     f.view.transitionElapsed = 110, f.view.transitionDuration = 111;
                     f.view.flashRepeat = 1, f.view.flashColor = 0x80FFFFFF, f.view.flashCount = 3;
                     f.view.flashElapsed = 112, f.view.flashDuration = 113, f.view.shakeAngle = 0.25f;
                     f.view.shakeAmplitude = 114, f.view.shakeCount = 2, f.view.shakeElapsed = 115;
                     f.view.shakeDuration = 116, f.view.value22 = 117;
                     f.view.int1 = 8, f.view.byte1 = 9, f.view.byte2 = 10;
                     f.view.ownMap = 0, f.view.followedCharacter = 2, f.view.pitch = 0.5f, f.view.yaw = 1;
                     f.view.distance = 300, f.view.distance2 = 200;
                     f.runtimeEntries = {FieldRuntimeEntry{{1, 2, 3, 4, 5, 6, 7, 8, 9}, {}}};
                     m.fields.push_back(f);
                   },
                   [](Map& m, ByteList& b, std::int32_t& o) { WriteField(m, b, o, 0, true); },
                   [](const ByteList& b, std::int32_t& o, Map& m) {
                     m.fields.resize(1);
                     ReadField(b, o, kCurrentFormatVersion, m, 0, 0, true);
                   },
                   [](const Map& w, const Map& r) {
                     const Field& a = w.fields[0];
                     const Field& b = r.fields[0];
                     EXPECT_EQ(b.scripts[10].text, u"last");
                     EXPECT_EQ(b.actions[0].mapName, u"Inventory");
                     EXPECT_EQ(b.controlId, a.controlId);
                     // The view timers come back where the camera and the map systems read them.
                     EXPECT_EQ(b.view.panning, 1);
                     EXPECT_EQ(b.view.panStartZ, 103);
                     EXPECT_EQ(b.view.panTargetX, 104);
                     EXPECT_EQ(b.view.panDuration, 108);
                     EXPECT_EQ(b.view.transitionKind, -3);
                     EXPECT_EQ(b.view.transitionMode, 1);
                     EXPECT_EQ(b.view.transitionColor, 0xFF102030u);
                     EXPECT_EQ(b.view.transitionElapsed, 110);
                     EXPECT_EQ(b.view.flashRepeat, 1);
                     EXPECT_EQ(b.view.flashCount, 3);
                     EXPECT_EQ(b.view.flashDuration, 113);
                     EXPECT_EQ(b.view.shakeAngle, 0.25f);
                     EXPECT_EQ(b.view.shakeElapsed, 115);
                     EXPECT_EQ(b.view.shakeDuration, 116);
                     EXPECT_EQ(b.view.value22, 117);
                     EXPECT_EQ(b.runtimeEntries[0].values, a.runtimeEntries[0].values);
                     EXPECT_EQ(b.view.distance2, 200.0f);
                   }});
  return cases;
}

TEST_F(ObjectWritersTest, EveryKindReadsBackThroughTheMapReadersAndWritesTheSameBytes) {
  for (const KindCase& c : Cases()) {
    SCOPED_TRACE(c.kind);
    try {
    Map written;
    c.fill(written);
    ByteList first;
    std::int32_t end = 0;
    c.write(written, first, end);
    first.resize(static_cast<std::size_t>(end));

    Map read;
    read.width = read.height = 7;  // doors and lights enter the sector grid
    read.layerCount = 1;
    BuildSectorGrid(read);
    std::int32_t offset = 0;
    c.read(first, offset, read);
    EXPECT_EQ(offset, end) << "reader and writer disagree on the record's length";
    c.check(written, read);

    ByteList second;
    std::int32_t secondEnd = 0;
    c.write(read, second, secondEnd);
    second.resize(static_cast<std::size_t>(secondEnd));
    EXPECT_EQ(second, first);
    } catch (const KivError& e) {
      ADD_FAILURE() << c.kind << ": " << e.what();
    }
  }
}

TEST_F(ObjectWritersTest, ReferencesAreWrittenByIndex) {
  gameData.doorSets.resize(2);
  gameData.doorSets[1].id = IdOf(0x77);
  struct Case {
    std::int32_t index;
    bool wildcard;
    Identifier expected;
  };
  const Case cases[] = {
      {-1, false, Identifier()},        {1, false, IdOf(0x77)},          {-2, false, IdOf(0x99)},
      {-4, false, IdOf(0x99)},          {-3, true, WildcardIdentifier()},
      {-3, false, Identifier()},        // wildcard where it is not allowed: none
      {2, false, Identifier()},         // beyond the table: none
      {-7, false, Identifier()},        // not an index: none
  };
  for (const Case& c : cases) {
    ByteList bytes;
    std::int32_t offset = 0;
    WriteReference(bytes, offset, SaveTable::kDoorSet, c.index, IdOf(0x99), c.wildcard);
    ASSERT_EQ(offset, 16) << c.index;  // the stream never shortens
    std::int32_t read = 0;
    EXPECT_EQ(BufferReadIdentifier(bytes, read), c.expected) << c.index;
  }
}

TEST_F(ObjectWritersTest, ActorWithoutPartsStillWritesTheColourCount) {
  Actor actor;
  ByteList bytes;
  std::int32_t offset = 0;
  WriteActor(actor, bytes, offset, true);
  std::int32_t read = 0;
  BufferReadString(bytes, read);
  BufferReadString(bytes, read);
  BufferReadByte(bytes, read);
  EXPECT_EQ(BufferReadLong(bytes, read), 7);
  EXPECT_EQ(BufferReadLong(bytes, read), -1);
}

// The value after the AI flags is a float: read as the number the file holds
// and written back with the same four bytes.
TEST_F(ObjectWritersTest, ActorSpeedFactorIsReadAsAFloatAndWrittenBackUnchanged) {
  constexpr std::uint32_t kAiFlags = 0x5A5A1234;  // marks where the speed factor follows
  // The four bytes after the marker, as a little-endian word.
  auto wordAfterMarker = [](const ByteList& bytes) -> std::uint32_t {
    const std::uint8_t marker[] = {0x34, 0x12, 0x5A, 0x5A};
    const auto at = std::search(bytes.begin(), bytes.end(), std::begin(marker), std::end(marker));
    EXPECT_NE(at, bytes.end());
    if (bytes.end() - at < 8) return 0;
    std::int32_t offset = static_cast<std::int32_t>(at - bytes.begin()) + 4;
    return static_cast<std::uint32_t>(BufferReadLong(bytes, offset));
  };
  for (std::uint32_t bits : {0x3FC00000u, 7u, 0x7F800001u}) {  // 1.5, a tiny number, a NaN
    SCOPED_TRACE(bits);
    Actor stored;
    stored.name = u"Fencer";
    stored.aiFlags = static_cast<std::int32_t>(kAiFlags);
    stored.speedFactor = std::bit_cast<float>(bits);
    ByteList file;
    std::int32_t o = 0;
    test::WriteActorFixture(file, o, stored, kCurrentFormatVersion, true);
    file.resize(static_cast<std::size_t>(o));
    ASSERT_EQ(wordAfterMarker(file), bits);

    Actor read;
    std::int32_t at = 0;
    ReadCharacter(file, at, read, kCurrentFormatVersion, true);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(read.speedFactor), bits);
    if (bits == 0x3FC00000u) {
      EXPECT_EQ(read.speedFactor, 1.5f);
    }

    ByteList written;
    std::int32_t w = 0;
    WriteActor(read, written, w, true);
    written.resize(static_cast<std::size_t>(w));
    EXPECT_EQ(wordAfterMarker(written), bits);
  }
}

// The value after the driver is the extension, a Single 0..1 in the four
// bytes the record format gives it: read and written as the float bits.
TEST_F(ObjectWritersTest, ActorExtensionIsASingleAfterTheDriver) {
  constexpr std::int32_t kDriver = 0x5A5A4321;  // marks where the extension follows
  const std::uint8_t marker[] = {0x21, 0x43, 0x5A, 0x5A};
  Actor stored;
  stored.name = u"Crane";
  stored.driver = kDriver;
  ByteList file;
  std::int32_t o = 0;
  test::WriteActorFixture(file, o, stored, kCurrentFormatVersion, true);
  file.resize(static_cast<std::size_t>(o));
  const auto at = std::search(file.begin(), file.end(), std::begin(marker), std::end(marker));
  ASSERT_LE(at + 8, file.end());
  std::int32_t extensionAt = static_cast<std::int32_t>(at - file.begin()) + 4;
  std::int32_t put = extensionAt;
  BufferWriteLong(file, 0x3F000000, put);  // 0.5 as a Single

  Actor read;
  std::int32_t from = 0;
  ReadCharacter(file, from, read, kCurrentFormatVersion, true);
  EXPECT_EQ(read.extension, 0.5f);

  ByteList written;
  std::int32_t w = 0;
  WriteActor(read, written, w, true);
  const auto again = std::search(written.begin(), written.end(), std::begin(marker), std::end(marker));
  ASSERT_LE(again + 8, written.end());
  std::int32_t back = static_cast<std::int32_t>(again - written.begin()) + 4;
  EXPECT_EQ(BufferReadLong(written, back), 0x3F000000);
}

}  // namespace
}  // namespace kiv
