// Saving and loading whole games: the round trip, the stream's layout, and
// what a failed save or load leaves behind.
#include "state/save_game.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <utility>

#include "core/error.h"
#include "save_game_fixture.h"

namespace kiv::test {
namespace {

// The offsets at which two streams differ; a length difference counts as one more.
std::vector<std::size_t> Differences(const ByteList& a, const ByteList& b) {
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
    if (a[i] != b[i]) found.push_back(i);
  }
  if (a.size() != b.size()) found.push_back(std::min(a.size(), b.size()));
  return found;
}

std::int32_t LongAt(const ByteList& bytes, std::size_t at) {
  auto offset = static_cast<std::int32_t>(at);
  return BufferReadLong(bytes, offset);
}

// Limits the size of the files this process writes, as a full disk does, while it lives.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit then fails with EFBIG
    rlimit limit = saved_;
    limit.rlim_cur = std::min(bytes, saved_.rlim_max);
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &saved_); }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
};

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(SaveGameTest, AGameSavedLoadedAndSavedAgainGivesTheSameStreamButTheSaveCount) {
  StartSampleGame();
  AddObjectsOfEveryKind();
  gameState.saveCount = 0x1233;
  gameData.maps[MapNamed(u"Town")].actors.at(1).x = 123.25f;  // a live value, not the map file's
  const Map townBefore = gameData.maps[MapNamed(u"Town")];
  const std::size_t offMapActors = gameData.maps[-1].actors.size();
  SaveGame(dir.File("first.kSV"));

  std::vector<std::pair<std::string, float>> progress;
  stateHooks.ShowLoadingProgress = [&progress](const std::string& text, float step) {
    progress.emplace_back(text, step);
  };
  ASSERT_EQ(LoadGame(dir.File("first.kSV")), 0);
  EXPECT_EQ(gameState.saveCount, 0x1234);
  const std::int32_t town = MapNamed(u"Town");
  ASSERT_GE(town, 0);
  EXPECT_EQ(gameData.maps[town].speakers.size(), 1u);
  EXPECT_EQ(gameData.maps[town].projectiles.size(), 1u);
  EXPECT_EQ(gameData.maps[town].actors.size(), townBefore.actors.size());
  EXPECT_EQ(gameData.maps[town].actors.at(1).x, 123.25f);
  EXPECT_EQ(gameData.maps[-1].actors.size(), offMapActors);

  // The loading screen: the opening text, then one step per map that add up to the whole.
  const std::int32_t last = gameData.maps.LastIndex();
  ASSERT_EQ(progress.size(), static_cast<std::size_t>(last + 3));
  EXPECT_EQ(progress[0], std::make_pair(std::string("Loading game, please wait..."), 0.0f));
  for (std::size_t p = 1; p < progress.size(); ++p) {
    EXPECT_EQ(progress[p].first, "");
    EXPECT_FLOAT_EQ(progress[p].second, 1.0f / static_cast<float>(last + 2));
  }

  SaveGame(dir.File("second.kSV"));
  const ByteList first = StreamOf(dir.File("first.kSV"));
  const ByteList second = StreamOf(dir.File("second.kSV"));
  const std::vector<std::size_t> differences = Differences(first, second);
  // Only the low byte of the save count differs: 0x1234 against 0x1235.
  ASSERT_EQ(differences.size(), 1u) << "streams of " << first.size() << " and " << second.size()
                                    << " bytes, first difference at "
                                    << (differences.empty() ? 0 : differences.front());
  EXPECT_EQ(LongAt(first, differences[0]), 0x1234);
  EXPECT_EQ(LongAt(second, differences[0]), 0x1235);
}

