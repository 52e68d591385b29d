// A line of text drawn on the offscreen device with a font of our own.
#include <memory>
#include <vector>

#include "media/graphics.h"
#include "media/quad_batcher.h"
#include "render/text_drawing.h"
#include "render/text_font_fixture.h"
#include "support/back_buffer_pixels.h"

namespace kiv {
namespace {

constexpr int kWidth = 64, kHeight = 48;
constexpr std::uint32_t kRed = 0xFFFF0000, kBlue = 0xFF0000FF;

// A 32 x 8 font texture with two 8 x 8 cells and 1 pixel of padding: "A" is
// opaque in the cell's columns 1..4, "B" in columns 1..2, all rows 1..6; the
// rest is transparent.
class TextPixelsTest : public test::TextTest {
 protected:
  void SetUp() override {
    TextTest::SetUp();
    graphics.Reset();
    quadBatch.Reset();
    ASSERT_EQ(GraphicsCreateDirectX(), 0);
    ASSERT_EQ(GraphicsCreateDirect3D(), 0);
    window = std::make_unique<gfx::Window>("text", kWidth, kHeight, false, false);
    graphics.defaultVertexFormat = kScreenVertexFormat;
    ASSERT_EQ(GraphicsCreateDevice(window.get(), 0, 0, 0, 0, 1, 0), 0);
    gfx::Device& device = *graphics.direct3dDevice;

    std::vector<std::uint32_t> texels(32 * 8, 0);
    for (int y = 1; y <= 6; ++y) {
      for (int x = 1; x <= 4; ++x) texels[static_cast<std::size_t>(y * 32 + x)] = 0xFFFFFFFF;
      for (int x = 9; x <= 10; ++x) texels[static_cast<std::size_t>(y * 32 + x)] = 0xFFFFFFFF;
    }
    gfx::TexturePtr texture;
    ASSERT_EQ(device.CreateTextureFromArgb(32, 8, gfx::kFmtA8R8G8B8, 1, texels.data(), true, texture),
              gfx::kOk);

    FontSet& font = Font();
    font.textureWidth = 32;
    font.textureHeight = 8;
    font.glyphInset = 1;
    font.glyphs = {FontGlyph{0.0f, 0.0f, 0.25f, 1.0f, 'A'}, FontGlyph{0.25f, 0.0f, 0.25f, 1.0f, 'B'}};
    font.loadedTexture = texture;

    // Texels blend over the background by their alpha, as the game draws text.
    device.SetVertexShader(kScreenVertexFormat);
    device.SetRenderState(gfx::kRsZEnable, 0);
    device.SetRenderState(gfx::kRsLighting, 0);
    device.SetRenderState(gfx::kRsAlphaBlendEnable, 1);
    device.SetRenderState(gfx::kRsSrcBlend, gfx::kBlendSrcAlpha);
    device.SetRenderState(gfx::kRsDestBlend, gfx::kBlendInvSrcAlpha);
    device.SetTextureStageState(0, gfx::kTssAlphaOp, gfx::kTopModulate);
    device.Clear(gfx::kClearTarget, 0xFF000000, 1, 0);
  }
  void TearDown() override {
    graphics.Reset();
    window.reset();
    TextTest::TearDown();
  }

  std::uint32_t Rgb(int x, int y) { return test::BackBufferRgb(x, y); }

  std::unique_ptr<gfx::Window> window;
};

// "AB" at pen (10, 20): the cells start one pixel before the pen, so "A" is
// opaque at x 10..13 and "B", whose pen is 10 + 8 - 2 = 16, at x 16..17, in
// rows 20..25; each shadow lies 2 pixels right and down.
TEST_F(TextPixelsTest, GlyphsLieWhereTheAdvancePutsThemWithTheirShadow) {
  DrawTextLine(0, u"AB", 10, 20, kRed, kRed, kBlue);
  struct Case {
    int x, y;
    std::uint32_t rgb;
  };
  const Case cases[] = {
      {10, 20, 0xFF0000}, {13, 25, 0xFF0000},  // "A"
      {16, 20, 0xFF0000}, {17, 25, 0xFF0000},  // "B"
      {9, 20, 0},         {14, 20, 0},         // beside "A", above its shadow
      {15, 22, 0x0000FF}, {12, 27, 0x0000FF},  // the shadow of "A"
      {19, 27, 0x0000FF}, {18, 22, 0x0000FF},  // the shadow of "B"
      {16, 27, 0},        {20, 27, 0},         // between the shadows, past the second
      {18, 20, 0},                             // above the shadow of "B"
      {12, 28, 0},                             // below the shadows
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    EXPECT_EQ(Rgb(c.x, c.y), c.rgb);
  }
}

}  // namespace
}  // namespace kiv
