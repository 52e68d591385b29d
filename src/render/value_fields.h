#pragma once
// The field kinds that show a number or frame a region: icon rows, meters
// (pie, bar, needle), frame gauges and nine-piece panels. The field pass calls
// them for a field it draws, with the field's screen rectangle, its anchor
// point on screen and the size of its sprite set.
#include <cstdint>

#include "render/map_view.h"

namespace kiv {

struct Field;

struct FieldArea {
  std::int32_t left = 0, top = 0, width = 0, height = 0;  // screen pixels
  float anchorX = 0.0f, anchorY = 0.0f;                   // where rows and bars align
  std::int32_t spriteWidth = 0, spriteHeight = 0;         // 0 without a sprite set
  std::uint32_t ambient = 0xFFFFFFFF;                     // every colour is modulated by it
};

void DrawIconRow(Field& field, const FieldArea& area, const MapView& view);
void DrawMeter(Field& field, const FieldArea& area, const MapView& view);
void DrawFrameGauge(Field& field, const FieldArea& area, const MapView& view);
void DrawPanel(Field& field, const FieldArea& area, const MapView& view);

// Where place i of an icon row of n places lies relative to the anchor point
// (before the floor is taken). columns and rows are the rectangle's width and
// height read as counts of icons (0 or less: no limit).
struct IconOffset {
  float x = 0.0f, y = 0.0f;
};
IconOffset IconRowOffset(std::int32_t i, std::int32_t n, std::int32_t columns, std::int32_t rows,
                         std::int32_t iconWidth, std::int32_t iconHeight, std::uint8_t alignX, std::uint8_t alignY,
                         bool vertical);

}  // namespace kiv
