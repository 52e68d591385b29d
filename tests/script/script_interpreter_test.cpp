#include "script/script_interpreter.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "script/script_dispatch.h"
#include "script/script_globals.h"
#include "script/script_value_ops.h"
#include "script/timed_changes.h"
#include "script/waits.h"
#include "script_test_fixture.h"

namespace kiv {
namespace {

using test::RecordedCall;
using test::ScriptEngineTest;

class ScriptInterpreterTest : public ScriptEngineTest {};

TEST_F(ScriptInterpreterTest, LoopWithLabelAndGoto) {
  const Variant result = RunText(u"LOCAL n\r\n:top\r\nSET n = n + 1\r\nIF n < 10\r\nGOTO top\r\nENDIF");
  EXPECT_TRUE(result.IsEmpty());
  EXPECT_EQ(Local(u"n"), Variant::Long(10));
  EXPECT_EQ(ErrorLog(), "");
}

// Jumping to a label after the last statement leaves the script without an
// error; a label that no line names stays an error.
TEST_F(ScriptInterpreterTest, GotoToTheEndLeavesTheScript) {
  const struct {
    const char16_t* text;
    std::vector<std::int32_t> marks;
    const char* error;
  } cases[] = {
      {u"Mark(1)\r\nGOTO done\r\nMark(2)\r\n:done", {1}, nullptr},
      {u"IF 1 = 1\r\nGOTO done\r\nENDIF\r\nMark(2)\r\n:done\r\n' only comments follow\r\n", {}, nullptr},
      {u"LOCAL n\r\n:top\r\nSET n = n + 1\r\nMark(n)\r\nIF n = 2\r\nGOTO done\r\nENDIF\r\nGOTO top\r\n:done",
       {1, 2},
       nullptr},
      {u"Mark(1)\r\nGOTO dnoe\r\nMark(2)\r\n:done", {1}, "GOTO names a label that does not exist."},
  };
  for (const auto& c : cases) {
    calls_.clear();
    const std::string before = ErrorLog();
    const Variant result = RunText(c.text);
    std::vector<std::int32_t> marks;
    for (const RecordedCall& call : calls_) {
      if (call.name == "Mark") marks.push_back(call.arguments.at(0).AsLong());
    }
    EXPECT_EQ(marks, c.marks) << Utf16ToUtf8(c.text);
    if (c.error == nullptr) {
      EXPECT_TRUE(result.IsEmpty()) << Utf16ToUtf8(c.text);
      EXPECT_EQ(ErrorLog(), before);
    } else {
      EXPECT_EQ(result.Type(), kVarError);
      EXPECT_EQ(ErrorLog().substr(before.size()).rfind("Error: " + std::string(c.error), 0), 0u);
    }
  }
}

TEST_F(ScriptInterpreterTest, IfChainsTakeOneBranch) {
  const std::u16string text =
      u"IF Pick = 1\r\nMark(1)\r\nELSEIF Pick = 2\r\nMark(2)\r\nIF Pick = 2\r\nMark(22)\r\nENDIF\r\n"
      u"ELSEIF Pick = 3\r\nMark(3)\r\nELSE\r\nMark(4)\r\nENDIF\r\nMark(5)";
  const std::int32_t script = Load(text);
  for (std::int32_t pick = 1; pick <= 4; ++pick) {
    handlers_["Pick"] = [pick](const RecordedCall&, ScriptValue& result) {
      result.value = Variant::Long(pick);
    };
    calls_.clear();
    EXPECT_TRUE(Run(script).IsEmpty());
    std::vector<std::int32_t> marks;
    for (const RecordedCall& call : calls_) {
      if (call.name == "Mark") marks.push_back(call.arguments.at(0).AsLong());
    }
    const std::vector<std::vector<std::int32_t>> expected = {{1, 5}, {2, 22, 5}, {3, 5}, {4, 5}};
    EXPECT_EQ(marks, expected[static_cast<std::size_t>(pick - 1)]) << pick;
  }
}

TEST_F(ScriptInterpreterTest, CallsPassArgumentsObjectsAndAssignments) {
  handlers_["Math.Add"] = [](const RecordedCall& call, ScriptValue& result) {
    result.value = VarAdd(call.arguments.at(0), call.arguments.at(1));
  };
  handlers_["Actor"] = [](const RecordedCall&, ScriptValue& result) {
    result = ScriptValue{kObjectActor, Variant::Long(7), 2};
  };
  RunText(
      u"LOCAL x\r\nLOCAL t\r\nSET t = \"hi\"\r\nSET x = Math.Add(2, 3 * 4)\r\n"
      u"SET Actor(\"hero\").HP = x\r\nShow(t, x)");
  EXPECT_EQ(Local(u"x"), Variant::Long(14));
  ASSERT_EQ(calls_.size(), 4u);
  EXPECT_EQ(calls_[1].name, "Actor");
  EXPECT_EQ(calls_[1].arguments.at(0), Variant::Text(u"hero"));
  EXPECT_EQ(calls_[2].name, "HP");
  EXPECT_EQ(calls_[2].objectKind, kObjectActor);
  EXPECT_EQ(calls_[2].mode, kModeAssign);
  EXPECT_EQ(calls_[2].value, Variant::Long(14));
  EXPECT_EQ(calls_[3].arguments, (std::vector<Variant>{Variant::Text(u"hi"), Variant::Long(14)}));
}

TEST_F(ScriptInterpreterTest, DispatcherRoutesByObjectKind) {
  std::vector<std::string> seen;
  auto tag = [&seen](const char* name) {
    return [&seen, name](std::int32_t, ScriptValue&, std::int32_t, ScriptValue&, std::int16_t, const Variant&,
                         bool) { seen.push_back(name); };
  };
  scriptHooks.internalExecutor = tag("internal");
  scriptHooks.actorExecutor = tag("actor");
  scriptHooks.fieldExecutor = tag("field");
  scriptHooks.objectExecutor = tag("object");
  const std::pair<std::int32_t, const char*> routes[] = {
      {0, "internal"}, {9, "actor"},  {12, "actor"}, {14, "actor"},  {15, "actor"},  {31, "actor"},
      {26, "field"},   {33, "field"}, {8, "object"}, {10, "object"}, {25, "object"}, {37, "object"},
  };
  for (const auto& [kind, expected] : routes) {
    seen.clear();
    ScriptValue object{kind, Variant::Long(0), 0};
    ScriptValue result{5, Variant::Long(1), 3};
    EXPECT_FALSE(ScriptCallCommand(70, object, -1, result, kModeRead, Variant(), false));
    EXPECT_EQ(result, ScriptValue()) << "a read clears the result";
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], expected) << kind;
  }
}

