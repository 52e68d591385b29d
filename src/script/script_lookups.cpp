#include "script/script_lookups.h"

#include <string>

#include "core/error.h"
#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "media/controls_table.h"
#include "media/key_names.h"
#include "media/sound_sets.h"
#include "script/call_frame.h"
#include "script/project_options.h"
#include "script/script_text.h"

namespace kiv {

namespace {

// The name as it is compared (and quoted in messages).
std::u16string Prepared(std::u16string_view name, bool loose) {
  return loose ? TrimLower(name) : std::u16string(name);
}

bool NameMatches(const std::u16string& recordName, const std::u16string& prepared, bool loose) {
  return loose ? TrimLower(recordName) == prepared : recordName == prepared;
}

// The index of the first record that take admits and whose name equals the
// prepared name; -1 none.
template <typename Record, typename Take>
std::int32_t FindByName(const std::vector<Record>& records, const std::u16string& prepared, bool loose,
                        Take take) {
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (take(records[i]) && NameMatches(records[i].name, prepared, loose)) {
      return static_cast<std::int32_t>(i);
    }
  }
  return -1;
}

template <typename Record>
std::int32_t FindByName(const std::vector<Record>& records, const std::u16string& prepared, bool loose) {
  return FindByName(records, prepared, loose, [](const Record&) { return true; });
}

[[noreturn]] void RaiseNotFound(const char* prefix, const std::u16string& name, const std::string& suffix) {
  RaiseError(kErrData, std::string(prefix) + "\"" + Utf16ToAnsi(name) + "\"" + suffix);
}

constexpr const char* kDoesNotExist = " does not exist.";

ScriptValue Result(std::int32_t kind, std::int32_t index) {
  return ScriptValue{kind, Variant::Long(index), 0};
}

// The plain look-up: one table, every record takes part.
template <typename Record>
std::int32_t LookUpPlain(const std::vector<Record>& records, std::u16string_view name, bool raise,
                         const char* prefix) {
  const bool loose = ScriptLooseNameMatching();
  const std::u16string prepared = Prepared(name, loose);
  const std::int32_t index = FindByName(records, prepared, loose);
  if (index < 0 && raise) RaiseNotFound(prefix, prepared, kDoesNotExist);
  return index;
}

}  // namespace

ScriptValue ScriptLookupFont(std::u16string_view name, bool raise) {
  return Result(kObjectFont, LookUpPlain(gameData.fontSets, name, raise, "Font "));
}

std::int32_t ScriptLookupSound(std::u16string_view name, bool raise) {
  return LookUpPlain(soundSets, name, raise, "Sound/Music ");
}

ScriptValue ScriptLookupItem(std::u16string_view name, bool raise, bool allowEmpty) {
  const bool loose = ScriptLooseNameMatching();
  const std::u16string prepared = Prepared(name, loose);
  if (prepared.empty() && allowEmpty) return Result(kObjectItem, -1);
  if (prepared == u"relate") {
    const std::int32_t item = TopFrame().relateItem;
    if (item < 0 && raise) {
      RaiseError(kErrData, "Item \"relate\" cannot be used as this script does not relate to an item.");
    }
    return Result(kObjectItem, item < 0 ? -1 : item);
  }
  if (prepared == u"this") {
    const std::int32_t item = TopFrame().thisItem;
    if (item < 0 && raise) {
      RaiseError(kErrData, "Item \"this\" cannot be used as this script does not belong to an item.");
    }
    return Result(kObjectItem, item < 0 ? -1 : item);
  }
  const std::int32_t index = FindByName(gameData.items, prepared, loose);
  if (index < 0 && raise) RaiseNotFound("Item/Magic ", prepared, kDoesNotExist);
  return Result(kObjectItem, index);
}

ScriptValue ScriptLookupInputSet(std::u16string_view name, bool raise) {
  return Result(kObjectInputSet, LookUpPlain(gameData.inputSets, name, raise, "Input set "));
}

ScriptValue ScriptLookupControl(std::u16string_view name, bool raise) {
  return Result(kObjectInputSet, LookUpPlain(controls, name, raise, "Control "));
}

ScriptValue ScriptLookupKey(std::u16string_view name, bool raise) {
  struct Device {
    std::int32_t kind;
    std::int32_t lastCode;
  };
  static constexpr Device kDevices[] = {{kBindKeyboard, 255}, {kBindMouse, kMouseWheel}, {kBindJoystick, 31}};
  for (const Device& device : kDevices) {
    for (std::int32_t code = 0; code <= device.lastCode; ++code) {
      // A code without a name cannot be named: the empty text finds no key.
      const std::u16string keyName = InputControlName(code, device.kind);
      if (!keyName.empty() && keyName == name) {
        return ScriptValue{kValuePlain, Variant::Long(device.kind), code};
      }
    }
  }
  if (raise) RaiseNotFound("Key ", std::u16string(name), kDoesNotExist);
  return ScriptValue{kValuePlain, Variant::Long(-1), 0};
}

ScriptValue ScriptLookupEquipmentArea(std::u16string_view name, bool raise) {
  return Result(kObjectEquipmentArea,
                LookUpPlain(projectState.equipmentAreas, name, raise, "Area of equipment "));
}

ScriptValue ScriptLookupActorTemplate(std::u16string_view name, bool raise) {
  return Result(kObjectActorTemplate, LookUpPlain(gameData.actorTemplates, name, raise, "Actor template "));
}

std::int32_t ScriptLookupTileSet(std::u16string_view name, std::int32_t layer, bool allowEmpty, bool raise) {
  const bool loose = ScriptLooseNameMatching();
  const std::u16string prepared = Prepared(name, loose);
  if (prepared.empty() && allowEmpty) return -1;
  const std::int32_t index = FindByName(gameData.tileSets, prepared, loose,
                                        [layer](const TileSet& set) { return set.kind == layer; });
  if (index < 0 && raise) {
    RaiseNotFound("Tile-set ", prepared, " does not exist. Ensure you picked the correct tile-set layer.");
  }
  return index;
}

ScriptValue ScriptLookupSprite(std::u16string_view name, std::int32_t category, bool raise, bool allowEmpty) {
  const bool loose = ScriptLooseNameMatching();
  const std::u16string prepared = Prepared(name, loose);
  if (prepared.empty() && allowEmpty) return Result(kObjectSprite, -1);
  const std::int32_t index =
      FindByName(gameData.spriteSets, prepared, loose,
                 [category](const SpriteSet& set) { return category == -1 || set.category == category; });
  if (index >= 0 || TrimLower(name) == u"(none)") return Result(kObjectSprite, index);
  if (raise) {
    if (category == -1) RaiseNotFound("Sprite ", prepared, kDoesNotExist);
    RaiseNotFound("Sprite ", prepared,
                  " of category \"" + Utf16ToAnsi(SymbolName(category)) +
                      "\" does not exist. Ensure you picked the correct category.");
  }
  return Result(kObjectSprite, -1);
}

ScriptValue ScriptLookupEffect(std::u16string_view name, bool raise, bool allowEmpty) {
  const bool loose = ScriptLooseNameMatching();
  const std::u16string prepared = Prepared(name, loose);
  if (prepared.empty() && allowEmpty) return Result(kObjectEffect, -1);
  // An effect is the sprite set named "Effect " and the effect's name.
  const std::u16string setName = (loose ? u"effect " : u"Effect ") + prepared;
  const std::int32_t index = FindByName(gameData.spriteSets, setName, loose);
  if (index < 0 && raise) RaiseNotFound("Effect ", prepared, kDoesNotExist);
  return Result(kObjectEffect, index);
}

}  // namespace kiv
