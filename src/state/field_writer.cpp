// The field record in the save form.
#include "core/data_buffer.h"
#include "data/script_codec.h"
#include "state/object_writers.h"
#include "state/save_references.h"

namespace kiv {

namespace {

void WriteRunTimeBlock(ByteList& buffer, std::int32_t& offset, const Field& field) {
  const FieldView& view = field.view;
  auto writeLong = [&](std::int32_t value) { BufferWriteLong(buffer, value, offset); };
  BufferWriteLong(buffer, field.removeMark, offset);
  BufferWriteByte(buffer, field.appliedSelectable, offset);
  BufferWriteByte(buffer, field.state, offset);
  for (std::int32_t value : {field.spawner, field.runValue, field.previousPixelWidth, field.previousPixelHeight})
    BufferWriteLong(buffer, value, offset);
  BufferWriteByte(buffer, field.runByte, offset);
  BufferWriteByte(buffer, view.panning, offset);  // view byte 2
  BufferWriteLong(buffer, view.int1, offset);
  BufferWriteByte(buffer, view.byte1, offset);
  // View values 1, 2, 4, 5, 3, 6, 7, 8: the pan.
  for (std::int32_t value : {view.panStartX, view.panStartY, view.panTargetX, view.panTargetY, view.panStartZ,
                             view.panTargetZ, view.panElapsed, view.panDuration})
    writeLong(value);
  writeLong(view.ownMap);
  writeLong(view.followedCharacter);
  writeLong(static_cast<std::int32_t>(view.transitionColor));
  BufferWriteByte(buffer, view.transitionMode, offset);
  writeLong(view.transitionKind);
  writeLong(view.transitionElapsed);
  writeLong(view.transitionDuration);
  BufferWriteByte(buffer, view.flashRepeat, offset);
  writeLong(static_cast<std::int32_t>(view.flashColor));
  writeLong(view.flashCount);
  writeLong(view.flashElapsed);
  writeLong(view.flashDuration);
  BufferWriteByte(buffer, view.shakeRepeat, offset);
  BufferWriteSingle(buffer, view.shakeAngle, offset);
  for (std::int32_t value : {view.shakeAmplitude, view.shakeCount, view.shakeElapsed, view.shakeDuration})
    writeLong(value);
  for (float value : {view.pitch, view.distance, view.distance2, view.yaw}) BufferWriteSingle(buffer, value, offset);
  writeLong(view.value22);
  BufferWriteLastIndex(buffer, field.runtimeEntries.size(), offset);
  for (const FieldRuntimeEntry& entry : field.runtimeEntries) {
    for (std::size_t number : {4, 5, 1, 9, 7, 8, 6, 2, 3}) BufferWriteLong(buffer, entry.values[number - 1], offset);
  }
}

}  // namespace

void WriteField(Map& map, ByteList& buffer, std::int32_t& offset, std::int32_t index, bool isSave) {
  Field& field = map.fields.at(static_cast<std::size_t>(index));
  BufferWriteString(buffer, field.name, offset);
  BufferWriteString(buffer, field.displayName, offset);
  BufferWriteByte(buffer, field.face, offset);
  for (std::size_t i = 0; i < kFieldStateCount; ++i) {
    BufferWriteLong(buffer, static_cast<std::int32_t>(field.colorsA[i]), offset);
    BufferWriteLong(buffer, static_cast<std::int32_t>(field.colorsB[i]), offset);
  }
  for (float value : {field.x, field.y, field.z, field.width, field.height, field.depth})
    BufferWriteSingle(buffer, value, offset);
  BufferWriteLong(buffer, field.lineHeight, offset);
  BufferWriteByte(buffer, field.shadow, offset);
  for (std::uint32_t color : field.colorsC) BufferWriteLong(buffer, static_cast<std::int32_t>(color), offset);
  BufferWriteByte(buffer, field.noDraw, offset);
  BufferWriteByte(buffer, field.nonExistent, offset);
  for (std::int32_t value : field.layoutValues) BufferWriteLong(buffer, value, offset);

  for (Script& script : field.scripts) SerializeScript(buffer, offset, script, isSave);
  WriteEventList(buffer, offset, field.triggers, isSave);

  BufferWriteVariant(buffer, field.value1, offset);
  BufferWriteVariant(buffer, field.value2, offset);
  BufferWriteByte(buffer, field.kind, offset);
  WriteReference(buffer, offset, SaveTable::kFontSet, field.fontSet, field.fontSetId);
  BufferWriteByte(buffer, field.designByte1, offset);
  WriteReference(buffer, offset, SaveTable::kSpriteSet, field.spriteSet, field.spriteSetId);
  BufferWriteByte(buffer, field.designByte2, offset);
  BufferWriteLong(buffer, field.valueDefault1, offset);
  BufferWriteByte(buffer, field.designByte3, offset);
  BufferWriteLong(buffer, field.designValues[0], offset);
  BufferWriteLong(buffer, field.designValues[1], offset);
  for (std::uint8_t byte : field.placementBytes) BufferWriteByte(buffer, byte, offset);
  BufferWriteLong(buffer, field.anchorFlags, offset);

  BufferWriteByte(buffer, field.style, offset);
  BufferWriteLong(buffer, static_cast<std::int32_t>(field.specular), offset);
  BufferWriteLong(buffer, field.valueAfterSpecular, offset);
  BufferWriteLong(buffer, field.rotation, offset);
  for (std::uint8_t value :
       {field.selectable, field.disabled, field.byteDefault1, field.byteByContent, field.activationOrder})
    BufferWriteByte(buffer, value, offset);
  BufferWriteLong(buffer, field.parent, offset);
  BufferWriteLastIndex(buffer, field.actions.size(), offset);
  for (const FieldAction& action : field.actions) {
    BufferWriteString(buffer, action.mapName, offset);
    BufferWriteLong(buffer, action.code, offset);
  }
  BufferWriteLong(buffer, field.view.followedPlayer, offset);
  WriteReference(buffer, offset, SaveTable::kControl, field.control, field.controlId);
  BufferWriteLong(buffer, field.controlValue, offset);
  BufferWriteSingle(buffer, field.fontScale, offset);
  BufferWriteByte(buffer, field.sizeMode, offset);
  BufferWriteByte(buffer, field.fontSizeMode, offset);
  if (isSave) WriteRunTimeBlock(buffer, offset, field);
}

}  // namespace kiv
