#include "world/list_upkeep_setup.h"

#include "core/text_encoding.h"
#include "world/field_lists.h"
#include "world/map_reload.h"
#include "world/object_removal.h"
#include "world/reference_fixup.h"
#include "world/world_hooks.h"

namespace kiv {

void InstallWorldListUpkeepHooks() {
  worldHooks.RemoveCharacterFromPlay = [](std::int32_t map, std::int32_t actor) {
    RemoveCharacterFromPlay(map, actor);
  };
  worldHooks.ClearCharacterSlot = [](std::int32_t map, std::int32_t actor) { ClearCharacterSlot(map, actor); };
  worldHooks.ShiftFieldRefs = [](std::int32_t map, std::int32_t field, std::int32_t delta, bool compacting) {
    ShiftFieldRefs(map, field, delta, compacting);
  };
  // The hook carries the copy's name as UTF-8.
  worldHooks.InsertField = [](std::int32_t targetMap, std::int32_t sourceMap, std::int32_t sourceField,
                              bool withChildren, const std::string& name, std::int32_t x, std::int32_t y) {
    return InsertField(targetMap, sourceMap, sourceField, withChildren, Utf8ToUtf16(name), x, y);
  };
  worldHooks.UnspawnChildFields = [](std::int32_t map, std::int32_t field) { UnspawnChildFields(map, field); };
  worldHooks.SetFieldSelectable = [](std::int32_t map, std::int32_t field, std::uint8_t value) {
    SetFieldSelectable(map, field, value);
  };
  worldHooks.SetFieldDisabled = [](std::int32_t map, std::int32_t field, std::uint8_t value) {
    SetFieldDisabled(map, field, value);
  };
  worldHooks.ReloadMap = [](std::int32_t map, bool skipEntryTrigger, bool spareNewestWait, bool loadFlag) {
    ReloadMap(map, skipEntryTrigger, spareNewestWait, loadFlag);
  };
}

}  // namespace kiv
