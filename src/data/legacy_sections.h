#pragma once
// Sections of old map files that are converted into current objects while
// they are read: vehicles (before 100601) and turrets (before 100605) become
// actors, dynamic objects (before 100636) fields of an interface or actors of
// a map. The converted record goes to the given index of the map's actor or
// field list, which must exist.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/byte_list.h"
#include "data/map_record.h"

namespace kiv {

// An old per-event script of an object and the trigger it becomes: the slot
// of the script, the trigger's event and its first two parameters (nullptr
// for none).
struct OldScriptEvent {
  std::size_t slot;
  const char16_t* event;
  const char16_t* kind;
  const char16_t* flag;
};

// Adds the trigger of each old script to triggers, in the order of events
// (see AddTriggerFromScript; force keeps empty scripts too).
void AddOldScriptTriggers(std::vector<Trigger>& triggers, std::span<const Script> scripts,
                          std::span<const OldScriptEvent> events, bool force);

void ReadLegacyVehicle(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map,
                       std::int32_t actorIndex, bool withState);
void ReadLegacyTurret(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map,
                      std::int32_t actorIndex, bool withState);
// targetIndex is the index in the field list (interfaces) or the actor list (maps).
void ReadLegacyDynamicObject(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map,
                             std::int32_t mapIndex, std::int32_t targetIndex, bool isSave);

}  // namespace kiv
