#include "script/script_value_ops.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/error.h"

namespace kiv {
namespace {

using BinaryOp = std::function<Variant(const Variant&, const Variant&)>;

struct BinaryCase {
  const char* name;
  BinaryOp op;
  Variant left;
  Variant right;
  Variant expected;  // ignored when error is set
  int error = 0;
};

Variant T(const char16_t* text) { return Variant::Text(text); }

// Each operator's type rules, one row per rule of script_value_ops.h.
TEST(ScriptValueOps, BinaryOperatorTypeRules) {
  const BinaryCase cases[] = {
      {"byte+byte stays byte", VarAdd, Variant::Byte(200), Variant::Byte(55), Variant::Byte(255)},
      {"byte overflow moves to integer", VarAdd, Variant::Byte(200), Variant::Byte(56),
       Variant::Integer(256)},
      {"integer overflow moves to long", VarAdd, Variant::Integer(32767), Variant::Integer(1),
       Variant::Long(32768)},
      {"long overflow moves to double", VarAdd, Variant::Long(2147483647), Variant::Long(1),
       Variant::Double(2147483648.0)},
      {"integer and long give long", VarAdd, Variant::Integer(2), Variant::Long(3), Variant::Long(5)},
      {"empty counts as integer 0", VarAdd, Variant(), Variant(), Variant::Integer(0)},
      {"boolean counts as integer", VarAdd, Variant::Boolean(true), Variant::Boolean(true),
       Variant::Integer(-2)},
      {"single with integer stays single", VarAdd, Variant::Single(1.5f), Variant::Integer(1),
       Variant::Single(2.5f)},
      {"single with long gives double", VarAdd, Variant::Single(1.5f), Variant::Long(1),
       Variant::Double(2.5)},
      {"double wins", VarMul, Variant::Double(0.5), Variant::Integer(3), Variant::Double(1.5)},
      {"currency with long stays currency", VarAdd, Variant::CurrencyScaled(15000), Variant::Long(2),
       Variant::CurrencyScaled(35000)},
      {"currency times currency", VarMul, Variant::CurrencyScaled(15000), Variant::CurrencyScaled(20000),
       Variant::CurrencyScaled(30000)},
      {"currency with double gives double", VarAdd, Variant::CurrencyScaled(15000), Variant::Double(1.0),
       Variant::Double(2.5)},
      {"date plus number stays date", VarAdd, Variant::Date(10.0), Variant::Long(2), Variant::Date(12.0)},
      {"date minus date gives double", VarSub, Variant::Date(10.0), Variant::Date(4.0), Variant::Double(6.0)},
      {"numeric text is read as double", VarSub, T(u"5"), Variant::Long(2), Variant::Double(3.0)},
      {"other text is a type mismatch", VarSub, T(u"x"), Variant::Long(2), Variant(), kErrTypeMismatch},
      {"null gives null", VarAdd, VarNull(), Variant::Long(2), VarNull()},
      {"array is a type mismatch", VarAdd, Variant::Array(kVarVariant, {}), Variant::Long(1), Variant(),
       kErrTypeMismatch},
      {"long divide gives double", VarDiv, Variant::Long(1), Variant::Long(4), Variant::Double(0.25)},
      {"integer divide gives single", VarDiv, Variant::Integer(1), Variant::Integer(4),
       Variant::Single(0.25f)},
      {"divide by zero", VarDiv, Variant::Long(1), Variant::Long(0), Variant(), kErrDivisionByZero},
      {"zero by zero overflows", VarDiv, Variant::Long(0), Variant::Long(0), Variant(), kErrOverflow},
      {"integer division truncates", VarIntDiv, Variant::Long(7), Variant::Long(2), Variant::Long(3)},
      {"integer division rounds 2.5 to 2", VarIntDiv, Variant::Double(2.5), Variant::Long(1),
       Variant::Long(2)},
      {"integer division rounds 3.5 to 4", VarIntDiv, Variant::Double(3.5), Variant::Long(1),
       Variant::Long(4)},
      {"integer division by a half rounded to 0", VarIntDiv, Variant::Long(5), Variant::Double(0.5),
       Variant(), kErrDivisionByZero},
      {"integer division of integers stays integer", VarIntDiv, Variant::Integer(9), Variant::Integer(2),
       Variant::Integer(4)},
      {"lowest integer by -1 moves to long", VarIntDiv, Variant::Integer(-32768), Variant::Integer(-1),
       Variant::Long(32768)},
      {"lowest long by -1 overflows", VarIntDiv, Variant::Long(-2147483647 - 1), Variant::Long(-1), Variant(),
       kErrOverflow},
      {"mod has the sign of the dividend", VarMod, Variant::Long(-7), Variant::Long(3), Variant::Long(-1)},
      {"mod rounds its operands half to even", VarMod, Variant::Double(6.5), Variant::Double(4.5),
       Variant::Long(2)},
      {"mod by zero", VarMod, Variant::Long(1), Variant::Long(0), Variant(), kErrDivisionByZero},
      {"power gives double", VarPow, Variant::Long(2), Variant::Long(10), Variant::Double(1024.0)},
      {"zero to a negative power", VarPow, Variant::Long(0), Variant::Long(-1), Variant(), kErrInvalidCall},
      {"negative base, fractional power", VarPow, Variant::Long(-8), Variant::Double(0.5), Variant(),
       kErrInvalidCall},
      {"infinite power overflows", VarPow, Variant::Long(10), Variant::Long(400), Variant(), kErrOverflow},
      {"double overflow", VarMul, Variant::Double(1e308), Variant::Double(10.0), Variant(), kErrOverflow},
  };
  for (const BinaryCase& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.error != 0) {
      try {
        c.op(c.left, c.right);
        ADD_FAILURE() << "no error";
      } catch (const KivError& e) {
        EXPECT_EQ(e.Number(), c.error);
      }
    } else {
      EXPECT_EQ(c.op(c.left, c.right), c.expected);
    }
  }
}

TEST(ScriptValueOps, NegateTypeRules) {
  EXPECT_EQ(VarNeg(Variant::Byte(3)), Variant::Integer(-3));
  EXPECT_EQ(VarNeg(Variant::Boolean(true)), Variant::Integer(1));
  EXPECT_EQ(VarNeg(Variant()), Variant::Integer(0));
  EXPECT_EQ(VarNeg(Variant::Integer(-32768)), Variant::Long(32768));
  EXPECT_EQ(VarNeg(Variant::Long(-2147483647 - 1)), Variant::Double(2147483648.0));
  EXPECT_EQ(VarNeg(Variant::Single(1.5f)), Variant::Single(-1.5f));
  EXPECT_EQ(VarNeg(T(u"2")), Variant::Double(-2.0));
}

TEST(ScriptValueOps, CompareNumbersAndTexts) {
  EXPECT_EQ(VarCompare(Variant::Long(1), Variant::Double(1.0)), 0);
  EXPECT_EQ(VarCompare(Variant(), Variant::Long(0)), 0);
  EXPECT_EQ(VarCompare(T(u"B"), T(u"a")), -1);  // by character code
  EXPECT_EQ(VarCompare(T(u"10"), Variant::Long(9)), 1);
  EXPECT_THROW(VarCompare(T(u"x"), Variant::Long(9)), KivError);
}

TEST(ScriptValueOps, TextOfValues) {
  const std::pair<Variant, std::u16string> cases[] = {
      {Variant(), u""},
      {Variant::Boolean(true), u"True"},
      {Variant::Long(-12), u"-12"},
      {Variant::Double(0.5), u"0.5"},
      {Variant::Double(1.0 / 3.0), u"0.333333333333333"},
      {Variant::Double(1e20), u"1E+20"},
      {Variant::Double(123456789012345.0), u"123456789012345"},
      {Variant::Single(0.1f), u"0.1"},
      {Variant::CurrencyScaled(-15000), u"-1.5"},
      {Variant::CurrencyScaled(20000), u"2"},
      {Variant::Date(2.0), u"1/1/1900"},
      {Variant::Date(0.75), u"6:00:00 PM"},
      {Variant::Date(45000.5), u"3/15/2023 12:00:00 PM"},
      {VarErrorValue(11), u"Error 11"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(VarToText(value), text);
  EXPECT_THROW(VarToText(VarNull()), KivError);
  EXPECT_EQ(VarToTextLenient(VarNull()), u"Null");
}

TEST(ScriptValueOps, LongConversionRoundsHalfToEven) {
  EXPECT_EQ(VarToLong(Variant::Double(0.5)), 0);
  EXPECT_EQ(VarToLong(Variant::Double(1.5)), 2);
  EXPECT_EQ(VarToLong(Variant::Double(-2.5)), -2);
  EXPECT_EQ(VarToLong(T(u"7")), 7);
  EXPECT_THROW(VarToLong(Variant::Double(3e9)), KivError);
  EXPECT_TRUE(VarToBoolean(T(u"TRUE")));
  EXPECT_FALSE(VarToBoolean(Variant()));
}

}  // namespace
}  // namespace kiv
