// Tiles and sprites drawn on the offscreen device: the colours that reach the
// back buffer through a flat camera over the map's pixels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "data/game_data.h"
#include "media/device_startup.h"
#include "media/graphics.h"
#include "media/quad_batcher.h"
#include "media/vertex_records.h"
#include "platform/gfx/d3dx.h"
#include "render/render_hooks.h"
#include "render/sprite_drawing.h"
#include "render/tile_drawing.h"
#include "support/back_buffer_pixels.h"
#include "support/solid_textures.h"

namespace kiv {
namespace {

constexpr int kWidth = 96, kHeight = 64;

class TileSpritePixelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    renderHooks.Reset();
    graphics.Reset();
    quadBatch.Reset();
    ASSERT_EQ(GraphicsCreateDirectX(), 0);
    ASSERT_EQ(GraphicsCreateDirect3D(), 0);
    window = std::make_unique<gfx::Window>("tiles", kWidth, kHeight, false, false);
    graphics.defaultVertexFormat = kColoredVertexFormat;
    ASSERT_EQ(GraphicsCreateDevice(window.get(), 0, 0, 0, 0, 1, 0), 0);
    gfx::Device& device = *graphics.direct3dDevice;
    device.SetRenderState(gfx::kRsZEnable, 0);
    device.SetRenderState(gfx::kRsLighting, 0);
    device.SetRenderState(gfx::kRsAlphaBlendEnable, 1);
    device.SetRenderState(gfx::kRsSrcBlend, gfx::kBlendSrcAlpha);
    device.SetRenderState(gfx::kRsDestBlend, gfx::kBlendInvSrcAlpha);
    device.SetTextureStageState(0, gfx::kTssColorOp, gfx::kTopModulate);
    device.SetTextureStageState(0, gfx::kTssAlphaOp, gfx::kTopModulate);
    // Map pixels straight onto the screen, y downward.
    device.SetTransform(gfx::kTransformProjection,
                        gfx::MatrixOrthoOffCenterLH(0, kWidth, kHeight, 0, -1000, 1000));
    device.Clear(gfx::kClearTarget | gfx::kClearZBuffer, 0xFF000000, 1, 0);
  }
  void TearDown() override {
    gameData.Reset();
    graphics.Reset();
    window.reset();
  }

  static gfx::TexturePtr Solid(std::uint32_t argb) {
    gfx::TexturePtr texture = test::SolidTexture(argb);
    EXPECT_NE(texture, nullptr);
    return texture;
  }

  std::uint32_t Rgb(int x, int y) { return test::BackBufferRgb(x, y); }

  void Save(const std::string& name) { test::SaveBackBufferPng(name, kWidth, kHeight); }

  std::unique_ptr<gfx::Window> window;
};

// Tiles here cast a shadow.
TileSet SolidSet(gfx::TexturePtr texture) { return test::SolidTileSet(std::move(texture), 24); }

TEST_F(TileSpritePixelsTest, GroundObjectsAndShadowsReachTheScreen) {
  gameData.tileSets = {SolidSet(Solid(0xFFFF0000)), SolidSet(Solid(0xFF0000FF)), SolidSet(Solid(0xFF00FF00))};
  Map& map = gameData.maps[gameData.maps.Append()];
  map.width = 2;
  map.height = 1;
  map.layerCount = 0;
  for (TileLayerGroup& group : map.tileLayerGroups) {
    group.slotTileSets = {0, 1, 2};
    group.slotGrid.Make(3, 2, 1);
    group.tileGrid.Make(3, 2, 1);
    group.terraform.Make(3, 2, 1);
  }
  map.lightGrid.Make(4, 3, 2, 0xFFFFFFFF);
  map.lightGrid.At(3, 0, 0) = map.lightGrid.At(3, 1, 0) = map.lightGrid.At(3, 2, 0) = 0xFF808080;
  TileLayerGroup& ground = map.tileLayerGroups[0];
  for (int x = 0; x < 3; ++x)
    for (int y = 0; y < 2; ++y) ground.slotGrid.At(x, y, 0) = x == 0 ? 1 : 2;
  // A lower object (green) lying on cell (1, 0) casts its shadow 24 pixels down.
  map.tileLayerGroups[1].slotGrid.At(1, 0, 0) = 3;
  TileLayerArgs args;
  args.wholeMap = true;
  for (int group = 0; group < 3; ++group) {
    args.group = group;
    args.shadowPass = false;
    DrawTileLayer(args);
    args.shadowPass = true;
    DrawTileLayer(args);
  }
  Save("tiles");
  EXPECT_EQ(Rgb(16, 16), 0xFF0000u);  // red ground
  EXPECT_EQ(Rgb(16, 48), 0xFF0000u);
  EXPECT_EQ(Rgb(48, 8), 0x00FF00u);  // the green object over blue ground
  // Below it the shadow darkens the blue ground by an eighth.
  const std::uint32_t shaded = Rgb(48, 36);
  EXPECT_LT(shaded & 0xFF, 0xF0u);
  EXPECT_GT(shaded & 0xFF, 0xD0u);
  // The right column's corner light is grey: the colour fades towards it.
  EXPECT_LT(Rgb(94, 58) & 0xFF, Rgb(66, 58) & 0xFF);
}

