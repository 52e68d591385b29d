#include "data/sprite_set.h"

#include <string>

#include "core/data_buffer.h"
#include "core/error.h"
#include "core/symbol_table.h"
#include "data/game_data.h"
#include "data/resource_header.h"
#include "data/script_codec.h"
#include "data/sprite_frames.h"
#include "data/sprite_instance.h"

namespace kiv {

namespace {

// Version gates of the sprite-set layout.
constexpr std::int32_t kFirstByteN = 100776;
constexpr std::int32_t kFirstImageC = 100733;
constexpr std::int32_t kFirstSetImage = 100764;
constexpr std::int32_t kFirstKindName = 100763;
constexpr std::int32_t kFirstLinkValueCount = 100766;
constexpr std::int32_t kFirstColor = 100748;
constexpr std::int32_t kFirstFrameLists = 100762;  // before: images and groups inline
// Inline frame groups carry no cell size: ReadFrameGroup reads none for them.
static_assert(kFirstFrameLists < kFirstFrameCellSize);
constexpr std::int32_t kFirstLayerValue = 100765;
constexpr std::int32_t kFirstOwnEntryValues = 100730;  // 100728 and 100729 repeat entry 0
constexpr std::int32_t kFirstConvertedFlags = 100743;  // particle flags and rotations fixed

constexpr std::int32_t kMaxSlotEntryLast = kSlotEntryCount - 1;
constexpr std::int32_t kMaxLinkValueLast = kLinkValueCount - 1;

// Smallest stored records, to refuse counts that cannot fit in the bytes left.
constexpr std::int32_t kMinLinkSize = 4 + 16;
constexpr std::int32_t kPartSize = 60;
constexpr std::int32_t kMinFrameSize = 4;
constexpr std::int32_t kMinLayerSize = 165;
constexpr std::int32_t kMinDirectionSize = 17;
constexpr std::int32_t kMinPoseSize = kDirectionCount * kMinDirectionSize;

constexpr std::int32_t kFlagEmitter = 8;
constexpr std::int32_t kFlagEffectA = 4;
constexpr std::int32_t kFlagEffectB = 0x200;
constexpr std::int32_t kFlagOldEmitter = 0x1000;
constexpr std::int32_t kFlagsClearedForOldEmitter = 0x200 | 0x400 | 0x800;

[[noreturn]] void RaiseOutOfRange(const std::string& what) {
  RaiseError(kErrIndex, "Subscript out of range: " + what + ".");
}

void ReadImage(const ByteList& buffer, std::int32_t& offset, std::int32_t version, EmbeddedResource& image) {
  image = EmptyImageSource();
  ReadImageSource(buffer, image, offset, version);
}

template <std::size_t N>
void ReadSingles(const ByteList& buffer, std::int32_t& offset, std::array<float, N>& values) {
  for (float& value : values) value = BufferReadSingle(buffer, offset);
}

struct CellSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};

void ReadLayer(const ByteList& buffer, std::int32_t& offset, std::int32_t version, SpriteSet& set,
               SpriteLayer& layer) {
  const bool inlineGroups = version < kFirstFrameLists;
  const bool entrySizes = version <= 100774;  // the loadable versions from 100728 on
  if (inlineGroups) {
    const std::int32_t imageLast = BufferReadLastIndex(buffer, offset, 1);
    layer.frames.images.assign(static_cast<std::size_t>(imageLast + 1), EmptyImageSource());
    for (EmbeddedResource& image : layer.frames.images) ReadImage(buffer, offset, version, image);
  }

  std::int32_t entrySize = 4 + (entrySizes ? 8 : 0) + (inlineGroups ? 4 : 0);
  const std::int32_t entryLast = BufferReadLastIndex(buffer, offset, entrySize);
  layer.frameEntries.assign(static_cast<std::size_t>(entryLast + 1), FrameEntry());
  std::vector<CellSize> cellSizes(layer.frameEntries.size());
  if (inlineGroups) layer.frames.frameGroups.assign(layer.frameEntries.size(), FrameGroup());
  for (std::size_t j = 0; j < layer.frameEntries.size(); ++j) {
    layer.frameEntries[j].value = BufferReadLong(buffer, offset);
    if (entrySizes) {
      cellSizes[j].width = BufferReadLong(buffer, offset);
      cellSizes[j].height = BufferReadLong(buffer, offset);
    }
    if (version < kFirstOwnEntryValues && j > 0) layer.frameEntries[j].value = layer.frameEntries[0].value;
    if (inlineGroups) ReadFrameGroup(buffer, offset, version, layer.frames.frameGroups[j]);
  }
  if (!inlineGroups) ReadImageFrameLists(buffer, offset, version, layer.frames);

  // One entry per frame group, whatever the file stored.
  layer.frameEntries.resize(layer.frames.frameGroups.size());
  if (entrySizes) {
    for (std::size_t j = 0; j < layer.frames.frameGroups.size() && j < cellSizes.size(); ++j) {
      layer.frames.frameGroups[j].cellWidth = cellSizes[j].width;
      layer.frames.frameGroups[j].cellHeight = cellSizes[j].height;
    }
  }

  for (Script& script : layer.scripts) ReadScript(buffer, offset, script, false, true, 0, true);

  layer.text = BufferReadString(buffer, offset);
  layer.slot = BufferReadLong(buffer, offset);
  if (version >= kFirstLayerValue) layer.value = BufferReadLong(buffer, offset);
  layer.particleLifeMin = BufferReadLong(buffer, offset);
  layer.particleLifeMax = BufferReadLong(buffer, offset);
  layer.emissionIntervalMin = BufferReadLong(buffer, offset);
  layer.emissionIntervalMax = BufferReadLong(buffer, offset);
  ReadSingles(buffer, offset, layer.particleRangesP);
  ReadSingles(buffer, offset, layer.particleRangesS);
  layer.startColorA = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  layer.startColorB = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  layer.endColorA = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  layer.endColorB = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  ReadSingles(buffer, offset, layer.particleRangesQ);
  layer.flags = BufferReadLong(buffer, offset);
  ReadSingles(buffer, offset, layer.spreadR);
  layer.emissionLimitMin = BufferReadLong(buffer, offset);
  layer.emissionLimitMax = BufferReadLong(buffer, offset);
  layer.byteT = BufferReadByte(buffer, offset);
  layer.valueK = BufferReadLong(buffer, offset);

  if (version < kFirstConvertedFlags && (layer.flags & kFlagEmitter) != 0 &&
      (layer.flags & kFlagEffectA) == 0) {
    layer.flags |= kFlagOldEmitter;
    layer.flags &= ~kFlagsClearedForOldEmitter;
  }
  if (version < kFirstKindName && (layer.flags & (kFlagEffectA | kFlagEffectB)) != 0)
    set.kindName = u"Effect";
}

void ReadFramePart(const ByteList& buffer, std::int32_t& offset, FramePart& part) {
  part.id = BufferReadLong(buffer, offset);
  part.keyBits = BufferReadLong(buffer, offset);
  part.kind = BufferReadLong(buffer, offset);
  part.index = BufferReadLong(buffer, offset);
  part.x = BufferReadLong(buffer, offset);
  part.y = BufferReadLong(buffer, offset);
  part.z = BufferReadLong(buffer, offset);
  part.color = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  part.scaleX = BufferReadSingle(buffer, offset);
  part.scaleY = BufferReadSingle(buffer, offset);
  part.scaleZ = BufferReadSingle(buffer, offset);
  part.rotation.x = BufferReadSingle(buffer, offset);
  part.rotation.y = BufferReadSingle(buffer, offset);
  part.rotation.z = BufferReadSingle(buffer, offset);
  part.rotation.w = BufferReadSingle(buffer, offset);
}

// Old files stored a meaningless rotation for parts of plain emitter layers.
bool TakesIdentityRotation(const SpriteDirection& direction, const FramePart& part) {
  if (part.kind != kPartLayer || part.index < 0 ||
      static_cast<std::size_t>(part.index) >= direction.layers.size())
    return false;
  return (direction.layers[static_cast<std::size_t>(part.index)].flags & 0xC) == 8;
}

void ReadDirection(const ByteList& buffer, std::int32_t& offset, std::int32_t version, SpriteSet& set,
                   SpriteDirection& direction) {
  ReadCollisionShape(buffer, direction.collision, offset, version);
  direction.frameDuration = BufferReadLong(buffer, offset);
  direction.byteO = BufferReadByte(buffer, offset);

  const std::int32_t layerLast = BufferReadLastIndex(buffer, offset, kMinLayerSize);
  direction.layers.assign(static_cast<std::size_t>(layerLast + 1), SpriteLayer());
  for (SpriteLayer& layer : direction.layers) ReadLayer(buffer, offset, version, set, layer);

  const std::int32_t slotLast = BufferReadLong(buffer, offset);
  if (slotLast > kMaxSlotEntryLast) RaiseOutOfRange("sprite slot entry " + std::to_string(slotLast));
  for (std::int32_t n = 0; n <= slotLast; ++n)
    direction.slots[static_cast<std::size_t>(n)].value = BufferReadLong(buffer, offset);

  const std::int32_t frameLast = BufferReadLastIndex(buffer, offset, kMinFrameSize);
  direction.frames.assign(static_cast<std::size_t>(frameLast + 1), SpriteFrame());
  for (SpriteFrame& frame : direction.frames) {
    const std::int32_t partLast = BufferReadLastIndex(buffer, offset, kPartSize);
    frame.parts.assign(static_cast<std::size_t>(partLast + 1), FramePart());
    for (FramePart& part : frame.parts) {
      ReadFramePart(buffer, offset, part);
      if (version < kFirstConvertedFlags && TakesIdentityRotation(direction, part))
        part.rotation = Quaternion();
    }
  }
  BuildSpriteDirection(direction);
}

void ReadLinks(const ByteList& buffer, std::int32_t& offset, std::int32_t version, SpriteSet& set) {
  std::int32_t valueLast = 0;
  if (version >= kFirstLinkValueCount) {
    valueLast = BufferReadLong(buffer, offset);
    if (valueLast > kMaxLinkValueLast) RaiseOutOfRange("sprite link value " + std::to_string(valueLast));
  }
  const std::int32_t valueCount = valueLast < 0 ? 0 : valueLast + 1;
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kMinLinkSize + 4 * valueCount);
  set.links.assign(static_cast<std::size_t>(last + 1), SpriteLink());
  for (SpriteLink& link : set.links) {
    link.name = SymbolIntern(BufferReadString(buffer, offset));
    link.spriteSetId = BufferReadIdentifier(buffer, offset);
    link.spriteSet = -2;
    link.values.fill(-1);
    for (std::int32_t k = 0; k < valueCount; ++k)
      link.values[static_cast<std::size_t>(k)] = BufferReadLong(buffer, offset);
  }
}

