#include "data/script_codec.h"

#include <gtest/gtest.h>

#include "core/data_buffer.h"
#include "core/error.h"
#include "core/random.h"
#include "core/symbol_table.h"
#include "data/data_hooks.h"
#include "data/fixed_identifiers.h"
#include "support/script_writer.h"

namespace kiv {
namespace {

using test::ScriptFixture;
using test::ScriptStatementFixture;
using test::ScriptTokenFixture;

constexpr std::int32_t kSentinel = 0x5A5A5A5A;

class ScriptCodecTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SymbolTableReset();
    RegisterScriptIdentifiers();
    scriptTable.Reset();
    dataHooks.Reset();
    RandomSeed(7);
  }
  void TearDown() override {
    dataHooks.Reset();
    scriptTable.Reset();
  }

  // Reads the fixture followed by a sentinel and checks that the reader stops
  // exactly at the sentinel.
  Script Read(const ScriptFixture& fixture, bool link = false, std::uint8_t defaultRunOnce = 0,
              bool registerScript = false) {
    ByteList bytes = test::ScriptFixtureBytes(fixture);
    std::int32_t end = static_cast<std::int32_t>(bytes.size());
    BufferWriteLong(bytes, kSentinel, end);
    std::int32_t offset = 0;
    Script script;
    ReadScript(bytes, offset, script, fixture.shortForm, link, defaultRunOnce, registerScript);
    EXPECT_EQ(BufferReadLong(bytes, offset), kSentinel);
    return script;
  }

  static ScriptTokenFixture Token(std::uint8_t kind, Variant value = Variant()) {
    return {kind, std::move(value), {}};
  }
  static ScriptTokenFixture Name(std::uint8_t kind, const char16_t* name) {
    return Token(kind, Variant::Text(name));
  }
};

ScriptFixture RichShortScript() {
  ScriptFixture f;
  f.text = u"LOCAL a\r\nIF a = 1\r\nSay \"hi\"\r\nENDIF";
  f.header = u"IF Trigger.Param1 = 2";
  f.footer = u"ENDIF";
  IdFill(f.id, 0x31);
  f.runOnce = 1;
  f.locals = {{u"a", Variant::Long(0)}, {u"b", Variant::Text(u"x")}};
  f.statics = {{u"s", Variant::Double(2.5)}};
  f.hasRun = 1;
  f.hasStatements = true;
  ScriptStatementFixture line;
  line.sourceLine = 2;
  line.node = 3;
  line.kind = 3;
  line.tokens = {
      {2, Variant::Text(u"a"), {}},  // bound to local 0 when linked
      {0, Variant::Long(1), {}},
      {6, Variant::Byte('='), {}},
      {7, Variant(), {}},
      {4, Variant(), {}},
      {1, Variant::Text(u"hi"), {}},
      {9, Variant(), {}},
      {0, Variant::Double(0.25), {}},
      {5, Variant::Text(u"Custom.Say"), {}},
      {17, Variant::Long(2), {}},
      {3, Variant(), {}},
      {8, Variant(), {}},
  };
  ScriptStatementFixture endif;
  endif.sourceLine = 3;
  endif.kind = 6;
  f.statements = {line, endif};
  return f;
}

TEST_F(ScriptCodecTest, ShortFormWritesBackByteForByte) {
  const ScriptFixture fixture = RichShortScript();
  const ByteList original = test::ScriptFixtureBytes(fixture);
  for (bool link : {false, true}) {
    std::int32_t offset = 0;
    Script script;
    ReadScript(original, offset, script, true, link, 0, false);
    ByteList written;
    std::int32_t at = 0;
    SerializeScript(written, at, script, true);
    written.resize(static_cast<std::size_t>(at));
    EXPECT_EQ(written, original) << "link " << link;
  }
}

TEST_F(ScriptCodecTest, ReadsTheFieldsOfTheCurrentFormat) {
  const Script script = Read(RichShortScript(), true);
  EXPECT_EQ(script.header, u"IF Trigger.Param1 = 2");
  EXPECT_EQ(script.footer, u"ENDIF");
  EXPECT_EQ(script.id.bytes[0], 0x31);
  EXPECT_EQ(script.runOnce, 1);
  EXPECT_EQ(script.hasRun, 1);
  EXPECT_TRUE(script.hasStatements);
  EXPECT_FALSE(script.recompile);
  ASSERT_EQ(script.statements.size(), 2u);
  const auto& tokens = script.statements[0].tokens;
  EXPECT_EQ(tokens[0].kind, kTokenLocal);  // "a" is local 0
  EXPECT_EQ(tokens[0].value, Variant::Long(0));
  EXPECT_EQ(tokens[8].value, Variant::Long(SymbolIntern(u"Custom.Say")));
  EXPECT_EQ(tokens[2].value, Variant::Byte('='));
  EXPECT_EQ(script.statements[0].next, 1);  // the IF jumps to its ENDIF
  EXPECT_EQ(script.frameTemplate.statics[0].value, Variant::Double(2.5));
  EXPECT_EQ(script.index, -1);
}

