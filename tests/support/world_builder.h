#pragma once
// Builds small worlds in code for the world tests: a map with ground, wall
// and object tiles, a height grid, characters with shapes and teams, doors,
// zones with template access, pick-ups and teams.
#include <cstdint>
#include <initializer_list>

#include "core/geometry.h"
#include "data/game_data.h"

namespace kiv::test {

// One box shape.
CollisionShape MakeBoxShape(const Box& box);

class WorldBuilder {
 public:
  // Resets the game data and project settings and adds map 0 of the given
  // last column, row and layer, with a path cell of `cell` pixels.
  WorldBuilder(std::int32_t width, std::int32_t height, std::int32_t layers, std::int32_t cell = 16);
  std::int32_t map() const { return map_; }
  Map& M() const { return gameData.maps[map_]; }

  // A tile set with one tile; returns its index.
  std::int32_t AddTileSet(bool wallSet, float groundBlock = 0.0f, const CollisionShape& shape = {},
                          std::uint8_t cellFormat = 0);
  Tile& TileOfSet(std::int32_t set) { return gameData.tileSets[static_cast<std::size_t>(set)].tiles[0]; }
  // Puts a tile set's tile into group 0 (ground) or 1 (objects).
  void SetTile(std::int32_t group, std::int32_t x, std::int32_t y, std::int32_t d, std::int32_t set,
               std::uint8_t tileByte = 0);
  void SetCornerHeight(std::int32_t cx, std::int32_t cy, float h);

  // A character at (x, y, z) with a footprint box around its position.
  std::int32_t AddCharacter(float x, float y, float z, const Box& shape = Box{-8, -8, 8, 8, 0, 48},
                            std::int32_t team = -1, bool solid = true);
  std::int32_t AddDoor(float x, float y, std::uint8_t style, std::int32_t doorSet = 0);
  std::int32_t AddZone(const Box& area, bool blocking);
  std::int32_t AddPickUp(float x, float y, std::int32_t item = 0);
  // Teams with relation table rows (one per team).
  static void SetTeams(std::initializer_list<std::initializer_list<std::int32_t>> relations);

 private:
  std::int32_t map_ = 0;
};

}  // namespace kiv::test