TEST_F(ScriptInterpreterTest, TimedChangeTakesAnAssignmentOver) {
  timedChanges.clear();
  RunText(u"LERP 500\r\nSET X = 3\r\nSET Y = 4");
  // X becomes a timed change towards 3 over 500 ms; Y is assigned at once.
  ASSERT_EQ(timedChanges.size(), 1u);
  EXPECT_EQ(timedChanges[0].code, SymbolIntern(u"X"));
  EXPECT_EQ(timedChanges[0].end, Variant::Long(3));
  EXPECT_EQ(timedChanges[0].duration, 500);
  ASSERT_FALSE(calls_.empty());
  EXPECT_EQ(calls_.back().name, "Y");
  for (const auto& call : calls_) EXPECT_TRUE(call.name != "X" || call.mode == kModeRead) << "X is only read";
  EXPECT_EQ(scriptEngine.pendingDuration, 0);
  timedChanges.clear();

  // The timed-change system's own assignment passes once.
  scriptEngine.applyingTimedChange = true;
  scriptEngine.pendingDuration = 100;
  ScriptValue none, result;
  EXPECT_FALSE(ScriptCallCommand(100, none, -1, result, kModeAssign, Variant::Long(1), true));
  EXPECT_FALSE(scriptEngine.applyingTimedChange);
}

