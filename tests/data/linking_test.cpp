#include "data/linking.h"

#include "core/error.h"
#include "data/find_by_id.h"
#include "data/map_object_readers.h"
#include "game_data_fixture.h"

namespace kiv::test {
namespace {

class LinkingTest : public GameDataTest {
 protected:
  // Sprite sets whose identifiers are filled with the given bytes.
  static void SpriteSets(std::initializer_list<std::uint8_t> ids) {
    for (std::uint8_t id : ids) {
      SpriteSet set;
      set.id = IdOf(id);
      set.slot = 100 + id;
      gameData.spriteSets.push_back(set);
    }
  }
  // Templates 0..n-1 with identifiers 0xE0 + t and the given parents (-1 none).
  static void Templates(const std::vector<std::int32_t>& parents) {
    gameData.actorTemplates.assign(parents.size(), ActorTemplate());
    for (std::size_t t = 0; t < parents.size(); ++t) {
      gameData.actorTemplates[t].id = IdOf(static_cast<std::uint8_t>(0xE0 + t));
      gameData.actorTemplates[t].derivedRecord.templateIndex = parents[t];
    }
  }
};

TEST_F(LinkingTest, PairResolutionFollowsTheRuleForEveryCase) {
  SpriteSets({0x01, 0x02, 0x03, 0x02, 0x05});
  struct Case {
    std::int32_t index;
    std::uint8_t id;  // 0: empty
    std::int32_t wantIndex;
    std::uint8_t wantId;
  };
  const Case cases[] = {
      {-1, 0x03, -1, 0x03},  // no reference: not searched
      {3, 0x00, 3, 0x02},    // empty identifier at an index takes that record's identifier
      {-2, 0x00, -1, 0x00},  // unresolved and empty becomes none
      {4, 0x02, 1, 0x02},    // the lower of two equal identifiers wins
      {4, 0x77, -2, 0x77},   // an identifier no record has
      {-2, 0x05, 4, 0x05},   // an unresolved pair is tried again
  };
  for (const Case& c : cases) {
    std::int32_t index = c.index;
    Identifier id = c.id == 0 ? Identifier() : IdOf(c.id);
    ResolveSpriteSetRef(index, id);
    EXPECT_EQ(index, c.wantIndex) << "case " << c.index << "/" << int(c.id);
    EXPECT_EQ(id, c.wantId == 0 ? Identifier() : IdOf(c.wantId)) << "case " << c.index << "/" << int(c.id);
  }
}

TEST_F(LinkingTest, AnIndexBeyondTheTableWithAnEmptyIdentifierIsError9) {
  SpriteSets({0x01, 0x02});
  std::int32_t index = 5;
  Identifier id;
  try {
    ResolveSpriteSetRef(index, id);
    FAIL() << "no error";
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), 9);
  }
}

TEST_F(LinkingTest, FindByIdentifierGivesFirstIndexOrMinusOneOrMinusTwo) {
  gameData.tileSets.resize(6);
  gameData.tileSets[2].id = IdOf(0x42);
  gameData.tileSets[5].id = IdOf(0x42);
  gameData.tileSets[0].id = IdOf(0x01);
  gameData.tileSets[1].id = IdOf(0x01);
  gameData.tileSets[3].id = IdOf(0x01);
  gameData.tileSets[4].id = IdOf(0x01);
  EXPECT_EQ(FindTileSetById(IdOf(0x42)), 2);
  EXPECT_EQ(FindTileSetById(Identifier()), -1);
  EXPECT_EQ(FindTileSetById(IdOf(0x99)), -2);
}

TEST_F(LinkingTest, TemplateFlagsFollowTheParentChain) {
  Templates({-1, 0, 1, -1});  // 0 root, 1 child, 2 grandchild, 3 alone
  std::vector<TemplateFlag> rootOnly{{IdOf(0xE0), 7}};
  RealignTemplateFlags(rootOnly);
  ASSERT_EQ(rootOnly.size(), 4u);
  EXPECT_EQ(rootOnly[0].flag, 7);
  EXPECT_EQ(rootOnly[1].flag, 7);
  EXPECT_EQ(rootOnly[2].flag, 7);
  EXPECT_EQ(rootOnly[3].flag, 0);
  EXPECT_EQ(rootOnly[3].id, IdOf(0xE3));

  std::vector<TemplateFlag> strangers{{IdOf(0x11), 1}, {IdOf(0x12), 1}};
  RealignTemplateFlags(strangers);
  ASSERT_EQ(strangers.size(), 4u);
  for (const TemplateFlag& entry : strangers) EXPECT_EQ(entry.flag, 0);

  // A parent loop ends the walk instead of hanging.
  Templates({1, 0});
  std::vector<TemplateFlag> none;
  RealignTemplateFlags(none);
  EXPECT_EQ(none.size(), 2u);
}

