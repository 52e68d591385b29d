#include "player/loading_progress.h"

#include "core/log.h"
#include "media/draw_device.h"
#include "media/graphics.h"
#include "platform/ui/form.h"
#include "player/main_loop.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"

namespace kiv {

namespace {

constexpr std::int32_t kHardwareDevice = 1;

// Clears the loading-tick flag on every way out: a system that raises inside
// the tick would otherwise leave every later tick a loading tick, since the
// callers of the progress (loading a save, the script engine) catch and play on.
struct LoadingTickScope {
  LoadingTickScope() { shell.loadingTick = true; }
  ~LoadingTickScope() { shell.loadingTick = false; }
  LoadingTickScope(const LoadingTickScope&) = delete;
  LoadingTickScope& operator=(const LoadingTickScope&) = delete;
};

}  // namespace

void ShowLoadingProgress(const std::string& text, float step) {
  if (!text.empty()) {
    shell.loadingText = text;
    LogWriteLine(text);
  }
  if (shell.drawingFrame || shell.loadingTick) return;
  if (step > 0.0f) {
    shell.loadingProgress += step;
    if (shell.loadingProgress > 1.0f) shell.loadingProgress = 1.0f;
  }
  // Without a device (data loaded before the window exists, or headless) there is no frame to draw.
  if (graphics.videoDeviceType != kHardwareDevice || !DrawDeviceAvailable()) return;
  loopPlatform.DoEvents();
  LoadingTickScope scope;
  UpdateTickTime();
  playerHooks.WorldUpdate();
  playerHooks.DrawFrame();
}

}  // namespace kiv