TEST_F(ScriptInterpreterTest, ControlRequests) {
  handlers_["Stop"] = [](const RecordedCall&, ScriptValue& result) {
    result = ScriptValue{kValueControl, Variant::Array(kVarVariant, {Variant::Long(1)}), 0};
  };
  handlers_["Back"] = [](const RecordedCall& call, ScriptValue& result) {
    result =
        ScriptValue{kValueControl, Variant::Array(kVarVariant, {Variant::Long(2), call.arguments.at(0)}), 0};
  };
  handlers_["Wait"] = [](const RecordedCall&, ScriptValue& result) {
    result = ScriptValue{kValueControl, ScriptMakeWaitRequest(0, 250, -1, 0, -1, Variant::Long(-1), -1, -1, 0), 0};
  };
  ClearWaitingScripts();

  EXPECT_TRUE(RunText(u"Stop\r\nMark").IsEmpty());
  EXPECT_EQ(calls_.size(), 1u);
  EXPECT_EQ(RunText(u"Back(\"done\")\r\nMark"), Variant::Text(u"done"));
  EXPECT_EQ(RunText(u"Wait\r\nMark").Type(), kVarNull);
  ASSERT_EQ(waitingScripts.size(), 1u) << "the script waits";
  EXPECT_EQ(waitingScripts[0].timeLeft, 250);
  ClearWaitingScripts();
  EXPECT_EQ(calls_.size(), 3u);
}

TEST_F(ScriptInterpreterTest, NestedNullAndErrorResults) {
  handlers_["Suspended"] = [](const RecordedCall&, ScriptValue& result) { result.value = VarNull(); };
  handlers_["Failed"] = [](const RecordedCall&, ScriptValue& result) { result.value = VarErrorValue(-1); };
  EXPECT_EQ(RunText(u"Suspended\r\nMark").Type(), kVarNull);
  EXPECT_EQ(calls_.size(), 1u);
  const Variant failed = RunText(u"SET X = Failed()");
  EXPECT_EQ(failed, VarErrorValue(-2));
  EXPECT_EQ(ErrorLog(), "  [1]: SET X = Failed()\r\n  from System Script Trigger: -1\r\n");
}

TEST_F(ScriptInterpreterTest, ErrorReportNamesTheLineAndEveryCallingTrigger) {
  const std::int32_t inner = Load(u"' inner\r\nLOCAL x\r\nSET x = 1 / 0");
  handlers_["Inner"] = [inner](const RecordedCall&, ScriptValue& result) {
    CallFrame frame;
    frame.ownerKind = kOwnerCustomEvent;
    frame.ownerIndex = 0;
    PushCallFrame(frame, scriptTable.scripts[static_cast<std::size_t>(inner)]);
    result.value = ScriptExecute(inner, 0, true);
    PopCallFrame();
  };
  gameData.customEvents.resize(1);
  gameData.customEvents[0].name = u"Boom";
  CallFrame outer;
  outer.ownerKind = kOwnerSystem;
  outer.ownerIndex = 3;
  EXPECT_EQ(Run(Load(u"Show\r\n  Inner  "), outer), VarErrorValue(-2));
  EXPECT_EQ(ErrorLog(),
            "Error: Division by zero\r\n  [3]: SET x = 1 / 0\r\n  in Custom Event: \"Boom\"\r\n"
            "  [2]: Inner\r\n  from System Script Trigger: 3\r\n");
  EXPECT_EQ(scriptEngine.pendingDuration, 0);
}

TEST_F(ScriptInterpreterTest, CallStackLimitLetsFrames0To126Run) {
  const std::int32_t script = Load(u"Recurse");
  std::int32_t deepest = -1;
  handlers_["Recurse"] = [script, &deepest](const RecordedCall&, ScriptValue& result) {
    deepest = scriptEngine.callTop;
    PushCallFrame(CallFrame(), scriptTable.scripts[static_cast<std::size_t>(script)]);
    result.value = ScriptExecute(script, 0, true);
    PopCallFrame();
  };
  EXPECT_EQ(Run(script).Type(), kVarError);
  EXPECT_EQ(deepest, 126);
  const std::string log = ErrorLog();
  EXPECT_EQ(
      log.rfind("Error: Trigger or custom event has executed itself recursively too many times.\r\n\r\n  in ",
                0),
      0u);
  EXPECT_EQ(scriptEngine.callTop, -1);
}

