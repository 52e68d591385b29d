#include "commands/internal_keywords.h"

#include "core/error.h"
#include "data/game_data.h"
#include "player/shell_state.h"
#include "script/call_frame.h"
#include "world/doors_pickups.h"
#include "world/party_operations.h"
#include "world/vehicles.h"

namespace kiv {

namespace {

constexpr std::int32_t kCodeDoorAction = 149;
constexpr std::int32_t kCodeExit = 161;
constexpr std::int32_t kCodeQuit = 331;
constexpr std::int32_t kCodeTurretMain = 408;
constexpr std::int32_t kCodeVehicleMain = 409;

void DoorAction() {
  const CallFrame& frame = TopFrame();
  if (frame.relateDoor < 0) {
    RaiseError(kErrData,
               "The \"Door Action\" event is meant to be used only in any system scripts relating to doors. Use the "
               "\"Open/Close Door\" event instead.");
  }
  const std::int32_t map = frame.ownerMap;
  const std::int32_t door = frame.relateDoor;
  const std::int32_t opener = frame.relateActor;
  if (map < -1 || map > gameData.maps.LastIndex()) RaiseError(kErrIndex, "Subscript out of range");
  const Map& record = gameData.maps[map];
  if (door >= static_cast<std::int32_t>(record.doors.size())) RaiseError(kErrIndex, "Subscript out of range");
  float angle = 0.0f;
  if (opener >= 0) {
    if (opener >= static_cast<std::int32_t>(record.actors.size())) RaiseError(kErrIndex, "Subscript out of range");
    angle = record.actors[static_cast<std::size_t>(opener)].heading;
  }
  OpenDoor(map, door, angle, opener);
}

void TurretMain() {
  const CallFrame& frame = TopFrame();
  if (frame.relateActor < 0 || frame.thisActor < 0) RaiseError(kErrData, "Incorrect usage of TURRETMAIN.");
  const std::int32_t map = frame.ownerMap;
  if (map < -1 || map > gameData.maps.LastIndex()) RaiseError(kErrIndex, "Subscript out of range");
  const auto actors = static_cast<std::int32_t>(gameData.maps[map].actors.size());
  if (frame.relateActor >= actors || frame.thisActor >= actors) RaiseError(kErrIndex, "Subscript out of range");
  EnterTurret(map, frame.relateActor, frame.thisActor);
}

}  // namespace

Variant ScriptStopRequest() { return Variant::Array(kVarVariant, {Variant::Long(1)}); }

bool RunInternalKeyword(InternalCall& call) {
  switch (call.code) {
    case kCodeDoorAction:
      DoorAction();
      return true;
    case kCodeQuit:
      shell.quitRequest = true;
      [[fallthrough]];
    case kCodeExit:
      call.SetResult(kValueControl, ScriptStopRequest());
      return true;
    case kCodeTurretMain:
      TurretMain();
      return true;
    case kCodeVehicleMain:
      ScriptVehicleMain();
      return true;
    default:
      return false;
  }
}

}  // namespace kiv
