#pragma once
// Keeping the device usable: resets after a loss, a resize or a switch
// between window and full screen; the pick target and its one-pixel
// read-back; the mouse's cooperation with the window mode.
#include <cstdint>

#include "platform/gfx/resources.h"

namespace kiv {

bool ResetDeviceAndTargets();
void GraphicsResetDevice();
void GraphicsResetViewport();
gfx::SurfacePtr CreatePickTarget(std::int32_t width, std::int32_t height, std::uint32_t& format);
std::uint32_t ColorForFormat(std::uint32_t format, std::uint32_t color);
// 0 for a format that is not a pick-target format and for a pixel outside the surface.
std::uint32_t SurfaceReadPixel(gfx::Surface* surface, std::uint32_t format, std::int32_t x, std::int32_t y);
void InputUpdateMouseCooperation();

}  // namespace kiv
