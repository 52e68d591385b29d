#include "data/find_by_id.h"

#include <string>

#include "core/error.h"
#include "data/game_data.h"
#include "data/map_object_settings.h"
#include "data/project_state.h"
#include "media/controls_table.h"
#include "media/sound_sets.h"

namespace kiv {

std::int32_t FindIdentifierIn(std::int32_t count, const std::function<const Identifier&(std::int32_t)>& idAt,
                              const Identifier& id) {
  for (std::int32_t i = 0; i < count; ++i) {
    if (IdEquals(idAt(i), id)) return i;
  }
  return IdIsEmpty(id) ? -1 : -2;
}

std::int32_t ResolveIdentifierIn(std::int32_t& index, Identifier& id, std::int32_t count,
                                 const std::function<const Identifier&(std::int32_t)>& idAt, bool keepEmpty) {
  if (index < 0 && index != -2) return index;
  const std::int32_t found = FindIdentifierIn(count, idAt, id);
  if (found >= 0) {
    index = found;
  } else if (!IdIsEmpty(id)) {
    index = -2;
  } else if (index == -2) {
    index = -1;
  } else if (!keepEmpty) {
    // An empty identifier at an index: the pair takes that record's identifier.
    if (index >= count) {
      RaiseError(kErrIndex, "Subscript out of range: reference " + std::to_string(index) + " beyond " +
                                std::to_string(count) + " records.");
    }
    IdCopy(id, idAt(index));
  }
  return index;
}

std::int32_t FindTileSetById(const Identifier& id) { return FindRecordById(gameData.tileSets, id); }
std::int32_t FindSpriteSetById(const Identifier& id) { return FindRecordById(gameData.spriteSets, id); }
std::int32_t FindInputSetById(const Identifier& id) { return FindRecordById(gameData.inputSets, id); }
std::int32_t FindControlById(const Identifier& id) { return FindRecordById(controls, id); }
std::int32_t FindItemById(const Identifier& id) { return FindRecordById(gameData.items, id); }
std::int32_t FindDoorSetById(const Identifier& id) { return FindRecordById(gameData.doorSets, id); }
std::int32_t FindFontSetById(const Identifier& id) { return FindRecordById(gameData.fontSets, id); }
std::int32_t FindSoundSetById(const Identifier& id) { return FindRecordById(soundSets, id); }
std::int32_t FindActorTemplateById(const Identifier& id) { return FindRecordById(gameData.actorTemplates, id); }
std::int32_t FindTeamById(const Identifier& id) { return FindRecordById(projectState.teams, id); }

void ResolveSoundSetRef(std::int32_t& index, Identifier& id) { ResolveRecordRef(index, id, soundSets); }
void ResolveSpriteSetRef(std::int32_t& index, Identifier& id) { ResolveRecordRef(index, id, gameData.spriteSets); }
void ResolveItemRef(std::int32_t& index, Identifier& id) { ResolveRecordRef(index, id, gameData.items); }
void ResolveTileSetRef(std::int32_t& index, Identifier& id) { ResolveRecordRef(index, id, gameData.tileSets); }

void ResolveEquipmentAreaRef(std::int32_t& index, Identifier& id) {
  const std::vector<Identifier>& areas = mapObjectSettings.equipmentAreaIds;
  ResolveIdentifierIn(index, id, static_cast<std::int32_t>(areas.size()),
                      [&areas](std::int32_t i) -> const Identifier& { return areas[static_cast<std::size_t>(i)]; });
}

}  // namespace kiv
