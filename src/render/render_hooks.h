#pragma once
// What tile and sprite drawing read of the frame that map drawing and the
// player shell set up. Those parts install these at start-up; tests fill them.
#include <cstdint>
#include <functional>

namespace kiv {

struct RenderHooks {
  std::function<std::int32_t()> TickMilliseconds;  // elapsed ms of this tick, after the speed factor
  std::function<float()> ScreenScale;              // screen-overlay layers scale by it
  std::function<std::int32_t()> PickPassMode;      // non-zero while the picking frame is drawn
  std::function<bool()> LitBatchOn;                // the 3-D batch carries lit vertices
  std::function<bool()> LightingOff;               // the player switched shader lighting off
  std::function<float()> ModelScale;               // uniform scale of tile models
  void Reset();
};
extern RenderHooks renderHooks;

// Lit mode: the lit batch is on and lighting is not switched off.
bool RenderLitMode();

}  // namespace kiv
