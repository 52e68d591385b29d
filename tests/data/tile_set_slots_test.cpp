#include "data/tile_set_slots.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/hooks.h"
#include "data/game_data.h"

namespace kiv {
namespace {

class TileSetSlotsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    tileSetLimitShown = false;
    for (int i = 0; i < 300; ++i) {
      TileSet set;
      set.id.bytes[0] = static_cast<std::uint8_t>(i);
      set.id.bytes[1] = static_cast<std::uint8_t>(i >> 8);
      set.id.bytes[2] = 1;
      gameData.tileSets.push_back(set);
    }
    map_ = gameData.maps.Append();
    SetMessageBoxHook([this](const std::string& caption, const std::string& text) {
      boxes_.push_back(caption + "|" + text);
    });
  }
  void TearDown() override {
    SetMessageBoxHook(nullptr);
    gameData.Reset();
    tileSetLimitShown = false;
  }

  std::int32_t map_ = 0;
  std::vector<std::string> boxes_;
};

TEST_F(TileSetSlotsTest, FindsOrAddsSlots) {
  EXPECT_EQ(MapTileSetSlot(map_, 1, 7, false), 0);
  EXPECT_EQ(gameData.maps[map_].tileLayerGroups[1].slotCount, 0);
  EXPECT_EQ(MapTileSetSlot(map_, 1, 7, true), 1);
  EXPECT_EQ(MapTileSetSlot(map_, 1, 7, true), 1);
  EXPECT_EQ(MapTileSetSlot(map_, 1, 9, true), 2);
  EXPECT_EQ(MapTileSetSlot(map_, 1, 9, false), 2);
  const TileLayerGroup& group = gameData.maps[map_].tileLayerGroups[1];
  EXPECT_EQ(group.slotCount, 2);
  EXPECT_EQ(group.slotTileSets, (std::vector<std::int32_t>{7, 9}));
  EXPECT_EQ(group.slotIds[1], gameData.tileSets[9].id);
  EXPECT_EQ(MapTileSetSlot(map_, 0, -1, true), 0);
  EXPECT_EQ(gameData.maps[map_].tileLayerGroups[0].slotCount, 0);
  EXPECT_THROW(MapTileSetSlot(map_, 3, 1, true), KivError);
}

TEST_F(TileSetSlotsTest, TheLimitIsShownOncePerRun) {
  for (int i = 0; i < 255; ++i) ASSERT_EQ(MapTileSetSlot(map_, 2, i, true), i + 1);
  EXPECT_EQ(MapTileSetSlot(map_, 2, 255, true), 0);
  EXPECT_EQ(MapTileSetSlot(map_, 2, 256, true), 0);
  EXPECT_EQ(MapTileSetSlot(map_, 2, 254, false), 255);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0],
            "Tile-Set Error|You have reached the limit on the number of tile-sets of a specific type for "
            "this map.");
  // Another map reaching the limit stays silent too.
  const std::int32_t other = gameData.maps.Append();
  for (int i = 0; i < 256; ++i) MapTileSetSlot(other, 0, i, true);
  EXPECT_EQ(boxes_.size(), 1u);
}

}  // namespace
}  // namespace kiv
