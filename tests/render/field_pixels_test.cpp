// Interface fields drawn on the offscreen device through the field pass: one
// picture per value kind, read back from the back buffer.
#include <gtest/gtest.h>

#include <bit>
#include <memory>
#include <string>
#include <vector>

#include "core/variant.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "media/device_startup.h"
#include "media/graphics.h"
#include "media/quad_batcher.h"
#include "media/vertex_records.h"
#include "player/player_hooks.h"
#include "render/field_drawing.h"
#include "render/frame_drawing.h"
#include "render/render_hooks.h"
#include "render/sprite_drawing.h"
#include "support/back_buffer_pixels.h"

namespace kiv {
namespace {

constexpr int kWidth = 160, kHeight = 120;
constexpr std::uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kBackground = 0x000000;

class FieldPixelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    projectState.Reset();
    renderHooks.Reset();
    playerHooks.Reset();
    graphics.Reset();
    quadBatch.Reset();
    pickPass = 0;
    ASSERT_EQ(GraphicsCreateDirectX(), 0);
    ASSERT_EQ(GraphicsCreateDirect3D(), 0);
    window = std::make_unique<gfx::Window>("fields", kWidth, kHeight, false, false);
    graphics.defaultVertexFormat = kScreenVertexFormat;
    ASSERT_EQ(GraphicsCreateDevice(window.get(), 0, 0, 0, 0, 1, 0), 0);
    gfx::Device& device = *graphics.direct3dDevice;
    device.SetRenderState(gfx::kRsLighting, 0);
    device.SetRenderState(gfx::kRsAlphaBlendEnable, 1);
    device.SetRenderState(gfx::kRsSrcBlend, gfx::kBlendSrcAlpha);
    device.SetRenderState(gfx::kRsDestBlend, gfx::kBlendInvSrcAlpha);
    device.SetTextureStageState(0, gfx::kTssColorOp, gfx::kTopModulate);
    device.SetTextureStageState(0, gfx::kTssAlphaOp, gfx::kTopModulate);
    device.Clear(gfx::kClearTarget | gfx::kClearZBuffer, 0xFF000000, 1, 0);
    map = gameData.maps.Append();
    gameData.maps[map].isInterface = true;
    gameData.maps[map].ambientColor = kWhite;
    dataSettings.gameVideoWidth = kWidth;
    dataSettings.gameVideoHeight = kHeight;
  }
  void TearDown() override {
    gameData.Reset();
    projectState.Reset();
    dataSettings.Reset();  // the design size set above is not the next test's
    graphics.Reset();
    window.reset();
  }

  // A texture whose texel (x, y) has the colour pick(x, y).
  template <typename Pick>
  gfx::TexturePtr Texture(int width, int height, Pick pick) {
    std::vector<std::uint32_t> texels(static_cast<std::size_t>(width * height));
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) texels[static_cast<std::size_t>(y * width + x)] = pick(x, y);
    gfx::TexturePtr texture;
    EXPECT_EQ(graphics.direct3dDevice->CreateTextureFromArgb(width, height, gfx::kFmtA8R8G8B8, 1, texels.data(),
                                                             true, texture),
              gfx::kOk);
    return texture;
  }

  // A sprite set of one layer showing the whole texture at width x height.
  std::int32_t AddSprite(gfx::TexturePtr texture, int width, int height) {
    SpriteSet set;
    set.poses.emplace_back();
    SpriteDirection& d = set.poses[0].directions[4];
    SpriteLayer layer;
    FrameGroup frame;
    frame.cellWidth = width;
    frame.cellHeight = height;
    ImageFrame piece;
    piece.width = width;
    piece.height = height;
    piece.textureRight = piece.textureBottom = 1;
    frame.frames.push_back(piece);
    layer.frames.frameGroups.push_back(frame);
    layer.frames.textures.push_back(std::move(texture));
    layer.frameEntries.push_back({100, 0});
    d.layers.push_back(layer);
    FramePart part;
    part.kind = kPartLayer;
    part.color = kWhite;
    part.scaleX = part.scaleY = part.scaleZ = 1;
    d.builtFrames = {SpriteFrame{{part}}};
    d.frameDuration = 100;
    d.sizeX = width;
    d.sizeY = height;
    set.usedValues = {0};
    set.loaded = true;
    gameData.spriteSets.push_back(set);
    return static_cast<std::int32_t>(gameData.spriteSets.size()) - 1;
  }

  Field& AddField(std::uint8_t kind, float x, float y, int width, int height) {
    Field field;
    field.mapIndex = map;
    field.kind = kind;
    field.x = x;
    field.y = y;
    field.pixelWidth = field.previousPixelWidth = width;
    field.pixelHeight = field.previousPixelHeight = height;
    field.colorsA[0] = kWhite;
    field.colorsB[0] = kWhite;
    field.specular = 0;
    gameData.maps[map].fields.push_back(field);
    return gameData.maps[map].fields.back();
  }

  void Draw(const std::string& picture) {
    MapView view;
    view.viewport = {0, 0, kWidth, kHeight, 0, 1};
    DrawFields(map, 0, 0, kWidth, kHeight, view);
    test::SaveBackBufferPng(picture, kWidth, kHeight);
  }
  static std::uint32_t Rgb(int x, int y) { return test::BackBufferRgb(x, y); }

  std::int32_t map = -1;
  std::unique_ptr<gfx::Window> window;
};