TEST_F(ScriptInterpreterTest, LongRunningScriptYieldsAndAbortsOnClose) {
  int yields = 0;
  bool quit = false;
  dataHooks.YieldToWindowSystem = [&] {
    ++yields;
    quit = yields == 2;  // the window is closed during the second yield
  };
  dataHooks.QuitRequested = [&quit] { return quit; };
  scriptHooks.TickCount = [this] { return now_ += 7; };
  const Variant result = RunText(u":top\r\nGOTO top");
  EXPECT_EQ(result.Type(), kVarError);
  EXPECT_EQ(yields, 2);
  EXPECT_EQ(ErrorLog().rfind("Error: Script aborted due to infinite loop.\r\n  [2]: GOTO top\r\n", 0), 0u);
  EXPECT_FALSE(scriptEngine.scriptAbort);  // cleared when the stack emptied
}

struct LineCase {
  const char16_t* expression;
  Variant expected;
  const char* error = nullptr;  // the message, when the line fails
  bool loose = false;
};

TEST_F(ScriptInterpreterTest, OneLineCases) {
  const LineCase cases[] = {
      {u"\"1\" = 1", Variant::Long(1)},
      {u"\"a\" = \"A\"", Variant::Long(0)},
      {u"\"a\" = \"A\"", Variant::Long(1), nullptr, true},
      {u"\" a \" = \"A\"", Variant::Long(1), nullptr, true},
      {u"\"2\" + \"3\"", Variant::Double(5.0)},
      {u"\"2\" + \"x\"", Variant::Text(u"2x")},
      {u"\"2\" - \"x\"", Variant(),
       "Mathematical operator does not work with these parameters: \"2\" and/or \"x\"."},
      {u"1 & 2", Variant::Text(u"12")},
      {u"2 < 3", Variant::Long(1)},
      {u"Not 0", Variant::Long(1)},
      {u"Not 5", Variant::Long(0)},
      {u"Not \"x\"", Variant(), "Negation operator does not work with this parameter: \"x\"."},
      {u"Not 1 = 2", Variant::Long(1)},
      {u"1 And 0 Or 1", Variant::Long(1)},
      {u"7 \\ 2", Variant::Long(3)},
      {u"7 * 3 \\ 2", Variant::Long(7)},
      {u"2 ^ 3 \\ 2", Variant::Double(2.0)},
      {u"7 Mod 3", Variant::Long(1)},
      {u"1 / 4", Variant::Double(0.25)},
      {u"1 / 0", Variant(), "Division by zero"},
      {u"1 \\ 0", Variant(), "Division by zero"},
      {u"-2 ^ 2", Variant::Double(4.0)},
      {u"2147483647 + 1", Variant::Double(2147483648.0)},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.expression));
    SetLooseNameMatching(c.loose);
    const std::string before = ErrorLog();
    const Variant result = RunText(u"LOCAL r\r\nSET r = " + std::u16string(c.expression));
    if (c.error != nullptr) {
      EXPECT_EQ(result.Type(), kVarError);
      EXPECT_EQ(ErrorLog().substr(before.size()).rfind("Error: " + std::string(c.error) + "\r\n", 0), 0u)
          << ErrorLog().substr(before.size());
    } else {
      EXPECT_EQ(Local(u"r"), c.expected);
    }
  }
}

TEST_F(ScriptInterpreterTest, MalformedStatementsAreScriptErrors) {
  const std::pair<const char16_t*, const char*> cases[] = {
      {u"+", "Short GET stack error. Please report this problem, including the script itself."},
      {u"LERP 500\r\nLOCAL x\r\nSET x = 1",
       "Duration option cannot be used with local variables or parameters."},
      {u"GOTO nowhere", "GOTO names a label that does not exist."},
      {u"IF 1 = 2\r\nShow", "IF without a matching ENDIF."},
      {u"IF \"maybe\"\r\nENDIF", "Boolean \"maybe\" is invalid."},
  };
  for (const auto& [text, message] : cases) {
    const std::string before = ErrorLog();
    EXPECT_EQ(RunText(text).Type(), kVarError) << message;
    EXPECT_EQ(ErrorLog().substr(before.size()).rfind("Error: " + std::string(message), 0), 0u)
        << ErrorLog().substr(before.size());
    EXPECT_EQ(scriptEngine.pendingDuration, 0);
  }
}

