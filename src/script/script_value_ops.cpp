#include "script/script_value_ops.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/error.h"
#include "core/number_text.h"

namespace kiv {

namespace {

[[noreturn]] void RaiseOverflow() { RaiseError(kErrOverflow, "Overflow"); }
[[noreturn]] void RaiseDivisionByZero() { RaiseError(kErrDivisionByZero, "Division by zero"); }
[[noreturn]] void RaiseTypeMismatch() { RaiseError(kErrTypeMismatch, "Type mismatch"); }
[[noreturn]] void RaiseInvalidNull() { RaiseError(kErrInvalidNull, "Invalid use of Null"); }
[[noreturn]] void RaiseInvalidCall() { RaiseError(kErrInvalidCall, "Invalid procedure call or argument"); }

// Operand classes in rank order; Currency and Date stand apart.
enum class Cls { kByte, kInteger, kLong, kSingle, kDouble, kCurrency, kDate };

struct Num {
  Cls cls = Cls::kInteger;
  std::int64_t i = 0;  // integer family; Currency scaled by 10000
  double d = 0.0;      // Single, Double, Date
  bool fromEmptyOrBool = false;
};

bool IsIntFamily(Cls c) { return c == Cls::kByte || c == Cls::kInteger || c == Cls::kLong; }

double AsDouble(const Num& n) {
  if (IsIntFamily(n.cls)) return static_cast<double>(n.i);
  if (n.cls == Cls::kCurrency) return static_cast<double>(n.i) / 10000.0;
  return n.d;
}

// False for Null; raises 13 for values that are not numbers.
bool Classify(const Variant& v, Num& out) {
  switch (v.Type()) {
    case kVarEmpty:
      out = {Cls::kInteger, 0, 0.0, true};
      return true;
    case kVarNull:
      return false;
    case kVarBoolean:
      out = {Cls::kInteger, v.AsBoolean() ? -1 : 0, 0.0, true};
      return true;
    case kVarByte:
      out = {Cls::kByte, v.AsByte(), 0.0, false};
      return true;
    case kVarInteger:
      out = {Cls::kInteger, v.AsInteger(), 0.0, false};
      return true;
    case kVarLong:
      out = {Cls::kLong, v.AsLong(), 0.0, false};
      return true;
    case kVarSingle:
      out = {Cls::kSingle, 0, v.AsSingle(), false};
      return true;
    case kVarDouble:
    case kVarDecimal:
      out = {Cls::kDouble, 0, v.AsDouble(), false};
      return true;
    case kVarCurrency:
      out = {Cls::kCurrency, v.CurrencyScaledValue(), 0.0, false};
      return true;
    case kVarDate:
      out = {Cls::kDate, 0, v.AsDouble(), false};
      return true;
    case kVarString:
      if (!IsNumericValue(v)) RaiseTypeMismatch();
      out = {Cls::kDouble, 0, ToNumber(v), false};
      return true;
    default:
      RaiseTypeMismatch();
  }
}

// Both operands; False when either is Null. Each is classified, so a type
// mismatch in either raises even when the other is Null.
bool ClassifyBoth(const Variant& a, const Variant& b, Num& x, Num& y) {
  const bool xn = Classify(a, x);
  const bool yn = Classify(b, y);
  return xn && yn;
}

Variant MakeDouble(double x) {
  if (!std::isfinite(x)) RaiseOverflow();
  return Variant::Double(x);
}

// An integer result of the given class, moving up to a wider type when it does not fit.
Variant MakeInteger(Cls cls, std::int64_t x) {
  if (cls == Cls::kByte) {
    if (x >= 0 && x <= 255) return Variant::Byte(static_cast<std::uint8_t>(x));
    cls = Cls::kInteger;
  }
  if (cls == Cls::kInteger) {
    if (x >= -32768 && x <= 32767) return Variant::Integer(static_cast<std::int16_t>(x));
    cls = Cls::kLong;
  }
  if (x >= std::numeric_limits<std::int32_t>::min() && x <= std::numeric_limits<std::int32_t>::max()) {
    return Variant::Long(static_cast<std::int32_t>(x));
  }
  return Variant::Double(static_cast<double>(x));
}

Variant MakeSingleOrDouble(double x) {
  if (!std::isfinite(x)) RaiseOverflow();
  if (std::fabs(x) > FLT_MAX) return Variant::Double(x);
  return Variant::Single(static_cast<float>(x));
}

Variant MakeCurrency(long double scaled) {
  if (!(scaled >= -9.2233720368547758e18L && scaled < 9.2233720368547758e18L)) RaiseOverflow();
  return Variant::CurrencyScaled(static_cast<std::int64_t>(std::nearbyintl(scaled)));
}

Variant MakeDate(double x) {
  if (!std::isfinite(x)) RaiseOverflow();
  return Variant::Date(x);
}

std::int64_t CurrencyScaled(const Num& n) {
  return n.cls == Cls::kCurrency ? n.i : n.i * 10000;  // the other operand is of the integer family
}

enum class Op { kAdd, kSub, kMul };

Variant Arith(const Variant& a, const Variant& b, Op op) {
  Num x, y;
  if (!ClassifyBoth(a, b, x, y)) return VarNull();
  auto apply = [op](double p, double q) { return op == Op::kAdd ? p + q : op == Op::kSub ? p - q : p * q; };
  if (x.cls == Cls::kDate || y.cls == Cls::kDate) {
    const double r = apply(AsDouble(x), AsDouble(y));
    if (op == Op::kMul || (op == Op::kSub && x.cls == Cls::kDate && y.cls == Cls::kDate))
      return MakeDouble(r);
    return MakeDate(r);
  }
  if (IsIntFamily(x.cls) && IsIntFamily(y.cls)) {
    const Cls cls = x.cls > y.cls ? x.cls : y.cls;
    const std::int64_t r = op == Op::kAdd ? x.i + y.i : op == Op::kSub ? x.i - y.i : x.i * y.i;
    return MakeInteger(cls, r);
  }
  if (x.cls == Cls::kCurrency || y.cls == Cls::kCurrency) {
    const Num& other = x.cls == Cls::kCurrency ? y : x;
    if (other.cls == Cls::kSingle || other.cls == Cls::kDouble)
      return MakeDouble(apply(AsDouble(x), AsDouble(y)));
    const long double p = static_cast<long double>(CurrencyScaled(x));
    const long double q = static_cast<long double>(CurrencyScaled(y));
    if (op == Op::kMul) return MakeCurrency(p * q / 10000.0L);
    return MakeCurrency(op == Op::kAdd ? p + q : p - q);
  }
  const double r = apply(AsDouble(x), AsDouble(y));
  const bool singleResult = (x.cls == Cls::kSingle || y.cls == Cls::kSingle) && x.cls != Cls::kDouble &&
                            y.cls != Cls::kDouble && x.cls != Cls::kLong && y.cls != Cls::kLong;
  return singleResult ? MakeSingleOrDouble(r) : MakeDouble(r);
}

bool SingleClassOperand(const Num& n) {
  return n.cls == Cls::kByte || n.cls == Cls::kInteger || n.cls == Cls::kSingle;
}

// The integer operand of "\" and Mod, and the class it keeps.
Num IntegerOperand(const Num& n) {
  if (IsIntFamily(n.cls)) return n;
  const double value = n.cls == Cls::kCurrency ? static_cast<double>(n.i) / 10000.0 : n.d;
  return {Cls::kLong, VarToLong(Variant::Double(value)), 0.0, false};
}

Variant IntegerDivision(const Variant& a, const Variant& b, bool modulo) {
  Num x, y;
  if (!ClassifyBoth(a, b, x, y)) return VarNull();
  x = IntegerOperand(x);
  y = IntegerOperand(y);
  if (y.i == 0) RaiseDivisionByZero();
  const std::int64_t r = modulo ? x.i % y.i : x.i / y.i;
  const Cls cls = x.cls > y.cls ? x.cls : y.cls;
  if (r < std::numeric_limits<std::int32_t>::min() || r > std::numeric_limits<std::int32_t>::max())
    RaiseOverflow();
  return MakeInteger(cls, r);
}

std::u16string Ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// General number text with the given significant digits, as "1.5", "1E+20", "1E-05".
std::u16string GeneralNumberText(double x, int digits) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*G", digits, x);
  return Ascii(buffer);
}

std::u16string CurrencyText(std::int64_t scaled) {
  const bool negative = scaled < 0;
  const std::uint64_t magnitude =
      negative ? static_cast<std::uint64_t>(-(scaled + 1)) + 1 : static_cast<std::uint64_t>(scaled);
  std::string text = std::to_string(magnitude / 10000);
  std::uint64_t fraction = magnitude % 10000;
  if (fraction != 0) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04llu", static_cast<unsigned long long>(fraction));
    std::string part = digits;
    while (!part.empty() && part.back() == '0') part.pop_back();
    text += "." + part;
  }
  return Ascii(negative ? "-" + text : text);
}

