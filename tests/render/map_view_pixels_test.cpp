// An interface whose view field shows a map, drawn on the offscreen device:
// the map's ground tiles reach the screen where the field's camera puts them.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "data/field_record.h"
#include "data/game_data.h"
#include "data/map_record.h"
#include "data/project_state.h"
#include "state/project_settings_block.h"
#include "dialogs/player_settings.h"
#include "media/device_startup.h"
#include "media/graphics.h"
#include "media/quad_batcher.h"
#include "player/player_hooks.h"
#include "render/default_render_states.h"
#include "render/draw_helpers.h"
#include "render/field_camera.h"
#include "render/frame_drawing.h"
#include "render/map_drawing.h"
#include "render/map_object_drawing.h"
#include "render/render_hooks.h"
#include "render/render_setup.h"
#include "support/back_buffer_pixels.h"
#include "support/solid_textures.h"

namespace kiv {
namespace {

constexpr int kWidth = 160, kHeight = 120;

class MapViewPixelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    projectState.Reset();
    graphics.Reset();
    quadBatch.Reset();
    renderHooks.Reset();
    playerHooks.Reset();
    playerSettings.Reset();
    viewScroll.Reset();
    ASSERT_EQ(GraphicsCreateDirectX(), 0);
    ASSERT_EQ(GraphicsCreateDirect3D(), 0);
    window = std::make_unique<gfx::Window>("view", kWidth, kHeight, false, false);
    graphics.defaultVertexFormat = kColoredVertexFormat;
    ASSERT_EQ(GraphicsCreateDevice(window.get(), kWidth, kHeight, 0, 0, 1, 0), 0);
    InstallRenderViewHooks();
    // The field pass, reduced to what this test needs: a view field draws its map.
    renderHooks.DrawFields = [](std::int32_t map, std::int32_t, std::int32_t, std::int32_t width,
                                std::int32_t height, const MapView&) {
      const Map& record = gameData.maps[map];
      for (std::size_t i = 0; i < record.fields.size(); ++i) {
        const std::int32_t shown = playerHooks.FieldViewMap(map, static_cast<std::int32_t>(i));
        if (shown >= 0) playerHooks.DrawMap(shown, 0, 0, map, static_cast<std::int32_t>(i), width, height);
      }
    };
  }
  void TearDown() override {
    pickPass = 0;
    storedProjectSettings.Reset();
    gameData.Reset();
    projectState.Reset();
    renderHooks.Reset();
    playerHooks.Reset();
    graphics.Reset();
    window.reset();
    viewScroll.Reset();
  }

  static TileSet Solid(std::uint32_t argb) {
    gfx::TexturePtr texture = test::SolidTexture(argb);
    EXPECT_NE(texture, nullptr);
    return test::SolidTileSet(std::move(texture));
  }

  // Interface 0 with one view field showing map 1 from the top; map 1 is
  // 4 x 3 tiles (the first column red, the rest blue), seen at (16, 12).
  Map& MakeViewedMap() {
    gameData.tileSets = {Solid(0xFFFF0000), Solid(0xFF0000FF)};
    const std::int32_t face = gameData.maps.Append();
    Map& interfaceMap = gameData.maps[face];
    interfaceMap.isInterface = true;
    interfaceMap.overlayActive = 1;
    interfaceMap.ambientColor = 0xFFFFFFFF;
    Field& field = interfaceMap.fields.emplace_back();
    field.kind = 6;
    field.view.ownMap = 1;
    field.view.followedCharacter = 0;
    SetFieldScreenView(field, 1);
    const std::int32_t index = gameData.maps.Append();
    Map& map = gameData.maps[index];
    map.width = 3;
    map.height = 2;
    map.layerCount = 0;
    TileLayerGroup& ground = map.tileLayerGroups[0];
    ground.slotTileSets = {0, 1};
    ground.slotCount = 2;
    for (TileLayerGroup& group : map.tileLayerGroups) {
      group.slotGrid.Make(4, 3, 1);
      group.tileGrid.Make(4, 3, 1);
      group.terraform.Make(4, 3, 1);
    }
    for (int x = 0; x < 4; ++x)
      for (int y = 0; y < 3; ++y) ground.slotGrid.At(x, y, 0) = x == 0 ? 1 : 2;
    map.lightGrid.Make(5, 4, 2, 0xFFFFFFFF);
    return map;
  }

