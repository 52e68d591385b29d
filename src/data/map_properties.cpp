#include <bit>
#include <utility>

#include "core/data_buffer.h"
#include "data/find_by_id.h"
#include "data/game_data.h"
#include "data/map_reader.h"
#include "data/script_codec.h"

namespace kiv {

namespace {

// Version gates of the properties section.
constexpr std::int32_t kFirstAmbientAlpha = 100474;
constexpr std::int32_t kFirstFogCheckKept = 100487;
constexpr std::int32_t kFirstBytesST = 100496;
constexpr std::int32_t kFirstSecondEventScript = 100500;
constexpr std::int32_t kFirstPropertyList = 100507;
constexpr std::int32_t kFirstValueV = 100509;
constexpr std::int32_t kFirstValuesXY = 100510;
constexpr std::int32_t kFirstFactorZ = 100511;
constexpr std::int32_t kFirstByteU = 100517;
constexpr std::int32_t kFirstFurtherId = 100520;
constexpr std::int32_t kFirstStateByte2 = 100531;
constexpr std::int32_t kFirstBackgroundSprites = 100533;
constexpr std::int32_t kFirstBackgroundColors = 100534;
constexpr std::int32_t kFirstAllEventScripts = 100542;
constexpr std::int32_t kFirstValueP = 100556;
constexpr std::int32_t kFirstMapMode = 100568;
constexpr std::int32_t kFirstValueW = 100576;
constexpr std::int32_t kFirstValueB = 100669;
constexpr std::int32_t kFirstStateFlag = 100672;
constexpr std::int32_t kFirstDesignSize = 100677;
constexpr std::int32_t kFirstSixFlags = 100686;
constexpr std::int32_t kFirstScreenOffset = 100710;
constexpr std::int32_t kFirstMapModeFour = 100720;
constexpr std::int32_t kFirstStateLast = 100737;
constexpr std::int32_t kFirstHeaderProperties = 100758;
constexpr std::int32_t kFirstNamedSlots = 100768;
constexpr std::int32_t kFirstScreenLayouts = 100771;
constexpr std::int32_t kFirstBackgroundByte3 = 100777;
constexpr std::int32_t kFirstFlagOrder = 100778;
constexpr std::int32_t kFirstValuesAA = 100782;
constexpr std::int32_t kFirstValuesAAKept = 100785;
constexpr std::int32_t kFirstStoredAlpha = 100789;
constexpr std::int32_t kFirstBackgroundRunState = 100789;

constexpr std::int32_t kMinBackgroundSpriteSize = 34;
constexpr std::int32_t kMinScreenLayoutSize = 24;
constexpr std::int32_t kFieldPlacementSize = 24;
constexpr std::int32_t kMinStringSize = 4;

std::vector<BackgroundSprite> ReadBackgroundSprites(const ByteList& buffer, std::int32_t& offset,
                                                    std::int32_t version, bool savedState) {
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kMinBackgroundSpriteSize);
  std::vector<BackgroundSprite> list(static_cast<std::size_t>(last + 1));
  for (BackgroundSprite& sprite : list) {
    sprite.spriteSet = -2;
    sprite.spriteSetId = BufferReadIdentifier(buffer, offset);
    for (float* value : {&sprite.parallaxX, &sprite.parallaxY, &sprite.speedX, &sprite.speedY})
      *value = BufferReadSingle(buffer, offset);
    sprite.repeatX = BufferReadByte(buffer, offset);
    sprite.repeatY = BufferReadByte(buffer, offset);
    if (version >= kFirstBackgroundByte3) {
      sprite.fitMap = BufferReadByte(buffer, offset);
    } else {
      sprite.repeatX = 1;
      sprite.repeatY = 1;
    }
    if (savedState && version >= kFirstBackgroundRunState) sprite.elapsed = BufferReadLong(buffer, offset);
  }
  return list;
}

std::vector<ScreenLayout> ReadScreenLayouts(const ByteList& buffer, std::int32_t& offset) {
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kMinScreenLayoutSize);
  std::vector<ScreenLayout> list(static_cast<std::size_t>(last + 1));
  for (ScreenLayout& layout : list) {
    const std::int32_t nameLast = BufferReadLastIndex(buffer, offset, kMinStringSize);
    for (std::int32_t i = 0; i <= nameLast; ++i)
      layout.platformNames.push_back(BufferReadString(buffer, offset));
    layout.width = BufferReadLong(buffer, offset);
    layout.height = BufferReadLong(buffer, offset);
    BufferReadBytes(buffer, &layout.sizeValue, sizeof layout.sizeValue, offset);
    const std::int32_t placementLast = BufferReadLastIndex(buffer, offset, kFieldPlacementSize);
    layout.placements.resize(static_cast<std::size_t>(placementLast + 1));
    for (FieldPlacement& placement : layout.placements) {
      for (std::int32_t& value : placement.values) value = BufferReadLong(buffer, offset);
    }
  }
  return list;
}

