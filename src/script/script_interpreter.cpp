#include "script/script_interpreter.h"

#include <array>
#include <cstdint>
#include <exception>
#include <new>
#include <string>
#include <utility>

#include "core/error.h"
#include "core/log.h"
#include "core/number_text.h"
#include "core/text_encoding.h"
#include "data/data_hooks.h"
#include "data/game_data.h"
#include "script/call_frame.h"
#include "script/custom_event_gates.h"
#include "script/decoded_statement.h"
#include "script/script_convert.h"
#include "script/script_dispatch.h"
#include "script/script_globals.h"
#include "script/script_hooks.h"
#include "script/script_keywords.h"
#include "script/script_operators.h"
#include "script/script_stack_access.h"
#include "script/script_text.h"
#include "script/script_value_ops.h"
#include "script/timed_changes.h"
#include "script/trigger_description.h"
#include "script/waits.h"

namespace kiv {

namespace {

constexpr std::uint32_t kYieldMilliseconds = 3000;
constexpr std::int32_t kStatementsPerClockRead = 32;
constexpr int kErrReported = -2;  // an error a nested frame has already reported

const char kStackError[] = "Short GET stack error. Please report this problem, including the script itself.";
const char kOperatorError[] = "Operator error. Please report this problem, including the script itself.";

[[noreturn]] void RaiseScript(const std::string& message) { RaiseError(kErrData, message); }

const ScriptValue kNoTarget;  // the target of a timed change of a variable

// How a statement's evaluation ended.
enum class Flow { kNext, kReturnNull, kLeave };

void SetPlain(ScriptValue& entry, Variant value) {
  entry.kind = kValuePlain;
  entry.value = std::move(value);
  entry.mapIndex = 0;
}

class Interpreter {
 public:
  Interpreter(std::int32_t frameIndex, std::int32_t scriptIndex)
      : frameIndex_(frameIndex),
        scriptIndex_(scriptIndex),
        frame_(scriptEngine.callStack[static_cast<std::size_t>(frameIndex)]),
        variableLists_{&frame_.locals, &frame_.statics, &frame_.parameters, &scriptGlobals.variables} {}

  // Runs the statements; result as ScriptExecute gives it.
  Variant Run(std::int32_t start, bool nested) {
    std::int32_t s = start;
    bool testBranch = false;
    // The script is looked up again, and whether statements may run in their
    // decoded form checked again, after each statement that ran the general
    // way and after the window system ran: a command or an event may change
    // the script table or start a nested run.
    const Script* script = nullptr;
    std::int32_t count = 0;
    DecodedRun decoded(frameIndex_);
    auto lookUp = [&] {
      script = &ScriptAt(scriptIndex_);
      count = static_cast<std::int32_t>(script->statements.size());
      decoded.Reserve(script->statements.size());
      fastChecked_ = false;
    };
    while (true) {
      if (script == nullptr) lookUp();
      if (s < 0 || s >= count) break;
      if (TimeSlice()) {
        lookUp();
        if (s >= count) break;
      }
      frame_.statementIndex = s;
      const DecodedStatement& fast = decoded.At(s, *script);
      const std::uint8_t kind = fast.kind;
      if (kind == kStatementGoto) {
        // A label after the last statement takes the statement count as its
        // index: jumping there ends the run, the usual way to leave early.
        if (fast.jump < 0 || fast.jump > count) RaiseScript("GOTO names a label that does not exist.");
        s = fast.jump;
        continue;
      }
      if ((kind == kStatementElseIf && !testBranch) || kind == kStatementElse) {
        s = AfterEndIf(*script, s) + 1;
        continue;
      }
      testBranch = false;
      if (kind == kStatementEndIf) {
        ++s;
        continue;
      }
      if (fast.form != DecodedForm::kGeneral && FastAllowed()) {
        if (fast.form == DecodedForm::kAssign && RunAssign(fast)) {
          ++s;
          continue;
        }
        std::uint8_t truth = 0;
        if (fast.form == DecodedForm::kTest && RunTest(fast, truth)) {
          s = truth != 0 ? s + 1 : SkipBranch(*script, s, testBranch);
          continue;
        }
      }
      script = nullptr;
      const Flow flow = Evaluate(s);
      current_ = nullptr;
      if (flow == Flow::kReturnNull) return VarNull();
      if (flow == Flow::kLeave) return Variant();

      // Finish the statement.
      const std::int32_t top = frame_.valueStackTop;
      if (top != 0 && top != 1) RaiseScript(kStackError);
      frame_.valueStackTop = -1;
      frame_.tokenPosition = 0;
      frame_.assignment = 0;
      const ScriptValue& entry = frame_.valueStack[0];
      if (kind == kStatementLerp) {
        scriptEngine.pendingDuration = VarToLong(ScriptEntryValue(frame_, entry));
      } else if (kind == kStatementIf || kind == kStatementElseIf) {
        if (entry.kind != kValuePlain && entry.kind != kValueVariable)
          RaiseScript("Invalid use of IF keyword.");
        if (ScriptConvertBoolean(ScriptEntryValue(frame_, entry), true) == 0) {
          s = SkipBranch(ScriptAt(scriptIndex_), s, testBranch);
          continue;
        }
      } else if (entry.kind == kValueControl) {
        const Variant& request = entry.value;
        const std::int32_t code =
            request.IsArray() && !request.Elements().empty() ? VarToLong(request.Elements()[0]) : -1;
        if (code == 0) {
          ScriptSuspendForWait();
          return VarNull();
        }
        if (code == 1) return Finish(Variant(), nested);
        if (code == 2) {
          return Finish(request.Elements().size() > 1 ? request.Elements()[1] : Variant(), nested);
        }
      }
      ++s;
    }
    return Finish(Variant(), nested);
  }

