#include "world/sprite_layers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>
#include <vector>

#include "core/error.h"
#include "core/symbol_table.h"
#include "data/game_data.h"
#include "data/object_defaults.h"
#include "script/script_hooks.h"
#include "support/world_builder.h"
#include "world/equipment.h"

namespace kiv {
namespace {

// What a test expects of one layer, in list order.
struct Expected {
  std::int32_t set, order, colourIndex, area, source;
  std::uint32_t colour;
  std::int32_t itemSprite;
};

class SpriteLayersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scriptHooks.Reset();
    scriptHooks.RunTrigger = [](const TriggerRun&) { return Variant(); };
    BuildObjectDefaults();
    body_ = AddSet(u"Body", {0, 5}, 1);
    hair_ = AddSet(u"Hair", {3}, 0, u"Hat");
    hat_ = AddSet(u"Hat", {4}, 0);
    otherBody_ = AddSet(u"Body", {0}, 0);
    bodyDress_ = AddSet(u"Body", {2}, 0);  // an item sprite of the Body slot
    gameData.statistics.resize(1);
    Item cap;
    cap.name = u"Cap";
    cap.statisticValues[0] = {0};
    cap.spriteLayers = {Sprites(body_, {{hat_, 0xFF112233}, {bodyDress_, 0xFF000001}}),
                        Sprites(otherBody_, {{hair_, 0xFF000002}})};
    gameData.items.push_back(cap);
    character_ = w.AddCharacter(32, 32, 0);
    Actor& a = C();
    a.parts.resize(2);
    a.parts[0].spriteSet = body_;
    a.parts[0].colors = {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7};
    a.parts[1].spriteSet = hair_;
    a.parts[1].colors[0] = 0xB0;
    a.equipment.resize(2);
    a.statistics.resize(1);
  }

  void TearDown() override { scriptHooks.Reset(); }

  static std::int32_t AddSet(std::u16string_view slot, std::vector<std::int32_t> partOrders,
                             std::int32_t lastColour, std::u16string_view hiddenBy = u"") {
    SpriteSet set;
    set.slot = SymbolIntern(slot);
    set.usedValues = std::move(partOrders);
    set.largestLayerValue = lastColour;
    set.symbolB = hiddenBy.empty() ? 0 : SymbolIntern(hiddenBy);
    gameData.spriteSets.push_back(set);
    return static_cast<std::int32_t>(gameData.spriteSets.size()) - 1;
  }

  static ItemSpriteLayer Sprites(std::int32_t base,
                                 std::vector<std::pair<std::int32_t, std::uint32_t>> parts) {
    ItemSpriteLayer entry;
    entry.spriteSet.index = base;
    for (auto [set, colour] : parts) {
      ItemSpriteLayerPart part;
      part.spriteSet.index = set;
      part.slot = static_cast<std::int32_t>(colour);
      entry.parts.push_back(part);
    }
    return entry;
  }

  Actor& C() { return w.M().actors[static_cast<std::size_t>(character_)]; }

  void ExpectLayers(const std::vector<Expected>& expected) {
    const std::vector<CharacterLayer>& layers = C().characterLayers;
    ASSERT_EQ(layers.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
      SCOPED_TRACE(k);
      const Expected& e = expected[k];
      EXPECT_EQ(layers[k].layerSpriteSet, e.set);
      EXPECT_EQ(layers[k].order, e.order);
      EXPECT_EQ(layers[k].colourIndex, e.colourIndex);
      EXPECT_EQ(layers[k].area, e.area);
      EXPECT_EQ(layers[k].source, e.source);
      EXPECT_EQ(layers[k].colour, e.colour);
      EXPECT_EQ(layers[k].itemSprite, e.itemSprite);
      EXPECT_EQ(layers[k].value1, 0);
      EXPECT_EQ(layers[k].value2, 0);
    }
  }

  test::WorldBuilder w{3, 3, 0};
  std::int32_t body_ = -1, hair_ = -1, hat_ = -1, otherBody_ = -1, bodyDress_ = -1;
  std::int32_t character_ = -1;
};

// The body's two parts in two colours each and the hair's one part.
const std::vector<Expected> kUndressed = {
    {0, 0, 0, -1, 0, 0xA0, -1}, {0, 0, 1, -1, 0, 0xA1, -1}, {1, 3, 0, -1, 1, 0xB0, -1},
    {0, 5, 0, -1, 0, 0xA0, -1}, {0, 5, 1, -1, 0, 0xA1, -1},
};

