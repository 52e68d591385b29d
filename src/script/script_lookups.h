#pragma once
// Look-ups of game data by the name a script or a trigger parameter gives:
// fonts, sounds, items, input sets, controls, keys, equipment areas, actor
// templates, tile sets, sprite sets and effects. The first record whose name
// matches wins; with the project's loose name matching, both sides are
// trimmed and lower-cased first (the look-up of keys never does). Not found
// gives the index -1, and with raise set a script error (-1) quoting the name
// as it was compared.
#include <cstdint>
#include <string_view>

#include "script/script_value.h"

namespace kiv {

inline constexpr std::int32_t kObjectActorTemplate = 32;

// Kind 37 and the font set's index.
ScriptValue ScriptLookupFont(std::u16string_view name, bool raise);
// The index of the sound (or music) in the sound sets.
std::int32_t ScriptLookupSound(std::u16string_view name, bool raise);
// Kind 22 and the item's index. "relate" and "this" give the item that the
// running script relates to or belongs to; an empty name with allowEmpty set
// gives -1 without error.
ScriptValue ScriptLookupItem(std::u16string_view name, bool raise, bool allowEmpty);
// Kind 29 and the input set's index.
ScriptValue ScriptLookupInputSet(std::u16string_view name, bool raise);
// Kind 29 (the input-set kind) and the control's index.
ScriptValue ScriptLookupControl(std::u16string_view name, bool raise);
// A key, mouse or joystick control by its display name, compared exactly:
// kind 0, the device (2 keyboard, 4 mouse, 8 joystick) as value and the code
// in the map-index field. The keyboard is searched first, then the mouse,
// then the joystick. Not found: value -1.
ScriptValue ScriptLookupKey(std::u16string_view name, bool raise);
// Kind 27 and the equipment area's index.
ScriptValue ScriptLookupEquipmentArea(std::u16string_view name, bool raise);
// Kind 32 and the template's index.
ScriptValue ScriptLookupActorTemplate(std::u16string_view name, bool raise);
// The index of the tile set among those of the layer (0 floor, 1 lower,
// 2 upper); an empty name with allowEmpty set gives -1 without error.
std::int32_t ScriptLookupTileSet(std::u16string_view name, std::int32_t layer, bool allowEmpty, bool raise);
// Kind 36 and the sprite set's index, searching the sets of the category (a
// symbol number; -1 any). "(none)" in any case and with blanks gives -1
// without error, and so does an empty name when allowEmpty is set.
ScriptValue ScriptLookupSprite(std::u16string_view name, std::int32_t category, bool raise, bool allowEmpty);
// Kind 23 and the index of the sprite set named "Effect " and the name; an
// empty name with allowEmpty set gives -1 without error.
ScriptValue ScriptLookupEffect(std::u16string_view name, bool raise, bool allowEmpty);

}  // namespace kiv
