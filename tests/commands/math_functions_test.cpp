// Math and geometry functions run from scripts on the seeded generator:
// arithmetic with its run-time errors, rounding, random picks (bounded
// "Different" loops among them) and angles.
#include <cmath>
#include <set>

#include "core/angles.h"
#include "core/random.h"
#include "internal_commands_fixture.h"

namespace kiv::test {
namespace {

Variant Long(std::int32_t v) { return Variant::Long(v); }
Variant Double(double v) { return Variant::Double(v); }
Variant Single(float v) { return Variant::Single(v); }

constexpr char kInvalidCall[] = "Invalid procedure call or argument";

struct MathCase {
  const char16_t* expression;
  Variant result;
  const char* error = nullptr;
};

class MathFunctionsTest : public InternalCommandsTest {
 protected:
  void SetUp() override {
    InternalCommandsTest::SetUp();
    RandomSeed(49);
    GlobalVariable(u"unset", Variant());  // a variable never set
  }

  void ExpectCases(std::initializer_list<MathCase> cases) {
    for (const MathCase& c : cases) {
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

  // The values of a script expression over many runs.
  std::vector<Variant> Draws(const std::u16string& expression, int count) {
    std::vector<Variant> values;
    const std::int32_t script = Load(u"Return(" + expression + u")");
    for (int i = 0; i < count; ++i) {
      CallFrame frame;
      frame.ownerMap = 0;
      values.push_back(Run(script, frame));
    }
    return values;
  }
};

TEST_F(MathFunctionsTest, ArithmeticAndItsRunTimeErrors) {
  ExpectCases({
      {u"Math.Add(2, \"3.5\")", Double(5.5)},
      {u"Math.Subtract(2, 5)", Double(-3)},
      {u"Math.Multiply(4, 2.5)", Double(10)},
      {u"Math.Divide(7, 2)", Double(3.5)},
      {u"Math.Add(unset, 1)", {}, "Unsupported data-type to convert number."},
      {u"Math.Divide(unset, 1)", {}, "Unsupported data-type to convert number."},
      {u"Math.Divide(1, 0)", {}, "Division by zero"},
      {u"Math.IntDivide(7.5, 2)", Long(4)},
      {u"Math.IntDivide(-7, 2)", Long(-3)},
      {u"Math.IntDivide(1, 0.4)", {}, "Division by zero"},
      {u"Math.IntDivide(-2147483648, -1)", {}, "Overflow"},
      {u"Math.IntDivide(3000000000, 1)", {}, "Overflow"},
      {u"Math.Modulus(-7, 3)", Long(-1)},
      {u"Math.Modulus(-2147483648, -1)", Long(0)},
      {u"Math.Modulus(5, 0)", {}, "Division by zero"},
      {u"Math.DecModulus(-7, 3)", Double(2)},
      {u"Math.DecModulus(7.5, 0)", {}, "Division by zero"},
      {u"Math.PowerOf(2, 10)", Double(1024)},
      {u"Math.PowerOf(0, -1)", {}, kInvalidCall},
      {u"Math.Multiply(Math.Exp(700), Math.Exp(700))", {}, "Overflow"},
      {u"Math.Sqr(16)", Double(4)},
      {u"Math.Sqr(-1)", {}, kInvalidCall},
      {u"Math.Log(1)", Double(0)},
      {u"Math.Log(0)", {}, kInvalidCall},
      {u"Math.Exp(0)", Double(1)},
      {u"Math.Exp(1000)", {}, "Overflow"},
      {u"Math.Abs(-3)", Long(3)},
      {u"Math.Abs(-2.5)", Double(2.5)},
      {u"Math.Abs(\"-4\")", Double(4)},
      {u"Math.Int(-2.5)", Double(-3)},
      {u"Math.Int(7)", Long(7)},
      {u"Math.IntUp(2.1)", Long(3)},
      {u"Math.IntUp(-2.5)", Long(-2)},
      {u"Math.Round(2.5)", Long(2)},
      {u"Math.Round(3.5)", Long(4)},
      {u"Math.Round(0.25, 1)", Double(0.2)},
      {u"Math.Round(1.2345, 2)", Double(1.23)},
      {u"Math.Max(3, 8)", Long(8)},
      {u"Math.Max(\"9\", 8)", Variant::Text(u"9")},
      {u"Math.Min(3, 8)", Long(3)},
      {u"Math.Clamp(5, 10, 1)", Long(10)},
      {u"Math.Clamp(12, 1, 10)", Long(10)},
      {u"Math.Clamp(5, 1, 10)", Long(5)},
      {u"Math.Lerp(10, 20, 0.25)", Double(12.5)},
      {u"Math.LogInterpolate(0, 1, 0)", Double(0)},
      {u"Math.LogInterpolate(0, 1, 1)", Double(std::log(1 + std::exp(1.0)))},
      {u"Math.Cos(\"west\")", Double(std::cos(static_cast<double>(kPi)))},
      {u"Math.Sin(0)", Double(0)},
      {u"Math.ArcTan(1)", Double(std::atan(1.0))},
      {u"Math.Cos(\"sideways\")", {}, "Rotation/angle/direction \"sideways\" is invalid."},
  });
}

TEST_F(MathFunctionsTest, GeometryOfPointsAndAngles) {
  ExpectCases({
      {u"Geometry.Distance(0, 0, 0, 3, 4, 12)", Double(13)},
      {u"Geography.Distance(1, 1, 1, 1, 1, 1)", Double(0)},
      {u"Geometry.Direction(0, 0, 0, 0)", Single(kPiOver2)},
      {u"Geometry.Direction(0, 0, -1, 0)", Single(kPi)},
      {u"Geography.Direction(0, 0, 0, -5)", Single(-kPiOver2)},
      {u"Geometry.DirectionDiff(\"left\", \"right\")", Single(kPi)},
      {u"Geometry.DirectionDiff(3, -3)", Single(kTwoPi - 6.0f)},
      {u"Geometry.IfDirection(\"left\", \"up\", \"down\")", Long(0)},
      {u"Geometry.IfDirection(\"left\", \"down\", \"up\")", Long(1)},
      {u"Geometry.IfDirection(\"down\", \"down\", \"up\")", Long(0)},
      {u"Geometry.IfDirection(\"up\", \"up\", \"down\")", Long(1)},
      {u"Geometry.Opposite(0)", Single(-kPi)},
      {u"Geometry.Clockwise(3, 1)", Single(WrapAngle(4.0f))},
      {u"Geometry.CounterClockwise(-3, 1)", Single(WrapAngle(-4.0f))},
      {u"Geometry.DirectionPointX(10, 0, 5)", Double(15)},
      {u"Geometry.DirectionPointY(10, 0, 5)", Double(10)},
  });
}

TEST_F(MathFunctionsTest, RandomPicksStayInTheirRanges) {
  std::set<std::int32_t> faces;
  for (const Variant& v : Draws(u"Math.Random(1, 6)", 300)) {
    ASSERT_EQ(v.Type(), kVarLong);
    faces.insert(v.AsLong());
  }
  EXPECT_EQ(faces, (std::set<std::int32_t>{1, 2, 3, 4, 5, 6}));
  for (const Variant& v : Draws(u"Random(4, 4)", 5)) EXPECT_EQ(v, Long(4));
  for (const Variant& v : Draws(u"Math.RandomDifferent(1, 3, 2)", 100)) EXPECT_NE(v, Long(2));
  for (const Variant& v : Draws(u"Math.RandomDifferent(4, 4, 4)", 5)) EXPECT_EQ(v, Long(4));
  for (const Variant& v : Draws(u"Math.RandomWeights(0, 0, 5)", 50)) EXPECT_EQ(v, Long(3));
  for (const Variant& v : Draws(u"Math.RandomWeights(0, 0, 0)", 5)) EXPECT_EQ(v, Long(0));
  for (const Variant& v : Draws(u"Math.RandomWeights(Collection.Make(0, 2))", 5)) EXPECT_EQ(v, Long(2));
  for (const Variant& v : Draws(u"Math.RandomWeightsDifferent(2, 1, 1, 1)", 100)) EXPECT_NE(v, Long(2));
  for (const Variant& v : Draws(u"Math.RandomWeightsDifferent(1, 5)", 5)) EXPECT_EQ(v, Long(1));
  for (const Variant& v : Draws(u"Math.RandomPossibilities(\"a\", \"b\")", 50)) {
    EXPECT_TRUE(v == Variant::Text(u"a") || v == Variant::Text(u"b"));
  }
  for (const Variant& v : Draws(u"Math.RandomDecimal(2, 3)", 50)) {
    EXPECT_GE(v.AsDouble(), 2.0);
    EXPECT_LT(v.AsDouble(), 3.0);
  }
  for (const Variant& v : Draws(u"Math.RandomSymmetric()", 50)) {
    EXPECT_GE(v.AsSingle(), -1.0f);
    EXPECT_LT(v.AsSingle(), 1.0f);
  }
  for (const Variant& v : Draws(u"Math.RandomDirection()", 50)) {
    EXPECT_GE(v.AsSingle(), -kPi);
    EXPECT_LT(v.AsSingle(), kPi);
  }
  // A range from down to up passes through west and may go beyond pi.
  float highest = 0;
  for (const Variant& v : Draws(u"Math.RandomDirectionRange(\"down\", \"up\")", 200)) {
    EXPECT_GE(v.AsSingle(), kPiOver2);
    EXPECT_LT(v.AsSingle(), 3 * kPiOver2 + 1e-5f);
    highest = std::max(highest, v.AsSingle());
  }
  EXPECT_GT(highest, kPi);
  for (const Variant& v : Draws(u"Math.DeviateP(100, 10)", 50)) {
    EXPECT_GE(v.AsDouble(), 90.0);
    EXPECT_LE(v.AsDouble(), 110.0);
  }
}

// A pick whose every outcome is excluded ends after its draw limit with the last draw.
TEST_F(MathFunctionsTest, DifferentPicksWithOnlyTheExcludedOutcomeEnd) {
  ExpectCases({
      {u"Math.RandomDifferent(5, 4, 5)", Long(5)},
      {u"Math.RandomWeightsDifferent(0, 0, 0)", Long(0)},
      {u"Math.RandomWeightsDifferent(1, 5, 0, 0)", Long(1)},
      {u"Math.RandomPossibilities(Collection.Make())", Variant()},
  });
}

}  // namespace
}  // namespace kiv::test