TEST_F(SpriteLayersTest, AppearancePartsInEveryColourSortedByOrder) {
  RebuildSpriteLayers(C());
  ExpectLayers(kUndressed);
  EXPECT_EQ(C().hasPose13, 0);
}

TEST_F(SpriteLayersTest, AHatHidesTheHairAndUnequippingBringsItBack) {
  C().equipment[1].item = 0;
  RebuildSpriteLayers(C());
  // The cap's hat sprite for this body; its Body-slot sprite and its sprite for
  // another body add nothing; the hair, hidden by the Hat slot, is left out.
  ExpectLayers({{0, 0, 0, -1, 0, 0xA0, -1},
                {0, 0, 1, -1, 0, 0xA1, -1},
                {2, 4, 0, 1, 0, 0xFF112233, 0},
                {0, 5, 0, -1, 0, 0xA0, -1},
                {0, 5, 1, -1, 0, 0xA1, -1}});
  EXPECT_EQ(EquipItem(w.map(), character_, 1, -1, false), 0);
  ExpectLayers(kUndressed);
}

TEST_F(SpriteLayersTest, WithoutABaseSpriteSetOnlyAppearanceLayers) {
  C().equipment[0].item = 0;
  C().parts[0].spriteSet = -1;
  RebuildSpriteLayers(C());
  ExpectLayers({{1, 3, 0, -1, 1, 0xB0, -1}});
}

TEST_F(SpriteLayersTest, ItemSpritesForAnotherBodyAddNothing) {
  C().parts[0].spriteSet = otherBody_;
  C().parts[1].spriteSet = -1;
  C().equipment[0].item = 0;
  RebuildSpriteLayers(C());
  // The cap's sprite for this body dresses the Hair slot (not hidden by itself).
  ExpectLayers({{otherBody_, 0, 0, -1, 0, 0xA0, -1}, {hair_, 3, 0, 0, 0, 0xFF000002, 1}});
}

TEST_F(SpriteLayersTest, ItemLayersComeAfterAppearanceLayersOfEqualOrderAndColour) {
  gameData.spriteSets[static_cast<std::size_t>(hat_)].usedValues = {5};
  C().equipment[0].item = 0;
  C().parts.resize(1);
  RebuildSpriteLayers(C());
  ExpectLayers({{0, 0, 0, -1, 0, 0xA0, -1},
                {0, 0, 1, -1, 0, 0xA1, -1},
                {0, 5, 0, -1, 0, 0xA0, -1},
                {2, 5, 0, 0, 0, 0xFF112233, 0},
                {0, 5, 1, -1, 0, 0xA1, -1}});
}

TEST_F(SpriteLayersTest, LastColourIndexUpToSevenAndARangeErrorAbove) {
  C().parts.resize(1);
  SpriteSet& set = gameData.spriteSets[static_cast<std::size_t>(body_)];
  set.usedValues = {1};
  set.largestLayerValue = 7;
  RebuildSpriteLayers(C());
  ASSERT_EQ(C().characterLayers.size(), 8u);
  for (std::int32_t k = 0; k < 8; ++k) {
    EXPECT_EQ(C().characterLayers[static_cast<std::size_t>(k)].colourIndex, k);
    EXPECT_EQ(C().characterLayers[static_cast<std::size_t>(k)].colour, 0xA0u + static_cast<std::uint32_t>(k));
  }
  set.largestLayerValue = 8;
  try {
    RebuildSpriteLayers(C());
    FAIL() << "no error";
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), kErrIndex);
  }
}

