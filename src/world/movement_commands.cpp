#include "world/movement_commands.h"

#include <cmath>
#include <cstdlib>

#include "core/angles.h"
#include "core/math_util.h"
#include "core/random.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "player/shell_state.h"
#include "script/script_convert.h"
#include "world/combat_behaviour.h"
#include "world/doors_pickups.h"
#include "world/hit_lists.h"
#include "world/movement_fields.h"
#include "world/object_resets.h"
#include "world/path_finding.h"
#include "world/route_replan.h"
#include "world/world_settings.h"

namespace kiv {

namespace {

constexpr std::int32_t kSymTriggerActorAction = 539;
constexpr std::int32_t kPlainStep = 32;
constexpr std::int32_t kMoveNorth = 0x11;
constexpr std::int32_t kMoveSouth = 0x101;
constexpr std::int32_t kClimbFlag = 0x40;
constexpr std::uint8_t kNone = 8;

enum class Source { kNone, kQueue, kRoute };

Actor& ActorAt(std::int32_t map, std::int32_t actor) {
  return gameData.maps[map].actors[static_cast<std::size_t>(actor)];
}

bool ValidActor(std::int32_t map, std::int32_t actor) {
  return actor >= 0 && static_cast<std::size_t>(actor) < gameData.maps[map].actors.size();
}

bool AiDriven(const Actor& c) {
  if (c.groundState != 1) return false;
  for (const Trigger& t : c.triggers)
    if (t.event == kSymTriggerActorAction && TriggerActionOverride(t)) return false;
  return true;
}

// One of the four main directions; Int here rounds down, since halves to even
// would turn 3.5 into direction 8.
std::int32_t RandomMainDirection() { return static_cast<std::int32_t>(std::floor(RandomNext() * 4.0)) * 2; }

std::int32_t RandomOtherDirection(float heading) {
  const std::int32_t current = AngleToDirection(heading);
  std::int32_t d = RandomMainDirection();
  while (d == current) d = RandomMainDirection();
  return d;
}

std::int32_t AbsoluteDirection(std::int32_t word) {
  return RoundToLong(std::log2(static_cast<double>(word & kMoveAbsoluteMask))) - 2;
}

// The character the current player controls when that player is on this map.
std::int32_t PlayerCharacterOn(std::int32_t map) {
  const std::int32_t p = shell.currentPlayer;
  if (p < 0 || static_cast<std::size_t>(p) >= projectState.players.size()) return -1;
  const Player& player = projectState.players[static_cast<std::size_t>(p)];
  if (player.mapIndex != map || player.controlledMember < 0 ||
      static_cast<std::size_t>(player.controlledMember) >= player.party.size())
    return -1;
  const std::int32_t character = player.party[static_cast<std::size_t>(player.controlledMember)].character;
  return ValidActor(map, character) ? character : -1;
}

// The actor a follow word walks to; -1 none.
std::int32_t FollowTarget(std::int32_t map, const Actor& c, bool& followingLeader) {
  followingLeader = false;
  const bool armed = !c.equipment.empty() && c.equipment[0].item >= 0;
  if (c.aiFocus >= 0 && (c.owningPlayer < 0 || armed)) return c.aiFocus;
  if (c.targetActor >= 0) {
    if (!ValidActor(map, c.targetActor)) return -1;
    const Actor& leader = ActorAt(map, c.targetActor);
    if (std::fabs(c.x - leader.x) <= kLeaderRadius && std::fabs(c.y - leader.y) <= kLeaderRadius) return -1;
    followingLeader = true;
    return c.targetActor;
  }
  if (c.aiFocus >= 0) return -1;
  return PlayerCharacterOn(map);
}

// The focused actor, else the current player's character on this map.
std::int32_t FocusOrPlayer(std::int32_t map, const Actor& c) { return c.aiFocus >= 0 ? c.aiFocus : PlayerCharacterOn(map); }

struct Selection {
  std::int32_t direction = kNone;
  std::int32_t target = -1;
};

Selection SelectDirection(std::int32_t map, std::int32_t character, std::int32_t word) {
  Selection s;
  const Actor& c = ActorAt(map, character);
  if ((word & kMoveAbsoluteMask) != 0) {
    s.direction = AbsoluteDirection(word);
  } else if ((word & kMoveTurnLeft) != 0) {
    s.direction = AngleToDirection(c.heading - kPiOver4);
  } else if ((word & kMoveTurnRight) != 0) {
    s.direction = AngleToDirection(c.heading + kPiOver4);
  } else if ((word & kMoveStraight) != 0) {
    s.direction = AngleToDirection(c.heading);
  } else if ((word & kMoveTurnBack) != 0) {
    s.direction = AngleToDirection(c.heading + kPi);
  } else if ((word & kMoveRandom) != 0) {
    s.direction = RandomMainDirection();
  } else if ((word & kMoveRandomOther) != 0) {
    s.direction = RandomOtherDirection(c.heading);
  } else if ((word & kMoveFollow) != 0) {
    bool followingLeader = false;
    const std::int32_t target = FollowTarget(map, c, followingLeader);
    if (ValidActor(map, target)) {
      s.target = target;
      s.direction = FollowStep(map, character, target, followingLeader);
      if (s.direction == kNone) ActorAt(map, character).moveWait = kPathFailureWait;
    }
  } else if ((word & kMoveFlee) != 0) {
    const std::int32_t target = FocusOrPlayer(map, c);
    if (ValidActor(map, target)) {
      const Actor& t = ActorAt(map, target);
      s.direction = (AngleToQuarterDirection(AngleBetweenPoints(c.x, c.y, t.x, t.y)) + 4) % 8;
    }
  } else if ((word & kMoveToPoint) != 0) {
    s.direction = FindCharacterPath(map, character, true, c.gridX, c.gridY, RoundToLong(c.z), kNone, false, 0, true);
    if (s.direction == kNone) ActorAt(map, character).moveWait = kPathFailureWait;
  }
  return s;
}

// Climbing retries of a blocked step: the whole step a little higher, or four
// ever longer and higher parts that must all be free.
bool ClimbStep(std::int32_t map, std::int32_t character, std::int32_t direction, std::int32_t length,
               bool checkBounds, Box& rect) {
  if (!TestCharacterStep(map, character, direction, static_cast<float>(length), rect, checkBounds, 4.0f, true,
                         false))
    return true;
  const std::int32_t parts[4] = {length / 4, length / 2, length * 3 / 4, length};
  const float rises[4] = {4.0f, 10.0f, 16.0f, 22.0f};
  for (int k = 0; k < 4; ++k)
    if (TestCharacterStep(map, character, direction, static_cast<float>(parts[k]), rect, checkBounds, rises[k],
                          true, false))
      return false;
  return true;
}

// A door that swings toward the walker: step back three and come again.
void QueueDoorBackOff(Actor& c, std::int32_t direction, std::uint8_t doorKind) {
  const bool goingNorth = direction >= 1 && direction <= 3 && (doorKind == 4 || doorKind == 6);
  const bool goingSouth = direction >= 5 && direction <= 7 && (doorKind == 3 || doorKind == 5);
  if (!goingNorth && !goingSouth) return;
  // The queue runs from its end: the last three words back away, the first three return.
  const std::int32_t toward = goingNorth ? kMoveNorth : kMoveSouth;
  const std::int32_t away = goingNorth ? kMoveSouth : kMoveNorth;
  for (int k = 0; k < 3; ++k) c.path.push_back(toward);
  for (int k = 0; k < 3; ++k) c.path.push_back(away);
}

// The step loop; false when the character gives up (the step stays pending).
bool TakeStep(std::int32_t map, std::int32_t character, std::int32_t word, Source source, Selection& s) {
  const bool checkBounds = (word & kMoveInBounds) != 0;
  const bool turns = (word & (kMoveRandom | kMoveRandomOther | kMoveFlee)) != 0;
  const std::int32_t first = s.direction;
  for (;;) {
    Actor& c = ActorAt(map, character);
    StepDirection(c) = s.direction;
    StepRemaining(c) =
        ((word & (kMoveFollow | kMoveToPoint)) != 0 || source == Source::kQueue) ? PathCellSize() : kPlainStep;
    StepTarget(c) = s.target;
    const std::int32_t length = StepRemaining(c);
    Box rect;
    const bool blocked = TestCharacterStep(map, character, s.direction, static_cast<float>(length), rect,
                                           checkBounds, 0.0f, true, true);
    if (!blocked || (word & kMoveForce) != 0 ||
        ((c.physicsFlags & kClimbFlag) != 0 && ClimbStep(map, character, s.direction, length, checkBounds, rect))) {
      ActorAt(map, character).stepRect = rect;
      return true;
    }
    if (!turns) break;
    s.direction = (s.direction + 1) % 8;
    if (s.direction == first) break;
  }
  if (!hitLists.doorHits.empty()) {
    const std::int32_t door = hitLists.doorHits.front();
    OpenDoor(map, door, DirectionToAngle(s.direction), character);
    const std::vector<Door>& doors = gameData.maps[map].doors;
    if (door >= 0 && static_cast<std::size_t>(door) < doors.size() && ValidActor(map, character))
      QueueDoorBackOff(ActorAt(map, character), s.direction, doors[static_cast<std::size_t>(door)].openStyle);
  }
  return false;
}

void Stop(Actor& c) {
  c.walkTime = 0;
  StepRemaining(c) = 0;
}

void FaceBySelector(std::int32_t map, Actor& c, std::int32_t word) {
  c.walkTime = 0;
  if ((word & kMoveAbsoluteMask) != 0) {
    c.heading = DirectionToAngle(AbsoluteDirection(word));
  } else if ((word & kMoveTurnLeft) != 0) {
    c.heading = c.heading - kPiOver4;
  } else if ((word & kMoveTurnRight) != 0) {
    c.heading = c.heading + kPiOver4;
  } else if ((word & kMoveStraight) != 0) {
  } else if ((word & kMoveTurnBack) != 0) {
    c.heading = c.heading + kPi;
  } else if ((word & kMoveRandom) != 0) {
    c.heading = DirectionToAngle(RandomMainDirection());
  } else if ((word & kMoveRandomOther) != 0) {
    c.heading = DirectionToAngle(RandomOtherDirection(c.heading));
  } else if ((word & (kMoveFollow | kMoveFlee)) != 0) {
    const std::int32_t target = FocusOrPlayer(map, c);
    if (!ValidActor(map, target)) return;
    const Actor& t = ActorAt(map, target);
    const float angle = AngleBetweenPoints(c.x, c.y, t.x, t.y);
    c.heading = (word & kMoveFollow) != 0 ? angle : angle + kPi;
  } else if ((word & kMoveToPoint) != 0) {
    c.heading = AngleBetweenPoints(c.x - 16.0f, c.y - 16.0f, static_cast<float>(c.gridX),
                                   static_cast<float>(c.gridY));
  }
}

void Consume(Actor& c, Source source) {
  if (source == Source::kQueue) {
    if (!c.path.empty()) c.path.pop_back();
  } else if (source == Source::kRoute && !c.route.empty()) {
    c.routePosition = PositiveMod(c.routePosition + 1, static_cast<std::int32_t>(c.route.size()));
  }
}

}  // namespace

void UpdateCharacterMovement(std::int32_t map, std::int32_t character) {
  if (map < -1 || map > gameData.maps.LastIndex() || !ValidActor(map, character)) return;
  const bool ai = AiDriven(ActorAt(map, character));
  if (ai) {
    if ((ActorAt(map, character).aiFlags & 1) != 0) UpdateCombatBehaviour(map, character);
    if (ValidActor(map, character)) {
      const Actor& c = ActorAt(map, character);
      if (c.turret == 1 && c.driver < 0) UpdateTurretAim(map, character);
    }
    if (!ValidActor(map, character)) return;
  }
  {
    Actor& c = ActorAt(map, character);
    if (StepRemaining(c) > 0) return;
    if (c.moveWait > 0) {
      c.moveWait -= shell.frameElapsed;
      return;
    }
  }

  Source source = Source::kNone;
  std::int32_t word = 0;
  {
    Actor& c = ActorAt(map, character);
    if (!c.path.empty()) {
      word = c.path.back();
      source = Source::kQueue;
    } else if (c.aiMoveCommand != 0 && ai) {
      word = c.aiMoveCommand;
    } else if (c.autoMoveStyle != 0 && ai) {
      word = c.autoMoveStyle;
    } else if (!c.route.empty() && ai) {
      c.routePosition = PositiveMod(c.routePosition, static_cast<std::int32_t>(c.route.size()));
      word = c.route[static_cast<std::size_t>(c.routePosition)];
      source = Source::kRoute;
    }
  }

  if (word < 0) {
    Actor& c = ActorAt(map, character);
    c.moveWait = word & 0x7FFFFFFF;
    Consume(c, source);
    return;
  }

  std::int32_t direction = kNone;
  if ((word & kMoveStep) != 0) {
    Selection s = SelectDirection(map, character, word);
    if (!ValidActor(map, character)) return;
    bool taken = false;
    if (s.direction >= 0 && s.direction < 8) taken = TakeStep(map, character, word, source, s);
    if (!ValidActor(map, character)) return;
    if (!taken && source == Source::kQueue && hitLists.doorHits.empty()) {
      // A refused step of a planned route: plan once more from here and try
      // the fresh route's first step; failing that, wait before the next try.
      const Replan replan = ReplanRoute(map, character);
      if (replan != Replan::kNotARoute && ValidActor(map, character)) {
        if (replan == Replan::kNewRoute && !ActorAt(map, character).path.empty()) {
          word = ActorAt(map, character).path.back();
          s = SelectDirection(map, character, word);
          if (!ValidActor(map, character)) return;
          if (s.direction >= 0 && s.direction < 8) taken = TakeStep(map, character, word, source, s);
          if (!ValidActor(map, character)) return;
        }
        Actor& walker = ActorAt(map, character);
        if (!taken && !walker.path.empty()) walker.moveWait = kPathFailureWait;
      }
    }
    Actor& c = ActorAt(map, character);
    if (taken) {
      direction = s.direction;
    } else {
      Stop(c);
      source = Source::kNone;
      direction = AngleToDirection(c.heading);
    }
  }

  Actor& c = ActorAt(map, character);
  if ((word & kMoveFace) != 0) {
    if ((word & kMoveStep) != 0) {
      c.heading = DirectionToAngle(direction);
    } else {
      FaceBySelector(map, c, word);
    }
  }
  Consume(c, source);
}

}  // namespace kiv
