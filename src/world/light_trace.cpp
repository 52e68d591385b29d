#include "world/light_trace.h"

#include "world/move_tests.h"

namespace kiv {

bool LightSegmentBlocked(std::int32_t map, const LineSegment& segment, float z) {
  SegmentTrace trace;
  // Below -1 switches a test off: characters, pick-ups, zones, the map's own
  // shapes and tile entries let light through.
  trace.characterHit = -2;
  trace.pickUpHit = -2;
  trace.zoneSwitch = -2;
  trace.mapShapeHit = -2;
  trace.tileSwitch = -2;
  trace.height = z;
  return TraceSegment(map, segment, trace);
}

}  // namespace kiv
