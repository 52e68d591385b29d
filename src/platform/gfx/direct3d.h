#pragma once
// The root object of the device layer: adapters (one per display), their
// display modes, format checks and device creation.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/d3d_types.h"

namespace kiv::gfx {

class Device;

class Direct3D {
 public:
  // Initialises SDL's video subsystem; false when there is no video driver.
  static std::unique_ptr<Direct3D> Create();
  ~Direct3D();

  std::uint32_t GetAdapterCount() const;
  HResult GetAdapterIdentifier(std::uint32_t adapter, std::uint32_t flags, AdapterIdentifier& out) const;
  std::uint32_t GetAdapterModeCount(std::uint32_t adapter) const;
  HResult EnumAdapterModes(std::uint32_t adapter, std::uint32_t mode, DisplayMode& out) const;
  HResult GetAdapterDisplayMode(std::uint32_t adapter, DisplayMode& out) const;
  HResult CheckDeviceFormat(std::uint32_t adapter, std::uint32_t deviceType, std::uint32_t adapterFormat,
                            std::uint32_t usage, std::uint32_t resourceType, std::uint32_t checkFormat) const;
  HResult GetDeviceCaps(std::uint32_t adapter, std::uint32_t deviceType, Caps& out) const;
  HResult CreateDevice(std::uint32_t adapter, std::uint32_t deviceType, std::uint32_t behaviorFlags,
                       const PresentParameters& parameters, std::unique_ptr<Device>& out) const;

 private:
  Direct3D() = default;
  std::vector<DisplayMode> Modes(std::uint32_t adapter) const;
};

// Format number of an SDL pixel format, 0 when it has none.
std::uint32_t FormatFromSdl(std::uint32_t sdlFormat);

}  // namespace kiv::gfx
