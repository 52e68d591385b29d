// Sprite and effect animations played once on a map or interface.
#include "commands/map_command_table.h"

namespace kiv {

std::span<const MapCommand> MapAnimationCommands() { return {}; }

}  // namespace kiv
