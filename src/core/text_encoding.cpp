#include "core/text_encoding.h"

#include <array>
#include <cstdint>

namespace kiv {
namespace {

// Windows-1252 bytes 0x80..0x9F; 0 where the code page has no character
// (those bytes map to the C1 control of the same value, as Windows does).
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t AnsiByteToUnit(unsigned char b) {
  if (b >= 0x80 && b <= 0x9F && kHigh[b - 0x80] != 0) return kHigh[b - 0x80];
  return static_cast<char16_t>(b);
}

char UnitToAnsiByte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (std::size_t i = 0; i < kHigh.size(); ++i) {
    if (kHigh[i] == 0 && c == 0x80 + i) return static_cast<char>(c);
    if (kHigh[i] != 0 && kHigh[i] == c) return static_cast<char>(0x80 + i);
  }
  return '?';
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one UTF-8 sequence at pos; an invalid or cut sequence gives U+FFFD and advances by one byte.
char32_t NextUtf8(std::string_view s, std::size_t& pos) {
  const auto b0 = static_cast<unsigned char>(s[pos]);
  if (b0 < 0x80) {
    ++pos;
    return b0;
  }
  const std::size_t extra = (b0 & 0xE0) == 0xC0 ? 1 : (b0 & 0xF0) == 0xE0 ? 2 : (b0 & 0xF8) == 0xF0 ? 3 : 0;
  if (extra == 0 || pos + extra >= s.size()) {
    ++pos;
    return 0xFFFD;
  }
  char32_t c = b0 & (0x3F >> extra);
  for (std::size_t i = 1; i <= extra; ++i) {
    const auto b = static_cast<unsigned char>(s[pos + i]);
    if ((b & 0xC0) != 0x80) {
      ++pos;
      return 0xFFFD;
    }
    c = (c << 6) | (b & 0x3F);
  }
  pos += extra + 1;
  return c;
}

// Decodes one code point of UTF-16; a lone surrogate stays as it is.
char32_t NextUtf16(std::u16string_view s, std::size_t& pos) {
  const char16_t u = s[pos++];
  if (u >= 0xD800 && u < 0xDC00 && pos < s.size() && s[pos] >= 0xDC00 && s[pos] < 0xE000) {
    const char16_t low = s[pos++];
    return 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (low - 0xDC00);
  }
  return u;
}

}  // namespace

std::u16string AnsiToUtf16(std::string_view ansi) {
  std::u16string out;
  out.reserve(ansi.size());
  for (char c : ansi) out += AnsiByteToUnit(static_cast<unsigned char>(c));
  return out;
}

std::string Utf16ToAnsi(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) out += UnitToAnsiByte(NextUtf16(text, i));
  return out;
}

std::string AnsiToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (char c : ansi) AppendUtf8(out, AnsiByteToUnit(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf8ToAnsi(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) out += UnitToAnsiByte(NextUtf8(utf8, i));
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t c = NextUtf16(text, i);
    if (c >= 0xD800 && c < 0xE000) c = 0xFFFD;
    AppendUtf8(out, c);
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t c = NextUtf8(utf8, i);
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

}  // namespace kiv
