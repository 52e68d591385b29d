#include "data/script_link.h"

#include <gtest/gtest.h>

#include "core/symbol_table.h"
#include "data/data_hooks.h"
#include "data/fixed_identifiers.h"

namespace kiv {
namespace {

class ScriptLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SymbolTableReset();
    RegisterScriptIdentifiers();
    dataHooks.Reset();
  }
  void TearDown() override { dataHooks.Reset(); }

  static ScriptToken T(std::uint8_t kind, Variant value = Variant()) { return {kind, std::move(value)}; }
  static ScriptToken Sym(std::uint8_t kind, const char16_t* name) {
    return T(kind, Variant::Long(SymbolIntern(name)));
  }
  static ScriptToken Str(const char16_t* text) { return T(kTokenString, Variant::Text(text)); }
};

TEST_F(ScriptLinkTest, BranchesJumpToTheNextBranchOfTheirLevel) {
  // 0 IF, 1 line, 2 IF, 3 ELSE, 4 ENDIF, 5 ELSEIF, 6 ELSE, 7 ENDIF
  const std::uint8_t kinds[] = {3, 0, 3, 5, 6, 4, 5, 6};
  Script script;
  for (std::uint8_t kind : kinds) {
    ScriptStatement s;
    s.kind = kind;
    script.statements.push_back(s);
  }
  LinkScript(script, false);
  const std::int32_t expected[] = {5, -1, 3, 4, -1, 6, 7, -1};
  for (std::size_t i = 0; i < script.statements.size(); ++i)
    EXPECT_EQ(script.statements[i].next, expected[i]) << i;
}

TEST_F(ScriptLinkTest, KeywordCallsCollapse) {
  const struct {
    const char16_t* call;
    const char16_t* word;
    bool loose;
    std::int32_t keyword;  // -1: left as a call
  } cases[] = {
      {u"Actor", u"main", false, 0},    {u"Actor", u"relate", false, 1}, {u"Actor", u"this", false, 2},
      {u"Field", u"relate", false, 3},  {u"Field", u"this", false, 4},   {u"Field", u"main", false, -1},
      {u"Actor", u" This ", false, -1}, {u"Actor", u" This ", true, 2},  {u"Char", u"this", false, -1},
  };
  for (const auto& c : cases) {
    dataHooks.LooseNameMatching = [&] { return c.loose; };
    Script script;
    ScriptStatement s;
    s.tokens = {T(kTokenCallStart), Str(c.word), Sym(kTokenCall, c.call), Sym(kTokenSymbol, u"X")};
    script.statements.push_back(s);
    LinkScript(script, true);
    const auto& tokens = script.statements[0].tokens;
    if (c.keyword < 0) {
      EXPECT_EQ(tokens.size(), 4u);
    } else {
      ASSERT_EQ(tokens.size(), 2u);
      EXPECT_EQ(tokens[0].kind, kTokenKeyword);
      EXPECT_EQ(tokens[0].value, Variant::Long(c.keyword));
    }
  }
}

TEST_F(ScriptLinkTest, NamesBindToLocalsFirstThenGlobals) {
  const std::int32_t shared = SymbolIntern(u"shared");
  const std::int32_t global = SymbolIntern(u"onlyGlobal");
  dataHooks.FindGlobalName = [&](std::int32_t symbol, std::uint8_t& kind, std::int32_t& index) {
    if (symbol != shared && symbol != global) return false;
    kind = kTokenSwitch;
    index = 7;
    return true;
  };
  Script script;
  script.frameTemplate.statics = {{SymbolIntern(u"st"), Variant()}};
  script.frameTemplate.locals = {{SymbolIntern(u"other"), Variant()}, {shared, Variant()}};
  ScriptStatement s;
  s.tokens = {Sym(kTokenSymbol, u"shared"),  Sym(kTokenSymbol, u"onlyGlobal"), Sym(kTokenSymbol, u"st"),
              Sym(kTokenSymbol, u"unknown"), Sym(kTokenCall, u"Kill"),         Sym(kTokenSymbol, u"shared")};
  script.statements.push_back(s);
  LinkScript(script, true);
  const auto& t = script.statements[0].tokens;
  EXPECT_EQ(t[0].kind, kTokenLocal);
  EXPECT_EQ(t[0].value, Variant::Long(1));
  EXPECT_EQ(t[1].kind, kTokenSwitch);
  EXPECT_EQ(t[1].value, Variant::Long(7));
  EXPECT_EQ(t[2].kind, kTokenStatic);
  EXPECT_EQ(t[3].kind, kTokenSymbol);
  EXPECT_EQ(t[5].kind, kTokenSymbol);  // a member name right after a call stays a name
}

}  // namespace
}  // namespace kiv
