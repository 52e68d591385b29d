#include <cmath>
#include <limits>
#include <vector>

#include "core/data_buffer.h"
#include "core/log.h"
#include "core/math_util.h"
#include "core/record_codecs.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "media/player_input_state.h"
#include "media/sound_sets.h"
#include "state/controls_block.h"
#include "state/game_state.h"
#include "state/save_references.h"
#include "state/state_block.h"
#include "state/state_block_parts.h"
#include "state/state_hooks.h"

namespace kiv {

namespace {

constexpr std::int32_t kInputSetPlayers = 4;

void WriteGameValues(ByteList& buffer, std::int32_t& offset) {
  BufferWriteLong(buffer, gameState.playTime, offset);
  BufferWriteLong(buffer, gameState.saveCount, offset);
  BufferWriteByte(buffer, gameState.saveDisabled, offset);
  BufferWriteByte(buffer, gameState.paused, offset);
  std::vector<MusicSnapshot> playing;
  if (SoundSaveChannels(playing) < 0) playing.clear();
  WriteMusicSnapshots(buffer, offset, playing);
  WriteMusicSnapshots(buffer, offset, gameState.memorizedMusic);
  BufferWriteByte(buffer, gameState.musicLocked, offset);
  // The name of a resolved interface is the name of the map it found.
  const InterfaceReference& current = projectState.currentPlayerInterface;
  if (current.index >= 0 && current.index <= gameData.maps.LastIndex()) {
    BufferWriteString(buffer, gameData.maps[current.index].fileName, offset);
  } else {
    BufferWriteString(buffer, current.index == -1 ? std::u16string() : current.name, offset);
  }
  const PlayerInputState& input = playerInputStates[0];
  WriteReference(buffer, offset, SaveTable::kSpriteSet, input.cursorSprite, input.cursorSpriteId);
  BufferWriteLong(buffer, input.cursorColor, offset);
  BufferWriteSingle(buffer, gameData.gameSpeed, offset);
}

void WriteStatistics(ByteList& buffer, std::int32_t& offset) {
  BufferWriteLastIndex(buffer, gameData.statistics.size(), offset);
  for (const Statistic& statistic : gameData.statistics) {
    BufferWriteIdentifier(buffer, statistic.id, offset);
    WriteImageSource(buffer, statistic.image, offset);
    BufferWriteString(buffer, statistic.name, offset);
    BufferWriteString(buffer, statistic.displayName, offset);
    BufferWriteString(buffer, statistic.kind, offset);
  }
}

void WriteEquipmentAreas(ByteList& buffer, std::int32_t& offset) {
  BufferWriteLastIndex(buffer, projectState.equipmentAreas.size(), offset);
  for (const EquipmentArea& area : projectState.equipmentAreas) {
    BufferWriteIdentifier(buffer, area.id, offset);
    WriteImageSource(buffer, area.image, offset);
    BufferWriteString(buffer, area.name, offset);
    BufferWriteString(buffer, area.displayName, offset);
    BufferWriteLong(buffer, area.value, offset);
  }
}

// One relation per team, as many as the reader expects.
void WriteTeams(ByteList& buffer, std::int32_t& offset) {
  const std::size_t count = projectState.teams.size();
  BufferWriteLastIndex(buffer, count, offset);
  for (const Team& team : projectState.teams) {
    BufferWriteIdentifier(buffer, team.id, offset);
    BufferWriteString(buffer, team.name, offset);
    for (std::size_t k = 0; k < count; ++k) {
      BufferWriteLong(buffer, k < team.relations.size() ? team.relations[k] : 0, offset);
    }
  }
}

void WriteInputSetStates(ByteList& buffer, std::int32_t& offset) {
  BufferWriteLastIndex(buffer, gameData.inputSets.size(), offset);
  for (std::size_t set = 0; set < gameData.inputSets.size(); ++set) {
    BufferWriteIdentifier(buffer, gameData.inputSets[set].id, offset);
    for (std::int32_t player = 0; player < kInputSetPlayers; ++player)
      BufferWriteByte(buffer, gameData.inputSets[set].enabled[static_cast<std::size_t>(player)] ? 1 : 0, offset);
  }
}

}  // namespace

void WriteMusicSnapshots(ByteList& buffer, std::int32_t& offset, const std::vector<MusicSnapshot>& list) {
  BufferWriteLastIndex(buffer, list.size(), offset);
  for (const MusicSnapshot& entry : list) {
    Identifier id;
    if (entry.soundIndex >= 0 && entry.soundIndex < static_cast<std::int32_t>(soundSets.size())) {
      id = soundSets[static_cast<std::size_t>(entry.soundIndex)].id;
    }
    BufferWriteIdentifier(buffer, id, offset);
    BufferWriteLong(buffer, RoundToLong(entry.volume), offset);
    BufferWriteLong(buffer, RoundToLong(entry.frequency), offset);
    BufferWriteLong(buffer, entry.position, offset);
    BufferWriteByte(buffer, entry.looping, offset);
    BufferWriteLong(buffer, entry.variation, offset);
  }
}

void SaveState(ByteList& buffer, std::int32_t& offset) {
  LogWriteLine("Saving state.");
  BufferWriteLong(buffer, kCurrentFormatVersion, offset);
  ++gameState.saveCount;
  WriteGameValues(buffer, offset);
  WriteStatistics(buffer, offset);
  WriteEquipmentAreas(buffer, offset);
  WriteControls(buffer, offset);
  WriteSystemScripts(buffer, offset);
  WritePlayers(buffer, offset);
  stateHooks.WriteGlobalLists(buffer, offset);
  WriteTeams(buffer, offset);
  WriteInputSetStates(buffer, offset);
  LogWriteLine("Saved state.");
}

}  // namespace kiv