TEST_F(SaveGameTest, TheStreamStartsWithTheVersionTwiceAndEndsWithTheEmptyScriptListsAndOurBlock) {
  StartSampleGame();
  SaveGame(dir.File("SAVE0.kSV"));
  const ByteList stream = StreamOf(dir.File("SAVE0.kSV"));
  ASSERT_GE(stream.size(), 16u);
  EXPECT_EQ(LongAt(stream, 0), 100790);
  EXPECT_EQ(LongAt(stream, 4), 100790);
  // The two empty lists, then the extension block with its mark and version.
  const std::size_t block = ExtensionBlockAt(stream);
  ASSERT_GE(block, 8u);
  EXPECT_EQ(LongAt(stream, block - 8), -1);
  EXPECT_EQ(LongAt(stream, block - 4), -1);
  EXPECT_EQ(LongAt(stream, block), kSaveExtensionMark);
  EXPECT_EQ(LongAt(stream, block + 4), kSaveExtensionVersion);
  // The file's length Long is the stream's.
  EXPECT_EQ(LongAt(ReadTestFile(dir.File("SAVE0.kSV")), 0), static_cast<std::int32_t>(stream.size()));
  EXPECT_NE(LogText().find("Saving game to \"" + dir.File("SAVE0.kSV") + "\".\r\n"), std::string::npos);
}

// A map kept by identifier loads with empty lists and its file name, whether
// the reload left a record of that map at its index (with the package's
// objects) or none at all.
TEST_F(SaveGameTest, AMapKeptByIdentifierStoresItsFlagAndIdentifierAndLoadsEmpty) {
  StartSampleGame();
  const std::int32_t last = gameData.maps.LastIndex();
  Map& kept = gameData.maps[last];
  ASSERT_FALSE(kept.isInterface);
  ASSERT_FALSE(kept.actors.empty());
  kept.keptById = true;
  const Identifier id = kept.id;
  const std::u16string fileName = kept.fileName;
  SaveGame(dir.File("SAVE0.kSV"));

  // The last map's 18 bytes, then the two empty script lists and our block.
  const ByteList stream = StreamOf(dir.File("SAVE0.kSV"));
  const std::size_t block = ExtensionBlockAt(stream);
  ASSERT_GE(block, 26u);
  const std::size_t chunk = block - 26;
  EXPECT_EQ(stream[chunk], 0xFF);
  EXPECT_EQ(stream[chunk + 1], 0xFF);
  EXPECT_TRUE(
      std::equal(id.bytes.begin(), id.bytes.end(), stream.begin() + static_cast<std::ptrdiff_t>(chunk) + 2));

  const std::vector<std::pair<std::string, std::function<void(std::int32_t)>>> reloads = {
      {"start with the maps loaded", [](std::int32_t) { StartSampleGame(); }},
      {"start without maps", StateHooks().ReloadGameData},
  };
  for (const auto& [name, reload] : reloads) {
    SCOPED_TRACE(name);
    stateHooks.ReloadGameData = reload;
    ASSERT_EQ(LoadGame(dir.File("SAVE0.kSV")), 0);
    ASSERT_EQ(gameData.maps.LastIndex(), last);
    const Map& loaded = gameData.maps[last];
    EXPECT_TRUE(loaded.keptById);
    EXPECT_EQ(loaded.id, id);
    EXPECT_EQ(loaded.fileName, fileName);
    EXPECT_TRUE(loaded.doors.empty() && loaded.zones.empty() && loaded.actors.empty() &&
                loaded.pickUps.empty() && loaded.lights.empty() && loaded.speakers.empty() &&
                loaded.spawns.empty() && loaded.fields.empty());
  }
}

// The game's start as the reload leaves it decides two things of a load: a
// map flagged to be prepared on load is prepared once read, and the loading
// screen's interface, known only by name, is found among the maps read.
TEST_F(SaveGameTest, LoadingPreparesFlaggedMapsAndFindsTheLoadingInterface) {
  StartSampleGame();
  SaveGame(dir.File("SAVE0.kSV"));
  const std::int32_t town = MapNamed(u"Town");
  stateHooks.ReloadGameData = [town](std::int32_t) {
    StartSampleGame();
    gameData.maps[town].loadFlag = true;
    storedProjectSettings.interfaces[kLoadingInterface] = MapNameReference{-2, u"Hud", Identifier()};
  };
  std::vector<std::pair<std::int32_t, std::int32_t>> prepared;
  stateHooks.GenerateMapData = [&prepared](std::int32_t map, std::int32_t mode) {
    prepared.emplace_back(map, mode);
  };

  ASSERT_EQ(LoadGame(dir.File("SAVE0.kSV")), 0);
  EXPECT_EQ(prepared, (std::vector<std::pair<std::int32_t, std::int32_t>>{{town, 0}}));
  EXPECT_EQ(storedProjectSettings.interfaces[kLoadingInterface].index, MapNamed(u"Hud"));
  EXPECT_GE(MapNamed(u"Hud"), 0);
}