 private:
  // The end of a custom event whose value is used: it must return a value, and
  // one of its gates when it has several.
  Variant Finish(Variant result, bool nested) {
    if (frame_.ownerKind != kOwnerCustomEvent || nested) return result;
    if (result.IsEmpty()) RaiseScript("Custom event expected to return something, and it didn't.");
    const std::int32_t gates = CustomEventGateCount(frame_.ownerIndex);
    if (gates > 1) {
      const bool valid = IsNumericValue(result) && ToNumber(result) >= 1.0 && ToNumber(result) <= gates;
      if (!valid) {
        RaiseScript("Custom event expected to return a value between 1 and " + std::to_string(gates) +
                    ", and it didn't.");
      }
    }
    return result;
  }

  // The clock is read on every 32nd statement: reading it costs more than a
  // simple statement, and 32 statements are far below the 3000 ms slice.
  // True when the hooks ran, which may run anything.
  bool TimeSlice() {
    bool hooksRan = false;
    if (++scriptEngine.yieldCountdown >= kStatementsPerClockRead && !scriptEngine.scriptAbort &&
        !dataHooks.QuitRequested()) {
      hooksRan = true;
      scriptEngine.yieldCountdown = 0;
      const std::uint32_t now = scriptHooks.TickCount();
      if (static_cast<std::int32_t>(now - scriptEngine.tickStamp) >
          static_cast<std::int32_t>(kYieldMilliseconds)) {
        dataHooks.YieldToWindowSystem();
        if (dataHooks.QuitRequested()) {
          scriptEngine.scriptAbort = true;
        } else {
          scriptEngine.tickStamp = now;
        }
      }
    }
    if (scriptEngine.scriptAbort) RaiseScript("Script aborted due to infinite loop.");
    return hooksRan;
  }

  // The next ELSEIF, ELSE or ENDIF of an IF, ELSEIF or ELSE.
  static std::int32_t BranchTarget(const Script& script, std::int32_t s) {
    const std::int32_t next = script.statements[static_cast<std::size_t>(s)].next;
    if (next <= s || next >= static_cast<std::int32_t>(script.statements.size())) {
      RaiseScript("IF without a matching ENDIF.");
    }
    return next;
  }

  // Where a false IF or ELSEIF goes: an ELSEIF is tested, an ELSE or ENDIF passed.
  static std::int32_t SkipBranch(const Script& script, std::int32_t s, bool& testBranch) {
    const std::int32_t next = BranchTarget(script, s);
    if (script.statements[static_cast<std::size_t>(next)].kind == kStatementElseIf) {
      testBranch = true;
      return next;
    }
    return next + 1;
  }

  static std::int32_t AfterEndIf(const Script& script, std::int32_t s) {
    while (script.statements[static_cast<std::size_t>(s)].kind != kStatementEndIf)
      s = BranchTarget(script, s);
    return s;
  }

