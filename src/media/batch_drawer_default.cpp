#include "media/batch_drawer_default.h"

#include "core/error.h"
#include "media/graphics.h"

namespace kiv {

namespace {
gfx::Device& Device() {
  if (!graphics.direct3dDevice) RaiseError(91, "The Direct3D device is not created.");
  return *graphics.direct3dDevice;
}

class DeviceDrawer final : public BatchDrawer {
 public:
  void DrawPrimitiveUP(std::uint32_t type, std::uint32_t count, const void* vertices,
                       std::uint32_t stride) override {
    CheckResult(Device().DrawPrimitiveUP(type, count, vertices, stride), "DrawPrimitiveUP");
  }
  void DrawIndexedPrimitiveUP(std::uint32_t type, std::uint32_t minIndex, std::uint32_t vertexCount,
                              std::uint32_t count, const std::uint16_t* indices, const void* vertices,
                              std::uint32_t stride) override {
    CheckResult(Device().DrawIndexedPrimitiveUP(type, minIndex, vertexCount, count, indices, gfx::kIndex16,
                                                vertices, stride),
                "DrawIndexedPrimitiveUP");
  }
};
}  // namespace

BatchDrawer& DefaultBatchDrawer() {
  static DeviceDrawer drawer;
  return drawer;
}

}  // namespace kiv