// A map a script loaded is flagged; the save keeps the flag, so the loaded
// game flags it again and generates its data, while an unflagged map stays so.
TEST_F(SaveGameTest, TheFlagOfMapsLoadedByScriptsIsKept) {
  StartSampleGame();
  const std::int32_t town = MapNamed(u"Town");
  const std::int32_t cellar = MapNamed(u"Cellar");
  gameData.maps[town].loadFlag = true;
  gameData.maps[cellar].loadFlag = false;
  SaveGame(dir.File("SAVE0.kSV"));
  stateHooks.ReloadGameData = [](std::int32_t) { StartSampleGame(); };
  std::vector<std::pair<std::int32_t, std::int32_t>> prepared;
  stateHooks.GenerateMapData = [&prepared](std::int32_t map, std::int32_t mode) {
    prepared.emplace_back(map, mode);
  };

  ASSERT_EQ(LoadGame(dir.File("SAVE0.kSV")), 0);
  EXPECT_TRUE(gameData.maps[MapNamed(u"Town")].loadFlag);
  EXPECT_FALSE(gameData.maps[MapNamed(u"Cellar")].loadFlag);
  EXPECT_EQ(prepared, (std::vector<std::pair<std::int32_t, std::int32_t>>{{MapNamed(u"Town"), 0}}));
}

TEST_F(SaveGameTest, EverySaveRaisesTheSaveCount) {
  StartSampleGame();
  gameState.saveCount = 5;
  SaveGame(dir.File("SAVE0.kSV"));
  SaveGame(dir.File("SAVE0.kSV"));
  EXPECT_EQ(gameState.saveCount, 7);
}

TEST_F(SaveGameTest, AMissingFileIsErrorFiftyThreeAndTouchesOnlyTheLog) {
  StartSampleGame();
  std::filesystem::create_directory(dir.File("SAVE2.kSV"));
  const std::int32_t maps = gameData.maps.LastIndex();
  for (const std::string name : {"SAVE3.kSV", "SAVE2.kSV"}) {
    SCOPED_TRACE(name);
    tickBaseResets = 0;
    EXPECT_EQ(LoadGame(dir.File(name)), 53);
    EXPECT_EQ(reloads, 0);
    EXPECT_EQ(gameData.maps.LastIndex(), maps);
    EXPECT_EQ(tickBaseResets, 1);
    EXPECT_NE(LogText().find("Loading game from \"" + dir.File(name) + "\".\r\n"), std::string::npos);
  }
}

// A save whose damage shows before the game is touched: the load is refused
// and the running game stays exactly as it was.
TEST_F(SaveGameTest, ADamagedFileIsRefusedBeforeTheGameIsTouched) {
  StartSampleGame();
  SaveGame(dir.File("good.kSV"));
  const ByteList file = ReadTestFile(dir.File("good.kSV"));
  const ByteList stream = StreamOf(dir.File("good.kSV"));
  const auto length = static_cast<std::int32_t>(stream.size());

  auto withLength = [&file](std::int32_t value) {
    ByteList changed = file;
    std::int32_t offset = 0;
    BufferWriteLong(changed, value, offset);
    return changed;
  };
  ByteList newer = stream;
  std::int32_t offset = 0;
  BufferWriteLong(newer, 100791, offset);
  ByteList flipped = file;
  flipped[file.size() / 2] ^= 0x55;

  const std::vector<std::pair<std::string, ByteList>> cases = {
      {"negative length", withLength(-1)},
      {"length beyond any save", withLength(0x7FFFFFFF)},
      {"length one short", withLength(length - 1)},
      {"length one long", withLength(length + 1)},
      {"file cut in half",
       ByteList(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(file.size() / 2))},
      {"file cut inside the length", ByteList(file.begin(), file.begin() + 3)},
      {"empty file", ByteList()},
      {"damaged compressed data", flipped},
      {"newer version", SaveFileOf(newer)},
  };

  Map& town = gameData.maps[MapNamed(u"Town")];
  town.actors.at(1).x = 123.5f;
  const std::int32_t maps = gameData.maps.LastIndex();
  const std::int32_t saveCount = gameState.saveCount;
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    WriteTestFile(dir.File("bad.kSV"), bytes);
    tickBaseResets = 0;
    EXPECT_EQ(LoadGame(dir.File("bad.kSV")), kErrData);
    EXPECT_EQ(reloads, 0);
    EXPECT_EQ(tickBaseResets, 1);
    EXPECT_EQ(gameData.maps.LastIndex(), maps);
    EXPECT_EQ(gameData.maps[MapNamed(u"Town")].actors.at(1).x, 123.5f);
    EXPECT_EQ(gameState.saveCount, saveCount);
  }
}

