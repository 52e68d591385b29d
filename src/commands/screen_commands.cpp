// The Screen commands of their own: the screen size and the HUD interface.
// Every other "Screen." name is the camera view's and takes the fall-back.
#include "commands/internal_selection.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "media/graphics.h"
#include "script/script_convert.h"
#include "world/field_focus.h"

namespace kiv {

namespace {

// The project's HUD interface; -1 when it has none.
std::int32_t HudInterface() {
  const std::int32_t hud = projectState.settings.startInterfaces[0].index;
  return hud >= 0 && hud <= gameData.maps.LastIndex() ? hud : -1;
}

void Hud(InternalCall& call) {
  const std::int32_t hud = HudInterface();
  if (hud < 0) return;
  if (call.Assigning()) {
    const bool show = ScriptConvertBoolean(call.value, true) != 0;
    SetMapActive(hud, show, 0);
    return;
  }
  call.Answer(Variant::Long(gameData.maps[hud].overlayActive != 0 ? 1 : 0));
}

void SizeX(InternalCall& call) {
  if (!call.Assigning()) call.Answer(Variant::Long(graphics.videoWidth));
}

void SizeY(InternalCall& call) {
  if (!call.Assigning()) call.Answer(Variant::Long(graphics.videoHeight));
}

constexpr InternalCommand kScreen[] = {
    {"Screen.HUD", Hud},
    {"Screen.SizeX", SizeX},
    {"Screen.SizeY", SizeY},
};

}  // namespace

std::span<const InternalCommand> ScreenCommands() { return kScreen; }

}  // namespace kiv
