#pragma once
// The device layer of the player: the root objects, the video settings, the
// presentation parameters of the one device, and the operations that the rest
// of the player calls on them (adapters and modes, device creation, textures,
// render-state helpers, present), plus the direction steps and the frame-rate
// counter that live beside them.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/byte_list.h"
#include "platform/gfx/d3d_types.h"
#include "platform/gfx/d3dx.h"
#include "platform/gfx/device.h"
#include "platform/gfx/direct3d.h"
#include "platform/gfx/resources.h"
#include "platform/gfx/window.h"

namespace kiv {

struct Graphics {
  bool directX = false;  // the root object: our video subsystem is up
  std::unique_ptr<gfx::Direct3D> direct3d;
  std::unique_ptr<gfx::Device> direct3dDevice;
  bool d3dx = false;

  // Video settings ([Render] of "SETTINGS.INI", read by the start window).
  std::int32_t videoAdapter = 0;
  std::int32_t videoDeviceType = 1;
  std::int32_t videoWidth = 800;
  std::int32_t videoHeight = 600;
  std::int32_t videoFormat = 22;
  std::int32_t videoRefresh = 0;
  bool videoWindowed = true;

  gfx::PresentParameters presentParameters;
  gfx::DisplayMode desktopMode;
  gfx::Caps deviceCaps;
  std::vector<gfx::AdapterIdentifier> adapterList;
  std::vector<gfx::DisplayMode> displayModes;
  std::uint32_t defaultVertexFormat = 0;

  std::array<std::array<std::int32_t, 2>, 8> directionSteps{};

  // Frame-rate counter (milliseconds of the tick count).
  std::uint32_t frameStartTime = 0;
  std::uint32_t frameLastTime = 0;
  std::int32_t frameCount = 0;
  float frameRate = 0;

  // What device start-up leaves behind.
  gfx::TexturePtr loadingLogo;
  std::uint32_t lightingVertexShader = 0;
  std::uint32_t lightingPixelShader = 0;
  bool shadersReady = false;
  std::int32_t startScreenWidth = 0;
  std::int32_t startScreenHeight = 0;
  float screenDotsPerInch = 96;
  double screenDiagonalInches = 0;
  std::array<std::uint32_t, 5> lightingVertexDeclaration{};

  // Render targets.
  bool targetsReady = false;
  gfx::SurfacePtr pickTarget;
  std::uint32_t pickTargetFormat = 0;
  gfx::SurfacePtr pickDepthSurface;
  bool targetsWanted = false;  // released by a failed reset: re-created by the next successful one

  void Reset();  // releases everything, settings back to their defaults
};
extern Graphics graphics;

// What the graphics code needs of higher layers; they install these at start-up.
enum class BoxIcon { kCritical, kInformation };
struct GraphicsHooks {
  std::function<bool()> pickByColor;           // project setting
  std::function<bool()> captureMouseInWindow;  // project setting
  std::function<bool()> quitRequest;           // the game is ending
  std::function<void(gfx::Device&)> graphicsInit;  // the helper library takes the device
  std::function<void(const std::string& text, const std::string& title, BoxIcon icon)> messageBox;
  void Reset();
};
extern GraphicsHooks graphicsHooks;

void ShowGraphicsBox(const std::string& text, const std::string& title, BoxIcon icon);
bool HookFlag(const std::function<bool()>& hook);

// Raises a failed result as the error of the same number.
void CheckResult(gfx::HResult hr, const char* what);

std::int32_t GraphicsCreateDirectX();
void GraphicsReleaseDirectX();
void GraphicsUpdateFrameRate();
std::int32_t GraphicsCreateDirect3D();
void GraphicsReleaseDirect3D();
void GraphicsCreateD3DX();
void GraphicsReleaseD3DX();
// Fill adapterList and displayModes; both are emptied first, so no adapter
// (or no mode) leaves an empty list.
void GraphicsEnumAdapters();
void GraphicsEnumDisplayModes(std::int32_t adapter);
// The device-capability query for (adapter, device type): 0 when it succeeds.
gfx::HResult GraphicsGetDeviceCaps(std::int32_t adapter, std::int32_t deviceType);
std::int32_t FormatBitsPerPixel(std::uint32_t format);
bool FindDepthFormat(std::uint32_t adapterFormat, std::uint32_t& depthFormat, bool wantDepth, bool wantStencil);
bool GraphicsFindDisplayMode(std::int32_t width, std::int32_t height, std::int32_t bits, std::int32_t refresh,
                             std::uint32_t& displayFormat, std::uint32_t& depthFormat, bool wantDepth,
                             bool wantStencil);
std::int32_t GraphicsCreateDevice(gfx::Window* window, std::int32_t width, std::int32_t height,
                                  std::uint32_t format, std::int32_t refresh, std::int32_t backBufferCount,
                                  std::uint32_t depthFormat);

gfx::TexturePtr TextureLoadFromBytes(const ByteList& bytes, std::uint32_t width, std::uint32_t height,
                                     std::uint32_t colorKey, std::uint32_t format, std::uint32_t filter,
                                     std::uint32_t mipLevels, std::uint32_t mipFilter);
gfx::TexturePtr TextureLoadFromPackage(const std::string& entryName, std::uint32_t width, std::uint32_t height,
                                       std::uint32_t colorKey, std::uint32_t format, std::uint32_t filter,
                                       std::uint32_t mipLevels, std::uint32_t mipFilter);

void GraphicsSetDepthLayer(std::int32_t layer);
// The far end of a depth layer's depth range (the near end is 0).
float DepthLayerMaxZ(std::int32_t layer);
void GraphicsSetTextureFactor(std::uint32_t surfaceFormat, std::uint32_t color);
void GraphicsBeginFlatColor();
void GraphicsEndFlatColor();
void GraphicsSetRenderStateFloat(std::uint32_t state, float value);
gfx::Matrix MakeLookAtMatrix(float eyeX, float eyeY, float eyeZ, float atX, float atY, float atZ, float upX,
                             float upY, float upZ);
void GraphicsPresent();

}  // namespace kiv
