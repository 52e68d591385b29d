// Position of actors: placing them, transfer to another map, paths, memorized
// positions and collision tests at a supposed place.
#include <cmath>
#include <vector>

#include "commands/actor_call.h"
#include "commands/actor_selection.h"
#include "commands/actor_words.h"
#include "core/angles.h"
#include "core/error.h"
#include "data/game_data.h"
#include "mathkiv/collision.h"
#include "mathkiv/placement.h"
#include "script/script_actor_resolvers.h"
#include "script/script_convert.h"
#include "script/script_map_resolvers.h"
#include "script/script_stack_access.h"
#include "script/script_value_ops.h"
#include "script/waits.h"
#include "world/move_tests.h"
#include "world/object_resets.h"
#include "world/path_finding.h"
#include "world/placement.h"
#include "world/world_settings.h"

namespace kiv {

namespace {

// kept[] holds the position and heading a transfer gives back to the old record.
void KeepPlace(ActorCall& call, const Actor& actor) {
  call.kept = {actor.x, actor.y, actor.z, actor.heading};
}

// Phase 2 of a transfer: to the map of argument 0 (loaded when needed); the
// record left behind on another map gets its old place back.
void Transfer(ActorCall& call) {
  const std::int32_t target = VarToLong(ScriptResolveMap(call.ArgumentText(0), true, true, true).value);
  call.Record();  // error 9 once the actor is gone
  SetCharacterPosition(call.index, call.map, target, false, false);
  if (target == call.map) return;
  Map& old = call.MapRecord();
  if (call.index < 0 || call.index >= static_cast<std::int32_t>(old.actors.size())) return;
  Actor& left = old.actors[static_cast<std::size_t>(call.index)];
  left.x = call.kept[0];
  left.y = call.kept[1];
  left.z = call.kept[2];
  left.heading = call.kept[3];
}

void Position(ActorCall& call) {
  Actor& actor = call.Record();
  if (call.kind == kObjectDynamic) {
    const float x = call.ArgumentSingle(0), y = call.ArgumentSingle(1), z = call.ArgumentSingle(2);
    Actor& placed = call.Record();
    placed.x = x;
    placed.y = y;
    placed.z = z;
    call.phase2 = false;
    return;
  }
  KeepPlace(call, actor);
  if (call.kind == kObjectVehicle) {
    const float x = call.ArgumentSingle(1), y = call.ArgumentSingle(2), heading = call.ArgumentSingle(3);
    Actor& placed = call.Record();
    placed.x = x;
    placed.y = y;
    placed.heading = heading;
    return;
  }
  // Characters and turrets stand in the middle of the grid cell named.
  const float x = call.ArgumentSingle(1) + 16.0f, y = call.ArgumentSingle(2) + 16.0f, z = call.ArgumentSingle(3);
  const std::int32_t direction = ScriptConvertDirection(call.Argument(4), true, true);
  Actor& placed = call.Record();
  placed.x = x;
  placed.y = y;
  placed.z = z;
  if (direction != 8) placed.heading = DirectionToAngle(direction);
}

void Position2(ActorCall& call) {
  KeepPlace(call, call.Record());
  const float x = call.ArgumentSingle(1), y = call.ArgumentSingle(2);
  if (call.kind == kObjectDynamic) {
    const float z = call.ArgumentSingle(3);
    Actor& placed = call.Record();
    placed.x = x;
    placed.y = y;
    placed.z = z;
    return;
  }
  const bool withHeight = call.ArgumentBoolean(3);
  float z = call.Record().z;
  float heading = call.Record().heading;
  if (withHeight) {
    z = call.ArgumentSingle(4);
    heading = call.kind == kObjectVehicle ? call.ArgumentSingle(5) : ScriptConvertRotation(call.Argument(5), true);
  }
  Actor& placed = call.Record();
  placed.x = x;
  placed.y = y;
  placed.z = z;
  placed.heading = heading;
}

void Position3(ActorCall& call) {
  KeepPlace(call, call.Record());
  const float x = call.ArgumentSingle(1), y = call.ArgumentSingle(2), z = call.ArgumentSingle(3);
  const bool withHeading = call.ArgumentBoolean(4);
  const float heading = withHeading ? call.ArgumentSingle(5) : call.Record().heading;
  Actor& placed = call.Record();
  placed.x = x;
  placed.y = y;
  placed.z = z;
  placed.heading = heading;
}

void X(ActorCall& call) { call.slot.BindSingle(call.Record().x); }
void Y(ActorCall& call) { call.slot.BindSingle(call.Record().y); }
void Z(ActorCall& call) { call.slot.BindSingle(call.Record().z); }

// A stored coordinate moves the actor's floor with it.
void UpdateFloor(ActorCall& call) {
  if (call.Assigning()) UpdateCharacterFloorHeight(call.map, call.index);
}

void MemorizePosition(ActorCall& call) {
  Actor& actor = call.Record();
  actor.memorized = call.map;
  actor.memorizedX = actor.x;
  actor.memorizedY = actor.y;
  actor.memorizedZ = actor.z;
}

void PositionMemorized(ActorCall& call) {
  Actor& actor = call.Record();
  if (actor.memorized == -1) RaiseError(kErrData, "There is no memorized position for this actor.");
  actor.x = actor.memorizedX;
  actor.y = actor.memorizedY;
  actor.z = actor.memorizedZ;
  call.keptNumber = actor.memorized;
}

void ReturnToMemorized(ActorCall& call) {
  SetCharacterPosition(call.index, call.map, call.keptNumber, false, false);
}

// Path walking. Phase 1 decides between a transfer (another map) and a path
// on this map; keptNumber is 1 for a transfer.
void GotoPlan(ActorCall& call) {
  const std::int32_t target = VarToLong(ScriptResolveMap(call.ArgumentText(0), false, true, true).value);
  call.keptNumber = 0;
  if (target == call.map) return;
  KeepPlace(call, call.Record());
  const float x = call.ArgumentSingle(1), y = call.ArgumentSingle(2), z = call.ArgumentSingle(3);
  Actor& placed = call.Record();
  placed.x = x;
  placed.y = y;
  placed.z = z;
  call.keptNumber = 1;
}

// Goto2 answers 1 for a transfer at once.
void Goto2Plan(ActorCall& call) {
  GotoPlan(call);
  if (call.keptNumber == 1) call.Answer(Variant::Long(1));
}

struct PathRequest {
  std::int32_t facing = 8;
  bool friendsPass = false;
};

std::int32_t FindPathTo(ActorCall& call, const PathRequest& request, std::int32_t close, bool report) {
  const std::int32_t x = call.ArgumentLong(1), y = call.ArgumentLong(2);
  const std::int32_t z = static_cast<std::int32_t>(std::nearbyint(call.Record().z));
  return FindCharacterPath(call.map, call.index, false, x, y, z, request.facing, request.friendsPass, close, report);
}

PathRequest RequestOf(ActorCall& call, bool flagNeeded) {
  PathRequest request;
  request.facing = ScriptConvertDirection(call.Argument(4), true, true);
  request.friendsPass = (!flagNeeded || call.HasArgument(5)) && call.ArgumentBoolean(5);
  return request;
}

void Goto(ActorCall& call) {
  if (call.keptNumber == 1) {
    Transfer(call);
    return;
  }
  FindPathTo(call, RequestOf(call, true), 0, true);
}

void Goto2(ActorCall& call) {
  if (call.keptNumber == 1) {
    Transfer(call);
    return;
  }
  const PathRequest request = RequestOf(call, false);
  // Only the path-finder's own failure turns into 0.
  bool found = true;
  try {
    FindPathTo(call, request, 0, true);
  } catch (const KivError& error) {
    if (error.Number() != kErrData) throw;
    found = false;
  }
  call.Answer(Variant::Long(found ? 1 : 0));
}

void GotoClose(ActorCall& call) {
  if (call.keptNumber == 1) {
    Transfer(call);
    return;
  }
  FindPathTo(call, RequestOf(call, false), -1, false);
}

void DirectionWalk(ActorCall& call) {
  const std::int32_t x = call.ArgumentLong(0), y = call.ArgumentLong(1), z = call.ArgumentLong(2);
  const bool friendsPass = call.ArgumentBoolean(3);
  const std::int32_t d = FindCharacterPath(call.map, call.index, true, x, y, z, 8, friendsPass, -1, false);
  call.Answer(Variant::Text(DirectionWord(d)));
}

// The whole path as words; the actor's own stored path is put back as it was.
void PathWalk(ActorCall& call) {
  const std::int32_t x = call.ArgumentLong(0), y = call.ArgumentLong(1), z = call.ArgumentLong(2);
  const bool friendsPass = call.ArgumentBoolean(3);
  const std::vector<std::int32_t> stored = call.Record().path;
  const std::int32_t built = FindCharacterPath(call.map, call.index, false, x, y, z, 8, friendsPass, 0, false);
  std::vector<Variant> words;
  if (built == 8) {
    for (const std::uint8_t step : lastPath) words.push_back(Variant::Text(DirectionWord(step)));
  }
  call.Record().path = stored;
  call.Answer(Variant::Array(kVarVariant, std::move(words)));
}

// Two path entries per argument for the usual 16-pixel cell; other cell sizes
// fill what fits, and a cell of 0 or beyond 32 pixels gives no path.
void Move(ActorCall& call) {
  const Variant words = ScriptGetArgumentArray(call.argumentUpper, 0);
  const std::vector<Variant>& elements = words.Elements();
  const auto n = static_cast<std::int64_t>(elements.size()) - 1;
  const std::int32_t cell = PathCellSize();
  std::vector<std::int32_t> path;
  if (cell > 0 && cell <= 32) {
    const std::int64_t last = (n + 1) * (32 / cell) - 1;
    if (last >= 0) {
      path.assign(static_cast<std::size_t>(last + 1), 0);
      for (std::int64_t k = 0; k <= n; ++k) {
        const std::int32_t word = VarToLong(elements[static_cast<std::size_t>(k)]);
        for (const std::int64_t at : {last - 2 * k, last - 2 * k - 1}) {
          if (at >= 0 && at <= last) path[static_cast<std::size_t>(at)] = word;
        }
      }
    }
  }
  call.Record().path = std::move(path);
}

void ChangeRoute(ActorCall& call) {
  const Variant values = ScriptGetArgumentArray(call.argumentUpper, 0);
  std::vector<std::int32_t> route;
  for (const Variant& value : values.Elements()) route.push_back(VarToLong(value));
  Actor& actor = call.Record();
  actor.route = std::move(route);
  actor.routePosition = 0;
}

void MoveDirection(ActorCall& call) {
  const std::int32_t direction = ScriptConvertDirection(call.Argument(0), true, true);
  call.Record().stepDirection = direction;
  if (direction == 8) {
    call.Record().stepLeft = 0;
  } else {
    const std::int32_t steps = call.ArgumentLong(1);
    const bool face = call.ArgumentBoolean(2);
    Actor& actor = call.Record();
    actor.stepLeft = steps;
    if (face) actor.heading = DirectionToAngle(direction);
    Box swept;
    TestCharacterStep(call.map, call.index, direction, static_cast<float>(steps), swept, false, 0.0f, false, false);
    call.Record().stepRect = swept;
  }
  Actor& actor = call.Record();
  actor.stepTarget = -1;
  actor.path.clear();
}

void WaitMove(ActorCall& call) {
  call.result.value = ScriptMakeWaitRequest(1, 0, call.index, 0, call.map, Variant::Long(-1), -1, -1, -1);
  call.result.kind = kValueControl;
  call.resultWritten = true;
  call.phase2 = false;
}

void Floor(ActorCall& call) {
  if (call.Assigning()) RaiseError(kErrData, "You cannot change the percieved level of the floor.");
  call.Answer(Variant::Single(call.Record().floorHeight));
}

std::int32_t TargetMap(ActorCall& call) {
  return VarToLong(ScriptResolveMap(call.ArgumentText(0), false, true, true).value);
}

// The actor's shape at the supposed place; the record keeps no rotation about x.
ShapePlacement SupposedPlacement(ActorCall& call) {
  const float x = call.ArgumentSingle(1), y = call.ArgumentSingle(2), z = call.ArgumentSingle(3);
  const float rotation = ScriptConvertRotation(call.Argument(4), true);
  const Actor& actor = call.Record();
  return ShapePlacement{x, y, z, 0.0f, actor.rotationY, rotation, actor.scaleX, actor.scaleY, actor.scaleZ};
}

void Collision(ActorCall& call) {
  const std::int32_t target = TargetMap(call);
  const ShapePlacement placement = SupposedPlacement(call);
  const CollisionShape shape = call.Record().collisionShape;
  if (target < 0 || target > gameData.maps.LastIndex()) RaiseError(kErrIndex, "Subscript out of range");
  const std::int32_t skip = target == call.map ? call.index : -1;
  const bool hit = TestActorMove(target, shape, placement, skip, -1, -1, false, false);
  call.Answer(Variant::Long(hit ? 1 : 0));
}

void CollisionActor(ActorCall& call) {
  const std::int32_t target = TargetMap(call);
  const ScriptValue other = ScriptResolveActor(call.ArgumentText(5), -1, true, false);
  const ShapePlacement placement = SupposedPlacement(call);
  if (other.mapIndex != target) {
    call.Answer(Variant::Long(0));
    return;
  }
  const std::int32_t otherIndex = VarToLong(other.value);
  if (target < 0 || target > gameData.maps.LastIndex() || otherIndex < 0 ||
      otherIndex >= static_cast<std::int32_t>(gameData.maps[target].actors.size())) {
    RaiseError(kErrIndex, "Subscript out of range");
  }
  const Actor& them = gameData.maps[target].actors[static_cast<std::size_t>(otherIndex)];
  const ShapePlacement theirs{them.x,       them.y,      them.z,      0.0f,       them.rotationY,
                              them.heading, them.scaleX, them.scaleY, them.scaleZ};
  const bool hit = IntersectCollisionCollision(call.Record().collisionShape, placement, them.collisionShape, theirs);
  call.Answer(Variant::Long(hit ? 1 : 0));
}

constexpr ActorProperty kPosition[] = {
    {"Position", Position, Transfer},
    {"Position2", Position2, Transfer},
    {"Position3", Position3, Transfer},
    {"X", X, UpdateFloor},
    {"Y", Y, UpdateFloor},
    {"Z", Z, UpdateFloor},
    {"MemorizePosition", MemorizePosition, nullptr},
    {"PositionMemorized", PositionMemorized, ReturnToMemorized},
    {"Goto", GotoPlan, Goto},
    {"Goto2", Goto2Plan, Goto2},
    {"GotoClose", GotoPlan, GotoClose},
    {"DirectionWalk", nullptr, DirectionWalk},
    {"PathWalk", nullptr, PathWalk},
    {"Move", Move, nullptr},
    {"ChangeRoute", ChangeRoute, nullptr},
    {"MoveDirection", MoveDirection, nullptr},
    {"WaitMove", WaitMove, nullptr},
    {"Floor", Floor, nullptr},
    {"Collision", nullptr, Collision},
    {"CollisionActor", nullptr, CollisionActor},
};

}  // namespace

std::span<const ActorProperty> ActorPositionProperties() { return kPosition; }

}  // namespace kiv
