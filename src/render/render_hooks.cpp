#include "render/render_hooks.h"

namespace kiv {

RenderHooks renderHooks = [] {
  RenderHooks hooks;
  hooks.Reset();
  return hooks;
}();

void RenderHooks::Reset() {
  TickMilliseconds = [] { return 0; };
  ScreenScale = [] { return 1.0f; };
  PickPassMode = [] { return 0; };
  LitBatchOn = [] { return false; };
  LightingOff = [] { return false; };
  ModelScale = [] { return 1.0f; };
}

bool RenderLitMode() { return renderHooks.LitBatchOn() && !renderHooks.LightingOff(); }

}  // namespace kiv
