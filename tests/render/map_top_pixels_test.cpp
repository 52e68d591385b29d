// Shadows and message text drawn on the offscreen device: overlapping
// shadows darken the ground once under the frame's stencil test, and a
// character's message shows above it in its two colour forms.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "data/actor_record.h"
#include "data/game_data.h"
#include "data/map_record.h"
#include "media/device_startup.h"
#include "media/draw_device.h"
#include "media/graphics.h"
#include "media/quad_batcher.h"
#include "media/vertex_records.h"
#include "platform/gfx/d3dx.h"
#include "render/map_top_drawing.h"
#include "render/render_hooks.h"
#include "state/project_settings_block.h"
#include "support/back_buffer_pixels.h"
#include "text_font_fixture.h"

namespace kiv {
namespace {

constexpr int kWidth = 96, kHeight = 64;

class MapTopPixelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    renderHooks.Reset();
    graphics.Reset();
    quadBatch.Reset();
    storedProjectSettings.flags = {};
    ASSERT_EQ(GraphicsCreateDirectX(), 0);
    ASSERT_EQ(GraphicsCreateDirect3D(), 0);
    window = std::make_unique<gfx::Window>("tops", kWidth, kHeight, false, false);
    graphics.defaultVertexFormat = kColoredVertexFormat;
    ASSERT_EQ(GraphicsCreateDevice(window.get(), 0, 0, 0, 0, 1, gfx::kFmtD24S8), 0);
    gfx::Device& device = *graphics.direct3dDevice;
    device.SetRenderState(gfx::kRsZEnable, 0);
    device.SetRenderState(gfx::kRsLighting, 0);
    device.SetRenderState(gfx::kRsAlphaBlendEnable, 1);
    device.SetRenderState(gfx::kRsSrcBlend, gfx::kBlendSrcAlpha);
    device.SetRenderState(gfx::kRsDestBlend, gfx::kBlendInvSrcAlpha);
    device.SetTextureStageState(0, gfx::kTssColorOp, gfx::kTopModulate);
    device.SetTextureStageState(0, gfx::kTssAlphaOp, gfx::kTopModulate);
    // The stencil states frame drawing sets for the frame.
    device.SetRenderState(gfx::kRsStencilRef, 1);
    device.SetRenderState(gfx::kRsStencilFunc, gfx::kCmpNotEqual);
    device.SetRenderState(gfx::kRsStencilPass, gfx::kStencilReplace);
    // Map pixels are screen pixels; height rises up the screen.
    gfx::Matrix oblique;
    oblique.m[2][1] = -1;
    oblique.m[2][2] = 0;
    view.view = oblique;
    view.projection = gfx::MatrixOrthoOffCenterLH(0, kWidth, kHeight, 0, -1000, 1000);
    view.viewport = gfx::Viewport{0, 0, kWidth, kHeight, 0, 1};
    device.SetTransform(gfx::kTransformView, view.view);
    device.SetTransform(gfx::kTransformProjection, view.projection);
    device.SetVertexShader(kColoredVertexFormat);

    Map& map = gameData.maps[gameData.maps.Append()];
    map.width = 2, map.height = 1, map.layerCount = 0;
    step.map = 0;
    step.view = &view;
    step.width = kWidth, step.height = kHeight;
    step.visibleRect = {0, 0, kWidth, kHeight};
    renderHooks.IsCharacterVisible = [](std::int32_t, std::int32_t) { return true; };
  }
  void TearDown() override {
    storedProjectSettings.flags = {};
    gameData.Reset();
    renderHooks.Reset();
    graphics.Reset();
    window.reset();
  }

  gfx::TexturePtr Solid(std::uint32_t argb, int size = 8) {
    gfx::TexturePtr texture;
    const std::vector<std::uint32_t> texels(static_cast<std::size_t>(size * size), argb);
    EXPECT_EQ(graphics.direct3dDevice->CreateTextureFromArgb(size, size, gfx::kFmtA8R8G8B8, 1, texels.data(), true,
                                                             texture),
              gfx::kOk);
    return texture;
  }

  // Sprite set 0: one solid 16 x 16 layer in direction 4.
  void MakeSprite() {
    SpriteSet& set = gameData.spriteSets.emplace_back();
    set.poses.emplace_back();
    SpriteDirection& d = set.poses[0].directions[4];
    SpriteLayer layer;
    FrameGroup frame;
    frame.cellWidth = frame.cellHeight = 16;
    ImageFrame piece;
    piece.width = piece.height = 16;
    piece.textureRight = piece.textureBottom = 1;
    frame.frames.push_back(piece);
    layer.frames.frameGroups.push_back(frame);
    layer.frames.textures.push_back(Solid(0xFFFFFFFF));
    layer.frameEntries.push_back({100, 0});
    d.layers.push_back(layer);
    FramePart part;
    part.kind = kPartLayer;
    part.color = 0xFFFFFFFF;
    part.scaleX = part.scaleY = part.scaleZ = 1;
    d.builtFrames.push_back(SpriteFrame{{part}});
    d.frames = d.builtFrames;
  }

