// The controls of a party's player: pressed states, simulated presses, the
// bindings (saved to the user's controls file at every change) and waits for
// controls.
#include <span>
#include <vector>

#include "commands/object_kind_commands.h"
#include "commands/party_access.h"
#include "core/error.h"
#include "dialogs/controls_file.h"
#include "media/controls_table.h"
#include "media/input_binding.h"
#include "media/key_names.h"
#include "script/script_convert.h"
#include "script/script_dispatch.h"
#include "script/script_lookups.h"
#include "script/script_stack_access.h"
#include "script/script_value_ops.h"
#include "script/waits.h"

namespace kiv {

namespace {

// Binding mode of a control tested through its bindings.
constexpr std::int32_t kBindingControl = 1;

// The party's player as a binding-slot number; 9 outside 0..3 before any slot is touched.
std::int32_t ControlPlayer(const InternalCall& call) {
  const std::int32_t player = CalledPlayerIndex(call);
  if (player >= kPlayerCount) RaiseError(kErrIndex, "Subscript out of range.");
  return player;
}

std::int32_t LookedUpControl(const Variant& name) { return VarToLong(ScriptLookupControl(VarToText(name), true).value); }

BindingSlot& PlayerSlot(std::int32_t control, std::int32_t player) {
  if (control < 0 || static_cast<std::size_t>(control) >= controls.size()) {
    RaiseError(kErrIndex, "Subscript out of range.");
  }
  return controls[static_cast<std::size_t>(control)].slots[static_cast<std::size_t>(player)];
}

// Control (0 held), ControlDown (1 pressed now) and ControlUp (-1 released now).
void ControlState(InternalCall& call, std::int32_t edge) {
  const std::int32_t player = ControlPlayer(call);
  if (call.Assigning()) RaiseObjectError(u"You cannot alter a control's pressed state.");
  const std::int32_t control = LookedUpControl(call.Argument(0));
  call.Answer(Variant::Long(InputTestBinding(player, kBindingControl, control, edge, 0) ? 1 : 0));
}

// The slot's press state as one Long: pending in the lowest byte, then
// current and previous.
void ControlSimulate(InternalCall& call) {
  const std::int32_t player = ControlPlayer(call);
  BindingSlot& slot = PlayerSlot(LookedUpControl(call.Argument(0)), player);
  if (!call.Assigning()) {
    call.Answer(Variant::Long(slot.pending | (slot.current << 8) | (slot.previous << 16)));
    return;
  }
  const auto state = static_cast<std::uint32_t>(VarToLong(call.value));
  slot.pending = static_cast<std::uint8_t>(state & 0xFF);
  slot.current = static_cast<std::uint8_t>((state >> 8) & 0xFF);
  slot.previous = static_cast<std::uint8_t>((state >> 16) & 0xFF);
}

void ControlInputs(InternalCall& call) {
  const std::int32_t player = ControlPlayer(call);
  const BindingSlot& slot = PlayerSlot(LookedUpControl(call.Argument(0)), player);
  std::vector<Variant> names;
  for (const InputBinding& binding : slot.bindings) names.push_back(Variant::Text(InputControlName(binding.key, binding.mode)));
  call.Answer(Variant::Array(kVarVariant, std::move(names)));
}

// The key's binding (device and code) from argument 1.
InputBinding LookedUpKey(const InternalCall& call) {
  const ScriptValue key = ScriptLookupKey(call.ArgumentText(1), true);
  return InputBinding{VarToLong(key.value), key.mapIndex};
}

// The table keeps the change for this run even when the file cannot be written.
void SaveBindings() { SaveControlsFile(kControlsFileName); }

void ControlInputAdd(InternalCall& call) {
  const std::int32_t player = ControlPlayer(call);
  const std::int32_t control = LookedUpControl(call.Argument(0));
  const InputBinding key = LookedUpKey(call);
  PlayerSlot(control, player).bindings.push_back(key);
  SaveBindings();
}

void ControlInputRemove(InternalCall& call) {
  const std::int32_t player = ControlPlayer(call);
  const std::int32_t control = LookedUpControl(call.Argument(0));
  const InputBinding key = LookedUpKey(call);
  std::vector<InputBinding>& bindings = PlayerSlot(control, player).bindings;
  std::erase_if(bindings, [&](const InputBinding& b) { return b.mode == key.mode && b.key == key.key; });
  SaveBindings();
}

void WaitControl(InternalCall& call) {
  const std::int32_t control = LookedUpControl(call.Argument(0));
  call.SetResult(kValueControl, ScriptMakeWaitRequest(1, 0, -1, 0, -1, Variant::Long(control), -1, -1, -1));
}

// Element 0 the combination flag (1 all, 0 any), then the controls' indexes.
void WaitControl2(InternalCall& call) {
  const std::int32_t player = CalledPlayerIndex(call);
  std::vector<Variant> wanted{Variant::Byte(ScriptConvertBoolean(call.Argument(0), true))};
  const Variant names = ScriptGetArgumentArray(call.argumentUpper, 1);
  for (const Variant& name : names.Elements()) wanted.push_back(Variant::Long(LookedUpControl(name)));
  call.SetResult(kValueControl, ScriptMakeWaitRequest(1, 0, -1, 0, -1, Variant::Array(kVarVariant, std::move(wanted)),
                                                      -1, -1, player));
}

constexpr InternalCommand kControlCommands[] = {
    {"Control", [](InternalCall& call) { ControlState(call, 0); }},
    {"ControlDown", [](InternalCall& call) { ControlState(call, 1); }},
    {"ControlUp", [](InternalCall& call) { ControlState(call, -1); }},
    {"ControlSimulate", ControlSimulate},
    {"ControlInputs", ControlInputs},
    {"ControlInputAdd", ControlInputAdd},
    {"ControlInputRemove", ControlInputRemove},
    {"WaitControl", WaitControl},
    {"WaitControl2", WaitControl2},
};

}  // namespace

std::span<const InternalCommand> PartyControlCommands() { return kControlCommands; }

}  // namespace kiv
