// The game as a whole: save slots, the player's interface, settings, play
// time, speed, pause, restart and system notices.
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "commands/internal_keywords.h"
#include "commands/internal_selection.h"
#include "commands/play_time_text.h"
#include "commands/script_waits.h"
#include "commands/value_helpers.h"
#include "core/number_text.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "player/interface_order.h"
#include "player/message_boxes.h"
#include "player/notices.h"
#include "player/shell_state.h"
#include "player/slot_menu.h"
#include "script/pause_state.h"
#include "script/player_control.h"
#include "script/script_convert.h"
#include "script/script_map_resolvers.h"
#include "script/script_value_ops.h"
#include "script/waits.h"
#include "state/game_state.h"
#include "state/save_game.h"
#include "world/character_motion.h"
#include "world/field_focus.h"

namespace kiv {

namespace {

// The current player's character stops, the menu opens as the script's and
// the script waits until loading and saving are idle again.
void OpenSlotMenuForScript(InternalCall& call, bool save) {
  const PlayerControlState control = ScriptPlayerControl(shell.currentPlayer);
  if (control.currentMap >= -1 && control.currentMap <= gameData.maps.LastIndex() && control.controlledCharacter >= 0) {
    auto& actors = gameData.maps[control.currentMap].actors;
    if (control.controlledCharacter < static_cast<std::int32_t>(actors.size())) {
      ClearCharacterMotion(actors[static_cast<std::size_t>(control.controlledCharacter)]);
    }
  }
  OpenSlotMenu(save);
  messageBoxOpenedByScript = -1;
  WaitForFlags(call, kWaitNoLoadOrSave);
}

std::int32_t InterfaceIndex(const std::u16string& name) {
  return VarToLong(ScriptResolveInterface(name, true).value);
}

void ChangeInterface(InternalCall& call) {
  const std::int32_t current = projectState.currentPlayerInterface.index;
  if (current >= 0 && current <= gameData.maps.LastIndex() && !call.ArgumentBoolean(1)) {
    Map& shown = gameData.maps[current];
    shown.overlayActive = 0;
    const std::int32_t cursor = shown.CursorField();
    if (cursor >= 0 && cursor < static_cast<std::int32_t>(shown.fields.size())) {
      shown.fields[static_cast<std::size_t>(cursor)].nonExistent = 1;
    }
  }
  const std::int32_t next = InterfaceIndex(call.ArgumentText(0));
  gameData.maps[next].orderNumber = interfaceOrderCounter++;
  SetPlayerInterface(next);
}

void Delete(InternalCall& call) {
  std::error_code ignored;
  std::filesystem::remove(SlotSavePath(call.ArgumentLong(0)), ignored);
}

Variant NameArray(const auto& records) {
  std::vector<Variant> names;
  names.reserve(records.size());
  for (const auto& record : records) names.push_back(Variant::Text(record.name));
  return Variant::Array(kVarVariant, std::move(names));
}

void EquipmentAreas(InternalCall& call) {
  if (!call.Assigning()) call.Answer(NameArray(projectState.equipmentAreas));
}

void Statistics(InternalCall& call) {
  if (!call.Assigning()) call.Answer(NameArray(gameData.statistics));
}

void Interface(InternalCall& call) {
  if (call.Assigning()) {
    SetPlayerInterface(InterfaceIndex(VarToText(call.value)));
    return;
  }
  const std::int32_t current = projectState.currentPlayerInterface.index;
  const bool shown = current >= 0 && current <= gameData.maps.LastIndex();
  call.Answer(Variant::Text(shown ? gameData.maps[current].fileName : std::u16string()));
}

void Load(InternalCall& call) { OpenSlotMenuForScript(call, false); }
void Save(InternalCall& call) { OpenSlotMenuForScript(call, true); }

void LoadFrom(InternalCall& call) {
  shell.pendingSlotLoad = call.ArgumentLong(0);
  call.SetResult(kValueControl, ScriptStopRequest());
}

void LoadSetting(InternalCall& call) {
  call.Answer(Variant::Text(ScriptLoadSetting(call.ArgumentText(0), call.ArgumentText(1), call.ArgumentText(2))));
}

void SaveSetting(InternalCall& call) {
  ScriptSaveSetting(call.ArgumentText(0), call.ArgumentText(1), call.ArgumentText(2));
}

void OS(InternalCall& call) {
  if (!call.Assigning()) call.Answer(Variant::Text(GetPlatformName()));
}

void Paused(InternalCall& call) {
  if (call.Assigning()) {
    SetGamePaused(ScriptConvertBoolean(call.value, true));
  } else {
    call.Answer(Variant::Byte(gameState.paused != 0 ? 1 : 0));
  }
}

void PlayTime(InternalCall& call) { call.slot.BindLong(gameState.playTime); }

void PlayTimeSlash(InternalCall& call) {
  if (!call.Assigning()) call.Answer(Variant::Text(PlayTimeText(gameState.playTime, true)));
}

void PlayTimeSemicolon(InternalCall& call) {
  if (!call.Assigning()) call.Answer(Variant::Text(PlayTimeText(gameState.playTime, false)));
}

void Restart(InternalCall&) { shell.pendingRestart = true; }

// A regular file counts, as the load dialog counts slots; a folder of that name does not.
void SaveExists(InternalCall& call) {
  std::error_code ignored;
  call.Answer(Variant::Long(std::filesystem::is_regular_file(SlotSavePath(call.ArgumentLong(0)), ignored) ? 1 : 0));
}

// Written under a temporary name: a failed write is the script's error and the slot keeps its old file.
void SaveTo(InternalCall& call) { SaveGame(SlotSavePath(call.ArgumentLong(0))); }

void SaveDisabled(InternalCall& call) { call.slot.BindBoolean(gameState.saveDisabled); }

void Saves(InternalCall& call) {
  if (!call.Assigning()) call.Answer(Variant::Long(gameState.saveCount));
}

void Speed(InternalCall& call) {
  call.slot.BindSingle(gameData.gameSpeed);
  call.slot.Clamp(0.0, kClampHighest);
}

void SystemMessage(InternalCall& call) { PostNotice(call.ArgumentText(0), false); }

void WaitInterfaces(InternalCall& call) { WaitForFlags(call, kWaitNoInterface); }

constexpr InternalCommand kMainCommands[] = {
    {"Main.ChangeInterface", ChangeInterface},
    {"Main.Delete", Delete},
    {"Main.EquipmentAreas", EquipmentAreas},
    {"Main.Interface", Interface},
    {"Main.Load", Load},
    {"Main.LoadFrom", LoadFrom},
    {"Main.LoadSetting", LoadSetting},
    {"Main.OS", OS},
    {"Main.Paused", Paused},
    {"Main.PlayTime", PlayTime},
    {"Main.PlayTimeSlash", PlayTimeSlash},
    {"Main.PlayTimeSemicolon", PlayTimeSemicolon},
    {"Main.Restart", Restart},
    {"Main.Save", Save},
    {"Main.SaveExists", SaveExists},
    {"Main.SaveTo", SaveTo},
    {"Main.SaveDisabled", SaveDisabled},
    {"Main.SaveSetting", SaveSetting},
    {"Main.Saves", Saves},
    {"Main.Speed", Speed},
    {"Main.Statistics", Statistics},
    {"Main.SystemMessage", SystemMessage},
    {"Main.WaitInterfaces", WaitInterfaces},
};

}  // namespace

std::span<const InternalCommand> MainCommands() { return kMainCommands; }

}  // namespace kiv