// Civil date of a count of days since 1970-01-01.
void CivilFromDays(std::int64_t z, std::int64_t& year, unsigned& month, unsigned& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  year = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = doy - (153 * mp + 2) / 5 + 1;
  month = mp < 10 ? mp + 3 : mp - 9;
  if (month <= 2) ++year;
}

// A date value counts days from 1899-12-30; the fraction is the time of day,
// taken without its sign for days before that.
std::u16string DateText(double value) {
  if (!std::isfinite(value) || std::fabs(value) > 3.0e6) RaiseOverflow();
  const double dayPart = std::trunc(value);
  const double timePart = std::fabs(value - dayPart);
  std::string text;
  if (dayPart != 0.0 || timePart == 0.0) {
    std::int64_t year = 0;
    unsigned month = 0, day = 0;
    CivilFromDays(static_cast<std::int64_t>(dayPart) - 25569, year, month, day);
    text = std::to_string(month) + "/" + std::to_string(day) + "/" + std::to_string(year);
  }
  if (timePart != 0.0) {
    std::int64_t seconds = static_cast<std::int64_t>(std::nearbyint(timePart * 86400.0));
    if (seconds >= 86400) seconds = 86399;
    const std::int64_t hour = seconds / 3600;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%lld:%02lld:%02lld %s",
                  static_cast<long long>(hour % 12 == 0 ? 12 : hour % 12),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60),
                  hour < 12 ? "AM" : "PM");
    if (!text.empty()) text += " ";
    text += buffer;
  }
  return Ascii(text);
}

}  // namespace

