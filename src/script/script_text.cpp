#include "script/script_text.h"

namespace kiv {

namespace {

char16_t UpperChar(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<char16_t>(c - 32);
  return c;
}

}  // namespace

char16_t ToLowerChar(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<char16_t>(c + 32);
  return c;
}

std::u16string TrimBlanks(std::u16string_view text) {
  const std::size_t first = text.find_first_not_of(u' ');
  if (first == std::u16string_view::npos) return std::u16string();
  const std::size_t last = text.find_last_not_of(u' ');
  return std::u16string(text.substr(first, last - first + 1));
}

std::u16string TrimLeftBlanks(std::u16string_view text) {
  const std::size_t first = text.find_first_not_of(u' ');
  if (first == std::u16string_view::npos) return std::u16string();
  return std::u16string(text.substr(first));
}

std::u16string ToLowerText(std::u16string_view text) {
  std::u16string result(text);
  for (char16_t& c : result) c = ToLowerChar(c);
  return result;
}

std::u16string ToUpperText(std::u16string_view text) {
  std::u16string result(text);
  for (char16_t& c : result) c = UpperChar(c);
  return result;
}

std::u16string TrimLower(std::u16string_view text) { return ToLowerText(TrimBlanks(text)); }

std::u16string TextFrom(std::u16string_view text, std::size_t start) {
  if (start >= text.size()) return std::u16string();
  return std::u16string(text.substr(start));
}

std::vector<std::u16string> SplitLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(u"\r\n", start);
    if (end == std::u16string_view::npos) {
      lines.emplace_back(text.substr(start));
      return lines;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 2;
  }
}

}  // namespace kiv
