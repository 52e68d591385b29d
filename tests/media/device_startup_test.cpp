#include "device_fixture.h"

#include "media/device_reset.h"
#include "media/draw_device.h"
#include "platform/gfx/d3dx.h"

namespace kiv {
namespace {

int CountLines(const std::string& text, bool& endsWithCrLf) {
  int lines = 0;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) lines += text[i] == '\r' && text[i + 1] == '\n';
  endsWithCrLf = text.size() >= 2 && text.substr(text.size() - 2) == "\r\n";
  return endsWithCrLf ? lines : lines + 1;
}

TEST(ShaderTexts, LineCountsAndEndings) {
  bool crlf = false;
  EXPECT_EQ(CountLines(LightingVertexShaderText(), crlf), 46);
  EXPECT_TRUE(crlf);
  EXPECT_EQ(CountLines(LightingPixelShaderText(), crlf), 22);
  EXPECT_FALSE(crlf);
  EXPECT_EQ(LightingVertexShaderText().substr(0, 8), "vs.1.0\r\n");
  EXPECT_NE(LightingVertexShaderText().find("add r1.xyz, c23.xyz, -r0.xyz   ; |light - pos| to ps\r\n"),
            std::string::npos);
  EXPECT_NE(LightingVertexShaderText().find("mul oD1.xyz, r2.xyz, r2.w          \r\n"), std::string::npos);
  EXPECT_NE(LightingPixelShaderText().find("phase\r\ntexld r0, t0        ; texture\r\n; light 2\r\ndp3 r4, r1, v0"),
            std::string::npos);
}

TEST(ShaderTexts, BothAssemble) {
  std::vector<std::uint8_t> program;
  std::string errors;
  EXPECT_EQ(gfx::AssembleShader(LightingVertexShaderText(), 0, program, errors), gfx::kOk);
  EXPECT_EQ(errors, "");
  EXPECT_EQ(program.size() % 4, 0u);
  EXPECT_EQ(gfx::AssembleShader(LightingPixelShaderText(), 0, program, errors), gfx::kOk);
  EXPECT_EQ(errors, "");
}

TEST(VertexDeclaration, Tokens) {
  EXPECT_EQ(VertexDeclStream(0), 0x20000000u);
  EXPECT_EQ(VertexDeclRegister(0, 2), 0x40020000u);
  EXPECT_EQ(VertexDeclRegister(3, 2), 0x40020003u);
  EXPECT_EQ(VertexDeclRegister(7, 1), 0x40010007u);
  EXPECT_EQ(VertexDeclTokenType(7), 0xE0000000u);
  EXPECT_EQ(VertexDeclTokenType(0), 0u);
  EXPECT_EQ(VertexDeclTokenType(6), 0u);
}

TEST_F(GraphicsTest, WindowedStartUpLogsEachStepInOrder) {
  ASSERT_TRUE(DeviceStartUp(window.get()));
  EXPECT_TRUE(boxes.empty());
  const std::vector<std::string> expected = {"Preparing keyboard input.",
                                             "Preparing mouse input.",
                                             "Preparing joystick input.",
                                             "Initializing devices.",
                                             "Prepare device.",
                                             "Finding best windowed format.",
                                             "Found format 75.",
                                             "Loading D3DX.",
                                             "Loading generic logo.",
                                             "Initializing GraphicsKiv.",
                                             "Setting up shaders.",
                                             "AssembleShader succeeded on pixel and vertex.",
                                             "Creating shaders.",
                                             "Vertex shader created.",
                                             "Pixel shader created.",
                                             "Finding gorilla.",
                                             "Creating targets.",
                                             "Initializing targets."};
  EXPECT_EQ(LogLines(), expected);
  EXPECT_TRUE(graphics.shadersReady);
  EXPECT_TRUE(graphics.targetsReady);
  EXPECT_FALSE(graphics.pickTarget);  // the project does not pick by colour
  ASSERT_TRUE(graphics.loadingLogo);
  EXPECT_EQ(graphics.loadingLogo->Width(), 256u);
  EXPECT_EQ(graphics.loadingLogo->Height(), 256u);
  EXPECT_EQ(graphics.startScreenWidth, 64);
  EXPECT_EQ(graphics.videoWidth, window->ClientWidth());
  EXPECT_EQ(graphics.presentParameters.windowed, 1);
  EXPECT_EQ(graphics.presentParameters.backBufferCount, 0u);
  EXPECT_EQ(graphics.presentParameters.autoDepthStencilFormat, gfx::kFmtD24S8);
  EXPECT_EQ(quadBatch.screen.size(), 5u);
}

TEST_F(GraphicsTest, FullScreenModeThatIsNotOfferedFallsBackToAWindow) {
  graphics.videoWindowed = false;
  graphics.videoWidth = 320;
  graphics.videoHeight = 200;
  graphics.videoFormat = 22;
  ASSERT_TRUE(DeviceStartUp(window.get()));
  EXPECT_TRUE(graphics.videoWindowed);
  EXPECT_EQ(graphics.videoWidth, 320);
  EXPECT_EQ(window->ClientWidth(), 320);
}

TEST_F(GraphicsTest, DeviceCreationFailureShowsTheWindowedBox) {
  graphics.videoDeviceType = 9;  // no such device type: every device query fails
  EXPECT_FALSE(DeviceStartUp(window.get()));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Direct3D 8 Device Error");
  EXPECT_EQ(boxes[0].icon, BoxIcon::kCritical);
  EXPECT_EQ(boxes[0].text.rfind("Direct3D 8 Device could not be initialized.  Please make sure", 0), 0u);
  EXPECT_NE(boxes[0].text.find("Some cards only support certain colour depths in windowed mode."),
            std::string::npos);
  const std::vector<std::string> log = LogLines();
  EXPECT_EQ(log.back(), "D3DDeviceInit failed with error code 8876086C.");
}

TEST_F(GraphicsTest, FullScreenCreationFailureShowsTheResolutionBox) {
  graphics.videoWindowed = false;
  graphics.direct3d = gfx::Direct3D::Create();
  gfx::DisplayMode desktop;
  ASSERT_EQ(graphics.direct3d->GetAdapterDisplayMode(0, desktop), gfx::kOk);
  graphics.videoWidth = static_cast<std::int32_t>(desktop.width);
  graphics.videoHeight = static_cast<std::int32_t>(desktop.height);
  graphics.videoFormat = static_cast<std::int32_t>(desktop.format);
  // The device window is gone: creation fails after the mode was found.
  EXPECT_FALSE(DeviceStartUp(nullptr));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find("could not be initialized"), std::string::npos);
  EXPECT_NE(boxes[0].text.find("Please also make sure the resolution is supported by your video card."),
            std::string::npos);
}

