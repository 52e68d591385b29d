#pragma once
// The order value the next interface opened by a script takes; interfaces
// opened later draw over those opened before them.
#include <cstdint>

namespace kiv {

extern std::int32_t interfaceOrderCounter;

}  // namespace kiv
