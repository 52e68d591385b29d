// A message box (skin, portrait, typed text and a three-item grid) and a door
// half open in the 3-D and the flat pass, drawn on the offscreen device.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "data/game_data.h"
#include "dialogs/player_settings.h"
#include "media/graphics.h"
#include "media/quad_batcher.h"
#include "media/vertex_records.h"
#include "platform/gfx/d3dx.h"
#include "render/door_drawing.h"
#include "render/message_box_drawing.h"
#include "render/render_hooks.h"
#include "render/text_layout.h"
#include "state/project_settings_block.h"
#include "support/back_buffer_pixels.h"
#include "text_font_fixture.h"

namespace kiv {
namespace {

constexpr int kWidth = 400, kHeight = 300;

class BoxDoorPixelsTest : public test::TextTest {
 protected:
  void SetUp() override {
    TextTest::SetUp();
    renderHooks.Reset();
    graphics.Reset();
    quadBatch.Reset();
    messageBoxes = {};
    messagePortrait = {};
    playerSettings.Reset();
    storedProjectSettings.Reset();
    ASSERT_EQ(GraphicsCreateDirectX(), 0);
    ASSERT_EQ(GraphicsCreateDirect3D(), 0);
    window = std::make_unique<gfx::Window>("boxes", kWidth, kHeight, false, false);
    graphics.defaultVertexFormat = kScreenVertexFormat;
    ASSERT_EQ(GraphicsCreateDevice(window.get(), 0, 0, 0, 0, 1, 0), 0);
    graphics.videoWidth = kWidth, graphics.videoHeight = kHeight;
    gfx::Device& device = *graphics.direct3dDevice;
    device.SetRenderState(gfx::kRsZEnable, 0);
    device.SetRenderState(gfx::kRsLighting, 0);
    device.SetRenderState(gfx::kRsCullMode, gfx::kCullNone);
    device.SetRenderState(gfx::kRsAlphaBlendEnable, 1);
    device.SetRenderState(gfx::kRsSrcBlend, gfx::kBlendSrcAlpha);
    device.SetRenderState(gfx::kRsDestBlend, gfx::kBlendInvSrcAlpha);
    device.SetTextureStageState(0, gfx::kTssColorOp, gfx::kTopModulate);
    device.SetTextureStageState(0, gfx::kTssAlphaOp, gfx::kTopModulate);
    device.Clear(gfx::kClearTarget | gfx::kClearZBuffer, 0xFF000000, 1, 0);
  }
  void TearDown() override {
    messageBoxes = {};
    messagePortrait = {};
    renderHooks.Reset();
    graphics.Reset();
    window.reset();
    TextTest::TearDown();
  }

  gfx::TexturePtr Texture(int w, int h, const std::vector<std::uint32_t>& texels) {
    gfx::TexturePtr texture;
    EXPECT_EQ(graphics.direct3dDevice->CreateTextureFromArgb(w, h, gfx::kFmtA8R8G8B8, 1, texels.data(), true,
                                                             texture),
              gfx::kOk);
    return texture;
  }

  // The window skin: a grey background block of 3 x 3 cells and a frame block
  // whose cells are white on their outer 4 pixels and clear inside.
  gfx::TexturePtr Skin() {
    std::vector<std::uint32_t> texels(256 * 256, 0);
    for (int y = 0; y < 96; ++y)
      for (int x = 0; x < 96; ++x) {
        texels[static_cast<std::size_t>(y * 256 + x)] = 0xFF606060;
        const bool edge = x < 4 || x >= 92 || y < 4 || y >= 92;
        if (edge) texels[static_cast<std::size_t>(y * 256 + 96 + x)] = 0xFFFFFFFF;
      }
    return Texture(256, 256, texels);
  }