TEST_F(GraphicsTest, PickColourDrawnIsReadBack) {
  pickByColor = true;
  ASSERT_TRUE(DeviceStartUp(window.get()));
  ASSERT_TRUE(graphics.pickTarget);
  EXPECT_EQ(graphics.pickTargetFormat, gfx::kFmtA8R8G8B8);
  gfx::Device& device = *graphics.direct3dDevice;
  ASSERT_EQ(device.SetRenderTarget(graphics.pickTarget, graphics.pickDepthSurface), gfx::kOk);
  device.Clear(gfx::kClearTarget | gfx::kClearZBuffer, 0, 1, 0);
  GraphicsSetTextureFactor(graphics.pickTargetFormat, 0x00123456);
  GraphicsBeginFlatColor();
  QuadAddScreen(10, 20, 3, 2, 0, 0, 1, 1, 0xFFFFFFFF, 0);
  QuadBatchFlushScreen();
  GraphicsEndFlatColor();
  EXPECT_EQ(SurfaceReadPixel(graphics.pickTarget.get(), graphics.pickTargetFormat, 11, 21), 0x123456u);
  EXPECT_EQ(SurfaceReadPixel(graphics.pickTarget.get(), graphics.pickTargetFormat, 13, 21), 0u);
  // Outside the target, or without a pick format, the result is 0.
  EXPECT_EQ(SurfaceReadPixel(graphics.pickTarget.get(), graphics.pickTargetFormat, -1, 0), 0u);
  EXPECT_EQ(SurfaceReadPixel(graphics.pickTarget.get(), graphics.pickTargetFormat, 0, 48), 0u);
  EXPECT_EQ(SurfaceReadPixel(graphics.pickTarget.get(), 0, 11, 21), 0u);
}

TEST(ColorForFormat, OpaqueForPickFormatsOnly) {
  EXPECT_EQ(ColorForFormat(21, 0x00123456), 0xFF123456u);
  EXPECT_EQ(ColorForFormat(22, 0x7F123456), 0xFF123456u);
  EXPECT_EQ(ColorForFormat(20, 0x00000001), 0xFF000001u);
  EXPECT_EQ(ColorForFormat(0, 0x00123456), 0u);
  EXPECT_EQ(ColorForFormat(23, 0x00123456), 0u);
}

TEST_F(GraphicsTest, ResetAfterResizeRecreatesTheTargets) {
  pickByColor = true;
  ASSERT_TRUE(DeviceStartUp(window.get()));
  window->SetClientSize(40, 30);
  graphics.videoWidth = 40;
  graphics.videoHeight = 30;
  ASSERT_TRUE(ResetDeviceAndTargets());
  ASSERT_TRUE(graphics.pickTarget);
  EXPECT_EQ(graphics.pickTarget->Width(), 40u);
  GraphicsResetViewport();
  gfx::Viewport viewport;
  graphics.direct3dDevice->GetViewport(viewport);
  EXPECT_EQ(viewport.width, 40u);
  EXPECT_EQ(viewport.height, 30u);
}

