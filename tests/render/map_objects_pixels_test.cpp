// Pick-ups, characters and doors drawn on the offscreen device through an
// oblique camera (screen y = map y - height), and a door covering a character
// in the pick image.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "data/game_data.h"
#include "data/map_record.h"
#include "media/device_startup.h"
#include "media/draw_device.h"
#include "media/graphics.h"
#include "media/quad_batcher.h"
#include "media/vertex_records.h"
#include "platform/gfx/d3dx.h"
#include "render/draw_helpers.h"
#include "render/map_object_drawing.h"
#include "render/render_hooks.h"
#include "render/sprite_drawing.h"
#include "support/back_buffer_pixels.h"
#include "support/solid_textures.h"

namespace kiv {
namespace {

constexpr int kWidth = 128, kHeight = 96;

class MapObjectsPixelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    renderHooks.Reset();
    graphics.Reset();
    quadBatch.Reset();
    ASSERT_EQ(GraphicsCreateDirectX(), 0);
    ASSERT_EQ(GraphicsCreateDirect3D(), 0);
    window = std::make_unique<gfx::Window>("objects", kWidth, kHeight, false, false);
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
    // Oblique view: x across, map y down the screen, height up it.
    gfx::Matrix oblique;
    oblique.m[2][1] = -1;
    oblique.m[2][2] = 0;
    device.SetTransform(gfx::kTransformView, oblique);
    device.SetTransform(gfx::kTransformProjection, gfx::MatrixOrthoOffCenterLH(0, kWidth, kHeight, 0, -1000, 1000));
    device.SetVertexShader(kColoredVertexFormat);
    device.Clear(gfx::kClearTarget | gfx::kClearZBuffer, 0xFF000000, 1, 0);

    Map& map = gameData.maps[gameData.maps.Append()];
    map.width = 3, map.height = 2, map.layerCount = 1;
    map.lightGrid.Make(5, 4, 3, 0xFFFFFFFF);
    step.map = 0;
    step.view = &view;
    step.visibleRect = {0, 0, kWidth, kHeight};
    renderHooks.IsCharacterVisible = [](std::int32_t, std::int32_t) { return true; };
  }
  void TearDown() override {
    gameData.Reset();
    renderHooks.Reset();
    graphics.Reset();
    window.reset();
  }

  static gfx::TexturePtr Solid(std::uint32_t argb, int size = 8) {
    gfx::TexturePtr texture = test::SolidTexture(argb, size);
    EXPECT_NE(texture, nullptr);
    return texture;
  }

  // A door set of one solid texture, a sprite set of one solid 16 x 16 layer
  // and an item whose picture is solid.
  void MakeSets() {
    DoorSet& doors = gameData.doorSets.emplace_back();
    doors.textures[1] = Solid(0xFFFF0000);
    SpriteSet& set = gameData.spriteSets.emplace_back();
    set.poses.emplace_back();
    set.usedValues = {0};
    SpriteDirection& d = set.poses[0].directions[4];
    SpriteLayer layer;
    FrameGroup frame;
    frame.cellWidth = frame.cellHeight = 16;
    ImageFrame piece;
    piece.width = piece.height = 16;
    piece.textureRight = piece.textureBottom = 1;
    frame.frames.push_back(piece);
    layer.frames.frameGroups.push_back(frame);
    layer.frames.textures.push_back(Solid(0xFF00FF00));
    layer.frameEntries.push_back({100, 0});
    d.layers.push_back(layer);
    FramePart part;
    part.kind = kPartLayer;
    part.color = 0xFFFFFFFF;
    part.scaleX = part.scaleY = part.scaleZ = 1;
    d.builtFrames.push_back(SpriteFrame{{part}});
    d.frames = d.builtFrames;
    Item& item = gameData.items.emplace_back();
    item.pictureTexture = Solid(0xFF0000FF);
    item.valueC = 16;
  }

  std::uint32_t Rgb(int x, int y) { return test::BackBufferRgb(x, y); }

  MapDrawStep step;
  MapView view;
  std::unique_ptr<gfx::Window> window;
};

