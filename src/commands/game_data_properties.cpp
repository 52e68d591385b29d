// Items and magic, effects and sprites, fonts, equipment areas and
// statistics: references to the game's data tables rather than to map
// objects. Items, effects, sprites and fonts are read only.
#include <array>
#include <string>

#include "commands/map_object_access.h"
#include "commands/object_kind_commands.h"
#include "data/game_data.h"
#include "data/item_fields.h"
#include "data/project_state.h"
#include "data/sprite_set_queries.h"
#include "script/script_convert.h"
#include "script/script_object_names.h"
#include "script/script_party_resolvers.h"
#include "script/script_stack_access.h"
#include "script/script_value_ops.h"
#include "world/map_systems.h"

namespace kiv {

namespace {

// Descriptor kinds of the picture array a field shows.
constexpr std::int32_t kGraphicItem = 20;
constexpr std::int32_t kGraphicStatistic = 30;
constexpr std::int32_t kGraphicEquipmentArea = 40;

// Elements 0..6: the descriptor kind at 0, the object's index at 5, Empty
// elsewhere. Tells the field system that an array value was built.
void AnswerGraphic(InternalCall& call, std::int32_t descriptorKind, std::size_t index) {
  std::vector<Variant> elements(7);
  elements[0] = Variant::Long(descriptorKind);
  elements[5] = Variant::Long(static_cast<std::int32_t>(index));
  mapSystems.arrayValueBuilt = true;
  call.Answer(Variant::Array(kVarVariant, std::move(elements)));
}

// ---- Items and magic --------------------------------------------------------

Item& CalledItem(const InternalCall& call) {
  return gameData.items[ObjectListIndex(call.object.value, gameData.items.size())];
}

const std::u16string& ItemName(std::int32_t index) {
  static const std::u16string none;
  if (index < 0 || static_cast<std::size_t>(index) >= gameData.items.size()) return none;
  return gameData.items[static_cast<std::size_t>(index)].name;
}

void ItemStat(InternalCall& call) {
  const Item& item = CalledItem(call);
  const std::int32_t statistic = VarToLong(ScriptResolveStatistic(call.ArgumentText(0), true).value);
  call.Answer(Variant::Long(ItemStatAt(ItemStatModifiers(item), static_cast<std::size_t>(statistic))));
}

// 1 when the usage flags hold every flag the keywords name (a collection or
// array as the first argument stands for its elements); a 16-bit value.
void ItemUsage(InternalCall& call) {
  const std::int32_t flags = ItemFlags(CalledItem(call));
  const Variant keywords = ScriptGetArgumentArray(call.argumentUpper, 0);
  std::int16_t holds = 1;
  for (const Variant& keyword : keywords.Elements()) {
    const std::int32_t flag = ScriptConvertItemUsage(VarToText(keyword), true);
    if ((flags & flag) != flag) {
      holds = 0;
      break;
    }
  }
  call.Answer(Variant::Integer(holds));
}

void ItemAmmoType(InternalCall& call) {
  const Item& item = CalledItem(call);
  if (ItemAmmoItem(item) >= 0) {
    call.Answer(Variant::Text(u"Ammo"));
  } else if (ItemAmmoUse(item) >= 1) {
    call.Answer(Variant::Text(u"Count"));
  } else {
    call.Answer(Variant::Text(u""));
  }
}

void ItemEquipment(InternalCall& call) {
  const std::int32_t area = CalledItem(call).equipmentArea.index;
  const auto& areas = projectState.equipmentAreas;
  call.Answer(Variant::Text(area >= 0 && static_cast<std::size_t>(area) < areas.size()
                                ? areas[static_cast<std::size_t>(area)].name
                                : std::u16string()));
}

constexpr InternalCommand kItemCommands[] = {
    {"Name", [](InternalCall& call) { call.Answer(Variant::Text(CalledItem(call).name)); }},
    {"Title", [](InternalCall& call) { call.Answer(Variant::Text(CalledItem(call).displayName)); }},
    {"Description", [](InternalCall& call) { call.Answer(Variant::Text(ItemDescription(CalledItem(call)))); }},
    {"Price", [](InternalCall& call) { call.Answer(Variant::CurrencyScaled(ItemPriceScaled(CalledItem(call)))); }},
    {"Weight", [](InternalCall& call) { call.Answer(Variant::Long(ItemWeight(CalledItem(call)))); }},
    {"AmmoUse", [](InternalCall& call) { call.Answer(Variant::Long(ItemAmmoUse(CalledItem(call)))); }},
    {"ClipSize", [](InternalCall& call) { call.Answer(Variant::Long(ItemClipSize(CalledItem(call)))); }},
    {"AmmoItem", [](InternalCall& call) { call.Answer(Variant::Text(ItemName(ItemAmmoItem(CalledItem(call))))); }},
    {"AmmoType", ItemAmmoType},
    {"Usage", ItemUsage},
    {"Stat", ItemStat},
    {"CurrentStat", ItemStat},
    {"Equipment", ItemEquipment},
    {"Graphic",
     [](InternalCall& call) {
       AnswerGraphic(call, kGraphicItem, ObjectListIndex(call.object.value, gameData.items.size()));
     }},
};

// ---- Effects and sprites ----------------------------------------------------

SpriteSet& CalledSpriteSet(const InternalCall& call) {
  return gameData.spriteSets[ObjectListIndex(call.object.value, gameData.spriteSets.size())];
}

constexpr InternalCommand kEffectCommands[] = {
    {"Name",
     [](InternalCall& call) {
       call.Answer(Variant::Text(ScriptParseScriptingId(CalledSpriteSet(call).name, call.object.kind)));
     }},
    {"Title", [](InternalCall& call) { call.Answer(Variant::Text(CalledSpriteSet(call).displayName)); }},
    {"SizeX",
     [](InternalCall& call) {
       call.Answer(Variant::Long(
           SpriteSetSizeX(static_cast<std::int32_t>(ObjectListIndex(call.object.value, gameData.spriteSets.size())))));
     }},
    {"SizeY",
     [](InternalCall& call) {
       call.Answer(Variant::Long(
           SpriteSetSizeY(static_cast<std::int32_t>(ObjectListIndex(call.object.value, gameData.spriteSets.size())))));
     }},
};

// ---- Fonts ------------------------------------------------------------------

FontSet& CalledFont(const InternalCall& call) {
  return gameData.fontSets[ObjectListIndex(call.object.value, gameData.fontSets.size())];
}

constexpr InternalCommand kFontCommands[] = {
    {"Name", [](InternalCall& call) { call.Answer(Variant::Text(CalledFont(call).name)); }},
    {"Title", [](InternalCall& call) { call.Answer(Variant::Text(CalledFont(call).displayName)); }},
    {"LineHeight", [](InternalCall& call) { call.Answer(Variant::Long(CalledFont(call).lineHeight)); }},
};

// ---- Equipment areas and statistics -----------------------------------------

EquipmentArea& CalledArea(const InternalCall& call) {
  return projectState.equipmentAreas[ObjectListIndex(call.object.value, projectState.equipmentAreas.size())];
}

Statistic& CalledStatistic(const InternalCall& call) {
  return gameData.statistics[ObjectListIndex(call.object.value, gameData.statistics.size())];
}

constexpr InternalCommand kAreaCommands[] = {
    {"Name", [](InternalCall& call) { TextProperty(call, CalledArea(call).name); }},
    {"Title", [](InternalCall& call) { TextProperty(call, CalledArea(call).displayName); }},
    {"Graphic",
     [](InternalCall& call) {
       const std::size_t index = ObjectListIndex(call.object.value, projectState.equipmentAreas.size());
       if (call.Assigning()) RaiseObjectError(u"You cannot alter equipment graphic this way.");
       AnswerGraphic(call, kGraphicEquipmentArea, index);
     }},
};

constexpr InternalCommand kStatisticCommands[] = {
    {"Name", [](InternalCall& call) { TextProperty(call, CalledStatistic(call).name); }},
    {"Title", [](InternalCall& call) { TextProperty(call, CalledStatistic(call).displayName); }},
    {"Graphic",
     [](InternalCall& call) {
       const std::size_t index = ObjectListIndex(call.object.value, gameData.statistics.size());
       if (call.Assigning()) RaiseObjectError(u"You cannot alter statistic graphic this way.");
       AnswerGraphic(call, kGraphicStatistic, index);
     }},
};

}  // namespace

void RunItemProperty(InternalCall& call) {
  static const ObjectCommandTable table(kItemCommands);
  if (call.Assigning()) {
    RaiseObjectError(u"You cannot alter an item's properties. This was attempted on \"" + CalledItem(call).name +
                     u"\".");
  }
  table.Run(call);
}

void RunEffectProperty(InternalCall& call) {
  static const ObjectCommandTable table(kEffectCommands);
  if (call.Assigning()) {
    RaiseObjectError(u"You cannot alter an effect's properties. This was attempted on \"" +
                     CalledSpriteSet(call).name + u"\".");
  }
  table.Run(call);
}

void RunFontProperty(InternalCall& call) {
  static const ObjectCommandTable table(kFontCommands);
  if (call.Assigning()) {
    RaiseObjectError(u"You cannot alter a font's properties. This was attempted on \"" + CalledFont(call).displayName +
                     u"\".");
  }
  table.Run(call);
}

void RunEquipmentAreaProperty(InternalCall& call) {
  static const ObjectCommandTable table(kAreaCommands);
  table.Run(call);
}

void RunStatisticProperty(InternalCall& call) {
  static const ObjectCommandTable table(kStatisticCommands);
  table.Run(call);
}

std::span<const InternalCommand> ItemCommands() { return kItemCommands; }
std::span<const InternalCommand> EffectCommands() { return kEffectCommands; }
std::span<const InternalCommand> FontCommands() { return kFontCommands; }
std::span<const InternalCommand> EquipmentAreaCommands() { return kAreaCommands; }
std::span<const InternalCommand> StatisticCommands() { return kStatisticCommands; }

}  // namespace kiv
