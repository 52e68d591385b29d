// A whole game saved and loaded with the player's start-up: every reference an
// object holds comes back as the test set it, not as the first save wrote it.
#include <gtest/gtest.h>

#include "state/save_game_fixture.h"

namespace kiv::test {
namespace {

// The save fixture runs the player's start-up before each test.
using WholeGameReferences = SaveGameTest;

TEST_F(WholeGameReferences, EveryReferenceOfAnActorSurvivesASaveAndALoad) {
  StartSampleGame();
  const std::int32_t town = MapNamed(u"Town");
  const std::int32_t cellar = MapNamed(u"Cellar");
  ASSERT_GE(town, 0);
  ASSERT_GE(cellar, 0);
  ASSERT_EQ(projectState.teams.size(), 1u);
  ASSERT_EQ(gameData.actorTemplates.size(), 1u);
  ASSERT_EQ(gameData.items.size(), 1u);
  ASSERT_EQ(gameData.spriteSets.size(), 1u);
  const Identifier teamId = projectState.teams[0].id;
  const Identifier templateId = gameData.actorTemplates[0].id;
  const Identifier itemId = gameData.items[0].id;
  const Identifier spriteId = gameData.spriteSets[0].id;

  // "Hero" (0) is given every reference a saved actor holds; the guards are its targets.
  Actor& hero = gameData.maps[town].actors.at(0);
  hero.team = 0, hero.teamId = teamId;
  hero.templateIndex = 0, hero.templateId = templateId;
  hero.items.push_back(InventoryEntry{0, itemId, 0, 7, 0, Identifier()});
  hero.itemReference = {0, itemId};
  hero.furtherReferences[0] = {0, spriteId};
  hero.mapReference = {-2, u"Cellar", Identifier()};
  hero.driver = 2;
  hero.aiFocus = 1;
  hero.vehicleRidden = 2;
  hero.targetActor = 1;
  SaveGame(dir.File("refs.kSV"));
  ASSERT_EQ(LoadGame(dir.File("refs.kSV")), 0);

  const std::int32_t loadedTown = MapNamed(u"Town");
  ASSERT_GE(loadedTown, 0);
  const Actor& loaded = gameData.maps[loadedTown].actors.at(0);
  EXPECT_EQ(loaded.name, u"Hero");
  EXPECT_EQ(loaded.team, 0);
  EXPECT_EQ(loaded.teamId, teamId);
  EXPECT_EQ(loaded.templateIndex, 0);
  EXPECT_EQ(loaded.templateId, templateId);
  ASSERT_FALSE(loaded.parts.empty());
  EXPECT_EQ(loaded.parts[0].spriteSet, 0);
  EXPECT_EQ(loaded.parts[0].spriteSetId, spriteId);
  bool carriesItem = false;
  for (const InventoryEntry& entry : loaded.items) carriesItem |= entry.item == 0 && entry.quantity == 7;
  EXPECT_TRUE(carriesItem);
  EXPECT_EQ(loaded.itemReference.index, 0);
  EXPECT_EQ(loaded.itemReference.id, itemId);
  EXPECT_EQ(loaded.furtherReferences[0].index, 0);
  EXPECT_EQ(loaded.furtherReferences[0].id, spriteId);
  EXPECT_EQ(loaded.mapReference.name, u"Cellar");
  EXPECT_EQ(loaded.driver, 2);
  EXPECT_EQ(loaded.aiFocus, 1);
  EXPECT_EQ(loaded.vehicleRidden, 2);
  EXPECT_EQ(loaded.targetActor, 1);

  // The town's door still leads to the cellar, wherever the load put it.
  const std::int32_t loadedCellar = MapNamed(u"Cellar");
  ASSERT_FALSE(gameData.maps[loadedTown].doors.empty());
  EXPECT_EQ(gameData.maps[loadedTown].doors[0].target.index, loadedCellar);
}

}  // namespace
}  // namespace kiv::test
