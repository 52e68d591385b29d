// Pixel picking on the offscreen device: a drawing hook paints rectangles in
// pick colours into the pick target, and the pointer decodes the pixel under
// it into a field, a character or a zone; colours naming nothing that exists
// are ignored; a failed pick pass leaves later frames presenting.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "data/game_data.h"
#include "data/project_state.h"
#include "media/device_reset.h"
#include "media/device_startup.h"
#include "media/graphics.h"
#include "media/input_devices.h"
#include "media/player_input_state.h"
#include "media/quad_batcher.h"
#include "media/vertex_records.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "render/draw_helpers.h"
#include "render/frame_drawing.h"
#include "state/project_settings_block.h"
#include "support/recording_batcher.h"
#include "world/pointer_picking.h"

namespace kiv {
namespace {

constexpr int kWidth = 160, kHeight = 120;

struct PaintedRect {
  float left, top;
  std::uint32_t colour;
};

class PixelPickingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    projectState.Reset();
    playerHooks.Reset();
    graphics.Reset();
    graphicsHooks.Reset();
    quadBatch.Reset();
    shell.Reset();
    playerInputStates = {};
    pickPass = 0;
    storedProjectSettings.Reset();
    storedProjectSettings.inputPointerFlag = -1;
    graphicsHooks.pickByColor = [] { return true; };
    ASSERT_EQ(GraphicsCreateDirectX(), 0);
    ASSERT_EQ(GraphicsCreateDirect3D(), 0);
    ASSERT_EQ(InputCreateDirectInput(), 0);
    graphics.defaultVertexFormat = 0x1C4;
    graphics.videoWidth = kWidth;
    graphics.videoHeight = kHeight;
    window = std::make_unique<gfx::Window>("picking", kWidth, kHeight, false, true);
    ASSERT_TRUE(DeviceStartUp(window.get()));
    ASSERT_TRUE(graphics.pickTarget);

    // Interface 0 with three fields, map 1 with three characters and a zone.
    const std::int32_t hud = gameData.maps.Append();
    gameData.maps[hud].isInterface = true;
    gameData.maps[hud].overlayActive = 1;
    gameData.maps[hud].fields.resize(3);
    for (Field& field : gameData.maps[hud].fields) field.selectable = 1;
    const std::int32_t world = gameData.maps.Append();
    gameData.maps[world].actors.resize(3);
    gameData.maps[world].zones.resize(1);

    rects = {
        {10, 10, Colour(0, 1)},      // field 1
        {40, 10, Colour(1, 1)},      // character 1
        {70, 10, Colour(1, 3)},      // the first index after the characters: zone 0
        {100, 10, Colour(1, 3 + 5)},  // beyond the zones
        {130, 10, Colour(7, 0)},     // a map that does not exist
    };
    playerHooks.DrawMap = [this](std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                 std::int32_t) {
      if (pickPass == 0) return;
      modes.push_back(pickPass);
      if (failPick) throw std::runtime_error("drawing failed");
      gfx::Device& device = *graphics.direct3dDevice;
      device.SetRenderState(gfx::kRsZEnable, 0);
      device.SetRenderState(gfx::kRsCullMode, gfx::kCullNone);
      device.SetVertexShader(kScreenVertexFormat);
      device.SetPixelShader(0);
      for (const PaintedRect& r : rects) {
        device.SetRenderState(gfx::kRsTextureFactor,
                                                ColorForFormat(graphics.pickTargetFormat, r.colour));
        QuadAddScreen(r.left, r.top, 20, 20, 0, 0, 1, 1, 0xFFFFFFFF, 0);
        QuadBatchFlushScreen();
      }
    };
  }
  void TearDown() override {
    gameData.Reset();
    projectState.Reset();
    playerHooks.Reset();
    storedProjectSettings.Reset();
    shell.Reset();
    pickPass = 0;
    inputDevices.Reset();
    graphics.Reset();
    graphicsHooks.Reset();
    window.reset();
  }

  static std::uint32_t Colour(std::int32_t map, std::int32_t index) {
    return static_cast<std::uint32_t>(MakePickColor(map, index, 0));
  }
  // One frame of the main loop's pointer update at (x, y).
  static void FrameAt(std::int32_t x, std::int32_t y) {
    PlayerInputState& state = playerInputStates[0];
    state.pickColorValid = false;
    shell.pickRendered = false;
    state.cursorX = x;
    state.cursorY = y;
    UpdatePointer(0, 0);
  }
  static std::tuple<std::int32_t, std::int32_t, std::int32_t> Hover() {
    const PlayerInputState& s = playerInputStates[0];
    return {s.targetMap, s.targetKind, s.targetIndex};
  }

  std::unique_ptr<gfx::Window> window;
  std::vector<PaintedRect> rects;
  std::vector<std::int32_t> modes;
  bool failPick = false;
};

TEST_F(PixelPickingTest, ThePixelUnderThePointerNamesTheObject) {
  struct Step {
    const char* what;
    std::int32_t x, y;
    std::tuple<std::int32_t, std::int32_t, std::int32_t> hover;
  };
  const std::vector<Step> steps = {
      {"a field", 15, 15, {0, 9, 1}},
      {"a character", 45, 25, {1, 3, 1}},
      {"a zone", 89, 29, {1, 2, 0}},
      {"beyond the zones: ignored", 105, 15, {1, 2, 0}},
      {"a map that does not exist: ignored", 135, 15, {1, 2, 0}},
      {"nothing painted", 15, 60, {-1, 0, 0}},
      {"a field again", 10, 10, {0, 9, 1}},
      {"outside the back buffer", -1, 15, {-1, 0, 0}},
      {"below the back buffer", 15, kHeight, {-1, 0, 0}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    FrameAt(step.x, step.y);
    EXPECT_EQ(Hover(), step.hover);
  }
  // Drawn only for pointers inside the back buffer, always without zones.
  EXPECT_EQ(modes, std::vector<std::int32_t>(7, 2));
  EXPECT_EQ(pickPass, 0);
}

TEST_F(PixelPickingTest, ThePickImageIsDrawnOncePerFrameAndWithZonesWhenMouseTriggersExist) {
  playerInputStates[0].cursorX = 45;
  playerInputStates[0].cursorY = 15;
  EXPECT_EQ(PickColourAtPointer(0), Colour(1, 1));
  playerInputStates[0].cursorX = 15;
  EXPECT_EQ(PickColourAtPointer(0), Colour(1, 1));  // known for this frame
  playerInputStates[0].pickColorValid = false;
  EXPECT_EQ(PickColourAtPointer(0), Colour(0, 1));  // read again, not drawn again
  EXPECT_EQ(modes.size(), 1u);
  shell.mouseTriggersPresent = true;
  FrameAt(15, 15);
  EXPECT_EQ(modes, (std::vector<std::int32_t>{2, 1}));
}

TEST_F(PixelPickingTest, AFailedPickPassLeavesTheNextFramePresenting) {
  gfx::SurfacePtr before;
  graphics.direct3dDevice->GetRenderTarget(before);
  failPick = true;
  playerInputStates[0].cursorX = 15;
  playerInputStates[0].cursorY = 15;
  EXPECT_THROW(PickColourAtPointer(0), std::runtime_error);
  EXPECT_EQ(pickPass, 0);
  gfx::SurfacePtr after;
  graphics.direct3dDevice->GetRenderTarget(after);
  EXPECT_EQ(after, before);
  test::RecordingBatcher recorder;
  DrawFrame();
  EXPECT_EQ(recorder.Count(test::RecordedKind::kPresent), 1u);
}

}  // namespace
}  // namespace kiv
