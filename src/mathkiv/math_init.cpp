#include "mathkiv/math_init.h"

#include <string>

#include "core/error.h"

namespace kiv {

MathKivSettings mathKivSettings;

void MathInit(std::int32_t pathCellSize, std::int32_t projectValue) {
  if (pathCellSize < 1 || pathCellSize > 32)
    RaiseError(kErrData, "Invalid path-finding cell size " + std::to_string(pathCellSize) + ".");
  mathKivSettings.pathCellSize = pathCellSize;
  mathKivSettings.projectValue = projectValue;
}

}  // namespace kiv
