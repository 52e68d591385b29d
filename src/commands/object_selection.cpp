// The codes each kind of the object executor and the field and camera-view
// executor serve, gathered from their named cases.
#include <map>
#include <string>

#include "commands/actor_selection.h"
#include "commands/field_view_call.h"
#include "commands/map_command_table.h"
#include "commands/object_kind_commands.h"
#include "core/text_encoding.h"
#include "script/script_value.h"

namespace kiv {

namespace {

using Gathered = std::map<std::int32_t, std::vector<std::int32_t>>;

void AddKind(Gathered& gathered, std::int32_t code, std::int32_t kind) {
  std::vector<std::int32_t>& kinds = gathered[code];
  for (const std::int32_t listed : kinds) {
    if (listed == kind) return;
  }
  kinds.push_back(kind);
}

void AddCommands(Gathered& gathered, std::span<const InternalCommand> commands, std::int32_t kind) {
  for (const InternalCommand& command : commands) AddKind(gathered, ObjectCommandCode(command.name), kind);
}

void AddMapCommands(Gathered& gathered, std::span<const MapCommand> commands) {
  for (const MapCommand& command : commands) AddKind(gathered, ObjectCommandCode(command.name), kObjectMap);
}

std::vector<ServedIdentifier> Listed(const Gathered& gathered) {
  std::vector<ServedIdentifier> served;
  for (const auto& [code, kinds] : gathered) served.push_back({code, kinds});
  return served;
}

}  // namespace

std::vector<ServedIdentifier> ObjectExecutorServes() {
  Gathered gathered;
  const auto present = [](std::int32_t kind) { return ObjectKindEntryFor(kind) != nullptr; };
  if (present(kObjectMap)) {
    for (const auto family : {MapAnimationCommands, InterfaceOnlyCommands, MapOnlyCommands, MapSharedCommands,
                              MapSpawnCommands, InterfaceCommands})
      AddMapCommands(gathered, family());
  }
  if (present(kObjectTeam)) {
    for (const ServedIdentifier& actor : ActorExecutorServes()) AddKind(gathered, actor.code, kObjectTeam);
  }
  struct KindCommands {
    std::int32_t kind;
    std::span<const InternalCommand> (*commands)();
  };
  const KindCommands kinds[] = {
      {kObjectPartyMember, PartyMemberCommands}, {kObjectDoor, DoorCommands},
      {kObjectLight, LightCommands},             {kObjectZone, ZoneCommands},
      {kObjectSpawn, SpawnCommands},             {kObjectItem, ItemCommands},
      {kObjectEffect, EffectCommands},           {kObjectSprite, EffectCommands},
      {kObjectEquipmentArea, EquipmentAreaCommands}, {kObjectStatistic, StatisticCommands},
      {kObjectInputSet, InputSetCommands},       {kObjectSpeaker, SpeakerCommands},
      {kObjectPlayer, PartyCommands},            {kObjectPlayer, PartyControlCommands},
      {kObjectFont, FontCommands},
  };
  for (const KindCommands& entry : kinds) {
    if (present(entry.kind)) AddCommands(gathered, entry.commands(), entry.kind);
  }
  return Listed(gathered);
}

std::vector<ServedIdentifier> FieldViewExecutorServes() {
  Gathered gathered;
  const auto add = [&](std::span<const FieldViewIdentifier> identifiers, std::int32_t kind) {
    for (const FieldViewIdentifier& identifier : identifiers) {
      AddKind(gathered, ObjectCommandCode(Utf16ToUtf8(identifier.name)), kind);
    }
  };
  add(FieldIdentifiers(), kObjectField);
  add(ViewIdentifiers(), kObjectCameraView);
  return Listed(gathered);
}

}  // namespace kiv