  // The font of the text pixel test: "A" opaque in cell columns 1..4, "B" in 1..2, rows 1..6.
  void UseBlockFont() {
    std::vector<std::uint32_t> texels(32 * 8, 0);
    for (int y = 1; y <= 6; ++y) {
      for (int x = 1; x <= 4; ++x) texels[static_cast<std::size_t>(y * 32 + x)] = 0xFFFFFFFF;
      for (int x = 9; x <= 10; ++x) texels[static_cast<std::size_t>(y * 32 + x)] = 0xFFFFFFFF;
    }
    FontSet& font = Font();
    font.textureWidth = 32;
    font.textureHeight = 8;
    font.glyphInset = 1;
    font.glyphs = {FontGlyph{0.0f, 0.0f, 0.25f, 1.0f, 'A'}, FontGlyph{0.25f, 0.0f, 0.25f, 1.0f, 'B'}};
    font.loadedTexture = Texture(32, 8, texels);
    font.lineHeight = 14;
  }

  std::uint32_t Rgb(int x, int y) { return test::BackBufferRgb(x, y); }

  void Save(const std::string& name) { test::SaveBackBufferPng(name, kWidth, kHeight); }

  std::unique_ptr<gfx::Window> window;
};

TEST_F(BoxDoorPixelsTest, MessageBoxWithPortraitTypedTextAndItems) {
  UseBlockFont();
  const gfx::TexturePtr skin = Skin();
  renderHooks.SystemTexture = [skin](std::int32_t n) { return n == 0 ? skin : nullptr; };
  renderHooks.TickMilliseconds = [] { return 15 * 6; };
  playerSettings.textInterval = 15;
  const std::uint32_t colours[12] = {0xFFFFFF00, 0xFFFFFF00, 0, 0xFF00FFFF, 0xFF00FFFF, 0xFF0000FF,
                                     0xFFFF00FF, 0xFFFF00FF, 0xFFFF0000, 0xFFFFFFFF, 0xFFFFFFFF, 0};
  for (std::size_t i = 0; i < 12; ++i)
    storedProjectSettings.messageBoxDefaults[2 + i] = static_cast<std::int32_t>(colours[i]);

  // The portrait: a green face layer on a blue card.
  gameData.spriteSets.resize(1);
  gameData.spriteSets[0].valueJ = 0;
  std::vector<std::uint32_t> card(8 * 8, 0xFF2040C0), face(8 * 8, 0);
  for (int y = 2; y < 6; ++y)
    for (int x = 2; x < 6; ++x) face[static_cast<std::size_t>(y * 8 + x)] = 0xFFFFFFFF;
  gameData.spriteSets[0].portraitTextures = {Texture(8, 8, card), Texture(8, 8, face)};
  const std::int32_t map = gameData.maps.Append();
  Actor speaker;
  CharacterLayer layer;
  layer.layerSpriteSet = 0, layer.colour = 0xFFFFFFFF, layer.colourIndex = 0;
  speaker.characterLayers = {layer};
  gameData.maps[map].actors.push_back(speaker);
  messagePortrait = {map, 0, false};

  MessageBox& box = messageBoxes[0];
  box.visible = true;
  box.width = 10, box.height = 5;
  box.backColor = 0xFFFFFFFF, box.frameColor = 0xFFFFFFFF;
  std::int32_t lines = 0;
  box.glyphs = WrapText(0, u"ABABABABAB", 0, lines, 1.0f);
  box.itemColumns = 3, box.itemWidth = 0, box.itemHeight = 0;
  for (const char16_t* caption : {u"A", u"B", u"AB"}) box.items.push_back({caption, WrapText(0, caption, 0, lines, 1)});
  box.selected = 1, box.cursorColumn = 1, box.cursorRow = 0;

  DrawMessageBoxes();
  Save("message_box");
  ASSERT_FALSE(box.allShown);  // 7 of 10 glyphs typed: no items yet
  // Window at (24, 54), 352 x 192: grey inside, white frame edge.
  EXPECT_EQ(Rgb(300, 230), 0x606060u);
  EXPECT_EQ(Rgb(25, 150), 0xFFFFFFu);
  // Portrait at (56, 86), 96 x 96: blue card, white face in its middle half.
  EXPECT_EQ(Rgb(60, 90), 0x2040C0u);
  EXPECT_EQ(Rgb(104, 134), 0xFFFFFFu);
  // Typed text from (168, 54 + 16 + 9), 6 pixels a glyph: glyphs 0 to 6 in yellow, not glyph 7.
  EXPECT_EQ(Rgb(169, 81), 0xFFFF00u);
  EXPECT_EQ(Rgb(205, 81), 0xFFFF00u);
  EXPECT_EQ(Rgb(211, 81), 0x606060u);

  renderHooks.TickMilliseconds = [] { return 1000; };
  graphics.direct3dDevice->Clear(gfx::kClearTarget, 0xFF000000, 1, 0);
  DrawMessageBoxes();
  Save("message_box_items");
  ASSERT_TRUE(box.allShown);
  // Items 32 pixels below the text line (y 111), columns of 64 pixels: the
  // selected one in magenta under the red cursor, the others cyan in blue frames.
  EXPECT_EQ(Rgb(177, 122), 0x00FFFFu);
  EXPECT_EQ(Rgb(241, 122), 0xFF00FFu);
  EXPECT_EQ(Rgb(305, 122), 0x00FFFFu);
  EXPECT_EQ(Rgb(168, 119), 0x0000FFu);
  EXPECT_EQ(Rgb(232, 119), 0xFF0000u);
}

TEST_F(BoxDoorPixelsTest, DoorHalfOpenInTheThreeDAndFlatPasses) {
  // Door texture: left half red, right half green; overlay: a white band at the top quarter.
  std::vector<std::uint32_t> door(8 * 8), overlay(8 * 8, 0);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      door[static_cast<std::size_t>(y * 8 + x)] = x < 4 ? 0xFFFF0000 : 0xFF00FF00;
      if (y < 2) overlay[static_cast<std::size_t>(y * 8 + x)] = 0xFFFFFFFF;
    }
  gameData.doorSets.resize(1);
  gameData.doorSets[0].textures = {Texture(8, 8, door), Texture(8, 8, door), Texture(8, 8, overlay)};
  gfx::Device& device = *graphics.direct3dDevice;
  device.SetVertexShader(kColoredVertexFormat);
  device.SetTransform(gfx::kTransformProjection, gfx::MatrixOrthoOffCenterLH(0, kWidth, kHeight, 0, -1000, 1000));
  // 3-D pass seen from the front: x to the right, z up (screen y = 200 - z), y into the screen.
  gfx::Matrix front;
  front.m[1][1] = 0, front.m[1][2] = 1;
  front.m[2][1] = -1, front.m[2][2] = 0;
  front.m[3][1] = 200;
  device.SetTransform(gfx::kTransformWorld, front);
  // Hide split horizontal at 0.5: halves of 16 pixels each side of a 32-pixel gap.
  DrawDoor(0, 40, 0, 0, 0, 0, 1, 1, 0xFFFFFFFF, 0xFF8080FF, 0, kDoorHideSplitHorizontal, 0.5f, false, false, false,
           64, 128);
  // Flat pass from above: x to the right, y down; laid onto the plane at y + z.
  device.SetTransform(gfx::kTransformWorld, gfx::Matrix{});
  DrawDoor(0, 180, 10, 0, 0, 0, 1, 1, 0xFFFFFFFF, 0xFFFFFFFF, 0, kDoorSlideSplitHorizontal, 0.5f, false, false,
           true, 64, 64);
  Save("door");
  // 3-D: left quad 40..56 shows red, right quad 88..104 green, the gap black;
  // the overlay band (top quarter, z 96..128) tinted by the overlay colour.
  EXPECT_EQ(Rgb(48, 150), 0xFF0000u);
  EXPECT_EQ(Rgb(96, 150), 0x00FF00u);
  EXPECT_EQ(Rgb(72, 150), 0x000000u);
  EXPECT_EQ(Rgb(48, 80), 0x8080FFu);
  // Flat: the slide is drawn as the split hide, laid from y 10 to 74.
  EXPECT_EQ(Rgb(188, 40), 0xFF0000u);
  EXPECT_EQ(Rgb(236, 40), 0x00FF00u);
  EXPECT_EQ(Rgb(212, 40), 0x000000u);
  EXPECT_EQ(Rgb(188, 80), 0x000000u);
}

}  // namespace
}  // namespace kiv
