#include <utility>
#include <vector>

#include "core/data_buffer.h"
#include "core/error.h"
#include "core/log.h"
#include "core/package.h"
#include "core/record_codecs.h"
#include "data/data_hooks.h"
#include "data/find_by_id.h"
#include "data/game_data.h"
#include "data/map_object_settings.h"
#include "data/project_state.h"
#include "data/resource_header.h"
#include "data/sets_linked.h"
#include "media/player_input_state.h"
#include "media/sound_sets.h"
#include "state/controls_block.h"
#include "state/game_state.h"
#include "state/project_settings_block.h"
#include "state/state_block.h"
#include "state/state_block_parts.h"
#include "state/state_hooks.h"

namespace kiv {

namespace {

constexpr std::int32_t kFirstMusicVariation = 100716;
constexpr std::int32_t kInputSetPlayers = 4;

// Smallest stored sizes, to refuse counts that cannot fit in the bytes left.
constexpr std::int32_t kMinResourceSize = 1;
constexpr std::int32_t kMinStringSize = 4;
constexpr std::int32_t kMusicSnapshotSize = 16 + 4 + 4 + 4 + 1;
constexpr std::int32_t kMinStatisticSize = 16 + kMinResourceSize + 3 * kMinStringSize;
constexpr std::int32_t kMinAreaSize = 16 + kMinResourceSize + 2 * kMinStringSize + 4;
constexpr std::int32_t kMinTeamSize = 16 + kMinStringSize;
constexpr std::int32_t kInputSetStateSize = 16 + kInputSetPlayers;

std::int32_t SoundIndexOf(const Identifier& id) {
  for (std::size_t k = 0; k < soundSets.size(); ++k) {
    if (soundSets[k].id == id) return static_cast<std::int32_t>(k);
  }
  return -1;  // also an empty identifier (no sound has it)
}

// The running-game values of a save; the music that was playing goes into
// playing, to start once the whole block has been read.
void ReadGameValues(const ByteList& buffer, std::int32_t& offset, std::int32_t version,
                    std::vector<MusicSnapshot>& playing) {
  gameState.playTime = BufferReadLong(buffer, offset);
  gameState.saveCount = BufferReadLong(buffer, offset);
  gameState.saveDisabled = BufferReadByte(buffer, offset);
  gameState.paused = BufferReadByte(buffer, offset);
  ReadMusicSnapshots(buffer, offset, playing, version);
  ReadMusicSnapshots(buffer, offset, gameState.memorizedMusic, version);
  gameState.musicLocked = BufferReadByte(buffer, offset);
  InterfaceReference& current = projectState.currentPlayerInterface;
  current.name = BufferReadString(buffer, offset);
  current.index = -2;
  current.id = Identifier();
  PlayerInputState& input = playerInputStates[0];
  input.cursorSpriteId = BufferReadIdentifier(buffer, offset);
  input.cursorSprite = IdIsEmpty(input.cursorSpriteId) ? -1 : FindSpriteSetById(input.cursorSpriteId);
  input.cursorColor = BufferReadLong(buffer, offset);
  gameData.gameSpeed = BufferReadSingle(buffer, offset);
}

// The settings of a project, shared with the readers that use them.
void ReadSettings(const ByteList& buffer, std::int32_t& offset, std::int32_t version) {
  StoredProjectSettings settings;
  ReadProjectSettings(buffer, offset, version, settings);
  storedProjectSettings = std::move(settings);
  ShareProjectSettings(storedProjectSettings);
}

void ReadEquipmentAreas(const ByteList& buffer, std::int32_t& offset, std::int32_t version) {
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kMinAreaSize);
  std::vector<EquipmentArea> areas(static_cast<std::size_t>(last + 1));
  for (EquipmentArea& area : areas) {
    area.id = BufferReadIdentifier(buffer, offset);
    ReadImageSource(buffer, area.image, offset, version);
    area.name = BufferReadString(buffer, offset);
    area.displayName = BufferReadString(buffer, offset);
    area.value = BufferReadLong(buffer, offset);
  }
  projectState.equipmentAreas = std::move(areas);
  // The actor readers size each character's equipment by these.
  mapObjectSettings.equipmentAreaIds.clear();
  for (const EquipmentArea& area : projectState.equipmentAreas)
    mapObjectSettings.equipmentAreaIds.push_back(area.id);
}

// The players replace the table only once all of them are read.
void ReadPlayerTable(const ByteList& buffer, std::int32_t& offset, bool full, std::int32_t version) {
  ReadPlayersResult result = ReadPlayers(buffer, offset, full, version);
  std::vector<Actor>& offMap = gameData.maps[-1].actors;
  if (full) {
    // The save's off-map list follows with the maps.
    offMap.assign(static_cast<std::size_t>(result.memberCount), Actor());
  } else {
    // Every player's members share the off-map list.
    RegroupParties(result.players, result.actors);
    offMap = std::move(result.actors);
  }
  projectState.players = std::move(result.players);
}

void ReadTeams(const ByteList& buffer, std::int32_t& offset) {
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kMinTeamSize);
  std::vector<Team> teams(static_cast<std::size_t>(last + 1));
  for (Team& team : teams) {
    team.id = BufferReadIdentifier(buffer, offset);
    team.name = BufferReadString(buffer, offset);
    BufferRequire(buffer, offset, static_cast<std::int64_t>(teams.size()) * 4);
    team.relations.resize(teams.size());
    for (std::int32_t& relation : team.relations) relation = BufferReadLong(buffer, offset);
  }
  projectState.teams = std::move(teams);
  mapObjectSettings.teamLastIndex = last;
}

