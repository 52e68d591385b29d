#pragma once
// The identifiers of one stage of the map and interface executor: code to the
// case that serves it for the map of the reference.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "commands/internal_call.h"

namespace kiv {

using MapHandler = void (*)(InternalCall& call, std::int32_t map);

struct MapCommand {
  std::string_view name;  // the fixed identifier
  MapHandler handler;
};

class MapCommandTable {
 public:
  explicit MapCommandTable(std::span<const MapCommand> commands);
  // nullptr when the stage does not serve the code.
  MapHandler For(std::int32_t code) const;

 private:
  std::vector<MapHandler> handlers_;
};

// The families of the stages (one file each).
std::span<const MapCommand> MapAnimationCommands();
std::span<const MapCommand> InterfaceOnlyCommands();
std::span<const MapCommand> MapOnlyCommands();
std::span<const MapCommand> MapSharedCommands();
std::span<const MapCommand> MapSpawnCommands();
std::span<const MapCommand> InterfaceCommands();

}  // namespace kiv