  Actor& AddActor(float x, float y) {
    Actor& a = gameData.maps[0].actors.emplace_back();
    a.x = x, a.y = y;
    a.shadow = 1;
    a.shadowColor = 0x80000000;
    CharacterLayer layer;
    layer.layerSpriteSet = 0;
    a.characterLayers.push_back(layer);
    return a;
  }

  std::uint32_t Rgb(int x, int y) { return test::BackBufferRgb(x, y); }

  MapDrawStep step;
  MapView view;
  std::unique_ptr<gfx::Window> window;
};

TEST_F(MapTopPixelsTest, OverlappingShadowsDarkenTheGroundOnce) {
  MakeSprite();
  storedProjectSettings.flags[2] = 1;
  graphics.direct3dDevice->Clear(gfx::kClearTarget | gfx::kClearZBuffer | gfx::kClearStencil, 0xFFFFFFFF, 1, 0);
  // Two 16 x 8 shadows, (32..48) and (40..56) across, rows 28..32.
  AddActor(40, 32);
  AddActor(48, 32);
  DrawShadows(step);
  test::SaveBackBufferPng("map_top_shadows", kWidth, kHeight);
  const std::uint32_t single = Rgb(35, 30);
  const std::uint32_t overlap = Rgb(44, 30);
  const std::uint32_t other = Rgb(53, 30);
  EXPECT_GE(single & 0xFF, 0x7Eu);
  EXPECT_LE(single & 0xFF, 0x81u);
  EXPECT_EQ(overlap, single);
  EXPECT_EQ(other, single);
  EXPECT_EQ(Rgb(70, 30), 0xFFFFFFu);  // the ground beside them
  EXPECT_EQ(Rgb(44, 20), 0xFFFFFFu);  // above the flattened shadows
}

TEST_F(MapTopPixelsTest, MessageTextShowsAboveTheCharacterInItsColourForm) {
  gameData.fontSets.push_back(test::MakeTestFont());
  FontSet& font = gameData.fontSets[0];
  std::vector<std::uint32_t> texels(32 * 8, 0);
  for (int y = 1; y <= 6; ++y)
    for (int x = 1; x <= 4; ++x) texels[static_cast<std::size_t>(y * 32 + x)] = 0xFFFFFFFF;
  ASSERT_EQ(graphics.direct3dDevice->CreateTextureFromArgb(32, 8, gfx::kFmtA8R8G8B8, 1, texels.data(), true,
                                                           font.loadedTexture),
            gfx::kOk);
  font.textureWidth = 32;
  font.textureHeight = 8;
  font.glyphInset = 1;
  font.glyphs = {FontGlyph{0.0f, 0.0f, 0.25f, 1.0f, 'A'}};
  storedProjectSettings.flags[1] = 1;
  // Map drawing has gone into 2-D before the tops.
  graphics.direct3dDevice->SetVertexShader(kScreenVertexFormat);
  Actor& a = AddActor(48, 100);  // its foot lies below the view; the text 80 above it
  a.shadow = 0;
  a.messageValue = 1;
  a.messageText = u"A";
  struct Case {
    std::uint8_t secondForm;
    bool yellow;
  };
  for (const Case c : {Case{0, false}, Case{1, true}}) {
    SCOPED_TRACE(int{c.secondForm});
    graphics.direct3dDevice->Clear(gfx::kClearTarget, 0xFF404040, 1, 0);
    gameData.maps[0].actors[0].messageSecondForm = c.secondForm;
    DrawTops(step);
    test::SaveBackBufferPng(c.secondForm ? "map_top_message_second" : "map_top_message", kWidth, kHeight);
    // The brightest pixel near (48, 20).
    std::uint32_t brightest = 0;
    int total = 0;
    for (int y = 16; y < 32; ++y) {
      for (int x = 40; x < 56; ++x) {
        const std::uint32_t p = Rgb(x, y);
        const int sum = static_cast<int>((p >> 16) & 0xFF) + static_cast<int>((p >> 8) & 0xFF) +
                        static_cast<int>(p & 0xFF);
        if (sum > total) total = sum, brightest = p;
      }
    }
    EXPECT_GE(brightest >> 16, 0xE0u);  // red high in both forms
    if (c.yellow) {
      EXPECT_LT(brightest & 0xFF, 0xA0u);
    } else {
      EXPECT_GE(brightest & 0xFF, 0xC0u);
    }
    EXPECT_EQ(Rgb(48, 50), 0x404040u);  // nothing at the foot
  }
  // Without option flag 2 nothing is written.
  storedProjectSettings.flags[1] = 0;
  graphics.direct3dDevice->Clear(gfx::kClearTarget, 0xFF404040, 1, 0);
  DrawTops(step);
  for (int y = 16; y < 32; ++y)
    for (int x = 40; x < 56; ++x) ASSERT_EQ(Rgb(x, y), 0x404040u) << x << ", " << y;
}

}  // namespace
}  // namespace kiv
