// Structure functions run from scripts: comparisons, logic, choosing,
// switching, calling by a computed name and evaluating script text.
#include "data/script_record.h"
#include "internal_commands_fixture.h"
#include "script/waits.h"

namespace kiv::test {
namespace {

Variant Text(const char16_t* text) { return Variant::Text(text); }
Variant Long(std::int32_t v) { return Variant::Long(v); }

struct StructureCase {
  const char16_t* expression;
  Variant result;
  const char* error = nullptr;
};

class StructureFunctionsTest : public InternalCommandsTest {
 protected:
  // Each expression returned by a script: its value, or the error it raises.
  void ExpectCases(std::initializer_list<StructureCase> cases) {
    for (const StructureCase& c : cases) {
      SCOPED_TRACE(Utf16ToUtf8(c.expression));
      const std::size_t before = ErrorLog().size();
      const Variant result = RunScript(std::u16string(u"Return(") + c.expression + u")");
      if (c.error != nullptr) {
        EXPECT_EQ(LastError(), c.error);
        EXPECT_GT(ErrorLog().size(), before);
      } else {
        EXPECT_EQ(ErrorLog().size(), before) << LastError();
        EXPECT_EQ(result, c.result);
      }
    }
  }
};

TEST_F(StructureFunctionsTest, ComparisonsLogicChoicesAndSwitches) {
  ExpectCases({
      {u"Structure.IIf(1, \"a\", \"b\")", Text(u"a")},
      {u"Structure.IfSwitch(\"no\", \"a\", \"b\")", Text(u"b")},
      {u"Structure.IIf(\"maybe\", 1, 2)", {}, "Boolean \"maybe\" is invalid."},
      // numeric-looking values compare as numbers once a text is involved
      {u"Structure.Equal(\"5\", 5.0)", Long(1)},
      {u"Structure.Equal(\"5\", \"5.0\")", Long(1)},
      {u"Structure.Equal(\" A\", \"a\")", Long(0)},
      {u"Structure.NotEqual(\" A\", \"a\")", Long(1)},
      {u"Structure.GreaterThan(\"10\", 9)", Long(1)},
      {u"Structure.GreaterThan(\"b\", \"a\")", Long(1)},
      {u"Structure.LessThan(\"B\", \"a\")", Long(1)},
      {u"Structure.GreaterEqual(3, 3)", Long(1)},
      {u"Structure.LessEqual(4, 3)", Long(0)},
      {u"Structure.And(\"yes\", 1)", Long(1)},
      {u"Structure.And(\"yes\", \"off\")", Long(0)},
      {u"Structure.Or(0, \"on\")", Long(1)},
      {u"Structure.Not(\"\")", Long(1)},
      {u"Structure.Or(0, \"perhaps\")", {}, "Boolean \"perhaps\" is invalid."},
      // choices count from 1; the index is rounded once it is in range
      {u"Structure.Choose(2, \"a\", \"b\", \"c\")", Text(u"b")},
      {u"Structure.Choose(1.4, \"a\", \"b\")", Text(u"a")},
      {u"Structure.Choose(2, Collection.Make(7, 8))", Long(8)},
      {u"Structure.Choose(0, \"x\")", {}, "The index handle must be between 1 and 1."},
      {u"Structure.Choose(3, \"x\", \"y\")", {}, "The index handle must be between 1 and 2."},
      // the first true condition's value; later conditions are not converted
      {u"Structure.Switch(0, \"a\", 1, \"b\")", Text(u"b")},
      {u"Structure.Switch(\"no\", \"a\", \"yes\", \"b\", \"bogus\", \"c\")", Text(u"b")},
      {u"Structure.Switch(0, \"a\")", Variant()},
      {u"Structure.Switch(Collection.Make(0, 1, 1, 2))", Long(2)},
      {u"Structure.Switch(0, \"a\", 1)", {}, "There must be an even number of parameters."},
      {u"Structure.Switch(\"bogus\", \"a\")", {}, "Boolean \"bogus\" is invalid."},
  });
}

TEST_F(StructureFunctionsTest, LooseComparisonTrimsAndFoldsTexts) {
  SetLooseNameMatching(true);
  EXPECT_EQ(RunScript(u"Return(Structure.Equal(\" A\", \"a\"))"), Long(1));
  EXPECT_EQ(RunScript(u"Return(Structure.LessThan(\"B\", \"a\"))"), Long(0));
  SetLooseNameMatching(false);
}

// The chosen entry passes whole, so a reference stays an object.
TEST_F(StructureFunctionsTest, InlineIfPassesAReferenceOnWhole) {
  PushCallFrame(CallFrame(), kiv::Script());
  CallFrame& frame = TopFrame();
  frame.valueStack = {ScriptValue{kValuePlain, Long(1), 0}, ScriptValue{kObjectCharacter, Long(3), 2},
                      ScriptValue{kValuePlain, Long(0), 0}, ScriptValue{}};
  frame.stackBase = 0;
  frame.valueStackTop = 2;
  ScriptValue object;
  ScriptValue result;
  ScriptCallCommand(SymbolIntern(u"Structure.IIf"), object, 2, result, kModeRead, Variant(), true);
  EXPECT_EQ(result.kind, kObjectCharacter);
  EXPECT_EQ(result.value, Long(3));
  EXPECT_EQ(result.mapIndex, 2);
  ScriptValue none;
  EXPECT_EQ(Call(u"Structure.Switch", {}).value, none.value);
}

TEST_F(StructureFunctionsTest, CallByNameHandsOnTheLaterArgumentsAndDropsErrors) {
  EXPECT_EQ(RunScript(u"Return(Structure.CallByName(\"Text.Left\", \"abcdef\", 2))"), Text(u"ab"));
  EXPECT_EQ(RunScript(u"Return(CallByName(\"Math.Max\", 3, 8))"), Long(8));
  const std::size_t before = ErrorLog().size();
  EXPECT_EQ(RunScript(u"Return(\"[\" & CallByName(\"Text.Left\", \"abc\", -1) & \"]\")"), Text(u"[]"));
  EXPECT_EQ(RunScript(u"Return(\"[\" & CallByName(\"NoSuchName\") & \"]\")"), Text(u"[]"));
  EXPECT_EQ(ErrorLog().size(), before) << LastError();
  // Without further arguments a computed property name is read and assigned.
  RunScript(u"SET CallByName(\"Cursor.AccelerometerY\") = 2.5");
  EXPECT_EQ(RunScript(u"Return(CallByName(\"Cursor.AccelerometerY\"))"), Variant::Single(2.5f));
  playerInputStates[0].accelerometerY = 0;
}

TEST_F(StructureFunctionsTest, EvaluateRunsTheTextInAFrameOfItsOwn) {
  const std::size_t scripts = scriptTable.scripts.size();
  EXPECT_EQ(RunScript(u"LOCAL n\r\nSET n = Structure.Evaluate(\"Return(2)\") + 1\r\nReturn(n)"), Long(3));
  EXPECT_EQ(scriptTable.scripts.size(), scripts + 2);  // the caller and the evaluated text
  // Several lines: each ends in CR LF; the text's locals are its own.
  EXPECT_EQ(
      RunScript(
          u"LOCAL a\r\nSET a = 1\r\nMark(Structure.Evaluate(\"LOCAL a\", \"SET a = 5\", \"Return(a)\"))\r\n"
          u"Return(a)"),
      Long(1));
  EXPECT_EQ(Marks(), std::vector<Variant>{Long(5)});
  EXPECT_EQ(scriptTable.scripts.back().text, u"LOCAL a\r\nSET a = 5\r\nReturn(a)\r\n");
  EXPECT_EQ(RunScript(u"Return(Structure.Evaluate(Collection.Make(\"Return(7)\")))"), Long(7));
  EXPECT_EQ(scriptEngine.callTop, -1);
}

TEST_F(StructureFunctionsTest, EvaluatedFailuresAreReportedInTheCallersTrigger) {
  GlobalVariable(u"deep", Text(u"Error(\"Deep\")"));
  EXPECT_EQ(ErrorOfScript(u"Mark(1)\r\nMark(Structure.Evaluate(deep))\r\nMark(2)"), "Deep");
  EXPECT_EQ(Marks(), std::vector<Variant>{Long(1)});
  const std::string log = ErrorLog();
  const std::size_t at = log.rfind("Error: Deep\r\n");
  ASSERT_NE(at, std::string::npos);
  EXPECT_NE(log.find("]: Error(\"Deep\")\r\n  in ", at), std::string::npos) << log.substr(at);
  EXPECT_NE(log.find("]: Mark(Structure.Evaluate(deep))\r\n  from ", at), std::string::npos)
      << log.substr(at);
  EXPECT_NE(log.find("  from ", at), std::string::npos) << log.substr(at);

  // Runaway evaluation meets the call stack's limit.
  GlobalVariable(u"again", Text(u"Return(Structure.Evaluate(again))"));
  EXPECT_EQ(ErrorOfScript(u"Return(Structure.Evaluate(again))"),
            "Trigger or custom event has executed itself recursively too many times.");
  EXPECT_EQ(scriptEngine.callTop, -1);

  // A wait could never resume.
  const std::size_t waits = waitingScripts.size();
  EXPECT_EQ(ErrorOfScript(u"Structure.Evaluate(\"Pause(10)\")"), "Evaluated script text cannot wait.");
  EXPECT_EQ(waitingScripts.size(), waits);
}

TEST_F(StructureFunctionsTest, EvaluatedTextTheCompilerCannotReadRunsNothing) {
  const std::size_t scripts = scriptTable.scripts.size();
  EXPECT_EQ(RunScript(u"Return(\"[\" & Structure.Evaluate(\"SET x\") & \"]\")"), Text(u"[]"));
  EXPECT_EQ(scriptTable.scripts.size(), scripts + 1);  // only the caller
}

}  // namespace
}  // namespace kiv::test
