#include "media/draw_device.h"

#include "core/error.h"
#include "media/device_reset.h"
#include "media/graphics.h"
#include "media/quad_batcher.h"

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
    if (quadBatch.slotting && stage == 0) {
      QuadBatchUseTexture(texture);
      return;
    }
    CheckResult(Device().SetTexture(stage, texture), "SetTexture");
  }
  void SetDepthLayer(std::int32_t layer) override {
    if (quadBatch.slotting) {
      quadBatch.depthScale = DepthLayerMaxZ(layer);
      return;
    }
    GraphicsSetDepthLayer(layer);
  }
  void BeginQuadSlots() override {
    if (!quadBatch.slotsAllowed) return;
    // Layer 0 is the whole depth range; each quad's depth scale narrows it.
    GraphicsSetDepthLayer(0);
    QuadBatchSetSlotting(true);
  }
  void EndQuadSlots() override {
    if (!quadBatch.slotting) return;
    QuadBatchSetSlotting(false);
    GraphicsSetDepthLayer(0);
  }
  void BeginScene() override { CheckResult(Device().BeginScene(), "BeginScene"); }
  void EndScene() override { CheckResult(Device().EndScene(), "EndScene"); }
  void Clear(std::uint32_t flags, std::uint32_t color, float z, std::uint32_t stencil) override {
    CheckResult(Device().Clear(flags, color, z, stencil), "Clear");
  }
  void ResetViewport() override { GraphicsResetViewport(); }
  void BeginFlatColor() override { GraphicsBeginFlatColor(); }
  void EndFlatColor() override { GraphicsEndFlatColor(); }
  void Present() override { GraphicsPresent(); }
  std::uint32_t DepthStencilFormat() override { return graphics.presentParameters.autoDepthStencilFormat; }
  std::uint32_t BackBufferWidth() override { return GraphicsBackBufferWidth(); }
  std::uint32_t BackBufferHeight() override { return GraphicsBackBufferHeight(); }
};

// A windowed device asked for a size of 0 takes its window's size, so the
// presentation parameters may say 0: the back buffer itself tells the size.
gfx::SurfacePtr BackBuffer() {
  gfx::SurfacePtr surface;
  if (graphics.direct3dDevice) graphics.direct3dDevice->GetBackBuffer(surface);
  return surface;
}

}  // namespace

std::uint32_t GraphicsBackBufferWidth() {
  const gfx::SurfacePtr surface = BackBuffer();
  return surface ? surface->Width() : graphics.presentParameters.backBufferWidth;
}

std::uint32_t GraphicsBackBufferHeight() {
  const gfx::SurfacePtr surface = BackBuffer();
  return surface ? surface->Height() : graphics.presentParameters.backBufferHeight;
}

void DrawDevice::SetRenderState(std::uint32_t state, std::uint32_t value) {
  CheckResult(Device().SetRenderState(state, value), "SetRenderState");
}

std::uint32_t DrawDevice::GetRenderState(std::uint32_t state) {
  std::uint32_t value = 0;
  CheckResult(Device().GetRenderState(state, value), "GetRenderState");
  return value;
}

void DrawDevice::SetTextureStageState(std::uint32_t stage, std::uint32_t type, std::uint32_t value) {
  CheckResult(Device().SetTextureStageState(stage, type, value), "SetTextureStageState");
}

void DrawDevice::SetTransform(std::uint32_t state, const gfx::Matrix& matrix) {
  CheckResult(Device().SetTransform(state, matrix), "SetTransform");
}

void DrawDevice::SetVertexShader(std::uint32_t handle) {
  CheckResult(Device().SetVertexShader(handle), "SetVertexShader");
}

void DrawDevice::SetPixelShader(std::uint32_t handle) {
  CheckResult(Device().SetPixelShader(handle), "SetPixelShader");
}

void DrawDevice::SetVertexShaderConstant(std::uint32_t reg, const float* data, std::uint32_t count) {
  CheckResult(Device().SetVertexShaderConstant(reg, data, count), "SetVertexShaderConstant");
}

void DrawDevice::SetPixelShaderConstant(std::uint32_t reg, const float* data, std::uint32_t count) {
  CheckResult(Device().SetPixelShaderConstant(reg, data, count), "SetPixelShaderConstant");
}

void DrawDevice::SetLight(std::uint32_t index, const gfx::Light& light) {
  CheckResult(Device().SetLight(index, light), "SetLight");
}

void DrawDevice::LightEnable(std::uint32_t index, bool enable) {
  CheckResult(Device().LightEnable(index, enable), "LightEnable");
}

gfx::Viewport DrawDevice::GetViewport() {
  gfx::Viewport viewport;
  CheckResult(Device().GetViewport(viewport), "GetViewport");
  return viewport;
}

void DrawDevice::SetDepthLayer(std::int32_t layer) { GraphicsSetDepthLayer(layer); }

void DrawDevice::SetViewport(const gfx::Viewport& viewport) {
  CheckResult(Device().SetViewport(viewport), "SetViewport");
}

void SetDrawDevice(DrawDevice* device) { installedDevice = device; }

bool DrawDeviceAvailable() { return installedDevice != nullptr || graphics.direct3dDevice != nullptr; }

DrawDevice& CurrentDrawDevice() {
  static GraphicsDrawDevice graphicsDevice;
  return installedDevice ? *installedDevice : graphicsDevice;
}

}  // namespace kiv
