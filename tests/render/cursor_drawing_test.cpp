// The cursor sprite: drawn at the pointer in screen space with the cursor
// colour, animated by the play time; installed as the frame's cursor step.
#include <gtest/gtest.h>

#include "media/player_input_state.h"
#include "player/player_hooks.h"
#include "player/resource_groups.h"
#include "player/shell_state.h"
#include "render/cursor_drawing.h"
#include "render/render_setup.h"
#include "sprite_fixture.h"
#include "state/game_state.h"

namespace kiv {
namespace {

class CursorDrawingTest : public test::SpriteTest {
 protected:
  void SetUp() override {
    SpriteTest::SetUp();
    gameState.playTime = 0;
    playerInputStates[0] = PlayerInputState{};
    cursorSpriteInstance = SpriteInstance{};
    // Two frames of 100 ms: the second lies 7 pixels to the right of the first.
    SpriteDirection& d = Direction();
    d.layers = {test::MakeLayer()};
    d.builtFrames = {SpriteFrame{{test::LayerPart(0, 0)}}, SpriteFrame{{test::LayerPart(0, 7)}}};
    d.frames = d.builtFrames;
    d.sizeX = 10, d.sizeY = 10;
    d.frameDuration = 100;
    gameData.spriteSets[0].usedValues = {0};
    // Where the first frame of the sprite lands when drawn at (0, 0) on the screen.
    SpriteInstance probe;
    DrawSprite(0, 0, probe, view, 0, 0, 0, 1, 1, 1, false, false, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 2, 0, 0, 1, 1,
               false);
    EXPECT_EQ(recorder.quads.size(), 1u);
    if (!recorder.quads.empty()) originX = recorder.quads[0].Left(), originY = recorder.quads[0].Top();
    recorder.Clear();
  }
  void TearDown() override {
    playerInputStates[0] = PlayerInputState{};
    gameState.playTime = 0;
    playerHooks.Reset();
    shell.Reset();
    systemTextures = {};
    SpriteTest::TearDown();
  }
  float originX = 0, originY = 0;
};

TEST_F(CursorDrawingTest, TheCursorSpriteSitsAtThePointerInItsColour) {
  PlayerInputState& input = playerInputStates[0];
  input.cursorSprite = 0;
  input.cursorX = 40;
  input.cursorY = 25;
  input.cursorColor = static_cast<std::int32_t>(0x80FF4020u);
  DrawCursor();
  ASSERT_EQ(recorder.quads.size(), 1u);
  EXPECT_FLOAT_EQ(recorder.quads[0].Left() - originX, 40.0f);
  EXPECT_FLOAT_EQ(recorder.quads[0].Top() - originY, 25.0f);
  EXPECT_EQ(recorder.quads[0].Screen(test::kTopLeft).diffuse, 0x80FF4020u);
}

TEST_F(CursorDrawingTest, ThePlayTimeIsTheCursorsClock) {
  // Where the sprite lands 150 ms into its animation, drawn directly.
  SpriteInstance probe;
  DrawSprite(0, 150, probe, view, 0, 0, 0, 1, 1, 1, false, false, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 2, 0, 0, 1, 1, true);
  ASSERT_EQ(recorder.quads.size(), 1u);
  const float later = recorder.quads[0].Left() - originX;
  ASSERT_NE(later, 0.0f);  // the animation has moved on by then
  recorder.Clear();
  playerInputStates[0].cursorSprite = 0;
  gameState.playTime = 150;
  DrawCursor();
  ASSERT_EQ(recorder.quads.size(), 1u);
  EXPECT_FLOAT_EQ(recorder.quads[0].Left() - originX, later);
}

TEST_F(CursorDrawingTest, NoSpriteOrAnUnknownSetDrawsNothing) {
  for (const std::int32_t sprite : {-1, -2, 5}) {
    playerInputStates[0].cursorSprite = sprite;
    DrawCursor();
    EXPECT_TRUE(recorder.quads.empty()) << sprite;
  }
}

TEST_F(CursorDrawingTest, TheInstalledHooksReadTheShell) {
  InstallRenderPlayerHooks();
  playerInputStates[0].cursorSprite = 0;
  playerHooks.DrawCursor();
  EXPECT_EQ(recorder.quads.size(), 1u);
  shell.screenScale = 1.5f;
  EXPECT_FLOAT_EQ(renderHooks.ScreenScale(), 1.5f);
  auto skin = std::make_shared<gfx::Texture>(std::make_shared<gfx::ContextToken>(), 0, 4, 4, 0, 1);
  systemTextures[0] = skin;
  EXPECT_EQ(renderHooks.SystemTexture(0), skin);
  EXPECT_EQ(renderHooks.SystemTexture(1), nullptr);
  EXPECT_EQ(renderHooks.SystemTexture(2), nullptr);
  EXPECT_EQ(renderHooks.SystemTexture(-1), nullptr);
}

}  // namespace
}  // namespace kiv