Variant VarAdd(const Variant& a, const Variant& b) { return Arith(a, b, Op::kAdd); }
Variant VarSub(const Variant& a, const Variant& b) { return Arith(a, b, Op::kSub); }
Variant VarMul(const Variant& a, const Variant& b) { return Arith(a, b, Op::kMul); }

Variant VarDiv(const Variant& a, const Variant& b) {
  Num x, y;
  if (!ClassifyBoth(a, b, x, y)) return VarNull();
  const double p = AsDouble(x);
  const double q = AsDouble(y);
  if (q == 0.0) {
    if (p == 0.0) RaiseOverflow();
    RaiseDivisionByZero();
  }
  if (SingleClassOperand(x) && SingleClassOperand(y)) return MakeSingleOrDouble(p / q);
  return MakeDouble(p / q);
}

Variant VarIntDiv(const Variant& a, const Variant& b) { return IntegerDivision(a, b, false); }
Variant VarMod(const Variant& a, const Variant& b) { return IntegerDivision(a, b, true); }

Variant VarPow(const Variant& a, const Variant& b) {
  Num x, y;
  if (!ClassifyBoth(a, b, x, y)) return VarNull();
  const double p = AsDouble(x);
  const double q = AsDouble(y);
  if (p == 0.0 && q < 0.0) RaiseInvalidCall();
  if (p < 0.0 && q != std::trunc(q)) RaiseInvalidCall();
  return MakeDouble(std::pow(p, q));
}

