#include "state/save_game.h"

#include <exception>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

#include "core/data_buffer.h"
#include "core/error.h"
#include "core/log.h"
#include "core/package.h"
#include "core/text_encoding.h"
#include "core/zlib_file.h"
#include "data/game_data.h"
#include "data/game_loading.h"
#include "data/linking.h"
#include "data/map_reader.h"
#include "data/map_references.h"
#include "data/project_state.h"
#include "media/sound_channels.h"
#include "platform/audio/mixer.h"
#include "state/map_section_writers.h"
#include "state/project_settings_block.h"
#include "state/save_extension.h"
#include "state/save_file_writer.h"
#include "state/state_block.h"
#include "state/state_hooks.h"

namespace kiv {
namespace {

// The working buffer starts this large; writes grow it when a chunk needs more.
constexpr std::size_t kWorkingBufferSize = 0x20000 + 1;
// The smallest chunk of a map: the kept-by-identifier flag and the identifier.
constexpr std::int32_t kMinMapChunkSize = 2 + 16;

// Hands the bytes written so far to the compressor and starts the buffer over.
void FlushChunk(SaveFileWriter& file, ByteList& buffer, std::int32_t& offset) {
  buffer.resize(static_cast<std::size_t>(offset));
  file.Write(buffer.data(), buffer.size());
  buffer.clear();
  offset = 0;
}

void WriteSaveFile(const std::string& path) {
  SaveFileWriter file(path);
  ByteList buffer;
  buffer.reserve(kWorkingBufferSize);
  std::int32_t offset = 0;

  BufferWriteLong(buffer, kSaveFormatVersion, offset);
  SaveState(buffer, offset);
  const std::int32_t last = gameData.maps.LastIndex();
  BufferWriteLong(buffer, last, offset);
  for (std::int32_t m = -1; m <= last; ++m) {
    Map& map = gameData.maps[m];
    BufferWriteBoolean(buffer, map.keptById, offset);
    if (map.keptById) {
      // A few bytes: they wait in the buffer for the next full chunk.
      BufferWriteIdentifier(buffer, map.id, offset);
      continue;
    }
    if (m >= 0) {
      BufferWriteString(buffer, map.fileName, offset);
      WriteMapHeader(map, buffer, offset);
      WriteMapProperties(map, buffer, offset, true);
    }
    WriteMapBody(map, buffer, offset, true);
    FlushChunk(file, buffer, offset);
  }
  stateHooks.WriteScriptRunState(buffer, offset);
  WriteSaveExtension(buffer, offset);
  FlushChunk(file, buffer, offset);
  file.Commit();
}

// The whole stream of the save at path, checked before anything of the
// running game is touched. Sets version to the stream's version.
ByteList ReadSaveStream(const std::string& path, std::int32_t& offset, std::int32_t& version) {
  // A folder of that name is no save either.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    RaiseError(kErrFileNotFound, "File not found: \"" + Utf8ToAnsi(path) + "\".");
  }
  ByteList file = ReadFileBytes(path);
  std::int32_t position = 0;
  const std::int32_t length = BufferReadLong(file, position);
  if (length < 0 || length > kMaxSaveStreamLength) {
    RaiseError(kErrData, "The save \"" + Utf8ToAnsi(path) + "\" is damaged: wrong stream length.");
  }
  ByteList stream;
  ZlibUncompress(file.data() + position, file.size() - static_cast<std::size_t>(position), stream, length);
  file = ByteList();
  offset = 0;
  version = BufferReadLong(stream, offset);
  if (version > kSaveFormatVersion) {
    RaiseError(kErrData, "The save \"" + Utf8ToAnsi(path) + "\" was written by a newer version (" +
                             std::to_string(version) + ").");
  }
  return stream;
}

void ClearObjectLists(Map& map) {
  map.doors.clear();
  map.zones.clear();
  map.boundaries.clear();
  map.actors.clear();
  map.pickUps.clear();
  map.lights.clear();
  map.speakers.clear();
  map.projectiles.clear();
  map.spawns.clear();
  map.fields.clear();
  map.positionedTexts.clear();
}

// The package's map entries by the identifier in their header, gathered the
// first time a map kept by identifier asks for its file name.
class MapEntryNames {
 public:
  // The file name of the first map entry with the identifier, "" when none has it.
  std::u16string NameOf(const Identifier& id) {
    if (!gathered_) Gather();
    for (const auto& [entryId, name] : entries_) {
      if (entryId == id) return name;
    }
    return std::u16string();
  }

 private:
  void Gather() {
    gathered_ = true;
    std::vector<std::string> names;
    for (std::string name = PackageFindNextLike("*.kmp"); !name.empty(); name = PackageFindNextLike("")) {
      names.push_back(name);
    }
    for (const std::string& name : names) {
      if (PackageNameLike(name, "test~*")) continue;
      Identifier id;
      try {
        if (!MapFileIdentifier(PackageGetEntryBytes(name, kMapIdentifierEnd), id)) continue;
      } catch (const KivError&) {
        continue;  // an entry that cannot be read cannot be loaded either
      }
      entries_.emplace_back(id, AnsiToUtf16(name.substr(0, name.size() - 4)));
    }
  }

