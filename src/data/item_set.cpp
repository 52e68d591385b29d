#include "data/item_set.h"

#include <algorithm>
#include <string>

#include "core/data_buffer.h"
#include "core/error.h"
#include "data/find_by_id.h"
#include "data/game_data.h"
#include "data/resource_header.h"
#include "data/script_codec.h"

namespace kiv {

namespace {

// Version gates of the item layout.
constexpr std::int32_t kFirstFirstValue = 100494;
constexpr std::int32_t kFirstFlagA = 100776;
constexpr std::int32_t kLastDroppedHeadValue = 100380;
constexpr std::int32_t kFirstImageEntries = 100720;  // before: a second picture, older sprite layers
constexpr std::int32_t kFirstDisplayName = 100492;
constexpr std::int32_t kFirstScriptAtEnd = 100354;
constexpr std::int32_t kFirstKindNumber = 100476;
constexpr std::int32_t kFirstCurrentModes = 100472;  // before: two mode values
constexpr std::int32_t kFirstLongModes = 100384;
constexpr std::int32_t kFirstSoundId = 100405;
constexpr std::int32_t kFirstSoundName = 100378;
constexpr std::int32_t kFirstMoreReferences = 100478;
constexpr std::int32_t kFirstEntryValues = 100460;
constexpr std::int32_t kFirstValueC = 100584;
constexpr std::int32_t kFirstValueD = 100790;
constexpr std::int32_t kFirstFlagE = 100582;
constexpr std::int32_t kFirstFlagN = 100398;
constexpr std::int32_t kFirstSprite4 = 100393;
constexpr std::int32_t kFirstValueW = 100395;
constexpr std::int32_t kFirstEquipmentArea = 100453;
constexpr std::int32_t kFirstStatistics = 100384;
constexpr std::int32_t kFirstSecondStatistic = 100473;
constexpr std::int32_t kFirstThirdStatistic = 100488;
constexpr std::int32_t kFirstValueY = 100385;
constexpr std::int32_t kFirstFlagsXAsStored = 100544;
constexpr std::int32_t kFirstKindText = 100763;
constexpr std::int32_t kFirstValuesZ = 100718;
constexpr std::int32_t kFirstTemplateFlags = 100719;
constexpr std::int32_t kFirstScript3 = 100430;
constexpr std::int32_t kLastEarlyScript2 = 100437;
constexpr std::int32_t kFirstScript2 = 100444;
constexpr std::int32_t kFirstDroppedScript = 100480;
constexpr std::int32_t kLastDroppedScript = 100665;

constexpr std::int32_t kDefaultValueC = 48;
constexpr std::int32_t kOldFlagsX = 0x40;

constexpr std::int32_t kMinLayerSize = 16 + 4;
constexpr std::int32_t kLayerPartSize = 16 + 4;

RecordReference ReadReference(const ByteList& buffer, std::int32_t& offset) {
  RecordReference reference;
  reference.id = BufferReadIdentifier(buffer, offset);
  reference.index = -2;
  return reference;
}

void ReadItemScript(const ByteList& buffer, std::int32_t& offset, Script& script) {
  ReadScript(buffer, offset, script, false, true, 0, true);
}

void ReadSpriteLayers(const ByteList& buffer, std::int32_t& offset, Item& item) {
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kMinLayerSize);
  item.spriteLayers.assign(static_cast<std::size_t>(last + 1), ItemSpriteLayer());
  for (ItemSpriteLayer& layer : item.spriteLayers) {
    layer.spriteSet = ReadReference(buffer, offset);
    const std::int32_t partLast = BufferReadLastIndex(buffer, offset, kLayerPartSize);
    layer.parts.assign(static_cast<std::size_t>(partLast + 1), ItemSpriteLayerPart());
    for (ItemSpriteLayerPart& part : layer.parts) {
      part.spriteSet = ReadReference(buffer, offset);
      part.slot = BufferReadLong(buffer, offset);
    }
  }
}

void ReadStatisticValues(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Item& item) {
  const std::int32_t valueCount =
      1 + (version >= kFirstSecondStatistic ? 1 : 0) + (version >= kFirstThirdStatistic ? 1 : 0);
  const std::int32_t last = BufferReadLastIndex(buffer, offset, 16 + 4 * valueCount);
  for (std::int32_t s = 0; s <= last; ++s) {
    const std::int32_t statistic = FindRecordById(gameData.statistics, BufferReadIdentifier(buffer, offset));
    for (std::int32_t k = 0; k < valueCount; ++k) {
      const std::int32_t value = BufferReadLong(buffer, offset);
      if (statistic >= 0)
        item.statisticValues[static_cast<std::size_t>(k)][static_cast<std::size_t>(statistic)] = value;
    }
  }
}

void ReadScripts(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Item& item) {
  if (version >= kFirstScriptAtEnd) ReadItemScript(buffer, offset, item.scripts[0]);
  if ((version >= kFirstScript3 && version <= kLastEarlyScript2) || version >= kFirstScript2)
    ReadItemScript(buffer, offset, item.scripts[1]);
  if (version >= kFirstScript3) ReadItemScript(buffer, offset, item.scripts[2]);
  if (version >= kFirstMoreReferences) ReadItemScript(buffer, offset, item.scripts[3]);
  if (version >= kFirstDroppedScript && version <= kLastDroppedScript) {
    Script dropped;
    ReadScript(buffer, offset, dropped, false, false, 0, false);
  }
}

std::u16string DerivedKind(const Item& item) {
  if (!IdIsEmpty(item.equipmentArea.id)) return u"Equipment";
  if (item.kindNumber == kItemMagic) return u"Magic";
  if (item.kindNumber == kItemOrdinary) return u"Common";
  return u"";
}

}  // namespace

