#include <stb_image_write.h>

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

// The ground is drawn either through the fixed pipeline (coloured vertices)
// or through the lighting shaders (lit vertices); what the alpha test and fog
// do to a quad must not depend on which.
enum class Pipeline { kFixed, kLightingShaders };

const char* Name(Pipeline p) { return p == Pipeline::kFixed ? "fixed pipeline" : "lighting shaders"; }

void AppendBytes(void* context, void* data, int size) {
  auto* out = static_cast<ByteList*>(context);
  out->insert(out->end(), static_cast<std::uint8_t*>(data), static_cast<std::uint8_t*>(data) + size);
}

class KeyedGroundTest : public GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    ASSERT_TRUE(DeviceStartUp(window.get()));
    ASSERT_TRUE(graphics.shadersReady);
    device = graphics.direct3dDevice.get();
    // A 2 x 1 picture: magenta (the colour key) on the left, red on the right.
    const std::uint8_t rgba[8] = {255, 0, 255, 255, 255, 0, 0, 255};
    ByteList png;
    stbi_write_png_to_func(&AppendBytes, &png, 2, 1, 4, rgba, 8);
    keyed = TextureLoadFromBytes(png, 0, 0, 0xFFFF00FF, 0, gfx::kFilterPoint, 1, gfx::kFilterPoint);
    ASSERT_TRUE(keyed);
    // The 2D drawing state with Translucent off: no blending, but the alpha
    // test still drops fully transparent texels.
    device->SetRenderState(gfx::kRsLighting, 0);
    device->SetRenderState(gfx::kRsAlphaBlendEnable, 0);
    device->SetRenderState(gfx::kRsAlphaTestEnable, 1);
    device->SetRenderState(gfx::kRsAlphaRef, 1);
    device->SetRenderState(gfx::kRsAlphaFunc, gfx::kCmpGreaterEqual);
    device->SetRenderState(gfx::kRsZEnable, 1);
    device->SetRenderState(gfx::kRsZFunc, gfx::kCmpLessEqual);
    device->SetRenderState(gfx::kRsCullMode, gfx::kCullNone);
    device->SetTextureStageState(0, gfx::kTssAlphaOp, gfx::kTopModulate);
    // Identity matrices: positions are clip coordinates. The pixel constants
    // make the lighting shaders pass the texture through unchanged.
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    device->SetVertexShaderConstant(0, identity, 4);
    device->SetVertexShaderConstant(4, identity, 4);
    device->SetVertexShaderConstant(8, identity, 3);
    const float low[4] = {0, 0, 0, 0}, high[4] = {1, 1, 1, 1};
    device->SetVertexShaderConstant(50, low, 1);
    device->SetVertexShaderConstant(51, high, 1);
    const float pixelConstants[8] = {1, 1, 1, 1, 1, 1, 1, 1};  // ambient and diffuse white
    device->SetPixelShaderConstant(0, pixelConstants, 2);
  }

  // A plain green quad over the whole view at depth z, through the fixed pipeline.
  void DrawBehind(float z) {
    device->SetTexture(0, nullptr);
    device->SetVertexShader(0x1C2);
    device->SetPixelShader(0);
    QuadAddColored3D(-1, 1, z, 2, -2, 0, {0, 0}, {1, 0}, {1, 1}, {0, 1}, 0xFF00FF00, 0xFF00FF00, 0xFF00FF00,
                     0xFF00FF00, 0);
    QuadBatchFlushColored3D();
  }

  // The keyed picture over the whole view at depth 0.5: magenta half left, red half right.
  void DrawKeyed(Pipeline pipeline) {
    device->SetTexture(0, keyed);
    if (pipeline == Pipeline::kFixed) {
      ASSERT_EQ(device->SetVertexShader(0x1C2), gfx::kOk);
      ASSERT_EQ(device->SetPixelShader(0), gfx::kOk);
      QuadAddColored3D(-1, 1, 0.5f, 2, -2, 0, {0, 0}, {1, 0}, {1, 1}, {0, 1}, 0xFFFFFFFF, 0xFFFFFFFF,
                       0xFFFFFFFF, 0xFFFFFFFF, 0);
      QuadBatchFlushColored3D();
    } else {
      ASSERT_EQ(device->SetVertexShader(graphics.lightingVertexShader), gfx::kOk);
      ASSERT_EQ(device->SetPixelShader(graphics.lightingPixelShader), gfx::kOk);
      QuadAddLit3D(-1, 1, 0.5f, 2, -2, 0, {0, 0}, {1, 0}, {1, 1}, {0, 1}, 0, 0, -1);
      QuadBatchFlushLit3D();
    }
  }

  std::uint32_t Rgb(int x, int y) {
    gfx::SurfacePtr back;
    device->GetBackBuffer(back);
    gfx::LockedRect locked;
    gfx::Rect r{x, y, x + 1, y + 1};
    EXPECT_EQ(back->LockRect(locked, &r, 0), gfx::kOk);
    const std::uint32_t v = locked.bits[0] | locked.bits[1] << 8 | locked.bits[2] << 16;
    back->UnlockRect();
    return v;
  }

  gfx::Device* device = nullptr;
  gfx::TexturePtr keyed;
};