TEST_F(TileSpritePixelsTest, AdditiveSpriteLayerAddsToTheBackground) {
  gfx::Device& device = *graphics.direct3dDevice;
  device.Clear(gfx::kClearTarget, 0xFF000080, 1, 0);
  device.SetVertexShader(kColoredVertexFormat);
  SpriteSet set;
  set.poses.emplace_back();
  SpriteDirection& d = set.poses[0].directions[4];
  for (std::int32_t flags : {0, kLayerAdditive}) {
    SpriteLayer layer;
    layer.flags = flags;
    FrameGroup frame;
    frame.cellWidth = frame.cellHeight = 16;
    ImageFrame piece;
    piece.width = piece.height = 16;
    piece.textureRight = piece.textureBottom = 1;
    frame.frames.push_back(piece);
    layer.frames.frameGroups.push_back(frame);
    layer.frames.textures.push_back(Solid(0xFF800000));
    layer.frameEntries.push_back({100, 0});
    d.layers.push_back(layer);
  }
  FramePart plain, added;
  plain.kind = added.kind = kPartLayer;
  plain.index = 0;
  added.index = 1;
  plain.x = -16;
  added.x = 16;
  plain.color = added.color = 0xFFFFFFFF;
  plain.scaleX = plain.scaleY = plain.scaleZ = added.scaleX = added.scaleY = added.scaleZ = 1;
  d.builtFrames = {SpriteFrame{{plain, added}}};
  set.usedValues = {0};
  gameData.spriteSets.push_back(set);
  SpriteInstance instance;
  MapView view;
  DrawSprite(0, 0, instance, view, 48, 32, 0, 1, 1, 1, false, false, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 0, 0, 0, 1, 1,
             true);
  Save("sprite");
  EXPECT_EQ(Rgb(32, 32), 0x800000u);  // blended over the blue background: covers it
  EXPECT_EQ(Rgb(64, 32), 0x800080u);  // added to it
  EXPECT_EQ(Rgb(48, 10), 0x000080u);  // background
}

TEST_F(TileSpritePixelsTest, ParticlesOfAScreenSpriteReachTheScreen) {
  gfx::Device& device = *graphics.direct3dDevice;
  device.SetVertexShader(kScreenVertexFormat);
  renderHooks.TickMilliseconds = [] { return 10; };
  SpriteSet set;
  set.poses.emplace_back();
  SpriteDirection& d = set.poses[0].directions[4];
  SpriteLayer layer;
  layer.flags = kLayerParticles;
  FrameGroup frame;
  frame.cellWidth = frame.cellHeight = 8;
  ImageFrame piece;
  piece.width = piece.height = 8;
  piece.textureRight = piece.textureBottom = 1;
  frame.frames.push_back(piece);
  layer.frames.frameGroups.push_back(frame);
  layer.frames.textures.push_back(Solid(0xFFFFFF00));
  layer.frameEntries.push_back({100, 0});
  layer.emissionLimitMin = layer.emissionLimitMax = 1;
  layer.particleLifeMin = layer.particleLifeMax = 100000;
  layer.particleRangesP = {2, 2, 0, 0};  // twice the piece: 16 x 16
  layer.startColorA = layer.startColorB = layer.endColorA = layer.endColorB = 0xFFFFFFFF;
  d.layers.push_back(layer);
  FramePart part;
  part.kind = kPartLayer;
  part.color = 0xFFFFFFFF;
  part.scaleX = part.scaleY = part.scaleZ = 1;
  d.builtFrames = {SpriteFrame{{part}}};
  set.usedValues = {0};
  gameData.spriteSets.push_back(set);
  SpriteInstance instance;
  MapView view;
  // The first call emits the particle at the sprite's place; the next draws it there.
  for (int call = 0; call < 2; ++call)
    DrawSprite(0, 0, instance, view, 40, 30, 0, 1, 1, 1, false, false, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 2, 0, 0, 1, 1,
               true);
  Save("particle");
  EXPECT_EQ(Rgb(40, 30), 0xFFFF00u);
  EXPECT_EQ(Rgb(33, 23), 0xFFFF00u);
  EXPECT_EQ(Rgb(30, 20), 0x000000u);
}

