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
  // The slotted format and the slot textures for this draw only; the stage-0
  // texture is left as the slot-0 texture.
  void DrawSlottedQuads(std::uint32_t vertexCount, std::uint32_t count, const std::uint16_t* indices,
                        const SlottedVertex* vertices, const gfx::TexturePtr* textures,
                        std::uint32_t textureCount) override {
    gfx::Device& device = Device();
    const std::uint32_t format = device.GetVertexShader();
    CheckResult(device.SetVertexShader(kSlottedVertexFormat), "SetVertexShader");
    if (textureCount > 0) CheckResult(device.SetTexture(0, textures[0]), "SetTexture");
    for (std::uint32_t slot = 1; slot < textureCount; ++slot)
      CheckResult(device.SetSlotTexture(slot, textures[slot]), "SetSlotTexture");
    CheckResult(device.DrawIndexedPrimitiveUP(gfx::kPrimTriangleList, 0, vertexCount, count, indices, gfx::kIndex16,
                                              vertices, sizeof(SlottedVertex)),
                "DrawIndexedPrimitiveUP");
    CheckResult(device.SetVertexShader(format), "SetVertexShader");
  }
};
}  // namespace

BatchDrawer& DefaultBatchDrawer() {
  static DeviceDrawer drawer;
  return drawer;
}

}  // namespace kiv