  const ScriptStatement& Statement(std::int32_t s) const {
    const Script& script = ScriptAt(scriptIndex_);
    if (s >= static_cast<std::int32_t>(script.statements.size()))
      RaiseError(kErrIndex, "Subscript out of range");
    return script.statements[static_cast<std::size_t>(s)];
  }

  ScriptValue& Push() {
    const std::int32_t top = ++frame_.valueStackTop;
    if (top >= static_cast<std::int32_t>(frame_.valueStack.size())) [[unlikely]] GrowValueStack(top);
    return frame_.valueStack[static_cast<std::size_t>(top)];
  }

  // Kept out of Push so that the common case stays small.
  [[gnu::noinline]] void GrowValueStack(std::int32_t top) { frame_.valueStack.resize(top + 1); }

  void PushVariableReference(std::int32_t tokenIndex) {
    ScriptValue& entry = Push();
    entry.kind = kValueVariable;
    entry.value = Variant::Long(tokenIndex);
    entry.mapIndex = 0;
  }

  // Tokens i..i+3 of the form "operand operator operand apply" with two Long
  // values and an operator that Long arithmetic or comparison serves: pushes
  // the one value the four tokens would leave, without pushing and applying
  // each. False, with nothing done, when the general path must run them.
  bool FuseOperation(const ScriptStatement& statement, std::int32_t i) {
    const std::vector<ScriptToken>& tokens = statement.tokens;
    const std::size_t at = static_cast<std::size_t>(i);
    if (at + 3 >= tokens.size() || tokens[at + 1].kind != kTokenOperator || tokens[at + 3].kind != kTokenApply) {
      return false;
    }
    const Variant* left = OperandValue(tokens[at]);
    const Variant* right = OperandValue(tokens[at + 2]);
    if (left == nullptr || right == nullptr) return false;
    Variant result;
    const char16_t op = static_cast<char16_t>(tokens[at + 1].value.RawInt());
    if (!ScriptLongOperator(op, *left, *right, result)) return false;
    SetPlain(Push(), std::move(result));
    frame_.tokenPosition = i + 3;
    return true;
  }

  // The value of a number or variable token; null when it is none of these or
  // its index is out of range (the general path then reports the error).
  const Variant* OperandValue(const ScriptToken& token) const {
    const std::int32_t index = token.value.AsLong();
    switch (token.kind) {
      case kTokenNumber:
        return &token.value;
      case kTokenLocal:
        return VariableValue(kSourceLocal, index);
      case kTokenStatic:
        return VariableValue(kSourceStatic, index);
      case kTokenParameter:
        return VariableValue(kSourceParameter, index);
      case kTokenGlobalVariable:
        return VariableValue(kSourceGlobal, index);
      default:
        return nullptr;
    }
  }

  const Variant* OperandValue(const DecodedOperand& operand) const {
    if (operand.source == kSourceConstant) return &operand.constant;
    return VariableValue(operand.source, operand.index);
  }

  // An entry of a variable list; null when the index is out of range.
  ScriptVariable* Variable(std::uint8_t source, std::int32_t index) const {
    std::vector<ScriptVariable>& list = *variableLists_[source];
    return static_cast<std::size_t>(index) < list.size() ? &list[static_cast<std::size_t>(index)] : nullptr;
  }

  const Variant* VariableValue(std::uint8_t source, std::int32_t index) const {
    const ScriptVariable* variable = Variable(source, index);
    return variable != nullptr ? &variable->value : nullptr;
  }

  // Whether the statement about to run may take its decoded form: it starts
  // from its first token and no nested run waits to be resumed in it.
  bool FastAllowed() {
    if (!fastChecked_) {
      fastChecked_ = true;
      fastAllowed_ = frame_.tokenPosition == 0 && frame_.valueStackTop == -1 && frame_.assignment == 0 &&
                     !ResumePending();
    }
    return fastAllowed_;
  }

  // The value of a decoded expression: left alone, or left op right on two
  // Longs within the Long range; False, with nothing done, when the general
  // path must evaluate it (other types, overflow, an index out of range).
  bool DecodedValue(const DecodedStatement& decoded, const Variant*& single, std::int32_t& result) const {
    const Variant* left = OperandValue(decoded.left);
    if (left == nullptr) return false;
    if (decoded.op == LongOperator::kNone) {
      single = left;
      return true;
    }
    const Variant* right = OperandValue(decoded.right);
    if (right == nullptr || left->Type() != kVarLong || right->Type() != kVarLong) return false;
    single = nullptr;
    return ScriptLongArithmetic(decoded.op, left->AsLong(), right->AsLong(), result);
  }

