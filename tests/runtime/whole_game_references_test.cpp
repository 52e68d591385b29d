// A whole game saved and loaded with the player's start-up: every reference an
// object holds comes back as the test set it, not as the first save wrote it.
#include <gtest/gtest.h>

#include "data/game_data_reset.h"
#include "state/save_game_fixture.h"
#include "state/state_block.h"
#include "state/state_hooks.h"

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
  ASSERT_EQ(gameData.spriteSets.size(), 3u);
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

Identifier IdOf(std::uint8_t mark) {
  Identifier id;
  id.bytes.fill(mark);
  return id;
}

// Every table a saved reference names gains a second record, so that a
// reference set to it differs from anything the package or a default holds.
class EveryObjectReference : public SaveGameTest {
 protected:
  template <typename Record>
  static std::int32_t AddSecond(std::vector<Record>& table, std::uint8_t mark) {
    Record second = table.at(0);
    second.id = IdOf(mark);
    table.push_back(second);
    return static_cast<std::int32_t>(table.size()) - 1;
  }
};

TEST_F(EveryObjectReference, EachComesBackAsTheTestSetIt) {
  StartSampleGame();
  // The second records live only in memory, not in the package: the load keeps
  // the set tables (a data reset and the project state) instead of reading the
  // package's sets anew.
  stateHooks.ReloadGameData = [](std::int32_t) {
    ResetGameData();
    LoadProjectState();
  };
  const std::int32_t town = MapNamed(u"Town");
  ASSERT_GE(town, 0);
  const std::int32_t team = AddSecond(projectState.teams, 0xE1);
  for (Team& each : projectState.teams) each.relations.assign(projectState.teams.size(), 1);
  const std::int32_t item = AddSecond(gameData.items, 0xE2);
  const std::int32_t sprite = AddSecond(gameData.spriteSets, 0xE3);
  const std::int32_t actorTemplate = AddSecond(gameData.actorTemplates, 0xE4);
  const std::int32_t doorSet = AddSecond(gameData.doorSets, 0xE5);
  const std::int32_t fontSet = AddSecond(gameData.fontSets, 0xE6);
  const std::int32_t soundSet = AddSecond(soundSets, 0xE7);
  ASSERT_GE(projectState.equipmentAreas.size(), 1u);
  const Identifier areaId = projectState.equipmentAreas[0].id;

  Actor& guard = gameData.maps[town].actors.at(1);
  ASSERT_EQ(guard.name, u"Guard");
  guard.team = team, guard.teamId = projectState.teams[team].id;
  guard.templateIndex = actorTemplate, guard.templateId = gameData.actorTemplates[actorTemplate].id;
  ASSERT_FALSE(guard.parts.empty());
  guard.parts[0].spriteSet = sprite, guard.parts[0].spriteSetId = gameData.spriteSets[sprite].id;
  guard.items = {InventoryEntry{item, gameData.items[item].id, 0, 3, 0, Identifier()}};
  guard.equipment = {InventoryEntry{item, gameData.items[item].id, 0, 0, 5, areaId}};
  guard.itemReference = {item, gameData.items[item].id};
  Attachment attached;
  attached.spriteSet = sprite, attached.spriteSetId = gameData.spriteSets[sprite].id, attached.valueA = 11;
  guard.attachedSprites = {attached};
  attached.valueA = 12;
  guard.attachedEffects = {attached};
  guard.furtherReferences[0] = {sprite, gameData.spriteSets[sprite].id};
  guard.furtherReferences[1] = {sprite, gameData.spriteSets[sprite].id};
  guard.mapReference = {-2, u"Cellar", Identifier()};
  // Actor references are indexes into the map's own actor list.
  guard.driver = 0, guard.vehicleRidden = 2, guard.turretOperated = 2;
  guard.aiFocus = 0, guard.targetActor = 2, guard.furtherActor1 = 0, guard.furtherActor2 = 2;
  guard.owningPlayer = 0, guard.partyMember = 0;

  Door& door = gameData.maps[town].doors.at(0);
  door.doorSet = doorSet, door.doorSetId = gameData.doorSets[doorSet].id;
  door.item = item, door.itemId = gameData.items[item].id;
  PickUp& pickUp = gameData.maps[town].pickUps.at(1);
  pickUp.spriteSet = sprite, pickUp.spriteSetId = gameData.spriteSets[sprite].id;
  pickUp.items[0].item = item, pickUp.items[0].itemId = gameData.items[item].id, pickUp.items[0].quantity = 4;
  Speaker speaker;
  speaker.name = u"Bell", speaker.soundSet = soundSet, speaker.soundSetId = soundSets[soundSet].id;
  gameData.maps[town].speakers.push_back(speaker);
  const std::int32_t hud = [] {
    for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) {
      if (gameData.maps[m].isInterface && gameData.maps[m].fileName == u"Hud") return m;
    }
    return -1;
  }();
  ASSERT_GE(hud, 0);
  Field& field = gameData.maps[hud].fields.at(1);
  field.fontSet = fontSet, field.fontSetId = gameData.fontSets[fontSet].id;
  field.spriteSet = sprite, field.spriteSetId = gameData.spriteSets[sprite].id;

  SaveGame(dir.File("every.kSV"));
  ASSERT_EQ(LoadGame(dir.File("every.kSV")), 0) << LogText();

  const std::int32_t loadedTown = MapNamed(u"Town");
  ASSERT_GE(loadedTown, 0);
  ASSERT_EQ(projectState.teams.size(), 2u);
  const Actor& loaded = gameData.maps[loadedTown].actors.at(1);
  EXPECT_EQ(loaded.name, u"Guard");
  EXPECT_EQ(loaded.team, team);
  EXPECT_EQ(loaded.teamId, IdOf(0xE1));
  EXPECT_EQ(loaded.templateIndex, actorTemplate);
  EXPECT_EQ(loaded.templateId, IdOf(0xE4));
  ASSERT_FALSE(loaded.parts.empty());
  EXPECT_EQ(loaded.parts[0].spriteSet, sprite);
  EXPECT_EQ(loaded.parts[0].spriteSetId, IdOf(0xE3));
  ASSERT_EQ(loaded.items.size(), 1u);
  EXPECT_EQ(loaded.items[0].item, item);
  EXPECT_EQ(loaded.items[0].itemId, IdOf(0xE2));
  EXPECT_EQ(loaded.items[0].quantity, 3);
  ASSERT_EQ(loaded.equipment.size(), 1u);
  EXPECT_EQ(loaded.equipment[0].item, item);
  EXPECT_EQ(loaded.equipment[0].itemId, IdOf(0xE2));
  EXPECT_EQ(loaded.equipment[0].areaId, areaId);
  EXPECT_EQ(loaded.itemReference.index, item);
  EXPECT_EQ(loaded.itemReference.id, IdOf(0xE2));
  ASSERT_EQ(loaded.attachedSprites.size(), 1u);
  EXPECT_EQ(loaded.attachedSprites[0].spriteSet, sprite);
  EXPECT_EQ(loaded.attachedSprites[0].spriteSetId, IdOf(0xE3));
  EXPECT_EQ(loaded.attachedSprites[0].valueA, 11);
  ASSERT_EQ(loaded.attachedEffects.size(), 1u);
  EXPECT_EQ(loaded.attachedEffects[0].spriteSet, sprite);
  EXPECT_EQ(loaded.attachedEffects[0].spriteSetId, IdOf(0xE3));
  EXPECT_EQ(loaded.attachedEffects[0].valueA, 12);
  for (const IndexedReference& reference : loaded.furtherReferences) {
    EXPECT_EQ(reference.index, sprite);
    EXPECT_EQ(reference.id, IdOf(0xE3));
  }
  EXPECT_EQ(loaded.mapReference.name, u"Cellar");
  EXPECT_EQ(loaded.driver, 0);
  EXPECT_EQ(loaded.vehicleRidden, 2);
  EXPECT_EQ(loaded.turretOperated, 2);
  EXPECT_EQ(loaded.aiFocus, 0);
  EXPECT_EQ(loaded.targetActor, 2);
  EXPECT_EQ(loaded.furtherActor1, 0);
  EXPECT_EQ(loaded.furtherActor2, 2);
  EXPECT_EQ(loaded.owningPlayer, 0);
  EXPECT_EQ(loaded.partyMember, 0);

  const Door& loadedDoor = gameData.maps[loadedTown].doors.at(0);
  EXPECT_EQ(loadedDoor.doorSet, doorSet);
  EXPECT_EQ(loadedDoor.doorSetId, IdOf(0xE5));
  EXPECT_EQ(loadedDoor.item, item);
  EXPECT_EQ(loadedDoor.itemId, IdOf(0xE2));
  const PickUp& loadedPickUp = gameData.maps[loadedTown].pickUps.at(1);
  EXPECT_EQ(loadedPickUp.spriteSet, sprite);
  EXPECT_EQ(loadedPickUp.spriteSetId, IdOf(0xE3));
  EXPECT_EQ(loadedPickUp.items[0].item, item);
  EXPECT_EQ(loadedPickUp.items[0].itemId, IdOf(0xE2));
  EXPECT_EQ(loadedPickUp.items[0].quantity, 4);
  ASSERT_EQ(gameData.maps[loadedTown].speakers.size(), 1u);
  EXPECT_EQ(gameData.maps[loadedTown].speakers[0].soundSet, soundSet);
  EXPECT_EQ(gameData.maps[loadedTown].speakers[0].soundSetId, IdOf(0xE7));
  std::int32_t loadedHud = -1;
  for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) {
    if (gameData.maps[m].isInterface && gameData.maps[m].fileName == u"Hud") loadedHud = m;
  }
  ASSERT_GE(loadedHud, 0);
  const Field& loadedField = gameData.maps[loadedHud].fields.at(1);
  EXPECT_EQ(loadedField.fontSet, fontSet);
  EXPECT_EQ(loadedField.fontSetId, IdOf(0xE6));
  EXPECT_EQ(loadedField.spriteSet, sprite);
  EXPECT_EQ(loadedField.spriteSetId, IdOf(0xE3));
}

}  // namespace
}  // namespace kiv::test
