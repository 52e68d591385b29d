#pragma once
// A hidden window with a windowed device, and pixel read-back for checks.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/device.h"
#include "platform/gfx/direct3d.h"
#include "platform/gfx/window.h"

namespace kiv::gfx::test {

class DeviceTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 64, kHeight = 48;

  void SetUp() override {
    d3d = Direct3D::Create();
    ASSERT_TRUE(d3d);
    window = std::make_unique<Window>("test", kWidth, kHeight, false, true);
    PresentParameters pp;
    pp.windowed = 1;
    pp.swapEffect = kSwapDiscard;
    pp.backBufferFormat = kFmtX8R8G8B8;
    pp.deviceWindow = window.get();
    pp.enableAutoDepthStencil = 1;
    pp.autoDepthStencilFormat = kFmtD24S8;
    ASSERT_EQ(d3d->CreateDevice(0, kDevTypeHal, kCreateHardwareVertexProcessing, pp, device), kOk);
    ASSERT_EQ(device->SetRenderState(kRsLighting, 0), kOk);
  }
  void TearDown() override {
    device.reset();
    window.reset();
  }

  // ARGB of a back-buffer pixel.
  std::uint32_t Pixel(int x, int y) {
    SurfacePtr back;
    device->GetBackBuffer(back);
    return ReadPixel(*back, x, y);
  }
  static std::uint32_t ReadPixel(Surface& surface, int x, int y) {
    LockedRect locked;
    Rect r{x, y, x + 1, y + 1};
    if (surface.LockRect(locked, &r, 0) != kOk) return 0xDEADBEEF;
    std::uint32_t v = locked.bits[0] | locked.bits[1] << 8 | locked.bits[2] << 16 |
                      static_cast<std::uint32_t>(locked.bits[3]) << 24;
    surface.UnlockRect();
    return v;
  }
  std::uint32_t Rgb(int x, int y) { return Pixel(x, y) & 0xFFFFFF; }

  std::unique_ptr<Direct3D> d3d;
  std::unique_ptr<Window> window;
  std::unique_ptr<Device> device;
};

struct TVertex {  // 0x1C4
  float x, y, z, rhw;
  std::uint32_t diffuse, specular;
  float tu, tv;
};
struct CVertex {  // 0x1C2
  float x, y, z;
  std::uint32_t diffuse, specular;
  float tu, tv;
};

// A screen quad from (left, top) to (right, bottom) as a triangle strip.
inline std::vector<TVertex> ScreenQuad(float left, float top, float right, float bottom, std::uint32_t color) {
  return {{left, bottom, 0, 1, color, 0, 0, 1},
          {left, top, 0, 1, color, 0, 0, 0},
          {right, bottom, 0, 1, color, 0, 1, 1},
          {right, top, 0, 1, color, 0, 1, 0}};
}

}  // namespace kiv::gfx::test
