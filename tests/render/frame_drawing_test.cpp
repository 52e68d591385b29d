// The frame against a recording of the device calls: activities, clear flags,
// states, the order of interfaces, the pick pass, the loading picture,
// notices and the cursor; the drawing order and the input rule of interfaces.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "data/game_data.h"
#include "data/project_state.h"
#include "dialogs/player_settings.h"
#include "media/graphics.h"
#include "media/player_input_state.h"
#include "player/notices.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "render/default_render_states.h"
#include "render/frame_drawing.h"
#include "support/recording_batcher.h"

namespace kiv {
namespace {

using test::RecordedKind;

class FrameDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    projectState.Reset();
    shell.Reset();
    playerHooks.Reset();
    playerSettings.Reset();
    notices.clear();
    pickPass = 0;
    playerInputStates[0] = PlayerInputState{};
    playerHooks.DrawMap = [this](std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t, std::int32_t,
                                 std::int32_t, std::int32_t) {
      drawn.push_back(map);
      offsets.emplace_back(x, y);
    };
  }
  void TearDown() override {
    playerHooks.Reset();
    gameData.Reset();
    projectState.Reset();
    shell.Reset();
    notices.clear();
    graphics.loadingLogo.reset();
  }
  std::int32_t AddInterface(std::int32_t layer, std::int32_t order, std::uint8_t shown = 1) {
    const std::int32_t index = gameData.maps.Append();
    Map& map = gameData.maps[index];
    map.isInterface = true;
    map.overlayActive = shown;
    map.layerNumber = layer;
    map.orderNumber = order;
    return index;
  }

  test::RecordingBatcher recorder;
  std::vector<std::int32_t> drawn;
  std::vector<std::pair<std::int32_t, std::int32_t>> offsets;
};

TEST_F(FrameDrawingTest, ANormalFrameClearsDrawsInOrderAndPresents) {
  const std::int32_t top = AddInterface(5, 0);
  const std::int32_t lowSecond = AddInterface(1, 2);
  const std::int32_t hidden = AddInterface(0, 0, 0);
  const std::int32_t lowFirst = AddInterface(1, 2);  // equal pair: index order
  const std::int32_t bottom = AddInterface(0, 7);
  (void)hidden;
  gameData.maps[bottom].ScreenOffsetX() = 2.5f;  // halves to even
  gameData.maps[bottom].ScreenOffsetY() = 3.5f;
  recorder.depthStencilFormat = 75;
  DrawFrame();
  EXPECT_EQ(drawn, (std::vector<std::int32_t>{bottom, lowSecond, lowFirst, top}));
  EXPECT_EQ(offsets[0], std::make_pair(2, 4));
  const std::vector<RecordedKind> expected = {
      RecordedKind::kBeginScene,   RecordedKind::kVertexShader, RecordedKind::kPixelShader,
      RecordedKind::kResetViewport, RecordedKind::kClear,       RecordedKind::kEndFlatColor,
      RecordedKind::kResetViewport, RecordedKind::kVertexShader, RecordedKind::kPixelShader,
      RecordedKind::kEndScene,     RecordedKind::kPresent};
  EXPECT_EQ(recorder.Milestones(), expected);
  for (const auto& e : recorder.events) {
    if (e.kind == RecordedKind::kClear) {
      EXPECT_EQ(e.state, 7u);
      EXPECT_EQ(e.value, 0xFF000000u);
      EXPECT_EQ(e.z, 1.0f);
      EXPECT_EQ(e.stage, 0u);
    }
  }
  const auto states = recorder.RenderStates();
  const std::vector<std::pair<std::uint32_t, std::uint32_t>> stencil(states.end() - 3, states.end());
  EXPECT_EQ(stencil, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{57, 1}, {56, 6}, {55, 3}}));
  EXPECT_EQ(gameData.currentActivity, "Done Drawing");
  EXPECT_FALSE(shell.drawingFrame);
}

TEST_F(FrameDrawingTest, ClearFlagsFollowTheDepthFormat) {
  const std::pair<std::uint32_t, std::uint32_t> cases[] = {{75, 7}, {79, 7}, {73, 7}, {80, 3}, {77, 3},
                                                           {71, 3}, {0, 1},  {76, 1}};
  for (const auto& [format, flags] : cases) {
    recorder.Clear();
    recorder.depthStencilFormat = format;
    DrawFrame();
    for (const auto& e : recorder.events) {
      if (e.kind == RecordedKind::kClear) {
        EXPECT_EQ(e.state, flags) << format;
      }
    }
  }
}

