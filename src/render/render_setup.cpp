#include "render/render_setup.h"

#include "data/data_hooks.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "player/resource_groups.h"
#include "render/cursor_drawing.h"
#include "render/draw_helpers.h"
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
