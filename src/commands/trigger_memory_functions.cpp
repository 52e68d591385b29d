// Trigger memory: what a trigger script remembers from one run to the next,
// kept in the running frame's id list (copied from and back into the script's
// template by trigger dispatch, and saved with a waiting frame). One memory
// serves one use; a value another use left there counts as empty.
#include <cstdint>

#include "commands/internal_selection.h"
#include "commands/value_helpers.h"
#include "core/number_text.h"
#include "player/shell_state.h"
#include "script/call_frame.h"
#include "script/script_convert.h"
#include "script/script_stack_access.h"

namespace kiv {

namespace {

Variant& Memory() { return TopFrame().idList; }

void AnswerTruth(InternalCall& call, bool truth) { call.Answer(Variant::Long(truth ? 1 : 0)); }

// 1 when the value differs from the one remembered; the first value gives 0.
void Change(InternalCall& call) {
  const Variant value = call.Argument(0);
  Variant& memory = Memory();
  const bool changed = !memory.IsEmpty() && !ScriptValuesEqual(value, memory);
  memory = value;
  AnswerTruth(call, changed);
}

// Time gathers while the condition holds and is kept while it does not; each
// full period gives 1 once and is taken off.
void TimePassed(InternalCall& call) {
  const bool condition = call.ArgumentBoolean(0);
  const double period = ToNumber(call.Argument(1));
  if (!condition) {
    AnswerTruth(call, false);
    return;
  }
  Variant& memory = Memory();
  // The interval condition's Long counter is time too; Toggle's Byte is not.
  const std::uint16_t type = memory.Type();
  const bool time = type == kVarLong || type == kVarDouble || type == kVarSingle || type == kVarInteger;
  double gathered = time ? ToNumber(memory) : 0.0;
  gathered += shell.frameElapsed;
  const bool passed = gathered >= period;
  if (passed) gathered -= period;
  memory = Variant::Double(gathered);
  AnswerTruth(call, passed);
}

// 1 when the condition has just become true.
void Toggle(InternalCall& call) {
  const bool condition = call.ArgumentBoolean(0);
  Variant& memory = Memory();
  const bool before = memory.Type() == kVarByte && memory.AsByte() != 0;
  memory = Variant::Byte(condition ? 1 : 0);
  AnswerTruth(call, condition && !before);
}

// 1 when the related actor has newly come within (close) or gone beyond the
// distance of the actor that owns the trigger; once per entry for each actor.
void Proximity(InternalCall& call) {
  const auto distance = static_cast<float>(ToNumber(call.Argument(0)));
  const bool close = call.ArgumentBoolean(1);
  const CallFrame& frame = TopFrame();
  Variant& memory = Memory();
  if (!memory.IsArray() || memory.ElementType() != kVarLong) memory = Variant();
  AnswerTruth(
      call, ScriptUpdateIdList(memory, close, distance, frame.ownerMap, frame.ownerIndex, frame.relateActor));
}

constexpr InternalCommand kTriggerMemory[] = {
    {"Trigger.Change", Change},
    {"Trigger.TimePassed", TimePassed},
    {"Trigger.Toggle", Toggle},
    {"Trigger.Proximity", Proximity},
};

}  // namespace

std::span<const InternalCommand> TriggerMemoryFunctions() { return kTriggerMemory; }

}  // namespace kiv
