#include "media/graphics.h"

#include <cmath>
#include <cstring>

#include "core/error.h"
#include "core/hooks.h"
#include "core/package.h"
#include "media/device_reset.h"
#include "media/quad_batcher.h"
#include "platform/os/clock.h"

namespace kiv {

Graphics graphics;
GraphicsHooks graphicsHooks;

void Graphics::Reset() {
  pickDepthSurface.reset();
  pickTarget.reset();
  loadingLogo.reset();
  direct3dDevice.reset();
  *this = Graphics{};
}

void GraphicsHooks::Reset() { *this = GraphicsHooks{}; }

void ShowGraphicsBox(const std::string& text, const std::string& title, BoxIcon icon) {
  if (graphicsHooks.messageBox) {
    graphicsHooks.messageBox(text, title, icon);
  } else {
    ShowErrorBox(title, text);
  }
}

bool HookFlag(const std::function<bool()>& hook) { return hook ? hook() : false; }

void CheckResult(gfx::HResult hr, const char* what) {
  if (hr != gfx::kOk) RaiseError(hr, std::string(what) + " failed.");
}

namespace {

gfx::Direct3D& D3D() {
  if (!graphics.direct3d) RaiseError(91, "Direct3D is not created.");
  return *graphics.direct3d;
}

gfx::Device& Dev() {
  if (!graphics.direct3dDevice) RaiseError(91, "The Direct3D device is not created.");
  return *graphics.direct3dDevice;
}

std::uint32_t Adapter() { return static_cast<std::uint32_t>(graphics.videoAdapter); }
std::uint32_t DeviceType() { return static_cast<std::uint32_t>(graphics.videoDeviceType); }

}  // namespace

std::int32_t GraphicsCreateDirectX() {
  const double quarter = static_cast<double>(0.7853981852531433f);
  const double pi = static_cast<double>(3.1415927410125732f);
  for (int d = 0; d < 8; ++d) {
    const double angle = d * quarter - pi;
    graphics.directionSteps[static_cast<std::size_t>(d)] = {
        static_cast<std::int32_t>(std::nearbyint(std::cos(angle))),
        static_cast<std::int32_t>(std::nearbyint(std::sin(angle)))};
  }
  graphics.directX = true;
  return 0;
}

void GraphicsReleaseDirectX() { graphics.directX = false; }

void GraphicsUpdateFrameRate() {
  const std::uint32_t now = os::GetTickCount();
  if (graphics.frameStartTime == 0) graphics.frameStartTime = now;
  graphics.frameLastTime = now;
  graphics.frameCount += 1;
  const std::int64_t elapsed =
      static_cast<std::int64_t>(now) - static_cast<std::int64_t>(graphics.frameStartTime);
  if (elapsed > 100) {
    graphics.frameRate = static_cast<float>(graphics.frameCount / (static_cast<double>(elapsed) / 1000));
  }
  if (elapsed > 5000) {
    graphics.frameStartTime = now;
    graphics.frameCount = 0;
  }
}

std::int32_t GraphicsCreateDirect3D() {
  if (!graphics.directX) return 91;
  graphics.direct3d = gfx::Direct3D::Create();
  return graphics.direct3d ? 0 : gfx::kErrNotAvailable;
}

void GraphicsReleaseDirect3D() { graphics.direct3d.reset(); }

void GraphicsCreateD3DX() {
  graphics.d3dx = true;
  quadBatch.CreateArrays();
}

void GraphicsReleaseD3DX() { graphics.d3dx = false; }

void GraphicsEnumAdapters() {
  gfx::Direct3D& d3d = D3D();
  const std::uint32_t count = d3d.GetAdapterCount();
  graphics.adapterList.clear();
  if (count == 0) return;
  graphics.adapterList.assign(count, gfx::AdapterIdentifier{});
  for (std::uint32_t i = 0; i < count; ++i) {
    CheckResult(d3d.GetAdapterIdentifier(i, 2, graphics.adapterList[i]), "GetAdapterIdentifier");
  }
}

void GraphicsEnumDisplayModes(std::int32_t adapter) {
  gfx::Direct3D& d3d = D3D();
  const std::uint32_t a = static_cast<std::uint32_t>(adapter);
  const std::uint32_t count = d3d.GetAdapterModeCount(a);
  graphics.displayModes.clear();
  if (count == 0) return;
  graphics.displayModes.assign(count, gfx::DisplayMode{});
  for (std::uint32_t i = 0; i < count; ++i) {
    CheckResult(d3d.EnumAdapterModes(a, i, graphics.displayModes[i]), "EnumAdapterModes");
  }
}

gfx::HResult GraphicsGetDeviceCaps(std::int32_t adapter, std::int32_t deviceType) {
  if (!graphics.direct3d || adapter < 0 || deviceType < 0) return gfx::kErrInvalidCall;
  gfx::Caps caps;
  return graphics.direct3d->GetDeviceCaps(static_cast<std::uint32_t>(adapter),
                                          static_cast<std::uint32_t>(deviceType), caps);
}

std::int32_t FormatBitsPerPixel(std::uint32_t format) {
  switch (format) {
    case 20:
      return 24;
    case 21:
    case 22:
      return 32;
    case 23:
    case 24:
    case 25:
    case 26:
    case 29:
    case 30:
      return 16;
    case 27:
    case 28:
    case 40:
    case 41:
      return 8;
    default:
      return 0;
  }
}

bool FindDepthFormat(std::uint32_t adapterFormat, std::uint32_t& depthFormat, bool wantDepth,
                     bool wantStencil) {
  static constexpr std::uint32_t kStencil[] = {gfx::kFmtD24S8, gfx::kFmtD24X4S4, gfx::kFmtD15S1};
  static constexpr std::uint32_t kDepth[] = {gfx::kFmtD16,   gfx::kFmtD24X8,   gfx::kFmtD32,
                                             gfx::kFmtD24S8, gfx::kFmtD24X4S4, gfx::kFmtD15S1};
  (void)wantDepth;
  gfx::Direct3D& d3d = D3D();
  const auto tryList = [&](const std::uint32_t* list, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
      if (d3d.CheckDeviceFormat(Adapter(), DeviceType(), adapterFormat, gfx::kUsageDepthStencil,
                                gfx::kResourceSurface, list[i]) == gfx::kOk) {
        depthFormat = list[i];
        return true;
      }
    }
    return false;
  };
  if (wantStencil) return tryList(kStencil, 3);
  return tryList(kDepth, 6);
}

