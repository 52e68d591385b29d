#include "support/world_builder.h"

#include "data/project_state.h"
#include "mathkiv/math_init.h"
#include "data/sector_grid.h"
#include "state/project_settings_block.h"
#include "world/actor_shapes.h"

namespace kiv::test {

CollisionShape MakeBoxShape(const Box& box) { return BoxShapeOf(box); }

WorldBuilder::WorldBuilder(std::int32_t width, std::int32_t height, std::int32_t layers, std::int32_t cell) {
  gameData.Reset();
  dataSettings.Reset();
  projectState.Reset();
  storedProjectSettings = StoredProjectSettings();
  dataSettings.gridCellSize = cell;
  dataSettings.gridOrigin = 0;
  MathInit(cell, 0);
  map_ = gameData.maps.Append();
  Map& m = M();
  m.width = width;
  m.height = height;
  m.layerCount = layers;
  m.flags = {0, 0, 0, 0, 0, 0};
  const std::int32_t n = 32 / cell;
  m.staticCollision.Make((width + 1) * n, (height + 1) * n, layers + 2);
  m.workingCollision.Make((width + 1) * n, (height + 1) * n, layers + 2);
  for (TileLayerGroup& g : m.tileLayerGroups) {
    g.slotGrid.Make(width + 1, height + 1, layers + 1);
    g.tileGrid.Make(width + 1, height + 1, layers + 1);
  }
  m.heightGrid.assign(static_cast<std::size_t>(width + 2) * static_cast<std::size_t>(height + 2), 0.0f);
  BuildSectorGrid(m);
}

std::int32_t WorldBuilder::AddTileSet(bool wallSet, float groundBlock, const CollisionShape& shape,
                                      std::uint8_t cellFormat) {
  TileSet set;
  set.flags = wallSet ? 1 : 0;
  set.cellFormat = cellFormat;
  Tile tile;
  tile.valueD = groundBlock;
  tile.collision = shape;
  set.tiles.push_back(tile);
  gameData.tileSets.push_back(set);
  return static_cast<std::int32_t>(gameData.tileSets.size()) - 1;
}

void WorldBuilder::SetTile(std::int32_t group, std::int32_t x, std::int32_t y, std::int32_t d, std::int32_t set,
                           std::uint8_t tileByte) {
  TileLayerGroup& g = M().tileLayerGroups[static_cast<std::size_t>(group)];
  std::uint8_t slot = 0;
  for (std::size_t k = 0; k < g.slotTileSets.size(); ++k)
    if (g.slotTileSets[k] == set) slot = static_cast<std::uint8_t>(k + 1);
  if (slot == 0) {
    g.slotTileSets.push_back(set);
    g.slotIds.emplace_back();
    g.slotCount = static_cast<std::uint8_t>(g.slotTileSets.size());
    slot = g.slotCount;
  }
  g.slotGrid.At(x, y, d) = slot;
  g.tileGrid.At(x, y, d) = tileByte;
}

void WorldBuilder::SetCornerHeight(std::int32_t cx, std::int32_t cy, float h) {
  Map& m = M();
  m.heightGrid[static_cast<std::size_t>(cy) * static_cast<std::size_t>(m.width + 2) + static_cast<std::size_t>(cx)] =
      h;
}

std::int32_t WorldBuilder::AddCharacter(float x, float y, float z, const Box& shape, std::int32_t team, bool solid) {
  Actor a;
  a.x = x;
  a.y = y;
  a.z = z;
  a.team = team;
  a.solidToTouch = solid ? 1 : 0;
  a.collisionShape = MakeBoxShape(shape);
  a.areaBox = Box{-100000, -100000, 100000, 100000, -100000, 100000};
  M().actors.push_back(a);
  return static_cast<std::int32_t>(M().actors.size()) - 1;
}

std::int32_t WorldBuilder::AddDoor(float x, float y, std::uint8_t style, std::int32_t doorSet) {
  Door door;
  door.x = x;
  door.y = y;
  door.openStyle = style;
  door.doorSet = doorSet;
  door.collisionShape = MakeBoxShape(Box{0, 58, 32, 64, 0, 64});
  M().doors.push_back(door);
  const auto index = static_cast<std::int32_t>(M().doors.size()) - 1;
  SectorGridAddDoorAt(M(), index, x, y, 0.0f, false);
  return index;
}

std::int32_t WorldBuilder::AddZone(const Box& area, bool blocking) {
  Zone zone;
  zone.shape = MakeBoxShape(area);
  zone.Blocking() = blocking ? 1 : 0;
  zone.Disabled() = 0;
  M().zones.push_back(zone);
  return static_cast<std::int32_t>(M().zones.size()) - 1;
}

std::int32_t WorldBuilder::AddPickUp(float x, float y, std::int32_t item) {
  PickUp p;
  p.x = x;
  p.y = y;
  p.items[0].item = item;
  p.collisionShape = MakeBoxShape(Box{-8, -8, 8, 8, 0, 16});
  M().pickUps.push_back(p);
  return static_cast<std::int32_t>(M().pickUps.size()) - 1;
}

void WorldBuilder::SetTeams(std::initializer_list<std::initializer_list<std::int32_t>> relations) {
  projectState.teams.clear();
  for (const auto& row : relations) {
    Team team;
    team.relations.assign(row.begin(), row.end());
    projectState.teams.push_back(team);
  }
}

}  // namespace kiv::test
