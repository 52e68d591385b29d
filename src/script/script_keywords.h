#pragma once
// The frame keywords: Actor("main"), Actor("relate"), Actor("this"),
// Field("relate") and Field("this"), resolved against the running trigger.
#include <cstdint>

#include "script/script_value.h"

namespace kiv {

enum FrameKeyword : std::int32_t {
  kKeywordActorMain = 0,
  kKeywordActorRelate = 1,
  kKeywordActorThis = 2,
  kKeywordFieldRelate = 3,
  kKeywordFieldThis = 4,
};

// Makes result an actor reference (kind 31) or a field reference (kind 26) of
// the top frame. map -1 accepts any map; otherwise an actor in another map is
// refused. Failures give "none" (value -1, map -1) and, with raiseErrors, a
// script error. A success generates the map's derived data.
void ScriptResolveFrameKeyword(ScriptValue& result, std::int32_t keyword, std::int32_t map, bool raiseErrors);

}  // namespace kiv
