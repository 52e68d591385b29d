// Text functions run from scripts: cuts, searches, replacement, splits,
// padding, token counts, money and timer texts, and their failures.
#include "internal_commands_fixture.h"

namespace kiv::test {
namespace {

class TextFunctionsTest : public InternalCommandsTest {};

Variant Text(const char16_t* text) { return Variant::Text(text); }
Variant Long(std::int32_t v) { return Variant::Long(v); }

constexpr char kInvalidCall[] = "Invalid procedure call or argument";

struct TextCase {
  const char16_t* expression;
  Variant result;
  const char* error = nullptr;
};

TEST_F(TextFunctionsTest, EdgeCasesGiveTheirTextsOrErrors) {
  const TextCase cases[] = {
      {u"Text.Length(\"abc\")", Long(3)},
      {u"Text.Length(\"\")", Long(0)},
      // cuts
      {u"Text.Left(\"abcdef\", 2)", Text(u"ab")},
      {u"Text.Left(\"abc\", 9)", Text(u"abc")},
      {u"Text.Left(\"abc\", -1)", {}, kInvalidCall},
      {u"Text.Right(\"abcdef\", 2)", Text(u"ef")},
      {u"Text.Right(\"abc\", 9)", Text(u"abc")},
      {u"Text.Right(\"abc\", -1)", {}, kInvalidCall},
      {u"Text.Middle(\"abcdef\", 2, 3)", Text(u"bcd")},
      {u"Text.Middle(\"abcdef\", 5, 9)", Text(u"ef")},
      {u"Text.Middle(\"abcdef\", 9, 1)", Text(u"")},
      {u"Text.Middle(\"abcdef\", 0, 1)", {}, kInvalidCall},
      {u"Text.Middle(\"abcdef\", 1, -1)", {}, kInvalidCall},
      {u"Text.LeftCut(\"abcdef\", 2)", Text(u"cdef")},
      {u"Text.LeftCut(\"abcdef\", 6)", Text(u"")},
      {u"Text.RightCut(\"abcdef\", 2)", Text(u"abcd")},
      {u"Text.RightCut(\"abcdef\", 7)", Text(u"")},
      {u"Text.Cut(\"abcdef\", 1, 2)", Text(u"bcd")},
      {u"Text.Cut(\"abcdef\", 3, 3)", Text(u"")},
      {u"Text.Cut(\"abcdef\", 4, 4)", Text(u"")},
      {u"Text.LeftCut(\"abc\", -1)", {}, kInvalidCall},
      // case-blind tests and searches
      {u"Text.StartsWith(\"Hello\", \"hE\")", Long(1)},
      {u"Text.StartsWith(\"Hello\", \"\")", Long(1)},
      {u"Text.StartsWith(\"Hello\", \"lo\")", Long(0)},
      {u"Text.EndsWith(\"Hello\", \"LO\")", Long(1)},
      {u"Text.Contains(\"Hello\", \"ELL\")", Long(1)},
      {u"Text.Contains(\"Hello\", \"x\")", Long(0)},
      {u"Text.Search(\"abcabc\", \"B\", 1, \"no\")", Long(2)},
      {u"Text.Search(\"abcabc\", \"b\", 3, \"no\")", Long(5)},
      {u"Text.Search(\"abcabc\", \"b\", 6, \"no\")", Long(0)},
      {u"Text.Search(\"abcabc\", \"b\", -1, \"yes\")", Long(5)},
      {u"Text.Search(\"abcabc\", \"b\", 4, \"yes\")", Long(2)},
      {u"Text.Search(\"abcabc\", \"x\", -1, \"yes\")", Long(0)},
      {u"Text.Search(\"abcabc\", \"b\", 0, \"no\")", {}, kInvalidCall},
      // replacement ignores case; splits and token counts are exact
      {u"Text.Replace(\"aAbA\", \"a\", \"x\")", Text(u"xxbx")},
      {u"Text.Replace(\"aaaa\", \"aa\", \"a\")", Text(u"aa")},
      {u"Text.Replace(\"abc\", \"\", \"x\")", Text(u"abc")},
      {u"Text.Split(\"a,B,,c\", \",\")",
       Variant::Array(kVarString, {Text(u"a"), Text(u"B"), Text(u""), Text(u"c")})},
      {u"Text.Split(\"aXbxc\", \"x\")", Variant::Array(kVarString, {Text(u"aXb"), Text(u"c")})},
      {u"Text.Split(\"a,b\", \"\")", Variant::Array(kVarString, {Text(u"a,b")})},
      {u"Text.TokenCount(\"aaaa\", \"aa\")", Long(2)},
      {u"Text.TokenCount(\"aAaa\", \"aa\")", Long(1)},
      {u"Text.TokenCount(\"aaaa\", \"\")", Long(0)},
      {u"Text.Combine(\"ab\", 5)", Text(u"ab5")},
      // padding
      {u"Text.PadLeft(7, 0, 3)", Text(u"007")},
      {u"Text.PadRight(\"ab\", \"xyz\", 7)", Text(u"abxyzxy")},
      {u"Text.PadCenter(\"ab\", \"xyz\", 9)", Text(u"xyzabxyzx")},
      {u"Text.PadCenter(\"ab\", \"xyz\", 7)", Text(u"xyabxyz")},
      {u"Text.PadCenter(\"ab\", \"-\", 5)", Text(u"-ab--")},
      {u"Text.PadLeft(\"abcdef\", \"x\", 3)", Text(u"abcdef")},
      {u"Text.PadCenter(\"abcdef\", \"x\", 3)", Text(u"abcdef")},
      {u"Text.PadLeft(\"ab\", \"\", 5)", {}, "Invalid padding text."},
      {u"Text.PadCenter(\"ab\", \"\", 5)", {}, "Invalid padding text."},
      // money and timer texts
      {u"Text.FormatMoney(0.5)", Text(u"$0.50")},
      {u"Text.FormatMoney(12.05)", Text(u"$12.05")},
      {u"Text.CMoney(7)", Text(u"$7.00")},
      {u"Text.FormatMoney(0.995)", Text(u"$1.00")},
      {u"Text.FormatMoney(-1.25)", Text(u"-$1.25")},
      {u"Text.FormatTimer(65000, 0, 0)", Text(u"01:05")},
      {u"Text.FormatTimer(5000, 0, 0)", Text(u"5")},
      {u"Text.FormatTimer(5000, 1, 0)", Text(u"05")},
      {u"Text.FormatTimer(5000, 2, 0)", Text(u"00:05")},
      {u"Text.FormatTimer(3725000, 0, 0)", Text(u"01:02:05")},
      {u"Text.FormatTimer(65250, 0, 2)", Text(u"01:05.25")},
  };
  for (const TextCase& c : cases) {
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

// A width or a replacement beyond what a script text may hold fails before
// the memory is asked for.
TEST_F(TextFunctionsTest, OversizedTextsAreOutOfMemoryErrors) {
  PushCallFrame(CallFrame(), kiv::Script());
  for (const char16_t* name : {u"Text.PadLeft", u"Text.PadRight", u"Text.PadCenter"}) {
    EXPECT_EQ(Raised([&] { Call(name, {Text(u"a"), Text(u"x"), Long(2000000000)}); }), "7 Out of memory");
  }
  EXPECT_EQ(Raised([&] { Call(u"Text.PadLeft", {Text(u"a"), Text(u"x"), Long(5)}); }), "no error");
  const std::u16string big(1024 * 1024, u'a');
  const std::u16string replacement(64, u'b');
  EXPECT_EQ(Raised([&] {
              Call(u"Text.Replace", {Variant::Text(big), Text(u"A"), Variant::Text(replacement)});
            }),
            "7 Out of memory");
  const ScriptValue replaced = Call(u"Text.Replace", {Variant::Text(big), Text(u"A"), Text(u"bb")});
  EXPECT_EQ(replaced.value.AsText().size(), 2u * big.size());
}

}  // namespace
}  // namespace kiv::test