SetReference ReadSetReference(const ByteList& buffer, std::int32_t& offset) {
  SetReference reference;
  reference.id = BufferReadIdentifier(buffer, offset);
  reference.index = -2;
  return reference;
}

void ReadAmbientColor(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map) {
  std::uint32_t color = 0;
  if (version >= kFirstAmbientAlpha) {
    color = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
    map.ambientFactors[3] = static_cast<float>(color & 0xFF) / 255.0f;
  } else {
    std::uint8_t bytes[3];
    BufferReadBytes(buffer, bytes, 3, offset);
    color =
        bytes[0] | (static_cast<std::uint32_t>(bytes[1]) << 8) | (static_cast<std::uint32_t>(bytes[2]) << 16);
    if (map.isInterface) color = 0xFFFFFFFF;
    map.ambientFactors[3] = 1.0f;
  }
  if (version < kFirstStoredAlpha) color |= 0xFF000000;
  map.ambientColor = color;
  map.ambientFactors[0] = static_cast<float>(color & 0xFF) / 255.0f;
  map.ambientFactors[1] = static_cast<float>((color & 0xFF00) / 256) / 255.0f;
  map.ambientFactors[2] = static_cast<float>((color & 0xFF0000) / 65536) / 255.0f;
}

void ReadSavedState(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map) {
  MapSavedState& state = map.savedState;
  state.stateByte = BufferReadByte(buffer, offset);
  state.focusedField = BufferReadLong(buffer, offset);
  if (version >= kFirstFactorZ) {
    state.stateValue1 = BufferReadLong(buffer, offset);
    state.stateValue2 = BufferReadLong(buffer, offset);
  }
  if (version >= kFirstStateByte2) {
    map.overlayActive = BufferReadByte(buffer, offset);
    map.orderNumber = BufferReadLong(buffer, offset);
  }
  if (version >= kFirstStateFlag) map.exclusive = BufferReadInt16(buffer, offset) != 0;
  if (version >= kFirstScreenOffset) {
    state.screenOffsetX = BufferReadSingle(buffer, offset);
    state.screenOffsetY = BufferReadSingle(buffer, offset);
  }
  if (version >= kFirstStateLast) {
    state.stateValue6 = BufferReadLong(buffer, offset);
    state.stateFlag2 = BufferReadInt16(buffer, offset);
    state.stateFlag3 = BufferReadInt16(buffer, offset);
  }
}

}  // namespace

