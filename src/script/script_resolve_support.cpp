#include "script/script_resolve_support.h"

#include "core/error.h"
#include "core/text_encoding.h"
#include "data/data_hooks.h"
#include "script/call_frame.h"
#include "script/player_control.h"
#include "script/script_hooks.h"
#include "script/script_text.h"
#include "script/script_value_ops.h"

namespace kiv {

std::string ScriptMapFileName(std::int32_t map) {
  if (map < -1 || map > gameData.maps.LastIndex()) return std::string();
  return Utf16ToAnsi(gameData.maps[map].fileName);
}

std::string ScriptQuoted(std::u16string_view text) { return "\"" + Utf16ToAnsi(std::u16string(text)) + "\""; }

ScriptValue ScriptNone(std::int32_t kind) { return ScriptValue{kind, Variant::Long(-1), -1}; }

ScriptValue ScriptResolveFailure(std::int32_t kind, bool raise, const std::string& message) {
  if (raise) RaiseError(kErrData, message);
  return ScriptNone(kind);
}

void ScriptRequireRunningScript() { TopFrame(); }

const Player* ScriptCurrentPlayerRecord() {
  const std::int32_t player = scriptHooks.CurrentPlayer();
  if (player < 0 || static_cast<std::size_t>(player) >= projectState.players.size()) return nullptr;
  return &projectState.players[static_cast<std::size_t>(player)];
}

const Actor& ScriptMapActor(std::int32_t map, std::int32_t character) {
  const std::vector<Actor>& actors = gameData.maps[map].actors;
  if (character < 0 || static_cast<std::size_t>(character) >= actors.size()) {
    RaiseError(kErrIndex, "Subscript out of range: character " + std::to_string(character) + ".");
  }
  return actors[static_cast<std::size_t>(character)];
}

Variant ScriptPartyInPlay() {
  std::vector<Variant> members;
  if (const Player* player = ScriptCurrentPlayerRecord()) {
    for (const PartyMember& member : player->party) {
      if (ScriptMapActor(player->mapIndex, member.character).removed == 0) {
        members.push_back(Variant::Long(member.character));
      }
    }
  }
  return Variant::Array(kVarLong, std::move(members));
}

ScriptQualifiedName ScriptSplitQualifiedName(std::u16string_view name) {
  ScriptQualifiedName split;
  if (name.empty() || name.front() != u'|') return split;
  const std::size_t colon = name.find(u':');
  if (colon == std::u16string_view::npos) RaiseError(kErrInvalidCall, "Invalid procedure call or argument");
  split.qualified = true;
  split.mapPart = std::u16string(name.substr(1, colon - 1));
  split.objectName = std::u16string(name.substr(colon + 1));
  return split;
}

ScriptNameScope ScriptScopeOf(const ScriptSearchName& name, std::int32_t requiredMap, std::int32_t first,
                              const std::function<std::int32_t(const std::u16string& part)>& resolvePart) {
  ScriptNameScope result;
  result.object = name;
  const ScriptQualifiedName split = ScriptSplitQualifiedName(name.text);
  if (split.qualified) {
    result.object.text = split.objectName;
    result.mapPart = split.mapPart;
    const std::int32_t partMap = resolvePart(split.mapPart);
    result.scope.only = partMap;
    result.mismatch = requiredMap != -1 && partMap != requiredMap;
  } else if (requiredMap != -1) {
    result.scope.only = requiredMap;
  } else {
    result.scope.first = first;
  }
  return result;
}

std::string ScriptExpectingMessage(const char* what, const char* mapWord, std::int32_t requiredMap,
                                   const std::u16string& part) {
  return std::string("Expecting ") + what + " in " + mapWord + " \"" + ScriptMapFileName(requiredMap) +
         "\" and not " + ScriptQuoted(part) + ".";
}

std::u16string ScriptPrefixedName(const char16_t* prefix, const ScriptSearchName& name) {
  std::u16string searched = name.loose ? ToLowerText(prefix) : std::u16string(prefix);
  searched += name.text;
  return searched;
}

void ScriptReachedMap(std::int32_t map) { dataHooks.GenerateMapData(map, true); }

}  // namespace kiv
