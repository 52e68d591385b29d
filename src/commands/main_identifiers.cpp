// The remaining internal identifiers: raising a script error, team and
// party-member references, the leading character's name, the cursor names
// that stand for the cursor commands, the accelerometer values and the
// results of the last gesture match, and every message setting in one call.
#include <cstdint>
#include <string>

#include "commands/internal_executor.h"
#include "commands/internal_selection.h"
#include "core/error.h"
#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "media/player_input_state.h"
#include "player/message_boxes.h"
#include "player/script_message_state.h"
#include "player/shell_state.h"
#include "script/script_party_resolvers.h"
#include "script/script_value_ops.h"
#include "script/trigger_dispatch.h"

namespace kiv {

namespace {

void Error(InternalCall& call) { RaiseError(kErrData, Utf16ToAnsi(call.ArgumentText(0))); }

void CharTeam(InternalCall& call) { call.result = ScriptResolveTeamMembers(call.ArgumentText(0), true); }

void Member(InternalCall& call) { call.result = ScriptResolvePartyMember(call.ArgumentText(0), -1, true); }

[[noreturn]] void RaiseOutOfRange() { RaiseError(kErrIndex, "Subscript out of range"); }

// The actor of the current player's first party entry, on that player's map.
Actor& LeadingCharacter() {
  const std::int32_t player = shell.currentPlayer;
  if (player < 0 || player >= static_cast<std::int32_t>(projectState.players.size())) RaiseOutOfRange();
  const Player& record = projectState.players[static_cast<std::size_t>(player)];
  if (record.party.empty() || record.mapIndex < 0 || record.mapIndex > gameData.maps.LastIndex())
    RaiseOutOfRange();
  std::vector<Actor>& actors = gameData.maps[record.mapIndex].actors;
  const std::int32_t actor = record.party.front().character;
  if (actor < 0 || actor >= static_cast<std::int32_t>(actors.size())) RaiseOutOfRange();
  return actors[static_cast<std::size_t>(actor)];
}

void Name(InternalCall& call) {
  Actor& actor = LeadingCharacter();
  if (call.Assigning()) {
    actor.displayName = VarToText(call.value);
  } else {
    call.Answer(Variant::Text(actor.displayName));
  }
}

// The same call under the cursor command's own name.
void RunAs(InternalCall& call, std::u16string_view name) {
  ScriptRunInternal(SymbolIntern(name), call.object, call.argumentUpper, call.result, call.mode, call.value,
                    call.lastToken);
}

void Cursor(InternalCall& call) { RunAs(call, u"Cursor.Effect"); }
void CursorX(InternalCall& call) { RunAs(call, u"Cursor.X"); }
void CursorY(InternalCall& call) { RunAs(call, u"Cursor.Y"); }

void AccelerometerX(InternalCall& call) { call.slot.BindSingle(playerInputStates[0].accelerometerX); }
void AccelerometerY(InternalCall& call) { call.slot.BindSingle(playerInputStates[0].accelerometerY); }
void AccelerometerZ(InternalCall& call) { call.slot.BindSingle(playerInputStates[0].accelerometerZ); }

void GestureAccuracy(InternalCall& call) { call.slot.BindSingle(gestureResults[kGestureAccuracySlot]); }
void GestureAngle(InternalCall& call) { call.slot.BindSingle(gestureResults[kGestureAngleSlot]); }
void GestureCompletion(InternalCall& call) { call.slot.BindSingle(gestureResults[kGestureCompletionSlot]); }
void GestureScale(InternalCall& call) { call.slot.BindSingle(gestureResults[kGestureScaleSlot]); }

// Thirteen settings, then the choices. Without choices the list empties and
// box 0 keeps its items; with them box 0 gets one item per choice. The box is
// not shown: that stays with the commands that show it.
void Show3(InternalCall& call) {
  constexpr std::int32_t kFirstChoice = 13;
  ScriptMessageSettings& settings = scriptMessageSettings;
  settings.message = call.ArgumentText(0);
  settings.face = call.ArgumentText(1);
  settings.rightAlignedFace = call.ArgumentBoolean(2) ? 1 : 0;
  settings.horizontalPosition = static_cast<float>(VarToDouble(call.Argument(3)));
  settings.verticalPosition = static_cast<float>(VarToDouble(call.Argument(4)));
  settings.width = call.ArgumentLong(5);
  settings.height = call.ArgumentLong(6);
  settings.hideBorder = call.ArgumentBoolean(7) ? 1 : 0;
  settings.hideBackground = call.ArgumentBoolean(8) ? 1 : 0;
  settings.autoClose = call.ArgumentLong(9);
  settings.allowInput = call.ArgumentBoolean(10) ? 1 : 0;
  messageBoxes[0].inputText = call.ArgumentText(11);
  settings.columns = call.ArgumentLong(12);
  std::vector<std::u16string> choices;
  for (std::int32_t i = kFirstChoice; i <= call.argumentUpper; ++i) choices.push_back(call.ArgumentText(i));
  settings.choices = choices;
  if (choices.empty()) return;
  std::vector<MessageBoxItem>& items = messageBoxes[0].items;
  items.resize(choices.size());
  for (std::size_t i = 0; i < choices.size(); ++i) items[i].caption = choices[i];
}

constexpr InternalCommand kMain[] = {
    {"Error", Error},
    {"CharTeam", CharTeam},
    {"Main.Name", Name},
    {"Main.Cursor", Cursor},
    {"Main.CursorX", CursorX},
    {"Main.CursorY", CursorY},
    {"Cursor.AccelerometerX", AccelerometerX},
    {"Cursor.AccelerometerY", AccelerometerY},
    {"Cursor.AccelerometerZ", AccelerometerZ},
    {"Main.GestureAccuracy", GestureAccuracy},
    {"Main.GestureAngle", GestureAngle},
    {"Main.GestureCompletion", GestureCompletion},
    {"Main.GestureScale", GestureScale},
    {"MsgBox.Show3", Show3},
    {"Main.Member", Member},
};

}  // namespace

std::span<const InternalCommand> MainIdentifiers() { return kMain; }

}  // namespace kiv
