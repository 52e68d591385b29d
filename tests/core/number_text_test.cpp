#include "core/number_text.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/error.h"

namespace kiv {
namespace {

struct ParseCase {
  std::u16string text;
  bool isDouble;
  double value;
};

TEST(ParseNumber, ReadsTheLeadingNumberAndStopsWhereItCannotGoOn) {
  const ParseCase cases[] = {
      {u"12abc", false, 12},
      {u"abc", false, 0},
      {u"", false, 0},
      {u"-5", false, -5},
      {u"--5", false, -5},  // more than one leading minus is still one minus
      {u"-", false, 0},
      {u"  7  ", false, 7},
      {u"\t7", false, 0},  // only blanks are trimmed
      {u"5-", false, 5},
      {u"1E5", false, 1},  // no exponents
      {u"3.25", true, 3.25},
      {u"1.2.3", true, 12.3},  // every point restarts the fraction
      {u".5", true, 0.5},
      {u"-.5", true, -0.5},
      {u"1.-5", true, 1.0},  // a minus after the point ends the number
      {u"7.", true, 7.0},
      {u"2147483647", false, 2147483647.0},
      {u"-2147483647", false, -2147483647.0},
      {u"2147483648", true, 2147483648.0},
      {u"-2147483648", true, -2147483648.0},
      {u"21474836479", true, 21474836479.0},
      {u"2147483639", false, 2147483639.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
    const Variant result = ParseNumber(c.text);
    if (c.isDouble) {
      ASSERT_EQ(result.Type(), kVarDouble);
      EXPECT_DOUBLE_EQ(result.AsDouble(), c.value);
    } else {
      ASSERT_EQ(result.Type(), kVarLong);
      EXPECT_EQ(result.AsLong(), static_cast<std::int32_t>(c.value));
    }
  }
}

TEST(IsNumericValue, TextsFollowTheScanRules) {
  const std::pair<std::u16string, bool> cases[] = {
      {u"1.5e-3", true}, {u"1.5e", false},  {u"e5", false},  {u"+5", false},    {u"", false},
      {u".", false},     {u" -.5", true},   {u"1e+5", true}, {u"5 ", false},    {u"\t\r\n5", true},
      {u"1E5", true},    {u"1e5.5", false}, {u"--5", false}, {u"5-", false},    {u"1e+-5", false},
      {u"1.2.3", false}, {u"abc", false},   {u"-", false},   {u"1e5e5", false}, {u"-5", true},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(std::string(text.begin(), text.end()));
    EXPECT_EQ(IsNumericValue(Variant::Text(text)), expected);
  }
}

TEST(IsNumericValue, NumbersBooleansAndDatesAreNumericOtherTypesAreNot) {
  EXPECT_TRUE(IsNumericValue(Variant::Integer(1)));
  EXPECT_TRUE(IsNumericValue(Variant::Long(1)));
  EXPECT_TRUE(IsNumericValue(Variant::Single(1)));
  EXPECT_TRUE(IsNumericValue(Variant::Double(1)));
  EXPECT_TRUE(IsNumericValue(Variant::CurrencyScaled(1)));
  EXPECT_TRUE(IsNumericValue(Variant::Date(1)));
  EXPECT_TRUE(IsNumericValue(Variant::Boolean(false)));
  EXPECT_TRUE(IsNumericValue(Variant::Byte(1)));
  EXPECT_FALSE(IsNumericValue(Variant()));
  EXPECT_FALSE(IsNumericValue(Variant::FromRaw(kVarNull, 0, 0)));
  EXPECT_FALSE(IsNumericValue(Variant::FromRaw(kVarError, 0, 0)));
  EXPECT_FALSE(IsNumericValue(Variant::Array(kVarLong, {Variant::Long(1)})));
}

TEST(ToNumber, ConvertsNumbersBooleansAndTexts) {
  EXPECT_EQ(ToNumber(Variant::Boolean(true)), -1.0);
  EXPECT_EQ(ToNumber(Variant::Boolean(false)), 0.0);
  EXPECT_EQ(ToNumber(Variant::Integer(-3)), -3.0);
  EXPECT_EQ(ToNumber(Variant::Byte(200)), 200.0);
  EXPECT_EQ(ToNumber(Variant::Single(0.5f)), 0.5);
  EXPECT_DOUBLE_EQ(ToNumber(Variant::CurrencyScaled(12345)), 1.2345);
  EXPECT_EQ(ToNumber(Variant::Text(u"1E5")), 1.0);  // numeric text, but the parser stops at E
  EXPECT_EQ(ToNumber(Variant::Text(u"2147483648")), 2147483648.0);
  EXPECT_EQ(ToNumber(Variant::Text(u"-12")), -12.0);
}

TEST(ToNumber, OtherTypesRaiseTheConversionError) {
  for (const Variant& value : {Variant(), Variant::FromRaw(kVarNull, 0, 0), Variant::Array(kVarString, {})}) {
    try {
      ToNumber(value);
      ADD_FAILURE() << "type " << value.Type() << " converted";
    } catch (const KivError& error) {
      EXPECT_EQ(error.Number(), -1);
      EXPECT_STREQ(error.what(), "Unsupported data-type to convert number.");
    }
  }
}

struct DurationCase {
  std::int32_t ms, minFields, decimals;
  std::u16string expected;
};

TEST(FormatDuration, FieldsPaddingAndDecimals) {
  const DurationCase cases[] = {
      {65500, 0, 2, u"01:05.50"},
      {5000, 0, 0, u"5"},
      {5000, 1, 0, u"05"},
      {5000, 2, 0, u"00:05"},
      {5000, 3, 0, u"00:00:05"},
      {3725000, 0, 0, u"01:02:05"},
      {0, 0, 0, u"0"},
      {0, 0, -1, u"0"},
      {65000, 0, 0, u"01:05"},
      {60000, 0, 0, u"01:00"},
      {65250, 0, 2, u"01:05.25"},
      {15000, 1, 0, u"15"},  // no pad from ten seconds on
      {1500, 0, -1, u"1.5"},
      {61234, 0, -1, u"01:01.234"},
      {61234, 0, 5, u"01:01.23400"},
      {1050, 0, 1, u"1.1"},
      {1040, 0, 1, u"1.0"},
      {59000, 0, 0, u"59"},
      {360000000, 0, 0, u"100:00:00"},  // hours take as many digits as they need
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.ms << " " << c.minFields << " " << c.decimals);
    EXPECT_EQ(FormatDuration(c.ms, c.minFields, c.decimals), c.expected);
  }
}

TEST(FormatMoneyText, CentsRoundHalfToEvenAndCarryIntoTheWholePart) {
  const std::pair<double, std::u16string> cases[] = {
      {12.5, u"$12.50"},   {3.07, u"$3.07"},
      {0, u"$0.00"},       {12.05, u"$12.05"},
      {7, u"$7.00"},       {0.125, u"$0.12"},
      {0.135, u"$0.14"},   {2.985, u"$2.98"},
      {2.999, u"$3.00"},   {2.995, u"$3.00"},
      {-1.5, u"-$1.50"},   {-0.004, u"$0.00"},
      {-2.999, u"-$3.00"}, {92233720368.5, u"$92233720368.50"},
  };
  for (const auto& [amount, expected] : cases) {
    SCOPED_TRACE(amount);
    EXPECT_EQ(FormatMoneyText(amount), expected);
  }
}

TEST(FormatMoneyText, AmountsOutsideTheCurrencyRangeOverflow) {
  for (const double amount : {1e15, -1e15, std::nan("")}) {
    try {
      FormatMoneyText(amount);
      ADD_FAILURE() << amount << " formatted";
    } catch (const KivError& error) {
      EXPECT_EQ(error.Number(), 6);
    }
  }
}

TEST(SplitArguments, SplitsAtTopLevelCommasAndSkipsTheCharacterAfterEach) {
  using Parts = std::vector<std::u16string>;
  const std::pair<std::u16string, Parts> cases[] = {
      {u"a, (b, c), \"d, e\"", {u"a", u"(b, c)", u"\"d, e\""}},
      {u"x", {u"x"}},
      {u"", {u""}},
      {u"1, 2", {u"1", u"2"}},
      {u" a ,  b ", {u"a", u"b"}},
      {u"ab,cd", {u"ab", u"d"}},  // the character after the comma is dropped whatever it is
      {u"a, ", {u"a", u""}},
      {u"f(a, b", {u"f(a, b"}},  // unbalanced: the whole text
      {u"\"a, b", {u"\"a, b"}},
      {u"a, \"b, c", {u"a", u"\"b, c"}},  // an unbalanced tail is kept as the last part
      {u"a, b), c", {u"a", u"b), c"}},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(std::string(text.begin(), text.end()));
    EXPECT_EQ(SplitArguments(text), expected);
  }
}

TEST(IsQuotedString, OneQuotedTextWithQuoteColonQuoteJoined) {
  const std::pair<std::u16string, bool> cases[] = {
      {u"\"a\":\"b\"", true}, {u"\"a\" \"b\"", false},
      {u"\"", false},         {u"\"\"", true},
      {u"\"abc\"", true},     {u"abc", false},
      {u"\"a\"b\"", false},   {u"\"a", false},
      {u"a\"", false},        {u"\"a\":\"b\":\"c\"", true},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(std::string(text.begin(), text.end()));
    EXPECT_EQ(IsQuotedString(text), expected);
  }
}

TEST(StartsAndEndsWithText, IgnoreLetterCase) {
  EXPECT_TRUE(StartsWithText(u"Trigger.Actor", u"trigger."));
  EXPECT_TRUE(StartsWithText(u"\u00C4rger", u"\u00E4R"));
  EXPECT_TRUE(StartsWithText(u"\u0416\u0443\u043A", u"\u0436"));
  EXPECT_TRUE(StartsWithText(u"abc", u""));
  EXPECT_FALSE(StartsWithText(u"ab", u"abc"));
  EXPECT_FALSE(StartsWithText(u"abc", u"b"));
  EXPECT_TRUE(EndsWithText(u"town.KMP", u".kmp"));
  EXPECT_FALSE(EndsWithText(u"kmp", u".kmp"));
  EXPECT_FALSE(EndsWithText(u"town.kmp", u".kui"));
}

TEST(GetPlatformName, IsTheNameThatStoredScreenLayoutsCompareWith) {
  EXPECT_EQ(GetPlatformName(), u"Windows");
}

TEST(DescribeEventEntry, NameAndNonEmptyParametersWhenTheScriptHasText) {
  const std::vector<std::u16string> parameters{u"\"Door\"", u"", u"3"};
  EXPECT_EQ(DescribeEventEntry(u"Trigger.Actor.Touched", parameters, false, false),
            u"Trigger.Actor.Touched (\"Door\", 3)");
  EXPECT_EQ(DescribeEventEntry(u"Trigger.Actor.Touched", parameters, true, false), u"");
  EXPECT_EQ(DescribeEventEntry(u"Trigger.Actor.Touched", parameters, true, true),
            u"Trigger.Actor.Touched (\"Door\", 3)");
  EXPECT_EQ(DescribeEventEntry(u"Trigger.Map.Loaded", {u"", u""}, false, false), u"Trigger.Map.Loaded");
  EXPECT_EQ(DescribeEventEntry(u"Trigger.Map.Loaded", {}, false, false), u"Trigger.Map.Loaded");
}

}  // namespace
}  // namespace kiv
