#include "world/field_system.h"

#include <algorithm>
#include <limits>

#include "core/math_util.h"
#include "data/data_hooks.h"
#include "data/game_data.h"
#include "player/shell_state.h"
#include "script/call_frame.h"
#include "script/script_convert.h"
#include "script/script_lookups.h"
#include "script/script_text.h"
#include "script/script_value_ops.h"
#include "script/trigger_dispatch.h"
#include "world/field_lists.h"
#include "world/field_values.h"
#include "world/map_system_fields.h"
#include "world/map_systems.h"
#include "world/view_timers.h"

namespace kiv {

namespace {

constexpr std::uint8_t kViewKind = 6;

// Scripts may load maps and change the field list: records are looked up
// anew after every script.
Field& FieldAt(std::int32_t map, std::int32_t field) {
  return gameData.maps[map].fields[static_cast<std::size_t>(field)];
}

std::int32_t LastField(std::int32_t map) { return static_cast<std::int32_t>(gameData.maps[map].fields.size()) - 1; }

std::int32_t AddMs(std::int32_t time, std::int32_t elapsed) {
  const std::int64_t sum = static_cast<std::int64_t>(time) + elapsed;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

bool Present(std::int32_t map, std::int32_t field, std::size_t slot) {
  return FieldAt(map, field).scripts[slot].hasStatements;
}

Variant RunValueScript(std::int32_t map, std::int32_t field, std::size_t slot) {
  TriggerRun run;
  run.ownerKind = kOwnerFieldValue;
  run.ownerIndex = field;
  run.subIndex = static_cast<std::int32_t>(slot);
  run.map = map;
  return ScriptRunTrigger(run);
}

// The result of a present script that counts; Empty otherwise.
Variant CountingResult(std::int32_t map, std::int32_t field, std::size_t slot) {
  if (!Present(map, field, slot)) return Variant();
  Variant result = RunValueScript(map, field, slot);
  return ResultCounts(result) ? result : Variant();
}

void AgeScreenSprites(Field& field, std::int32_t elapsed) {
  std::vector<FieldRuntimeEntry>& list = field.runtimeEntries;
  for (auto k = static_cast<std::int32_t>(list.size()) - 1; k >= 0; --k) {
    FieldRuntimeEntry& entry = list[static_cast<std::size_t>(k)];
    OverlayElapsedMs(entry) = AddMs(OverlayElapsedMs(entry), elapsed);
    if (OverlayHideAt(entry) >= 0 && OverlayFadeMs(entry) < OverlayElapsedMs(entry))
      list.erase(list.begin() + k);
  }
}

void EvaluateVisibility(std::int32_t map, std::int32_t field) {
  if (FieldDormant(FieldAt(map, field)) != 0 && !Present(map, field, kValueScriptListItems)) return;
  if (!Present(map, field, kValueScriptVisible)) return;
  const Variant result = RunValueScript(map, field, kValueScriptVisible);
  if (result.IsEmpty() || result.Type() == kVarError) return;
  FieldHidden(FieldAt(map, field)) = static_cast<std::uint8_t>(1 - ScriptConvertBoolean(result, true));
}

void EvaluateValuePair(std::int32_t map, std::int32_t field) {
  mapSystems.arrayValueBuilt = false;
  const Variant value = FieldValueSetByScript(FieldAt(map, field)) != 0
                            ? FieldAt(map, field).value1
                            : RunValueScript(map, field, kValueScriptValue);
  const Variant maximum = RunValueScript(map, field, kValueScriptMaxValue);
  if ((value.IsEmpty() && maximum.IsEmpty()) || maximum.IsArray()) return;
  Field& f = FieldAt(map, field);
  if (!FieldValuePairChanged(f, value, maximum, mapSystems.arrayValueBuilt)) return;
  StoreFieldValue(f, f.value1, value);
  StoreFieldValue(f, f.value2, maximum);
  UpdateFieldLayout(gameData.maps[map], map, field);
}

void EvaluateSize(std::int32_t map, std::int32_t field, std::size_t slot) {
  const Variant result = CountingResult(map, field, slot);
  if (result.IsEmpty()) return;
  const auto size = static_cast<float>(VarToDouble(result));
  Field& f = FieldAt(map, field);
  float& stored = slot == kValueScriptSizeX ? f.width : f.height;
  if (size == stored) return;
  stored = size;
  UpdateFieldLayout(gameData.maps[map], map, field);
}

bool SpriteNameDiffers(std::int32_t spriteSet, const std::u16string& text) {
  if (spriteSet < 0 || static_cast<std::size_t>(spriteSet) >= gameData.spriteSets.size()) return true;
  const std::u16string& name = gameData.spriteSets[static_cast<std::size_t>(spriteSet)].name;
  if (dataHooks.LooseNameMatching()) return TrimLower(name) != TrimLower(text);
  return name != text;
}

void EvaluateSprite(std::int32_t map, std::int32_t field) {
  const Variant result = CountingResult(map, field, kValueScriptSprite);
  if (result.IsEmpty()) return;
  const std::u16string text = VarToText(result);
  Field& f = FieldAt(map, field);
  const bool changed = text.empty() ? f.spriteSet != -1 : SpriteNameDiffers(f.spriteSet, text);
  if (!changed) return;
  const std::int32_t sprite = ScriptLookupSprite(text, -1, true, true).value.AsLong();
  Field& g = FieldAt(map, field);
  g.spriteSet = sprite;
  g.sprites.clear();  // the sprite instances start again with the new set
  UpdateFieldLayout(gameData.maps[map], map, field);
}

void EvaluateColour(std::int32_t map, std::int32_t field, std::size_t slot) {
  const Variant result = CountingResult(map, field, slot);
  if (result.IsEmpty()) return;
  const auto colour = static_cast<std::uint32_t>(VarToLong(result));
  Field& f = FieldAt(map, field);
  (slot == kValueScriptColor ? f.colorsA : f.colorsB)[0] = colour;
}

void EvaluateFlag(std::int32_t map, std::int32_t field, std::size_t slot) {
  const Variant result = CountingResult(map, field, slot);
  if (result.IsEmpty()) return;
  const std::uint8_t on = ScriptConvertBoolean(result, true);
  if (slot == kValueScriptSelectable) {
    SetFieldSelectable(map, field, on);
  } else {
    SetFieldDisabled(map, field, on);
  }
}

// True when the texts differ from the names of the items spawned last time.
bool ListChanged(std::int32_t map, std::int32_t field, const std::vector<Variant>& texts) {
  const std::int32_t count = FieldItemCount(FieldAt(map, field));
  if (static_cast<std::size_t>(count) != texts.size() || count < 0) return true;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const std::int64_t item = static_cast<std::int64_t>(field) + static_cast<std::int64_t>(i) + 1;
    if (item > LastField(map)) return true;
    if (VarToText(texts[i]) != FieldAt(map, static_cast<std::int32_t>(item)).name) return true;
  }
  return false;
}

std::int32_t Clamped(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

// Spawns one child field per text, last first, so that item 0 lies directly
// behind the list field; answers the list field's index after the insertions.
std::int32_t EvaluateListItems(std::int32_t map, std::int32_t field) {
  const Variant result = RunValueScript(map, field, kValueScriptListItems);
  if (!result.IsArray() || result.Elements().empty()) return field;
  const std::vector<Variant> texts = result.Elements();
  if (!ListChanged(map, field, texts)) return field;
  UnspawnChildFields(map, field);
  const auto n = static_cast<std::int32_t>(texts.size()) - 1;
  std::vector<ListItemPlace> items(texts.size());
  const Field& f = FieldAt(map, field);
  // Fewer than one column places the items in one column.
  const std::int64_t columns = std::max(FieldItemColumns(f), 1);
  for (std::int32_t i = 0; i <= n; ++i) {
    const std::int64_t x = (i % columns) * FieldItemWidth(f) + RoundToLong(f.x);
    const std::int64_t y = (i / columns) * FieldItemHeight(f) + RoundToLong(f.y);
    items[static_cast<std::size_t>(i)] =
        ListItemPlace{VarToText(texts[static_cast<std::size_t>(i)]), Clamped(x), Clamped(y)};
  }
  field = SpawnListItems(map, field, items);
  FieldItemCount(FieldAt(map, field)) = n + 1;
  return field;
}

// The value scripts of one field; answers its index after list items were inserted.
std::int32_t EvaluateField(std::int32_t map, std::int32_t field) {
  EvaluateVisibility(map, field);
  if (FieldDormant(FieldAt(map, field)) == 0) {
    if (FieldHidden(FieldAt(map, field)) == 0) {
      EvaluateValuePair(map, field);
      EvaluateSize(map, field, kValueScriptSizeX);
      EvaluateSize(map, field, kValueScriptSizeY);
      EvaluateSprite(map, field);
      EvaluateColour(map, field, kValueScriptColor);
      EvaluateColour(map, field, kValueScriptColor2);
    }
    EvaluateFlag(map, field, kValueScriptSelectable);
    EvaluateFlag(map, field, kValueScriptDisabled);
    Field& f = FieldAt(map, field);
    if (f.Kind() == kViewKind) AdvanceViewTimers(f.view, shell.frameElapsed);
  }
  if (FieldHidden(FieldAt(map, field)) == 0 && Present(map, field, kValueScriptListItems))
    field = EvaluateListItems(map, field);
  return field;
}

}  // namespace

void RunFieldSystem(std::int32_t map) {
  gameData.currentActivity = "Field System";
  for (std::int32_t i = 0; i <= LastField(map); ++i) {
    Field& f = FieldAt(map, i);
    FieldElapsedMs(f) = AddMs(FieldElapsedMs(f), shell.frameElapsed);
    AgeScreenSprites(f, shell.frameElapsed);
    if (FieldLiveUpdate(f) == 1 || gameData.maps[map].refreshFields == 1) i = EvaluateField(map, i);
  }
  gameData.maps[map].refreshFields = 0;
}

}  // namespace kiv
