#include "media/device_reset.h"

#include "core/error.h"
#include "media/device_startup.h"
#include "media/graphics.h"
#include "media/input_devices.h"
#include "media/window_operations.h"

namespace kiv {

bool ResetDeviceAndTargets() {
  try {
    // Targets released by an earlier failed reset are still wanted.
    const bool wasReady = graphics.targetsReady || graphics.targetsWanted;
    if (graphics.targetsReady) ReleaseRenderTargets();
    if (!graphics.direct3dDevice) {
      graphics.targetsWanted = wasReady;
      return false;
    }
    if (graphics.direct3dDevice->Reset(graphics.presentParameters) != gfx::kOk) {
      graphics.targetsWanted = wasReady;
      return false;
    }
    graphics.targetsWanted = false;
    if (wasReady) CreateRenderTargets();
    return true;
  } catch (const KivError&) {
    return false;
  }
}

void GraphicsResetDevice() {
  gfx::PresentParameters& pp = graphics.presentParameters;
  const std::uint32_t width = pp.backBufferWidth, height = pp.backBufferHeight;
  pp.backBufferWidth = 0;
  pp.backBufferHeight = 0;
  if (graphics.direct3dDevice && graphics.direct3dDevice->TestCooperativeLevel() == gfx::kErrDeviceNotReset) {
    graphics.direct3dDevice->Reset(pp);  // errors dropped: the next call tries again
  }
  pp.backBufferWidth = width;
  pp.backBufferHeight = height;
}

void GraphicsResetViewport() {
  if (!graphics.direct3dDevice) RaiseError(91, "The Direct3D device is not created.");
  gfx::Device& device = *graphics.direct3dDevice;
  gfx::Viewport viewport;
  CheckResult(device.GetViewport(viewport), "GetViewport");
  viewport.x = 0;
  viewport.y = 0;
  viewport.width = static_cast<std::uint32_t>(graphics.videoWidth);
  viewport.height = static_cast<std::uint32_t>(graphics.videoHeight);
  CheckResult(device.SetViewport(viewport), "SetViewport");
}

gfx::SurfacePtr CreatePickTarget(std::int32_t width, std::int32_t height, std::uint32_t& format) {
  format = 0;
  if (!graphics.direct3d || !graphics.direct3dDevice) RaiseError(91, "The Direct3D device is not created.");
  for (std::uint32_t candidate : {gfx::kFmtA8R8G8B8, gfx::kFmtX8R8G8B8, gfx::kFmtR8G8B8}) {
    if (graphics.direct3d->CheckDeviceFormat(static_cast<std::uint32_t>(graphics.videoAdapter),
                                             static_cast<std::uint32_t>(graphics.videoDeviceType),
                                             graphics.desktopMode.format, gfx::kUsageRenderTarget,
                                             gfx::kResourceSurface, candidate) == gfx::kOk) {
      format = candidate;
      break;
    }
  }
  if (format == 0) return nullptr;
  gfx::SurfacePtr surface;
  CheckResult(graphics.direct3dDevice->CreateRenderTarget(static_cast<std::uint32_t>(width),
                                                          static_cast<std::uint32_t>(height), format, 0, true,
                                                          surface),
              "CreateRenderTarget");
  return surface;
}

std::uint32_t ColorForFormat(std::uint32_t format, std::uint32_t color) {
  if (format == gfx::kFmtR8G8B8 || format == gfx::kFmtA8R8G8B8 || format == gfx::kFmtX8R8G8B8) {
    return color | 0xFF000000u;
  }
  return 0;
}

std::uint32_t SurfaceReadPixel(gfx::Surface* surface, std::uint32_t format, std::int32_t x, std::int32_t y) {
  int bytesPerPixel = 0;
  if (format == gfx::kFmtA8R8G8B8 || format == gfx::kFmtX8R8G8B8) bytesPerPixel = 4;
  if (format == gfx::kFmtR8G8B8) bytesPerPixel = 3;
  if (bytesPerPixel == 0 || !surface) return 0;
  if (x < 0 || y < 0 || x >= static_cast<std::int32_t>(surface->Width()) ||
      y >= static_cast<std::int32_t>(surface->Height())) {
    return 0;
  }
  gfx::LockedRect locked;
  const gfx::Rect pixel{x, y, x + 1, y + 1};
  CheckResult(surface->LockRect(locked, &pixel, 0x8810), "LockRect");
  const std::uint8_t* p = locked.bits;
  // Blue, green and red are the first three bytes in both layouts.
  const std::uint32_t value = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                              static_cast<std::uint32_t>(p[2]) << 16;
  surface->UnlockRect();
  return value & 0xFFFFFFu;
}

void InputUpdateMouseCooperation() {
  const bool quitting = HookFlag(graphicsHooks.quitRequest);
  const bool shared =
      quitting || (graphics.videoWindowed && !HookFlag(graphicsHooks.captureMouseInWindow));
  if (inputDevices.mouseDevice) {
    inputDevices.mouseDevice->Unacquire();
    inputDevices.mouseDevice->SetCooperativeLevel(inputDevices.mouseWindow, shared ? 6 : 5);
  }
  SetCursorVisible(shared);
  SetWindowTopmost(graphics.presentParameters.deviceWindow, !quitting && !graphics.videoWindowed, false);
}

}  // namespace kiv
