#pragma once
// Look-ups of game data by the name a script or a trigger parameter gives:
// controls, sprite sets and actor templates. The first record whose name
// matches wins; with the project's loose name matching, both sides are
// trimmed and lower-cased first. Not found gives the index -1, and with raise
// set a script error (-1) quoting the name.
#include <cstdint>
#include <string_view>

#include "script/script_value.h"

namespace kiv {

// Kind 29 (the input-set kind) and the control's index.
ScriptValue ScriptLookupControl(std::u16string_view name, bool raise);
// Kind 32 and the template's index.
ScriptValue ScriptLookupActorTemplate(std::u16string_view name, bool raise);
// Kind 36 and the sprite set's index among the sets of the category (a symbol
// number; -1 any). "(none)" in any case and with blanks gives -1 without
// error, and so does an empty name when allowEmpty is set.
ScriptValue ScriptLookupSprite(std::u16string_view name, std::int32_t category, bool raise, bool allowEmpty);

inline constexpr std::int32_t kObjectActorTemplate = 32;

}  // namespace kiv