TEST_F(LinkingTest, SpriteSetLinkingIsTheSameWhenRepeated) {
  SpriteSets({0x01, 0x02, 0x03});
  SpriteSet& set = gameData.spriteSets[0];
  set.links.resize(2);
  set.links[0].spriteSetId = IdOf(0x03);
  set.links[1].spriteSetId = IdOf(0x66);
  set.spriteFlags = {{IdOf(0x02), 1}, {IdOf(0x03), 0}, {IdOf(0x66), 1}};
  LinkSpriteSet(0);
  const SpriteSet first = gameData.spriteSets[0];
  EXPECT_EQ(first.links[0].spriteSet, 2);
  EXPECT_EQ(first.links[0].name, 103);
  EXPECT_EQ(first.links[1].spriteSet, -2);
  EXPECT_EQ(first.spriteSetMask, (ByteList{0, 1, 0}));
  // The sets are reordered: a second pass follows the identifiers.
  std::swap(gameData.spriteSets[1], gameData.spriteSets[2]);
  LinkSpriteSet(0);
  LinkSpriteSet(0);
  EXPECT_EQ(gameData.spriteSets[0].links[0].spriteSet, 1);
  EXPECT_EQ(gameData.spriteSets[0].links[0].spriteSetId, IdOf(0x03));
  EXPECT_EQ(gameData.spriteSets[0].spriteSetMask, (ByteList{0, 0, 1}));
}

TEST_F(LinkingTest, PlayerItemsKeepAnEmptyIdentifier) {
  gameData.items.resize(2);
  gameData.items[0].id = IdOf(0x21);
  gameData.items[1].id = IdOf(0x22);
  Player player;
  player.items.resize(3);
  player.items[0].item = 1;  // empty identifier: stays 1 and empty
  player.items[1].item = -2;
  player.items[1].itemId = IdOf(0x22);
  player.items[2].item = -2;  // empty: none
  PartyMember member;
  member.levelMagic = {{InventoryEntry{}}};
  member.levelMagic[0][0].item = 0;
  member.levelMagic[0][0].itemId = IdOf(0x21);
  member.magic.resize(1);
  member.magic[0].item = 0;
  member.magic[0].itemId = IdOf(0x99);
  player.party = {member};
  projectState.players = {player};
  LinkPlayerItems(0);
  const Player& linked = projectState.players[0];
  EXPECT_EQ(linked.items[0].item, 1);
  EXPECT_EQ(linked.items[0].itemId, Identifier());
  EXPECT_EQ(linked.items[1].item, 1);
  EXPECT_EQ(linked.items[2].item, -1);
  EXPECT_EQ(linked.party[0].levelMagic[0][0].item, 0);
  EXPECT_EQ(linked.party[0].magic[0].item, -2);
  // A player beyond the table is error 9.
  EXPECT_THROW(LinkPlayerItems(1), KivError);
}

TEST_F(LinkingTest, PickUpsTakeTheLinkedItemOfTheirItem) {
  gameData.items.resize(3);
  gameData.items[0].id = IdOf(0x21);
  gameData.items[0].linkedItem = {2, IdOf(0x23)};
  gameData.items[1].id = IdOf(0x22);
  gameData.items[2].id = IdOf(0x23);
  const std::int32_t m = gameData.maps.Append();
  Map& map = gameData.maps[m];
  map.pickUps.resize(3);
  map.pickUps[0].items[0].item = -2;
  map.pickUps[0].items[0].itemId = IdOf(0x21);
  map.pickUps[1].items[0].item = -2;  // its item has no linked item
  map.pickUps[1].items[0].itemId = IdOf(0x22);
  map.pickUps[1].items[1].item = 7;
  map.pickUps[2].items[0].item = -2;  // no such item
  map.pickUps[2].items[0].itemId = IdOf(0x55);
  map.pickUps[2].items[1].item = 7;
  LinkMapObjects(m, false);
  EXPECT_EQ(gameData.maps[m].pickUps[0].items[1].item, 2);
  EXPECT_EQ(gameData.maps[m].pickUps[1].items[1].item, -1);
  EXPECT_EQ(gameData.maps[m].pickUps[2].items[0].item, -2);
  EXPECT_EQ(gameData.maps[m].pickUps[2].items[1].item, -1);
  // Without a sprite set the box comes from the item's size.
  EXPECT_EQ(gameData.maps[m].pickUps[0].collisionShape.rectangles.at(0).back, gameData.items[0].valueC);
}

}  // namespace
}  // namespace kiv::test