void ReadHead(const ByteList& buffer, std::int32_t& offset, std::int32_t version, SpriteSet& set) {
  set.id = BufferReadIdentifier(buffer, offset);
  set.valueA = BufferReadLong(buffer, offset);
  if (version >= kFirstByteN) set.byteN = BufferReadByte(buffer, offset);
  set.name = BufferReadString(buffer, offset);
  set.displayName = BufferReadString(buffer, offset);
  if (version >= kFirstImageC) ReadImage(buffer, offset, version, set.imageC);
  set.flags = BufferReadByte(buffer, offset);
  const std::u16string category = BufferReadString(buffer, offset);
  set.category = SymbolIntern(category);
  if (version >= kFirstSetImage) ReadImage(buffer, offset, version, set.image);
  set.kindName = version >= kFirstKindName ? BufferReadString(buffer, offset) : category;
  set.symbolB = SymbolIntern(BufferReadString(buffer, offset));

  ReadTemplateFlagTable(buffer, offset, version, set.spriteFlags, 0);
  ReadLinks(buffer, offset, version, set);
  ReadTemplateFlagTable(buffer, offset, version, set.templateFlags, 0);
  for (std::int32_t& value : set.valuesCtoH) value = BufferReadLong(buffer, offset);
  BufferReadBytes(buffer, set.blockI.data(), static_cast<std::int32_t>(set.blockI.size()), offset);
  set.valueJ = BufferReadLong(buffer, offset);
  ReadImage(buffer, offset, version, set.imageA);
  ReadImage(buffer, offset, version, set.imageB);
  set.slot = BufferReadLong(buffer, offset);
  if (version >= kFirstColor) ReadColorBytes(buffer, set.color, offset, version);
}

}  // namespace

