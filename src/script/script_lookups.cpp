#include "script/script_lookups.h"

#include <functional>
#include <string>

#include "core/error.h"
#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "media/controls_table.h"
#include "script/project_options.h"
#include "script/script_text.h"

namespace kiv {

namespace {

// The name as it is compared (and quoted in messages).
std::u16string Prepared(std::u16string_view name, bool loose) {
  return loose ? TrimLower(name) : std::u16string(name);
}

// The first of count records whose name (given by nameOf) equals the prepared name; -1 none.
std::int32_t FindByName(const std::u16string& prepared, bool loose, std::int32_t count,
                        const std::function<bool(std::int32_t)>& take,
                        const std::function<std::u16string(std::int32_t)>& nameOf) {
  for (std::int32_t i = 0; i < count; ++i) {
    if (!take(i)) continue;
    const std::u16string name = nameOf(i);
    if ((loose ? TrimLower(name) : name) == prepared) return i;
  }
  return -1;
}

[[noreturn]] void RaiseNotFound(const char* prefix, const std::u16string& name, const std::string& suffix) {
  RaiseError(kErrData, std::string(prefix) + "\"" + Utf16ToAnsi(name) + "\"" + suffix);
}

ScriptValue Result(std::int32_t kind, std::int32_t index) {
  return ScriptValue{kind, Variant::Long(index), 0};
}

const auto kEvery = [](std::int32_t) { return true; };

}  // namespace

ScriptValue ScriptLookupControl(std::u16string_view name, bool raise) {
  const bool loose = ScriptLooseNameMatching();
  const std::u16string prepared = Prepared(name, loose);
  const std::int32_t index =
      FindByName(prepared, loose, static_cast<std::int32_t>(controls.size()), kEvery,
                 [](std::int32_t i) { return controls[static_cast<std::size_t>(i)].name; });
  if (index < 0 && raise) RaiseNotFound("Control ", prepared, " does not exist.");
  return Result(kObjectInputSet, index);
}

ScriptValue ScriptLookupActorTemplate(std::u16string_view name, bool raise) {
  const bool loose = ScriptLooseNameMatching();
  const std::u16string prepared = Prepared(name, loose);
  const auto& templates = gameData.actorTemplates;
  const std::int32_t index =
      FindByName(prepared, loose, static_cast<std::int32_t>(templates.size()), kEvery,
                 [&templates](std::int32_t i) { return templates[static_cast<std::size_t>(i)].name; });
  if (index < 0 && raise) RaiseNotFound("Actor template ", prepared, " does not exist.");
  return Result(kObjectActorTemplate, index);
}

ScriptValue ScriptLookupSprite(std::u16string_view name, std::int32_t category, bool raise, bool allowEmpty) {
  const bool loose = ScriptLooseNameMatching();
  const std::u16string prepared = Prepared(name, loose);
  if (prepared.empty() && allowEmpty) return Result(kObjectSprite, -1);
  const auto& sets = gameData.spriteSets;
  const std::int32_t index = FindByName(
      prepared, loose, static_cast<std::int32_t>(sets.size()),
      [&sets, category](std::int32_t i) {
        return category == -1 || sets[static_cast<std::size_t>(i)].category == category;
      },
      [&sets](std::int32_t i) { return sets[static_cast<std::size_t>(i)].name; });
  if (index >= 0 || TrimLower(name) == u"(none)") return Result(kObjectSprite, index);
  if (raise) {
    if (category == -1) RaiseNotFound("Sprite ", prepared, " does not exist.");
    RaiseNotFound("Sprite ", prepared,
                  " of category \"" + Utf16ToAnsi(SymbolName(category)) +
                      "\" does not exist. Ensure you picked the correct category.");
  }
  return Result(kObjectSprite, -1);
}

}  // namespace kiv
