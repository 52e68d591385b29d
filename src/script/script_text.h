#pragma once
// Small text helpers of the script engine: trimming blanks, letter case, and
// the safe substring that script texts are cut with.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// Without blanks (U+0020) at both ends, at the start, or at the end.
std::u16string TrimBlanks(std::u16string_view text);
std::u16string TrimLeftBlanks(std::u16string_view text);
// Letters in lower (upper) case: ASCII and the Latin-1 letters.
std::u16string ToLowerText(std::u16string_view text);
std::u16string ToUpperText(std::u16string_view text);
// One letter in lower case, as ToLowerText changes it.
char16_t ToLowerChar(char16_t c);
// Trimmed and in lower case: the form of keywords and loose name comparison.
std::u16string TrimLower(std::u16string_view text);
// The part from start (0-based) to the end; empty when start is past the end.
std::u16string TextFrom(std::u16string_view text, std::size_t start);
// The text split at every CR LF; an empty text gives one empty line.
std::vector<std::u16string> SplitLines(std::u16string_view text);

}  // namespace kiv
