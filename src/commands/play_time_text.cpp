#include "commands/play_time_text.h"

#include <cmath>
#include <cstdio>

#include "core/text_encoding.h"

namespace kiv {

std::u16string PlayTimeText(std::int32_t milliseconds, bool letters) {
  // The time is turned into a fraction of a day by a factor held in single
  // precision, so one day counts as slightly more than 86,400,000 ms; the
  // seconds are then rounded to the nearest, as a time of day is shown.
  constexpr float kDayPerMillisecond = 1.157407e-8f;
  const double days = static_cast<double>(milliseconds) * static_cast<double>(kDayPerMillisecond);
  const long long totalSeconds = std::llround(days * 86400.0);
  const long long hours = totalSeconds / 3600;
  const int minutes = static_cast<int>(totalSeconds / 60 % 60);
  const int seconds = static_cast<int>(totalSeconds % 60);
  char text[48];
  std::snprintf(text, sizeof text, letters ? "%02lldh %02dm %02ds" : "%02lld:%02d:%02d", hours, minutes, seconds);
  return AnsiToUtf16(text);
}

}  // namespace kiv
