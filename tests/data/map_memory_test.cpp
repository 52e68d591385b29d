// What loading a map, an interface or a whole package claims from memory when
// a file asks for sizes no map needs, and what an allocation that fails turns
// into. This program replaces operator new to count, so it lives apart.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/error.h"
#include "core/hooks.h"
#include "data/map_loader.h"
#include "data/map_references.h"
#include "game_data_fixture.h"
#include "support/allocation_meter.h"
#include "support/map_writer.h"
#include "support/sample_game.h"
#include "support/set_writers.h"

namespace kiv::test {
namespace {

// A load may claim at most this much in all; a single request beyond it fails.
constexpr std::size_t kLoadCeiling = 100u << 20;

struct CraftedSize {
  const char* name;
  std::int32_t version, width, height, layerCount;
  std::vector<LegacyBlockFixture> blocks;
};

// Sizes whose grids no map needs, each refused before its grids exist.
std::vector<CraftedSize> CraftedSizes() {
  return {
      // Without tiles the sector grid followed the one size given: 8.5 GB.
      {"WideOldInterface", 100516, 67108865, -1, 0, {}},
      {"WidestWithoutHeight", 100790, 0x7FFFFFF0, -1, 0, {}},
      {"TallWithoutWidth", 100790, -1, (1 << 24) - 2, 0, {}},
      // A map of no layers stores no cells, so nothing bounds its area.
      {"NoLayers", 100790, 40000, 40000, -1, {}},
      // The cell count of these sizes wraps a 64-bit product.
      {"OverflowingCellCount", 100601, 687865856, 704643072, 33554688, {}},
  };
}

// An old block on the top layer deepens the 512 x 512 tiles of a 1.5 MB file
// to 256 layers, 1.1 GB of grids; the 12 layers it has before take 44 MB.
const CraftedSize kOldBlocksTooDeep{"OldBlocksTooDeep", 100562, 511, 511, 0, {{0, 0, 1, 0, 255}}};

MapFixture FixtureOf(const CraftedSize& size, bool isInterface) {
  MapFixture f;
  f.version = size.version;
  f.isInterface = isInterface;
  f.width = size.width;
  f.height = size.height;
  f.layerCount = size.layerCount;
  f.body.blocks = size.blocks;
  // Sizes beyond the file store one cell a grid: the size is what is refused.
  if (size.blocks.empty()) {
    for (TileGroupFixture& group : f.groups) group.slotGrid = group.tileGrid = {1};
  }
  return f;
}

class MapMemoryTest : public GameDataTest {
 protected:
  void SetUp() override {
    GameDataTest::SetUp();
    // The cell size every game uses.
    dataSettings.gridCellSize = 16;
    SetNoticeHook([this](const std::string& text, bool) { notices.push_back(text); });
  }
  void TearDown() override {
    SetNoticeHook(nullptr);
    GameDataTest::TearDown();
  }
  std::vector<std::string> notices;
};

TEST_F(MapMemoryTest, CraftedSizesAreRefusedBeforeTheirGrids) {
  std::vector<CraftedSize> sizes = CraftedSizes();
  sizes.push_back(kOldBlocksTooDeep);
  for (const CraftedSize& size : sizes) {
    SCOPED_TRACE(size.name);
    const ByteList bytes = MapFileBytes(FixtureOf(size, false));
    MeteredScope meter(kLoadCeiling);
    try {
      LoadMap(bytes, u"Crafted", -1, false);
      ADD_FAILURE() << "loaded";
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), -1);
      EXPECT_STREQ(e.what(), "Invalid map size.");
    }
    EXPECT_LT(meter.Requested(), kLoadCeiling);
    EXPECT_EQ(gameData.maps.LastIndex(), -1);
  }
}

