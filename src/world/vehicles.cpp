#include "world/vehicles.h"

#include <array>
#include <cmath>
#include <string>

#include "core/angles.h"
#include "core/math_util.h"
#include "data/broad_phase.h"
#include "data/data_hooks.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "dialogs/player_settings.h"
#include "media/speech.h"
#include "player/start_window.h"
#include "script/call_frame.h"
#include "script/trigger_dispatch.h"
#include "world/actor_pose.h"
#include "world/move_tests.h"
#include "world/movement_fields.h"
#include "world/placement.h"

namespace kiv {

namespace {

constexpr std::int32_t kSymTriggerActorExited = 544;
constexpr float kDropSpeed = 0.16f;
constexpr float kDropRise = 96.0f;
constexpr float kHighAbove = 32.0f;

bool ValidActor(std::int32_t map, std::int32_t actor) {
  if (map < -1 || map > gameData.maps.LastIndex()) return false;
  return actor >= 0 && static_cast<std::size_t>(actor) < gameData.maps[map].actors.size();
}

Actor& ActorAt(std::int32_t map, std::int32_t actor) {
  return gameData.maps[map].actors[static_cast<std::size_t>(actor)];
}

const Player* OwnerOf(const Actor& actor) {
  if (actor.owningPlayer < 0 || static_cast<std::size_t>(actor.owningPlayer) >= projectState.players.size())
    return nullptr;
  return &projectState.players[static_cast<std::size_t>(actor.owningPlayer)];
}

void SwitchInputSet(std::int32_t player, const RecordReference& set, bool enabled) {
  if (set.index >= 0) dataHooks.SetInputSetEnabled(player, set.index, enabled);
}

// The party members of a player that stand in the map's character list.
template <typename Visit>
void ForEachPartyMember(std::int32_t map, const Player& player, Visit visit) {
  for (const PartyMember& member : player.party)
    if (ValidActor(map, member.character)) visit(member.character);
}

bool HasSprite(const Actor& actor) { return !actor.parts.empty() && actor.parts[0].spriteSet >= 0; }

// Boarding needs a free rider, a free vehicle that can be boarded, and two
// different actors: an actor that carried itself would be moved and removed
// recursively without end.
bool CanBoard(std::int32_t map, std::int32_t character, std::int32_t vehicle) {
  if (!ValidActor(map, character) || !ValidActor(map, vehicle) || character == vehicle) return false;
  const Actor& c = ActorAt(map, character);
  const Actor& v = ActorAt(map, vehicle);
  return c.vehicleRidden == -1 && c.turretOperated == -1 && v.driver == -1 && v.vehicle == 1;
}

// Half the width and half the length of the vehicle's drawn direction.
void VehicleHalfSizes(std::int32_t map, const Actor& vehicle, float& halfWidth, float& halfLength) {
  halfWidth = 0.0f;
  halfLength = 0.0f;
  const std::int32_t setIndex = vehicle.parts[0].spriteSet;
  if (static_cast<std::size_t>(setIndex) >= gameData.spriteSets.size()) return;
  const std::int32_t direction = AngleToDirection(vehicle.heading);
  std::int32_t pose = 0;
  std::int32_t time = 0;
  SelectActorPose(map, vehicle, setIndex, kAnyTag, direction, pose, time);
  const SpriteSet& set = gameData.spriteSets[static_cast<std::size_t>(setIndex)];
  if (static_cast<std::size_t>(pose) >= set.poses.size()) return;
  const SpriteDirection& record = set.poses[static_cast<std::size_t>(pose)].directions[static_cast<std::size_t>(direction)];
  halfWidth = static_cast<float>(record.sizeX) / 2.0f;
  halfLength = static_cast<float>(record.sizeY) / 2.0f;
}

bool ExitPointFree(std::int32_t map, std::int32_t character, std::int32_t vehicle, float exitX, float exitY) {
  const Actor& v = ActorAt(map, vehicle);
  LineSegment segment{RoundToLong(v.x), RoundToLong(v.y), RoundToLong(exitX), RoundToLong(exitY)};
  SegmentTrace trace;
  trace.skipCharacters = {character, vehicle, -1};
  trace.zoneSwitch = -2;
  trace.height = 0.0f;
  if (TraceSegment(map, segment, trace)) return false;
  const ShapePlacement placement{exitX, exitY, v.z, 0.0f, v.rotationY, v.heading, v.scaleX, v.scaleY, v.scaleZ};
  return !TestActorMove(map, ActorAt(map, character).collisionShape, placement, -1, character, -1, false, false);
}

// The first free exit in the order left, right, back, front.
bool FindExit(std::int32_t map, std::int32_t character, std::int32_t vehicle, float& exitX, float& exitY) {
  const Actor& v = ActorAt(map, vehicle);
  float halfWidth = 0.0f;
  float halfLength = 0.0f;
  VehicleHalfSizes(map, v, halfWidth, halfLength);
  struct Candidate {
    std::int32_t bit;
    float turn;
    float distance;
  };
  const std::array<Candidate, 4> candidates{{{kExitLeft, -kPiOver2, halfLength + kExitGap},
                                              {kExitRight, kPiOver2, halfLength + kExitGap},
                                              {kExitBack, kPi, halfWidth + kExitGap},
                                              {kExitFront, 0.0f, halfWidth + kExitGap}}};
  const float x0 = v.x;
  const float y0 = v.y;
  for (const Candidate& c : candidates) {
    if ((VehicleExitSides(v) & c.bit) == 0) continue;
    const float angle = v.heading + c.turn;
    const float x = x0 + c.distance * std::cos(angle);
    const float y = y0 + c.distance * std::sin(angle);
    if (ExitPointFree(map, character, vehicle, x, y)) {
      exitX = x;
      exitY = y;
      return true;
    }
  }
  return false;
}

}  // namespace

void EnterVehicle(std::int32_t map, std::int32_t character, std::int32_t vehicle, bool keepInputSets) {
  if (!CanBoard(map, character, vehicle)) return;
  Actor& c = ActorAt(map, character);
  const Player* player = OwnerOf(c);
  if (player == nullptr) {
    c.vehicleRidden = vehicle;
  } else {
    c.vehicleRidden = vehicle;
    ForEachPartyMember(map, *player, [&](std::int32_t m) { ActorAt(map, m).vehicleRidden = vehicle; });
    if (!keepInputSets) {
      SwitchInputSet(c.owningPlayer, projectState.settings.inputSets[kWalkingInputSet], false);
      SwitchInputSet(c.owningPlayer, projectState.settings.inputSets[kVehicleInputSet], true);
    }
  }
  ActorAt(map, vehicle).driver = character;
}

void EnterTurret(std::int32_t map, std::int32_t character, std::int32_t turret) {
  if (!CanBoard(map, character, turret)) return;
  Actor& c = ActorAt(map, character);
  Actor& t = ActorAt(map, turret);
  c.turretOperated = turret;
  if (OwnerOf(c) != nullptr) {
    TurnDirection(t) = 0.0f;
    SwitchInputSet(c.owningPlayer, projectState.settings.inputSets[kWalkingInputSet], false);
    SwitchInputSet(c.owningPlayer, projectState.settings.inputSets[kTurretInputSet], true);
  }
  t.driver = character;
}

void ExitTurret(std::int32_t map, std::int32_t character, std::int32_t turret) {
  if (character >= 0 && ValidActor(map, character)) turret = ActorAt(map, character).turretOperated;
  else if (character < 0 && ValidActor(map, turret)) character = ActorAt(map, turret).driver;
  if (!ValidActor(map, character) || !ValidActor(map, turret)) return;
  Actor& c = ActorAt(map, character);
  if (c.turretOperated != turret) return;
  ActorAt(map, turret).driver = -1;
  c.turretOperated = -1;
  if (OwnerOf(c) != nullptr) {
    SwitchInputSet(c.owningPlayer, projectState.settings.inputSets[kTurretInputSet], false);
    SwitchInputSet(c.owningPlayer, projectState.settings.inputSets[kWalkingInputSet], true);
  }
}

void ExitVehicle(std::int32_t map, std::int32_t character, std::int32_t vehicle, bool atVehicle,
                 bool keepInputSets) {
  if (character >= 0 && ValidActor(map, character)) vehicle = ActorAt(map, character).vehicleRidden;
  else if (character < 0 && ValidActor(map, vehicle)) character = ActorAt(map, vehicle).driver;
  if (!ValidActor(map, character) || !ValidActor(map, vehicle)) return;
  if (ActorAt(map, character).vehicleRidden != vehicle) return;

  const Actor& v = ActorAt(map, vehicle);
  const float x0 = v.x;
  const float y0 = v.y;
  const float z0 = v.z;
  float exitX = x0;
  float exitY = y0;
  if (HasSprite(v) && !atVehicle && !FindExit(map, character, vehicle, exitX, exitY)) {
    if (playerSettings.voiceEnabled) startWindowDevices.SpeechSpeak(u"There's no way I can get out!", kSpeakAsync);
    return;
  }

  Actor& vehicleRecord = ActorAt(map, vehicle);
  if (!keepInputSets) {
    TurnDirection(vehicleRecord) = 0.0f;
    vehicleRecord.keyForward = 0.0f;
    vehicleRecord.keyStrafing = 0.0f;
    vehicleRecord.keyRising = 0.0f;
  }
  vehicleRecord.driver = -1;
  const Player* player = OwnerOf(ActorAt(map, character));
  if (player == nullptr) {
    PlaceExitingCharacter(map, character, character, vehicle, x0, y0, z0, exitX, exitY, atVehicle);
    return;
  }
  const std::int32_t owner = ActorAt(map, character).owningPlayer;
  if (!keepInputSets) {
    SwitchInputSet(owner, projectState.settings.inputSets[kVehicleInputSet], false);
    SwitchInputSet(owner, projectState.settings.inputSets[kWalkingInputSet], true);
  }
  // The party list may not hold the leaving character itself; place it too.
  PlaceExitingCharacter(map, character, character, vehicle, x0, y0, z0, exitX, exitY, atVehicle);
  ForEachPartyMember(map, *player, [&](std::int32_t m) {
    PlaceExitingCharacter(map, character, m, vehicle, x0, y0, z0, exitX, exitY, atVehicle);
  });
  if (!atVehicle) ScriptRaiseObjectEvent(kOwnerActor, vehicle, kSymTriggerActorExited, map, character);
}

void PlaceExitingCharacter(std::int32_t map, std::int32_t leader, std::int32_t member, std::int32_t vehicle,
                           float x0, float y0, float z0, float exitX, float exitY, bool atVehicle) {
  if (!ValidActor(map, member) || !ValidActor(map, vehicle) || !ValidActor(map, leader)) return;
  {
    Actor& m = ActorAt(map, member);
    if (m.vehicleRidden != vehicle) return;
    m.vehicleRidden = -1;
    MarkBroadPhaseDirty(gameData.maps[map]);
    m.x = exitX;
    m.y = exitY;
    m.heading = kPiOver2;
  }
  if (!SnapCharacterToGrid(map, leader, -1)) UpdateCharacterFloorHeight(map, leader);
  // Each member gets a grid point of its own, so solid members left on one
  // point do not block each other's every step.
  if (member != leader) SnapCharacterToGrid(map, member, -1);

  const Actor& v = ActorAt(map, vehicle);
  Actor& m = ActorAt(map, member);
  if (atVehicle || z0 <= kHighAbove || !HasSprite(v)) {
    m.z = z0;
    const bool wrecked = !v.statistics.empty() && v.statistics[0].currentValue <= 0 && v.statistics[0].baseValue > 0;
    if (wrecked && m.state == 0 && (m.actorFlags & kKeepStateFlag) == 0) m.state = 1;
  } else if ((VehicleExitSides(v) & kExitDrop) != 0) {
    VerticalSpeed(m) = kDropSpeed;
    m.state = 1;
    m.x = x0;
    m.y = y0 - kDropRise;
    m.z = z0;
  } else {
    m.z = z0;
  }
}

}  // namespace kiv
