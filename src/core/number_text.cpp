#include "core/number_text.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "core/error.h"

namespace kiv {
namespace {

// Longer fractions of a second than this are not shown; it keeps a script's
// decimal count from asking for a text of gigabytes.
constexpr std::int32_t kMaxDurationDecimals = 64;

std::u16string_view TrimBlanks(std::u16string_view text) {
  const auto first = text.find_first_not_of(u' ');
  if (first == std::u16string_view::npos) return {};
  const auto last = text.find_last_not_of(u' ');
  return text.substr(first, last - first + 1);
}

std::u16string Widen(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsWhiteSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\v' || c == u'\r' || c == u'\n' || c == u'\f';
}

// Lower case of the letters of the Latin, Greek and Cyrillic alphabets, which
// covers the texts that scripts compare without regard to case.
char16_t LowerLetter(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
  if (c < 0xC0) return c;
  if (c <= 0xDE) return c == 0xD7 ? c : static_cast<char16_t>(c + 0x20);
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return static_cast<char16_t>(c | 1);
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
    return (c & 1) != 0 ? static_cast<char16_t>(c + 1) : c;
  }
  if (c == 0x178) return 0xFF;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return static_cast<char16_t>(c + 0x20);
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 0x20);
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
  return c;
}

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return LowerLetter(x) == LowerLetter(y); });
}

// Whole seconds and the fraction digits of s milliseconds (the milliseconds
// within a minute), with exactly `decimals` digits, rounded half away from zero.
std::string FormatSecondsFixed(std::int32_t s, std::int32_t decimals) {
  const bool negative = s < 0;
  std::int64_t magnitude = negative ? -static_cast<std::int64_t>(s) : s;
  std::string text;
  if (decimals >= 3) {
    text = fmt::format("{}.{:03}", magnitude / 1000, magnitude % 1000);
    text.append(static_cast<std::size_t>(decimals - 3), '0');
  } else {
    std::int64_t unit = decimals == 1 ? 100 : 10;  // milliseconds per last digit
    std::int64_t scale = decimals == 1 ? 10 : 100;
    const std::int64_t rounded = (magnitude + unit / 2) / unit;
    text = fmt::format("{}.{:0{}}", rounded / scale, rounded % scale, decimals);
  }
  return negative ? "-" + text : text;
}

// s / 1000 with as many fraction digits as it needs (at most three).
std::string FormatSecondsShortest(std::int32_t s) {
  std::string text = fmt::format("{}", s / 1000);
  std::int32_t fraction = s % 1000;
  if (fraction == 0) return text;
  if (fraction < 0) {
    fraction = -fraction;
    if (s > -1000) text = "-0";  // the whole part lost its sign
  }
  std::string digits = fmt::format("{:03}", fraction);
  digits.erase(digits.find_last_not_of('0') + 1);
  return text + "." + digits;
}

}  // namespace

Variant ParseNumber(std::u16string_view text) {
  text = TrimBlanks(text);
  std::int32_t whole = 0;
  double value = 0.0;
  std::int64_t fractionCounter = 0;  // 0: no point yet; else 1 + digits after the last point
  bool negative = false;
  bool seenDigit = false;  // also set by a point
  bool isFloat = false;
  for (const char16_t c : text) {
    if (c == u'-') {
      if (seenDigit) break;
      negative = true;
    } else if (IsDigit(c)) {
      const int digit = c - u'0';
      seenDigit = true;
      value = value * 10.0 + digit;
      if (fractionCounter == 0) {
        if (whole > 214748364 || (whole == 214748364 && digit >= 8)) {
          isFloat = true;
        } else {
          whole = whole * 10 + digit;
        }
      } else {
        ++fractionCounter;
      }
    } else if (c == u'.') {
      isFloat = true;
      fractionCounter = 1;
      seenDigit = true;
    } else {
      break;
    }
  }
  if (isFloat) {
    double result = value;
    if (fractionCounter != 0) result = value / std::pow(10.0, static_cast<double>(fractionCounter - 1));
    return Variant::Double(negative ? -result : result);
  }
  return Variant::Long(negative ? -whole : whole);
}

bool IsNumericValue(const Variant& value) {
  switch (value.Type()) {
    case kVarInteger:
    case kVarLong:
    case kVarSingle:
    case kVarDouble:
    case kVarCurrency:
    case kVarDate:
    case kVarBoolean:
    case kVarDecimal:
    case kVarByte:
      return true;
    case kVarString:
      break;
    default:
      return false;
  }
  bool point = false, digit = false, minus = false, plus = false, exponent = false;
  for (const char16_t c : value.AsText()) {
    if (IsDigit(c)) {
      digit = true;
    } else if (c == u'-') {
      if (point || digit || minus || plus) return false;
      minus = true;
    } else if (c == u'.') {
      if (point || exponent) return false;
      point = true;
    } else if (c == u'E' || c == u'e') {
      if (!digit || exponent) return false;
      exponent = true;
      digit = minus = point = false;
    } else if (c == u'+') {
      if (!exponent || digit || minus || plus) return false;
      plus = true;
    } else if (IsWhiteSpace(c)) {
      // White space may only come before the number.
      if (point || digit || exponent || minus) return false;
    } else {
      return false;
    }
  }
  return digit;
}

