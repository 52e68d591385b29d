#include "script/custom_event_gates.h"

#include "core/number_text.h"
#include "data/game_data.h"
#include "script/script_value_ops.h"

namespace kiv {

std::int32_t CustomEventGateCount(std::int32_t customEvent) {
  if (customEvent < 0 || static_cast<std::size_t>(customEvent) >= gameData.customEvents.size()) return 1;
  const CustomEvent& event = gameData.customEvents[static_cast<std::size_t>(customEvent)];
  // The record's stored Long is the gate count set in the editor.
  if (event.value >= 1) return event.value;
  const std::vector<ScriptVariable>& variables = event.script.frameTemplate.parameters;
  for (std::size_t k = 0; k < event.parameters.size(); ++k) {
    if (!StartsWithText(event.parameters[k].type, u"GATES:")) continue;
    return k < variables.size() ? VarToLong(variables[k].value) : 1;
  }
  return 1;
}

}  // namespace kiv
