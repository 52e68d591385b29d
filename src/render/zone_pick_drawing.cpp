// The zones that answer the mouse, drawn into the pick image as solid boxes
// so the pointer can tell which zone it is over.
#include <array>
#include <cstdint>

#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/map_record.h"
#include "media/box_shapes.h"
#include "media/device_reset.h"
#include "media/draw_device.h"
#include "media/graphics.h"
#include "media/quad_batcher.h"
#include "media/vertex_records.h"
#include "platform/gfx/d3d_types.h"
#include "render/draw_helpers.h"
#include "render/map_top_drawing.h"

namespace kiv {

namespace {

constexpr std::int32_t kBoxTriangles = 12;

// A zone takes part in picking when one of its triggers is a zone mouse event.
bool AnswersTheMouse(const Zone& zone) {
  for (const Trigger& trigger : zone.triggers) {
    if (trigger.event >= kSymTriggerZoneMouseDown && trigger.event <= kSymTriggerZoneMouseDown + 4) return true;
  }
  return false;
}

}  // namespace

void DrawZones(const MapDrawStep& step) {
  if (step.map < 0 || step.map > gameData.maps.LastIndex()) return;
  if (renderHooks.PickPassMode() == 0) return;
  const Map& map = gameData.maps[step.map];
  gameData.currentActivity = "Stopping Fog and Going Into 2D";
  DrawDevice& device = CurrentDrawDevice();
  device.SetTexture(0, nullptr);
  device.SetVertexShader(kColoredVertexFormat);
  device.SetRenderState(gfx::kRsZEnable, 0);
  const auto characters = static_cast<std::int32_t>(map.actors.size());
  for (std::size_t i = 0; i < map.zones.size(); ++i) {
    const Zone& zone = map.zones[i];
    if (zone.shape.rectangles.empty() || !AnswersTheMouse(zone)) continue;
    const CollisionBox& r = zone.shape.rectangles[0];
    const auto pick = static_cast<std::uint32_t>(MakePickColor(step.map, characters + static_cast<std::int32_t>(i), 0));
    const std::uint32_t colour = ColorForFormat(graphics.pickTargetFormat, pick);
    // The pick frame paints with the texture factor; the vertices carry the colour as well.
    device.SetRenderState(gfx::kRsTextureFactor, colour);
    std::array<ColorPair, 6> faces;
    faces.fill(ColorPair{colour, 0});
    const std::array<ColoredVertex, 36> box = ShapeBuildBox(
        static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.front),
        static_cast<float>(r.right) - static_cast<float>(r.left), static_cast<float>(r.bottom) - static_cast<float>(r.top),
        static_cast<float>(r.back) - static_cast<float>(r.front), 1, 1, faces);
    CurrentBatchDrawer().DrawPrimitiveUP(gfx::kPrimTriangleList, kBoxTriangles, box.data(), sizeof(ColoredVertex));
  }
  device.SetRenderState(gfx::kRsZEnable, 1);
}

}  // namespace kiv
