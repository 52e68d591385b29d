#pragma once
// The maps whose drawing is under way, outermost first. A view field may show
// any map, even its own interface or one whose view shows it back; such a map
// is drawn once, not again inside itself.
#include <cstdint>

namespace kiv {

// True while the map is being drawn (in a frame or a pick pass).
bool MapBeingDrawn(std::int32_t map);

// Marks a map as being drawn for its lifetime; Entered() is false when the
// map was being drawn already, and then the mark changes nothing.
class MapDrawingMark {
 public:
  explicit MapDrawingMark(std::int32_t map);
  ~MapDrawingMark();
  MapDrawingMark(const MapDrawingMark&) = delete;
  MapDrawingMark& operator=(const MapDrawingMark&) = delete;
  bool Entered() const { return entered_; }

 private:
  bool entered_ = false;
};

}  // namespace kiv