TEST_F(MapObjectsPixelsTest, PickUpCharacterAndDoorReachTheScreenLit) {
  MakeSets();
  Map& map = gameData.maps[0];
  // The door at (64, 0) stands on row 2: its light corner (2, 2, 0) is grey.
  map.lightGrid.At(2, 2, 0) = 0xFF808080;
  Door& door = map.doors.emplace_back();
  door.x = 64, door.y = 0, door.z = 0;
  door.doorSet = 0;
  Actor& actor = map.actors.emplace_back();
  actor.x = 24, actor.y = 24, actor.z = 0;
  CharacterLayer layer;
  layer.layerSpriteSet = 0;
  actor.characterLayers.push_back(layer);
  PickUp& p = map.pickUps.emplace_back();
  p.x = 24, p.y = 76, p.z = 0;
  p.color = 0xFFFFFFFF;
  p.spriteSet = -1;
  p.items[0].item = 0;
  DrawPickUps(step);
  DrawCharacters(step);
  DrawDoors(step);
  test::SaveBackBufferPng("map_objects", kWidth, kHeight);
  EXPECT_EQ(Rgb(24, 72), 0x0000FFu);  // the picture, lifted 4 above the floor
  EXPECT_EQ(Rgb(24, 24), 0x00FF00u);  // the character's layer
  // The door's 32 x 64 face rises from y 64 to the top of the screen, half lit.
  const std::uint32_t doorPixel = Rgb(80, 32);
  EXPECT_GE(doorPixel >> 16, 0x7Eu);
  EXPECT_LE(doorPixel >> 16, 0x81u);
  EXPECT_EQ(doorPixel & 0xFFFF, 0u);
  EXPECT_EQ(Rgb(80, 70), 0x000000u);  // below its foot
  EXPECT_EQ(Rgb(100, 32), 0x000000u);  // right of it
}

TEST_F(MapObjectsPixelsTest, InThePickImageADoorCoversACharacterBehindIt) {
  MakeSets();
  Map& map = gameData.maps[0];
  Door& door = map.doors.emplace_back();
  door.x = 64, door.y = 0, door.z = 0;
  door.doorSet = 0;
  for (float x : {72.0f, 24.0f}) {
    Actor& actor = map.actors.emplace_back();
    actor.x = x, actor.y = 32, actor.z = 0;
    CharacterLayer layer;
    layer.layerSpriteSet = 0;
    actor.characterLayers.push_back(layer);
  }
  renderHooks.PickPassMode = [] { return 1; };
  graphics.pickTargetFormat = gfx::kFmtX8R8G8B8;
  DrawDevice& device = CurrentDrawDevice();
  device.Clear(gfx::kClearTarget, 0xFFFFFFFF, 1, 0);
  device.BeginFlatColor();
  DrawCharacters(step);
  DrawDoors(step);
  device.EndFlatColor();
  test::SaveBackBufferPng("map_objects_pick", kWidth, kHeight);
  EXPECT_EQ(Rgb(24, 32), static_cast<std::uint32_t>(MakePickColor(0, 1, 0)) & 0xFFFFFFu);
  EXPECT_EQ(Rgb(72, 32), 0x000000u);  // character 0 behind the door
  EXPECT_EQ(Rgb(110, 32), 0xFFFFFFu);
}

// Characters drawn in few draws (depth layers and textures kept per quad)
// give the same pixels as drawing them piece by piece: ten sprite sets of
// half-transparent colours, more than the eight texture slots, one of them
// additive, characters overlapping each other, with the depth test on.
class BatchedCharacterPixelsTest : public MapObjectsPixelsTest {
 protected:
  void MakeColourSets(int count) {
    for (int s = 0; s < count; ++s) {
      SpriteSet& set = gameData.spriteSets.emplace_back();
      set.poses.emplace_back();
      set.usedValues = {0};
      SpriteDirection& d = set.poses[0].directions[4];
      SpriteLayer layer;
      if (s == 3) layer.flags = kLayerAdditive;
      FrameGroup frame;
      frame.cellWidth = frame.cellHeight = 16 - s;
      ImageFrame piece;
      piece.width = piece.height = 16 - s;
      piece.textureRight = piece.textureBottom = 1;
      frame.frames.push_back(piece);
      layer.frames.frameGroups.push_back(frame);
      const auto c = static_cast<std::uint32_t>(s);
      layer.frames.textures.push_back(Solid(0x80000000u | (0x3355AAu * (c + 1) & 0xFFFFFFu)));
      layer.frameEntries.push_back({100, 0});
      d.layers.push_back(layer);
      FramePart part;
      part.kind = kPartLayer;
      part.color = 0xFFFFFFFF;
      part.scaleX = part.scaleY = part.scaleZ = 1;
      part.z = s % 3;  // some layers stand higher than later ones
      d.builtFrames.push_back(SpriteFrame{{part}});
      d.frames = d.builtFrames;
    }
  }
  std::vector<std::uint8_t> Frame() {
    gfx::Device& device = *graphics.direct3dDevice;
    EXPECT_EQ(device.Clear(gfx::kClearTarget | gfx::kClearZBuffer, 0xFF101010, 1, 0), gfx::kOk);
    const std::uint64_t before = device.DrawCallCount();
    DrawCharacters(step);
    draws = device.DrawCallCount() - before;
    gfx::SurfacePtr back;
    device.GetBackBuffer(back);
    gfx::LockedRect locked;
    gfx::Rect all{0, 0, kWidth, kHeight};
    std::vector<std::uint8_t> pixels;
    if (back->LockRect(locked, &all, 0) != gfx::kOk) return pixels;
    for (int y = 0; y < kHeight; ++y) {
      const std::uint8_t* row = locked.bits + static_cast<std::ptrdiff_t>(y) * locked.pitch;
      pixels.insert(pixels.end(), row, row + kWidth * 4);
    }
    back->UnlockRect();
    return pixels;
  }
  std::uint64_t draws = 0;
};

