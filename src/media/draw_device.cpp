#include "media/draw_device.h"

#include "core/error.h"
#include "media/graphics.h"

namespace kiv {

namespace {

DrawDevice* installedDevice = nullptr;

gfx::Device& Device() {
  if (!graphics.direct3dDevice) RaiseError(91, "The Direct3D device is not created.");
  return *graphics.direct3dDevice;
}

class GraphicsDrawDevice final : public DrawDevice {
 public:
  void SetTexture(std::uint32_t stage, const gfx::TexturePtr& texture) override {
    CheckResult(Device().SetTexture(stage, texture), "SetTexture");
  }
};

}  // namespace

void SetDrawDevice(DrawDevice* device) { installedDevice = device; }

DrawDevice& CurrentDrawDevice() {
  static GraphicsDrawDevice graphicsDevice;
  return installedDevice ? *installedDevice : graphicsDevice;
}

}  // namespace kiv
