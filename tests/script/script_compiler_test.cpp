#include "script/script_compiler.h"

#include <gtest/gtest.h>

#include <string>

#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "data/fixed_identifiers.h"
#include "data/script_codec.h"
#include "script/script_engine_setup.h"
#include "script/script_value_ops.h"
#include "support/script_writer.h"

namespace kiv {
namespace {

class ScriptCompilerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SymbolTableReset();
    RegisterScriptIdentifiers();
  }
};

// Tokens as one line: numbers, "texts", symbol names, neg, ( for a call start,
// call:Name, operator keys, @ for an apply marker, SET, "," and kw:N.
std::string Render(const ScriptStatement& statement) {
  std::string out;
  for (const ScriptToken& token : statement.tokens) {
    if (!out.empty()) out += ' ';
    switch (token.kind) {
      case kTokenNumber:
        out += token.value.IsEmpty() ? "empty" : Utf16ToUtf8(VarToText(token.value));
        break;
      case kTokenString:
        out += '"' + Utf16ToUtf8(token.value.AsText()) + '"';
        break;
      case kTokenSymbol:
        out += Utf16ToUtf8(SymbolName(token.value.AsLong()));
        break;
      case kTokenNegate:
        out += "neg";
        break;
      case kTokenCallStart:
        out += "(";
        break;
      case kTokenCall:
        out += "call:" + Utf16ToUtf8(SymbolName(token.value.AsLong()));
        break;
      case kTokenOperator:
        out += static_cast<char>(token.value.RawInt());
        break;
      case kTokenApply:
        out += '@';
        break;
      case kTokenSetMarker:
        out += "SET";
        break;
      case kTokenSeparator:
        out += ',';
        break;
      default:
        out += "kind" + std::to_string(token.kind);
        break;
    }
  }
  return out;
}

std::string RenderExpression(const char16_t* text) {
  ScriptStatement statement;
  TokenizeExpression(statement, text);
  return Render(statement);
}

TEST_F(ScriptCompilerTest, ExpressionCorpus) {
  const std::pair<const char16_t*, const char*> corpus[] = {
      {u"a + b * c", "a + b * c @ @"},
      {u"(a + b) * c", "a + b @ * c @"},
      {u"a - b - c", "a - b @ - c @"},
      {u"a ^ b \\ c", "a ^ b \\ c @ @"},
      {u"a \\ b ^ c", "a \\ b @ ^ c @"},
      {u"7 * 3 \\ 2", "7 * 3 \\ 2 @ @"},
      {u"-2 ^ 2", "2 neg ^ 2 @"},
      {u"a * -b", "a * b neg @"},
      {u"Not a = b", "N a = b @ @"},
      {u"a <= b", "a l b @"},
      {u"a >= b", "a g b @"},
      {u"a <> b", "a u b @"},
      {u"a and b OR c", "a A b @ O c @"},
      {u"a Mod b + c", "a M b @ + c @"},
      {u"a & b = c", "a & b @ = c @"},
      {u"Android + 1", "Android + 1 @"},
      {u"1.5 + .5", "1.5 + 0.5 @"},
      {u"Cursor.X", "Cursor.X"},
      {u"f(a, b)", "( , a b call:f"},
      {u"f()", "( call:f"},
      {u"Math.Add(1, 2 * 3)", "( , 1 2 * 3 @ call:Math.Add"},
      {u"f(g(1), \"x, y\")", "( , ( 1 call:g \"x, y\" call:f"},
      {u"Actor(\"main\").X", "( \"main\" call:Actor X"},
      {u"\"it\" & \"s\"", "\"it\" & \"s\" @"},
      {u"a+ b", "a+.b"},
      {u"f(1", "("},
      {u"\"open", "\"open"},
  };
  for (const auto& [text, expected] : corpus) {
    EXPECT_EQ(RenderExpression(text), expected) << Utf16ToUtf8(text);
  }
}

TEST_F(ScriptCompilerTest, CursorXIsTheFixedSymbol) {
  ScriptStatement statement;
  TokenizeExpression(statement, u"Cursor.X");
  ASSERT_EQ(statement.tokens.size(), 1u);
  EXPECT_EQ(statement.tokens[0].value.AsLong(), 137);
}

TEST_F(ScriptCompilerTest, StatementKindsAndLines) {
  Script script;
  script.recompile = true;
  script.text =
      u"' a comment\r\nLOCAL n\r\nSTATIC s\r\nNODE 4\r\n:top\r\nSET n = n + 1\r\nIF n < 10\r\n  GOTO top\r\n"
      u"ELSEIF n = 10\r\nLERP 500\r\nELSE\r\nShow\r\nENDIF\r\nGOTO nowhere";
  CompileScript(script);
  ASSERT_EQ(script.statements.size(), 9u);
  const std::uint8_t kinds[] = {kStatementSet,    kStatementIf,    kStatementGoto,
                                kStatementElseIf, kStatementLerp,  kStatementElse,
                                kStatementLine,   kStatementEndIf, kStatementGoto};
  const std::int32_t lines[] = {5, 6, 7, 8, 9, 10, 11, 12, 13};
  for (std::size_t i = 0; i < 9; ++i) {
    EXPECT_EQ(script.statements[i].kind, kinds[i]) << i;
    EXPECT_EQ(script.statements[i].sourceLine, lines[i]) << i;
    EXPECT_EQ(script.statements[i].node, 4) << i;
  }
  EXPECT_EQ(Render(script.statements[0]), "n + 1 @ SET n");
  EXPECT_EQ(Render(script.statements[1]), "n < 10 @");
  EXPECT_EQ(Render(script.statements[2]), "0");  // the label :top is statement 0
  EXPECT_EQ(Render(script.statements[3]), "n = 10 @");
  EXPECT_EQ(Render(script.statements[4]), "500");
  EXPECT_EQ(Render(script.statements[8]), "empty");  // no such label
  ASSERT_EQ(script.frameTemplate.locals.size(), 1u);
  EXPECT_EQ(SymbolName(script.frameTemplate.locals[0].symbol), u"n");
  EXPECT_EQ(script.frameTemplate.locals[0].value, Variant::Long(0));
  ASSERT_EQ(script.frameTemplate.statics.size(), 1u);
  EXPECT_EQ(SymbolName(script.frameTemplate.statics[0].symbol), u"s");
  EXPECT_FALSE(script.recompile);
  EXPECT_TRUE(script.hasStatements);
}

