// Math functions: arithmetic on numbers with the run-time errors of its
// faults, rounding, random picks from the shared generator, comparisons,
// interpolation and trigonometry.
#include <cmath>
#include <cstdint>
#include <limits>

#include "commands/internal_selection.h"
#include "core/angles.h"
#include "core/error.h"
#include "core/math_util.h"
#include "core/number_text.h"
#include "core/random.h"
#include "script/script_convert.h"
#include "script/script_operators.h"
#include "script/script_stack_access.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

// A "Different" pick draws at most this often and keeps its last draw, so that
// a pick whose only outcome is the excluded one still ends.
constexpr int kMaxDifferentDraws = 1000;

[[noreturn]] void RaiseInvalidArgument() {
  RaiseError(kErrInvalidCall, "Invalid procedure call or argument");
}
[[noreturn]] void RaiseOverflow() { RaiseError(kErrOverflow, "Overflow"); }
[[noreturn]] void RaiseDivisionByZero() { RaiseError(kErrDivisionByZero, "Division by zero"); }

double Number(InternalCall& call, std::int32_t i) { return ToNumber(call.Argument(i)); }
float Angle(InternalCall& call, std::int32_t i) { return ScriptConvertRotation(call.Argument(i), true); }

// A Double result; infinity from finite operands is an overflow.
void AnswerDouble(InternalCall& call, double x) {
  if (!std::isfinite(x) && !std::isnan(x)) RaiseOverflow();
  call.Answer(Variant::Double(x));
}

// A whole number as a Long when it fits, else as a Double.
Variant WholeNumber(double x) {
  if (x >= -2147483648.0 && x <= 2147483647.0) return Variant::Long(static_cast<std::int32_t>(x));
  return Variant::Double(x);
}

void Add(InternalCall& call) {
  const double a = Number(call, 0);
  AnswerDouble(call, a + Number(call, 1));
}
void Subtract(InternalCall& call) {
  const double a = Number(call, 0);
  AnswerDouble(call, a - Number(call, 1));
}
void Multiply(InternalCall& call) {
  const double a = Number(call, 0);
  AnswerDouble(call, a * Number(call, 1));
}
void Divide(InternalCall& call) {
  const double a = Number(call, 0);
  const double b = Number(call, 1);
  if (b == 0) RaiseDivisionByZero();
  AnswerDouble(call, a / b);
}

// Both operands rounded half to even (6 outside the Long range).
void WholeOperands(InternalCall& call, std::int32_t& a, std::int32_t& b) {
  a = VarToLong(Variant::Double(Number(call, 0)));
  b = VarToLong(Variant::Double(Number(call, 1)));
  if (b == 0) RaiseDivisionByZero();
}

// The lowest Long divided by -1 has no Long quotient: an overflow, found
// before the processor's divide, which would trap on it.
void IntDivide(InternalCall& call) {
  std::int32_t a = 0, b = 0;
  WholeOperands(call, a, b);
  if (a == std::numeric_limits<std::int32_t>::min() && b == -1) RaiseOverflow();
  call.Answer(Variant::Long(a / b));
}

void Modulus(InternalCall& call) {
  std::int32_t a = 0, b = 0;
  WholeOperands(call, a, b);
  call.Answer(Variant::Long(b == -1 ? 0 : a % b));
}

void DecModulus(InternalCall& call) {
  const double a = Number(call, 0);
  const double b = Number(call, 1);
  if (b == 0) RaiseDivisionByZero();
  AnswerDouble(call, a - std::floor(a / b) * b);
}

void PowerOf(InternalCall& call) {
  const double a = Number(call, 0);
  call.Answer(VarPow(Variant::Double(a), Variant::Double(Number(call, 1))));
}

void Sqr(InternalCall& call) {
  const double x = Number(call, 0);
  if (x < 0) RaiseInvalidArgument();
  call.Answer(Variant::Double(std::sqrt(x)));
}

void Log(InternalCall& call) {
  const double x = Number(call, 0);
  if (x <= 0) RaiseInvalidArgument();
  call.Answer(Variant::Double(std::log(x)));
}

void Exp(InternalCall& call) { AnswerDouble(call, std::exp(Number(call, 0))); }

// The argument's own numeric type when it has one; other values as Doubles.
Variant NumericArgument(InternalCall& call) {
  Variant x = call.Argument(0);
  switch (x.Type()) {
    case kVarByte:
    case kVarInteger:
    case kVarLong:
    case kVarSingle:
    case kVarDouble:
    case kVarCurrency:
      return x;
    default:
      return Variant::Double(ToNumber(x));
  }
}