TEST_F(FrameDrawingTest, APickPassDrawsInterfacesOnlyInFlatColourAndDoesNotPresent) {
  AddInterface(0, 0);
  int boxes = 0, cursors = 0;
  playerHooks.DrawMessageBoxes = [&] { ++boxes; };
  playerHooks.DrawCursor = [&] { ++cursors; };
  playerInputStates[0].cursorSprite = 0;
  pickPass = 1;
  DrawFrame();
  EXPECT_EQ(drawn.size(), 1u);
  EXPECT_EQ(boxes, 0);
  EXPECT_EQ(cursors, 0);
  EXPECT_EQ(recorder.Count(RecordedKind::kPresent), 0u);
  EXPECT_EQ(recorder.Count(RecordedKind::kBeginFlatColor), 1u);
  EXPECT_EQ(pickPass, 1);  // left to its caller
  pickPass = 0;
}

TEST_F(FrameDrawingTest, TheCursorIsDrawnOnlyWithASprite) {
  int cursors = 0, boxes = 0;
  playerHooks.DrawCursor = [&] { ++cursors; };
  playerHooks.DrawMessageBoxes = [&] { ++boxes; };
  playerInputStates[0].cursorSprite = -1;
  DrawFrame();
  EXPECT_EQ(cursors, 0);
  EXPECT_EQ(boxes, 1);
  playerInputStates[0].cursorSprite = 0;
  DrawFrame();
  EXPECT_EQ(cursors, 1);
}

TEST_F(FrameDrawingTest, ALoadingTickDrawsTheLoadingInterfaceAndTheFadingLogo) {
  AddInterface(0, 0);
  const std::int32_t loading = AddInterface(0, 0, 0);
  projectState.settings.furtherInterfaces[0].index = loading;
  graphics.loadingLogo = std::make_shared<gfx::Texture>(nullptr, 0, 256, 256, 21, 1);
  int boxes = 0;
  playerHooks.DrawMessageBoxes = [&] { ++boxes; };
  shell.loadingTick = true;
  shell.frameElapsed = 250;
  shell.loadingFade = 0;  // the first game of a process
  DrawFrame();
  EXPECT_EQ(drawn, (std::vector<std::int32_t>{loading}));
  EXPECT_EQ(shell.loadingFade, 250);
  ASSERT_EQ(recorder.quads.size(), 1u);
  EXPECT_EQ(recorder.quads[0].Screen(test::kTopLeft).diffuse >> 24, 191u);  // 0.75 of 255, rounded
  EXPECT_EQ(boxes, 0);
  EXPECT_EQ(recorder.Count(RecordedKind::kPresent), 1u);
  // A later load starts at 1000: nothing shows.
  recorder.Clear();
  shell.loadingFade = 1000;
  DrawFrame();
  ASSERT_EQ(recorder.quads.size(), 1u);
  EXPECT_EQ(recorder.quads[0].Screen(test::kTopLeft).diffuse >> 24, 0u);
}

TEST_F(FrameDrawingTest, TheLoadingImageClampsItsAlphaAndSitsAtTheCentre) {
  graphics.loadingLogo = std::make_shared<gfx::Texture>(nullptr, 0, 256, 256, 21, 1);
  recorder.backBufferWidth = 641;
  recorder.backBufferHeight = 480;
  const std::pair<float, std::uint32_t> cases[] = {{1.7f, 255}, {-0.2f, 0}, {0.5f, 128}};
  for (const auto& [alpha, byte] : cases) {
    recorder.Clear();
    DrawLoadingImage(alpha, false);
    ASSERT_EQ(recorder.quads.size(), 1u);
    EXPECT_EQ(recorder.quads[0].Screen(test::kTopLeft).diffuse >> 24, byte) << alpha;
    // 641 / 2 - 128 = 192.5; the screen batcher places quads on whole pixels.
    EXPECT_NEAR(recorder.quads[0].Left(), 192.5f, 0.5f);
    EXPECT_FLOAT_EQ(recorder.quads[0].Top(), 112.0f);
  }
  // Alpha test off and linear filters around the quad, back after it.
  const auto states = recorder.RenderStates();
  EXPECT_EQ(states.front(), std::make_pair(15u, 0u));
  EXPECT_EQ(states.back(), std::make_pair(15u, 1u));
}

TEST_F(FrameDrawingTest, NoticeColoursFadeAfterTenSeconds) {
  std::uint32_t text = 0, second = 0, shadow = 0;
  NoticeColors(9999, text, second, shadow);
  EXPECT_EQ(text, 0xFFFFFFFFu);
  EXPECT_EQ(second, 0xFF909090u);
  EXPECT_EQ(shadow, 0x80000000u);
  NoticeColors(12500, text, second, shadow);
  EXPECT_EQ(text, 0x80FFFFFFu);
  EXPECT_EQ(second, 0x80909090u);
  EXPECT_EQ(shadow, 0x40000000u);
  NoticeColors(15000, text, second, shadow);
  EXPECT_EQ(text >> 24, 0u);
  const std::pair<float, std::uint32_t> channels[] = {{-0.5f, 0}, {0.0f, 0}, {0.5f, 128}, {1.0f, 255}, {2.0f, 255}};
  for (const auto& [channel, byte] : channels) EXPECT_EQ(ChannelByte(channel), byte) << channel;
}