void ReadSpriteSet(const ByteList& buffer, std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= gameData.spriteSets.size())
    RaiseOutOfRange("sprite set " + std::to_string(index));
  SpriteSet& set = gameData.spriteSets[static_cast<std::size_t>(index)];
  std::int32_t offset = 0;
  std::int32_t version = 0;
  CheckResourceHeader(buffer, offset, version, kMinSpriteSetVersion);
  ReadHead(buffer, offset, version, set);

  const std::int32_t ownPoses = BufferReadLong(buffer, offset);
  const std::int32_t lastStandard = BufferReadLong(buffer, offset);
  // Every set has the standard poses; a negative own-pose count would drop some.
  if (ownPoses < 0) RaiseOutOfRange("sprite pose count " + std::to_string(ownPoses));
  const std::int64_t poseCount = static_cast<std::int64_t>(kStandardPoseCount) + ownPoses;
  BufferRequire(buffer, offset, poseCount * kMinPoseSize);
  set.poses.assign(static_cast<std::size_t>(poseCount), SpritePose());

  for (std::int64_t e = 0; e < poseCount; ++e) {
    if (e > lastStandard && e < kStandardPoseCount)
      RaiseOutOfRange("standard sprite pose " + std::to_string(e) + " is not stored");
    SpritePose& pose = set.poses[static_cast<std::size_t>(e)];
    if (e >= kStandardPoseCount) pose.name = SymbolIntern(BufferReadString(buffer, offset));
    for (SpriteDirection& direction : pose.directions) {
      if (version < kFirstLoadableSpriteSet)
        RaiseOutOfRange("sprite set version " + std::to_string(version) + " is too old");
      ReadDirection(buffer, offset, version, set, direction);
    }
    MarkMirroredDirections(pose);
  }
  SummarizeSpriteSet(set);
}

}  // namespace kiv
