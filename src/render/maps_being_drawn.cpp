#include "render/maps_being_drawn.h"

#include <algorithm>
#include <vector>

namespace kiv {

namespace {

std::vector<std::int32_t> drawing;

}  // namespace

bool MapBeingDrawn(std::int32_t map) { return std::find(drawing.begin(), drawing.end(), map) != drawing.end(); }

MapDrawingMark::MapDrawingMark(std::int32_t map) {
  if (MapBeingDrawn(map)) return;
  drawing.push_back(map);
  entered_ = true;
}

MapDrawingMark::~MapDrawingMark() {
  if (entered_) drawing.pop_back();
}

}  // namespace kiv
