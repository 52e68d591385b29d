#include "core/text_encoding.h"

#include <gtest/gtest.h>

namespace kiv {
namespace {

TEST(TextEncoding, Windows1252RoundTripsThroughUtf16AndUtf8) {
  // Euro sign (0x80), e acute (0xE9), left double quote (0x93), plain ASCII.
  const std::string ansi = "\x80 caf\xE9 \x93q\x94";
  const std::u16string text = AnsiToUtf16(ansi);
  EXPECT_EQ(text, u"\u20AC caf\u00E9 \u201Cq\u201D");
  EXPECT_EQ(Utf16ToAnsi(text), ansi);
  EXPECT_EQ(AnsiToUtf8(ansi), "\xE2\x82\xAC caf\xC3\xA9 \xE2\x80\x9Cq\xE2\x80\x9D");
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(ansi)), ansi);
}

TEST(TextEncoding, UnmappableAndBrokenInputIsReplacedNotOverrun) {
  EXPECT_EQ(Utf16ToAnsi(u"a\u4E2Db"), "a?b");
  EXPECT_EQ(Utf8ToUtf16("a\xE2\x82"), u"a\uFFFD\uFFFD");  // cut sequence at the end
  EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80"), u"\U0001F600");
  EXPECT_EQ(Utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t{0xD800})), "\xEF\xBF\xBD");  // lone surrogate
}

}  // namespace
}  // namespace kiv