// Keyed texels are dropped by the alpha test: they neither paint black nor
// write depth, so the quad behind shows through whichever is drawn first.
TEST_F(KeyedGroundTest, KeyedTexelsLeaveTheQuadBehindVisible) {
  const int left = 8, right = graphics.videoWidth - 8, middle = graphics.videoHeight / 2;
  for (const Pipeline pipeline : {Pipeline::kFixed, Pipeline::kLightingShaders}) {
    for (const bool behindFirst : {true, false}) {
      SCOPED_TRACE(testing::Message()
                   << Name(pipeline) << (behindFirst ? ", behind first" : ", behind last"));
      device->Clear(gfx::kClearTarget | gfx::kClearZBuffer, 0xFF000000, 1, 0);
      if (behindFirst) DrawBehind(0.8f);
      DrawKeyed(pipeline);
      if (!behindFirst) DrawBehind(0.8f);
      EXPECT_EQ(Rgb(left, middle), 0x00FF00u);
      EXPECT_EQ(Rgb(right, middle), 0xFF0000u);
    }
  }
}

// Linear fog from 0 to 1 at depth 0.5 mixes red half with the fog colour;
// keyed texels stay dropped and take no fog colour.
TEST_F(KeyedGroundTest, FogAppliesAlikeThroughBothPipelines) {
  device->SetRenderState(gfx::kRsFogEnable, 1);
  device->SetRenderState(gfx::kRsFogColor, 0xFF0000FF);
  device->SetRenderState(gfx::kRsFogVertexMode, gfx::kFogLinear);
  GraphicsSetRenderStateFloat(gfx::kRsFogStart, 0);
  GraphicsSetRenderStateFloat(gfx::kRsFogEnd, 1);
  const int left = 8, right = graphics.videoWidth - 8, middle = graphics.videoHeight / 2;
  for (const Pipeline pipeline : {Pipeline::kFixed, Pipeline::kLightingShaders}) {
    SCOPED_TRACE(Name(pipeline));
    device->Clear(gfx::kClearTarget | gfx::kClearZBuffer, 0xFF000000, 1, 0);
    DrawKeyed(pipeline);
    EXPECT_EQ(Rgb(left, middle), 0u);
    const std::uint32_t fogged = Rgb(right, middle);
    EXPECT_NEAR(static_cast<int>(fogged >> 16), 128, 2);
    EXPECT_EQ((fogged >> 8) & 0xFF, 0u);
    EXPECT_NEAR(static_cast<int>(fogged & 0xFF), 127, 2);
  }
}

}  // namespace
}  // namespace kiv
