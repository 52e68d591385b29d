#pragma once
#include <cstdint>

namespace kiv {

// The format version at the head of every data file we write, and the newest one we read.
inline constexpr std::int32_t kCurrentFormatVersion = 100790;

}  // namespace kiv