  // A decoded assignment to a local, static or parameter, with the effects of
  // the general path; False, with nothing done, when that path must run it.
  bool RunAssign(const DecodedStatement& decoded) {
    if (scriptEngine.pendingDuration != 0) return false;  // the general path reports it
    ScriptVariable* variable = Variable(decoded.target, decoded.targetIndex);
    if (variable == nullptr) return false;
    const Variant* single = nullptr;
    std::int32_t result = 0;
    if (!DecodedValue(decoded, single, result)) return false;
    if (single != nullptr) {
      CancelTimedChange(variable->symbol, *single);
      variable->value = *single;
    } else {
      Variant value = Variant::Long(result);
      CancelTimedChange(variable->symbol, value);
      variable->value = std::move(value);
    }
    return true;
  }

  // A decoded IF or ELSEIF: truth 0 when false. False, with nothing done, when
  // the general path must run it.
  bool RunTest(const DecodedStatement& decoded, std::uint8_t& truth) const {
    const Variant* single = nullptr;
    std::int32_t result = 0;
    if (!DecodedValue(decoded, single, result)) return false;
    truth = single != nullptr ? ScriptConvertBoolean(*single, true) : static_cast<std::uint8_t>(result != 0);
    return true;
  }

  // An assignment to a local, static or parameter first ends a timed change of
  // the same symbol. Only an entry of the timed-change list can be one, so the
  // hook is spared while the list is empty: it would find nothing to end.
  static void CancelTimedChange(std::int32_t symbol, const Variant& value) {
    if (!timedChanges.empty()) ScriptStartTimedChange(symbol, kNoTarget, -1, value, 0);
  }

  ScriptValue& TopEntry() {
    if (frame_.valueStackTop < 0) RaiseScript(kStackError);
    return frame_.valueStack[static_cast<std::size_t>(frame_.valueStackTop)];
  }

  // The value stored by an assignment from entry 0.
  Variant AssignedValue() const {
    const ScriptValue& entry = frame_.valueStack[0];
    if (entry.kind == kValueCollection) {
      return Variant::Array(kVarVariant, CollectionAt(entry.value.AsLong()).elements);
    }
    return ScriptEntryValue(frame_, entry);
  }

  // The value an entry stands for; variable references are read through the
  // statement being evaluated.
  const Variant& Value(const ScriptValue& entry) const {
    if (entry.kind != kValueVariable || current_ == nullptr) return ScriptEntryValue(frame_, entry);
    const std::int32_t index = entry.value.AsLong();
    if (index < 0 || index >= static_cast<std::int32_t>(current_->tokens.size())) {
      return ScriptEntryValue(frame_, entry);
    }
    const ScriptToken& token = current_->tokens[static_cast<std::size_t>(index)];
    if (token.kind == kTokenLocal) {
      const std::int32_t local = token.value.AsLong();
      if (local >= 0 && local < static_cast<std::int32_t>(frame_.locals.size())) {
        return frame_.locals[static_cast<std::size_t>(local)].value;
      }
    }
    return ScriptEntryValue(frame_, entry);
  }

