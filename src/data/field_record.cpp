#include "data/field_record.h"

#include <algorithm>
#include <cmath>

#include "core/data_buffer.h"
#include "core/math_util.h"
#include "core/number_text.h"
#include "core/symbol_table.h"
#include "data/data_hooks.h"
#include "data/field_state.h"
#include "data/find_by_id.h"
#include "data/map_object_settings.h"
#include "data/map_record.h"
#include "data/object_defaults.h"
#include "data/script_codec.h"
#include "data/set_lookups.h"
#include "data/sprite_instance.h"

namespace kiv {

namespace {

constexpr std::int32_t kFirstAnchorKept = 100486;
constexpr std::int32_t kFirstKind3Alignment = 100490;
constexpr std::int32_t kFirstColorSets = 100496;
constexpr std::int32_t kFirstSelectable = 100498;
constexpr std::int32_t kFirstOldFieldScripts = 100499;
constexpr std::int32_t kFirstParent = 100504;
constexpr std::int32_t kFirstNonExistent = 100505;
constexpr std::int32_t kFirstDisabled = 100506;
constexpr std::int32_t kFirstThreeInts = 100513;
constexpr std::int32_t kFirstThirdIntKept = 100518;
constexpr std::int32_t kFirstScript2 = 100519;
constexpr std::int32_t kFirstLineHeight = 100550;
constexpr std::int32_t kFirstDesignByte1 = 100552;
constexpr std::int32_t kFirstScripts67 = 100554;
constexpr std::int32_t kFirstActions = 100575;
constexpr std::int32_t kFirstByteDefault1 = 100578;
constexpr std::int32_t kFirstActivationOrder = 100579;
constexpr std::int32_t kFirstInterfaceDepth = 100585;
constexpr std::int32_t kFirstScript8 = 100586;
constexpr std::int32_t kFirstDisplayName = 100629;
constexpr std::int32_t kFirstSpecular = 100636;
constexpr std::int32_t kFirstKind2Sprite = 100647;
constexpr std::int32_t kFirstActionMapName = 100667;
constexpr std::int32_t kFirstExclusiveAnchors = 100678;
constexpr std::int32_t kFirstFollowedPlayer = 100682;
constexpr std::int32_t kFirstScripts910 = 100696;
constexpr std::int32_t kFirstByteByContent = 100697;
constexpr std::int32_t kFirstTriggerList = 100724;
constexpr std::int32_t kFirstValueDefault1 = 100735;
constexpr std::int32_t kFirstFontScale = 100753;
constexpr std::int32_t kFirstFloatSize = 100754;
constexpr std::int32_t kFirstFontSizeMode = 100770;
constexpr std::int32_t kExtraByteVersion = 100772;

constexpr std::int32_t kMinActionSize = 8;
constexpr std::int32_t kRuntimeEntrySize = 36;

void ReadScriptSlot(const ByteList& buffer, std::int32_t& offset, Script& script, bool withState) {
  ReadScript(buffer, offset, script, withState, true, 0, true);
}

bool IsProjectAnchorMap(const Map& map) {
  for (const ProjectMapName& named : mapObjectSettings.anchorMaps) {
    if (!IdIsEmpty(named.id) && IdEquals(named.id, map.id)) return true;
    if (!named.name.empty() && named.name == map.fileName) return true;
  }
  return false;
}

void ReadColorSets(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Field& field) {
  if (version >= kFirstColorSets) {
    for (std::size_t i = 0; i < kFieldStateCount; ++i) {
      field.colorsA[i] = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
      field.colorsB[i] = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
    }
  } else {
    field.colorsA.fill(static_cast<std::uint32_t>(BufferReadLong(buffer, offset)));
    field.colorsB.fill(static_cast<std::uint32_t>(BufferReadLong(buffer, offset)));
  }
}

void ReadActions(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Field& field) {
  field.actions.clear();
  if (version < kFirstActions) return;
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kMinActionSize);
  field.actions.resize(static_cast<std::size_t>(last + 1));
  for (FieldAction& action : field.actions) {
    if (version >= kFirstActionMapName) {
      action.mapName = BufferReadString(buffer, offset);
      action.mapKind = -2;
    } else {
      action.mapId = BufferReadIdentifier(buffer, offset);
      action.mapKind = -4;
    }
    action.code = BufferReadLong(buffer, offset);
  }
}

void ReadRunTimeBlock(const ByteList& buffer, std::int32_t& offset, Field& field) {
  FieldView& view = field.view;
  auto readLong = [&](std::int32_t& value) { value = BufferReadLong(buffer, offset); };
  field.removeMark = BufferReadLong(buffer, offset);
  field.appliedSelectable = BufferReadByte(buffer, offset);
  field.state = BufferReadByte(buffer, offset);
  field.spawner = BufferReadLong(buffer, offset);
  field.runValue = BufferReadLong(buffer, offset);
  field.previousPixelWidth = BufferReadLong(buffer, offset);
  field.previousPixelHeight = BufferReadLong(buffer, offset);
  field.runByte = BufferReadByte(buffer, offset);
  view.panning = BufferReadByte(buffer, offset);  // view byte 2
  view.int1 = BufferReadLong(buffer, offset);
  view.byte1 = BufferReadByte(buffer, offset);
  // View values 1, 2, 4, 5, 3, 6, 7, 8: the pan.
  for (std::int32_t* value : {&view.panStartX, &view.panStartY, &view.panTargetX, &view.panTargetY,
                              &view.panStartZ, &view.panTargetZ, &view.panElapsed, &view.panDuration})
    readLong(*value);
  view.ownMap = BufferReadLong(buffer, offset);
  view.followedCharacter = BufferReadLong(buffer, offset);
  view.transitionColor = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  view.transitionMode = BufferReadByte(buffer, offset);
  readLong(view.transitionKind);
  readLong(view.transitionElapsed);
  readLong(view.transitionDuration);
  view.flashRepeat = BufferReadByte(buffer, offset);
  view.flashColor = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  readLong(view.flashCount);
  readLong(view.flashElapsed);
  readLong(view.flashDuration);
  view.shakeRepeat = BufferReadByte(buffer, offset);
  view.shakeAngle = BufferReadSingle(buffer, offset);
  readLong(view.shakeAmplitude);
  readLong(view.shakeCount);
  readLong(view.shakeElapsed);
  readLong(view.shakeDuration);
  view.pitch = BufferReadSingle(buffer, offset);
  view.distance = BufferReadSingle(buffer, offset);
  view.distance2 = BufferReadSingle(buffer, offset);
  view.yaw = BufferReadSingle(buffer, offset);
  readLong(view.value22);
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kRuntimeEntrySize);
  field.runtimeEntries.assign(static_cast<std::size_t>(last + 1), FieldRuntimeEntry());
  for (FieldRuntimeEntry& entry : field.runtimeEntries) {
    for (std::size_t number : {4, 5, 1, 9, 7, 8, 6, 2, 3}) entry.values[number - 1] = BufferReadLong(buffer, offset);
  }
}

