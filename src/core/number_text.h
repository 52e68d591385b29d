#pragma once
// Conversions between game text and numbers that scripts can observe: the
// tolerant decimal parser, the numeric test, duration and money texts, the
// splitting of argument texts, and a few small text tests.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/variant.h"

namespace kiv {

// Reads a decimal number from the start of the text (blanks around it are
// ignored) and stops at the first character it cannot use, never failing:
// "12abc" is 12, "1E5" is 1, "--5" is -5, "1.2.3" is 12.3 (every point restarts
// the fraction). The result is a Long, or a Double when the text has a point or
// does not fit in 32 bits.
Variant ParseNumber(std::u16string_view text);

// True for the numeric, boolean, date and byte types, and for a text that holds
// exactly one number (optional leading white space, sign, point, exponent).
bool IsNumericValue(const Variant& value);

// The value as a 64-bit float (true is -1, texts through ParseNumber); other
// types raise -1 "Unsupported data-type to convert number.".
double ToNumber(const Variant& value);

// Timer text of a count of milliseconds: [hh:]mm:ss or plain seconds, with at
// least minFields fields (1 seconds padded, 2 minutes, 3 hours) and decimals
// fraction digits of the second (0 none, below 0 as many as needed).
std::u16string FormatDuration(std::int32_t ms, std::int32_t minFields, std::int32_t decimals);

// "$12.50": the amount taken as currency (four places, halves to even), the
// cents rounded half to even. Negative amounts read "-$1.50". Amounts outside
// the currency range raise 6 "Overflow".
std::u16string FormatMoneyText(double amount);

// Splits an argument text at the commas outside double quotes and brackets.
// The texts write ", " between arguments, so the character after each comma is
// skipped; every part is trimmed of blanks.
std::vector<std::u16string> SplitArguments(std::u16string_view text);

// True when the text (after "\":\"" is read as ":") is one double-quoted text
// with no other double quote inside.
bool IsQuotedString(std::u16string_view text);

// Whether the text begins (ends) with the given part, ignoring letter case.
bool StartsWithText(std::u16string_view text, std::u16string_view prefix);
bool EndsWithText(std::u16string_view text, std::u16string_view suffix);

// The platform name that scripts read; screen layouts of maps compare with it.
std::u16string GetPlatformName();

// The event part of an error report: the event's name and its non-empty
// parameters in brackets, or nothing when the script has no text (unless forced).
std::u16string DescribeEventEntry(std::u16string_view eventName,
                                  const std::vector<std::u16string>& parameters, bool scriptTextEmpty,
                                  bool force);

}  // namespace kiv