void Abs(InternalCall& call) {
  const Variant x = NumericArgument(call);
  if (VarCompare(x, Variant::Long(0)) >= 0) {
    call.Answer(x);
    return;
  }
  Variant negated = VarNeg(x);
  // Negation moves the lowest Integer and Long up a type; the type is kept.
  if (negated.Type() != x.Type()) RaiseOverflow();
  call.Answer(std::move(negated));
}

void Int(InternalCall& call) {
  const Variant x = NumericArgument(call);
  switch (x.Type()) {
    case kVarSingle:
      call.Answer(Variant::Single(std::floor(x.AsSingle())));
      return;
    case kVarDouble:
      call.Answer(Variant::Double(std::floor(x.AsDouble())));
      return;
    case kVarCurrency: {
      const std::int64_t scaled = x.CurrencyScaledValue();
      std::int64_t whole = scaled / 10000;
      if (scaled % 10000 != 0 && scaled < 0) --whole;
      call.Answer(Variant::CurrencyScaled(whole * 10000));
      return;
    }
    default:
      call.Answer(x);
  }
}

void IntUp(InternalCall& call) { call.Answer(Variant::Long(CeilingLong(Number(call, 0)))); }

void Round(InternalCall& call) {
  const double x = Number(call, 0);
  if (call.argumentUpper < 1) {
    call.Answer(Variant::Long(VarToLong(Variant::Double(x))));
    return;
  }
  const std::int32_t places = call.ArgumentLong(1);
  if (places < 0) RaiseInvalidArgument();
  if (places > 22) {
    call.Answer(Variant::Double(x));
    return;
  }
  const double scale = std::pow(10.0, places);
  call.Answer(Variant::Double(std::nearbyint(x * scale) / scale));
}

double Draw() { return static_cast<double>(RandomSingle()); }

double RandomBetween(double low, double high) { return std::floor((high - low + 1) * Draw() + low); }

void Random(InternalCall& call) {
  const double low = Number(call, 0);
  const double high = Number(call, 1);
  call.Answer(WholeNumber(RandomBetween(low, high)));
}

bool SameValue(const Variant& a, const Variant& b) {
  if (!IsNumericValue(a) || !IsNumericValue(b)) return false;
  return ToNumber(a) == ToNumber(b);
}

void RandomDifferent(InternalCall& call) {
  const double low = Number(call, 0);
  const double high = Number(call, 1);
  const Variant excluded = call.Argument(2);
  const bool bounded = VarToLong(Variant::Double(low)) == VarToLong(Variant::Double(high));
  double drawn = RandomBetween(low, high);
  for (int draws = 1; !bounded && draws < kMaxDifferentDraws && SameValue(Variant::Double(drawn), excluded);
       ++draws) {
    drawn = RandomBetween(low, high);
  }
  call.Answer(WholeNumber(drawn));
}

void RandomDecimal(InternalCall& call) {
  const double low = Number(call, 0);
  const double high = Number(call, 1);
  call.Answer(Variant::Double((high - low) * Draw() + low));
}

void RandomUnit(InternalCall& call) { call.Answer(Variant::Single(RandomSingle())); }
void RandomSymmetric(InternalCall& call) { call.Answer(Variant::Single(2 * RandomSingle() - 1)); }
void RandomDirection(InternalCall& call) { call.Answer(Variant::Single(RandomSingle() * kTwoPi - kPi)); }

void RandomDirectionRange(InternalCall& call) {
  const float from = WrapAngle(Angle(call, 0));
  float to = WrapAngle(Angle(call, 1));
  if (from > to) to += kTwoPi;
  call.Answer(Variant::Single((to - from) * RandomSingle() + from));
}

// The 1-based position whose running sum (in Singles) first passes the
// total times a fresh draw; 0 when none does.
std::int32_t WeightedPick(const std::vector<float>& weights) {
  float total = 0;
  for (const float w : weights) total += w;
  const float x = total * RandomSingle();
  float sum = 0;
  for (std::size_t i = 0; i < weights.size(); ++i) {
    sum += weights[i];
    if (sum > x) return static_cast<std::int32_t>(i) + 1;
  }
  return 0;
}

std::vector<float> Weights(InternalCall& call, std::int32_t first) {
  const Variant list = ScriptGetArgumentArray(call.argumentUpper, first);
  std::vector<float> weights;
  for (const Variant& w : list.Elements()) weights.push_back(static_cast<float>(ToNumber(w)));
  return weights;
}

void RandomWeights(InternalCall& call) { call.Answer(Variant::Long(WeightedPick(Weights(call, 0)))); }

void RandomWeightsDifferent(InternalCall& call) {
  const Variant excluded = call.Argument(0);
  const std::vector<float> weights = Weights(call, 1);
  if (weights.size() < 2) {
    call.Answer(Variant::Long(1));
    return;
  }
  std::int32_t picked = WeightedPick(weights);
  for (int draws = 1; draws < kMaxDifferentDraws && SameValue(Variant::Long(picked), excluded); ++draws) {
    picked = WeightedPick(weights);
  }
  call.Answer(Variant::Long(picked));
}