TEST_F(SpriteLayersTest, HasPose13WhenSomeLayerSetHasAFrameInPose13) {
  struct Case {
    const char* name;
    std::size_t poses;
    std::int32_t poseWithFrame;
    std::size_t direction;
    std::int16_t expected;
  };
  const Case cases[] = {
      {"pose 13, direction 7", 15, 13, 7, -1},
      {"pose 13, direction 0", 14, 13, 0, -1},
      {"pose 12 only", 15, 12, 3, 0},
      {"too few poses", 13, 12, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SpriteSet& hair = gameData.spriteSets[static_cast<std::size_t>(hair_)];
    hair.poses.assign(c.poses, SpritePose());
    hair.poses[static_cast<std::size_t>(c.poseWithFrame)].directions[c.direction].builtFrames.resize(1);
    RebuildSpriteLayers(C());
    EXPECT_EQ(C().hasPose13, c.expected);
  }
  // The hair hidden by a hat no longer counts.
  SpriteSet& hair = gameData.spriteSets[static_cast<std::size_t>(hair_)];
  hair.poses.assign(15, SpritePose());
  hair.poses[13].directions[2].builtFrames.resize(1);
  RebuildSpriteLayers(C());
  EXPECT_EQ(C().hasPose13, -1);
  C().equipment[1].item = 0;
  RebuildSpriteLayers(C());
  EXPECT_EQ(C().hasPose13, 0);
}

TEST(CharacterLayerLessTest, KeysInTurn) {
  struct Case {
    std::int32_t order, colourIndex, area, source;
    bool less, greater;
  };
  // Compared with {order 2, colour 1, area 0, source 3}.
  const Case cases[] = {
      {1, 7, 9, 9, true, false},  {3, 0, -1, 0, false, true}, {2, 0, 9, 9, true, false},
      {2, 2, -1, 0, false, true}, {2, 1, -1, 9, true, false}, {2, 1, 1, 0, false, true},
      {2, 1, 0, 2, true, false},  {2, 1, 0, 4, false, true},  {2, 1, 0, 3, false, false},
  };
  CharacterLayer pivot;
  pivot.order = 2, pivot.colourIndex = 1, pivot.area = 0, pivot.source = 3;
  for (const Case& c : cases) {
    CharacterLayer layer;
    layer.order = c.order, layer.colourIndex = c.colourIndex, layer.area = c.area, layer.source = c.source;
    layer.layerSpriteSet = 99;  // not a key
    SCOPED_TRACE(testing::Message() << c.order << " " << c.colourIndex << " " << c.area << " " << c.source);
    EXPECT_EQ(CharacterLayerLess(layer, pivot), c.less);
    EXPECT_EQ(CharacterLayerLess(pivot, layer), c.greater);
  }
}

TEST(QuickSortCharacterLayersTest, SortsAnyListIntoKeyOrderKeepingEveryLayer) {
  std::mt19937 random(7);
  for (std::int32_t size : {1, 2, 3, 5, 16, 64, 300}) {
    SCOPED_TRACE(size);
    Actor actor;
    for (std::int32_t k = 0; k < size; ++k) {
      CharacterLayer layer;
      layer.order = static_cast<std::int32_t>(random() % 4);
      layer.colourIndex = static_cast<std::int32_t>(random() % 3);
      layer.area = static_cast<std::int32_t>(random() % 3) - 1;
      layer.source = static_cast<std::int32_t>(random() % 2);
      layer.layerSpriteSet = k;  // tells the layers apart
      actor.characterLayers.push_back(layer);
    }
    std::vector<CharacterLayer> before = actor.characterLayers;
    QuickSortCharacterLayers(actor, 0, size - 1);
    const std::vector<CharacterLayer>& after = actor.characterLayers;
    for (std::size_t k = 1; k < after.size(); ++k) EXPECT_FALSE(CharacterLayerLess(after[k], after[k - 1]));
    auto bySet = [](const CharacterLayer& a, const CharacterLayer& b) {
      return a.layerSpriteSet < b.layerSpriteSet;
    };
    std::vector<CharacterLayer> sorted = after;
    std::sort(sorted.begin(), sorted.end(), bySet);
    for (std::size_t k = 0; k < sorted.size(); ++k) {
      EXPECT_EQ(sorted[k].layerSpriteSet, before[k].layerSpriteSet);
      EXPECT_EQ(std::tie(sorted[k].order, sorted[k].colourIndex, sorted[k].area, sorted[k].source),
                std::tie(before[k].order, before[k].colourIndex, before[k].area, before[k].source));
    }
  }
}

TEST(QuickSortCharacterLayersTest, SortsOnlyTheGivenRange) {
  Actor actor;
  for (std::int32_t order : {9, 4, 3, 2, 1, 0}) {
    CharacterLayer layer;
    layer.order = order;
    actor.characterLayers.push_back(layer);
  }
  QuickSortCharacterLayers(actor, 1, 4);
  std::vector<std::int32_t> orders;
  for (const CharacterLayer& layer : actor.characterLayers) orders.push_back(layer.order);
  EXPECT_EQ(orders, (std::vector<std::int32_t>{9, 1, 2, 3, 4, 0}));
}

}  // namespace
}  // namespace kiv