// The sprites a counter shows: the smaller of its two values, whole, from 0
// (also for a negative or undefined value) up to a fixed limit.
std::int32_t CounterSpriteCount(double value1, double value2) {
  const double smaller = std::floor(std::min(value1, value2));
  if (std::isnan(value1) || std::isnan(value2) || !(smaller > 0.0)) return 0;
  return static_cast<std::int32_t>(std::min(smaller, static_cast<double>(kMaxFieldSprites)));
}

}  // namespace

void ReadField(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map,
               std::int32_t mapIndex, std::int32_t fieldIndex, bool withState) {
  Field& field = map.fields.at(static_cast<std::size_t>(fieldIndex));

  // Step 1: names, kind, colours, position.
  field.mapIndex = mapIndex;
  field.name = BufferReadString(buffer, offset);
  field.displayName = version >= kFirstDisplayName ? BufferReadString(buffer, offset) : field.name;
  field.face = BufferReadByte(buffer, offset);
  ReadColorSets(buffer, offset, version, field);
  field.x = BufferReadSingle(buffer, offset);
  field.y = BufferReadSingle(buffer, offset);
  field.z = BufferReadSingle(buffer, offset);
  if (version < kFirstInterfaceDepth && map.isInterface) field.z = 0.0f;

  // Step 2: size and flags.
  if (version >= kFirstFloatSize) {
    field.width = BufferReadSingle(buffer, offset);
    field.height = BufferReadSingle(buffer, offset);
    field.depth = BufferReadSingle(buffer, offset);
  } else {
    field.width = static_cast<float>(BufferReadLong(buffer, offset));
    field.height = static_cast<float>(BufferReadLong(buffer, offset));
    field.depth = static_cast<float>(BufferReadLong(buffer, offset));
  }
  if (version >= kFirstLineHeight) field.lineHeight = BufferReadLong(buffer, offset);
  field.shadow = BufferReadByte(buffer, offset);
  if (version >= kFirstColorSets) {
    for (std::uint32_t& color : field.colorsC) color = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  } else {
    field.colorsC.fill(static_cast<std::uint32_t>(BufferReadLong(buffer, offset)));
  }
  field.noDraw = BufferReadByte(buffer, offset);
  if (version >= kFirstNonExistent) field.nonExistent = BufferReadByte(buffer, offset);
  if (version >= kFirstThreeInts) {
    for (std::int32_t& value : field.layoutValues) value = BufferReadLong(buffer, offset);
    if (version < kFirstThirdIntKept && field.layoutValues[2] < 1) field.layoutValues[2] = 1;
  } else {
    field.layoutValues[2] = 1;
  }

  // Step 3: event scripts and old scripts.
  ReadScriptSlot(buffer, offset, field.scripts[0], withState);
  ReadScriptSlot(buffer, offset, field.scripts[1], withState);
  if (version >= kFirstScript2) ReadScriptSlot(buffer, offset, field.scripts[2], withState);
  if (version >= kFirstThreeInts) {
    for (std::size_t slot = 3; slot <= 5; ++slot) ReadScriptSlot(buffer, offset, field.scripts[slot], withState);
  }
  std::array<Script, 3> oldScripts;
  if (version >= kFirstOldFieldScripts && version < kFirstTriggerList) {
    for (std::size_t slot : {1, 2, 0}) ReadScriptSlot(buffer, offset, oldScripts[slot], withState);
  }
  if (version >= kFirstScripts67) {
    ReadScriptSlot(buffer, offset, field.scripts[6], withState);
    ReadScriptSlot(buffer, offset, field.scripts[7], withState);
  }
  if (version >= kFirstScript8) ReadScriptSlot(buffer, offset, field.scripts[8], withState);
  if (version >= kFirstScripts910) {
    ReadScriptSlot(buffer, offset, field.scripts[9], withState);
    ReadScriptSlot(buffer, offset, field.scripts[10], withState);
  }

  // Step 4: triggers.
  field.triggers.clear();
  if (version >= kFirstTriggerList) {
    ReadEventList(buffer, offset, version, field.triggers, withState, 0);
  } else {
    field.triggers = objectDefaults.field.triggers;
    AddTriggerFromScript(field.triggers, oldScripts[0], SymbolIntern(u"Trigger.Field.Activate"), false, {});
    AddTriggerFromScript(field.triggers, oldScripts[1], SymbolIntern(u"Trigger.Field.Select"), false, {});
    AddTriggerFromScript(field.triggers, oldScripts[2], SymbolIntern(u"Trigger.Field.Unselect"), false, {});
  }

  // Step 5: values and sets.
  BufferReadVariant(buffer, field.value1, offset);
  BufferReadVariant(buffer, field.value2, offset);
  field.kind = BufferReadByte(buffer, offset);
  field.fontSetId = BufferReadIdentifier(buffer, offset);
  field.fontSet = FindFontSetById(field.fontSetId);
  if (version >= kFirstDesignByte1) field.designByte1 = BufferReadByte(buffer, offset);
  field.spriteSetId = BufferReadIdentifier(buffer, offset);
  field.spriteSet = -2;

  // Step 6: layout bytes, with the conversions of old files.
  if (version < kFirstSpecular) {
    BufferRequire(buffer, offset, 16);
    offset += 16;
  }
  field.designByte2 = BufferReadByte(buffer, offset);
  field.valueDefault1 = version >= kFirstValueDefault1 ? BufferReadLong(buffer, offset) : 1;
  field.designByte3 = BufferReadByte(buffer, offset);
  field.designValues[0] = BufferReadLong(buffer, offset);
  field.designValues[1] = BufferReadLong(buffer, offset);
  for (std::uint8_t& byte : field.placementBytes) byte = BufferReadByte(buffer, offset);
  field.anchorFlags = BufferReadLong(buffer, offset);
  if (version < kFirstKind2Sprite && field.kind == 2) {
    field.spriteSet = -1;
    field.spriteSetId = Identifier();
  }
  if (version < kFirstKind3Alignment && field.kind == 3) {
    for (std::size_t i = 0; i < 2; ++i) {
      if (field.placementBytes[i] == 1) {
        field.placementBytes[i] = 2;
      } else if (field.placementBytes[i] == 0) {
        field.placementBytes[i] = 1;
      }
    }
  }
  if (version < kFirstAnchorKept && IsProjectAnchorMap(map)) field.anchorFlags = 0;
  if (version < kFirstExclusiveAnchors) {
    if ((field.anchorFlags & 5) == 5) field.anchorFlags &= ~5;
    if ((field.anchorFlags & 10) == 10) field.anchorFlags &= ~10;
  }

  // Step 7: style, state flags, actions, control, font scale.
  if (version >= kFirstColorSets) field.style = BufferReadByte(buffer, offset);
  if (version >= kFirstSpecular) {
    field.specular = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
    field.valueAfterSpecular = BufferReadLong(buffer, offset);
    field.rotation = BufferReadLong(buffer, offset);
  }
  if (version >= kFirstSelectable) field.selectable = BufferReadByte(buffer, offset);
  if (version >= kFirstDisabled) field.disabled = BufferReadByte(buffer, offset);
  field.byteDefault1 = version >= kFirstByteDefault1 ? BufferReadByte(buffer, offset) : 1;
  if (version >= kFirstByteByContent) {
    field.byteByContent = BufferReadByte(buffer, offset);
  } else {
    field.byteByContent = field.kind != 0 ? 1 : 0;
  }
  if (version >= kFirstActivationOrder) field.activationOrder = BufferReadByte(buffer, offset);
  field.parent = version >= kFirstParent ? BufferReadLong(buffer, offset) : -1;
  ReadActions(buffer, offset, version, field);
  if (version >= kFirstFollowedPlayer) field.view.followedPlayer = BufferReadLong(buffer, offset);
  if (version >= kFirstTriggerList) {
    field.controlId = BufferReadIdentifier(buffer, offset);
    field.control = FindControlById(field.controlId);
    field.controlValue = BufferReadLong(buffer, offset);
  } else {
    field.controlId = Identifier();
    field.control = -1;
  }
  if (version >= kFirstFontScale) {
    field.fontScale = BufferReadSingle(buffer, offset);
    field.sizeMode = BufferReadByte(buffer, offset);
  } else {
    field.fontScale = 1.0f;
  }
  field.fontSizeMode = version >= kFirstFontSizeMode ? BufferReadByte(buffer, offset) : field.sizeMode;
  if (version == kExtraByteVersion) BufferReadByte(buffer, offset);

  if (withState) {
    // Step 9: the run-time block.
    ReadRunTimeBlock(buffer, offset, field);
  } else {
    // Step 8: placement for the current screen.
    if (!(map.chosenScreenLayout >= 0 && ApplyLayoutToField(map, fieldIndex, map.chosenScreenLayout))) {
      RescaleFieldToScreen(map, fieldIndex);
    }
    field.spriteCount = 0;
    field.sprites.clear();
    // Step 10: state and run-time defaults.
    if (field.parent < 0) {
      if (field.disabled != 0) {
        field.state = kFieldDisabled;
      } else if (field.selectable != 0) {
        field.state = kFieldSelectable;
      }
    } else if (field.parent < fieldIndex) {
      ApplyFieldState(map, field.parent);
    }
    field.spawner = -1;
    field.previousPixelWidth = field.pixelWidth;
    field.previousPixelHeight = field.pixelHeight;
    field.view.pitch = 0.7853982f;
    field.view.yaw = -1.5707964f;
    field.view.distance = 1000.0f;
    field.view.distance2 = 512.0f;
    field.view.followedCharacter = -1;
    field.view.ownMap = -1;
    field.removeMark = -1;
    field.runtimeEntries.clear();
  }

  // Step 11: style presets and the field's own state.
  SetFieldStateDefaults(field);
  if (!withState) ApplyFieldState(map, fieldIndex);
}

