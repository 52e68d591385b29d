// The map and interface kind of the object executor: the stages run in order,
// each testing the code on its own, so one identifier may pass several.
#include "commands/map_command_table.h"
#include "commands/object_executor.h"
#include "data/game_data.h"

namespace kiv {

namespace {

const MapCommandTable& AnimationStage() {
  static const MapCommandTable table(MapAnimationCommands());
  return table;
}
const MapCommandTable& InterfaceOnlyStage() {
  static const MapCommandTable table(InterfaceOnlyCommands());
  return table;
}
const MapCommandTable& MapOnlyStage() {
  static const MapCommandTable table(MapOnlyCommands());
  return table;
}
const MapCommandTable& SharedStage() {
  static const MapCommandTable table(MapSharedCommands());
  return table;
}
const MapCommandTable& SpawnStage() {
  static const MapCommandTable table(MapSpawnCommands());
  return table;
}
const MapCommandTable& InterfaceStage() {
  static const MapCommandTable table(InterfaceCommands());
  return table;
}

// A case may run scripts that load maps; the index is checked again before
// each stage.
std::int32_t MapOfReference(const InternalCall& call) {
  const std::size_t count = static_cast<std::size_t>(gameData.maps.LastIndex() + 1);
  return static_cast<std::int32_t>(ObjectListIndex(call.object.value, count));
}

void RunStage(const MapCommandTable& stage, InternalCall& call) {
  if (const MapHandler handler = stage.For(call.code)) handler(call, MapOfReference(call));
}

}  // namespace

void RunMapProperty(InternalCall& call) {
  const std::int32_t map = MapOfReference(call);
  RunStage(AnimationStage(), call);
  RunStage(gameData.maps[map].isInterface ? InterfaceOnlyStage() : MapOnlyStage(), call);
  RunStage(SharedStage(), call);
  RunStage(SpawnStage(), call);
  RunStage(InterfaceStage(), call);
}

}  // namespace kiv