TEST_F(BatchedCharacterPixelsTest, FewDrawsGiveThePixelsOfPieceByPieceDrawing) {
  constexpr int kSets = 10;
  MakeColourSets(kSets);
  // A depth buffer for the back buffer, and the depth test on.
  gfx::Device& device = *graphics.direct3dDevice;
  gfx::SurfacePtr depth;
  ASSERT_EQ(device.CreateDepthStencilSurface(kWidth, kHeight, gfx::kFmtD24S8, 0, depth), gfx::kOk);
  ASSERT_EQ(device.SetRenderTarget(nullptr, depth), gfx::kOk);
  device.SetRenderState(gfx::kRsZEnable, 1);
  Map& map = gameData.maps[0];
  for (int c = 0; c < 12; ++c) {
    Actor& actor = map.actors.emplace_back();
    actor.x = static_cast<float>(12 + c % 6 * 19);
    actor.y = static_cast<float>(20 + c / 6 * 40 + c % 2 * 6);
    actor.z = static_cast<float>(c % 3);
    for (int s = 0; s < kSets; ++s) {
      CharacterLayer layer;
      layer.layerSpriteSet = (s + c) % kSets;
      actor.characterLayers.push_back(layer);
    }
  }
  quadBatch.slotsAllowed = false;
  const std::vector<std::uint8_t> pieceByPiece = Frame();
  const std::uint64_t pieceDraws = draws;
  quadBatch.slotsAllowed = true;
  const std::vector<std::uint8_t> batched = Frame();
  test::SaveBackBufferPng("batched_characters", kWidth, kHeight);
  ASSERT_EQ(pieceByPiece.size(), static_cast<std::size_t>(kWidth * kHeight * 4));
  // The first pixel that differs, if any.
  for (std::size_t i = 0; i < batched.size() && i < pieceByPiece.size(); i += 4) {
    if (std::equal(batched.begin() + static_cast<std::ptrdiff_t>(i), batched.begin() + static_cast<std::ptrdiff_t>(i) + 4,
                   pieceByPiece.begin() + static_cast<std::ptrdiff_t>(i)))
      continue;
    ADD_FAILURE() << "pixel " << i / 4 % kWidth << ", " << i / 4 / kWidth << ": " << int{pieceByPiece[i]} << " "
                  << int{pieceByPiece[i + 1]} << " " << int{pieceByPiece[i + 2]} << " vs " << int{batched[i]} << " "
                  << int{batched[i + 1]} << " " << int{batched[i + 2]};
    break;
  }
  EXPECT_EQ(pieceDraws, 12u * kSets);
  // The additive layer is drawn on its own (a state change); the others share
  // draws of up to eight textures across characters and depth layers.
  EXPECT_LT(draws, pieceDraws / 2);
  EXPECT_GT(draws, 0u);
  // Something was drawn, in more than one colour.
  EXPECT_NE(test::BackBufferRgb(12, 20), 0x101010u);
  EXPECT_NE(test::BackBufferRgb(12, 20), test::BackBufferRgb(31, 26));
}

}  // namespace
}  // namespace kiv
