// The camera of each screen view on the offscreen device: coloured markers
// around the followed character land where the view puts them, and a view
// cut by the screen's edge keeps its picture in place.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data/field_record.h"
#include "data/game_data.h"
#include "data/map_record.h"
#include "media/device_startup.h"
#include "media/graphics.h"
#include "media/quad_batcher.h"
#include "media/vertex_records.h"
#include "platform/gfx/d3dx.h"
#include "render/field_camera.h"
#include "support/back_buffer_pixels.h"

namespace kiv {
namespace {

constexpr int kWidth = 160, kHeight = 120;
constexpr float kFocus = 1600.0f;  // the followed character, in the middle of a large map
constexpr float kStep = 40.0f;     // markers this far along each axis

constexpr std::uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kYellow = 0xFFFFFF00;

class FieldCameraPixelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    graphics.Reset();
    quadBatch.Reset();
    viewScroll.Reset();
    ASSERT_EQ(GraphicsCreateDirectX(), 0);
    ASSERT_EQ(GraphicsCreateDirect3D(), 0);
    window = std::make_unique<gfx::Window>("camera", kWidth, kHeight, false, false);
    graphics.defaultVertexFormat = kColoredVertexFormat;
    ASSERT_EQ(GraphicsCreateDevice(window.get(), kWidth, kHeight, 0, 0, 1, 0), 0);
    gfx::Device& device = *graphics.direct3dDevice;
    device.SetRenderState(gfx::kRsZEnable, 0);
    device.SetRenderState(gfx::kRsLighting, 0);
    device.SetRenderState(gfx::kRsCullMode, gfx::kCullNone);
    device.SetRenderState(gfx::kRsAlphaBlendEnable, 0);
    device.SetTextureStageState(0, gfx::kTssColorOp, gfx::kTopModulate);
    device.SetVertexShader(kColoredVertexFormat);
    const std::vector<std::uint32_t> white(8 * 8, 0xFFFFFFFF);
    ASSERT_EQ(device.CreateTextureFromArgb(8, 8, gfx::kFmtA8R8G8B8, 1, white.data(), true, texture), gfx::kOk);
    device.SetTexture(0, texture);

    map = gameData.maps.Append();
    Map& record = gameData.maps[map];
    record.width = record.height = record.layerCount = 99;
    Actor& actor = record.actors.emplace_back();
    actor.x = actor.y = actor.z = kFocus;
    field.view.ownMap = map;
    field.view.followedCharacter = 0;
  }
  void TearDown() override {
    texture.reset();
    gameData.Reset();
    graphics.Reset();
    window.reset();
    viewScroll.Reset();
  }

  // A small box of three faces around (x, y, z), so every view sees one.
  static void Marker(float x, float y, float z, std::uint32_t colour) {
    const TexPair t{0, 0};
    QuadAddColored3D(x - 6, y - 6, z, 12, 12, 0, t, t, t, t, colour, colour, colour, colour, 0);
    QuadAddColored3D(x - 6, y, z - 6, 12, 0, 12, t, t, t, t, colour, colour, colour, colour, 0);
    QuadAddColored3D(x, y - 6, z - 6, 0, 12, 12, t, t, t, t, colour, colour, colour, colour, 0);
  }

  // Clears the screen and draws the markers through the view at (x, y).
  void Render(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    gfx::Device& device = *graphics.direct3dDevice;
    ASSERT_EQ(device.SetViewport(gfx::Viewport{0, 0, kWidth, kHeight, 0.0f, 1.0f}), gfx::kOk);
    device.Clear(gfx::kClearTarget, 0xFF000000, 1, 0);
    FieldCamera camera;
    SetupFieldCamera(field, x, y, width, height, camera);
    ASSERT_GE(camera.width, 1);
    ASSERT_EQ(device.SetViewport(gfx::Viewport{static_cast<std::uint32_t>(camera.x),
                                               static_cast<std::uint32_t>(camera.y),
                                               static_cast<std::uint32_t>(camera.width),
                                               static_cast<std::uint32_t>(camera.height), 0.0f, 1.0f}),
              gfx::kOk);
    device.SetTransform(gfx::kTransformProjection, camera.projection);
    device.SetTransform(gfx::kTransformView, camera.view);
    device.SetTransform(gfx::kTransformWorld, camera.world);
    // Later markers cover earlier ones where they meet on the screen.
    const Actor& focus = gameData.maps[map].actors[0];
    Marker(focus.x, focus.y, focus.z + kStep, kYellow);
    Marker(focus.x, focus.y + kStep, focus.z, kBlue);
    Marker(focus.x + kStep, focus.y, focus.z, kGreen);
    Marker(focus.x, focus.y, focus.z, kRed);
    QuadBatchFlushColored3D();
  }

