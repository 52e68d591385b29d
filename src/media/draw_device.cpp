#include "media/draw_device.h"

#include "core/error.h"
#include "media/device_reset.h"
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
  void BeginScene() override { CheckResult(Device().BeginScene(), "BeginScene"); }
  void EndScene() override { CheckResult(Device().EndScene(), "EndScene"); }
  void Clear(std::uint32_t flags, std::uint32_t color, float z, std::uint32_t stencil) override {
    CheckResult(Device().Clear(flags, color, z, stencil), "Clear");
  }
  void SetRenderState(std::uint32_t state, std::uint32_t value) override {
    CheckResult(Device().SetRenderState(state, value), "SetRenderState");
  }
  void SetTextureStageState(std::uint32_t stage, std::uint32_t type, std::uint32_t value) override {
    CheckResult(Device().SetTextureStageState(stage, type, value), "SetTextureStageState");
  }
  void SetVertexShader(std::uint32_t handle) override {
    CheckResult(Device().SetVertexShader(handle), "SetVertexShader");
  }
  void SetPixelShader(std::uint32_t handle) override { CheckResult(Device().SetPixelShader(handle), "SetPixelShader"); }
  void SetVertexShaderConstant(std::uint32_t reg, const float* data, std::uint32_t count) override {
    CheckResult(Device().SetVertexShaderConstant(reg, data, count), "SetVertexShaderConstant");
  }
  void SetPixelShaderConstant(std::uint32_t reg, const float* data, std::uint32_t count) override {
    CheckResult(Device().SetPixelShaderConstant(reg, data, count), "SetPixelShaderConstant");
  }
  void ResetViewport() override { GraphicsResetViewport(); }
  void SetDepthLayer(std::int32_t layer) override { GraphicsSetDepthLayer(layer); }
  void BeginFlatColor() override { GraphicsBeginFlatColor(); }
  void EndFlatColor() override { GraphicsEndFlatColor(); }
  void Present() override { GraphicsPresent(); }
  std::uint32_t DepthStencilFormat() override { return graphics.presentParameters.autoDepthStencilFormat; }
  std::uint32_t BackBufferWidth() override { return graphics.presentParameters.backBufferWidth; }
  std::uint32_t BackBufferHeight() override { return graphics.presentParameters.backBufferHeight; }
};

}  // namespace

void SetDrawDevice(DrawDevice* device) { installedDevice = device; }

bool DrawDeviceAvailable() { return installedDevice != nullptr || graphics.direct3dDevice != nullptr; }

DrawDevice& CurrentDrawDevice() {
  static GraphicsDrawDevice graphicsDevice;
  return installedDevice ? *installedDevice : graphicsDevice;
}

}  // namespace kiv
