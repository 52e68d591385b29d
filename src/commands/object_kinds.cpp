#include "commands/object_executor.h"
#include "commands/object_kind_commands.h"

namespace kiv {

namespace {

struct ObjectKindEntry {
  std::int32_t kind;
  ObjectKindEntryFn entry;
};

// One line per kind the executor takes; any other kind is "Invalid object type.".
constexpr ObjectKindEntry kObjectKinds[] = {
    {kObjectMap, RunMapProperty},
    {kObjectTeam, RunTeamProperty},
    {kObjectPartyMember, RunPartyMemberProperty},
    {kObjectDoor, RunDoorProperty},
    {kObjectLight, RunLightProperty},
    {kObjectZone, RunZoneProperty},
    {kObjectSpawn, RunSpawnProperty},
    {kObjectItem, RunItemProperty},
    {kObjectEffect, RunEffectProperty},
    {kObjectEquipmentArea, RunEquipmentAreaProperty},
    {kObjectStatistic, RunStatisticProperty},
    {kObjectInputSet, RunInputSetProperty},
    {kObjectSpeaker, RunSpeakerProperty},
    {kObjectPlayer, RunPartyProperty},
    {kObjectSprite, RunEffectProperty},
    {kObjectFont, RunFontProperty},
};

}  // namespace

ObjectKindEntryFn ObjectKindEntryFor(std::int32_t kind) {
  for (const ObjectKindEntry& entry : kObjectKinds) {
    if (entry.kind == kind) return entry.entry;
  }
  return nullptr;
}

}  // namespace kiv
