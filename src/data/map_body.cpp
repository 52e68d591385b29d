// The body of a map or interface file: its object lists in file order, with
// the sections of old formats converted while they are read, then the steps
// that follow every read of a body.
#include <algorithm>
#include <cmath>

#include "core/data_buffer.h"
#include "core/error.h"
#include "core/math_util.h"
#include "core/number_text.h"
#include "data/actor_record.h"
#include "data/find_by_id.h"
#include "data/game_data.h"
#include "data/legacy_sections.h"
#include "data/linking.h"
#include "data/map_grid_budget.h"
#include "data/map_object_readers.h"
#include "data/map_object_settings.h"
#include "data/map_reader.h"
#include "data/map_references.h"
#include "data/sector_grid.h"
#include "data/set_lookups.h"

namespace kiv {

namespace {

// Version gates of the body.
constexpr std::int32_t kFirstSpeakers = 100546;
constexpr std::int32_t kFirstNoBlocks = 100565;
constexpr std::int32_t kFirstBoundaryDepth = 100567;
constexpr std::int32_t kFirstNoTilePlacements = 100590;
constexpr std::int32_t kFirstNoVehicles = 100601;
constexpr std::int32_t kFirstNoTurrets = 100605;
constexpr std::int32_t kFirstNoDynamicObjects = 100636;
constexpr std::int32_t kFirstPositionedTexts = 100751;

// The smallest stored record of each section, to refuse a count that cannot
// fit in the bytes left before anything is allocated. A stored script takes
// at least 8 bytes (its text and version).
constexpr std::int32_t kMinScript = 8;
constexpr std::int32_t kMinDynamicObject = 4 + 16 + 11 + 12 + 25 + 8 * kMinScript + 7;
constexpr std::int32_t kMinDoor = 80 + 10 * kMinScript;
constexpr std::int32_t kMinZone = 22;
constexpr std::int32_t kMinBoundary = 16;
constexpr std::int32_t kMinActor = 80;
constexpr std::int32_t kMinVehicle = 100 + 9 * kMinScript;
constexpr std::int32_t kTilePlacementSize = 24;
constexpr std::int32_t kMinPickUp = 86;
constexpr std::int32_t kMinLight = 169;
constexpr std::int32_t kMinSpeaker = 177;
constexpr std::int32_t kBlockSize = 21;
constexpr std::int32_t kMinTurret = 100 + 10 * kMinScript;
constexpr std::int32_t kMinSpawn = 53 + 4 * kMinScript;
constexpr std::int32_t kMinField = 80 + 2 * kMinScript;
constexpr std::int32_t kMinPositionedText = 16;

// The most layers that the blocks of old files may ask for.
constexpr std::int32_t kMaxLegacyLayer = 255;

constexpr std::uint8_t kBlockBodyIdByte = 0x02;
constexpr std::uint8_t kBlockTopIdByte = 0x01;

struct BodyReader {
  const ByteList& buffer;
  std::int32_t& offset;
  std::int32_t version;
  Map& map;
  std::int32_t mapIndex;
  bool isSave;

  std::int32_t LastIndex(std::int32_t minRecordSize) { return BufferReadLastIndex(buffer, offset, minRecordSize); }

