#pragma once
#include <cstdint>
#include <vector>

namespace kiv {

// A byte array indexed from 0; its "last index" is size() - 1 (-1 when empty).
using ByteList = std::vector<std::uint8_t>;

inline std::int32_t LastIndex(const ByteList& bytes) { return static_cast<std::int32_t>(bytes.size()) - 1; }

}  // namespace kiv