TEST_F(FieldPixelsTest, IconRowShowsOnlyItsFilledIcons) {
  const std::int32_t icon = AddSprite(Texture(8, 8, [](int, int) { return kWhite; }), 8, 8);
  Field& f = AddField(1, 20, 20, 0, 0);  // one row from the anchor
  f.spriteSet = icon;
  f.value1 = Variant::Double(2);
  f.value2 = Variant::Double(4);
  f.colorsA[0] = kGreen;
  f.colorsB[0] = 0x00FFFFFF;  // empty places are not drawn
  Draw("icon_row");
  EXPECT_EQ(Rgb(24, 24), 0x00FF00u);
  EXPECT_EQ(Rgb(32, 24), 0x00FF00u);
  EXPECT_EQ(Rgb(40, 24), kBackground);
  EXPECT_EQ(Rgb(18, 24), kBackground);
}

TEST_F(FieldPixelsTest, PieMeterFillsItsShareOfTheArc) {
  Field& f = AddField(2, 40, 20, 60, 60);
  f.value1 = Variant::Double(1);
  f.value2 = Variant::Double(2);
  f.designByte3 = 0;
  f.designValues = {std::bit_cast<std::int32_t>(0.0f), std::bit_cast<std::int32_t>(6.2831855f)};
  f.colorsA[0] = kGreen;
  f.colorsB[0] = kGreen;
  Draw("pie_meter");
  EXPECT_EQ(Rgb(70, 65), 0x00FF00u);  // below the centre (70, 50): the first half turn
  EXPECT_EQ(Rgb(70, 35), kBackground);
}

TEST_F(FieldPixelsTest, FrameGaugeTakesTheFilledColourEmptyAndTheEmptyColourFull) {
  const std::int32_t gauge = AddSprite(Texture(16, 16, [](int, int) { return kWhite; }), 16, 16);
  for (const double value : {0.0, 10.0}) {
    Field& f = AddField(3, value == 0 ? 10.0f : 60.0f, 10, 32, 32);
    f.spriteSet = gauge;
    f.value1 = Variant::Double(value);
    f.value2 = Variant::Double(10);
    f.colorsA[0] = kGreen;
    f.colorsB[0] = kRed;
  }
  Draw("frame_gauge");
  EXPECT_EQ(Rgb(26, 26), 0x00FF00u);  // value 0: the filled colour, scaled to the field
  EXPECT_EQ(Rgb(12, 12), 0x00FF00u);
  EXPECT_EQ(Rgb(76, 26), 0xFF0000u);  // full
  EXPECT_EQ(Rgb(45, 26), kBackground);
}

TEST_F(FieldPixelsTest, PanelLaysCornersEdgesAndCentreAtTheSpritesScale) {
  // 48 x 48: corner cells red, edge cells green, the middle blue.
  auto cell = [](int x, int y) {
    const int column = x / 16, row = y / 16;
    if (column == 1 && row == 1) return kBlue;
    return column == 1 || row == 1 ? kGreen : kRed;
  };
  Field& f = AddField(4, 10, 10, 96, 96);
  f.spriteSet = AddSprite(Texture(48, 48, cell), 48, 48);
  Draw("panel");
  EXPECT_EQ(Rgb(12, 12), 0xFF0000u);    // top-left corner: 16 pixels
  EXPECT_EQ(Rgb(24, 12), 0xFF0000u);
  EXPECT_EQ(Rgb(28, 12), 0x00FF00u);    // the top edge starts at 16
  EXPECT_EQ(Rgb(88, 12), 0x00FF00u);    // and ends where the right corner starts, at 90
  EXPECT_EQ(Rgb(92, 12), 0xFF0000u);
  EXPECT_EQ(Rgb(100, 100), 0xFF0000u);  // bottom-right corner
  EXPECT_EQ(Rgb(12, 60), 0x00FF00u);    // left edge
  EXPECT_EQ(Rgb(60, 60), 0x0000FFu);    // centre
  EXPECT_EQ(Rgb(110, 60), kBackground);
}

TEST_F(FieldPixelsTest, CentredSpriteBarAtTwiceItsWidthStaysInsideItsPicture) {
  // 16 x 8: the left half red, the right half blue.
  const std::int32_t bar = AddSprite(Texture(16, 8, [](int x, int) { return x < 8 ? kRed : kBlue; }), 16, 8);
  Field& f = AddField(2, 80, 30, 64, 16);
  f.placementBytes = {1, 0, 0};  // centred on x 80: the field spans 48..112
  f.spriteSet = bar;
  f.designByte3 = 1;
  f.value1 = Variant::Double(1);
  f.value2 = Variant::Double(1);
  Draw("sprite_bar");
  EXPECT_EQ(Rgb(50, 38), 0xFF0000u);   // the picture's left edge at the bar's left
  EXPECT_EQ(Rgb(76, 38), 0xFF0000u);
  EXPECT_EQ(Rgb(84, 38), 0x0000FFu);
  EXPECT_EQ(Rgb(110, 38), 0x0000FFu);  // and its right edge at the bar's right
  EXPECT_EQ(Rgb(45, 38), kBackground);
  EXPECT_EQ(Rgb(115, 38), kBackground);
}

}  // namespace
}  // namespace kiv