TEST_F(ScriptCompilerTest, LabelOnlyScriptGivesOneGotoToZero) {
  Script script;
  script.text = u"' comment\r\n:top\r\nGOTO top";
  CompileScript(script);
  ASSERT_EQ(script.statements.size(), 1u);
  EXPECT_EQ(script.statements[0].kind, kStatementGoto);
  EXPECT_EQ(script.statements[0].tokens[0].value, Variant::Long(0));
}

// A label after the last statement, alone or followed only by lines that make
// no statement, gets the statement count as its index.
TEST_F(ScriptCompilerTest, LabelAfterTheLastStatementGetsTheStatementCount) {
  const struct {
    const char16_t* text;
    std::size_t gotoIndex;
    std::size_t statements;
  } cases[] = {
      {u"GOTO done\r\nShow\r\n:done", 0, 2},
      {u"IF 1 = 1\r\nGOTO done\r\nENDIF\r\nShow\r\n:done\r\n' nothing after this\r\n\r\nLOCAL z", 1, 4},
      {u"GOTO done\r\n:done\r\nNODE 3", 0, 1},
  };
  for (const auto& c : cases) {
    Script script;
    script.text = c.text;
    CompileScript(script);
    ASSERT_EQ(script.statements.size(), c.statements) << Utf16ToUtf8(c.text);
    const ScriptStatement& jump = script.statements[c.gotoIndex];
    EXPECT_EQ(jump.kind, kStatementGoto);
    EXPECT_EQ(jump.tokens.at(0).value, Variant::Long(static_cast<std::int32_t>(c.statements)))
        << Utf16ToUtf8(c.text);
  }
}

TEST_F(ScriptCompilerTest, SetTakesTheFirstEqualsOutsideParentheses) {
  Script script;
  script.text = u"SET x = 5\r\nSET t(1, 2) = y + 1\r\nSET s = \"a = b\"";
  CompileScript(script);
  ASSERT_EQ(script.statements.size(), 3u);
  EXPECT_EQ(Render(script.statements[0]), "5 SET x");
  EXPECT_EQ(Render(script.statements[1]), "y + 1 @ SET ( , 1 2 call:t");
  EXPECT_EQ(Render(script.statements[2]), "\"a = b\" SET s");
}

TEST_F(ScriptCompilerTest, HeaderAndFooterLines) {
  Script script;
  script.header = u"IF a = 1";
  script.footer = u"ENDIF";
  script.text = u"Show\r\nHide";
  CompileScript(script);
  ASSERT_EQ(script.statements.size(), 4u);
  EXPECT_EQ(script.statements[0].sourceLine, -1);
  EXPECT_EQ(script.statements[1].sourceLine, 0);
  EXPECT_EQ(script.statements[2].sourceLine, 1);
  EXPECT_EQ(script.statements[3].sourceLine, 2);

  Script empty;
  empty.header = u"IF a = 1";
  empty.footer = u"ENDIF";
  CompileScript(empty);
  EXPECT_TRUE(empty.statements.empty());
}

TEST_F(ScriptCompilerTest, UnreadableTextEmptiesTheStatementsAndKeepsVariables) {
  const char16_t* texts[] = {u"LOCAL a\r\nShow\r\nNODE x\r\nLOCAL b",
                             u"LOCAL a\r\nShow\r\nSET nothing\r\nLOCAL b"};
  for (const char16_t* text : texts) {
    Script script;
    script.recompile = true;
    script.text = text;
    CompileScript(script);
    EXPECT_TRUE(script.statements.empty());
    EXPECT_FALSE(script.hasStatements);
    EXPECT_TRUE(script.recompile);
    ASSERT_EQ(script.frameTemplate.locals.size(), 1u);  // read before the fault
  }
}

}  // namespace
}  // namespace kiv

namespace kiv {
namespace {

// Scripts stored as text only are compiled and linked while they are read.
TEST_F(ScriptCompilerTest, ReadScriptCompilesOldTextOnlyScripts) {
  InstallScriptDataHooks();
  test::ScriptFixture fixture;
  fixture.version = 100003;
  fixture.shortForm = false;
  fixture.text = u"LOCAL n\r\nIF n = 0\r\nSET n = Actor(\"this\").X\r\nENDIF";
  const ByteList bytes = test::ScriptFixtureBytes(fixture);
  std::int32_t offset = 0;
  Script script;
  ReadScript(bytes, offset, script, false, true, 0, true);
  ASSERT_EQ(script.statements.size(), 3u);
  EXPECT_EQ(script.statements[0].next, 2);
  EXPECT_EQ(script.statements[1].tokens[0].kind, kTokenKeyword);
  EXPECT_EQ(script.statements[1].tokens.back().kind, kTokenLocal);
  EXPECT_GE(script.index, 0);
}

}  // namespace
}  // namespace kiv