// Lit ground: the lighting shaders with their constants as a frame sets them
// (world at 0..3, view x projection at 4..7 as rows, no light reaching the
// cell, full ambience), in a map seen through fog.
class LitGroundPixelsTest : public TileSpritePixelsTest {
 protected:
  void SetUp() override {
    TileSpritePixelsTest::SetUp();
    gfx::Device& device = *graphics.direct3dDevice;
    std::vector<std::uint8_t> vertexProgram, pixelProgram;
    std::string errors;
    gfx::AssembleShader(LightingVertexShaderText(), 0, vertexProgram, errors);
    ASSERT_TRUE(errors.empty()) << errors;
    gfx::AssembleShader(LightingPixelShaderText(), 0, pixelProgram, errors);
    ASSERT_TRUE(errors.empty()) << errors;
    graphics.lightingVertexDeclaration = {VertexDeclStream(0), VertexDeclRegister(0, 2), VertexDeclRegister(3, 2),
                                          VertexDeclRegister(7, 1), kVertexDeclEnd};
    ASSERT_EQ(device.CreateVertexShader(graphics.lightingVertexDeclaration.data(), vertexProgram.data(),
                                        vertexProgram.size(), graphics.lightingVertexShader, 0),
              gfx::kOk);
    std::vector<std::uint32_t> words(pixelProgram.size() / 4);
    std::memcpy(words.data(), pixelProgram.data(), words.size() * 4);
    ASSERT_EQ(device.CreatePixelShader(words.data(), words.size(), graphics.lightingPixelShader), gfx::kOk);

    // The camera stands 500 pixels in front of the map; fog runs linearly over 0..1000.
    const gfx::Matrix view = gfx::MatrixTranslation(0, 0, 500);
    const gfx::Matrix projection = gfx::MatrixOrthoOffCenterLH(0, kWidth, kHeight, 0, 0, 1000);
    device.SetTransform(gfx::kTransformView, view);
    device.SetTransform(gfx::kTransformProjection, projection);
    const gfx::Matrix world;
    device.SetVertexShaderConstant(0, &world.m[0][0], 4);
    const gfx::Matrix viewProjection = gfx::MatrixTranspose(gfx::MatrixMultiply(view, projection));
    device.SetVertexShaderConstant(4, &viewProjection.m[0][0], 4);
    device.SetVertexShaderConstant(8, &world.m[0][0], 3);
    const float low[4] = {0, 0, 0, 0}, high[4] = {1, 1, 1, 1};
    device.SetVertexShaderConstant(50, low, 1);
    device.SetVertexShaderConstant(51, high, 1);
    const float ambient[4] = {1, 1, 1, 1}, diffuse[4] = {1, 1, 1, 1};
    device.SetPixelShaderConstant(0, ambient, 1);
    device.SetPixelShaderConstant(1, diffuse, 1);
    device.SetRenderState(gfx::kRsFogEnable, 1);
    device.SetRenderState(gfx::kRsFogColor, 0xFF00FF00);
    device.SetRenderState(gfx::kRsFogTableMode, gfx::kFogLinear);
    const float start = 0, end = 1000;
    std::uint32_t bits = 0;
    std::memcpy(&bits, &start, 4);
    device.SetRenderState(gfx::kRsFogStart, bits);
    std::memcpy(&bits, &end, 4);
    device.SetRenderState(gfx::kRsFogEnd, bits);
    device.SetRenderState(gfx::kRsAlphaTestEnable, 1);
    device.SetRenderState(gfx::kRsAlphaFunc, gfx::kCmpGreater);
    device.SetRenderState(gfx::kRsAlphaRef, 0);
    device.Clear(gfx::kClearTarget | gfx::kClearZBuffer, 0xFF000000, 1, 0);
  }

  // Cells (0, 0) and (1, 0) of one tile set over a black background: a red
  // texture whose left half is colour-keyed away.
  void DrawGround(bool lit) {
    graphics.direct3dDevice->Clear(gfx::kClearTarget | gfx::kClearZBuffer, 0xFF000000, 1, 0);
    std::vector<std::uint32_t> texels(8 * 8, 0xFFFF0000);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 4; ++x) texels[static_cast<std::size_t>(y * 8 + x)] = 0x00FF00FF;
    gfx::TexturePtr texture;
    ASSERT_EQ(graphics.direct3dDevice->CreateTextureFromArgb(8, 8, gfx::kFmtA8R8G8B8, 1, texels.data(), true,
                                                             texture),
              gfx::kOk);
    gameData.tileSets = {SolidSet(texture)};
    gameData.maps.Reset();
    Map& map = gameData.maps[gameData.maps.Append()];
    map.width = 1;
    map.height = 0;
    map.layerCount = 0;
    for (TileLayerGroup& group : map.tileLayerGroups) {
      group.slotTileSets = {0};
      group.slotGrid.Make(2, 1, 1);
      group.tileGrid.Make(2, 1, 1);
      group.terraform.Make(2, 1, 1);
    }
    map.lightGrid.Make(3, 2, 2, 0xFFFFFFFF);
    map.tileLayerGroups[0].slotGrid.At(0, 0, 0) = 1;
    map.tileLayerGroups[0].slotGrid.At(1, 0, 0) = 1;
    renderHooks.LitBatchOn = [lit] { return lit; };
    TileLayerArgs args;
    args.wholeMap = true;
    DrawTileLayer(args);
  }
};