  Flow Evaluate(std::int32_t s) {
    const ScriptStatement* statement = &Statement(s);
    current_ = statement;
    const std::int32_t last = static_cast<std::int32_t>(statement->tokens.size()) - 1;
    if (frame_.valueStackTop == -1 && frame_.valueStack.size() < statement->tokens.size()) {
      frame_.valueStack.resize(statement->tokens.size());
    }
    for (std::int32_t i = frame_.tokenPosition; i <= last; ++i) {
      frame_.tokenPosition = i;
      const bool isLast = i == last;
      if (ResumePending()) {
        const Flow flow = ResumeNested(isLast);
        if (flow != Flow::kNext) return flow;
        statement = current_ = &Statement(s);
        continue;
      }
      const ScriptToken& token = statement->tokens[static_cast<std::size_t>(i)];
      const bool target = frame_.assignment != 0 && isLast;
      switch (token.kind) {
        case kTokenNumber:
          if (FuseOperation(*statement, i)) {
            i += 3;
            break;
          }
          SetPlain(Push(), token.value);
          break;
        case kTokenLocal:
        case kTokenStatic:
        case kTokenParameter:
        case kTokenGlobalVariable:
          if (target) {
            AssignVariable(token);
          } else if (FuseOperation(*statement, i)) {
            i += 3;
          } else {
            PushVariableReference(i);
          }
          break;
        case kTokenString:
          PushVariableReference(i);
          break;
        case kTokenSwitch:
          if (target) {
            AssignSwitch(token);
          } else {
            SetPlain(Push(), Variant::Long(GlobalSwitchAt(token.value.AsLong()).state != 0 ? 1 : 0));
          }
          break;
        case kTokenCollection:
          if (target) {
            AssignCollection(token);
          } else {
            Push() = ScriptValue{kValueCollection, Variant::Long(token.value.AsLong()), 0};
          }
          break;
        case kTokenTable:
          if (target) RaiseScript("A whole table cannot be assigned; assign its elements with Table.Edit.");
          Push() = ScriptValue{kValueTable, Variant::Long(token.value.AsLong()), 0};
          break;
        case kTokenKeyword: {
          ScriptValue resolved;
          ScriptResolveFrameKeyword(resolved, token.value.AsLong(), -1, true);
          Push() = std::move(resolved);
          break;
        }
        case kTokenSymbol:
        case kTokenCall: {
          const Flow flow = Command(token.value.AsLong(), token.kind == kTokenCall, isLast);
          if (flow != Flow::kNext) return flow;
          statement = current_ = &Statement(s);
          break;
        }
        case kTokenNegate: {
          ScriptValue& entry = TopEntry();
          SetPlain(entry, VarNeg(ScriptEntryValue(frame_, entry)));
          break;
        }
        case kTokenCallStart:
          Push() = ScriptValue{kValueMarker, Variant(), 0};
          break;
        case kTokenOperator: {
          ScriptValue& entry = Push();
          entry.kind = kValueOperator;
          entry.value = token.value;
          entry.mapIndex = 0;
          break;
        }
        case kTokenApply:
          Apply();
          break;
        case kTokenSetMarker:
          if (frame_.valueStackTop != 0) RaiseScript(kStackError);
          frame_.assignment = 1;
          break;
        case kTokenSeparator:
          break;
        default:
          RaiseScript(kOperatorError);
      }
    }
    return Flow::kNext;
  }

  static bool ResumePending() {
    return scriptEngine.resumeTop != -1 && scriptEngine.resumeTop > scriptEngine.callTop;
  }

  // A waiting script is being resumed and frames above this one were saved:
  // run the next of them in place of the call it was suspended in.
  Flow ResumeNested(bool isLast) {
    const std::size_t index = static_cast<std::size_t>(scriptEngine.callTop + 1);
    if (index >= scriptEngine.resumeFrames.size()) RaiseError(kErrIndex, "Subscript out of range");
    TriggerRun run = SavedFrameRun(scriptEngine.resumeFrames[index]);
    run.suspendRoot = 0;
    run.nested = isLast;
    Variant result = scriptHooks.RunTrigger(run);
    if (result.Type() == kVarError) RaiseError(kErrReported, "");
    if (result.Type() == kVarNull) return Flow::kReturnNull;
    SetPlain(TopEntry(), std::move(result));
    return Flow::kNext;
  }

