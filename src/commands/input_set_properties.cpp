// Input sets: whether the current player's inputs of a set are tested.
#include "commands/object_kind_commands.h"
#include "core/error.h"
#include "data/game_data.h"
#include "data/set_records.h"
#include "player/input_system.h"
#include "player/shell_state.h"
#include "script/script_convert.h"

namespace kiv {

namespace {

std::size_t CalledInputSet(const InternalCall& call) {
  return ObjectListIndex(call.object.value, gameData.inputSets.size());
}

// The player whose sets the script switches; 9 outside 0..3.
std::int32_t CurrentInputPlayer() {
  const std::int32_t player = shell.currentPlayer;
  if (player < 0 || player >= kInputPlayerCount) RaiseError(kErrIndex, "Subscript out of range.");
  return player;
}

void InputSetOn(InternalCall& call) {
  const std::size_t set = CalledInputSet(call);
  const std::int32_t player = CurrentInputPlayer();
  if (call.Assigning()) {
    SetInputSetEnabled(player, static_cast<std::int32_t>(set), ScriptConvertBoolean(call.value, true));
  } else {
    call.Answer(Variant::Byte(gameData.inputSets[set].enabled[static_cast<std::size_t>(player)]));
  }
}

// Every set off for the current player, then this one on.
void InputSetExclusive(InternalCall& call) {
  const std::size_t set = CalledInputSet(call);
  const std::int32_t player = CurrentInputPlayer();
  // Disabling may fire release inputs whose scripts change the table: count again each time.
  for (std::size_t other = 0; other < gameData.inputSets.size(); ++other) {
    SetInputSetEnabled(player, static_cast<std::int32_t>(other), 0);
  }
  if (set < gameData.inputSets.size()) SetInputSetEnabled(player, static_cast<std::int32_t>(set), 1);
}

constexpr InternalCommand kInputSetCommands[] = {
    {"On", InputSetOn},
    {"Exclusive", InputSetExclusive},
};

}  // namespace

void RunInputSetProperty(InternalCall& call) {
  static const ObjectCommandTable table(kInputSetCommands);
  table.Run(call);
}

std::span<const InternalCommand> InputSetCommands() { return kInputSetCommands; }

}  // namespace kiv