TEST_F(ScriptCodecTest, RefusesToWriteTheLongFormOrUnknownVariables) {
  Script script = Read(RichShortScript(), true);
  ByteList out;
  std::int32_t offset = 0;
  try {
    SerializeScript(out, offset, script, false);
    FAIL();
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), -1);
    EXPECT_STREQ(e.what(), "Trying to save full script within engine.");
  }
  const struct {
    std::uint8_t kind;
    std::int32_t index;
  } bad[] = {{kTokenLocal, 5}, {kTokenStatic, -1}, {kTokenGlobalVariable, 0}, {18, 0}, {200, 0}};
  for (const auto& b : bad) {
    Script copy = script;
    copy.statements[0].tokens[0] = {b.kind, Variant::Long(b.index)};
    offset = 0;
    try {
      SerializeScript(out, offset, copy, true);
      FAIL() << int(b.kind);
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), -1);
      EXPECT_STREQ(e.what(), "Invalid PreVar.");
    }
  }
}

TEST_F(ScriptCodecTest, ConditionAndHeaderGates) {
  ScriptFixture f;
  f.shortForm = false;
  f.version = 100012;
  f.condition = u"";
  Script s = Read(f);
  EXPECT_EQ(s.header, u"");
  EXPECT_EQ(s.footer, u"");
  f.condition = u"a = 1";
  s = Read(f);
  EXPECT_EQ(s.header, u"IF a = 1");
  EXPECT_EQ(s.footer, u"ENDIF");
  f.version = 100013;
  f.header = u"H";
  f.footer = u"F";
  s = Read(f);
  EXPECT_EQ(s.header, u"H");
  EXPECT_EQ(s.footer, u"F");
  f.version = 100011;
  s = Read(f);
  EXPECT_EQ(s.header, u"");
}

TEST_F(ScriptCodecTest, PassesOverNodePagesOfEveryLayout) {
  test::ScriptNodeFixture node;
  node.x = 10;
  node.y = 20;
  node.text1 = u"t1";
  node.lines = {u"l1", u"l2"};
  node.links = {4, 5, 6};
  node.page = 1;
  node.pageText = u"p";
  node.extra = 9;
  for (std::int32_t version : {100001, 100004, 100005, 100006, 100008, 100009, 100018}) {
    ScriptFixture f;
    f.shortForm = false;
    f.version = version;
    f.nodePages = {{node, node}, {node}};
    const Script s = Read(f);
    EXPECT_TRUE(s.nodePages.empty()) << version;
  }
}

TEST_F(ScriptCodecTest, OlderFormatsTakeDefaults) {
  ScriptFixture f;
  f.shortForm = false;
  f.version = 100015;
  f.skippedLast = 2;
  ScriptStatementFixture statement;
  statement.tokens = {Name(2, u"Kill")};
  f.statements = {statement};
  // A long-form script below 100018 is compiled from its text; the stored block is passed over.
  int compiled = 0;
  dataHooks.CompileScript = [&](Script& script) {
    ++compiled;
    script.statements.resize(1);
    script.recompile = false;
  };
  Script s = Read(f, false, 1);
  EXPECT_EQ(compiled, 1);
  EXPECT_TRUE(s.hasStatements);
  EXPECT_EQ(s.runOnce, 1);        // the loader's default
  EXPECT_FALSE(IdIsEmpty(s.id));  // a new random identifier

  dataHooks.Reset();
  s = Read(f, false, 1);
  EXPECT_FALSE(s.hasStatements);
  EXPECT_EQ(s.runOnce, 0);  // no statements: never run-once

  f.version = 100016;
  f.runOnce = 0;
  s = Read(f, false, 1);
  EXPECT_EQ(s.runOnce, 0);

  f.version = 100017;
  IdFill(f.id, 0x44);
  dataHooks.CompileScript = [&](Script& script) { script.statements.resize(2); };
  s = Read(f);
  EXPECT_EQ(s.id.bytes[15], 0x44);
  EXPECT_EQ(s.statements.size(), 2u);

  // The current format reads its stored block.
  f.version = 100018;
  s = Read(f);
  ASSERT_EQ(s.statements.size(), 1u);
  EXPECT_EQ(s.statements[0].tokens[0].value, Variant::Long(SymbolIntern(u"Kill")));
}