  static std::uint32_t Rgb(int x, int y) { return test::BackBufferRgb(x, y); }

  std::unique_ptr<gfx::Window> window;
  gfx::TexturePtr texture;
  std::int32_t map = -1;
  Field field;
};

struct Expected {
  int dx, dy;  // screen offset from the centre, in steps
  std::uint32_t rgb;
};

TEST_F(FieldCameraPixelsTest, EachScreenViewPutsTheMarkersWhereItLooks) {
  struct Case {
    const char* name;
    std::int32_t view;
    std::vector<Expected> markers;
  };
  const int s = static_cast<int>(kStep);
  const Case cases[] = {
      // Top: x to the right, y down; the raised marker hides under the red one.
      {"top", 1, {{0, 0, 0xFF0000}, {s, 0, 0x00FF00}, {0, s, 0x0000FF}}},
      // "45": the ground as from above, heights lift up the screen.
      {"45", 0, {{0, 0, 0xFF0000}, {s, 0, 0x00FF00}, {0, s, 0x0000FF}, {0, -s, 0xFFFF00}}},
      // Front: x to the right, height up; depth along y is hidden.
      {"front", 2, {{0, 0, 0xFF0000}, {s, 0, 0x00FF00}, {0, -s, 0xFFFF00}}},
      // Side: looking along +x, y to the right, height up.
      {"side", 3, {{0, 0, 0xFF0000}, {s, 0, 0x0000FF}, {0, -s, 0xFFFF00}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetFieldScreenView(field, c.view);
    // The front view's camera stands its distance (1000) in front of the
    // map's first rows, looking into it: the character stands near them.
    gameData.maps[map].actors[0].y = c.view == 2 ? 100.0f : kFocus;
    Render(0, 0, kWidth, kHeight);
    test::SaveBackBufferPng(std::string("camera_") + c.name, kWidth, kHeight);
    for (const Expected& m : c.markers) {
      SCOPED_TRACE(testing::Message() << m.dx << " " << m.dy);
      EXPECT_EQ(Rgb(kWidth / 2 + m.dx, kHeight / 2 + m.dy), m.rgb);
    }
    // Away from the markers the screen stays black.
    EXPECT_EQ(Rgb(kWidth / 2 - s, kHeight / 2 + s), 0x000000u);
  }
}

TEST_F(FieldCameraPixelsTest, AViewCutByTheScreenEdgeKeepsItsPicture) {
  struct Case {
    const char* name;
    std::int32_t view;
    bool perspective;
    std::int32_t shiftX, shiftY;  // where the view starts; its size stays the screen's
  };
  const Case cases[] = {
      {"top cut at the top", 1, false, 0, -30},   {"top cut at the left", 1, false, -30, 0},
      {"45 cut at the top", 0, false, 0, -30},    {"45 cut at the bottom", 0, false, 0, 30},
      {"45 cut at the right", 0, false, 30, 0},   {"perspective cut at the top", 0, true, 0, -30},
      {"perspective cut at the bottom", 0, true, 0, 30}, {"perspective cut at the left", 0, true, -30, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetFieldScreenView(field, c.view);
    field.view.projection = c.perspective ? 1 : field.view.projection;
    // Close enough for the markers to show large in perspective.
    field.view.distance = c.perspective ? 150.0f : 1000.0f;
    Render(0, 0, kWidth, kHeight);
    std::vector<std::uint32_t> whole(static_cast<std::size_t>(kWidth * kHeight));
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) whole[static_cast<std::size_t>(y * kWidth + x)] = Rgb(x, y);
    Render(c.shiftX, c.shiftY, kWidth, kHeight);
    test::SaveBackBufferPng(std::string("camera_cut_") + std::to_string(c.shiftX) + "_" + std::to_string(c.shiftY) +
                                (c.perspective ? "_p" : "_o") + std::to_string(c.view),
                            kWidth, kHeight);
    // Every screen pixel of the cut view shows what the whole view showed there.
    int lit = 0, differing = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const int wx = x - c.shiftX, wy = y - c.shiftY;
        if (wx < 0 || wy < 0 || wx >= kWidth || wy >= kHeight) continue;
        const std::uint32_t expected = whole[static_cast<std::size_t>(wy * kWidth + wx)];
        if (expected != 0) ++lit;
        if (Rgb(x, y) != expected) ++differing;
      }
    }
    EXPECT_GT(lit, 100);
    // Edges of the markers may fall one pixel either way.
    EXPECT_LT(differing, lit / 20);
  }
}

}  // namespace
}  // namespace kiv