void ReadInputSetStates(const ByteList& buffer, std::int32_t& offset) {
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kInputSetStateSize);
  for (std::int32_t i = 0; i <= last; ++i) {
    const std::int32_t set = FindInputSetById(BufferReadIdentifier(buffer, offset));
    for (std::int32_t player = 0; player < kInputSetPlayers; ++player) {
      const bool enabled = BufferReadByte(buffer, offset) != 0;
      if (set >= 0) dataHooks.SetInputSetEnabled(player, set, enabled);
    }
  }
}

// One default value per statistic and one default entry per area, each
// carrying its identifier.
void MatchStatisticDefaults() {
  projectState.defaultStatisticValues.resize(gameData.statistics.size());
  for (std::size_t k = 0; k < gameData.statistics.size(); ++k) {
    projectState.defaultStatisticValues[k].id = gameData.statistics[k].id;
  }
}

void MatchDefaultsToTables() {
  MatchStatisticDefaults();
  projectState.defaultEquipment.resize(projectState.equipmentAreas.size());
  for (std::size_t k = 0; k < projectState.equipmentAreas.size(); ++k) {
    projectState.defaultEquipment[k].areaId = projectState.equipmentAreas[k].id;
  }
}

// The part both forms share.
void ReadCommonPart(const ByteList& buffer, std::int32_t& offset, bool full, std::int32_t version) {
  ReadStatistics(buffer, offset, version);
  ReadEquipmentAreas(buffer, offset, version);
  ReadControls(buffer, offset, version);
  ReadSystemScripts(buffer, offset, full, version);
  ReadPlayerTable(buffer, offset, full, version);
  stateHooks.ReadGlobalLists(buffer, offset, version);
  ReadTeams(buffer, offset);
  if (full) ReadInputSetStates(buffer, offset);
  MatchDefaultsToTables();
}

}  // namespace

void ReadStatistics(const ByteList& buffer, std::int32_t& offset, std::int32_t version) {
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kMinStatisticSize);
  std::vector<Statistic> statistics(static_cast<std::size_t>(last + 1));
  for (Statistic& statistic : statistics) {
    statistic.id = BufferReadIdentifier(buffer, offset);
    ReadImageSource(buffer, statistic.image, offset, version);
    statistic.name = BufferReadString(buffer, offset);
    statistic.displayName = BufferReadString(buffer, offset);
    statistic.kind = BufferReadString(buffer, offset);
  }
  gameData.statistics = std::move(statistics);
  MatchStatisticDefaults();
}

// An empty stored list empties the list too, so a save without memorized
// music does not keep the music of the game before.
void ReadMusicSnapshots(const ByteList& buffer, std::int32_t& offset, std::vector<MusicSnapshot>& list,
                        std::int32_t version) {
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kMusicSnapshotSize);
  std::vector<MusicSnapshot> read(static_cast<std::size_t>(last + 1));
  for (MusicSnapshot& entry : read) {
    entry.soundIndex = SoundIndexOf(BufferReadIdentifier(buffer, offset));
    entry.volume = static_cast<float>(BufferReadLong(buffer, offset));
    entry.frequency = static_cast<float>(BufferReadLong(buffer, offset));
    entry.position = BufferReadLong(buffer, offset);
    entry.looping = BufferReadByte(buffer, offset);
    entry.variation = version >= kFirstMusicVariation ? BufferReadLong(buffer, offset) : 0;
  }
  list = std::move(read);
}

void LoadState(const ByteList& buffer, std::int32_t& offset, bool full) {
  LogWriteLine(full ? "Loading state (full)." : "Loading state.");
  std::int32_t version = 0;
  if (full) {
    version = BufferReadLong(buffer, offset);
    if (version > kCurrentFormatVersion) RaiseError(kErrData, "Project is too new for this version of Kiv.");
  } else {
    CheckResourceHeader(buffer, offset, version, kMinStateVersion);
  }
  setsLinked = full;

  std::vector<MusicSnapshot> playing;
  if (full) {
    ReadGameValues(buffer, offset, version, playing);
  } else {
    ReadSettings(buffer, offset, version);
  }
  ReadCommonPart(buffer, offset, full, version);
  // A block that fails to read starts no music.
  if (!playing.empty()) SoundRestoreChannels(playing, 0);
  LogWriteLine("Loaded state.");
}

void LoadProjectState() {
  const ByteList bytes = PackageGetEntryBytes("INTRO.kst", -1);
  std::int32_t offset = 0;
  LoadState(bytes, offset, false);
}

}  // namespace kiv
