// Loading a map applies the templates of its actors; the player's start-up
// makes that application rebuild each actor's drawn layers.
#include <gtest/gtest.h>

#include "state/save_game_fixture.h"

namespace kiv::test {
namespace {

using SpriteLayersLoading = SaveGameTest;

TEST_F(SpriteLayersLoading, LoadedActorsAreDrawnFromTheirBodySet) {
  StartSampleGame();
  const std::int32_t town = MapNamed(u"Town");
  ASSERT_GE(town, 0);
  const std::vector<Actor>& actors = gameData.maps[town].actors;
  ASSERT_EQ(actors.size(), 3u);  // "Hero" and two guards of the template
  for (const Actor& actor : actors) {
    SCOPED_TRACE(std::string(actor.name.begin(), actor.name.end()));
    ASSERT_FALSE(actor.parts.empty());
    ASSERT_EQ(actor.parts[0].spriteSet, 0);
    // The sample's sprite set draws one part (its own slot) in one colour.
    ASSERT_EQ(actor.characterLayers.size(), 1u);
    const CharacterLayer& layer = actor.characterLayers[0];
    EXPECT_EQ(layer.layerSpriteSet, 0);
    EXPECT_EQ(layer.order, gameData.spriteSets[0].slot);
    EXPECT_EQ(layer.colourIndex, 0);
    EXPECT_EQ(layer.area, -1);
    EXPECT_EQ(layer.source, 0);
    EXPECT_EQ(layer.colour, actor.parts[0].colors[0]);
    EXPECT_EQ(actor.hasPose13, 0);
  }
}

}  // namespace
}  // namespace kiv::test
