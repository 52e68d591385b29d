#pragma once
// Small routines that map drawing, field drawing, picking and the scripts
// share: the full-screen overlay, pick colours, an interface field's screen
// rectangle and the switch between the coloured and the lit 3-D quad batch.
#include <cstdint>

#include "media/quad_batcher.h"

namespace kiv {

struct Field;

// Screen overlay of transitions and flashes over the whole back buffer,
// clipped by the current viewport. Mode -4 fades from the colour without
// alpha to the colour by amount; mode -3 draws the plain colour from an
// amount of 0.5; other modes draw nothing.
void DrawScreenOverlay(std::int32_t mode, std::uint32_t colour, float amount);

// The colour that names an object in the pick image (0 names nothing).
std::int32_t MakePickColor(std::int32_t map, std::int32_t index, std::int32_t kind);

// Where an interface field lies on the screen for a view of the given size.
// left and top are in-out: an alignment outside 0..2 leaves the caller's value.
struct FieldScreenRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t offsetX = 0;
  std::int32_t offsetY = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};
void GetFieldScreenRect(const Field& field, std::int32_t originX, std::int32_t originY, std::int32_t viewWidth,
                        std::int32_t viewHeight, FieldScreenRect& rect);
// The width field `field` of map `map` is drawn with on a view of that size;
// -1 when either index lies outside its table.
std::int32_t FieldDrawnWidth(std::int32_t map, std::int32_t field, std::int32_t viewWidth, std::int32_t viewHeight);

// One 3-D quad into the lit batch in lit mode, else into the coloured batch.
void QuadAdd3D(float x, float y, float z, float dx, float dy, float dz, TexPair tl, TexPair tr, TexPair br,
               TexPair bl, std::uint32_t c0, std::uint32_t c1, std::uint32_t c2, std::uint32_t c3,
               std::uint32_t specular, float nx, float ny, float nz);
void QuadBatchFlush3D();

}  // namespace kiv