void UpdateFieldLayout(Map& map, std::int32_t mapIndex, std::int32_t fieldIndex) {
  Field& field = map.fields.at(static_cast<std::size_t>(fieldIndex));
  // Step 1: pixel size.
  if (field.sizeMode == 0) {
    field.pixelWidth = RoundToLong(field.width);
    field.pixelHeight = RoundToLong(field.height);
  } else if (field.sizeMode == 1) {
    field.pixelWidth = RoundToLong(static_cast<double>(field.width) * kScreenDotsPerInch);
    field.pixelHeight = RoundToLong(static_cast<double>(field.height) * kScreenDotsPerInch);
  }
  // Step 2: font size.
  if (field.fontSizeMode == 0) {
    field.fontSize = field.fontScale;
  } else if (field.fontSizeMode == 1) {
    field.fontSize = field.fontScale / 96.0f * kScreenDotsPerInch;
  }

  std::int32_t sprites = 1;
  if (field.kind == 0) {
    // Step 3: pictures and texts.
    if (field.value1.IsArray()) {
      if (field.width == 0.0f || field.height == 0.0f) {
        const auto& elements = field.value1.Elements();
        const double kind = !elements.empty() && IsNumericValue(elements[0]) ? ToNumber(elements[0]) : 0.0;
        float size = 0.0f;
        if (kind == 10) size = 96.0f;
        if (kind == 20) size = 128.0f;
        if (kind == 30 || kind == 40) size = 32.0f;
        if (size != 0.0f) field.width = field.height = size;
      }
      field.pixelWidth = RoundToLong(field.width);
      field.pixelHeight = RoundToLong(field.height);
      field.lines.clear();
      field.lineCount = 0;
    } else if (field.fontSet >= 0 && field.value1.IsText() && !field.value1.AsText().empty()) {
      std::int32_t drawnWidth = dataHooks.FieldDrawnWidth(mapIndex, fieldIndex, mapObjectSettings.displayWidth,
                                                         mapObjectSettings.displayHeight);
      if (drawnWidth < 0) drawnWidth = field.pixelWidth;
      // The layout leaves the count unwritten when no font set is loaded; the
      // one entry it gives then is one line.
      field.lineCount = 1;
      field.lines = dataHooks.WrapText(field.fontSet, field.value1.AsText(), drawnWidth, field.lineCount,
                                       field.fontSize);
      const std::int32_t lineHeight = field.lineHeight;
      const std::int32_t fontLineHeight = FontSetLineHeight(field.fontSet);
      if (lineHeight > 0) {
        field.pixelHeight = RoundToLong(static_cast<double>(field.lineCount) * lineHeight);
        if (lineHeight < fontLineHeight) {
          field.pixelHeight = RoundToLong(static_cast<double>(field.fontSize) * fontLineHeight +
                                            field.pixelHeight - lineHeight);
        }
      } else {
        field.pixelHeight =
            RoundToLong(static_cast<double>(field.fontScale) * field.lineCount * fontLineHeight);
      }
    } else {
      field.lines.clear();
      field.lineCount = 0;
    }
    field.derivedValue = 0;
  } else if (field.kind == 1 && IsNumericValue(field.value1) && IsNumericValue(field.value2)) {
    // Step 4: a counter shows one sprite per whole unit.
    sprites = CounterSpriteCount(ToNumber(field.value1), ToNumber(field.value2));
  }
  // Step 5: the sprite instances follow the count; new ones start animating.
  if (static_cast<std::size_t>(sprites) != field.sprites.size()) {
    const std::size_t before = std::min(field.sprites.size(), static_cast<std::size_t>(sprites));
    field.sprites.resize(static_cast<std::size_t>(sprites));
    for (std::size_t i = before; i < field.sprites.size(); ++i) SetObjectSprite(field.sprites[i], field.spriteSet);
  }
  field.spriteCount = sprites;
}

}  // namespace kiv
