#include "player/marked_removal.h"

#include <cstddef>
#include <vector>

#include "core/number_text.h"
#include "data/game_data.h"
#include "player/character_system_fields.h"
#include "player/character_world.h"
#include "script/script_value.h"
#include "script/timed_changes.h"
#include "script/waits.h"

namespace kiv {

namespace {

// Timed-change target kinds that name one character, and the kind whose
// target is an array of characters.
constexpr std::int32_t kCharacterTargetKinds[] = {kObjectActor, kObjectCharacter, kObjectVehicle, kObjectTurret,
                                                  kObjectDynamic};
constexpr std::int32_t kCharacterArrayKind = kObjectTeam;
constexpr std::int32_t kFieldTargetKinds[] = {kObjectField, kObjectCameraView};

bool NamesCharacter(const WaitingScript& w, std::int32_t map, std::int32_t c) {
  return w.map == map && w.actor == c;
}

bool NamesField(const WaitingScript& w, std::int32_t map, std::int32_t f) {
  return w.map == map && (w.fieldText == f || w.fieldTarget == f);
}

template <typename Names>
bool AnyWaitNames(Names names) {
  for (const WaitingScript& w : waitingScripts)
    if (names(w)) return true;
  return false;
}

template <typename Names>
void RemoveWaitsNaming(Names names) {
  for (auto i = static_cast<std::int32_t>(waitingScripts.size()) - 1; i >= 0; --i)
    if (i < static_cast<std::int32_t>(waitingScripts.size()) && names(waitingScripts[static_cast<std::size_t>(i)]))
      RemoveWaitingScript(i);
}

bool TargetIs(const ScriptValue& target, const std::int32_t* kinds, std::size_t count, std::int32_t map,
              std::int32_t index) {
  bool kindMatches = false;
  for (std::size_t k = 0; k < count; ++k) kindMatches = kindMatches || target.kind == kinds[k];
  if (!kindMatches || target.mapIndex != map || target.value.IsArray()) return false;
  return IsNumericValue(target.value) && ToNumber(target.value) == index;
}

void EraseTimedChange(std::int32_t i) { timedChanges.erase(timedChanges.begin() + i); }

// Timed changes that name the character leave; an array of characters that
// holds it loses it, and the change leaves when fewer than two remained.
void DropCharacterTimedChanges(std::int32_t map, std::int32_t c) {
  for (auto i = static_cast<std::int32_t>(timedChanges.size()) - 1; i >= 0; --i) {
    ScriptValue& target = timedChanges[static_cast<std::size_t>(i)].target;
    if (TargetIs(target, kCharacterTargetKinds, std::size(kCharacterTargetKinds), map, c)) {
      EraseTimedChange(i);
      continue;
    }
    if (target.kind != kCharacterArrayKind || target.mapIndex != map || !target.value.IsArray()) continue;
    std::vector<Variant>& elements = target.value.Elements();
    std::size_t found = elements.size();
    for (std::size_t e = 0; e < elements.size() && found == elements.size(); ++e)
      if (IsNumericValue(elements[e]) && ToNumber(elements[e]) == c) found = e;
    if (found == elements.size()) continue;
    if (elements.size() < 2) {
      EraseTimedChange(i);
    } else {
      elements.erase(elements.begin() + static_cast<std::ptrdiff_t>(found));
    }
  }
}

void DropFieldTimedChanges(std::int32_t map, std::int32_t f) {
  for (auto i = static_cast<std::int32_t>(timedChanges.size()) - 1; i >= 0; --i)
    if (TargetIs(timedChanges[static_cast<std::size_t>(i)].target, kFieldTargetKinds, std::size(kFieldTargetKinds),
                 map, f))
      EraseTimedChange(i);
}

void RemoveCharacters(std::int32_t map) {
  for (auto c = static_cast<std::int32_t>(gameData.maps[map].actors.size()) - 1; c >= 0; --c) {
    if (static_cast<std::size_t>(c) >= gameData.maps[map].actors.size()) continue;
    const std::int32_t mark = RemoveMark(gameData.maps[map].actors[static_cast<std::size_t>(c)]);
    if (mark < 0) continue;
    const auto names = [map, c](const WaitingScript& w) { return NamesCharacter(w, map, c); };
    // A waiting script that names the character holds it back, unless forced.
    if (mark != kForcedRemoveMark && AnyWaitNames(names)) continue;
    DropCharacterTimedChanges(map, c);
    RemoveWaitsNaming(names);
    characterWorld.ShiftCharacterRefs(map, c, -1, true);
    std::vector<Actor>& actors = gameData.maps[map].actors;
    if (static_cast<std::size_t>(c) < actors.size()) actors.erase(actors.begin() + c);
  }
}

void RemoveFields(std::int32_t map) {
  for (auto f = static_cast<std::int32_t>(gameData.maps[map].fields.size()) - 1; f >= 0; --f) {
    if (static_cast<std::size_t>(f) >= gameData.maps[map].fields.size()) continue;
    const std::int32_t mark = FieldRemoveMark(gameData.maps[map].fields[static_cast<std::size_t>(f)]);
    if (mark < 0) continue;
    const auto names = [map, f](const WaitingScript& w) { return NamesField(w, map, f); };
    if (mark != kForcedRemoveMark && AnyWaitNames(names)) continue;
    DropFieldTimedChanges(map, f);
    RemoveWaitsNaming(names);
    characterWorld.ShiftFieldRefs(map, f, -1, true);
    std::vector<Field>& fields = gameData.maps[map].fields;
    if (static_cast<std::size_t>(f) < fields.size()) fields.erase(fields.begin() + f);
  }
}

}  // namespace

void RemoveMarkedObjects(std::int32_t map) {
  if (map < -1 || map > gameData.maps.LastIndex()) return;
  RemoveCharacters(map);
  RemoveFields(map);
  if (map < 0) return;  // the off-map list is never reloaded
  const std::uint8_t reload = gameData.maps[map].pendingReload;
  if ((reload & 1) != 0) {
    gameData.maps[map].pendingReload = 0;
    characterWorld.ReloadMap(map, (reload & 2) != 0, true, (reload & 4) != 0);
  }
}

}  // namespace kiv