void ReadItemSet(const ByteList& buffer, std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= gameData.items.size())
    RaiseError(kErrIndex, "Subscript out of range: item " + std::to_string(index) + ".");
  Item& item = gameData.items[static_cast<std::size_t>(index)];
  std::int32_t offset = 0;
  std::int32_t version = 0;
  CheckResourceHeader(buffer, offset, version, kMinItemSetVersion);

  item.id = BufferReadIdentifier(buffer, offset);
  if (version >= kFirstFirstValue) item.firstValue = BufferReadLong(buffer, offset);
  if (version >= kFirstFlagA) item.flagA = BufferReadByte(buffer, offset);
  if (version <= kLastDroppedHeadValue) BufferReadLong(buffer, offset);
  item.picture = EmptyImageSource();
  ReadImageSource(buffer, item.picture, offset, version);
  if (version < kFirstImageEntries) {
    // The second picture of older items; kept as the first image entry's picture.
    item.images[0].image = EmptyImageSource();
    ReadImageSource(buffer, item.images[0].image, offset, version);
  }
  item.name = BufferReadString(buffer, offset);
  item.displayName = version >= kFirstDisplayName ? BufferReadString(buffer, offset) : item.name;
  item.text = BufferReadString(buffer, offset);
  if (version < kFirstScriptAtEnd) ReadItemScript(buffer, offset, item.scripts[0]);
  item.kindNumber = version >= kFirstKindNumber ? BufferReadLong(buffer, offset) : kItemOrdinary;
  BufferReadBytes(buffer, &item.value64, 8, offset);
  item.valueB = BufferReadLong(buffer, offset);
  if (version < kFirstCurrentModes) {
    // Mode values of the oldest items, from which the editor derived defaults.
    if (version < kFirstLongModes) {
      BufferReadByte(buffer, offset);
      BufferReadByte(buffer, offset);
    } else {
      BufferReadLong(buffer, offset);
      BufferReadLong(buffer, offset);
    }
  }

  for (RecordReference& sound : item.sounds) sound = RecordReference();
  for (RecordReference& sprite : item.spriteSets) sprite = RecordReference();
  if (version >= kFirstSoundId) {
    item.sounds[0] = ReadReference(buffer, offset);
  } else if (version >= kFirstSoundName) {
    // Named by text: kept until the sound sets can be searched by name.
    item.soundName1 = BufferReadString(buffer, offset);
  }
  if (version >= kFirstMoreReferences) {
    item.sounds[1] = ReadReference(buffer, offset);
    item.spriteSets[0] = ReadReference(buffer, offset);
    item.spriteSets[1] = ReadReference(buffer, offset);
  }
  if (version >= kFirstImageEntries) {
    for (ItemImageEntry& entry : item.images) {
      entry.image = EmptyImageSource();
      ReadImageSource(buffer, entry.image, offset, version);
      entry.value1 = BufferReadLong(buffer, offset);
      entry.value2 = BufferReadLong(buffer, offset);
    }
  } else if (version >= kFirstEntryValues) {
    item.images[0].value1 = BufferReadLong(buffer, offset);
    item.images[0].value2 = BufferReadLong(buffer, offset);
  }
  item.valueC = version >= kFirstValueC ? BufferReadLong(buffer, offset) : kDefaultValueC;
  item.valueD = version >= kFirstValueD ? BufferReadLong(buffer, offset) : item.valueC;
  item.flagE = version >= kFirstFlagE ? BufferReadByte(buffer, offset) : 1;
  item.valueF = BufferReadLong(buffer, offset);
  item.spriteSets[2] = ReadReference(buffer, offset);
  item.valueG = BufferReadLong(buffer, offset);
  item.valueH = BufferReadSingle(buffer, offset);
  item.valueI = BufferReadLong(buffer, offset);
  item.linkedItem = ReadReference(buffer, offset);
  if (version >= kFirstCurrentModes) {
    item.valueJ = BufferReadLong(buffer, offset);
    item.valueK = BufferReadLong(buffer, offset);
    item.valueL = BufferReadLong(buffer, offset);
    item.valueM = BufferReadLong(buffer, offset);
    item.sounds[2] = ReadReference(buffer, offset);
    item.sounds[3] = ReadReference(buffer, offset);
  }
  if (version >= kFirstFlagN) item.flagN = BufferReadByte(buffer, offset);
  item.valueO = BufferReadLong(buffer, offset);
  if (version >= kFirstMoreReferences) item.sounds[4] = ReadReference(buffer, offset);
  if (version >= kFirstSprite4) item.spriteSets[3] = ReadReference(buffer, offset);
  if (version >= kFirstCurrentModes) {
    item.flagP = BufferReadByte(buffer, offset);
    item.valueQ = BufferReadLong(buffer, offset);
    item.valueR = BufferReadLong(buffer, offset);
    item.valueS = BufferReadLong(buffer, offset);
  }
  item.valueT = BufferReadLong(buffer, offset);
  item.valueU = std::max(BufferReadLong(buffer, offset), 1);
  for (std::vector<std::int32_t>& values : item.statisticValues) values.assign(gameData.statistics.size(), 0);
  item.flagV = BufferReadByte(buffer, offset);
  item.valueW = version >= kFirstValueW ? BufferReadLong(buffer, offset) : 0;
  if (version >= kFirstEquipmentArea) {
    item.equipmentArea = ReadReference(buffer, offset);
  } else {
    item.equipmentArea = RecordReference();
  }
  if (version >= kFirstImageEntries) ReadSpriteLayers(buffer, offset, item);
  if (version >= kFirstStatistics) ReadStatisticValues(buffer, offset, version, item);
  item.flagsX = version >= kFirstStatistics ? BufferReadLong(buffer, offset) : 0;
  item.valueY = version >= kFirstValueY ? BufferReadLong(buffer, offset) : 1;
  if (version < kFirstFlagsXAsStored) item.flagsX |= kOldFlagsX;
  item.kind = version >= kFirstKindText ? BufferReadString(buffer, offset) : DerivedKind(item);
  if (version >= kFirstValuesZ) {
    item.valueZ1 = BufferReadLong(buffer, offset);
    item.valueZ2 = BufferReadLong(buffer, offset);
  }
  ReadTemplateFlagTable(buffer, offset, version, item.templateFlags, kFirstTemplateFlags);
  ReadScripts(buffer, offset, version, item);

  if (version < kFirstFlagA) {
    item.flagA = (item.valueF > 0 &&
                  (IdIsEmpty(item.spriteSets[3].id) || item.flagN != 1 || item.linkedItem.index != -1))
                     ? 1
                     : 0;
  }
}

}  // namespace kiv