void ReadMapProperties(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map,
                       bool savedState) {
  map.mapByteA = BufferReadByte(buffer, offset);
  map.isInterface = BufferReadBoolean(buffer, offset);
  if (version >= kFirstDesignSize) {
    map.designWidth = BufferReadLong(buffer, offset);
    map.designHeight = BufferReadLong(buffer, offset);
  }
  if (map.isInterface && (version < kFirstDesignSize || map.designWidth == 0 || map.designHeight == 0)) {
    map.designWidth = dataSettings.gameVideoWidth;
    map.designHeight = dataSettings.gameVideoHeight;
  }
  ReadAmbientColor(buffer, offset, version, map);
  map.mapValueB = version >= kFirstValueB ? BufferReadLong(buffer, offset) : 0;
  map.mapByteA2 = version >= kFirstMapMode ? BufferReadByte(buffer, offset) : 1;
  map.soundSetId = BufferReadIdentifier(buffer, offset);
  map.soundSet = FindSoundSetById(map.soundSetId);
  map.mapValueC = BufferReadSingle(buffer, offset);
  map.mapValueD = BufferReadSingle(buffer, offset);
  for (SetReference& reference : map.setReferences) reference = ReadSetReference(buffer, offset);
  map.mapValueE = BufferReadSingle(buffer, offset);
  map.mapValueF = BufferReadSingle(buffer, offset);
  map.mapValueG = BufferReadSingle(buffer, offset);
  map.mapByteH = BufferReadByte(buffer, offset);
  map.mapByteI = BufferReadByte(buffer, offset);
  map.mapByteK = BufferReadByte(buffer, offset);
  map.mapByteJ = BufferReadByte(buffer, offset);
  map.mapValueL = BufferReadSingle(buffer, offset);
  map.setReference4 = ReadSetReference(buffer, offset);
  map.mapValueM = BufferReadSingle(buffer, offset);
  map.mapValueN = BufferReadSingle(buffer, offset);
  map.mapValueO = BufferReadSingle(buffer, offset);
  if (version >= kFirstValueP) {
    map.mapValueP = BufferReadSingle(buffer, offset);
  } else {
    map.mapValueO = 0.0f;
    map.mapValueP = 0.0f;
  }
  map.mapByteQ = BufferReadByte(buffer, offset);
  map.mapByteR = BufferReadByte(buffer, offset);
  map.fogOn = BufferReadByte(buffer, offset);
  map.fogColor = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  map.fogStart = BufferReadSingle(buffer, offset);
  map.fogEnd = BufferReadSingle(buffer, offset);
  if (version < kFirstFogCheckKept && map.fogStart > map.fogEnd) map.fogOn = 0;
  if (version >= kFirstBytesST) {
    map.mapByteS = BufferReadByte(buffer, offset);
    map.paused = BufferReadByte(buffer, offset);
  }
  if (version >= kFirstByteU) map.mapByteU = BufferReadByte(buffer, offset);
  if (version >= kFirstPropertyList && version < kFirstHeaderProperties) {
    ReadPropertyList(buffer, offset, map.properties);
  }
  map.mapValueV = version >= kFirstValueV ? BufferReadLong(buffer, offset) : -1;
  map.mapValueW = version >= kFirstValueW ? BufferReadLong(buffer, offset) : -1;
  if (version >= kFirstValuesXY) {
    map.mapValueX = BufferReadLong(buffer, offset);
    map.mapValueY = BufferReadLong(buffer, offset);
  }
  if (version >= kFirstFactorZ) {
    map.mapFactorZ = BufferReadSingle(buffer, offset);
    if (version == kFirstFactorZ) map.mapFactorZ /= 32.0f;
  } else {
    map.mapFactorZ = 0.01f;
  }
  if (version >= kFirstFurtherId) map.furtherId = BufferReadIdentifier(buffer, offset);
  if (version >= kFirstBackgroundColors) {
    map.backgroundColor1 = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
    map.backgroundColor2 = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  }
  if (version >= kFirstBackgroundSprites) {
    map.backgroundSprites1 = ReadBackgroundSprites(buffer, offset, version, savedState);
    map.backgroundSprites2 = ReadBackgroundSprites(buffer, offset, version, savedState);
  }
  if (version >= kFirstMapMode) {
    map.mapMode = BufferReadLong(buffer, offset);
    if (version < kFirstMapModeFour && map.mapMode == 3) map.mapMode = 4;
  }
  if (version >= kFirstSixFlags) {
    for (std::uint8_t& flag : map.flags) flag = BufferReadByte(buffer, offset);
    if (version < kFirstFlagOrder) {
      // Older files store flags 2, 3, 4 in the order 3, 4, 2.
      std::swap(map.flags[2], map.flags[3]);
      std::swap(map.flags[2], map.flags[4]);
    }
  }
  if (version >= kFirstNamedSlots) {
    for (NamedSlot& slot : map.namedSlots) {
      slot.name = BufferReadString(buffer, offset);
      slot.index = -1;
    }
  }
  if (version >= kFirstScreenLayouts) map.screenLayouts = ReadScreenLayouts(buffer, offset);
  if (version >= kFirstValuesAA) {
    map.mapValueAA = BufferReadSingle(buffer, offset);
    map.mapValueAB = BufferReadSingle(buffer, offset);
    map.mapValueAC = BufferReadSingle(buffer, offset);
  }
  if (version < kFirstValuesAAKept) {
    map.mapValueAA = 0.0f;
    map.mapValueAB = 0.0f;
    map.mapValueAC = std::bit_cast<float>(std::uint32_t{0xBAA3D70A});
  }
  const int scriptCount = version >= kFirstAllEventScripts ? 6 : version >= kFirstSecondEventScript ? 2 : 1;
  for (int i = 0; i < scriptCount; ++i) {
    ReadScript(buffer, offset, map.eventScripts[static_cast<std::size_t>(i)], savedState, true, 0, true);
  }
  if (savedState) {
    ReadSavedState(buffer, offset, version, map);
  } else {
    map.savedState.focusedField = -1;
  }
  map.furtherMapIndex1 = -1;
  map.furtherMapIndex2 = -1;
}

}  // namespace kiv
