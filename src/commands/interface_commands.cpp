// Identifiers of maps and interfaces as overlays: showing them, their field
// selection, navigation, cancel and update, reloading, and an interface's
// colour and place on the screen.
#include <string>

#include "commands/map_command_table.h"
#include "commands/object_executor.h"
#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "player/interface_order.h"
#include "script/call_frame.h"
#include "script/script_convert.h"
#include "script/script_dispatch.h"
#include "script/script_hooks.h"
#include "script/script_object_resolvers.h"
#include "script/script_value_ops.h"
#include "script/timed_changes.h"
#include "script/trigger_dispatch.h"
#include "script/waits.h"
#include "world/field_focus.h"
#include "world/field_lists.h"
#include "world/field_values.h"
#include "world/map_reload.h"
#include "world/map_systems.h"

namespace kiv {

namespace {

// The map's own event scripts: 0 entering/updating, 1 cancel, 2 to 5 the
// navigation directions left, up, right, down.
constexpr std::int32_t kEventUpdate = 0;
constexpr std::int32_t kEventCancel = 1;
constexpr std::int32_t kEventNavigateFirst = 2;

void RunMapEvent(std::int32_t map, std::int32_t event) {
  TriggerRun run;
  run.ownerKind = kOwnerMap;
  run.ownerIndex = event;
  run.subIndex = 0;
  run.map = map;
  ScriptRunTrigger(run);
}

bool IsLoadingInterface(std::int32_t map) { return projectState.settings.furtherInterfaces[0].index == map; }

bool FieldExists(std::int32_t map, std::int32_t field) {
  return field >= 0 && static_cast<std::size_t>(field) < gameData.maps[map].fields.size();
}

// The ambient colour as the Long a script sees.
std::int32_t& AmbientColorLong(Map& record) { return reinterpret_cast<std::int32_t&>(record.ambientColor); }

void InterfaceColor(InternalCall& call, std::int32_t map) { call.slot.BindLong(AmbientColorLong(gameData.maps[map])); }
void InterfaceX(InternalCall& call, std::int32_t map) { call.slot.BindSingle(gameData.maps[map].ScreenOffsetX()); }
void InterfaceY(InternalCall& call, std::int32_t map) { call.slot.BindSingle(gameData.maps[map].ScreenOffsetY()); }

void InterfacePan(InternalCall& call, std::int32_t map) {
  const Variant x = call.Argument(0);
  const Variant y = call.Argument(1);
  if (call.argumentUpper >= 2 && call.ArgumentBoolean(2)) {
    const std::int32_t duration = call.ArgumentLong(2);
    const ScriptValue target = call.object;
    const bool timedX = ScriptStartTimedChange(SymbolIntern(u"X"), target, -1, x, duration);
    const bool timedY = ScriptStartTimedChange(SymbolIntern(u"Y"), target, -1, y, duration);
    Map& record = gameData.maps[map];
    if (!timedX) record.ScreenOffsetX() = static_cast<float>(VarToDouble(x));
    if (!timedY) record.ScreenOffsetY() = static_cast<float>(VarToDouble(y));
    return;
  }
  Map& record = gameData.maps[map];
  record.ScreenOffsetX() = static_cast<float>(VarToDouble(x));
  record.ScreenOffsetY() = static_cast<float>(VarToDouble(y));
}

void On(InternalCall& call, std::int32_t map) {
  if (IsLoadingInterface(map)) {
    RaiseObjectMessage("You cannot alter or retrieve whether a loading interface is on or off.");
  }
  if (!call.Assigning()) {
    call.Answer(Variant::Byte(gameData.maps[map].overlayActive));
    return;
  }
  const bool on = ScriptConvertBoolean(call.value, true) != 0;
  gameData.maps[map].reloadOnShow = on ? 1 : 0;
  SetMapActive(map, on, -1);
}

void Show(InternalCall& call, std::int32_t map) {
  if (IsLoadingInterface(map)) RaiseObjectMessage("You cannot show/hide a loading interface.");
  const bool show = call.ArgumentBoolean(0);
  const std::int32_t capturesFocus = call.ArgumentBoolean(1) ? 1 : 0;
  Map& record = gameData.maps[map];
  record.reloadOnShow = 0;
  if (call.argumentUpper >= 2 && call.ArgumentBoolean(2)) {
    record.orderNumber = interfaceOrderCounter;
    ++interfaceOrderCounter;
  }
  SetMapActive(map, show, capturesFocus);
}

void ActivateSelectedField(InternalCall&, std::int32_t map) {
  const std::int32_t selected = gameData.maps[map].SelectedField();
  if (selected < 0) return;
  ActivateField(map, selected);
  const std::int32_t player = scriptHooks.CurrentPlayer();
  if (player >= 0 && static_cast<std::size_t>(player) < projectState.players.size()) {
    projectState.players[static_cast<std::size_t>(player)].actionUsed = -1;
  }
}

void Cancel(InternalCall&, std::int32_t map) {
  const std::int32_t cancelField = gameData.maps[map].FurtherField();
  if (cancelField >= 0) ActivateField(map, cancelField);
  RunMapEvent(map, kEventCancel);
}

void Navigate(InternalCall& call, std::int32_t map) {
  const std::int32_t direction = ScriptConvertDirection(call.Argument(0), false, true);
  NavigateFields(map, direction, false, -1);
  if (direction == kNavigateLeft || direction == kNavigateUp || direction == kNavigateRight ||
      direction == kNavigateDown) {
    RunMapEvent(map, kEventNavigateFirst + direction / 2);
  }
}

void SelectField(InternalCall& call, std::int32_t map) {
  const std::u16string name = VarToText(call.value);
  if (name.empty()) {
    NavigateFields(map, kNavigateToField, true, -1);
    return;
  }
  const ScriptValue field = ScriptResolveField(name, map, true);
  NavigateFields(map, kNavigateToField, true, VarToLong(field.value));
}

void SelectedField(InternalCall& call, std::int32_t map) {
  if (call.Assigning()) {
    SelectField(call, map);
    return;
  }
  const std::int32_t selected = gameData.maps[map].SelectedField();
  call.Answer(Variant::Text(FieldExists(map, selected) ? gameData.maps[map].fields[static_cast<std::size_t>(selected)].name
                                                       : std::u16string()));
}

void SelectedFieldFull(InternalCall& call, std::int32_t map) {
  if (call.Assigning()) {
    SelectField(call, map);
    return;
  }
  Map& record = gameData.maps[map];
  const std::int32_t selected = record.SelectedField();
  if (!FieldExists(map, selected)) {
    call.Answer(Variant::Text(u""));
    return;
  }
  call.Answer(Variant::Text(u"|" + record.fileName + u":" + record.fields[static_cast<std::size_t>(selected)].name));
}

void SelectedFieldValue(InternalCall& call, std::int32_t map) {
  const std::int32_t selected = gameData.maps[map].SelectedField();
  if (!FieldExists(map, selected)) {
    RaiseObjectMessage("The interface \"" + Utf16ToAnsi(gameData.maps[map].fileName) +
                       "\" does not currently have a selected field.");
  }
  Map& record = gameData.maps[map];
  Field& field = record.fields[static_cast<std::size_t>(selected)];
  if (!call.Assigning()) {
    call.Answer(field.value1);
    return;
  }
  StoreFieldValue(field, field.value1, call.value);
  field.runByte = 1;
  UpdateFieldLayout(record, map, selected);
}

void Update(InternalCall&, std::int32_t map) {
  if (gameData.maps[map].overlayActive == 0) RaiseObjectMessage("You cannot update an interface that isn't on.");
  if (ScriptIsMapTriggerRunning(map)) {
    RaiseObjectMessage("You cannot update an interface within the entering/updating script of it.");
  }
  UpdateMapSystems(map, -1, -1, false);
  RunMapEvent(map, kEventUpdate);
}

void Reset(InternalCall& call, std::int32_t map) {
  std::uint8_t flags = 0;
  if (call.argumentUpper < 0 || call.ArgumentBoolean(0)) flags |= kReloadLoadFlag;
  if (ScriptIsMapTriggerRunning(map)) flags |= kReloadSkipEntryTrigger;
  const std::int32_t callerMap = scriptEngine.callTop >= 0 ? TopFrame().ownerMap : -1;
  const bool skipEntry = (flags & kReloadSkipEntryTrigger) != 0;
  const bool loadFlag = (flags & kReloadLoadFlag) != 0;
  if (callerMap != map || gameData.maps[map].isInterface) {
    ReloadMap(map, skipEntry, false, loadFlag);
    return;
  }
  // A script of the map itself: the world update reloads it after the script.
  gameData.maps[map].pendingReload = static_cast<std::uint8_t>(flags | kReloadRequested);
  if (DeferredReloadWait()) {
    call.SetResult(kValueControl, ScriptMakeWaitRequest(1, 0, -1, 0, -1, Variant::Long(-1), -1, -1, -1));
  }
}

void SpawnField(InternalCall& call, std::int32_t map) {
  const ScriptValue source = ScriptResolveField(call.ArgumentText(0), -1, true);
  InsertField(map, source.mapIndex, VarToLong(source.value), call.ArgumentBoolean(1), call.ArgumentText(2),
              call.ArgumentLong(3), call.ArgumentLong(4));
}

constexpr MapCommand kInterfaceOnly[] = {
    {"Color", InterfaceColor},
    {"X", InterfaceX},
    {"Y", InterfaceY},
    {"Pan", InterfacePan},
};

constexpr MapCommand kInterface[] = {
    {"On", On},
    {"ActivateSelectedField", ActivateSelectedField},
    {"Cancel", Cancel},
    {"Navigate", Navigate},
    {"Show", Show},
    {"SpawnField", SpawnField},
    {"Reset", Reset},
    {"SelectedFieldFull", SelectedFieldFull},
    {"SelectedField", SelectedField},
    {"SelectedFieldValue", SelectedFieldValue},
    {"Update", Update},
};

}  // namespace

std::span<const MapCommand> InterfaceOnlyCommands() { return kInterfaceOnly; }
std::span<const MapCommand> InterfaceCommands() { return kInterface; }

}  // namespace kiv
