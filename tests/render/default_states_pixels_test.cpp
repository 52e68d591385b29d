// The default render states on the offscreen device: what Shade and
// Translucent of the [Detail] settings do to the pixels.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dialogs/player_settings.h"
#include "media/device_startup.h"
#include "media/graphics.h"
#include "media/vertex_records.h"
#include "render/default_render_states.h"
#include "support/back_buffer_pixels.h"

namespace kiv {
namespace {

constexpr int kWidth = 64, kHeight = 64;
constexpr std::uint32_t kBlueBackground = 0xFF0000FF;

struct Pixel {
  int x, y;
  std::uint32_t rgb;
};

class DefaultStatesPixelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    playerSettings.Reset();
    graphics.Reset();
    ASSERT_EQ(GraphicsCreateDirectX(), 0);
    ASSERT_EQ(GraphicsCreateDirect3D(), 0);
    window = std::make_unique<gfx::Window>("states", kWidth, kHeight, false, false);
    graphics.defaultVertexFormat = kColoredVertexFormat;
    ASSERT_EQ(GraphicsCreateDevice(window.get(), 0, 0, 0, 0, 1, 0), 0);
    Device().Clear(gfx::kClearTarget, kBlueBackground, 1, 0);
  }
  void TearDown() override {
    playerSettings.Reset();
    graphics.Reset();
    window.reset();
  }
  gfx::Device& Device() { return *graphics.direct3dDevice; }

  // The frame's defaults, then pre-transformed vertices as the screen drawing uses them.
  void Defaults() {
    SetDefaultRenderStates();
    Device().SetVertexShader(kScreenVertexFormat);
  }

  gfx::TexturePtr Texture(const std::vector<std::uint32_t>& texels, std::uint32_t side) {
    gfx::TexturePtr texture;
    EXPECT_EQ(Device().CreateTextureFromArgb(side, side, gfx::kFmtA8R8G8B8, 1, texels.data(), true, texture),
              gfx::kOk);
    return texture;
  }

  static ScreenVertex At(float x, float y, std::uint32_t colour, float u = 0, float v = 0) {
    ScreenVertex vertex;
    vertex.x = x, vertex.y = y, vertex.diffuse = colour, vertex.tu = u, vertex.tv = v;
    return vertex;
  }

  void ExpectPixels(const std::vector<Pixel>& pixels, const std::string& name) {
    test::SaveBackBufferPng(name, kWidth, kHeight);
    for (const Pixel& p : pixels) {
      EXPECT_EQ(test::BackBufferRgb(p.x, p.y), p.rgb) << name << " at " << p.x << ", " << p.y;
    }
  }

  std::unique_ptr<gfx::Window> window;
};


TEST_F(DefaultStatesPixelsTest, ShadeOffColoursATriangleByItsFirstVertex) {
  // A white texture, so the stage's modulation passes the vertex colours on.
  const gfx::TexturePtr white = Texture(std::vector<std::uint32_t>(4 * 4, 0xFFFFFFFF), 4);
  struct Case {
    bool shade;
    const char* name;
  };
  for (const Case& c : {Case{false, "shade_off"}, Case{true, "shade_on"}}) {
    SCOPED_TRACE(c.name);
    playerSettings.detailShade = c.shade;
    Device().Clear(gfx::kClearTarget, 0xFF000000, 1, 0);
    Defaults();
    Device().SetTexture(0, white);
    // Clockwise on the screen (the default culls counter-clockwise ones).
    const ScreenVertex corners[3] = {At(0, 0, 0xFFFF0000), At(64, 0, 0xFF00FF00), At(0, 64, 0xFF0000FF)};
    Device().DrawPrimitiveUP(gfx::kPrimTriangleList, 1, corners, sizeof(ScreenVertex));
    if (!c.shade) {
      // Every pixel takes the first vertex's red, also beside the other corners.
      ExpectPixels({{2, 2, 0xFF0000}, {58, 2, 0xFF0000}, {2, 58, 0xFF0000}, {20, 20, 0xFF0000}}, c.name);
    } else {
      test::SaveBackBufferPng(c.name, kWidth, kHeight);
      EXPECT_NE(test::BackBufferRgb(58, 2), 0xFF0000u);
      EXPECT_NE(test::BackBufferRgb(2, 58), 0xFF0000u);
      // Beside the green corner green leads.
      const std::uint32_t nearGreen = test::BackBufferRgb(58, 2);
      EXPECT_GT((nearGreen >> 8) & 0xFF, nearGreen >> 16);
    }
  }
}

TEST_F(DefaultStatesPixelsTest, TranslucentOffStopsBlendingButColourKeyedTexelsStayHidden) {
  // Left half keyed away (alpha 0, as the colour key leaves it), right half half-transparent red.
  std::vector<std::uint32_t> texels(8 * 8);
  for (std::size_t i = 0; i < texels.size(); ++i) texels[i] = (i % 8) < 4 ? 0x00FF00FFu : 0x80FF0000u;
  const gfx::TexturePtr texture = Texture(texels, 8);
  struct Case {
    bool translucent;
    const char* name;
  };
  for (const Case& c : {Case{false, "translucent_off"}, Case{true, "translucent_on"}}) {
    SCOPED_TRACE(c.name);
    playerSettings.detailTranslucent = c.translucent;
    Device().Clear(gfx::kClearTarget, kBlueBackground, 1, 0);
    Defaults();
    Device().SetTexture(0, texture);
    const ScreenVertex quad[4] = {At(0, 0, 0xFFFFFFFF, 0, 0), At(64, 0, 0xFFFFFFFF, 1, 0),
                                  At(64, 64, 0xFFFFFFFF, 1, 1), At(0, 64, 0xFFFFFFFF, 0, 1)};
    Device().DrawPrimitiveUP(gfx::kPrimTriangleFan, 2, quad, sizeof(ScreenVertex));
    test::SaveBackBufferPng(c.name, kWidth, kHeight);
    // The keyed half fails the alpha test (alpha 1 or more passes) either way.
    EXPECT_EQ(test::BackBufferRgb(10, 32), 0x0000FFu);
    const std::uint32_t right = test::BackBufferRgb(50, 32);
    if (!c.translucent) {
      EXPECT_EQ(right, 0xFF0000u);  // written as it is, alpha ignored
    } else {
      // -1 is on: half red over the blue.
      EXPECT_NEAR(static_cast<int>(right >> 16), 0x80, 2);
      EXPECT_NEAR(static_cast<int>(right & 0xFF), 0x7F, 2);
    }
  }
}

TEST_F(DefaultStatesPixelsTest, TheDetailSwitchesReachTheDeviceAsIntegerBooleans) {
  playerSettings.detailTranslucent = true;
  playerSettings.detailShade = false;
  Defaults();
  const auto state = [&](std::uint32_t number) {
    std::uint32_t value = 0;
    EXPECT_EQ(Device().GetRenderState(number, value), gfx::kOk);
    return value;
  };
  EXPECT_EQ(state(gfx::kRsAlphaBlendEnable), 0xFFFFFFFFu);
  EXPECT_EQ(state(gfx::kRsShadeMode), gfx::kShadeFlat);
  EXPECT_EQ(state(gfx::kRsAlphaTestEnable), 1u);
  EXPECT_EQ(state(gfx::kRsAlphaRef), 1u);
  EXPECT_EQ(state(gfx::kRsAlphaFunc), gfx::kCmpGreaterEqual);
}

}  // namespace
}  // namespace kiv