// Damage that only reading the contents finds: the game returns to its start
// (reloaded once more, waiting scripts and timed changes emptied), never half replaced.
TEST_F(SaveGameTest, DamageFoundWhileReadingResetsTheGameToItsStart) {
  StartSampleGame();
  const std::size_t offMapActorsAtStart = gameData.maps[-1].actors.size();  // the party
  AddObjectsOfEveryKind();
  SaveGame(dir.File("good.kSV"));
  const ByteList stream = StreamOf(dir.File("good.kSV"));
  const ByteList cut(stream.begin(), stream.end() - static_cast<std::ptrdiff_t>(stream.size() / 3));
  WriteTestFile(dir.File("cut.kSV"), SaveFileOf(cut));

  int runStateResets = 0;
  dataHooks.ResetScriptRunState = [&runStateResets] { ++runStateResets; };
  int loadEvents = 0;
  stateHooks.RunLoadEvent = [&loadEvents] { ++loadEvents; };
  EXPECT_EQ(LoadGame(dir.File("cut.kSV")), kErrData);
  EXPECT_EQ(reloads, 2);
  EXPECT_EQ(runStateResets, 2);
  EXPECT_EQ(loadEvents, 0);
  EXPECT_GE(tickBaseResets, 1);
  // The default reload keeps only the off-map record, holding the party again.
  EXPECT_EQ(gameData.maps.LastIndex(), -1);
  EXPECT_EQ(gameData.maps[-1].actors.size(), offMapActorsAtStart);

  // The game can be loaded again whole.
  EXPECT_EQ(LoadGame(dir.File("good.kSV")), 0);
  EXPECT_EQ(loadEvents, 1);
  EXPECT_GE(MapNamed(u"Town"), 0);
}

// A save that fails on its way leaves the previous save byte for byte and no
// temporary file; the error reaches the caller after the clock was reset.
TEST_F(SaveGameTest, AFailedSaveKeepsThePreviousFile) {
  StartSampleGame();
  SaveGame(dir.File("SAVE0.kSV"));
  const ByteList previous = ReadTestFile(dir.File("SAVE0.kSV"));
  const std::vector<std::string> files = FilesIn(dir.Path());

  const std::vector<std::pair<std::string, std::function<void()>>> failures = {
      {"a script list that cannot be written",
       [] {
         stateHooks.WriteScriptRunState = [](ByteList&, std::int32_t&) {
           RaiseError(kErrData, "Disk full.");
         };
       }},
      {"a full disk", [] { stateHooks.WriteScriptRunState = StateHooks().WriteScriptRunState; }},
  };
  for (const auto& [name, fail] : failures) {
    SCOPED_TRACE(name);
    fail();
    // The disk is "full" halfway through the save.
    FileSizeLimit limit(name == "a full disk" ? previous.size() / 2 : RLIM_INFINITY);
    tickBaseResets = 0;
    EXPECT_THROW(SaveGame(dir.File("SAVE0.kSV")), KivError);
    EXPECT_EQ(tickBaseResets, 1);
    EXPECT_EQ(ReadTestFile(dir.File("SAVE0.kSV")), previous);
    EXPECT_EQ(FilesIn(dir.Path()), files);
  }

  tickBaseResets = 0;
  try {
    SaveGame(dir.File("missing/SAVE0.kSV"));
    ADD_FAILURE() << "a save into a missing folder succeeded";
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), kErrData);
  }
  EXPECT_EQ(tickBaseResets, 1);
}

}  // namespace
}  // namespace kiv::test
