#pragma once
// How the names that scripts write meet the names stored in the game: the
// project's name rule (exact, or trimmed and lower-cased on both sides), and
// the scripting ID that a stored object name hands to scripts.
#include <cstdint>
#include <string>
#include <string_view>

namespace kiv {

// A name as a script wrote it, in the form it is compared (and quoted) in.
struct ScriptSearchName {
  std::u16string text;  // trimmed and lower-cased when loose
  bool loose = false;
};

// The argument under the project's name rule.
ScriptSearchName ScriptPrepareName(std::u16string_view argument);

// A stored name, once trimmed and lower-cased, equals the prepared text.
bool ScriptLooseNameEquals(std::u16string_view stored, std::u16string_view prepared);

// A stored name equals the prepared text: exactly, or (loose) once trimmed and
// lower-cased. Allocates nothing, and the exact test is inline: resolvers
// call it for every record they pass.
inline bool ScriptNameMatches(std::u16string_view stored, std::u16string_view prepared, bool loose) {
  return loose ? ScriptLooseNameEquals(stored, prepared) : stored == prepared;
}

// The scripting ID of a stored name: "Character 12" of kind 9 gives "12"
// (kinds 9, 12, 14 and 23 take their prefix off the trimmed name; 31 and 36
// give the name, trimmed under loose name matching). A name without its
// prefix, or a kind without IDs, raises -1 whatever the caller wants; inside
// the area-damage system trigger a character may also be a "Vehicle ".
std::u16string ScriptParseScriptingId(std::u16string_view name, std::int32_t kind);

}  // namespace kiv
