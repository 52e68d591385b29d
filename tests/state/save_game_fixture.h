#pragma once
// The sample game started as a player starts it, with an object of every kind
// on its maps, and the helpers the save-file tests share: the uncompressed
// stream of a save, and save files rebuilt from a changed stream.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/data_buffer.h"
#include "core/log.h"
#include "core/package.h"
#include "core/symbol_table.h"
#include "core/zlib_file.h"
#include "data/data_hooks.h"
#include "data/game_data.h"
#include "data/game_data_reset.h"
#include "data/game_loading.h"
#include "data/map_object_settings.h"
#include "data/map_references.h"
#include "data/project_state.h"
#include "data/script_record.h"
#include "data/sets_linked.h"
#include "media/controls_table.h"
#include "media/sound_sets.h"
#include "state/game_state.h"
#include "state/project_settings_block.h"
#include "state/save_extension.h"
#include "state/save_game.h"
#include "state/state_block.h"
#include "state/state_hooks.h"
#include "runtime/runtime_startup.h"
#include "script/script_hooks.h"
#include "script/trigger_hooks.h"
#include "support/sample_game.h"
#include "support/temp_dir.h"

namespace kiv::test {

class SaveGameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Clear();
    LogOpen(dir.File("log.txt"));
    stateHooks.ResetTickBase = [this] { ++tickBaseResets; };
    const auto reload = stateHooks.ReloadGameData;
    stateHooks.ReloadGameData = [this, reload](std::int32_t mode) {
      ++reloads;
      reload(mode);
    };
  }
  void TearDown() override {
    LogClose();
    Clear();
  }

  static void Clear() {
    SymbolTableReset();
    package.Reset();
    gameData.Reset();
    soundSets.clear();
    controls.clear();
    projectState.Reset();
    storedProjectSettings.Reset();
    scriptTable.Reset();
    dataHooks.Reset();
    stateHooks.Reset();
    scriptHooks.Reset();
    triggerHooks.Reset();
    RuntimeStartUp();  // a game runs with every library wired
    dataSettings.Reset();
    mapObjectSettings.Reset();
    gameLoadLog.Reset();
    gameState.Reset();
    systemScripts.fill(Script());
    setsLinked = false;
    ResetGameData();
  }

  // The sample game as a new game starts: project state, sets, interfaces and both maps.
  static void StartSampleGame() {
    const ByteList bytes = SampleGamePackage().Build();
    package.packageEntries = PackageParse(bytes.data(), bytes.size(), kPackageOldNameLength);
    package.packagePath = "/games/sample/DATA.kRC";
    ResetGameData();
    LoadProjectState();
    ASSERT_TRUE(LoadGameData());
    for (std::u16string name : {u"Cellar", u"Town"}) {
      std::int32_t index = -2;
      ResolveMapReference(index, name, Identifier(), false, true);
      ASSERT_GE(index, 0);
    }
  }

  static std::int32_t MapNamed(const std::u16string& name) {
    for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) {
      if (gameData.maps[m].fileName == name) return m;
    }
    return -1;
  }

  // The sample holds doors, zones, actors, pick-ups, lights and fields; the
  // other kinds are added to "Town", and an actor to the off-map record.
  static void AddObjectsOfEveryKind() {
    Map& town = gameData.maps[MapNamed(u"Town")];
    CollisionShape boundary;
    boundary.rectangles = {CollisionBox{-5, -6, 7, 8, 1, 2, {}}};
    town.boundaries.push_back(boundary);
    Speaker speaker;
    speaker.name = u"Bell", speaker.enabled = 1, speaker.x = 40, speaker.y = 50, speaker.radius = 90;
    speaker.soundSet = 0, speaker.soundSetId = soundSets.at(0).id;
    town.speakers.push_back(speaker);
    Spawn spawn;
    spawn.name = u"Nest", spawn.x = 64, spawn.y = 64, spawn.delay = 2, spawn.interval = 3, spawn.count = 4;
    town.spawns.push_back(spawn);
    Projectile projectile;
    projectile.x = 10, projectile.y = 20, projectile.heading = 1.5f, projectile.age = 9;
    town.projectiles.push_back(projectile);
    town.positionedTexts.push_back(PositionedText{0, 0, 1.5f, 2.5f, 3.5f, u"Here"});
    gameData.maps[-1].actors.push_back(town.actors.at(0));
  }

  // The uncompressed stream of a save file.
  static ByteList StreamOf(const std::string& path) { return ReadCompressedFile(path); }

  // Where the extension block of a stream begins: the last place that holds
  // its mark (no later bytes of the block can hold it, as they are counts and
  // values the tests keep small). 0 when there is none.
  static std::size_t ExtensionBlockAt(const ByteList& stream) {
    for (std::size_t at = stream.size() >= 4 ? stream.size() - 4 : 0; at > 0; --at) {
      std::int32_t offset = static_cast<std::int32_t>(at);
      if (BufferReadLong(stream, offset) == kSaveExtensionMark) return at;
    }
    return 0;
  }

  // A save file holding the stream, with the given length in front.
  static ByteList SaveFileOf(const ByteList& stream, std::int32_t length) {
    uLongf size = compressBound(static_cast<uLong>(stream.size()));
    ByteList file(4 + size);
    EXPECT_EQ(compress2(file.data() + 4, &size, stream.data(), static_cast<uLong>(stream.size()), 9), Z_OK);
    file.resize(4 + size);
    std::int32_t offset = 0;
    BufferWriteLong(file, length, offset);
    return file;
  }
  static ByteList SaveFileOf(const ByteList& stream) {
    return SaveFileOf(stream, static_cast<std::int32_t>(stream.size()));
  }

  std::string LogText() const {
    const ByteList bytes = ReadTestFile(dir.File("log.txt"));
    return std::string(bytes.begin(), bytes.end());
  }

  TempDir dir;
  int tickBaseResets = 0;
  int reloads = 0;
};

}  // namespace kiv::test
