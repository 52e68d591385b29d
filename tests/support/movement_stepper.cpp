#include "support/movement_stepper.h"

#include <algorithm>

#include "core/math_util.h"
#include "data/game_data.h"
#include "player/shell_state.h"
#include "world/hit_lists.h"
#include "world/movement_commands.h"
#include "world/movement_fields.h"

namespace kiv::test {

namespace {

constexpr int kStepX[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
constexpr int kStepY[8] = {0, -1, -1, -1, 0, 1, 1, 1};

void CarryOutStep(Actor& a, std::int32_t ms) {
  const bool commanded = !a.path.empty() || a.aiMoveCommand != 0 || a.autoMoveStyle != 0 || !a.route.empty();
  if (StepRemaining(a) > 0) {
    const std::int32_t d = StepDirection(a);
    const std::int32_t covered = std::min(StepRemaining(a), std::max(1, RoundToLong(a.speed * static_cast<float>(ms))));
    if (d >= 0 && d < 8) {
      a.x += static_cast<float>(kStepX[d] * covered);
      a.y += static_cast<float>(kStepY[d] * covered);
    }
    StepRemaining(a) -= covered;
    if (StepRemaining(a) <= 0) {
      StepRemaining(a) = 0;
      a.x = static_cast<float>(RoundToLong(a.x));
      a.y = static_cast<float>(RoundToLong(a.y));
    }
    a.walkTime += ms;
  } else if (commanded) {
    a.walkTime += ms;
  } else {
    a.walkTime = 0;
  }
}

}  // namespace

void StepCharacters(std::int32_t map, std::int32_t ms) {
  shell.frameElapsed = ms;
  for (std::size_t i = 0; i < gameData.maps[map].actors.size(); ++i) {
    hitLists.Reset();
    UpdateCharacterMovement(map, static_cast<std::int32_t>(i));
    CarryOutStep(gameData.maps[map].actors[i], ms);
  }
}

}  // namespace kiv::test