bool GraphicsFindDisplayMode(std::int32_t width, std::int32_t height, std::int32_t bits, std::int32_t refresh,
                             std::uint32_t& displayFormat, std::uint32_t& depthFormat, bool wantDepth,
                             bool wantStencil) {
  depthFormat = 0;
  if ((width == 0 || height == 0) && bits == 0 && refresh == 0) {
    gfx::DisplayMode desktop;
    CheckResult(D3D().GetAdapterDisplayMode(Adapter(), desktop), "GetAdapterDisplayMode");
    displayFormat = desktop.format;
    FindDepthFormat(displayFormat, depthFormat, wantDepth, wantStencil);
  } else {
    GraphicsEnumDisplayModes(graphics.videoAdapter);
    displayFormat = 0;
    for (const gfx::DisplayMode& mode : graphics.displayModes) {
      if (static_cast<std::int32_t>(mode.width) != width ||
          static_cast<std::int32_t>(mode.height) != height) {
        continue;
      }
      if (bits != 0 && FormatBitsPerPixel(mode.format) != bits) continue;
      if (refresh != 0 && static_cast<std::int32_t>(mode.refreshRate) != refresh) continue;
      displayFormat = mode.format;
      if (FindDepthFormat(displayFormat, depthFormat, wantDepth, wantStencil)) break;
    }
  }
  if (depthFormat != 0) return true;
  if (refresh != 0) {
    return GraphicsFindDisplayMode(width, height, bits, 0, displayFormat, depthFormat, wantDepth,
                                   wantStencil);
  }
  if (wantDepth && wantStencil) {
    return GraphicsFindDisplayMode(width, height, bits, refresh, displayFormat, depthFormat, wantDepth,
                                   false);
  }
  return false;
}