  Flow Command(std::int32_t code, bool isCall, bool isLast) {
    current_ = nullptr;  // the script table may change during the call
    std::vector<ScriptValue>& stack = frame_.valueStack;
    const std::int32_t top = frame_.valueStackTop;
    ScriptValue object;
    std::int32_t slot = 0;
    std::int32_t argumentUpper = -1;
    std::int32_t base = 0;
    if (!isCall) {
      if (top >= 0 && IsObjectReference(stack[static_cast<std::size_t>(top)])) {
        object = stack[static_cast<std::size_t>(top)];
        slot = top;
      } else {
        slot = top + 1;
      }
      base = slot + 1;
    } else {
      std::int32_t marker = top;
      while (marker >= 0 && stack[static_cast<std::size_t>(marker)].kind != kValueMarker) --marker;
      if (marker < 0) RaiseScript(kStackError);
      argumentUpper = top - marker - 1;
      base = marker + 1;
      if (marker >= 1 && IsObjectReference(stack[static_cast<std::size_t>(marker - 1)])) {
        object = stack[static_cast<std::size_t>(marker - 1)];
        slot = marker - 1;
      } else {
        slot = marker;
      }
    }
    const bool assign = frame_.assignment != 0 && isLast;
    const std::int32_t newTop = slot - (assign ? 1 : 0);
    if (newTop < 0) RaiseScript(kStackError);
    if (slot >= static_cast<std::int32_t>(stack.size())) stack.resize(slot + 1);
    frame_.valueStackTop = newTop;
    frame_.stackBase = base;

    ScriptValue result;
    if (assign) {
      const Variant value = AssignedValue();
      ScriptCallCommand(code, object, argumentUpper, result, kModeAssign, value, true);
    } else {
      ScriptCallCommand(code, object, argumentUpper, result, kModeRead, Variant(), isLast);
    }
    if (scriptEngine.callTop < frameIndex_) return Flow::kLeave;
    if (result.kind == kValuePlain && result.value.Type() == kVarError) RaiseError(kErrReported, "");
    if (result.kind == kValuePlain && result.value.Type() == kVarNull) return Flow::kReturnNull;
    frame_.valueStack[static_cast<std::size_t>(frame_.valueStackTop)] = std::move(result);
    return Flow::kNext;
  }

  void Apply() {
    std::vector<ScriptValue>& stack = frame_.valueStack;
    const std::int32_t top = frame_.valueStackTop;
    if (top < 1) RaiseScript(kStackError);
    ScriptValue& operatorEntry = stack[static_cast<std::size_t>(top - 1)];
    if (operatorEntry.kind != kValueOperator) RaiseScript(kOperatorError);
    const char16_t op = static_cast<char16_t>(operatorEntry.value.RawInt());
    if (op == u'N') {
      Variant result = ScriptNotOperator(ScriptEntryValue(frame_, stack[static_cast<std::size_t>(top)]));
      SetPlain(stack[static_cast<std::size_t>(top - 1)], std::move(result));
      frame_.valueStackTop = top - 1;
      return;
    }
    if (top < 2 || stack[static_cast<std::size_t>(top - 2)].kind == kValueOperator)
      RaiseScript(kOperatorError);
    const Variant& left = Value(stack[static_cast<std::size_t>(top - 2)]);
    const Variant& right = Value(stack[static_cast<std::size_t>(top)]);
    ScriptValue& target = stack[static_cast<std::size_t>(top - 2)];
    if (!ScriptLongOperator(op, left, right, target.value)) {
      Variant result = ScriptBinaryOperator(op, left, right);
      target.value = std::move(result);
    }
    target.kind = kValuePlain;
    target.mapIndex = 0;
    frame_.valueStackTop = top - 2;
  }

  void AssignVariable(const ScriptToken& token) {
    const std::int32_t index = token.value.AsLong();
    if (token.kind == kTokenGlobalVariable) {
      const std::int32_t symbol = GlobalVariableAt(index).symbol;
      Variant value = AssignedValue();
      const std::int32_t duration = scriptEngine.pendingDuration;
      scriptEngine.pendingDuration = 0;
      if (ScriptStartTimedChange(symbol, kNoTarget, -1, value, duration)) return;
      GlobalVariableAt(index).value = std::move(value);
      return;
    }
    if (scriptEngine.pendingDuration != 0) {
      RaiseScript("Duration option cannot be used with local variables or parameters.");
    }
    ScriptVariable* found = Variable(token.kind == kTokenLocal    ? kSourceLocal
                                     : token.kind == kTokenStatic ? kSourceStatic
                                                                  : kSourceParameter,
                                     index);
    if (found == nullptr) RaiseError(kErrIndex, "Subscript out of range");
    ScriptVariable& variable = *found;
    const ScriptValue& source = frame_.valueStack[0];
    if (source.kind == kValueCollection) {
      Variant value = AssignedValue();
      CancelTimedChange(variable.symbol, value);
      variable.value = std::move(value);
      return;
    }
    const Variant& value = Value(source);
    CancelTimedChange(variable.symbol, value);
    variable.value = value;
  }

