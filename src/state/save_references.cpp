#include "state/save_references.h"

#include <string>
#include <vector>

#include "core/data_buffer.h"
#include "core/log.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "media/controls_table.h"
#include "media/sound_sets.h"

namespace kiv {

Identifier WildcardIdentifier() {
  Identifier id;
  IdFill(id, 0xFF);
  return id;
}

namespace {

template <typename Record>
bool IdAt(const std::vector<Record>& table, std::int32_t index, Identifier& id) {
  if (static_cast<std::size_t>(index) >= table.size()) return false;
  id = table[static_cast<std::size_t>(index)].id;
  return true;
}

bool TableIdentifier(SaveTable table, std::int32_t index, Identifier& id) {
  switch (table) {
    case SaveTable::kTileSet: return IdAt(gameData.tileSets, index, id);
    case SaveTable::kSoundSet: return IdAt(soundSets, index, id);
    case SaveTable::kSpriteSet: return IdAt(gameData.spriteSets, index, id);
    case SaveTable::kDoorSet: return IdAt(gameData.doorSets, index, id);
    case SaveTable::kItem: return IdAt(gameData.items, index, id);
    case SaveTable::kFontSet: return IdAt(gameData.fontSets, index, id);
    case SaveTable::kControl: return IdAt(controls, index, id);
    case SaveTable::kActorTemplate: return IdAt(gameData.actorTemplates, index, id);
    case SaveTable::kTeam: return IdAt(projectState.teams, index, id);
  }
  return false;
}

}  // namespace

void WriteReference(ByteList& buffer, std::int32_t& offset, SaveTable table, std::int32_t index,
                    const Identifier& kept, bool wildcardAllowed) {
  Identifier id;  // none
  if (index == -2 || index == -4) {
    id = kept;
  } else if (index == -3 && wildcardAllowed) {
    id = WildcardIdentifier();
  } else if (index >= 0) {
    if (!TableIdentifier(table, index, id)) {
      id = Identifier();
      LogWriteLine("Save: reference " + std::to_string(index) + " of table " +
                   std::to_string(static_cast<int>(table)) + " is beyond the table; saved as none.");
    }
  } else if (index != -1) {
    LogWriteLine("Save: reference " + std::to_string(index) + " of table " +
                 std::to_string(static_cast<int>(table)) + " is not a valid index; saved as none.");
  }
  BufferWriteIdentifier(buffer, id, offset);
}

}  // namespace kiv
