#pragma once
// The largest text a script function builds. A width or a replacement that
// would pass it is refused before any memory is taken, so that a script asking
// for two billion characters fails with error 7 instead of exhausting memory.
#include <cstdint>

#include "core/error.h"

namespace kiv {

inline constexpr std::uint64_t kScriptTextByteCap = 64ULL * 1024 * 1024;

// Raises 7 when a text of that many UTF-16 characters would pass the cap.
inline void CheckTextLength(std::uint64_t characters) {
  if (characters > kScriptTextByteCap / sizeof(char16_t)) RaiseError(kErrOutOfMemory, kOutOfMemoryText);
}

}  // namespace kiv
