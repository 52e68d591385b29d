#include "render/draw_helpers.h"

#include <cmath>

#include "core/math_util.h"
#include "data/field_record.h"
#include "data/game_data.h"
#include "data/map_record.h"
#include "mathkiv/colors.h"
#include "media/draw_device.h"
#include "render/render_hooks.h"

namespace kiv {

namespace {

constexpr std::int32_t kOverlayFade = -4;
constexpr std::int32_t kOverlayInstant = -3;

constexpr std::int32_t kAnchorLeft = 1;
constexpr std::int32_t kAnchorTop = 2;
constexpr std::int32_t kAnchorRight = 4;
constexpr std::int32_t kAnchorBottom = 8;
constexpr std::int32_t kAnchorKeepEdge = 0x10;
constexpr std::int32_t kAnchorScalePosition = 0x20;

// The size an interface was designed for: its chosen screen layout's, else
// the game's video size. A size below 1 would divide by zero: the view's
// own size is taken instead, so the field is placed unscaled on that axis.
void InterfaceDesignSize(const Field& field, std::int32_t viewWidth, std::int32_t viewHeight, double& width,
                         double& height) {
  width = dataSettings.gameVideoWidth;
  height = dataSettings.gameVideoHeight;
  if (field.mapIndex >= 0 && field.mapIndex <= gameData.maps.LastIndex()) {
    const Map& map = gameData.maps[field.mapIndex];
    if (map.chosenScreenLayout >= 0 && map.chosenScreenLayout < static_cast<std::int32_t>(map.screenLayouts.size())) {
      const ScreenLayout& layout = map.screenLayouts[static_cast<std::size_t>(map.chosenScreenLayout)];
      width = layout.width;
      height = layout.height;
    }
  }
  if (width < 1) width = viewWidth;
  if (height < 1) height = viewHeight;
}

// One axis of the placement. low and high are the anchor bits of the axis
// (left/top and right/bottom); position is the design x or y; size the
// current width or height (scaled in place when both edges are anchored);
// designSize the field's own design width or height; design the interface's
// design extent on the axis and view the view's.
std::int32_t AxisOffset(std::int32_t flags, std::int32_t low, std::int32_t high, double position, std::int32_t& size,
                        std::int32_t designSize, std::uint8_t alignment, double design, std::int32_t view,
                        bool centreBothOnView) {
  const double k = design != 0 ? view / design : 1.0;
  const bool scalePosition = (flags & kAnchorScalePosition) != 0;
  const bool keepEdge = (flags & kAnchorKeepEdge) != 0;
  const double grown = static_cast<double>(size) - designSize;
  const bool lowSet = (flags & low) != 0;
  const bool highSet = (flags & high) != 0;
  std::int32_t offset = 0;
  if (lowSet && highSet) {
    offset = RoundToLong(position - k * position);
    size = RoundToLong(k * size);
    if (centreBothOnView) {
      if (alignment == 1) offset = RoundToLong(offset - (view - design) / 2);
      if (alignment == 2) offset = RoundToLong(offset - (view - design));
    }
  } else if (lowSet) {
    offset = scalePosition ? RoundToLong(position - k * position) : 0;
    if (keepEdge) {
      if (alignment == 1) offset = RoundToLong(offset - grown / 2);
      if (alignment == 2) offset = RoundToLong(offset - grown);
    }
  } else if (highSet) {
    offset = scalePosition ? RoundToLong(position - k * position) : RoundToLong(design - view);
    if (keepEdge) {
      if (alignment == 0) offset = RoundToLong(offset + grown);
      if (alignment == 1) offset = RoundToLong(offset + grown / 2);
    }
  } else {
    offset = static_cast<std::int32_t>(std::floor((design - view) / 2));
  }
  return offset;
}

// Where the aligned edge lies: the anchor point on the left (top), centre or
// right (bottom) of the rectangle; another alignment keeps the caller's value.
void AlignedEdge(double position, std::int32_t size, std::int32_t offset, std::uint8_t alignment,
                 std::int32_t& edge) {
  switch (alignment) {
    case 0:
      edge = RoundToLong(position - offset);
      break;
    case 1:
      edge = RoundToLong(position - size / 2.0 - offset);
      break;
    case 2:
      edge = RoundToLong(position - size - offset);
      break;
    default:
      break;
  }
}

}  // namespace

void DrawScreenOverlay(std::int32_t mode, std::uint32_t colour, float amount) {
  std::uint32_t quadColour = 0;
  if (mode == kOverlayFade) {
    quadColour = ColorLerp(colour & 0xFFFFFFu, colour, amount);
  } else if (mode == kOverlayInstant && amount >= 0.5f) {
    quadColour = colour;
  } else {
    return;
  }
  // The overlay is a plain colour: a texture left bound by earlier drawing
  // would show through it.
  DrawDevice& device = CurrentDrawDevice();
  device.SetTexture(0, gfx::TexturePtr());
  const auto width = static_cast<float>(device.BackBufferWidth());
  const auto height = static_cast<float>(device.BackBufferHeight());
  QuadAddScreen(0.0f, 0.0f, width, height, 0.0f, 0.0f, 1.0f, 1.0f, quadColour, 0);
  QuadBatchFlushScreen();
}

std::int32_t MakePickColor(std::int32_t map, std::int32_t index, std::int32_t kind) {
  // Wraps like 32-bit integer arithmetic instead of overflowing.
  const std::uint32_t colour = static_cast<std::uint32_t>(kind) * (1u << 20) +
                               (static_cast<std::uint32_t>(map) & 0xFFFFFFu) * (1u << 15) +
                               static_cast<std::uint32_t>(index) + 1u;
  return static_cast<std::int32_t>(colour);
}

void GetFieldScreenRect(const Field& field, std::int32_t originX, std::int32_t originY, std::int32_t viewWidth,
                        std::int32_t viewHeight, FieldScreenRect& rect) {
  double designWidth = 0, designHeight = 0;
  InterfaceDesignSize(field, viewWidth, viewHeight, designWidth, designHeight);
  const std::uint8_t alignX = field.placementBytes[0];
  const std::uint8_t alignY = field.placementBytes[1];
  const double x = field.x;
  const double y = field.y;
  rect.width = field.pixelWidth;
  rect.height = field.pixelHeight;
  rect.offsetX = AxisOffset(field.anchorFlags, kAnchorLeft, kAnchorRight, x, rect.width, field.previousPixelWidth,
                            alignX, designWidth, viewWidth, false) -
                 originX;
  rect.offsetY = AxisOffset(field.anchorFlags, kAnchorTop, kAnchorBottom, y, rect.height,
                            field.previousPixelHeight, alignY, designHeight, viewHeight, true) -
                 originY;
  AlignedEdge(x, rect.width, rect.offsetX, alignX, rect.left);
  AlignedEdge(y, rect.height, rect.offsetY, alignY, rect.top);
}

std::int32_t FieldDrawnWidth(std::int32_t map, std::int32_t field, std::int32_t viewWidth, std::int32_t viewHeight) {
  if (map < 0 || map > gameData.maps.LastIndex()) return -1;
  const Map& record = gameData.maps[map];
  if (field < 0 || field >= static_cast<std::int32_t>(record.fields.size())) return -1;
  FieldScreenRect rect;
  GetFieldScreenRect(record.fields[static_cast<std::size_t>(field)], 0, 0, viewWidth, viewHeight, rect);
  return rect.width;
}

void QuadAdd3D(float x, float y, float z, float dx, float dy, float dz, TexPair tl, TexPair tr, TexPair br,
               TexPair bl, std::uint32_t c0, std::uint32_t c1, std::uint32_t c2, std::uint32_t c3,
               std::uint32_t specular, float nx, float ny, float nz) {
  if (RenderLitMode()) {
    QuadAddLit3D(x, y, z, dx, dy, dz, tl, tr, br, bl, nx, ny, nz);
  } else {
    QuadAddColored3D(x, y, z, dx, dy, dz, tl, tr, br, bl, c0, c1, c2, c3, specular);
  }
}

void QuadBatchFlush3D() {
  if (RenderLitMode()) {
    QuadBatchFlushLit3D();
  } else {
    QuadBatchFlushColored3D();
  }
}

}  // namespace kiv
