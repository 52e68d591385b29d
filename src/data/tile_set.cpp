#include "data/tile_set.h"

#include <algorithm>
#include <string>

#include "core/data_buffer.h"
#include "core/error.h"
#include "data/game_data.h"
#include "data/resource_header.h"

namespace kiv {

namespace {

constexpr std::int32_t kFirstSkippedByte = 100776;
constexpr std::int32_t kFirstCollisionAsStored = 100778;
constexpr std::int32_t kFirstHeightAsStored = 100786;

constexpr std::int32_t kRuleSize = kTerraformTileCount * 4 + 1 + 16 + 1;
// Name, frame group, shape, C, G, B, D, rule count, K, E, byte count,
// linked id, F, image, H, I, J, shape, scatter, colours, flips.
constexpr std::int32_t kMinTileSize =
    4 + 4 + 1 + 4 + 1 + 4 + 4 + 4 + 1 + 4 + 4 + 16 + 1 + 1 + 16 + 24 + 4 + 1 + 12 + 8 + 3;
constexpr std::int32_t kStandardCell = 32;
constexpr std::uint8_t kShapeRaised = 2;

void ReadRule(const ByteList& buffer, std::int32_t& offset, TerraformRule& rule) {
  for (std::int32_t& tile : rule.tiles) tile = BufferReadLong(buffer, offset);
  rule.byteM = BufferReadByte(buffer, offset);
  rule.tileSetId = BufferReadIdentifier(buffer, offset);
  rule.byteL = BufferReadByte(buffer, offset);
  rule.tileSet = -2;
}

void ReadTile(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Tile& tile) {
  tile.name = BufferReadString(buffer, offset);
  tile.frameGroup = BufferReadLong(buffer, offset);
  tile.shape = BufferReadByte(buffer, offset);
  tile.valueC = BufferReadLong(buffer, offset);
  tile.flagG = BufferReadByte(buffer, offset);
  tile.valueB = BufferReadLong(buffer, offset);
  tile.valueD = BufferReadSingle(buffer, offset);
  const std::int32_t ruleLast = BufferReadLastIndex(buffer, offset, kRuleSize);
  tile.terraformRules.assign(static_cast<std::size_t>(ruleLast + 1), TerraformRule());
  for (TerraformRule& rule : tile.terraformRules) ReadRule(buffer, offset, rule);
  tile.byteK = BufferReadByte(buffer, offset);
  tile.valueE = BufferReadLong(buffer, offset);
  tile.byteList = BufferReadByteList(buffer, offset);
  if (tile.byteList.empty()) tile.valueE = 100;
  tile.linkedTileSetId = BufferReadIdentifier(buffer, offset);
  tile.linkedTileSet = -2;
  tile.byteF = BufferReadByte(buffer, offset);
  tile.image = EmptyImageSource();
  ReadImageSource(buffer, tile.image, offset, version);
  BufferReadBytes(buffer, tile.blockH.data(), static_cast<std::int32_t>(tile.blockH.size()), offset);
  BufferReadBytes(buffer, tile.blockI.data(), static_cast<std::int32_t>(tile.blockI.size()), offset);
  tile.valueJ = BufferReadLong(buffer, offset);
  ReadCollisionShape(buffer, tile.collision, offset, version);
  tile.scatterX = BufferReadLong(buffer, offset);
  tile.scatterY = BufferReadLong(buffer, offset);
  tile.scatterZ = BufferReadLong(buffer, offset);
  tile.colorA = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  tile.colorB = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  tile.randomFlipB = BufferReadByte(buffer, offset);
  tile.randomFlipA = BufferReadByte(buffer, offset);
  tile.randomTurn = BufferReadByte(buffer, offset);
}

// The frame group a tile draws from, or nullptr when it names none the set has.
const FrameGroup* GroupOf(const TileSet& set, const Tile& tile) {
  if (tile.frameGroup < 0 || static_cast<std::size_t>(tile.frameGroup) >= set.frames.frameGroups.size())
    return nullptr;
  return &set.frames.frameGroups[static_cast<std::size_t>(tile.frameGroup)];
}

void CorrectTile(const TileSet& set, std::int32_t version, Tile& tile) {
  const FrameGroup* group = GroupOf(set, tile);
  // Older editors measured the height of raised lower objects from a 32-pixel cell.
  if (version < kFirstHeightAsStored && set.kind == kTileKindLowerObject && tile.shape == kShapeRaised &&
      group != nullptr && tile.valueB != 0 &&
      (group->cellWidth != kStandardCell || group->cellHeight != kStandardCell)) {
    tile.valueB =
        static_cast<std::int32_t>(static_cast<std::int64_t>(tile.valueB) + kStandardCell - group->cellHeight);
  }
  // Older editors wrote a flat box where the tile had no collision.
  if (version < kFirstCollisionAsStored && !tile.collision.rectangles.empty() &&
      tile.collision.rectangles[0].front == 0 && tile.collision.rectangles[0].back == 0) {
    tile.collision = CollisionShape();
  }
  if (group != nullptr) {
    setExtents.maxTileCellWidth = std::max(setExtents.maxTileCellWidth, group->cellWidth);
    setExtents.maxTileCellHeight = std::max(setExtents.maxTileCellHeight, group->cellHeight);
  }
}

}  // namespace

void ReadTileSet(const ByteList& buffer, std::int32_t defaultKind, std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= gameData.tileSets.size())
    RaiseError(kErrIndex, "Subscript out of range: tile set " + std::to_string(index) + ".");
  TileSet& set = gameData.tileSets[static_cast<std::size_t>(index)];
  std::int32_t offset = 0;
  std::int32_t version = 0;
  CheckResourceHeader(buffer, offset, version, kMinTileSetVersion);
  // The editor's own older layouts are not read at all.
  if (version < kFirstLoadableTileSet) RaiseError(kErrData, "Internal command only available in editor.");

  set.kind = defaultKind;
  set.oldFormat = false;
  set.id = BufferReadIdentifier(buffer, offset);
  set.valueA = BufferReadLong(buffer, offset);
  if (version >= kFirstSkippedByte) BufferReadByte(buffer, offset);
  set.image = EmptyImageSource();
  ReadImageSource(buffer, set.image, offset, version);
  set.name = BufferReadString(buffer, offset);
  set.displayName = BufferReadString(buffer, offset);
  set.kind = BufferReadLong(buffer, offset);
  set.kindName = BufferReadString(buffer, offset);
  set.flags = BufferReadByte(buffer, offset);
  set.cellFormat = BufferReadByte(buffer, offset);
  ReadImageFrameLists(buffer, offset, version, set.frames);
  ReadColorBytes(buffer, set.color, offset, version);
  set.reserved = 0;

  const std::int32_t tileLast = BufferReadLastIndex(buffer, offset, kMinTileSize);
  set.tiles.assign(static_cast<std::size_t>(tileLast + 1), Tile());
  for (Tile& tile : set.tiles) {
    ReadTile(buffer, offset, version, tile);
    CorrectTile(set, version, tile);
  }
}

}  // namespace kiv