  // Sprite set 0: one solid 16 x 16 layer in direction 4, and the world's
  // answers for characters that character drawing asks.
  void MakeCharacterSprite() {
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
    layer.frames.textures.push_back(test::SolidTexture(0xFF00FF00));
    layer.frameEntries.push_back({100, 0});
    d.layers.push_back(layer);
    FramePart part;
    part.kind = kPartLayer;
    part.color = 0xFFFFFFFF;
    part.scaleX = part.scaleY = part.scaleZ = 1;
    d.builtFrames.push_back(SpriteFrame{{part}});
    d.frames = d.builtFrames;
    renderHooks.DrawCharacters = DrawCharacters;
    renderHooks.IsCharacterVisible = [](std::int32_t, std::int32_t) { return true; };
    renderHooks.ActorDrawDirection = [](const Actor&) { return 4; };
    renderHooks.SelectActorPose = [](std::int32_t, const Actor&, std::int32_t, std::int32_t, std::int32_t,
                                     std::int32_t& pose, std::int32_t& time) { pose = 0, time = 0; };
    renderHooks.LightColorAt = [](std::int32_t, float, float, float, std::uint32_t colour) { return colour; };
  }

  std::unique_ptr<gfx::Window> window;
};

TEST_F(MapViewPixelsTest, TheViewFieldShowsTheMapCentredOnTheScreen) {
  const std::int32_t face = 0;
  Map& map = MakeViewedMap();
  map.actors.emplace_back();

  SetDefaultRenderStates();
  graphics.direct3dDevice->Clear(gfx::kClearTarget, 0xFF000000, 1, 0);
  DrawMap(face, 0, 0, -1, -1, -1, -1);
  test::SaveBackBufferPng("map_view", kWidth, kHeight);

  // The 128 x 96 map in the 160 x 120 view: scrolled by -16 and -12 (halves to even).
  EXPECT_EQ(viewScroll.scrollPixelX, -16);
  EXPECT_EQ(viewScroll.scrollPixelY, -12);
  EXPECT_EQ(test::BackBufferRgb(16 + 16, 12 + 16), 0xFF0000u);   // first column
  EXPECT_EQ(test::BackBufferRgb(16 + 80, 12 + 48), 0x0000FFu);   // the rest
  EXPECT_EQ(test::BackBufferRgb(16 + 120, 12 + 90), 0x0000FFu);  // near the far corner
  EXPECT_EQ(test::BackBufferRgb(8, 60), 0x000000u);              // left of the map
  EXPECT_EQ(test::BackBufferRgb(80, 114), 0x000000u);            // below it
}

TEST_F(MapViewPixelsTest, ThePickImageOfAFoggedMapNamesEachCharacterExactly) {
  Map& map = MakeViewedMap();
  // Fog from 950 to 1250 pixels: the top view's camera stands 1000 above the
  // ground, so a fogged pick image would mix a sixth of the fog colour in.
  map.fogOn = 1;
  map.fogColor = 0xFF80C0A0;
  map.fogStart = 950;
  map.fogEnd = 1250;
  MakeCharacterSprite();
  const float at[3][2] = {{24, 24}, {64, 48}, {104, 72}};
  for (const auto& p : at) {
    Actor& actor = map.actors.emplace_back();
    actor.x = p[0], actor.y = p[1];
    CharacterLayer layer;
    layer.layerSpriteSet = 0;
    actor.characterLayers.push_back(layer);
  }
  storedProjectSettings.pickScenery = 0;
  graphics.pickTargetFormat = gfx::kFmtA8R8G8B8;

  SetDefaultRenderStates();
  graphics.direct3dDevice->Clear(gfx::kClearTarget, 0xFF000000, 1, 0);
  pickPass = 1;
  GraphicsBeginFlatColor();
  DrawMap(0, 0, 0, -1, -1, -1, -1);
  pickPass = 0;
  GraphicsEndFlatColor();
  test::SaveBackBufferPng("map_view_pick", kWidth, kHeight);
  for (int i = 0; i < 3; ++i) {
    const auto expected = static_cast<std::uint32_t>(MakePickColor(1, i, 0));
    EXPECT_EQ(test::BackBufferRgb(static_cast<int>(at[i][0]) + 16, static_cast<int>(at[i][1]) + 12), expected)
        << "character " << i;
  }
  EXPECT_EQ(test::BackBufferRgb(16 + 80, 12 + 20), 0x000000u);  // the ground names nothing

  // The same frame drawn for the screen is fogged.
  graphics.direct3dDevice->Clear(gfx::kClearTarget, 0xFF000000, 1, 0);
  DrawMap(0, 0, 0, -1, -1, -1, -1);
  EXPECT_NE(test::BackBufferRgb(24 + 16, 24 + 12), 0x00FF00u);
}

}  // namespace
}  // namespace kiv