TEST_F(ScriptInterpreterTest, GlobalsSwitchesAndCollections) {
  scriptGlobals.variables.push_back({SymbolIntern(u"score"), Variant::Long(1)});
  scriptGlobals.switches.push_back({SymbolIntern(u"door"), 0});
  scriptGlobals.collections.push_back({SymbolIntern(u"bag"), {}});
  scriptGlobals.collections.push_back({SymbolIntern(u"box"), {Variant::Long(4), Variant::Long(5)}});
  RunText(
      u"LOCAL copy\r\nSET score = score * 10\r\nSET door = \"yes\"\r\nSET bag = box\r\nSET copy = box\r\n"
      u"IF door\r\nShow(score)\r\nENDIF");
  EXPECT_EQ(scriptGlobals.variables[0].value, Variant::Long(10));
  EXPECT_EQ(scriptGlobals.switches[0].state, 1);
  EXPECT_EQ(scriptGlobals.collections[0].elements, scriptGlobals.collections[1].elements);
  EXPECT_EQ(Local(u"copy"), Variant::Array(kVarVariant, {Variant::Long(4), Variant::Long(5)}));
  ASSERT_EQ(calls_.size(), 1u);
  EXPECT_EQ(calls_[0].arguments.at(0), Variant::Long(10));

  const std::string before = ErrorLog();
  EXPECT_EQ(RunText(u"SET bag = 5").Type(), kVarError);
  EXPECT_NE(ErrorLog().find("Cannot use this command with something that is not a collection."),
            std::string::npos);
}

TEST_F(ScriptInterpreterTest, CustomEventMustReturnAGate) {
  gameData.customEvents.resize(1);
  gameData.customEvents[0].value = 3;  // three gates
  CallFrame frame;
  frame.ownerKind = kOwnerCustomEvent;
  frame.ownerIndex = 0;
  handlers_["Give"] = [](const RecordedCall& call, ScriptValue& result) {
    result =
        ScriptValue{kValueControl, Variant::Array(kVarVariant, {Variant::Long(2), call.arguments.at(0)}), 0};
  };
  EXPECT_EQ(Run(Load(u"Give(2)"), frame, false), Variant::Long(2));
  EXPECT_EQ(Run(Load(u"Give(4)"), frame, false).Type(), kVarError);
  EXPECT_NE(ErrorLog().find("Error: Custom event expected to return a value between 1 and 3, and it didn't."),
            std::string::npos);
  EXPECT_EQ(Run(Load(u"Show"), frame, false).Type(), kVarError);
  EXPECT_NE(ErrorLog().find("Error: Custom event expected to return something, and it didn't."),
            std::string::npos);
  EXPECT_TRUE(Run(Load(u"Show"), frame, true).IsEmpty());  // its value is not used
}

TEST_F(ScriptInterpreterTest, VariableReferenceReadsTheCurrentValue) {
  handlers_["Bump"] = [](const RecordedCall&, ScriptValue&) {
    TopFrame().locals[0].value = Variant::Long(99);
  };
  handlers_["Read"] = [](const RecordedCall& call, ScriptValue& result) {
    result.value = call.arguments.at(0);
  };
  // The argument entry names the local; reading it after Bump sees 99.
  handlers_["Both"] = [](const RecordedCall&, ScriptValue& result) {
    TopFrame().locals[0].value = Variant::Long(42);
    result.value = ScriptGetArgument(0);
  };
  RunText(u"LOCAL n\r\nLOCAL r\r\nSET r = Both(n)");
  EXPECT_EQ(Local(u"r"), Variant::Long(42));
}

}  // namespace
}  // namespace kiv