TEST_F(GraphicsTest, FailedResetKeepsTheWishForTargets) {
  pickByColor = true;
  ASSERT_TRUE(DeviceStartUp(window.get()));
  const gfx::PresentParameters good = graphics.presentParameters;
  graphics.presentParameters.windowed = 0;
  graphics.presentParameters.backBufferFormat = 0;  // a full-screen reset that cannot succeed
  EXPECT_FALSE(ResetDeviceAndTargets());
  EXPECT_FALSE(graphics.targetsReady);
  EXPECT_FALSE(graphics.pickTarget);
  EXPECT_EQ(graphics.direct3dDevice->TestCooperativeLevel(), gfx::kErrDeviceNotReset);
  graphics.presentParameters = good;
  ASSERT_TRUE(ResetDeviceAndTargets());
  EXPECT_TRUE(graphics.targetsReady);
  EXPECT_TRUE(graphics.pickTarget);
}

TEST_F(GraphicsTest, ResetWithoutTargetsCreatesNone) {
  ASSERT_TRUE(DeviceStartUp(window.get()));
  ReleaseRenderTargets();
  pickByColor = true;
  ASSERT_TRUE(ResetDeviceAndTargets());
  EXPECT_FALSE(graphics.targetsReady);
  EXPECT_FALSE(graphics.pickTarget);
}

TEST_F(GraphicsTest, DepthLayersLowerTheFarPlane) {
  ASSERT_TRUE(DeviceStartUp(window.get()));
  gfx::Viewport viewport;
  GraphicsSetDepthLayer(0);
  graphics.direct3dDevice->GetViewport(viewport);
  EXPECT_EQ(viewport.maxZ, 1.0f);
  EXPECT_EQ(viewport.minZ, 0.0f);
  GraphicsSetDepthLayer(1);
  graphics.direct3dDevice->GetViewport(viewport);
  EXPECT_EQ(viewport.maxZ, static_cast<float>(1.0 - 2.0 / 65535));
}

TEST_F(GraphicsTest, DisplayModeSearch) {
  std::uint32_t format = 0, depth = 0;
  EXPECT_TRUE(GraphicsFindDisplayMode(0, 0, 0, 0, format, depth, true, true));
  EXPECT_EQ(depth, gfx::kFmtD24S8);
  gfx::DisplayMode desktop;
  graphics.direct3d->GetAdapterDisplayMode(0, desktop);
  EXPECT_EQ(format, desktop.format);
  // An offered size at a refresh rate it does not have: the rate is dropped.
  EXPECT_TRUE(GraphicsFindDisplayMode(static_cast<std::int32_t>(desktop.width),
                                      static_cast<std::int32_t>(desktop.height), 32, 75, format, depth, true, true));
  EXPECT_FALSE(GraphicsFindDisplayMode(123, 45, 32, 0, format, depth, true, true));
  EXPECT_TRUE(FindDepthFormat(desktop.format, depth, true, false));
  EXPECT_EQ(depth, gfx::kFmtD16);
}

TEST_F(GraphicsTest, EnumerationEmptiesTheListsFirstAndTheDeviceTypesAreAnswered) {
  GraphicsEnumAdapters();
  ASSERT_FALSE(graphics.adapterList.empty());
  GraphicsEnumDisplayModes(0);
  ASSERT_FALSE(graphics.displayModes.empty());
  for (const gfx::DisplayMode& mode : graphics.displayModes) {
    EXPECT_GE(mode.format, 10u);  // two-digit format numbers
    EXPECT_LT(mode.format, 100u);
  }
  // An adapter with no modes leaves no modes of another behind.
  GraphicsEnumDisplayModes(99);
  EXPECT_TRUE(graphics.displayModes.empty());
  EXPECT_EQ(GraphicsGetDeviceCaps(0, 1), 0);
  EXPECT_EQ(GraphicsGetDeviceCaps(0, 2), 0);
  EXPECT_NE(GraphicsGetDeviceCaps(0, 3), 0);
  EXPECT_NE(GraphicsGetDeviceCaps(99, 1), 0);
}

TEST(DirectionSteps, RoundedFromTheAngles) {
  graphics.Reset();
  GraphicsCreateDirectX();
  const std::array<std::array<std::int32_t, 2>, 8> expected = {
      {{-1, 0}, {-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}}};
  EXPECT_EQ(graphics.directionSteps, expected);
  EXPECT_EQ(FormatBitsPerPixel(20), 24);
  EXPECT_EQ(FormatBitsPerPixel(26), 16);
  EXPECT_EQ(FormatBitsPerPixel(41), 8);
  EXPECT_EQ(FormatBitsPerPixel(75), 0);
}

// A windowed device asked for size 0 takes its window's size; drawing must see
// that size, not the 0 of the presentation parameters (else a full-screen
// interface gets an empty viewport, which the device refuses).
TEST_F(GraphicsTest, WindowedDeviceOfSizeZeroReportsItsWindowsSize) {
  ASSERT_EQ(GraphicsCreateDevice(window.get(), 0, 0, 0, 0, 1, 0), 0);
  EXPECT_EQ(graphics.presentParameters.backBufferWidth, 0u);
  EXPECT_EQ(GraphicsBackBufferWidth(), 32u);
  EXPECT_EQ(GraphicsBackBufferHeight(), 32u);
  EXPECT_EQ(CurrentDrawDevice().BackBufferWidth(), 32u);
}

}  // namespace
}  // namespace kiv