  void AssignSwitch(const ScriptToken& token) {
    const std::int32_t index = token.value.AsLong();
    const std::int32_t symbol = GlobalSwitchAt(index).symbol;
    const Variant value = AssignedValue();
    const std::int32_t duration = scriptEngine.pendingDuration;
    scriptEngine.pendingDuration = 0;
    if (ScriptStartTimedChange(symbol, ScriptValue(), -1, value, duration)) return;
    GlobalSwitchAt(index).state = ScriptConvertBoolean(value, true);
  }

  void AssignCollection(const ScriptToken& token) {
    ScriptCheckCollectionArgument(-1, false);
    const ScriptValue& source = frame_.valueStack[0];
    std::vector<Variant> elements = source.kind == kValueCollection
                                        ? CollectionAt(source.value.AsLong()).elements
                                        : ScriptEntryValue(frame_, source).Elements();
    CollectionAt(token.value.AsLong()).elements = std::move(elements);
  }

  std::int32_t frameIndex_;
  std::int32_t scriptIndex_;
  CallFrame& frame_;
  // Indexed by DecodedSource.
  std::array<std::vector<ScriptVariable>*, kVariableListCount> variableLists_;
  bool fastChecked_ = false;
  bool fastAllowed_ = false;
  const ScriptStatement* current_ = nullptr;  // the statement being evaluated, while no command runs
};

// Builds the report of a failed frame and writes it to the error log.
void ReportFailure(const CallFrame& frame, int number, const std::string& message) {
  const bool wroteError = number != kErrReported && !message.empty();
  std::u16string report;
  if (wroteError) report += u"Error: " + AnsiToUtf16(message) + u"\r\n";
  if (frame.statementIndex >= 0) {
    std::int32_t sourceLine = 0;
    std::u16string line;
    if (frame.scriptIndex >= 0 && frame.scriptIndex < static_cast<std::int32_t>(scriptTable.scripts.size())) {
      const Script& script = scriptTable.scripts[static_cast<std::size_t>(frame.scriptIndex)];
      if (frame.statementIndex < static_cast<std::int32_t>(script.statements.size())) {
        sourceLine = script.statements[static_cast<std::size_t>(frame.statementIndex)].sourceLine;
        line = ScriptStatementSourceLine(script, frame.statementIndex);
      }
    }
    report += u"  [" + AnsiToUtf16(std::to_string(sourceLine + 1LL)) + u"]: " + line;
  }
  report += u"\r\n";
  report += wroteError ? u"  in " : u"  from ";
  report += DescribeTrigger(frame);
  if (frame.ownerKind == kOwnerSpriteTexture) {
    const std::int32_t map = frame.ownerMap;
    const bool onInterface = map >= 0 && map <= gameData.maps.LastIndex() && gameData.maps[map].isInterface;
    if (map == -1 || onInterface) return;
  }
  ErrorLogAppend(Utf16ToAnsi(report));
}

}  // namespace

Variant ScriptExecute(std::int32_t scriptIndex, std::int32_t startStatement, bool nested) {
  const std::int32_t frameIndex = scriptEngine.callTop;
  CallFrame& frame = TopFrame();
  frame.scriptIndex = scriptIndex;
  int number = 0;
  std::string message;
  try {
    if (frameIndex > kCallStackRunLimit) {
      RaiseScript("Trigger or custom event has executed itself recursively too many times.");
    }
    return Interpreter(frameIndex, scriptIndex).Run(startStatement, nested);
  } catch (const KivError& error) {
    number = error.Number();
    message = error.what();
  } catch (const std::bad_alloc&) {
    number = 7;
    message = "Out of memory";
  } catch (const std::exception& error) {
    number = kErrInvalidCall;
    message = error.what();
  }
  scriptEngine.pendingDuration = 0;
  ReportFailure(frame, number, message);
  return VarErrorValue(number);
}

std::u16string ScriptStatementSourceLine(const Script& script, std::int32_t statementIndex) {
  if (statementIndex < 0 || statementIndex >= static_cast<std::int32_t>(script.statements.size())) return u"";
  const std::int32_t line = script.statements[static_cast<std::size_t>(statementIndex)].sourceLine;
  if (line < 0) return u"";
  const std::vector<std::u16string> lines = SplitLines(script.text);
  if (line >= static_cast<std::int32_t>(lines.size())) return u"";
  return TrimBlanks(lines[static_cast<std::size_t>(line)]);
}

}  // namespace kiv
