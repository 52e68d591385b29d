#pragma once
// The play time as the scripts show it.
#include <cstdint>
#include <string>

namespace kiv {

// "hh:mm:ss" (semicolon form) or "hhh mmm sss" with the letters h, m, s
// (slash form). The hours count on past a day, with at least two digits.
std::u16string PlayTimeText(std::int32_t milliseconds, bool letters);

}  // namespace kiv