std::int32_t GraphicsCreateDevice(gfx::Window* window, std::int32_t width, std::int32_t height,
                                  std::uint32_t format, std::int32_t refresh, std::int32_t backBufferCount,
                                  std::uint32_t depthFormat) {
  try {
    gfx::Direct3D& d3d = D3D();
    CheckResult(d3d.GetAdapterDisplayMode(Adapter(), graphics.desktopMode), "GetAdapterDisplayMode");
    CheckResult(d3d.GetDeviceCaps(Adapter(), DeviceType(), graphics.deviceCaps), "GetDeviceCaps");
    gfx::PresentParameters& pp = graphics.presentParameters;
    if (format == 0) {
      if (graphics.desktopMode.format == gfx::kFmtP8 || graphics.desktopMode.format == gfx::kFmtA8P8) {
        return gfx::kErrInvalidDevice;
      }
      format = graphics.desktopMode.format;
      pp.swapEffect = gfx::kSwapDiscard;
      pp.backBufferCount = 0;
      pp.backBufferWidth = static_cast<std::uint32_t>(width);
      pp.backBufferHeight = static_cast<std::uint32_t>(height);
      pp.fullScreenRefreshRateInHz = 0;
      pp.windowed = 1;
    } else {
      pp.swapEffect = gfx::kSwapFlip;
      pp.backBufferCount = static_cast<std::uint32_t>(backBufferCount);
      pp.backBufferWidth = static_cast<std::uint32_t>(width);
      pp.backBufferHeight = static_cast<std::uint32_t>(height);
      pp.fullScreenRefreshRateInHz = static_cast<std::uint32_t>(refresh);
      pp.windowed = 0;
    }
    if (depthFormat != 0) {
      if (d3d.CheckDeviceFormat(Adapter(), DeviceType(), format, gfx::kUsageDepthStencil,
                                gfx::kResourceSurface, depthFormat) == gfx::kOk) {
        pp.enableAutoDepthStencil = 1;
      } else {
        pp.enableAutoDepthStencil = 0;
        ShowGraphicsBox("Could not create depth buffer.", "Depth Buffer Warning", BoxIcon::kInformation);
      }
    } else {
      pp.enableAutoDepthStencil = 0;
    }
    pp.backBufferFormat = format;
    pp.autoDepthStencilFormat = depthFormat;
    pp.multiSampleType = 0;
    pp.deviceWindow = window;
    pp.flags = 0;
    const std::uint32_t behaviour = (graphics.deviceCaps.devCaps & gfx::kDevCapsHwTransformAndLight) != 0
                                        ? gfx::kCreateHardwareVertexProcessing
                                        : gfx::kCreateSoftwareVertexProcessing;
    CheckResult(d3d.CreateDevice(Adapter(), DeviceType(), behaviour, pp, graphics.direct3dDevice),
                "CreateDevice");
    if (graphics.defaultVertexFormat != 0) {
      CheckResult(graphics.direct3dDevice->SetVertexShader(graphics.defaultVertexFormat), "SetVertexShader");
    }
    return 0;
  } catch (const KivError& e) {
    return e.Number();
  }
}

