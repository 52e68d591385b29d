#include "world/world_settings.h"

#include "data/game_data.h"
#include "state/project_settings_block.h"
#include "world/hit_lists.h"

namespace kiv {

HitLists hitLists;

namespace {
// Option flag n sits at index n - 1.
bool ProjectFlag(int n) { return storedProjectSettings.flags[static_cast<std::size_t>(n - 1)] != 0; }
}  // namespace

std::int32_t PathCellSize() { return dataSettings.gridCellSize; }
std::int32_t PathGridOrigin() { return dataSettings.gridOrigin; }
bool TallWalls() { return ProjectFlag(6); }
bool QuietBlockingZones() { return ProjectFlag(15); }
bool FlatMovement() { return ProjectFlag(11); }

}  // namespace kiv
