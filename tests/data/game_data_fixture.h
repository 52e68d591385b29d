#pragma once
// A clean game-data state for the tests of linking, loading and reset: every
// table empty, the fixed identifiers registered, maps gridded by 8 pixels.
#include <gtest/gtest.h>

#include "core/package.h"
#include "core/symbol_table.h"
#include "data/data_hooks.h"
#include "data/game_data.h"
#include "data/game_data_reset.h"
#include "data/game_loading.h"
#include "data/map_object_settings.h"
#include "data/project_state.h"
#include "data/script_record.h"
#include "data/sets_linked.h"
#include "media/controls_table.h"
#include "media/sound_sets.h"
#include "support/package_writer.h"

namespace kiv::test {

class GameDataTest : public ::testing::Test {
 protected:
  void SetUp() override { Clear(); }
  void TearDown() override { Clear(); }

  static void Clear() {
    SymbolTableReset();
    package.Reset();
    gameData.Reset();
    soundSets.clear();
    controls.clear();
    projectState.Reset();
    scriptTable.Reset();
    dataHooks.Reset();
    dataSettings.Reset();
    dataSettings.gridCellSize = 8;
    mapObjectSettings.Reset();
    gameLoadLog.Reset();
    setsLinked = false;
    ResetGameData();
  }

  // Puts the package in memory as the player holds it.
  static void UsePackage(const PackageWriter& writer) {
    const ByteList bytes = writer.Build();
    package.packageEntries = PackageParse(bytes.data(), bytes.size(), kPackageOldNameLength);
    package.packagePath = "/games/sample/DATA.kRC";
  }

  static Identifier IdOf(std::uint8_t value) {
    Identifier id;
    IdFill(id, value);
    return id;
  }
};

}  // namespace kiv::test