gfx::TexturePtr TextureLoadFromBytes(const ByteList& bytes, std::uint32_t width, std::uint32_t height,
                                     std::uint32_t colorKey, std::uint32_t format, std::uint32_t filter,
                                     std::uint32_t mipLevels, std::uint32_t mipFilter) {
  if (bytes.empty() || !graphics.direct3dDevice) return nullptr;
  gfx::TexturePtr texture;
  gfx::CreateTextureFromFileInMemoryEx(*graphics.direct3dDevice, bytes.data(), bytes.size(), width, height,
                                       mipLevels, 0, format, 1, filter, mipFilter, colorKey, texture);
  return texture;
}

gfx::TexturePtr TextureLoadFromPackage(const std::string& entryName, std::uint32_t width,
                                       std::uint32_t height, std::uint32_t colorKey, std::uint32_t format,
                                       std::uint32_t filter, std::uint32_t mipLevels,
                                       std::uint32_t mipFilter) {
  const std::int32_t index = PackageFindEntry(entryName);
  if (index < 0) return nullptr;
  // The entry's bytes are read in place: an image can be large and is only decoded.
  const ByteList& bytes = package.packageEntries[static_cast<std::size_t>(index)].bytes;
  gfx::TexturePtr texture;
  CheckResult(
      gfx::CreateTextureFromFileInMemoryEx(Dev(), bytes.data(), bytes.size(), width, height, mipLevels, 0,
                                           format, 1, filter, mipFilter, colorKey, texture),
      "CreateTextureFromFileInMemoryEx");
  return texture;
}

float DepthLayerMaxZ(std::int32_t layer) { return static_cast<float>(1.0 - 2.0 * layer / 65535.0); }

void GraphicsSetDepthLayer(std::int32_t layer) {
  gfx::Device& device = Dev();
  gfx::Viewport viewport;
  CheckResult(device.GetViewport(viewport), "GetViewport");
  viewport.minZ = 0;
  viewport.maxZ = DepthLayerMaxZ(layer);
  CheckResult(device.SetViewport(viewport), "SetViewport");
}

void GraphicsSetTextureFactor(std::uint32_t surfaceFormat, std::uint32_t color) {
  CheckResult(Dev().SetRenderState(gfx::kRsTextureFactor, ColorForFormat(surfaceFormat, color)),
              "SetRenderState");
}

void GraphicsBeginFlatColor() {
  gfx::Device& device = Dev();
  CheckResult(device.SetTextureStageState(0, gfx::kTssColorOp, gfx::kTopSelectArg1), "SetTextureStageState");
  CheckResult(device.SetTextureStageState(0, gfx::kTssColorArg1, gfx::kTaTFactor), "SetTextureStageState");
  CheckResult(device.SetRenderState(gfx::kRsSrcBlend, gfx::kBlendOne), "SetRenderState");
  CheckResult(device.SetRenderState(gfx::kRsDestBlend, gfx::kBlendZero), "SetRenderState");
  CheckResult(device.SetRenderState(gfx::kRsSpecularEnable, 0), "SetRenderState");
}

void GraphicsEndFlatColor() {
  gfx::Device& device = Dev();
  CheckResult(device.SetTextureStageState(0, gfx::kTssColorOp, gfx::kTopModulate), "SetTextureStageState");
  CheckResult(device.SetTextureStageState(0, gfx::kTssColorArg1, gfx::kTaTexture), "SetTextureStageState");
}

void GraphicsSetRenderStateFloat(std::uint32_t state, float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  CheckResult(Dev().SetRenderState(state, bits), "SetRenderState");
}

gfx::Matrix MakeLookAtMatrix(float eyeX, float eyeY, float eyeZ, float atX, float atY, float atZ, float upX,
                             float upY, float upZ) {
  return gfx::MatrixLookAtLH({eyeX, eyeY, eyeZ}, {atX, atY, atZ}, {upX, upY, upZ});
}

void GraphicsPresent() {
  if (!graphics.direct3dDevice) return;
  if (graphics.direct3dDevice->TestCooperativeLevel() != gfx::kOk) return;
  graphics.direct3dDevice->Present();  // a failed present is dropped
}

}  // namespace kiv