TEST_F(ScriptCodecTest, OldVariablesAreTextsAndNumbersBecomeDoubles) {
  ScriptFixture f;
  f.shortForm = false;
  f.version = 100003;
  f.locals = {{u"n", Variant::Text(u" -1.5")}, {u"t", Variant::Text(u"abc")}, {u"e", Variant::Text(u"1e+5")}};
  f.statics = {{u"s", Variant::Text(u"12")}};
  Script s = Read(f);
  EXPECT_TRUE(s.recompile);
  ASSERT_EQ(s.frameTemplate.locals.size(), 3u);
  EXPECT_EQ(s.frameTemplate.locals[0].symbol, SymbolIntern(u"n"));
  EXPECT_EQ(s.frameTemplate.locals[0].value, Variant::Double(-1.5));
  EXPECT_EQ(s.frameTemplate.locals[1].value, Variant::Text(u"abc"));
  EXPECT_EQ(s.frameTemplate.locals[2].value, Variant::Double(1.0));  // conversion stops at the exponent
  EXPECT_EQ(s.frameTemplate.statics[0].value, Variant::Double(12.0));

  f.version = 100001;  // no variables at all
  s = Read(f);
  EXPECT_TRUE(s.frameTemplate.locals.empty());
}

TEST_F(ScriptCodecTest, RawTokenValuesMustBeNumbers) {
  for (std::uint16_t type : {std::uint16_t{8}, std::uint16_t{9}, std::uint16_t{13}, std::uint16_t{0x2003},
                             std::uint16_t{14}, std::uint16_t{99}}) {
    for (std::uint8_t kind : {0, 6, 17}) {
      ScriptFixture f;
      ScriptStatementFixture statement;
      std::array<std::uint8_t, 16> body{};
      body[0] = static_cast<std::uint8_t>(type);
      body[1] = static_cast<std::uint8_t>(type >> 8);
      statement.tokens = {{kind, Variant(), body}};
      f.statements = {statement};
      try {
        Read(f);
        FAIL() << type;
      } catch (const KivError& e) {
        EXPECT_EQ(e.Number(), -1);
        EXPECT_STREQ(e.what(), "Unsupported variant to read.");
      }
    }
  }
}

TEST_F(ScriptCodecTest, UnknownStoredTokenKindsAreRefused) {
  for (std::uint8_t kind : {10, 16, 18, 255}) {
    ScriptFixture f;
    ScriptStatementFixture statement;
    statement.tokens = {Token(kind)};
    f.statements = {statement};
    EXPECT_THROW(Read(f), KivError) << int(kind);
  }
}

TEST_F(ScriptCodecTest, SharedStatementsReadAsAnEmptyScript) {
  ScriptFixture f;
  f.hasStatements = true;
  f.sharedStatements = 3;
  f.sharedStatements2 = 4;
  const Script s = Read(f);  // no compiled block follows
  EXPECT_FALSE(s.hasStatements);
  EXPECT_TRUE(s.statements.empty());
  EXPECT_EQ(s.sharedStatements, -1);
}

TEST_F(ScriptCodecTest, CountsBeyondTheDataAreErrorsNotAllocations) {
  const ByteList good = test::ScriptFixtureBytes(RichShortScript());
  // Every truncation fails cleanly.
  for (std::size_t size = 0; size < good.size(); ++size) {
    ByteList cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
    std::int32_t offset = 0;
    Script s;
    EXPECT_THROW(ReadScript(cut, offset, s, true, true, 0, false), KivError) << size;
  }
  // A huge statement count.
  ScriptFixture f;
  ByteList bytes = test::ScriptFixtureBytes(f);
  std::int32_t at = static_cast<std::int32_t>(bytes.size()) - 4;
  BufferWriteLong(bytes, 0x7FFFFFF0, at);
  std::int32_t offset = 0;
  Script s;
  EXPECT_THROW(ReadScript(bytes, offset, s, true, false, 0, false), KivError);
}

TEST_F(ScriptCodecTest, RegistersScriptsWithStatementsOnly) {
  Script with = Read(RichShortScript(), true, 0, true);
  EXPECT_EQ(with.index, 0);
  ASSERT_EQ(scriptTable.scripts.size(), 1u);
  EXPECT_EQ(scriptTable.scripts[0].index, -1);  // the copy keeps the index it had
  Script without = Read(ScriptFixture(), true, 0, true);
  EXPECT_EQ(without.index, -1);
  EXPECT_EQ(scriptTable.scripts.size(), 1u);
  Script second = Read(RichShortScript(), true, 0, true);
  EXPECT_EQ(second.index, 1);
}

TEST_F(ScriptCodecTest, SavingARegisteredScriptTakesTheLiveVariables) {
  Script script = Read(RichShortScript(), true, 0, true);
  scriptTable.scripts[0].frameTemplate.statics[0].value = Variant::Long(42);
  ByteList out;
  std::int32_t offset = 0;
  SerializeScript(out, offset, script, true);
  std::int32_t at = 0;
  Script back;
  ReadScript(out, at, back, true, false, 0, false);
  EXPECT_EQ(back.frameTemplate.statics[0].value, Variant::Long(42));
  EXPECT_EQ(at, offset);
}

}  // namespace
}  // namespace kiv
