#pragma once
// Taking a running game apart and putting it back: reloading the start-up
// data, restarting, which maps are shown, and releasing the graphics objects.
#include <cstdint>

namespace kiv {

// Icons out, the game data and "INTRO.kst" again, the start-up load, the
// templates and input sets; icons in again when reinitIcons; then the scripts
// held outside maps are registered again.
void ReloadGameData(bool reinitIcons);
// Registers the scripts held outside maps again: every actor template's, then
// the ten of every sprite layer of every pose and direction, then the four of
// every item.
void RegisterHeldScripts();
// "Main.Restart": a new game on fresh project data, keeping the loaded groups but the icons.
void RestartGame();
// Which maps view fields show now, and what starts or stops with that.
void RefreshViewedMaps(bool resetBoxes);
// Releases the render targets, helpers, shaders and the device.
void ShutdownGraphics();

// Int(screen width / 32) - 1, as the last refresh left it.
extern std::int32_t screenWidthTiles;

}  // namespace kiv
