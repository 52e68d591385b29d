#include "data/sector_grid.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <stdexcept>

#include "core/error.h"

namespace kiv {
namespace {

Map GridMap(std::int32_t width, std::int32_t height, std::int32_t layers) {
  Map map;
  map.width = width;
  map.height = height;
  map.layerCount = layers;
  BuildSectorGrid(map);
  return map;
}

TEST(SectorGridTest, BoundsCoverTheMap) {
  const struct {
    std::int32_t width, height, layers, columns, rows, levels;
  } cases[] = {{9, 9, 0, 3, 3, 1}, {3, 7, 3, 1, 2, 1}, {4, 8, 4, 2, 3, 2}, {0, 0, 0, 1, 1, 1}};
  for (const auto& c : cases) {
    Map map = GridMap(c.width, c.height, c.layers);
    EXPECT_TRUE(map.sectorGridBuilt);
    EXPECT_EQ(map.sectorGrid.columns, c.columns);
    EXPECT_EQ(map.sectorGrid.rows, c.rows);
    EXPECT_EQ(map.sectorGrid.levels, c.levels);
  }
}

TEST(SectorGridTest, CellCountsOfAnySizeDoNotWrap) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  const struct {
    std::int32_t width, height, layers;
    std::int64_t cells;
  } cases[] = {{9, 9, 0, 9},
               {-1, -1, -1, 1},
               {-5, 1023, -1, 256},
               {kMax, kMax, 0, std::int64_t{1} << 58},
               {kMax, kMax, kMax, std::numeric_limits<std::int64_t>::max()}};
  for (const auto& c : cases) {
    EXPECT_EQ(SectorGridCells(c.width, c.height, c.layers), c.cells)
        << c.width << "," << c.height << "," << c.layers;
  }
  // A grid beyond what memory can address fails its allocation instead of
  // wrapping into a small grid, and is not marked built.
  Map map;
  map.width = map.height = map.layerCount = kMax;
  EXPECT_THROW(BuildSectorGrid(map), std::length_error);
  EXPECT_FALSE(map.sectorGridBuilt);
  EXPECT_EQ(map.sectorGrid.columns, 0);
}

TEST(SectorGridTest, LightsEnterEveryCellTheirRadiusReaches) {
  Map map = GridMap(9, 9, 0);
  SectorGridAddLight(map, 4, 300.0f, 300.0f, 0.0f, 100, false);
  SectorGridAddLight(map, 4, 300.0f, 300.0f, 0.0f, 100, false);  // no duplicates
  for (std::int32_t c = 0; c < 3; ++c) {
    for (std::int32_t r = 0; r < 3; ++r) {
      const auto& lights = map.sectorGrid.At(c, r, 0).lights;
      if (c >= 1 && r >= 1) {
        EXPECT_EQ(lights, std::vector<std::int32_t>{4}) << c << "," << r;
      } else {
        EXPECT_TRUE(lights.empty()) << c << "," << r;
      }
    }
  }
  SectorGridAddLight(map, 4, 300.0f, 300.0f, 0.0f, 100, true);
  EXPECT_TRUE(map.sectorGrid.At(2, 2, 0).lights.empty());
  // Cells outside the grid map onto its border.
  SectorGridAddLight(map, 1, -500.0f, 5000.0f, 0.0f, 10, false);
  EXPECT_EQ(map.sectorGrid.At(0, 2, 0).lights, std::vector<std::int32_t>{1});
}

TEST(SectorGridTest, ListAddRemove) {
  std::vector<std::int32_t> list{1, 2, 3};
  SectorListAddRemove(list, 2, false);
  EXPECT_EQ(list, (std::vector<std::int32_t>{1, 2, 3}));
  SectorListAddRemove(list, 9, true);
  EXPECT_EQ(list, (std::vector<std::int32_t>{1, 2, 3}));
  SectorListAddRemove(list, 2, true);
  EXPECT_EQ(list, (std::vector<std::int32_t>{1, 3}));
  // A full cell grows.
  for (std::int32_t i = 100; i < 400; ++i) SectorListAddRemove(list, i, false);
  EXPECT_EQ(list.size(), 302u);
}

TEST(SectorGridTest, DoorsGoIntoTheCellBelowTheirPosition) {
  Map map = GridMap(9, 9, 0);
  SectorGridAddDoorAt(map, 0, 130.0f, 100.0f, 0.0f, false);
  SectorGridAddDoorAt(map, 1, 130.0f, 90.0f, 0.0f, false);
  SectorGridAddDoorAt(map, 2, -100.0f, -50.0f, 0.0f, false);  // truncation puts it in cell 0
  EXPECT_EQ(map.sectorGrid.At(1, 1, 0).doors, std::vector<std::int32_t>{0});
  EXPECT_EQ(map.sectorGrid.At(1, 0, 0).doors, std::vector<std::int32_t>{1});
  EXPECT_EQ(map.sectorGrid.At(0, 0, 0).doors, std::vector<std::int32_t>{2});
  SectorGridAddDoorAt(map, 0, 130.0f, 100.0f, 0.0f, true);
  EXPECT_TRUE(map.sectorGrid.At(1, 1, 0).doors.empty());
}

TEST(SectorGridTest, ADoorOnTheBottomRowOfAMapOfWholeSectorsStaysInTheGrid) {
  Map map = GridMap(7, 7, 0);  // 8 x 8 tiles: 2 x 2 sectors
  SectorGridAddDoorAt(map, 5, 40.0f, 240.0f, 0.0f, false);
  EXPECT_EQ(map.sectorGrid.At(0, 1, 0).doors, std::vector<std::int32_t>{5});
  // A door truly outside the map is refused.
  for (const auto& p :
       {std::array<float, 3>{40.0f, 300.0f, 0.0f}, std::array<float, 3>{300.0f, 40.0f, 0.0f},
        std::array<float, 3>{40.0f, 40.0f, 200.0f}, std::array<float, 3>{-200.0f, 40.0f, 0.0f}}) {
    try {
      SectorGridAddDoorAt(map, 6, p[0], p[1], p[2], false);
      FAIL() << p[0] << "," << p[1] << "," << p[2];
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), 9);
    }
  }
}

TEST(SectorGridTest, ADoorAtAnUndefinedHeightStandsAtHeightZero) {
  constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
  Map map = GridMap(9, 9, 7);
  SectorGridAddDoorAt(map, 4, 130.0f, 100.0f, kNaN, false);
  EXPECT_EQ(map.sectorGrid.At(1, 1, 0).doors, std::vector<std::int32_t>{4});
  // An undefined place on the map is no place on it.
  for (const auto& p : {std::array<float, 2>{kNaN, 100.0f}, std::array<float, 2>{130.0f, kNaN}}) {
    try {
      SectorGridAddDoorAt(map, 5, p[0], p[1], 0.0f, false);
      FAIL() << p[0] << "," << p[1];
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), 9);
    }
  }
}

TEST(SectorGridTest, RebuildingKeepsEntries) {
  Map map = GridMap(9, 9, 0);
  SectorGridAddDoorAt(map, 3, 10.0f, 10.0f, 0.0f, false);
  BuildSectorGrid(map);
  EXPECT_EQ(map.sectorGrid.At(0, 0, 0).doors, std::vector<std::int32_t>{3});
}

}  // namespace
}  // namespace kiv
