#include "script/script_keywords.h"

#include <string>
#include <vector>

#include "core/error.h"
#include "data/data_hooks.h"
#include "data/game_data.h"
#include "script/call_frame.h"
#include "script/player_control.h"
#include "script/project_options.h"
#include "script/script_hooks.h"
#include "script/script_resolve_support.h"

namespace kiv {

namespace {

// Sets "none" of the kind; raises the message when asked to. False always.
bool Fail(ScriptValue& result, std::int32_t kind, bool raiseErrors, const std::string& message) {
  result = ScriptValue{kind, Variant::Long(-1), -1};
  if (raiseErrors) RaiseError(kErrData, message);
  return false;
}

// The field that the field of the map belongs to, -1 none; 9 for a field that does not exist.
std::int32_t ParentField(std::int32_t map, std::int32_t field) {
  const std::vector<Field>& fields = gameData.maps[map].fields;
  if (field < 0 || static_cast<std::size_t>(field) >= fields.size()) {
    RaiseError(kErrIndex, "Subscript out of range: field " + std::to_string(field) + ".");
  }
  return fields[static_cast<std::size_t>(field)].parent;
}

bool ResolveRelate(ScriptValue& result, const CallFrame& frame, std::int32_t map, bool raiseErrors) {
  if (frame.relateActor < 0) {
    std::int32_t contextMap = -1;
    std::int32_t contextCharacter = -1;
    scriptHooks.RelateContext(contextMap, contextCharacter);
    if (contextCharacter < 0) {
      return Fail(result, kObjectActor, raiseErrors,
                  "Actor \"relate\" cannot be used as this script does not relate to an actor.");
    }
    result = ScriptValue{kObjectActor, Variant::Long(contextCharacter), contextMap};
    return true;
  }
  if (map != -1 && frame.ownerMap != map) {
    return Fail(result, kObjectActor, raiseErrors,
                "Actor \"relate\" cannot be used as the related actor is in a different map from \"" +
                    ScriptMapFileName(map) + "\".");
  }
  result = ScriptValue{kObjectActor, Variant::Long(frame.relateActor), frame.ownerMap};
  return true;
}

bool Resolve(ScriptValue& result, std::int32_t keyword, std::int32_t map, bool raiseErrors) {
  const CallFrame& frame = TopFrame();
  switch (keyword) {
    case kKeywordActorMain: {
      if (!ScriptMainAlwaysControlled() && frame.relateActor >= 0 &&
          ScriptCharacterOwnerPlayer(frame.ownerMap, frame.relateActor) >= 0) {
        return ResolveRelate(result, frame, map, raiseErrors);
      }
      const PlayerControlState state = ScriptPlayerControl(scriptHooks.CurrentPlayer());
      if (state.controlledMember < 0) {
        return Fail(result, kObjectActor, raiseErrors,
                    "Actor \"main\" cannot be used as there is no controlled party member.");
      }
      if (map != -1 && map != state.currentMap) {
        return Fail(
            result, kObjectActor, raiseErrors,
            "Actor \"main\" cannot be used as the controlled party member is in a different map from \"" +
                ScriptMapFileName(map) + "\".");
      }
      result = ScriptValue{kObjectActor, Variant::Long(state.controlledCharacter), state.currentMap};
      return true;
    }
    case kKeywordActorRelate:
      return ResolveRelate(result, frame, map, raiseErrors);
    case kKeywordActorThis:
      if (frame.thisActor < 0) {
        return Fail(result, kObjectActor, raiseErrors,
                    "Actor \"this\" cannot be used as this script does not belong to an actor.");
      }
      if (map != -1 && frame.ownerMap != map) {
        return Fail(result, kObjectActor, raiseErrors,
                    "Actor \"this\" cannot be used as this actor is in a different map from \"" +
                        ScriptMapFileName(map) + "\".");
      }
      result = ScriptValue{kObjectActor, Variant::Long(frame.thisActor), frame.ownerMap};
      return true;
    case kKeywordFieldRelate: {
      if (frame.thisField < 0) {
        // No field to look the parent up in: the subscript error, whatever raiseErrors says.
        RaiseError(kErrIndex, "Field \"relate\" cannot be used as this script does not belong to a field.");
      }
      const std::int32_t parent = ParentField(frame.ownerMap, frame.thisField);
      if (parent < 0) {
        return Fail(result, kObjectField, raiseErrors,
                    "Field \"relate\" cannot be used as this field is not associated with any other field.");
      }
      result = ScriptValue{kObjectField, Variant::Long(parent), frame.ownerMap};
      return true;
    }
    case kKeywordFieldThis:
      if (frame.thisField < 0) {
        return Fail(result, kObjectField, raiseErrors,
                    "Field \"this\" cannot be used as this script does not belong to a field.");
      }
      result = ScriptValue{kObjectField, Variant::Long(frame.thisField), frame.ownerMap};
      return true;
    default:
      RaiseError(kErrData, "Invalid keyword " + std::to_string(keyword) + ".");
  }
}

}  // namespace

void ScriptResolveFrameKeyword(ScriptValue& result, std::int32_t keyword, std::int32_t map,
                               bool raiseErrors) {
  if (Resolve(result, keyword, map, raiseErrors)) dataHooks.GenerateMapData(result.mapIndex, true);
}

}  // namespace kiv