double ToNumber(const Variant& value) {
  switch (value.Type()) {
    case kVarInteger:
      return value.AsInteger();
    case kVarLong:
      return value.AsLong();
    case kVarSingle:
      return value.AsSingle();
    case kVarDouble:
    case kVarDate:
    case kVarDecimal:  // a decimal is held as its 64-bit float value
      return value.AsDouble();
    case kVarCurrency:
      return static_cast<double>(value.CurrencyScaledValue()) / 10000.0;
    case kVarBoolean:
      return value.AsBoolean() ? -1.0 : 0.0;
    case kVarByte:
      return value.AsByte();
    case kVarString: {
      const Variant number = ParseNumber(value.AsText());
      return number.Type() == kVarLong ? number.AsLong() : number.AsDouble();
    }
    default:
      RaiseError(kErrData, "Unsupported data-type to convert number.");
  }
}

std::u16string FormatDuration(std::int32_t ms, std::int32_t minFields, std::int32_t decimals) {
  const std::int32_t s = ms % 60000;
  std::string text;
  if (minFields > 0 || ms > 59999) {
    if (minFields > 2 || ms / 3600000 > 0) {
      text = fmt::format("{:02}:{:02}:", ms / 3600000, (ms / 60000) % 60);
    } else if (minFields > 1 || ms / 60000 > 0) {
      text = fmt::format("{:02}:", ms / 60000);
    }
    if (s / 1000 < 10) text += '0';
  }
  if (decimals == 0) {
    text += fmt::format("{}", s / 1000);
  } else if (decimals < 0) {
    text += FormatSecondsShortest(s);
  } else {
    text += FormatSecondsFixed(s, std::min(decimals, kMaxDurationDecimals));
  }
  return Widen(text);
}

std::u16string FormatMoneyText(double amount) {
  // Currency: a 64-bit count of ten-thousandths, rounded half to even (the
  // default rounding mode of nearbyint).
  const double scaled = std::nearbyint(amount * 10000.0);
  if (!(scaled > -9223372036854775808.0 && scaled < 9223372036854775808.0)) {
    RaiseError(kErrOverflow, "Overflow");
  }
  const bool negative = scaled < 0;
  const auto magnitude = static_cast<std::uint64_t>(negative ? -scaled : scaled);
  std::uint64_t whole = magnitude / 10000;
  const std::uint64_t tenThousandths = magnitude % 10000;
  std::uint64_t cents = tenThousandths / 100;
  const std::uint64_t rest = tenThousandths % 100;
  if (rest > 50 || (rest == 50 && cents % 2 == 1)) ++cents;
  if (cents == 100) {  // 2.999 reads $3.00
    ++whole;
    cents = 0;
  }
  // An amount that rounds to nothing reads $0.00, without a sign.
  const bool showMinus = negative && (whole != 0 || cents != 0);
  return Widen(fmt::format("{}${}.{:02}", showMinus ? "-" : "", whole, cents));
}

std::vector<std::u16string> SplitArguments(std::u16string_view text) {
  std::vector<std::u16string> parts;
  std::size_t start = 0;
  bool inQuotes = false;
  std::int64_t depth = 0;
  // Walk the text followed by one closing comma.
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const char16_t c = i < text.size() ? text[i] : u',';
    if (c == u'"') {
      inQuotes = !inQuotes;
    } else if (!inQuotes) {
      if (c == u'(') {
        ++depth;
      } else if (c == u')') {
        --depth;
      } else if (c == u',' && depth == 0) {
        const std::size_t end = std::min(i, text.size());
        parts.emplace_back(TrimBlanks(start < end ? text.substr(start, end - start) : std::u16string_view{}));
        start = i + 2;
      }
    }
  }
  // Unbalanced quotes or brackets leave the tail unsplit: it becomes the last
  // part (the whole text when no comma split it), so no argument is lost.
  if (inQuotes || depth != 0) {
    parts.emplace_back(TrimBlanks(start < text.size() ? text.substr(start) : std::u16string_view{}));
  }
  return parts;
}

bool IsQuotedString(std::u16string_view text) {
  std::u16string joined;
  joined.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.substr(i, 3) == u"\":\"") {
      joined += u':';
      i += 2;
    } else {
      joined += text[i];
    }
  }
  return joined.size() >= 2 && joined.front() == u'"' && joined.back() == u'"' &&
         joined.find(u'"', 1) == joined.size() - 1;
}

bool StartsWithText(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && EqualIgnoringCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithText(std::u16string_view text, std::u16string_view suffix) {
  return text.size() >= suffix.size() && EqualIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

std::u16string GetPlatformName() { return u"Windows"; }

std::u16string DescribeEventEntry(std::u16string_view eventName,
                                  const std::vector<std::u16string>& parameters, bool scriptTextEmpty,
                                  bool force) {
  if (scriptTextEmpty && !force) return {};
  std::u16string text(eventName);
  std::u16string joined;
  for (const auto& parameter : parameters) {
    if (parameter.empty()) continue;
    if (!joined.empty()) joined += u", ";
    joined += parameter;
  }
  if (!joined.empty()) text += u" (" + joined + u")";
  return text;
}

}  // namespace kiv
