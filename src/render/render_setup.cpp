#include "render/render_setup.h"

#include "data/data_hooks.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "data/sprite_set_queries.h"
#include "player/resource_groups.h"
#include "render/cursor_drawing.h"
#include "render/draw_helpers.h"
#include "render/field_drawing.h"
#include "render/frame_drawing.h"
#include "render/render_hooks.h"
#include "render/sprite_drawing.h"
#include "render/text_layout.h"
#include "script/trigger_hooks.h"

namespace kiv {

void InstallRenderDataHooks() {
  dataHooks.WrapText = [](std::int32_t fontSet, const std::u16string& text, std::int32_t width,
                          std::int32_t& lineCount,
                          float fontSize) { return WrapText(fontSet, text, width, lineCount, fontSize); };
  // Sprite layers' property scripts run as owner kind 13 through this slot.
  triggerHooks.SpriteTextureScript = [] { return spriteScriptSlot; };
  // Animations advance by the world's time of this tick (after the game speed).
  renderHooks.TickMilliseconds = [] { return shell.frameElapsed; };
  // Text is wrapped to the width the field is drawn with on the display.
  dataHooks.FieldDrawnWidth = [](std::int32_t map, std::int32_t field, std::int32_t viewWidth,
                                 std::int32_t viewHeight) { return FieldDrawnWidth(map, field, viewWidth, viewHeight); };
  // A waiting script's text condition: the field has typed all its text.
  triggerHooks.FieldTextShown = [](std::int32_t map, std::int32_t field) { return FieldTextShown(map, field); };
  // Projectiles are culled by the radius of their set's first usable direction.
  renderHooks.SpriteSetRadius = [](std::int32_t spriteSet) {
    return spriteSet < 0 ? 0.0f : SpriteSetRadius(spriteSet);
  };
  // The "Drawing Fields" step of an interface's map drawing.
  renderHooks.DrawFields = [](std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t width,
                              std::int32_t height, const MapView& view) { DrawFields(map, x, y, width, height, view); };
}

void InstallRenderPlayerHooks() {
  playerHooks.DrawFrame = [] { DrawFrame(); };
  playerHooks.DrawCursor = [] { DrawCursor(); };
  // The start of a game sets the scale; the system textures are the resource group 0x10000.
  renderHooks.ScreenScale = [] { return shell.screenScale; };
  renderHooks.SystemTexture = [](std::int32_t n) {
    if (n < 0 || static_cast<std::size_t>(n) >= systemTextures.size()) return gfx::TexturePtr();
    return systemTextures[static_cast<std::size_t>(n)];
  };
  InstallRenderViewHooks();
}

}  // namespace kiv