// One of the values with equal chance; no values give nothing.
void RandomPossibilities(InternalCall& call) {
  const Variant list = ScriptGetArgumentArray(call.argumentUpper, 0);
  const std::vector<Variant>& values = list.Elements();
  if (values.empty()) return;
  auto at = static_cast<std::size_t>(RandomSingle() * static_cast<float>(values.size()));
  if (at >= values.size()) at = values.size() - 1;
  call.Answer(values[at]);
}

void DeviateP(InternalCall& call) {
  const double value = Number(call, 0);
  const double percent = Number(call, 1);
  call.Answer(Variant::Double(value + value * (percent / 100) * (2 * Draw() - 1)));
}

bool Greater(const Variant& a, const Variant& b) { return VarToLong(ScriptBinaryOperator(u'>', a, b)) != 0; }

void Max(InternalCall& call) {
  const Variant a = call.Argument(0);
  const Variant b = call.Argument(1);
  call.Answer(Greater(a, b) ? a : b);
}

void Min(InternalCall& call) {
  const Variant a = call.Argument(0);
  const Variant b = call.Argument(1);
  call.Answer(Greater(b, a) ? a : b);
}

// The low test comes first, so a low above high wins.
void Clamp(InternalCall& call) {
  const Variant value = call.Argument(0);
  const Variant low = call.Argument(1);
  const Variant high = call.Argument(2);
  if (Greater(low, value)) {
    call.Answer(low);
  } else if (Greater(value, high)) {
    call.Answer(high);
  } else {
    call.Answer(value);
  }
}

void Lerp(InternalCall& call) {
  const double a = Number(call, 0);
  const double b = Number(call, 1);
  const double t = Number(call, 2);
  AnswerDouble(call, a * (1 - t) + b * t);
}

// The weight ln(1 + e t) passes 1 before t reaches 1.
void LogInterpolate(InternalCall& call) {
  const double a = Number(call, 0);
  const double b = Number(call, 1);
  const double w = std::log(1 + std::exp(1.0) * Number(call, 2));
  AnswerDouble(call, a * (1 - w) + b * w);
}

void Cos(InternalCall& call) { call.Answer(Variant::Double(std::cos(static_cast<double>(Angle(call, 0))))); }
void Sin(InternalCall& call) { call.Answer(Variant::Double(std::sin(static_cast<double>(Angle(call, 0))))); }
void Tan(InternalCall& call) { call.Answer(Variant::Double(std::tan(static_cast<double>(Angle(call, 0))))); }
void ArcTan(InternalCall& call) {
  call.Answer(Variant::Double(std::atan(static_cast<double>(Angle(call, 0)))));
}

constexpr InternalCommand kMath[] = {
    {"Math.Add", Add},
    {"Math.Subtract", Subtract},
    {"Math.Multiply", Multiply},
    {"Math.Divide", Divide},
    {"Math.IntDivide", IntDivide},
    {"Math.DecModulus", DecModulus},
    {"Math.Modulus", Modulus},
    {"Math.PowerOf", PowerOf},
    {"Math.Sqr", Sqr},
    {"Math.Log", Log},
    {"Math.Exp", Exp},
    {"Math.Abs", Abs},
    {"Math.Int", Int},
    {"Math.IntUp", IntUp},
    {"Math.Round", Round},
    {"Math.Random", Random},
    {"Random", Random},
    {"Math.RandomDifferent", RandomDifferent},
    {"Math.RandomDecimal", RandomDecimal},
    {"Math.RandomUnit", RandomUnit},
    {"Math.RandomSymmetric", RandomSymmetric},
    {"Math.RandomDirection", RandomDirection},
    {"Math.RandomDirectionRange", RandomDirectionRange},
    {"Math.RandomWeights", RandomWeights},
    {"Math.RandomWeightsDifferent", RandomWeightsDifferent},
    {"Math.RandomPossibilities", RandomPossibilities},
    {"Math.DeviateP", DeviateP},
    {"DeviateP", DeviateP},
    {"Math.Max", Max},
    {"Math.Min", Min},
    {"Math.Clamp", Clamp},
    {"Math.Lerp", Lerp},
    {"Math.LogInterpolate", LogInterpolate},
    {"Math.Cos", Cos},
    {"Math.Sin", Sin},
    {"Math.Tan", Tan},
    {"Math.ArcTan", ArcTan},
};

}  // namespace

std::span<const InternalCommand> MathFunctions() { return kMath; }

}  // namespace kiv
