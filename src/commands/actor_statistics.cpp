// An actor's statistics (hit points first), its death, its rewards and its
// AI switch.
//
// A statistic's record keeps its maximum in baseValue and its current value
// in currentValue. Hit points change only through damage (negative damage
// heals), so that hurt and death events run; other statistics are set at
// once, with the statistic system script told of the change.
#include <cstdlib>
#include <string>

#include "commands/actor_call.h"
#include "commands/actor_selection.h"
#include "core/error.h"
#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "data/item_fields.h"
#include "script/call_frame.h"
#include "script/script_convert.h"
#include "script/script_lookups.h"
#include "script/script_party_resolvers.h"
#include "script/script_value_ops.h"
#include "script/trigger_dispatch.h"
#include "state/game_state.h"
#include "world/damage.h"
#include "world/long_arithmetic.h"

namespace kiv {

namespace {

// The actor's state while the statistic system script runs for it.
constexpr std::int32_t kStateStatisticScript = 4;
// The system script told of a changed statistic.
constexpr std::int32_t kStatisticSystemScript = 1;
constexpr std::int32_t kHitPoints = 0;
constexpr std::int64_t kLargestChangeShown = 999999999;

StatisticValue& StatisticAt(Actor& actor, std::int32_t statistic) {
  if (statistic < 0 || static_cast<std::size_t>(statistic) >= actor.statistics.size())
    RaiseError(kErrIndex, "Subscript out of range: statistic " + std::to_string(statistic) + ".");
  return actor.statistics[static_cast<std::size_t>(statistic)];
}

std::int32_t StatisticArgument(const ActorCall& call, std::int32_t argument) {
  return VarToLong(ScriptResolveStatistic(call.ArgumentText(argument), true).value);
}

// Runs the statistic system script with the actor as its this actor.
void RunStatisticScript(const ActorCall& call) {
  TriggerRun run;
  run.ownerKind = kOwnerSystem;
  run.ownerIndex = kStatisticSystemScript;
  run.subIndex = call.index;
  run.callerValue = -1;
  run.map = call.map;
  ScriptRunTrigger(run);
}

// The change shown over the actor: minus the increase, held within nine digits.
void ShowChange(Actor& actor, std::int32_t increase) {
  std::int64_t shown = -static_cast<std::int64_t>(increase);
  if (shown > kLargestChangeShown) shown = kLargestChangeShown;
  if (shown < -kLargestChangeShown) shown = -kLargestChangeShown;
  ShowDamageNumber(actor, static_cast<std::int32_t>(shown));
}

// Sets a current value; for hit points leaves the change to damage in phase 2.
void AssignCurrent(ActorCall& call, std::int32_t statistic) {
  const double wanted = VarToDouble(call.value);
  const std::int32_t current = StatisticAt(call.Record(), statistic).currentValue;
  // Long(value - current): a difference beyond 32 bits is an overflow, never wrapped.
  const std::int32_t increase = VarToLong(Variant::Double(wanted - static_cast<double>(current)));
  call.keptNumber = increase;
  if (statistic != kHitPoints) {
    StatisticAt(call.Record(), statistic).currentValue = VarToLong(call.value);
    if (call.Record().state != kStateStatisticScript) {
      const std::int32_t state = call.Record().state;
      call.Record().state = kStateStatisticScript;
      RunStatisticScript(call);
      // The script may have moved the actor in its list; Record() finds it by index again.
      call.Record().state = state;
    }
  } else if (increase < 1) {
    return;
  }
  ShowChange(call.Record(), increase);
}

void AssignMaximum(ActorCall& call, std::int32_t statistic) {
  std::int32_t maximum = VarToLong(call.value);
  StatisticValue& value = StatisticAt(call.Record(), statistic);
  if (statistic == kHitPoints) {
    if (maximum < 0) maximum = 0;
    // Hit points follow a raised maximum, and a lowered one above 0 caps
    // them; a maximum of 0 (an actor damage passes over) keeps them.
    if (value.currentValue < maximum || (maximum > 0 && value.currentValue > maximum)) value.currentValue = maximum;
  }
  value.baseValue = maximum;
  RunStatisticScript(call);
  AssignCurrent(call, statistic);
}

// Phase 2 of HP and CurrentStat on hit points: the change as damage, by the
// running frame's relate actor when that frame plays on this map.
void DamageByChange(ActorCall& call) {
  if (!call.Assigning() || call.keptNumber == 0) return;
  std::int32_t attacker = -1;
  if (scriptEngine.callTop >= 0 && TopFrame().ownerMap == call.map) attacker = TopFrame().relateActor;
  const std::int64_t damage = -static_cast<std::int64_t>(call.keptNumber);
  DamageCharacter(call.map, call.index, CheckedLong(damage), attacker, -1);
}

void HitPoints(ActorCall& call) {
  call.keptNumber = 0;
  if (!call.Assigning()) {
    call.Answer(Variant::Long(StatisticAt(call.Record(), kHitPoints).currentValue));
    return;
  }
  AssignCurrent(call, kHitPoints);
}

void MaxHitPoints(ActorCall& call) {
  call.phase2 = false;
  if (!call.Assigning()) {
    call.Answer(Variant::Long(StatisticAt(call.Record(), kHitPoints).baseValue));
    return;
  }
  AssignMaximum(call, kHitPoints);
}

void Stat(ActorCall& call) {
  call.phase2 = false;
  const std::int32_t statistic = StatisticArgument(call, 0);
  const bool inScript = call.Record().state == kStateStatisticScript;
  if (!call.Assigning()) {
    const StatisticValue& value = StatisticAt(call.Record(), statistic);
    call.Answer(Variant::Long(inScript ? value.currentValue : value.baseValue));
    return;
  }
  if (inScript) {
    AssignCurrent(call, statistic);
  } else {
    AssignMaximum(call, statistic);
  }
}

void CurrentStat(ActorCall& call) {
  call.keptNumber = 0;
  const std::int32_t statistic = StatisticArgument(call, 0);
  call.phase2 = statistic == kHitPoints;
  if (!call.Assigning()) {
    call.Answer(Variant::Long(StatisticAt(call.Record(), statistic).currentValue));
    return;
  }
  AssignCurrent(call, statistic);
}

void StatWithItem(ActorCall& call) {
  const std::int32_t statistic = StatisticArgument(call, 0);
  const std::int32_t itemIndex = VarToLong(ScriptLookupItem(call.ArgumentText(1), true, false).value);
  const Item& item = gameData.items.at(static_cast<std::size_t>(itemIndex));
  const std::int32_t area = ItemHoldingArea(item);
  if (area < 0) {
    RaiseError(kErrData, "The item \"" + Utf16ToAnsi(item.displayName) +
                             "\" is not equipment, and thus cannot be used with \"Statistic with Item\".");
  }
  const Actor& actor = call.Record();
  const std::int32_t current = StatisticAt(call.Record(), statistic).currentValue;
  if (static_cast<std::size_t>(area) >= actor.equipment.size())
    RaiseError(kErrIndex, "Subscript out of range: equipment area " + std::to_string(area) + ".");
  std::int64_t result = static_cast<std::int64_t>(current) +
                        ItemStatAt(ItemStatModifiers(item), static_cast<std::size_t>(statistic));
  const std::int32_t worn = actor.equipment[static_cast<std::size_t>(area)].item;
  if (worn >= 0 && static_cast<std::size_t>(worn) < gameData.items.size()) {
    result -= ItemStatAt(ItemStatModifiers(gameData.items[static_cast<std::size_t>(worn)]),
                         static_cast<std::size_t>(statistic));
  }
  call.Answer(Variant::Long(CheckedLong(result)));
}

void Kill(ActorCall& call) {
  if (call.ArgumentBoolean(0)) {
    // Back from the dead: a damage of -1 leaves 1 hit point and ends dying.
    StatisticAt(call.Record(), kHitPoints).currentValue = 0;
    DamageCharacter(call.map, call.index, -1, -1, -1);
    return;
  }
  DamageCharacter(call.map, call.index, kKillDamage, -1, -1);
}

void Money(ActorCall& call) { call.slot.BindCurrency(call.Record().money); }
void Experience(ActorCall& call) { call.slot.BindLong(call.Record().experience); }
void Points(ActorCall& call) { call.slot.BindLong(call.Record().points); }
void TimeSinceHurt(ActorCall& call) { call.slot.BindLong(call.Record().timeSinceHurt); }
void Action(ActorCall& call) { call.Record().actionValue = -1; }
void AIState(ActorCall& call) { call.slot.BindLong(call.Record().aiState); }

constexpr std::int32_t kAiOn = 1;

void AIEnable(ActorCall& call) {
  Actor& actor = call.Record();
  if (!call.Assigning()) {
    call.Answer(Variant::Integer((actor.aiFlags & kAiOn) != 0 ? 1 : 0));
    return;
  }
  const bool on = ScriptConvertBoolean(call.value, true) != 0;
  Actor& again = call.Record();
  again.aiState = 0;
  if (on) {
    again.aiFlags |= kAiOn;
    again.aiFocus = -1;
  } else {
    again.aiFlags &= ~kAiOn;
  }
  again.aiValue = 0;
}

constexpr ActorProperty kStatistics[] = {
    {"HP", HitPoints, DamageByChange},
    {"MaxHP", MaxHitPoints, nullptr},
    {"Stat", Stat, nullptr},
    {"CurrentStat", CurrentStat, DamageByChange},
    {"StatWithItem", StatWithItem, nullptr},
    {"Kill", nullptr, Kill},
    {"Money", Money, nullptr},
    {"Experience", Experience, nullptr},
    {"Points", Points, nullptr},
    {"TimeSinceHurt", TimeSinceHurt, nullptr},
    {"Action", Action, nullptr},
    {"AIEnable", AIEnable, nullptr},
    {"AIState", AIState, nullptr},
};

}  // namespace

std::span<const ActorProperty> ActorStatisticProperties() { return kStatistics; }

}  // namespace kiv
