// Structure functions: inline conditionals, comparisons and logic, calling an
// identifier by a computed name, choosing and switching among values, and
// running script text made at run time.
#include <cmath>
#include <cstdint>
#include <string>

#include "commands/internal_selection.h"
#include "core/error.h"
#include "core/number_text.h"
#include "core/symbol_table.h"
#include "data/script_link.h"
#include "script/call_frame.h"
#include "script/project_options.h"
#include "script/script_compiler.h"
#include "script/script_convert.h"
#include "script/script_dispatch.h"
#include "script/script_interpreter.h"
#include "script/script_stack_access.h"
#include "script/script_text.h"
#include "script/script_value_ops.h"
#include "script/waits.h"

namespace kiv {

namespace {

// The number of an error that a nested frame has already reported: the
// calling frame adds only its "from" block.
constexpr int kErrAlreadyReported = -2;

bool Condition(const Variant& value) { return ScriptConvertBoolean(value, true) != 0; }

// The value-stack entry of argument i, whole (kind, value, map index).
const ScriptValue& ArgumentEntry(const InternalCall& call, std::int32_t i) {
  const CallFrame& frame = TopFrame();
  const auto at = static_cast<std::size_t>(frame.stackBase + i);
  if (i > call.argumentUpper || at >= frame.valueStack.size())
    RaiseError(kErrIndex, "Subscript out of range");
  return frame.valueStack[at];
}

// Both branches are already evaluated; the chosen one passes on unchanged, so
// an object reference stays usable as an object.
void InlineIf(InternalCall& call) {
  const bool condition = Condition(call.Argument(0));
  const ScriptValue chosen = ArgumentEntry(call, condition ? 1 : 2);
  call.SetResult(chosen.kind, chosen.value, chosen.mapIndex);
}

// Two numeric-looking values compare as numbers when either is a text; other
// texts as texts (trimmed and lower-cased under loose comparison); values
// without a text as they are.
int CompareValues(const Variant& a, const Variant& b) {
  if (a.IsText() || b.IsText()) {
    if (IsNumericValue(a) && IsNumericValue(b)) {
      const double x = ToNumber(a);
      const double y = ToNumber(b);
      return x < y ? -1 : x > y ? 1 : 0;
    }
    std::u16string p = VarToText(a);
    std::u16string q = VarToText(b);
    if (ScriptLooseNameMatching()) {
      p = TrimLower(p);
      q = TrimLower(q);
    }
    const int c = p.compare(q);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
  }
  return VarCompare(a, b);
}

int Compared(InternalCall& call) { return CompareValues(call.Argument(0), call.Argument(1)); }
void AnswerTruth(InternalCall& call, bool truth) { call.Answer(Variant::Long(truth ? 1 : 0)); }

void Equal(InternalCall& call) { AnswerTruth(call, Compared(call) == 0); }
void NotEqual(InternalCall& call) { AnswerTruth(call, Compared(call) != 0); }
void GreaterThan(InternalCall& call) { AnswerTruth(call, Compared(call) > 0); }
void LessThan(InternalCall& call) { AnswerTruth(call, Compared(call) < 0); }
void GreaterEqual(InternalCall& call) { AnswerTruth(call, Compared(call) >= 0); }
void LessEqual(InternalCall& call) { AnswerTruth(call, Compared(call) <= 0); }

void And(InternalCall& call) {
  const bool a = Condition(call.Argument(0));
  const bool b = Condition(call.Argument(1));
  AnswerTruth(call, a && b);
}

void Or(InternalCall& call) {
  const bool a = Condition(call.Argument(0));
  const bool b = Condition(call.Argument(1));
  AnswerTruth(call, a || b);
}

void Not(InternalCall& call) { AnswerTruth(call, !Condition(call.Argument(0))); }

// Runs the named identifier with no object, the caller's mode and value, and
// the arguments after the name as its own. Its errors end the call quietly:
// whatever it stored as result is the result.
void CallByName(InternalCall& call) {
  const std::int32_t code = SymbolIntern(call.ArgumentText(0));
  const std::int32_t frameIndex = scriptEngine.callTop;
  CallFrame& frame = TopFrame();
  const std::int32_t base = frame.stackBase;
  struct BaseBack {
    std::int32_t frameIndex;
    std::int32_t base;
    ~BaseBack() {
      if (scriptEngine.callTop == frameIndex) TopFrame().stackBase = base;
    }
  } baseBack{frameIndex, base};
  frame.stackBase = base + 1;
  ScriptValue object;
  try {
    ScriptCallCommand(code, object, call.argumentUpper - 1, call.result, call.mode, call.value, true);
  } catch (const KivError&) {
    // Dropped: the named identifier's failure is not the caller's.
  }
  if (call.result.kind == kValuePlain && call.result.value.Type() == kVarError) call.result.value = Variant();
}

// The lines compiled as a script of their own, run at once in a frame of its
// own above the caller's (its owner, map, related and "this" objects and
// player; its variables from the new script), so that the caller's statement
// goes on afterwards. Each evaluation adds one script to the table.
void Evaluate(InternalCall& call) {
  const Variant lines = ScriptGetArgumentArray(call.argumentUpper, 0);
  Script script;
  for (const Variant& line : lines.Elements()) script.text += VarToText(line) + u"\r\n";
  CompileScript(script);
  LinkScript(script, true);
  const std::int32_t index = RegisterScript(script);
  if (index < 0) return;  // text the compiler could not read (it logged why)

  const CallFrame& caller = TopFrame();
  CallFrame fields;
  fields.ownerKind = caller.ownerKind;
  fields.ownerIndex = caller.ownerIndex;
  fields.subIndex = caller.subIndex;
  fields.ownerMap = caller.ownerMap;
  fields.relateActor = caller.relateActor;
  fields.relateValue2 = caller.relateValue2;
  fields.relateDoor = caller.relateDoor;
  fields.relateTurret = caller.relateTurret;
  fields.relateItem = caller.relateItem;
  fields.player = caller.player;
  fields.thisZone = caller.thisZone;
  fields.thisActor = caller.thisActor;
  fields.thisDoor = caller.thisDoor;
  fields.thisSpawn = caller.thisSpawn;
  fields.thisItem = caller.thisItem;
  fields.thisField = caller.thisField;
  // A wait in the text saves only this frame, which is then dropped below.
  fields.suspendRoot = 1;
  const std::size_t waitsBefore = waitingScripts.size();
  PushCallFrame(fields, ScriptAt(index));
  Variant returned;
  try {
    returned = ScriptExecute(index, 0, true);
  } catch (...) {
    PopCallFrame();
    throw;
  }
  PopCallFrame();
  if (returned.Type() == kVarNull) {
    // It could never resume: the text's frame exists no longer.
    if (waitingScripts.size() > waitsBefore) waitingScripts.resize(waitsBefore);
    RaiseError(kErrData, "Evaluated script text cannot wait.");
  }
  if (returned.Type() == kVarError) RaiseError(kErrAlreadyReported, "");
  call.result.value = std::move(returned);
}

// The choice at the 1-based index among the arguments after it, or among the
// elements of a collection or array given there.
void Choose(InternalCall& call) {
  const double position = ToNumber(call.Argument(0)) - 1;
  const Variant choices = ScriptGetArgumentArray(call.argumentUpper, 1);
  const auto count = static_cast<std::int32_t>(choices.Elements().size());
  if (position < 0 || position > count - 1) {
    RaiseError(kErrData, "The index handle must be between 1 and " + std::to_string(count) + ".");
  }
  call.Answer(choices.Elements()[static_cast<std::size_t>(std::nearbyint(position))]);
}

// Pairs of condition and value; the value of the first true condition. The
// conditions after it are not looked at.
void Switch(InternalCall& call) {
  const Variant elements = ScriptGetArgumentArray(call.argumentUpper, 0);
  const std::vector<Variant>& pairs = elements.Elements();
  if (pairs.size() % 2 != 0) RaiseError(kErrData, "There must be an even number of parameters.");
  for (std::size_t i = 0; i < pairs.size(); i += 2) {
    if (Condition(pairs[i])) {
      call.Answer(pairs[i + 1]);
      return;
    }
  }
}

constexpr InternalCommand kStructure[] = {
    {"Structure.IIf", InlineIf},
    {"Structure.IfSwitch", InlineIf},
    {"Structure.Equal", Equal},
    {"Structure.NotEqual", NotEqual},
    {"Structure.GreaterThan", GreaterThan},
    {"Structure.LessThan", LessThan},
    {"Structure.GreaterEqual", GreaterEqual},
    {"Structure.LessEqual", LessEqual},
    {"Structure.And", And},
    {"Structure.Or", Or},
    {"Structure.Not", Not},
    {"Structure.CallByName", CallByName},
    {"CallByName", CallByName},
    {"Structure.Evaluate", Evaluate},
    {"Structure.Choose", Choose},
    {"Structure.Switch", Switch},
};

}  // namespace

std::span<const InternalCommand> StructureFunctions() { return kStructure; }

}  // namespace kiv
