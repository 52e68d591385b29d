// Identifiers that only maps serve (an interface ignores them).
#include "commands/map_command_table.h"

namespace kiv {

std::span<const MapCommand> MapOnlyCommands() { return {}; }

}  // namespace kiv