// As the inspector loads a package: every interface at start, then each map
// through a reference. The crafted ones are dropped, the sample loads whole.
TEST_F(MapMemoryTest, APackageOfCraftedMapsLoadsWithoutThem) {
  PackageWriter writer = SampleGamePackage();
  std::vector<std::string> wanted;
  for (const CraftedSize& size : CraftedSizes()) {
    writer.AddCompressed(std::string(size.name) + ".kui", MapFileBytes(FixtureOf(size, true)));
    writer.AddCompressed(std::string(size.name) + ".kmp", MapFileBytes(FixtureOf(size, false)));
    wanted.push_back("\"" + std::string(size.name) + ".kui\": Invalid map size.");
  }
  UsePackage(writer);
  dataSettings.gridCellSize = kSampleGridCellSize;
  MeteredScope meter(kLoadCeiling);
  ASSERT_TRUE(LoadGameData());
  EXPECT_EQ(gameLoadLog.droppedInterfaces, wanted);
  for (const CraftedSize& size : CraftedSizes()) {
    std::int32_t index = -2;
    std::u16string name(size.name, size.name + std::char_traits<char>::length(size.name));
    EXPECT_EQ(ResolveMapReference(index, name, Identifier(), false, true), -2) << size.name;
  }
  EXPECT_EQ(notices.size(), CraftedSizes().size());
  std::int32_t town = -2;
  std::u16string townName = u"Town";
  EXPECT_GE(ResolveMapReference(town, townName, Identifier(), false, true), 0);
  EXPECT_LT(meter.Requested(), kLoadCeiling);
}

// A map without tiles may still have a sector grid of 65,536 cells: one row
// more is refused.
TEST_F(MapMemoryTest, AMapWithoutTilesKeepsASmallSectorGrid) {
  const struct {
    std::int32_t width, height, layerCount;
    bool loads;
  } cases[] = {
      {-1, 262143, 0, true}, {-1, 262144, 0, false}, {1023, -1, 1023, true}, {1023, -1, 1027, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " x " << c.layerCount);
    gameData.Reset();
    MapFixture f;
    f.width = c.width;
    f.height = c.height;
    f.layerCount = c.layerCount;
    const ByteList bytes = MapFileBytes(f);
    MeteredScope meter(kLoadCeiling);
    if (c.loads) {
      LoadMap(bytes, u"Flat", -1, false);
      EXPECT_EQ(gameData.maps[0].sectorGrid.cells.size(), 65536u);
    } else {
      EXPECT_THROW(LoadMap(bytes, u"Flat", -1, false), KivError);
    }
  }
}

// Where a load reports its errors, an allocation that fails is error 7: a set
// stops the load, an interface is dropped, a referenced map stays unloaded.
TEST_F(MapMemoryTest, AnAllocationThatFailsIsErrorSeven) {
  constexpr std::size_t kSmallCeiling = 48u << 10;
  PackageWriter writer;
  // 64 x 64 tiles in a file of 25 KB: at 8-pixel cells each collision grid takes 64 KB.
  dataSettings.gridCellSize = 8;
  MapFixture big;
  big.width = big.height = 63;
  big.layerCount = 0;
  writer.AddCompressed("Big.kui", MapFileBytes(big));
  writer.AddCompressed("Big.kmp", MapFileBytes(big));
  UsePackage(writer);
  {
    MeteredScope meter(kSmallCeiling);
    LoadAllInterfaces();
  }
  EXPECT_EQ(gameLoadLog.droppedInterfaces, std::vector<std::string>{"\"Big.kui\": Out of memory"});
  EXPECT_EQ(gameData.maps.LastIndex(), -1);
  std::int32_t index = -2;
  std::u16string name = u"Big";
  {
    MeteredScope meter(kSmallCeiling);
    EXPECT_EQ(ResolveMapReference(index, name, Identifier(), false, true), -2);
  }
  EXPECT_EQ(notices, std::vector<std::string>{"Map \"Big.kmp\" file could not be loaded as it is corrupt."});
  EXPECT_EQ(gameData.maps.LastIndex(), -1);

  // A set entry larger than the memory left.
  PackageWriter sets;
  DoorSetFixture door;
  ByteList doorBytes = DoorSetFileBytes(door);
  doorBytes.resize(kSmallCeiling * 2);
  sets.AddCompressed("0.kdo", doorBytes);
  Clear();
  UsePackage(sets);
  MeteredScope meter(kSmallCeiling);
  try {
    LoadAllSets(false);
    ADD_FAILURE() << "loaded";
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), 7);
    EXPECT_STREQ(e.what(), "\"0.kdo\": Out of memory");
  }
}

}  // namespace
}  // namespace kiv::test
