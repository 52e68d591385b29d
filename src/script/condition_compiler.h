#pragma once
// Turns the conditions that a trigger's parameters express into fast
// condition tokens, tested before a script runs, and, for what has no fast
// form, an IF header and ENDIF footer wrapped around the script's text.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/lists.h"

namespace kiv {

// Fast condition kinds (the value's meaning in brackets).
enum ConditionKind : std::int32_t {
  kConditionCursorSprite = 0,   // sprite index
  kConditionControl = 1,        // control index, held
  kConditionControlUp = 2,      // control index, went up
  kConditionControlDown = 3,    // control index, went down
  kConditionGestureAccuracy = 4,  // accuracy >= value
  kConditionGestureScaleMin = 5,  // scale >= value
  kConditionGestureScaleMax = 6,  // scale <= value
  kConditionGestureAngleMax = 7,  // angle <= value
  kConditionIsA = 8,            // actor template index
  kConditionIsPlayer = 9,       // 1 or 0
  kConditionTimePassed = 10,    // interval in ms
  kConditionProximityClose = 11,  // distance
  kConditionProximityFar = 12,    // distance
  kConditionGesture = 13,       // completion threshold; the gesture in the token
};

// Rebuilds the header, footer and tokens of the trigger's script from its
// event and parameters; sets the script's recompile flag when the header or
// footer changed.
void BuildTriggerConditions(Trigger& trigger);

// Adds one condition of the given prefix with its parameter texts.
void AddTriggerCondition(Script& script, std::u16string_view prefix, const std::vector<std::u16string>& parameters);

// Appends a fast token without a gesture.
void AddConditionToken(Script& script, std::int32_t kind, std::int32_t value);

}  // namespace kiv
