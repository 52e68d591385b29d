#include "core/data_buffer.h"
#include "data/script_codec.h"
#include "state/map_section_writers.h"
#include "state/save_references.h"

namespace kiv {

namespace {

void WriteSpriteSetReference(ByteList& buffer, std::int32_t& offset, const SetReference& reference) {
  WriteReference(buffer, offset, SaveTable::kSpriteSet, reference.index, reference.id);
}

void WriteBackgroundSprites(ByteList& buffer, std::int32_t& offset, const std::vector<BackgroundSprite>& list,
                            bool isSave) {
  BufferWriteLastIndex(buffer, list.size(), offset);
  for (const BackgroundSprite& sprite : list) {
    WriteReference(buffer, offset, SaveTable::kSpriteSet, sprite.spriteSet, sprite.spriteSetId);
    for (float value : {sprite.parallaxX, sprite.parallaxY, sprite.speedX, sprite.speedY})
      BufferWriteSingle(buffer, value, offset);
    BufferWriteByte(buffer, sprite.repeatX, offset);
    BufferWriteByte(buffer, sprite.repeatY, offset);
    BufferWriteByte(buffer, sprite.fitMap, offset);
    if (isSave) BufferWriteLong(buffer, sprite.elapsed, offset);
  }
}

void WriteScreenLayouts(ByteList& buffer, std::int32_t& offset, const std::vector<ScreenLayout>& list) {
  BufferWriteLastIndex(buffer, list.size(), offset);
  for (const ScreenLayout& layout : list) {
    BufferWriteLastIndex(buffer, layout.platformNames.size(), offset);
    for (const std::u16string& name : layout.platformNames) BufferWriteString(buffer, name, offset);
    BufferWriteLong(buffer, layout.width, offset);
    BufferWriteLong(buffer, layout.height, offset);
    BufferWriteBytes(buffer, &layout.sizeValue, sizeof layout.sizeValue, offset);
    BufferWriteLastIndex(buffer, layout.placements.size(), offset);
    for (const FieldPlacement& placement : layout.placements) {
      for (std::int32_t value : placement.values) BufferWriteLong(buffer, value, offset);
    }
  }
}

void WriteSavedState(ByteList& buffer, std::int32_t& offset, const Map& map) {
  const MapSavedState& state = map.savedState;
  BufferWriteByte(buffer, state.stateByte, offset);
  BufferWriteLong(buffer, state.focusedField, offset);
  BufferWriteLong(buffer, state.stateValue1, offset);
  BufferWriteLong(buffer, state.stateValue2, offset);
  BufferWriteByte(buffer, map.overlayActive, offset);
  BufferWriteLong(buffer, map.orderNumber, offset);
  BufferWriteBoolean(buffer, map.exclusive, offset);
  BufferWriteSingle(buffer, state.screenOffsetX, offset);
  BufferWriteSingle(buffer, state.screenOffsetY, offset);
  BufferWriteLong(buffer, state.stateValue6, offset);
  BufferWriteInt16(buffer, state.stateFlag2, offset);
  BufferWriteInt16(buffer, state.stateFlag3, offset);
}

}  // namespace

void WriteMapProperties(Map& map, ByteList& buffer, std::int32_t& offset, bool isSave) {
  BufferWriteByte(buffer, map.mapByteA, offset);
  BufferWriteBoolean(buffer, map.isInterface, offset);
  BufferWriteLong(buffer, map.designWidth, offset);
  BufferWriteLong(buffer, map.designHeight, offset);
  BufferWriteLong(buffer, static_cast<std::int32_t>(map.ambientColor), offset);
  BufferWriteLong(buffer, map.mapValueB, offset);
  BufferWriteByte(buffer, map.mapByteA2, offset);
  WriteReference(buffer, offset, SaveTable::kSoundSet, map.soundSet, map.soundSetId);
  BufferWriteSingle(buffer, map.mapValueC, offset);
  BufferWriteSingle(buffer, map.mapValueD, offset);
  for (const SetReference& reference : map.setReferences) WriteSpriteSetReference(buffer, offset, reference);
  BufferWriteSingle(buffer, map.mapValueE, offset);
  BufferWriteSingle(buffer, map.mapValueF, offset);
  BufferWriteSingle(buffer, map.mapValueG, offset);
  // The four-byte group is stored first, second, fourth, third.
  BufferWriteByte(buffer, map.mapByteH, offset);
  BufferWriteByte(buffer, map.mapByteI, offset);
  BufferWriteByte(buffer, map.mapByteK, offset);
  BufferWriteByte(buffer, map.mapByteJ, offset);
  BufferWriteSingle(buffer, map.mapValueL, offset);
  WriteSpriteSetReference(buffer, offset, map.setReference4);
  BufferWriteSingle(buffer, map.mapValueM, offset);
  BufferWriteSingle(buffer, map.mapValueN, offset);
  BufferWriteSingle(buffer, map.mapValueO, offset);
  BufferWriteSingle(buffer, map.mapValueP, offset);
  BufferWriteByte(buffer, map.mapByteQ, offset);
  BufferWriteByte(buffer, map.mapByteR, offset);
  BufferWriteByte(buffer, map.fogOn, offset);
  BufferWriteLong(buffer, static_cast<std::int32_t>(map.fogColor), offset);
  BufferWriteSingle(buffer, map.fogStart, offset);
  BufferWriteSingle(buffer, map.fogEnd, offset);
  BufferWriteByte(buffer, map.mapByteS, offset);
  BufferWriteByte(buffer, map.paused, offset);
  BufferWriteByte(buffer, map.mapByteU, offset);
  BufferWriteLong(buffer, map.mapValueV, offset);
  BufferWriteLong(buffer, map.mapValueW, offset);
  BufferWriteLong(buffer, map.mapValueX, offset);
  BufferWriteLong(buffer, map.mapValueY, offset);
  BufferWriteSingle(buffer, map.mapFactorZ, offset);
  BufferWriteIdentifier(buffer, map.furtherId, offset);
  BufferWriteLong(buffer, static_cast<std::int32_t>(map.backgroundColor1), offset);
  BufferWriteLong(buffer, static_cast<std::int32_t>(map.backgroundColor2), offset);
  WriteBackgroundSprites(buffer, offset, map.backgroundSprites1, isSave);
  WriteBackgroundSprites(buffer, offset, map.backgroundSprites2, isSave);
  BufferWriteLong(buffer, map.mapMode, offset);
  for (std::uint8_t flag : map.flags) BufferWriteByte(buffer, flag, offset);
  // Only the names: the indexes are found again after loading.
  for (const NamedSlot& slot : map.namedSlots) BufferWriteString(buffer, slot.name, offset);
  WriteScreenLayouts(buffer, offset, map.screenLayouts);
  BufferWriteSingle(buffer, map.mapValueAA, offset);
  BufferWriteSingle(buffer, map.mapValueAB, offset);
  BufferWriteSingle(buffer, map.mapValueAC, offset);
  for (Script& script : map.eventScripts) SerializeScript(buffer, offset, script, isSave);
  if (isSave) WriteSavedState(buffer, offset, map);
}

}  // namespace kiv
