#include "platform/gfx/direct3d.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "platform/gfx/device.h"
#include "platform/gfx/gl_formats.h"

namespace kiv::gfx {

std::uint32_t FormatFromSdl(std::uint32_t sdlFormat) {
  switch (sdlFormat) {
    case SDL_PIXELFORMAT_RGB888:
      return kFmtX8R8G8B8;
    case SDL_PIXELFORMAT_ARGB8888:
      return kFmtA8R8G8B8;
    case SDL_PIXELFORMAT_RGB24:
      return kFmtR8G8B8;
    case SDL_PIXELFORMAT_RGB565:
      return kFmtR5G6B5;
    case SDL_PIXELFORMAT_RGB555:
      return kFmtX1R5G5B5;
    case SDL_PIXELFORMAT_ARGB1555:
      return kFmtA1R5G5B5;
    case SDL_PIXELFORMAT_ARGB4444:
      return kFmtA4R4G4B4;
    default:
      return 0;
  }
}

std::unique_ptr<Direct3D> Direct3D::Create() {
  if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
  return std::unique_ptr<Direct3D>(new Direct3D());
}

Direct3D::~Direct3D() = default;

std::uint32_t Direct3D::GetAdapterCount() const {
  const int n = SDL_GetNumVideoDisplays();
  return n > 0 ? static_cast<std::uint32_t>(n) : 0;
}

HResult Direct3D::GetAdapterIdentifier(std::uint32_t adapter, std::uint32_t /*flags*/,
                                       AdapterIdentifier& out) const {
  if (adapter >= GetAdapterCount()) return kErrInvalidCall;
  out = AdapterIdentifier{};
  std::snprintf(out.driver, sizeof out.driver, "%s", SDL_GetCurrentVideoDriver());
  const char* name = SDL_GetDisplayName(static_cast<int>(adapter));
  std::snprintf(out.description, sizeof out.description, "Display %u%s%s", adapter, name ? " " : "",
                name ? name : "");
  return kOk;
}

std::vector<DisplayMode> Direct3D::Modes(std::uint32_t adapter) const {
  std::vector<DisplayMode> modes;
  if (adapter >= GetAdapterCount()) return modes;
  const int n = SDL_GetNumDisplayModes(static_cast<int>(adapter));
  for (int i = 0; i < n; ++i) {
    SDL_DisplayMode m{};
    if (SDL_GetDisplayMode(static_cast<int>(adapter), i, &m) != 0) continue;
    const std::uint32_t format = FormatFromSdl(m.format);
    if (m.w <= 0 || m.h <= 0 || format == 0) continue;  // drivers without real modes report empty ones
    modes.push_back({static_cast<std::uint32_t>(m.w), static_cast<std::uint32_t>(m.h),
                     static_cast<std::uint32_t>(m.refresh_rate), format});
  }
  if (modes.empty()) {
    DisplayMode desktop;
    if (GetAdapterDisplayMode(adapter, desktop) == kOk) modes.push_back(desktop);
  }
  return modes;
}

std::uint32_t Direct3D::GetAdapterModeCount(std::uint32_t adapter) const {
  return static_cast<std::uint32_t>(Modes(adapter).size());
}

HResult Direct3D::EnumAdapterModes(std::uint32_t adapter, std::uint32_t mode, DisplayMode& out) const {
  const std::vector<DisplayMode> modes = Modes(adapter);
  if (mode >= modes.size()) return kErrInvalidCall;
  out = modes[mode];
  return kOk;
}

HResult Direct3D::GetAdapterDisplayMode(std::uint32_t adapter, DisplayMode& out) const {
  if (adapter >= GetAdapterCount()) return kErrInvalidCall;
  SDL_DisplayMode m{};
  if (SDL_GetDesktopDisplayMode(static_cast<int>(adapter), &m) != 0) return kErrNotAvailable;
  out.width = static_cast<std::uint32_t>(m.w);
  out.height = static_cast<std::uint32_t>(m.h);
  out.refreshRate = static_cast<std::uint32_t>(m.refresh_rate);
  out.format = FormatFromSdl(m.format);
  if (out.format == 0) out.format = kFmtX8R8G8B8;
  return kOk;
}

HResult Direct3D::CheckDeviceFormat(std::uint32_t adapter, std::uint32_t deviceType, std::uint32_t adapterFormat,
                                    std::uint32_t usage, std::uint32_t resourceType,
                                    std::uint32_t checkFormat) const {
  if (adapter >= GetAdapterCount() || (deviceType != kDevTypeHal && deviceType != kDevTypeRef)) {
    return kErrInvalidCall;
  }
  if (!IsDisplayFormat(adapterFormat)) return kErrNotAvailable;
  if (usage & kUsageDepthStencil) {
    return resourceType == kResourceSurface && GlDepthFormat(checkFormat) != 0 ? kOk : kErrNotAvailable;
  }
  if (usage & kUsageRenderTarget) return IsColorTargetFormat(checkFormat) ? kOk : kErrNotAvailable;
  return IsColorTargetFormat(checkFormat) || IsDisplayFormat(checkFormat) ? kOk : kErrNotAvailable;
}

HResult Direct3D::GetDeviceCaps(std::uint32_t adapter, std::uint32_t deviceType, Caps& out) const {
  if (adapter >= GetAdapterCount() || (deviceType != kDevTypeHal && deviceType != kDevTypeRef)) {
    return kErrInvalidCall;
  }
  out = Caps{};
  out.deviceType = deviceType;
  out.adapterOrdinal = adapter;
  out.devCaps = kDevCapsHwTransformAndLight;
  out.maxTextureWidth = out.maxTextureHeight = kMaxTextureSide;
  out.maxActiveLights = 8;
  out.maxSimultaneousTextures = kStageCount;
  out.vertexShaderVersion = 0xFFFE0101;
  out.pixelShaderVersion = 0xFFFF0104;
  return kOk;
}

HResult Direct3D::CreateDevice(std::uint32_t adapter, std::uint32_t deviceType, std::uint32_t /*behaviorFlags*/,
                               const PresentParameters& parameters, std::unique_ptr<Device>& out) const {
  out.reset();
  if (adapter >= GetAdapterCount() || (deviceType != kDevTypeHal && deviceType != kDevTypeRef)) {
    return kErrInvalidCall;
  }
  return Device::Create(parameters, out);
}

}  // namespace kiv::gfx
