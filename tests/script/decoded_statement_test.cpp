// Assignments to plain variables and IF tests run in a decoded form; these
// cases leave that form part way (another type, overflow, an operator it does
// not serve, a changed script) and must end as the general path ends.
#include <gtest/gtest.h>

#include "script/timed_changes.h"
#include "script_test_fixture.h"

namespace kiv {
namespace {

using test::ScriptEngineTest;

class DecodedStatementTest : public ScriptEngineTest {
 protected:
  void TearDown() override {
    timedChanges.clear();
    ScriptEngineTest::TearDown();
  }
};

struct ResultCase {
  const char16_t* text;
  Variant expected;  // the value of local r at the end
};

TEST_F(DecodedStatementTest, ResultsMatchTheGeneralPath) {
  const ResultCase cases[] = {
      // The counter leaves the Long range part way through the loop.
      {u"LOCAL r\r\nSET r = 2147483645\r\n:top\r\nSET r = r + 1\r\nIF r < 2147483649\r\nGOTO top\r\nENDIF",
       Variant::Double(2147483649.0)},
      {u"LOCAL r\r\nSET r = 7\r\nSET r = r / 2", Variant::Double(3.5)},
      {u"LOCAL r\r\nSET r = \"4\"\r\nSET r = r * 2", Variant::Double(8.0)},
      {u"LOCAL r\r\nSET r = 2.5\r\nSET r = r - 1", Variant::Double(1.5)},
      {u"LOCAL r\r\nSTATIC s\r\nSET s = 3\r\nSET s = s * s\r\nSET r = s", Variant::Long(9)},
      {u"LOCAL r\r\nLOCAL t\r\nSET t = \"ab\"\r\nSET r = t", Variant::Text(u"ab")},
      {u"LOCAL r\r\nSET r = 5\r\nSET r = r >= 5", Variant::Long(1)},
      // IF chains whose tests are decoded: the ELSEIF after a false test is tested.
      {u"LOCAL r\r\nLOCAL n\r\nSET n = 3\r\nIF n = 1\r\nSET r = 1\r\nELSEIF n = 3\r\nSET r = 3\r\n"
       u"ELSE\r\nSET r = 4\r\nENDIF",
       Variant::Long(3)},
      {u"LOCAL r\r\nLOCAL n\r\nSET n = 1\r\nIF n = 1\r\nSET r = 1\r\nELSEIF n = 1\r\nSET r = 3\r\nENDIF",
       Variant::Long(1)},
      {u"LOCAL r\r\nLOCAL n\r\nIF n = 1\r\nSET r = 1\r\nELSEIF n <> 0\r\nSET r = 3\r\n"
       u"ELSE\r\nSET r = 4\r\nENDIF",
       Variant::Long(4)},
      {u"LOCAL r\r\nSET r = 1\r\nIF r\r\nSET r = 2\r\nENDIF", Variant::Long(2)},
      {u"LOCAL r\r\nSET r = \"no\"\r\nIF r\r\nSET r = 2\r\nENDIF", Variant::Text(u"no")},
      {u"LOCAL r\r\nSET r = 1.5\r\nIF r > 1\r\nSET r = 2\r\nENDIF", Variant::Long(2)},
  };
  for (const ResultCase& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.text));
    EXPECT_TRUE(RunText(c.text).IsEmpty());
    EXPECT_EQ(Local(u"r"), c.expected);
  }
  EXPECT_EQ(ErrorLog(), "");
}

// Registered scripts are changed in place by other code, so a run never uses
// what an earlier run decoded.
TEST_F(DecodedStatementTest, ScriptChangedBetweenRunsIsDecodedAgain) {
  const std::int32_t script = Load(u"LOCAL r\r\nSET r = r + 1");
  EXPECT_TRUE(Run(script).IsEmpty());
  EXPECT_EQ(Local(u"r"), Variant::Long(1));

  std::vector<ScriptToken>& tokens =
      scriptTable.scripts[static_cast<std::size_t>(script)].statements[0].tokens;
  ASSERT_EQ(tokens.size(), 6u);
  tokens[2].value = Variant::Long(5);
  EXPECT_TRUE(Run(script).IsEmpty());
  EXPECT_EQ(Local(u"r"), Variant::Long(5));

  // A local index out of range fails as the general path reports it.
  tokens[5].value = Variant::Long(7);
  EXPECT_EQ(Run(script).Type(), kVarError);
  EXPECT_EQ(ErrorLog().rfind("Error: Subscript out of range\r\n  [2]: SET r = r + 1\r\n", 0), 0u)
      << ErrorLog();
}

// Assigning a local ends a timed change of the same symbol, as every assignment does.
TEST_F(DecodedStatementTest, LocalAssignmentEndsATimedChangeOfItsSymbol) {
  TimedChange change;
  change.code = SymbolIntern(u"n");
  change.end = Variant::Long(10);
  change.duration = 100;
  timedChanges.push_back(change);
  change.code = SymbolIntern(u"other");
  timedChanges.push_back(change);

  EXPECT_TRUE(RunText(u"LOCAL n\r\nSET n = n + 1").IsEmpty());
  ASSERT_EQ(timedChanges.size(), 1u);
  EXPECT_EQ(timedChanges[0].code, SymbolIntern(u"other"));
}

}  // namespace
}  // namespace kiv