TEST_F(LitGroundPixelsTest, LitGroundFadesInFogLikeUnlitGround) {
  DrawGround(false);
  const std::uint32_t unlit = Rgb(24, 16);
  DrawGround(true);
  Save("lit_ground");
  const std::uint32_t lit = Rgb(24, 16);
  // Half way into the fog: red and green mixed about evenly, the same both ways.
  EXPECT_NEAR(static_cast<int>(unlit >> 16 & 0xFF), 0x80, 8);
  EXPECT_NEAR(static_cast<int>(unlit >> 8 & 0xFF), 0x80, 8);
  EXPECT_NEAR(static_cast<int>(lit >> 16 & 0xFF), static_cast<int>(unlit >> 16 & 0xFF), 4);
  EXPECT_NEAR(static_cast<int>(lit >> 8 & 0xFF), static_cast<int>(unlit >> 8 & 0xFF), 4);
}

TEST_F(LitGroundPixelsTest, ColourKeyedTexelsStayHiddenUnderTheLightingShader) {
  DrawGround(true);
  EXPECT_EQ(Rgb(8, 16), 0x000000u);  // keyed away: the background shows
  EXPECT_NE(Rgb(24, 16), 0x000000u);
  EXPECT_EQ(Rgb(40, 16), 0x000000u);  // the second cell's keyed half
}

TEST_F(LitGroundPixelsTest, EachGroundCellShowsThePoolOfItsOwnLights) {
  gfx::Device& device = *graphics.direct3dDevice;
  device.SetRenderState(gfx::kRsFogEnable, 0);
  const float dark[4] = {0, 0, 0, 1};
  device.SetPixelShaderConstant(0, dark, 1);  // no ambience: only the lights show
  device.Clear(gfx::kClearTarget | gfx::kClearZBuffer, 0xFF000000, 1, 0);
  gameData.tileSets = {SolidSet(Solid(0xFFFFFFFF))};
  Map& map = gameData.maps[gameData.maps.Append()];
  map.width = 1;
  map.height = 0;
  map.layerCount = 0;
  for (TileLayerGroup& group : map.tileLayerGroups) {
    group.slotTileSets = {0};
    group.slotGrid.Make(2, 1, 1);
    group.tileGrid.Make(2, 1, 1);
    group.terraform.Make(2, 1, 1);
  }
  map.lightGrid.Make(3, 2, 2, 0xFFFFFFFF);
  map.tileLayerGroups[0].slotGrid.At(0, 0, 0) = 1;
  map.tileLayerGroups[0].slotGrid.At(1, 0, 0) = 1;
  // A red light over the middle of cell (0, 0) and a green one over (1, 0);
  // each cell lists only its own.
  for (const auto& [x, red, green] : {std::tuple{16.0f, 255, 0}, std::tuple{48.0f, 0, 255}}) {
    Light& light = map.lights.emplace_back();
    light.x = x, light.y = 16, light.z = 24;
    light.radius = 64;
    light.enabled = 1;
    light.red = static_cast<std::uint8_t>(red), light.green = static_cast<std::uint8_t>(green);
  }
  map.cellLights.Make(3, 2, 2);
  map.cellLights.At(0, 0, 0) = {0, -1, -1, -1};
  map.cellLights.At(1, 0, 0) = {1, -1, -1, -1};
  renderHooks.LitBatchOn = [] { return true; };
  TileLayerArgs args;
  args.wholeMap = true;
  DrawTileLayer(args);
  Save("lit_pools");
  const std::uint32_t first = Rgb(16, 16), second = Rgb(48, 16);
  EXPECT_GT(first >> 16 & 0xFF, 0x60u);  // red pool
  EXPECT_LT(first >> 8 & 0xFF, 0x10u);
  EXPECT_GT(second >> 8 & 0xFF, 0x60u);  // green pool
  EXPECT_LT(second >> 16 & 0xFF, 0x10u);
}

}  // namespace
}  // namespace kiv