TEST_F(FrameDrawingTest, WithoutAFontSetNoNoticeIsDrawnAndNothingRaises) {
  notices.push_back(Notice{u"hello", {1, 2}, 1, 0});
  EXPECT_NO_THROW(DrawFrame());
  EXPECT_TRUE(recorder.quads.empty());
}

TEST_F(FrameDrawingTest, FindNextMapInOrderWalksBothWaysWithItsStartPairs) {
  const std::int32_t a = AddInterface(2147483135, 0);
  const std::int32_t b = AddInterface(2147483136, 0);
  const std::int32_t c = AddInterface(2147483135, 2147483135);
  const std::int32_t d = AddInterface(-3, 4);
  EXPECT_EQ(FindNextMapInOrder(-1, false), d);
  EXPECT_EQ(FindNextMapInOrder(d, false), a);
  EXPECT_EQ(FindNextMapInOrder(a, false), -1);  // b and c are never found forward
  (void)b;
  (void)c;
  EXPECT_EQ(FindNextMapInOrder(-1, true), b);
  EXPECT_EQ(FindNextMapInOrder(b, true), c);
  EXPECT_EQ(FindNextMapInOrder(c, true), a);
  EXPECT_EQ(FindNextMapInOrder(a, true), d);
  EXPECT_EQ(FindNextMapInOrder(d, true), -1);
  EXPECT_TRUE(IsMapDrawnBefore(a, c));
  EXPECT_FALSE(IsMapDrawnBefore(c, a));
}

TEST_F(FrameDrawingTest, AnInterfaceUnderAShownExclusiveOneTakesNoInput) {
  const std::int32_t under = AddInterface(0, 0);
  const std::int32_t over = AddInterface(1, 0);
  projectState.currentPlayerInterface.index = -1;
  EXPECT_TRUE(IsMapInputActive(under));
  gameData.maps[over].exclusive = true;
  EXPECT_FALSE(IsMapInputActive(under));
  EXPECT_TRUE(IsMapInputActive(over));
  projectState.currentPlayerInterface.index = under;
  EXPECT_TRUE(IsMapInputActive(under));
  projectState.currentPlayerInterface.index = -1;
  gameData.maps[over].exclusive = false;
  gameData.maps[under].inputBlock = true;
  EXPECT_FALSE(IsMapInputActive(under));
}

TEST_F(FrameDrawingTest, AFrameThatRaisesLeavesNoDrawingFrameBehind) {
  AddInterface(0, 0);
  playerHooks.DrawMap = [](std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                           std::int32_t) { throw std::runtime_error("map failed"); };
  EXPECT_THROW(DrawFrame(), std::runtime_error);
  EXPECT_FALSE(shell.drawingFrame);
  EXPECT_EQ(gameData.currentActivity, "Finding Map");
}

TEST_F(FrameDrawingTest, DefaultStatesComeInTheirOrderWithTheDetailSettings) {
  playerSettings.detailShade = false;
  playerSettings.detailTranslucent = false;
  playerSettings.detailSpecular = true;
  SetDefaultRenderStates();
  const std::vector<std::pair<std::uint32_t, std::uint32_t>> expected = {
      {137, 0}, {29, 0xFFFFFFFFu}, {27, 0}, {19, 5},  {20, 6}, {9, 2},  {9, 1},
      {22, 3},  {161, 0},          {48, 0}, {35, 0},  {15, 1}, {24, 1}, {25, 7},
      {16, 1},  {60, 0xFF000000u}, {8, 3},  {7, 1},   {23, 4}, {154, 0x3F800000u}};
  EXPECT_EQ(recorder.RenderStates(), expected);
  std::vector<std::pair<std::uint32_t, std::uint32_t>> stages;
  for (const auto& e : recorder.events) {
    if (e.kind == RecordedKind::kState && e.call == test::DeviceCall::kTextureStageState) stages.emplace_back(e.state, e.value);
  }
  EXPECT_EQ(stages, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{4, 4}, {17, 1}, {16, 1}, {13, 1}, {14, 1},
                                                                         {5, 2}}));
  const auto kinds = recorder.Milestones();
  EXPECT_EQ(kinds, (std::vector<RecordedKind>{RecordedKind::kVertexShader, RecordedKind::kPixelShader}));
  EXPECT_EQ(recorder.events[recorder.events.size() - 2].value, 0x1C2u);
}

}  // namespace
}  // namespace kiv
