#include "render/cursor_drawing.h"

#include "media/player_input_state.h"
#include "render/map_view.h"
#include "render/sprite_drawing.h"
#include "state/game_state.h"

namespace kiv {

SpriteInstance cursorSpriteInstance;

namespace {

constexpr std::int32_t kScreenDrawMode = 2;

}  // namespace

void DrawCursor() {
  const PlayerInputState& input = playerInputStates[0];
  if (input.cursorSprite < 0) return;
  // A screen-space draw reads no camera: a blank view record, screen view 0.
  const MapView view{};
  DrawSprite(input.cursorSprite, gameState.playTime, cursorSpriteInstance, view, static_cast<float>(input.cursorX),
             static_cast<float>(input.cursorY), 0.0f, 1.0f, 1.0f, 1.0f, false, false,
             static_cast<std::uint32_t>(input.cursorColor), 0xFFFFFFFFu, 0, 0.0f, kScreenDrawMode, 0.0f, 0.0f, 1.0f,
             1.0f, true);
}

}  // namespace kiv
