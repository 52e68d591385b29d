#include "player/character_events.h"

#include "script/trigger_dispatch.h"

namespace kiv {

RaisedEventLog raisedEventLog;

void RaiseObjectEvent(std::int32_t ownerKind, std::int32_t object, std::int32_t event, std::int32_t map,
                      std::int32_t related) {
  if (raisedEventLog.recording) raisedEventLog.events.push_back(RaisedEvent{ownerKind, object, event, map, related});
  ScriptRaiseObjectEvent(ownerKind, object, event, map, related);
}

}  // namespace kiv