  // The resource header of the current format and the map's identifier.
  static constexpr std::int32_t kMapIdentifierEnd = 24 + 16;
  bool gathered_ = false;
  std::vector<std::pair<Identifier, std::u16string>> entries_;
};

// One map's chunk into the record at index m of the maps table.
void ReadSavedMap(const ByteList& stream, std::int32_t& offset, std::int32_t version, std::int32_t m,
                  MapEntryNames& entryNames) {
  Map& map = gameData.maps[m];
  map.keptById = BufferReadBoolean(stream, offset);
  if (map.keptById) {
    map.id = BufferReadIdentifier(stream, offset);
    ClearObjectLists(map);
    // Only the identifier is stored, but the map is loaded by its file name
    // when first needed: the record may be one the reload made for another map.
    const std::u16string fileName = entryNames.NameOf(map.id);
    if (!fileName.empty()) map.fileName = map.fileName2 = fileName;
    return;
  }
  // The chunk replaces the map's contents: its grids are built and its data
  // generated anew.
  map.mapDataPrepared = false;
  map.sectorGridBuilt = false;
  if (m >= 0) {
    map.fileName = BufferReadString(stream, offset);
    map.fileName2 = map.fileName;
    ReadMapHeader(stream, offset, version, map);
    ReadMapProperties(stream, offset, version, map, true);
  }
  ReadMapBody(stream, offset, version, m, true);
}

// The loading screen's interface, known by name until the maps hold it.
void ResolveLoadingInterface() {
  MapNameReference& loading = storedProjectSettings.interfaces[kLoadingInterface];
  if (loading.index != -2) return;
  ResolveMapReference(loading.index, loading.name, loading.id, true, true);
}

// Everything after the file's version, into a game just reset to its start.
void ReadSavedGame(const ByteList& stream, std::int32_t& offset, std::int32_t version) {
  LoadState(stream, offset, true);
  stateHooks.InitResources(0xC000);
  for (std::size_t p = 0; p < projectState.players.size(); ++p) LinkPlayerItems(static_cast<std::int32_t>(p));
  for (std::size_t s = 0; s < gameData.items.size(); ++s) LinkItemSet(static_cast<std::int32_t>(s));
  for (std::size_t s = 0; s < gameData.tileSets.size(); ++s) LinkTileSet(static_cast<std::int32_t>(s));
  for (std::size_t s = 0; s < gameData.spriteSets.size(); ++s) LinkSpriteSet(static_cast<std::int32_t>(s));

  // The table keeps the records it has up to the stored last index; further
  // records are added as their chunks come, so a damaged count costs nothing.
  const std::int32_t last = BufferReadLastIndex(stream, offset, kMinMapChunkSize);
  while (gameData.maps.LastIndex() > last) gameData.maps.RemoveLast();
  const float step = 1.0f / static_cast<float>(last + 2);
  MapEntryNames entryNames;
  for (std::int32_t m = -1; m <= last; ++m) {
    if (m > gameData.maps.LastIndex()) gameData.maps.Append();
    ReadSavedMap(stream, offset, version, m, entryNames);
    stateHooks.ShowLoadingProgress("", step);
    ResolveLoadingInterface();
  }

  LoadAllInterfaces();
  RelinkLoadedMaps();
  stateHooks.ReadScriptRunState(stream, offset, version);
  ReadSaveExtension(stream, offset);
  // Maps that scripts loaded have their data generated again, now that the
  // save has said which they are.
  for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) {
    if (gameData.maps[m].loadFlag && !gameData.maps[m].keptById) stateHooks.GenerateMapData(m, 0);
  }
  stateHooks.RefreshViewedMaps(0);
  stateHooks.ResetTickBase();
  stateHooks.RunLoadEvent();
}

// The number of the error being handled, logged with its message.
std::int32_t ReportLoadError(const std::string& path) {
  std::int32_t number = kErrData;
  std::string message;
  try {
    throw;
  } catch (const KivError& e) {
    number = e.Number();
    message = e.what();
  } catch (const std::bad_alloc&) {
    number = kErrOutOfMemory;
    message = kOutOfMemoryText;
  } catch (const std::length_error&) {
    number = kErrOutOfMemory;
    message = kOutOfMemoryText;
  } catch (const std::exception& e) {
    message = e.what();
  }
  LogWriteLine("Could not load game \"" + Utf8ToAnsi(path) + "\": error #" + std::to_string(number) + ": " +
               message);
  return number;
}

// The tick base after a failed load; a failure here only adds to the log.
void ResetTickBaseAfterError(const std::string& path) {
  try {
    stateHooks.ResetTickBase();
  } catch (...) {
    ReportLoadError(path);
  }
}

}  // namespace

void SaveGame(const std::string& path) {
  LogWriteLine("Saving game to \"" + Utf8ToAnsi(path) + "\".");
  // Sound goes on by itself while the compressor holds this thread.
  audio::SetUpdateThreads(true);
  std::exception_ptr failure;
  try {
    WriteSaveFile(path);
  } catch (...) {
    failure = std::current_exception();
  }
  audio::SetUpdateThreads(false);
  // The time spent saving is not game time.
  stateHooks.ResetTickBase();
  if (failure) std::rethrow_exception(failure);
}

std::int32_t LoadGame(const std::string& path) {
  LogWriteLine("Loading game from \"" + Utf8ToAnsi(path) + "\".");
  ByteList stream;
  std::int32_t offset = 0;
  std::int32_t version = 0;
  try {
    stateHooks.ShowLoadingProgress("Loading game, please wait...", 0.0f);
    stream = ReadSaveStream(path, offset, version);
  } catch (...) {
    const std::int32_t number = ReportLoadError(path);
    ResetTickBaseAfterError(path);
    return number;
  }

  std::int32_t result = 0;
  try {
    SoundStopAll();
    audio::Update(0);
    stateHooks.ReloadGameData(0);
    ReadSavedGame(stream, offset, version);
  } catch (...) {
    result = ReportLoadError(path);
    // A game half replaced by the save cannot go on: it returns to its start.
    try {
      stateHooks.ReloadGameData(0);
    } catch (...) {
      ReportLoadError(path);
    }
  }
  if (result != 0) ResetTickBaseAfterError(path);
  return result;
}

}  // namespace kiv
