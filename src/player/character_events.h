#pragma once
// Object events raised by the Character System, with an optional record of
// them for the developer's harness and the tests.
#include <cstdint>
#include <vector>

namespace kiv {

struct RaisedEvent {
  std::int32_t ownerKind = 0;
  std::int32_t object = -1;
  std::int32_t event = 0;
  std::int32_t map = -1;
  std::int32_t related = -1;
  friend bool operator==(const RaisedEvent&, const RaisedEvent&) = default;
};

struct RaisedEventLog {
  bool recording = false;  // off in play: a busy map raises thousands of events a tick
  std::vector<RaisedEvent> events;
  void Reset() { *this = RaisedEventLog(); }
};
extern RaisedEventLog raisedEventLog;

// Runs the object's triggers of the event (and records it when recording).
void RaiseObjectEvent(std::int32_t ownerKind, std::int32_t object, std::int32_t event, std::int32_t map,
                      std::int32_t related);

}  // namespace kiv
