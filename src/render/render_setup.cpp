#include "render/render_setup.h"

#include "data/data_hooks.h"
#include "player/player_hooks.h"
#include "render/frame_drawing.h"
#include "render/text_layout.h"

namespace kiv {

void InstallRenderDataHooks() {
  dataHooks.WrapText = [](std::int32_t fontSet, const std::u16string& text, std::int32_t width,
                          std::int32_t& lineCount,
                          float fontSize) { return WrapText(fontSet, text, width, lineCount, fontSize); };
}

void InstallRenderPlayerHooks() { playerHooks.DrawFrame = [] { DrawFrame(); }; }

}  // namespace kiv
