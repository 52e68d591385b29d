// The script message box: showing a message with its face, choices and
// entry, waiting for the player to read it, and reading back the choice and
// the typed text; and the message settings scripts set one by one.
#include <string>
#include <vector>

#include "commands/internal_selection.h"
#include "commands/message_text.h"
#include "core/error.h"
#include "core/math_util.h"
#include "dialogs/player_settings.h"
#include "media/speech.h"
#include "player/message_boxes.h"
#include "player/script_message_state.h"
#include "player/shell_state.h"
#include "script/script_actor_resolvers.h"
#include "script/script_convert.h"
#include "script/script_stack_access.h"
#include "script/script_value_ops.h"
#include "script/waits.h"
#include "state/project_settings_block.h"

namespace kiv {

namespace {

constexpr char kNoChoice[] = "Attempted to check for selected message box choice when no message box had a choice.";
constexpr char kChoiceOutOfRange[] = "Attempted to specify a message box choice outside of the expected range.";
// Arguments from this one on are the choices of MsgBox.Show2.
constexpr std::int32_t kFirstChoiceArgument = 12;

MessageBox& ScriptBox() { return messageBoxes[0]; }

// Until the text has had its reading time and the player presses Action.
void MessageWait(InternalCall& call) {
  const MessageBox& box = ScriptBox();
  const double reading =
      static_cast<double>(box.typeFactor) * static_cast<double>(box.text.size()) * playerSettings.textInterval;
  const std::int32_t player = shell.currentPlayer;
  call.SetResult(kValueControl, ScriptMakeWaitRequest(1, RoundToLong(reading), -1, 0, -1,
                                                      Variant::Long(ScriptFindActionControl(player)), -1, -1,
                                                      player));
}

// Arguments the call does not have read as empty: no text, 0, off.
std::u16string TextOrEmpty(const InternalCall& call, std::int32_t i) { return call.ArgumentText(i); }
double NumberOrZero(const InternalCall& call, std::int32_t i) {
  return i <= call.argumentUpper ? VarToDouble(call.Argument(i)) : 0.0;
}
std::int32_t LongOrZero(const InternalCall& call, std::int32_t i) {
  return i <= call.argumentUpper ? VarToLong(call.Argument(i)) : 0;
}
bool FlagOrOff(const InternalCall& call, std::int32_t i) {
  return i <= call.argumentUpper && ScriptConvertBoolean(call.Argument(i), true) != 0;
}

// The selected item, or the no-choice error (also for a selection below the list).
const MessageBoxItem& SelectedItem() {
  const MessageBox& box = ScriptBox();
  if (box.selected < 0 || box.LastItem() < box.selected) RaiseError(kErrData, kNoChoice);
  return box.items[static_cast<std::size_t>(box.selected)];
}

void Show(InternalCall& call) {
  ScriptShowMessage(call.ArgumentText(0));
  ScriptBox().visible = true;
  MessageWait(call);
}

void Show2(InternalCall& call) {
  const std::u16string face = TextOrEmpty(call, 1);
  if (!face.empty()) {
    // The resolver may load a map: no record is held across it.
    const ScriptValue character = ScriptResolveCharacter(face, -1, true, false);
    messagePortrait.actor = VarToLong(character.value);
    messagePortrait.map = character.mapIndex;
    messagePortrait.onRight = FlagOrOff(call, 2);
  } else {
    messagePortrait.actor = -1;
    messagePortrait.map = -1;
  }
  MessageBox& box = ScriptBox();
  box.posX = static_cast<float>(NumberOrZero(call, 3));
  box.posY = static_cast<float>(NumberOrZero(call, 4));
  box.requestedWidth = LongOrZero(call, 5);
  box.linesPerPage = LongOrZero(call, 6);
  const auto& defaults = storedProjectSettings.messageBoxDefaults;
  box.frameColor = FlagOrOff(call, 7) ? 0u : static_cast<std::uint32_t>(defaults[1]);
  box.backColor = FlagOrOff(call, 8) ? 0u : static_cast<std::uint32_t>(defaults[0]);
  box.itemColumns = LongOrZero(call, 11);
  std::vector<std::u16string> choices;
  for (std::int32_t i = kFirstChoiceArgument; i <= call.argumentUpper; ++i) choices.push_back(call.ArgumentText(i));
  MessageBoxSetText(TextOrEmpty(call, 0), choices, FlagOrOff(call, 9), TextOrEmpty(call, 10));
  ScriptBox().visible = true;
  MessageWait(call);
}

void Hide(InternalCall&) {
  ScriptBox().visible = false;
  if (playerSettings.voiceEnabled) SpeechSpeak(u"", 3);
}

void TextProperty(InternalCall& call, std::u16string& text) {
  if (call.Assigning()) {
    text = VarToText(call.value);
  } else {
    call.Answer(Variant::Text(text));
  }
}

void Input(InternalCall& call) { TextProperty(call, ScriptBox().inputText); }

void SelectedText(InternalCall& call) {
  if (call.Assigning()) return;
  call.Answer(Variant::Text(SelectedItem().caption));
}

void SelectedNumber(InternalCall& call) {
  if (!call.Assigning()) {
    call.Answer(Variant::Long(SelectedItem().choiceNumber));
    return;
  }
  MessageBox& box = ScriptBox();
  const double wanted = VarToDouble(call.value);
  if (wanted < 0 || wanted > box.LastItem()) RaiseError(kErrData, kChoiceOutOfRange);
  box.selected = VarToLong(call.value);
}

void Message(InternalCall& call) { TextProperty(call, scriptMessageSettings.message); }
void Face(InternalCall& call) { TextProperty(call, scriptMessageSettings.face); }
void RightAlignedFace(InternalCall& call) { call.slot.BindBoolean(scriptMessageSettings.rightAlignedFace); }
void HorizontalPosition(InternalCall& call) { call.slot.BindSingle(scriptMessageSettings.horizontalPosition); }
void VerticalPosition(InternalCall& call) { call.slot.BindSingle(scriptMessageSettings.verticalPosition); }
void Width(InternalCall& call) { call.slot.BindLong(scriptMessageSettings.width); }
void Height(InternalCall& call) { call.slot.BindLong(scriptMessageSettings.height); }
void HideBorder(InternalCall& call) { call.slot.BindBoolean(scriptMessageSettings.hideBorder); }
void HideBackground(InternalCall& call) { call.slot.BindBoolean(scriptMessageSettings.hideBackground); }
void AutoClose(InternalCall& call) { call.slot.BindLong(scriptMessageSettings.autoClose); }
void AllowInput(InternalCall& call) { call.slot.BindBoolean(scriptMessageSettings.allowInput); }
void Columns(InternalCall& call) { call.slot.BindLong(scriptMessageSettings.columns); }

void Choices(InternalCall& call) {
  if (call.Assigning()) return;
  std::vector<Variant> texts;
  for (const std::u16string& choice : scriptMessageSettings.choices) texts.push_back(Variant::Text(choice));
  call.Answer(Variant::Array(kVarVariant, std::move(texts)));
}

constexpr InternalCommand kMessageBoxCommands[] = {
    {"MsgBox.Show", Show},
    {"MsgBox.Show2", Show2},
    {"MsgBox.Hide", Hide},
    {"MsgBox.Input", Input},
    {"MsgBox.SelectedText", SelectedText},
    {"MsgBox.SelectedNumber", SelectedNumber},
    {"MsgBox.Message", Message},
    {"MsgBox.Face", Face},
    {"MsgBox.RightAlignedFace", RightAlignedFace},
    {"MsgBox.HorizontalPosition", HorizontalPosition},
    {"MsgBox.VerticalPosition", VerticalPosition},
    {"MsgBox.Width", Width},
    {"MsgBox.Height", Height},
    {"MsgBox.HideBorder", HideBorder},
    {"MsgBox.HideBackground", HideBackground},
    {"MsgBox.AutoClose", AutoClose},
    {"MsgBox.AllowInput", AllowInput},
    {"MsgBox.Columns", Columns},
    {"MsgBox.Choices", Choices},
};

}  // namespace

std::span<const InternalCommand> MessageBoxCommands() { return kMessageBoxCommands; }

}  // namespace kiv
