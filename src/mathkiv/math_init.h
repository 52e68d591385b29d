#pragma once
// Start-up settings of the library.
#include <cstdint>

namespace kiv {

struct MathKivSettings {
  // Pixels between path-finding grid points; the collision grids have
  // 32 / pathCellSize points per tile side.
  std::int32_t pathCellSize = 32;
  // The second project value handed over at start-up. It is kept as given;
  // no function of the library reads it.
  std::int32_t projectValue = 0;

  void Reset() { *this = MathKivSettings{}; }
};

extern MathKivSettings mathKivSettings;

// Takes the path-finding cell size and the project value. A cell size outside
// 1..32 would make grids of no points per tile (or divide by zero): it is
// refused with error -1 and the settings stay as they were.
void MathInit(std::int32_t pathCellSize, std::int32_t projectValue);

}  // namespace kiv