Variant VarNeg(const Variant& a) {
  Num x;
  if (!Classify(a, x)) return VarNull();
  switch (x.cls) {
    case Cls::kByte:
      return MakeInteger(Cls::kInteger, -x.i);
    case Cls::kInteger:
    case Cls::kLong:
      return MakeInteger(x.cls, -x.i);
    case Cls::kSingle:
      return Variant::Single(static_cast<float>(-x.d));
    case Cls::kDouble:
      return Variant::Double(-x.d);
    case Cls::kCurrency:
      if (x.i == std::numeric_limits<std::int64_t>::min()) RaiseOverflow();
      return Variant::CurrencyScaled(-x.i);
    case Cls::kDate:
      return Variant::Date(-x.d);
  }
  return Variant();
}

int VarCompare(const Variant& a, const Variant& b) {
  if (a.Type() == kVarNull || b.Type() == kVarNull) RaiseInvalidNull();
  if (a.IsText() && b.IsText()) {
    const int c = a.AsText().compare(b.AsText());
    return c < 0 ? -1 : c > 0 ? 1 : 0;
  }
  Num x, y;
  Classify(a, x);
  Classify(b, y);
  if (x.cls == Cls::kCurrency && y.cls == Cls::kCurrency) return x.i < y.i ? -1 : x.i > y.i ? 1 : 0;
  if (IsIntFamily(x.cls) && IsIntFamily(y.cls)) return x.i < y.i ? -1 : x.i > y.i ? 1 : 0;
  const double p = AsDouble(x);
  const double q = AsDouble(y);
  return p < q ? -1 : p > q ? 1 : 0;
}

std::u16string VarToText(const Variant& value) {
  switch (value.Type()) {
    case kVarEmpty:
      return std::u16string();
    case kVarNull:
      RaiseInvalidNull();
    case kVarString:
      return value.AsText();
    case kVarBoolean:
      return value.AsBoolean() ? u"True" : u"False";
    case kVarByte:
      return Ascii(std::to_string(value.AsByte()));
    case kVarInteger:
      return Ascii(std::to_string(value.AsInteger()));
    case kVarLong:
      return Ascii(std::to_string(value.AsLong()));
    case kVarSingle:
      return GeneralNumberText(value.AsSingle(), 7);
    case kVarDouble:
    case kVarDecimal:
      return GeneralNumberText(value.AsDouble(), 15);
    case kVarCurrency:
      return CurrencyText(value.CurrencyScaledValue());
    case kVarDate:
      return DateText(value.AsDouble());
    case kVarError:
      return Ascii("Error " + std::to_string(value.RawInt()));
    default:
      RaiseTypeMismatch();
  }
}

std::u16string VarToTextLenient(const Variant& value) {
  if (value.Type() == kVarNull) return u"Null";
  if (value.IsArray()) return u"Array";
  try {
    return VarToText(value);
  } catch (const KivError&) {
    return u"?";
  }
}

double VarToDouble(const Variant& value) {
  Num x;
  if (!Classify(value, x)) RaiseInvalidNull();
  return AsDouble(x);
}

std::int32_t VarToLong(const Variant& value) {
  Num x;
  if (!Classify(value, x)) RaiseInvalidNull();
  if (IsIntFamily(x.cls)) return static_cast<std::int32_t>(x.i);
  const double rounded = std::nearbyint(AsDouble(x));  // the default rounding mode: half to even
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) RaiseOverflow();
  return static_cast<std::int32_t>(rounded);
}

bool VarToBoolean(const Variant& value) {
  if (value.IsText()) {
    std::u16string lower = value.AsText();
    for (char16_t& c : lower) {
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    if (lower == u"true") return true;
    if (lower == u"false") return false;
  }
  return VarToDouble(value) != 0.0;
}

}  // namespace kiv
