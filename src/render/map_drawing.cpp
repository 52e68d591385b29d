#include "render/map_drawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "core/math_util.h"
#include "data/field_record.h"
#include "data/game_data.h"
#include "data/map_record.h"
#include "media/device_reset.h"
#include "media/draw_device.h"
#include "media/graphics.h"
#include "media/vertex_records.h"
#include "platform/gfx/d3dx.h"
#include "render/backdrop_drawing.h"
#include "render/field_camera.h"
#include "render/frame_drawing.h"
#include "render/map_view.h"
#include "render/maps_being_drawn.h"
#include "render/render_hooks.h"
#include "render/tile_drawing.h"
#include "state/project_settings_block.h"

namespace kiv {

MapTileWindow tileWindow;
float viewScale = 1.0f;

namespace {

constexpr std::int32_t kInterfaceScreenView = 2;
constexpr std::int32_t kFortyFiveView = 0;
constexpr std::int32_t kPerspective = 1;
constexpr std::uint32_t kFogLinear = 3;
constexpr std::int32_t kWorldDrawing = 0;
constexpr std::int32_t kScreenDrawing = 2;

void Activity(const char* name) { gameData.currentActivity = name; }

std::uint32_t FloatBits(float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

bool OptionFlag(int number) { return storedProjectSettings.flags[static_cast<std::size_t>(number - 1)] != 0; }

// The view of an interface: the whole back buffer when no size is given
// (otherwise the viewport stays as the caller left it) and the scale as every
// matrix.
void SetUpInterfaceView(DrawDevice& device, std::int32_t& width, std::int32_t& height, MapView& view) {
  if (width == -1 && height == -1) {
    width = static_cast<std::int32_t>(device.BackBufferWidth());
    height = static_cast<std::int32_t>(device.BackBufferHeight());
    view.viewport = gfx::Viewport{0, 0, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), 0.0f,
                                  1.0f};
    device.SetViewport(view.viewport);
  } else {
    view.viewport = device.GetViewport();
  }
  view.world = view.view = view.projection = gfx::MatrixScaling(viewScale, viewScale, viewScale);
  view.perspective = false;
  view.screenView = kInterfaceScreenView;
}

// The view of a map in a view field, from the field's camera; false when the
// view lies off the screen and nothing is to be drawn.
bool SetUpFieldView(DrawDevice& device, Field& field, std::int32_t x, std::int32_t y, std::int32_t& width,
                    std::int32_t& height, MapView& view) {
  FieldCamera camera;
  SetupFieldCamera(field, x, y, width, height, camera);
  if (camera.width < 1 || camera.height < 1) return false;
  view.viewport = gfx::Viewport{static_cast<std::uint32_t>(camera.x), static_cast<std::uint32_t>(camera.y),
                                static_cast<std::uint32_t>(camera.width), static_cast<std::uint32_t>(camera.height),
                                camera.minZ, camera.maxZ};
  device.SetViewport(view.viewport);
  if (device.DepthStencilFormat() != 0) device.Clear(gfx::kClearZBuffer, 0, 1.0f, 0);
  view.world = camera.world;
  view.view = camera.view;
  view.projection = camera.projection;
  view.eye = camera.eye;
  view.up = camera.up;
  view.perspective = field.view.projection == kPerspective;
  view.screenView = field.view.screenView;
  return true;
}

// The registers the lighting shaders read: the matrices (the view-projection
// and one world copy transposed), two constant vectors, and the ambient
// colour with four neutral factors for the pixel shader.
void SetShaderConstants(DrawDevice& device, const MapView& view, std::uint32_t ambient) {
  const gfx::Matrix viewProjection = gfx::MatrixTranspose(gfx::MatrixMultiply(view.view, view.projection));
  device.SetVertexShaderConstant(4, &viewProjection.m[0][0], 4);
  device.SetVertexShaderConstant(8, &view.world.m[0][0], 4);
  const gfx::Matrix world = gfx::MatrixTranspose(view.world);
  device.SetVertexShaderConstant(0, &world.m[0][0], 4);
  const float zeros[4] = {0, 0, 0, 0};
  const float ones[4] = {1, 1, 1, 1};
  device.SetVertexShaderConstant(50, zeros, 1);
  device.SetVertexShaderConstant(51, ones, 1);
  float colour[4];
  for (int i = 0; i < 4; ++i) colour[i] = static_cast<float>((ambient >> (8 * i)) & 0xFFu) / 255.0f;
  device.SetPixelShaderConstant(0, colour, 1);
  for (std::uint32_t reg = 1; reg <= 4; ++reg) device.SetPixelShaderConstant(reg, ones, 1);
}

void SetFog(DrawDevice& device, const Map& record) {
  device.SetRenderState(gfx::kRsFogEnable, 1);
  device.SetRenderState(gfx::kRsFogColor, record.fogColor);
  device.SetRenderState(gfx::kRsFogVertexMode, kFogLinear);
  device.SetRenderState(gfx::kRsFogStart, FloatBits(std::min(record.fogStart, record.fogEnd)));
  device.SetRenderState(gfx::kRsFogEnd, FloatBits(std::max(record.fogStart, record.fogEnd)));
}

// The fog states of the drawing a nested view interrupts: an interface's fog
// must not leak into the map its view field shows, and comes back after it.
struct FogStates {
  std::array<std::uint32_t, 5> values{};
};
constexpr std::array<std::uint32_t, 5> kFogStates = {gfx::kRsFogEnable, gfx::kRsFogColor, gfx::kRsFogVertexMode,
                                                     gfx::kRsFogStart, gfx::kRsFogEnd};

FogStates SaveFog(DrawDevice& device) {
  FogStates saved;
  for (std::size_t i = 0; i < kFogStates.size(); ++i) saved.values[i] = device.GetRenderState(kFogStates[i]);
  return saved;
}

void RestoreFog(DrawDevice& device, const FogStates& saved) {
  for (std::size_t i = 0; i < kFogStates.size(); ++i) device.SetRenderState(kFogStates[i], saved.values[i]);
}

void DrawTileGroup(std::int32_t map, std::int32_t group, const MapView& view, const MapTileWindow& window,
                   std::int32_t width, std::int32_t height, std::int32_t lastLayer, bool shadowPass = false) {
  TileLayerArgs args;
  args.map = map;
  args.group = group;
  args.shadowPass = shadowPass;
  args.world = view.world;
  args.is3D = view.perspective ? 1 : 0;
  // A perspective camera sees beyond the rectangle of the flat views.
  args.wholeMap = view.perspective;
  args.window.firstColumn = window.firstColumn;
  args.window.firstRow = window.firstRow;
  args.window.firstLayer = 0;
  args.window.columns = window.columnCount;
  args.window.rows = window.rowCount;
  args.window.layers = lastLayer + 1;
  args.window.viewWidth = width;
  args.window.viewHeight = height;
  DrawTileLayer(args);
}

void DrawProjectileLayer(const MapDrawStep& step, std::int32_t layer, bool onInterface) {
  const std::array<double, 4> rect{static_cast<double>(step.visibleRect[0]), static_cast<double>(step.visibleRect[1]),
                                   static_cast<double>(step.visibleRect[2]), static_cast<double>(step.visibleRect[3])};
  DrawProjectiles(step.map, layer, static_cast<float>(step.x), static_cast<float>(step.y),
                  static_cast<float>(step.width), static_cast<float>(step.height), *step.view,
                  onInterface ? kScreenDrawing : kWorldDrawing, rect);
}

}  // namespace

void DrawMapTileGroup(const MapDrawStep& step, std::int32_t group, bool shadowPass) {
  if (step.map < 0 || step.map > gameData.maps.LastIndex() || step.view == nullptr) return;
  DrawTileGroup(step.map, group, *step.view, tileWindow, step.width, step.height,
                gameData.maps[step.map].layerCount, shadowPass);
}

VisibleArea ComputeVisibleArea(std::int32_t width, std::int32_t height, std::int32_t cameraX, std::int32_t cameraY,
                               std::int32_t cameraZ, float scale, bool fortyFiveView, std::int32_t lastLayer) {
  VisibleArea area;
  const double s = scale;
  const std::int32_t left = RoundToLong((0.0 + cameraX) / s);
  const std::int32_t right = RoundToLong((static_cast<double>(width) + cameraX) / s);
  const std::int32_t top = RoundToLong((0.0 + cameraY) / s);
  const std::int32_t bottom = RoundToLong((static_cast<double>(height) + cameraY) / s);
  area.rect = {left, top, right, bottom};
  MapTileWindow& w = area.window;
  w.firstColumn = static_cast<std::int32_t>(std::floor(left / 32.0));
  w.firstRow = static_cast<std::int32_t>(std::floor(top / 32.0));
  w.riseRows = static_cast<std::int32_t>(std::floor((cameraZ / s - cameraY / s - (bottom - top)) / 32.0));
  w.columnCount = CeilingLong((right - left) / 32.0);
  w.rowCount = CeilingLong((bottom - top) / 32.0);
  w.rowCountBelow = w.rowCount - std::min(w.riseRows, 0);
  if (fortyFiveView) {
    const std::int32_t raised = CeilingLong(cameraZ / 32.0);
    w.rowCount += lastLayer + raised;
    w.firstRow -= raised;
  }
  return area;
}

void DrawMap(std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t parentMap, std::int32_t viewField,
             std::int32_t width, std::int32_t height) {
  if (map < 0 || map > gameData.maps.LastIndex()) return;
  // A view that shows a map already being drawn (its own interface, or a
  // cycle of views) would draw it inside itself without end.
  const MapDrawingMark mark(map);
  if (!mark.Entered()) return;
  Map& record = gameData.maps[map];
  DrawDevice& device = CurrentDrawDevice();
  const bool onInterface = record.isInterface;
  const bool picking = pickPass != 0;

  // The view.
  MapView view;
  view.viewMode = record.mapMode;
  bool inViewField = false;
  if (onInterface) {
    SetUpInterfaceView(device, width, height, view);
  } else {
    if (parentMap < 0 || parentMap > gameData.maps.LastIndex()) return;
    Map& parent = gameData.maps[parentMap];
    if (viewField < 0 || viewField >= static_cast<std::int32_t>(parent.fields.size())) return;
    if (!SetUpFieldView(device, parent.fields[static_cast<std::size_t>(viewField)], x, y, width, height, view))
      return;
    inViewField = true;
  }

  Activity("Preparing DirectX");
  const VisibleArea area =
      ComputeVisibleArea(width, height, viewScroll.scrollPixelX, viewScroll.scrollPixelY, viewScroll.scrollPixelZ,
                         viewScale, inViewField && view.screenView == kFortyFiveView, record.layerCount);
  tileWindow = area.window;
  device.SetTransform(gfx::kTransformProjection, view.projection);
  device.SetTransform(gfx::kTransformView, view.view);
  device.SetTransform(gfx::kTransformWorld, view.world);
  device.SetRenderState(gfx::kRsAmbient, record.ambientColor);
  device.SetDepthLayer(0);
  if (RenderLitMode()) SetShaderConstants(device, view, record.ambientColor);
  if (!picking) {
    device.SetVertexShader(kScreenVertexFormat);
    device.SetPixelShader(0);
    DrawMapBackdrop(map, kBackdropBackground, static_cast<float>(x), static_cast<float>(y),
                    static_cast<float>(width), static_cast<float>(height), view);
  }

  Activity("Preparing Fog and Starting 3D");
  const FogStates outerFog = SaveFog(device);
  const bool outerFogOn = outerFog.values[0] != 0;
  // A pick pass paints exact colours that name objects: no fog blends into them.
  if (record.fogOn != 0 && !picking)
    SetFog(device, record);
  else if (outerFogOn)
    device.SetRenderState(gfx::kRsFogEnable, 0);

  MapDrawStep step;
  step.map = map;
  step.x = x;
  step.y = y;
  step.parentMap = parentMap;
  step.viewField = viewField;
  step.width = width;
  step.height = height;
  step.view = &view;
  step.visibleRect = area.rect;

  // Scenery hides what lies behind it from the pointer without naming anything.
  const bool scenery = !picking || storedProjectSettings.pickScenery != 0;
  if (picking) device.SetRenderState(gfx::kRsTextureFactor, ColorForFormat(graphics.pickTargetFormat, 0));
  if (scenery && !onInterface) {
    Activity("Drawing Background");
    DrawTileGroup(map, 0, view, tileWindow, width, height, record.layerCount);
    Activity("Drawing Grid");
    DrawTileGroup(map, 1, view, tileWindow, width, height, record.layerCount);
    DrawTileGroup(map, 2, view, tileWindow, width, height, record.layerCount);
  }
  if (!onInterface) {
    if (!picking) {
      Activity("Drawing Pick-Ups");
      renderHooks.DrawPickUps(step);
    }
    Activity("Drawing Characters");
    renderHooks.DrawCharacters(step);
    Activity("Drawing Doors");
    renderHooks.DrawDoors(step);
  }
  if (!picking) DrawProjectileLayer(step, 0, onInterface);

  if (onInterface) {
    Activity("Drawing Fields");
    if (picking || (record.ambientColor >> 24) != 0) renderHooks.DrawFields(map, x, y, width, height, view);
    device.SetRenderState(gfx::kRsZEnable, 1);
    device.SetRenderState(gfx::kRsCullMode, gfx::kCullCcw);
    if (!picking) DrawProjectileLayer(step, 1, onInterface);
  }

  if (!onInterface && !picking && OptionFlag(3)) {
    Activity("Drawing Shadows");
    renderHooks.DrawShadows(step);
  }
  if (picking) {
    Activity("Stopping Fog and Going Into 2D");
    renderHooks.DrawZones(step);
  }
  Activity("Stopping Fog and Going Into 2D");
  if (record.fogOn != 0) device.SetRenderState(gfx::kRsFogEnable, 0);
  device.SetVertexShader(kScreenVertexFormat);
  device.SetPixelShader(0);
  device.SetRenderState(gfx::kRsZEnable, 0);
  if (!picking) {
    DrawMapBackdrop(map, kBackdropForeground, static_cast<float>(x), static_cast<float>(y),
                    static_cast<float>(width), static_cast<float>(height), view);
  }
  if (!onInterface && !picking) {
    Activity("Drawing Clouds");
    renderHooks.DrawClouds(step);
    Activity("Drawing Rain");
    renderHooks.DrawRain(step);
    Activity("Drawing Tops");
    renderHooks.DrawTops(step);
  }
  if (inViewField && !picking) renderHooks.DrawViewOverlays(step);
  device.SetRenderState(gfx::kRsZEnable, 1);
  if (outerFogOn) RestoreFog(device, outerFog);
}

}  // namespace kiv
