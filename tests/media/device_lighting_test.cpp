#include "device_fixture.h"

namespace kiv {
namespace {

// The generated lighting shaders light a quad facing the viewer by their first
// light: bright next to the light, dark out of its reach.
TEST_F(GraphicsTest, LightingShadersLightNearPixelsBrighter) {
  ASSERT_TRUE(DeviceStartUp(window.get()));
  ASSERT_TRUE(graphics.shadersReady);
  gfx::Device& device = *graphics.direct3dDevice;
  const std::uint32_t white[1] = {0xFFFFFFFF};
  gfx::TexturePtr texture;
  ASSERT_EQ(device.CreateTextureFromArgb(1, 1, gfx::kFmtA8R8G8B8, 1, white, true, texture), gfx::kOk);
  device.SetTexture(0, texture);
  device.SetRenderState(gfx::kRsCullMode, gfx::kCullNone);
  device.Clear(gfx::kClearTarget | gfx::kClearZBuffer, 0xFF000000, 1, 0);

  // World, view-projection and normal matrices as identity rows; positions are clip coordinates.
  const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  device.SetVertexShaderConstant(0, identity, 4);
  device.SetVertexShaderConstant(4, identity, 4);
  device.SetVertexShaderConstant(8, identity, 3);
  // Light 0 a little in front of the quad's left part; the others reach nothing.
  const float lights[16] = {-0.8f, 0, -0.2f, 0.5f, 100, 100, 100, 0, 100, 100, 100, 0, 100, 100, 100, 0};
  device.SetVertexShaderConstant(20, lights, 4);
  const float low[4] = {0, 0, 0, 0}, high[4] = {1, 1, 1, 1};
  device.SetVertexShaderConstant(50, low, 1);
  device.SetVertexShaderConstant(51, high, 1);
  const float pixelConstants[28] = {0, 0, 0, 0,  1, 1, 1, 1,  0, 0, 0, 0,  0, 0, 0, 0,
                                    1, 1, 1, 1,  0, 0, 0, 0,  0, 0, 0, 0};
  device.SetPixelShaderConstant(0, pixelConstants, 7);
  ASSERT_EQ(device.SetVertexShader(graphics.lightingVertexShader), gfx::kOk);
  ASSERT_EQ(device.SetPixelShader(graphics.lightingPixelShader), gfx::kOk);

  // Lighting is computed per vertex: a grid of small quads facing the viewer.
  for (int i = 0; i < 8; ++i) {
    for (int j = 0; j < 8; ++j) {
      QuadAddLit3D(-1 + 0.25f * static_cast<float>(i), 1 - 0.25f * static_cast<float>(j), 0.5f, 0.25f, -0.25f, 0,
                   {0, 0}, {1, 0}, {1, 1}, {0, 1}, 0, 0, -1);
    }
  }
  QuadBatchFlushLit3D();

  gfx::SurfacePtr back;
  device.GetBackBuffer(back);
  const auto red = [&](int x, int y) {
    gfx::LockedRect locked;
    gfx::Rect r{x, y, x + 1, y + 1};
    EXPECT_EQ(back->LockRect(locked, &r, 0), gfx::kOk);
    const int value = locked.bits[2];
    back->UnlockRect();
    return value;
  };
  const int nearLight = red(6, graphics.videoHeight / 2);
  const int farAway = red(graphics.videoWidth - 3, graphics.videoHeight / 2);
  EXPECT_GT(nearLight, 150);
  EXPECT_LT(farAway, 10);
}

}  // namespace
}  // namespace kiv