  void ReadDynamicObjects();
  void ReadVehicles();
  void ReadTurrets();
  void ReadTilePlacements();
  void ReadBlocks();
  void ChooseScreenLayout();
};

void BodyReader::ReadDynamicObjects() {
  const std::int32_t last = LastIndex(kMinDynamicObject);
  if (last < 0) return;
  const auto count = static_cast<std::size_t>(last) + 1;
  if (map.isInterface) {
    const std::size_t base = map.fields.size();
    map.fields.resize(base + count);
    for (std::size_t c = 0; c < count; ++c) {
      ReadLegacyDynamicObject(buffer, offset, version, map, mapIndex, static_cast<std::int32_t>(base + c), isSave);
    }
    // The fields of the file follow the converted ones.
    if (map.SelectionMarkerField() >= 0) map.SelectionMarkerField() += static_cast<std::int32_t>(count);
    if (map.FurtherField() >= 0) map.FurtherField() += static_cast<std::int32_t>(count);
  } else {
    const std::size_t base = map.actors.size();
    map.actors.resize(base + count);
    for (std::size_t c = 0; c < count; ++c) {
      ReadLegacyDynamicObject(buffer, offset, version, map, mapIndex, static_cast<std::int32_t>(base + c), isSave);
    }
  }
}

void BodyReader::ReadVehicles() {
  const std::int32_t last = LastIndex(kMinVehicle);
  if (last < 0) return;
  const std::size_t base = map.actors.size();
  map.actors.resize(base + static_cast<std::size_t>(last) + 1);
  for (std::int32_t k = 0; k <= last; ++k) {
    ReadLegacyVehicle(buffer, offset, version, map, static_cast<std::int32_t>(base) + k, isSave);
  }
}

void BodyReader::ReadTurrets() {
  const std::int32_t last = LastIndex(kMinTurret);
  if (last < 0) return;
  const std::size_t base = map.actors.size();
  map.actors.resize(base + static_cast<std::size_t>(last) + 1);
  for (std::int32_t k = 0; k <= last; ++k) {
    ReadLegacyTurret(buffer, offset, version, map, static_cast<std::int32_t>(base) + k, isSave);
  }
}

// An old placement names its tile by an identifier, which the tiles of the
// tile sets that load no longer keep: no placement finds its tile, and each is
// skipped like one whose tile is missing.
void BodyReader::ReadTilePlacements() {
  const std::int32_t last = LastIndex(kTilePlacementSize);
  if (last < 0) return;
  offset += static_cast<std::int32_t>((static_cast<std::int64_t>(last) + 1) * kTilePlacementSize);
}

// The grids of a map made deeper by its old blocks stay within the budget of one map.
void RequireGrownGridsWithinBudget(const Map& map, std::int32_t lastLayer) {
  auto cells = [lastLayer](const ByteGrid3& grid, std::int64_t extra) {
    const std::int64_t layers =
        std::max<std::int64_t>(grid.layers, static_cast<std::int64_t>(lastLayer) + 1 + extra);
    return static_cast<std::int64_t>(grid.columns) * grid.rows * layers;
  };
  RequireMapGridBudget(cells(map.tileLayerGroups[0].slotGrid, 0), cells(map.staticCollision, 1),
                       SectorGridCells(map.width, map.height, std::max(map.layerCount, lastLayer)));
}

// Grows every layer-indexed grid of the map to hold layers 0..lastLayer.
void GrowLayers(Map& map, std::int32_t lastLayer) {
  RequireGrownGridsWithinBudget(map, lastLayer);
  auto grow = [](ByteGrid3& grid, std::int32_t layerCount) {
    if (grid.layers >= layerCount) return;
    grid.layers = layerCount;
    grid.cells.resize(static_cast<std::size_t>(grid.columns) * static_cast<std::size_t>(grid.rows) *
                          static_cast<std::size_t>(grid.layers),
                      0);
  };
  for (TileLayerGroup& group : map.tileLayerGroups) {
    grow(group.slotGrid, lastLayer + 1);
    grow(group.tileGrid, lastLayer + 1);
  }
  // One layer more: layer 0 holds the ground heights (see map_header.cpp).
  grow(map.staticCollision, lastLayer + 2);
  grow(map.workingCollision, lastLayer + 2);
}

std::uint8_t AddBlockSlot(TileLayerGroup& group, std::uint8_t idByte) {
  if (group.slotCount == 255) RaiseError(kErrOverflow, "Overflow");
  Identifier id;
  IdFill(id, idByte);
  group.slotTileSets.resize(group.slotCount);
  group.slotIds.resize(group.slotCount);
  group.slotIds.push_back(id);
  group.slotTileSets.push_back(FindTileSetById(id));
  return ++group.slotCount;
}

void BodyReader::ReadBlocks() {
  const std::int32_t last = LastIndex(kBlockSize);
  TileLayerGroup& group = map.tileLayerGroups[0];
  std::uint8_t bodySlot = 0;
  std::uint8_t topSlot = 0;
  if (last >= 0) {
    bodySlot = AddBlockSlot(group, kBlockBodyIdByte);
    topSlot = AddBlockSlot(group, kBlockTopIdByte);
  }
  std::int32_t highest = 3;
  for (std::int32_t i = 0; i <= last; ++i) {
    const std::int32_t x = BufferReadLong(buffer, offset);
    const std::int32_t y = BufferReadLong(buffer, offset);
    const std::uint8_t style = BufferReadByte(buffer, offset);
    const std::uint8_t variant = BufferReadByte(buffer, offset);
    offset += 3;
    const std::int32_t topLayer = BufferReadLong(buffer, offset);
    offset += 4;
    const std::int32_t tile = (style <= 3 ? style : style + 28) + variant * 8;
    if (tile > 255) RaiseError(kErrOverflow, "Overflow");
    if (topLayer > kMaxLegacyLayer) RaiseInvalidMapSize();
    highest = std::max(highest, topLayer);
    const std::int32_t column = x / 32;
    const std::int32_t row = y / 32;
    // Blocks outside the map are passed over.
    if (topLayer < 0 || x < 0 || y < 0 || column > map.width || row > map.height || group.slotGrid.columns == 0)
      continue;
    GrowLayers(map, topLayer);
    for (std::int32_t layer = 0; layer < topLayer; ++layer) {
      group.slotGrid.At(column, row, layer) = bodySlot;
      group.tileGrid.At(column, row, layer) = static_cast<std::uint8_t>(tile);
    }
    group.slotGrid.At(column, row, topLayer) = topSlot;
    group.tileGrid.At(column, row, topLayer) = static_cast<std::uint8_t>(tile);
  }
  map.layerCount = highest;
  if (map.width >= 0 && map.height >= 0) GrowLayers(map, highest);
}

double SimilarityRatio(double a, double b) {
  if (b != 0.0) return 1.0 - std::fabs((a - b) / b);
  return a == 0.0 ? 1.0 : 0.0;
}

double ScreenLayoutScore(double width, double height, double size) {
  if (mapObjectSettings.screenRotation == 1) std::swap(width, height);
  const double w = mapObjectSettings.displayWidth;
  const double h = mapObjectSettings.displayHeight;
  const double ratio = height != 0.0 ? width / height : (width == 0.0 ? std::nan("") : HUGE_VAL);
  const double displayRatio = h != 0.0 ? w / h : 0.0;
  double aspect = SimilarityRatio(ratio, displayRatio);
  if (std::isnan(aspect)) aspect = -HUGE_VAL;
  return 0.9 * SimilarityRatio(size, mapObjectSettings.displaySize) + 0.5 * aspect + 0.1 * SimilarityRatio(width, w) +
         0.1 * SimilarityRatio(height, h);
}

void BodyReader::ChooseScreenLayout() {
  map.chosenScreenLayout = -1;
  if (!map.isInterface) return;
  double best = ScreenLayoutScore(dataSettings.gameVideoWidth, dataSettings.gameVideoHeight, 0.0);
  const std::u16string platform = GetPlatformName();
  for (std::size_t k = 0; k < map.screenLayouts.size(); ++k) {
    const ScreenLayout& layout = map.screenLayouts[k];
    if (!layout.platformNames.empty() &&
        std::find(layout.platformNames.begin(), layout.platformNames.end(), platform) == layout.platformNames.end())
      continue;
    const double score =
        ScreenLayoutScore(layout.width, layout.height, static_cast<double>(layout.sizeValue));
    if (score > best) {
      map.chosenScreenLayout = static_cast<std::int32_t>(k);
      best = score;
    }
  }
}

// A wall cell: a slot above 0 whose tile set is loaded and marks walls.
bool IsWallCell(const Map& map, const TileLayerGroup& group, std::int32_t column, std::int32_t row,
                std::int32_t layer) {
  const std::uint8_t slot = group.slotGrid.At(column, row, layer);
  if (slot == 0 || slot > group.slotTileSets.size()) return false;
  const std::int32_t tileSet = group.slotTileSets[slot - 1u];
  (void)map;
  return tileSet >= 0 && TileSetHasWallFlag(tileSet);
}

bool InGrid(const ByteGrid3& grid, std::int32_t column, std::int32_t row, std::int32_t layer) {
  return column >= 0 && row >= 0 && layer >= 0 && column < grid.columns && row < grid.rows && layer < grid.layers;
}

std::int32_t TileCoordinate(float position) {
  if (std::isnan(position)) return -1;
  return RoundToLong(position) / 32;
}

// Carves the opening of each door into the wall tiles below it. A door whose
// cells lie outside the map's grids is skipped.
void OpenDoorways(Map& map) {
  TileLayerGroup& group = map.tileLayerGroups[0];
  const ByteGrid3& grid = group.slotGrid;
  for (const Door& door : map.doors) {
    const std::int32_t x = TileCoordinate(door.x);
    const std::int32_t y = TileCoordinate(door.y);
    const std::int32_t z = TileCoordinate(door.z);
    if (!InGrid(grid, x, y + 1, z)) continue;
    bool copied = false;
    if (y >= 0) {
      if (!IsWallCell(map, group, x, y + 1, z)) continue;
      const std::uint8_t slot = grid.At(x, y, z);
      if (slot > 0 && slot <= group.slotTileSets.size()) {
        const std::int32_t tileSet = group.slotTileSets[slot - 1u];
        if (tileSet >= 0 && !TileSetHasWallFlag(tileSet)) {
          group.slotGrid.At(x, y + 1, z) = slot;
          group.tileGrid.At(x, y + 1, z) = group.tileGrid.At(x, y, z);
          copied = true;
        }
      }
    }
    if (!copied && y + 2 <= map.height && InGrid(grid, x, y + 2, z)) {
      group.slotGrid.At(x, y + 1, z) = grid.At(x, y + 2, z);
      group.tileGrid.At(x, y + 1, z) = group.tileGrid.At(x, y + 2, z);
    }
    if (z + 1 <= map.layerCount && InGrid(grid, x, y + 1, z + 1)) group.slotGrid.At(x, y + 1, z + 1) = 0;
  }
}

}  // namespace

void ReadMapBodySections(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map,
                         std::int32_t mapIndex, bool isSave) {
  BodyReader reader{buffer, offset, version, map, mapIndex, isSave};
  // Built once here, from the header's size: the readers of doors and lights enter them.
  BuildSectorGrid(map);
  map.actors.clear();
  map.fields.clear();

  // 1: dynamic objects of old files, converted into fields or actors.
  if (version < kFirstNoDynamicObjects) reader.ReadDynamicObjects();

  // 2 to 4: doors, zones, boundaries.
  std::int32_t last = reader.LastIndex(kMinDoor);
  map.doors.assign(static_cast<std::size_t>(last + 1), Door());
  for (std::int32_t i = 0; i <= last; ++i) ReadDoor(buffer, offset, version, map, mapIndex, i, isSave);
  last = reader.LastIndex(kMinZone);
  map.zones.assign(static_cast<std::size_t>(last + 1), Zone());
  for (std::int32_t i = 0; i <= last; ++i) ReadZone(buffer, offset, version, map, i, isSave);
  last = reader.LastIndex(kMinBoundary);
  map.boundaries.assign(static_cast<std::size_t>(last + 1), CollisionShape());
  for (std::int32_t i = 0; i <= last; ++i) ReadBoundary(buffer, offset, version, map, i);

  // 5: actors; old files append theirs to the converted dynamic objects.
  last = reader.LastIndex(kMinActor);
  const std::size_t actorBase = version < kFirstNoDynamicObjects ? map.actors.size() : 0;
  map.actors.resize(actorBase + static_cast<std::size_t>(last + 1));
  for (std::int32_t i = 0; i <= last; ++i) {
    ReadCharacter(buffer, offset, map.actors[actorBase + static_cast<std::size_t>(i)], version, isSave,
                  map.mapMode);
  }

  // 6 and 7: vehicles and tile placements of old files.
  if (version < kFirstNoVehicles) reader.ReadVehicles();
  if (version < kFirstNoTilePlacements) reader.ReadTilePlacements();

  // 8 to 11: pick-ups, lights, speakers, projectiles.
  last = reader.LastIndex(kMinPickUp);
  map.pickUps.assign(static_cast<std::size_t>(last + 1), PickUp());
  for (std::int32_t i = 0; i <= last; ++i) ReadPickUp(buffer, offset, version, map, i, isSave);
  last = reader.LastIndex(kMinLight);
  map.lights.assign(static_cast<std::size_t>(last + 1), Light());
  for (std::int32_t i = 0; i <= last; ++i) ReadLight(buffer, offset, version, map, i);
  map.speakers.clear();
  if (version >= kFirstSpeakers) {
    last = reader.LastIndex(kMinSpeaker);
    map.speakers.resize(static_cast<std::size_t>(last + 1));
    for (std::int32_t i = 0; i <= last; ++i) ReadSpeaker(buffer, offset, version, map, i);
  }
  map.projectiles.clear();
  if (isSave) {
    last = reader.LastIndex(kProjectileRecordSize);
    map.projectiles.resize(static_cast<std::size_t>(last + 1));
    for (std::int32_t i = 0; i <= last; ++i) ReadProjectile(buffer, offset, map, i);
  }

  // 12 to 14: blocks and turrets of old files, spawns.
  if (version < kFirstNoBlocks) reader.ReadBlocks();
  if (version < kFirstNoTurrets) reader.ReadTurrets();
  last = reader.LastIndex(kMinSpawn);
  map.spawns.assign(static_cast<std::size_t>(last + 1), Spawn());
  for (std::int32_t i = 0; i <= last; ++i) ReadSpawn(buffer, offset, version, map, i, isSave);

  // The screen layout that the fields are placed for.
  reader.ChooseScreenLayout();

  // 15 and 16: fields (after converted dynamic objects in old files), positioned texts.
  last = reader.LastIndex(kMinField);
  const std::size_t fieldBase = version < kFirstNoDynamicObjects ? map.fields.size() : 0;
  map.fields.resize(fieldBase + static_cast<std::size_t>(last + 1));
  for (std::int32_t i = 0; i <= last; ++i) {
    ReadField(buffer, offset, version, map, mapIndex, static_cast<std::int32_t>(fieldBase) + i, isSave);
  }
  map.positionedTexts.clear();
  if (version >= kFirstPositionedTexts) {
    last = reader.LastIndex(kMinPositionedText);
    map.positionedTexts.resize(static_cast<std::size_t>(last + 1));
    for (std::int32_t i = 0; i <= last; ++i) ReadPositionedText(buffer, offset, map, i);
  }
}

void FinishMapBody(std::int32_t mapIndex, bool isSave) {
  LinkMapObjects(mapIndex, isSave);
  Map& map = gameData.maps[mapIndex];
  if (map.SelectedField() > static_cast<std::int32_t>(map.fields.size()) - 1) map.SelectedField() = -1;
  OpenDoorways(map);
  if (!isSave) ResolveMapLinks(mapIndex);
}

void ReadMapBody(const ByteList& buffer, std::int32_t& offset, std::int32_t version, std::int32_t mapIndex,
                 bool isSave) {
  ReadMapBodySections(buffer, offset, version, gameData.maps[mapIndex], mapIndex, isSave);
  FinishMapBody(mapIndex, isSave);
}

}  // namespace kiv
