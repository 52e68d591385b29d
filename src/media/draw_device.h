#pragma once
// The device calls of the drawing code go through this one small interface, so
// that tests can record them instead of drawing. The default forwards to the
// device of the graphics globals.
#include <cstdint>

#include "platform/gfx/d3d_types.h"
#include "platform/gfx/resources.h"

namespace kiv {

class DrawDevice {
 public:
  virtual ~DrawDevice() = default;
  virtual void SetTexture(std::uint32_t stage, const gfx::TexturePtr& texture) = 0;
  // States, shaders, transforms and lights; a recorder that only cares about
  // textures may leave these to the graphics device.
  virtual void SetRenderState(std::uint32_t state, std::uint32_t value);
  virtual std::uint32_t GetRenderState(std::uint32_t state);
  virtual void SetTextureStageState(std::uint32_t stage, std::uint32_t type, std::uint32_t value);
  virtual void SetTransform(std::uint32_t state, const gfx::Matrix& matrix);
  virtual void SetVertexShader(std::uint32_t handle);
  virtual void SetPixelShader(std::uint32_t handle);
  virtual void SetVertexShaderConstant(std::uint32_t reg, const float* data, std::uint32_t count);
  virtual void SetPixelShaderConstant(std::uint32_t reg, const float* data, std::uint32_t count);
  virtual void SetLight(std::uint32_t index, const gfx::Light& light);
  virtual void LightEnable(std::uint32_t index, bool enable);
  virtual void SetDepthLayer(std::int32_t layer);  // GraphicsSetDepthLayer
  // Between these, coloured quads go to the batcher's slotted quads: the
  // stage-0 texture and the depth layer are kept per quad instead of being
  // set on the device, and the quads are drawn when the slots are full or a
  // caller flushes. The caller flushes before it changes any other state.
  // Recorders leave them as they are (no slotting).
  virtual void BeginQuadSlots() {}
  virtual void EndQuadSlots() {}
  virtual void SetViewport(const gfx::Viewport& viewport);
  // The frame: scenes, clearing, the viewport, flat colour and presenting.
  virtual void BeginScene() = 0;
  virtual void EndScene() = 0;
  virtual void Clear(std::uint32_t flags, std::uint32_t color, float z, std::uint32_t stencil) = 0;
  // The viewport back to the whole back buffer.
  virtual void ResetViewport() = 0;
  // The viewport set now.
  virtual gfx::Viewport GetViewport();
  // Every textured quad in the texture-factor colour, no blending; and back.
  virtual void BeginFlatColor() = 0;
  virtual void EndFlatColor() = 0;
  // Presents when the device is usable.
  virtual void Present() = 0;
  // The depth-stencil format of the presentation parameters.
  virtual std::uint32_t DepthStencilFormat() = 0;
  virtual std::uint32_t BackBufferWidth() = 0;
  virtual std::uint32_t BackBufferHeight() = 0;
};

// nullptr restores the graphics device.
void SetDrawDevice(DrawDevice* device);
// A device to draw on: one installed, or the graphics device once created.
bool DrawDeviceAvailable();
// The installed device, else the graphics device (which raises 91 while it is not created).
DrawDevice& CurrentDrawDevice();

// The size of the device's back buffer as created (a windowed device asked
// for 0 takes its window's size); the presentation parameters without a device.
std::uint32_t GraphicsBackBufferWidth();
std::uint32_t GraphicsBackBufferHeight();

}  // namespace kiv
