// Direction, motion controls, velocities, physics and the vehicle controls of
// actors.
#include <cmath>

#include "commands/actor_call.h"
#include "commands/actor_selection.h"
#include "commands/actor_words.h"
#include "commands/value_helpers.h"
#include "core/angles.h"
#include "core/error.h"
#include "core/symbol_table.h"
#include "data/game_data.h"
#include "script/project_options.h"
#include "script/script_actor_resolvers.h"
#include "script/script_convert.h"
#include "script/script_value_ops.h"
#include "script/timed_changes.h"
#include "world/object_resets.h"

namespace kiv {

namespace {

// Scripted flags of the three axes: 1 while a script drives the axis control.
constexpr std::size_t kAxisX = 0, kAxisY = 1, kAxisZ = 2;
constexpr float kJumpVelocity = 0.36f;

void Heading(ActorCall& call) { call.BindAngle(call.Record().heading); }
void RotationY(ActorCall& call) { call.BindAngle(call.Record().rotationY); }

// Characters read a direction word; vehicles and turrets the angle itself.
void Direction(ActorCall& call) {
  if (call.kind == kObjectVehicle || call.kind == kObjectTurret) {
    call.BindAngle(call.Record().heading);
    return;
  }
  if (call.Assigning()) {
    const float heading = ScriptConvertRotation(call.value, true);
    call.Record().heading = heading;
  } else {
    call.Answer(Variant::Text(DirectionWord(AngleToDirection(call.Record().heading))));
  }
}

// Turns the actor toward the point about the axis named (z, y or x).
void FaceToward(ActorCall& call, float tx, float ty, float tz, const std::u16string& axisWord) {
  const std::int32_t axis = ScriptConvertAxis(axisWord, true);
  Actor& actor = call.Record();
  switch (axis) {
    case 0: actor.heading = AngleBetweenPoints(actor.x, actor.y, tx, ty); break;
    case 1: actor.rotationY = AngleBetweenPoints(actor.x, actor.z, tx, tz); break;
    default: break;  // the record keeps no rotation about x
  }
}

void FaceActor(ActorCall& call) {
  const std::u16string axis = call.ArgumentText(1);
  const std::int32_t other = VarToLong(ScriptResolveCharacter(call.ArgumentText(0), call.map, true, false).value);
  const auto& actors = call.MapRecord().actors;
  if (other < 0 || other >= static_cast<std::int32_t>(actors.size())) RaiseError(kErrIndex, "Subscript out of range");
  const Actor& target = actors[static_cast<std::size_t>(other)];
  FaceToward(call, target.x, target.y, target.z, axis);
}

void FaceLocation(ActorCall& call) {
  FaceToward(call, call.ArgumentSingle(0), call.ArgumentSingle(1), call.ArgumentSingle(2), call.ArgumentText(3));
}

void MovementToDirection(ActorCall& call) {
  call.Record();  // error 9 once the actor is gone
  const float heading = ActorHeading(call.map, call.index);
  call.Record().heading = heading;
}

// Axis values answer into the result themselves.
void Axis(ActorCall& call, float& control) {
  AxisValueProperty(control, call.result, call.Assigning(), call.value);
  call.resultWritten = true;
}

void Forward(ActorCall& call) { Axis(call, call.Record().keyForward); }
void Strafing(ActorCall& call) { Axis(call, call.Record().keyStrafing); }
void Rising(ActorCall& call) { Axis(call, call.Record().keyRising); }

void Turning(ActorCall& call) {
  if (call.Assigning()) {
    const std::int32_t whole = VarToLong(call.value);
    if (whole < -32768 || whole > 32767) RaiseError(kErrOverflow, "Overflow");
    call.Record().turningKey = static_cast<std::int16_t>(whole);
  }
  Axis(call, call.Record().keyTurning);
}

template <std::size_t A>
void MovementAxis(ActorCall& call) {
  Actor& actor = call.Record();
  float* const controls[] = {&actor.movementX, &actor.movementY, &actor.movementZ};
  Axis(call, *controls[A]);
  if (call.Assigning()) call.Record().movementFlags[A] = 1;
}

void VelocityX(ActorCall& call) { call.slot.BindSingle(call.Record().velocityX); }
void VelocityY(ActorCall& call) { call.slot.BindSingle(call.Record().velocityY); }

// After a stored velocity the axis is no longer driven by its scripted control.
template <std::size_t A>
void ReleaseAxis(ActorCall& call) {
  if (call.Assigning()) call.Record().movementFlags[A] = 0;
}

bool MayRise(const Actor& actor) { return actor.canMove != 0 || ScriptAllowJumpWhenImmobile(); }

void VelocityZ(ActorCall& call) {
  if (!call.Assigning()) {
    call.Answer(Variant::Single(call.Record().velocityZ));
    return;
  }
  const bool restricted = ScriptRestrictVerticalVelocity();
  if (restricted && !MayRise(call.Record())) return;
  PropertySlot slot;
  slot.BindSingle(call.Record().velocityZ);
  slot.Assign(call.value);
  Actor& actor = call.Record();
  actor.movementFlags[kAxisZ] = 0;
  if (restricted) actor.airborne = 1;
}

void Jump(ActorCall& call) {
  Actor& actor = call.Record();
  if (!MayRise(actor)) return;
  actor.velocityZ = kJumpVelocity;
  actor.airborne = 1;
  actor.movementFlags[kAxisZ] = 0;
}

void ChangeKeyMove(ActorCall& call) {
  const float forward = call.ArgumentSingle(0);
  const bool withTurn = call.HasArgument(1);
  const float turn = withTurn ? call.ArgumentSingle(1) : 0.0f;
  const bool withRise = call.HasArgument(2);
  const float rise = withRise ? call.ArgumentSingle(2) : 0.0f;
  const float roundedTurn = std::nearbyint(turn);
  if (roundedTurn < -32768.0f || roundedTurn > 32767.0f) RaiseError(kErrOverflow, "Overflow");
  Actor& actor = call.Record();
  actor.keyForward = forward;
  actor.keyTurning = turn;
  actor.turningKey = static_cast<std::int16_t>(roundedTurn);
  if (!withTurn || withRise) actor.keyRising = rise;
}

void CanMove(ActorCall& call) { call.slot.BindBoolean(call.Record().canMove); }
void Speed(ActorCall& call) { call.slot.BindSingle(call.Record().speed); }
void AutoMoveStyle(ActorCall& call) { call.slot.BindLong(call.Record().autoMoveStyle); }
void Solid(ActorCall& call) { call.slot.BindBoolean(call.Record().solidToTouch); }

void SetVehicleType(ActorCall& call) {
  std::int32_t flags = 64;
  for (std::int32_t i = 0; i <= call.argumentUpper; ++i) flags |= ScriptConvertDrivingSpec(call.ArgumentText(i), true);
  call.Record().physicsFlags = flags;
}

void Physics(ActorCall& call) {
  const std::int32_t bit = ScriptConvertDrivingSpec(call.ArgumentText(0), true);
  if (call.Assigning()) {
    const bool set = ScriptConvertBoolean(call.value, true) != 0;
    Actor& actor = call.Record();
    actor.physicsFlags = set ? (actor.physicsFlags | bit) : (actor.physicsFlags & ~bit);
  } else {
    call.Answer(Variant::Long((call.Record().physicsFlags & bit) != 0 ? 1 : 0));
  }
}

void Extension(ActorCall& call) { call.slot.BindSingle(call.Record().extension); }

// Extends or retracts over a second, as a timed change of Extension.
void ExtendTo(ActorCall& call, float end) {
  ScriptValue target{call.kind, Variant::Long(call.index), call.map};
  ScriptStartTimedChange(SymbolIntern(u"Extension"), target, -1, Variant::Single(end), 1000);
}

void ExtensionStart(ActorCall& call) { ExtendTo(call, 1.0f); }
void ExtensionStop(ActorCall& call) { ExtendTo(call, 0.0f); }

void Gas(ActorCall& call) {
  Actor& actor = call.Record();
  call.slot.BindSingle(actor.gas);
  call.slot.Clamp(0.0, actor.maxGas);
}

void MaxGas(ActorCall& call) {
  call.slot.BindSingle(call.Record().maxGas);
  call.slot.Clamp(0.0, kClampHighest);
}

void Velocity(ActorCall& call) { call.slot.BindSingle(call.Record().velocity); }
void Acceleration(ActorCall& call) { call.slot.BindSingle(call.Record().vehicleValue2); }

// The trigger of the first equipped item; any access drops the press that
// already fired, so the next one fires again.
void WeaponAction(ActorCall& call) {
  Actor& actor = call.Record();
  if (actor.equipment.empty()) RaiseError(kErrIndex, "Subscript out of range");
  actor.equipment[0].pressFired = 0;
  call.slot.BindBoolean(actor.equipment[0].flag);
}

constexpr ActorProperty kMotion[] = {
    {"Direction", Direction, nullptr},
    {"DirectionAngle", Heading, nullptr},
    {"Rotation", Heading, nullptr},
    {"DirectionAngleY", RotationY, nullptr},
    {"FaceActor", FaceActor, nullptr},
    {"FaceLocation", FaceLocation, nullptr},
    {"MovementToDirection", MovementToDirection, nullptr},
    {"Movement", Forward, nullptr},
    {"Accelerating", Forward, nullptr},
    {"MovementX", MovementAxis<kAxisX>, nullptr},
    {"MovementY", MovementAxis<kAxisY>, nullptr},
    {"MovementZ", MovementAxis<kAxisZ>, nullptr},
    {"Strafing", Strafing, nullptr},
    {"Rising", Rising, nullptr},
    {"Turning", Turning, nullptr},
    {"ChangeKeyMove", ChangeKeyMove, nullptr},
    {"VelocityX", VelocityX, ReleaseAxis<kAxisX>},
    {"VelocityY", VelocityY, ReleaseAxis<kAxisY>},
    {"VelocityZ", VelocityZ, nullptr},
    {"Jump", Jump, nullptr},
    {"CanMove", CanMove, nullptr},
    {"Speed", Speed, nullptr},
    {"AutoMoveStyle", AutoMoveStyle, nullptr},
    {"Solid", Solid, nullptr},
    {"Block", Solid, nullptr},
    {"SetVehicleType", SetVehicleType, nullptr},
    {"Physics", Physics, nullptr},
    {"Extension", Extension, nullptr},
    {"ExtensionStart", ExtensionStart, nullptr},
    {"ExtensionStop", ExtensionStop, nullptr},
    {"Gas", Gas, nullptr},
    {"MaxGas", MaxGas, nullptr},
    {"Velocity", Velocity, nullptr},
    {"Acceleration", Acceleration, nullptr},
    {"WeaponAction", WeaponAction, nullptr},
};

}  // namespace

std::span<const ActorProperty> ActorMotionProperties() { return kMotion; }

}  // namespace kiv
