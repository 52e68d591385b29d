#include "data/field_record.h"
#include "data/game_data.h"
#include "data/map_record.h"
#include "media/graphics.h"
#include "player/player_hooks.h"
#include "render/field_camera.h"
#include "render/frame_drawing.h"
#include "render/map_drawing.h"
#include "render/render_hooks.h"
#include "render/render_setup.h"
#include "state/project_settings_block.h"

namespace kiv {

namespace {

// Field `field` of map `map`, null when either index lies outside its table.
Field* FindField(std::int32_t map, std::int32_t field) {
  if (map < 0 || map > gameData.maps.LastIndex()) return nullptr;
  Map& record = gameData.maps[map];
  if (field < 0 || field >= static_cast<std::int32_t>(record.fields.size())) return nullptr;
  return &record.fields[static_cast<std::size_t>(field)];
}

constexpr std::size_t kDrawWithoutShaders = 3;  // option flag 4

}  // namespace

void InstallRenderViewHooks() {
  playerHooks.DrawMap = [](std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t parentMap,
                           std::int32_t parentField, std::int32_t width,
                           std::int32_t height) { DrawMap(map, x, y, parentMap, parentField, width, height); };
  playerHooks.FieldViewMap = [](std::int32_t interfaceMap, std::int32_t field) {
    const Field* record = FindField(interfaceMap, field);
    return record ? FieldViewMap(*record) : -1;
  };
  playerHooks.FieldViewFocus = [](std::int32_t interfaceMap, std::int32_t field, float& x, float& y, float& z) {
    if (Field* record = FindField(interfaceMap, field)) FieldViewFocus(*record, x, y, z);
  };
  playerHooks.SetFieldScreenView = [](std::int32_t interfaceMap, std::int32_t field, std::int32_t view) {
    if (Field* record = FindField(interfaceMap, field)) SetFieldScreenView(*record, view);
  };

  renderHooks.PickPassMode = [] { return pickPass; };
  // Lit mode: the device made the lighting shaders and the game does not ask
  // to draw without them.
  renderHooks.LitBatchOn = [] { return graphics.shadersReady; };
  renderHooks.LightingOff = [] { return storedProjectSettings.flags[kDrawWithoutShaders] != 0; };
  renderHooks.ShaderLighting = [] { return RenderLitMode(); };
  renderHooks.ModelScale = [] { return viewScale; };
  // Interface projectiles are placed like fields without anchors: centred on
  // the game's design size.
  renderHooks.InterfaceReferenceSize = [] {
    return std::array<std::int32_t, 2>{dataSettings.gameVideoWidth, dataSettings.gameVideoHeight};
  };
  renderHooks.CameraOffset = [] {
    return std::array<float, 2>{static_cast<float>(viewScroll.scrollPixelX),
                                static_cast<float>(viewScroll.scrollPixelY - viewScroll.scrollPixelZ)};
  };
}

}  // namespace kiv
