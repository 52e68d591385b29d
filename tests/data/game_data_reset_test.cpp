#include "data/game_data_reset.h"

#include "core/symbol_table.h"
#include "data/fixed_identifiers.h"
#include "data/object_defaults.h"
#include "game_data_fixture.h"

namespace kiv::test {
namespace {

using GameDataResetTest = GameDataTest;

TEST_F(GameDataResetTest, InstallsSlotNamesAndOperatorTables) {
  const auto& slots = objectDefaults.appearanceSlots;
  EXPECT_EQ(SymbolName(slots[0]), u"Body");
  EXPECT_EQ(SymbolName(slots[8]), u"Shirt");
  EXPECT_EQ(slots[9], slots[11]);
  EXPECT_EQ(SymbolName(slots[11]), u"Accessory");
  EXPECT_EQ(slots[10], 0);
  const auto& rank = scriptOperatorTables.operatorPrecedence;
  EXPECT_EQ(rank['*'], 3);
  EXPECT_EQ(rank['/'], 3);
  EXPECT_EQ(rank['N'], 9);
  EXPECT_EQ(rank['A'], 10);
  EXPECT_EQ(rank[0], 16);
  EXPECT_EQ(rank['u'], 7);
  for (std::uint8_t entry : scriptOperatorTables.operatorStack) EXPECT_EQ(entry, 255);
  EXPECT_EQ(objectDefaults.script.nodePages.at(0).nodes.at(0).text1, u"_Start");
  EXPECT_EQ(objectDefaults.characterCollisionShape, objectDefaults.collisionShape);
}

TEST_F(GameDataResetTest, EmptiesTheGameTablesAndKeepsTheSets) {
  bool scriptStateReset = false;
  bool shellReset = false;
  dataHooks.ResetScriptRunState = [&] { scriptStateReset = true; };
  dataHooks.ResetShellState = [&] { shellReset = true; };
  gameData.tileSets.resize(2);
  gameData.fontSets.resize(1);
  soundSets.resize(3);
  controls.resize(4);
  scriptTable.scripts.resize(5);
  projectState.players.resize(4);
  projectState.currentPlayerInterface.index = 3;
  gameData.maps.Append();
  gameData.maps[-1].actors.resize(2);
  gameData.gameSpeed = 2.5f;
  const std::int32_t symbols = SymbolCount();
  const std::int32_t added = SymbolIntern(u"Added while loading");

  ResetGameData();
  EXPECT_TRUE(scriptStateReset);
  EXPECT_TRUE(shellReset);
  EXPECT_TRUE(scriptTable.scripts.empty());
  EXPECT_TRUE(projectState.players.empty());
  EXPECT_EQ(projectState.currentPlayerInterface.index, -1);
  EXPECT_EQ(gameData.maps.LastIndex(), -1);
  EXPECT_TRUE(gameData.maps[-1].actors.empty());
  EXPECT_EQ(gameData.maps[-1].ambientColor, 0xFFFFFFFFu);
  EXPECT_EQ(gameData.maps[-1].width, -1);
  EXPECT_EQ(gameData.gameSpeed, 1.0f);
  // Sets, fonts, controls and the symbol table survive a reset.
  EXPECT_EQ(gameData.tileSets.size(), 2u);
  EXPECT_EQ(gameData.fontSets.size(), 1u);
  EXPECT_EQ(soundSets.size(), 3u);
  EXPECT_EQ(controls.size(), 4u);
  EXPECT_EQ(SymbolCount(), symbols + 1);
  EXPECT_EQ(SymbolName(added), u"Added while loading");
  EXPECT_EQ(SymbolName(kSymSystemLast), u"System.Last");
}

}  // namespace
}  // namespace kiv::test
