#pragma once
// Millisecond clock and sleep in place of the Windows tick count.
#include <cstdint>

namespace kiv::os {

// Milliseconds since an arbitrary start, wrapping at 2^32 like the Windows tick count.
std::uint32_t GetTickCount();
void Sleep(std::uint32_t milliseconds);

}  // namespace kiv::os
