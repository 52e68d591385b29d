#pragma once
// The quad batcher: textured rectangles of one vertex kind are collected into
// a growing array and handed to the device in one draw per batch (at most 8191
// quads). It knows nothing of textures or states: callers set those and flush
// before they change any of them.
#include <array>
#include <cstdint>
#include <vector>

#include "media/vertex_records.h"
#include "platform/gfx/d3d_types.h"
#include "platform/gfx/resources.h"

namespace kiv {

// Where a flush draws. The default draws on the device of the graphics
// globals; tests install a recorder.
class BatchDrawer {
 public:
  virtual ~BatchDrawer() = default;
  virtual void DrawPrimitiveUP(std::uint32_t primitiveType, std::uint32_t primitiveCount, const void* vertices,
                               std::uint32_t stride) = 0;
  virtual void DrawIndexedPrimitiveUP(std::uint32_t primitiveType, std::uint32_t minIndex,
                                      std::uint32_t vertexCount, std::uint32_t primitiveCount,
                                      const std::uint16_t* indices, const void* vertices,
                                      std::uint32_t stride) = 0;
  // Quads that pick their texture by slot from TEXTURES (slot 0 first) and
  // carry their depth layer. The default hands them on as coloured vertices,
  // without the textures and depth layers: for drawers that only record.
  virtual void DrawSlottedQuads(std::uint32_t vertexCount, std::uint32_t primitiveCount,
                                const std::uint16_t* indices, const SlottedVertex* vertices,
                                const gfx::TexturePtr* textures, std::uint32_t textureCount);
};

// nullptr restores the device drawer.
void SetBatchDrawer(BatchDrawer* drawer);
// The installed drawer, else the device drawer: for callers that draw their
// own strips beside the batches.
BatchDrawer& CurrentBatchDrawer();

// The one batch state of the program. The arrays only ever grow.
struct QuadBatchState {
  std::int32_t indexCount = 0;
  std::int16_t vertexCount = 0;  // shared by all kinds
  std::vector<std::uint16_t> indices;
  std::vector<ScreenVertex> screen = std::vector<ScreenVertex>(5);
  std::vector<ColoredVertex> colored = std::vector<ColoredVertex>(5);
  std::vector<LitVertex> lit = std::vector<LitVertex>(5);
  std::int32_t screenCount = 0, coloredCount = 0, litCount = 0;
  // While slotting, coloured quads are kept as slotted vertices with the
  // current depth scale and texture slot, so that quads of several depth
  // layers and up to eight textures make one draw. Only drawing that changes
  // no other state between its quads turns it on (see DrawDevice::BeginQuadSlots).
  std::vector<SlottedVertex> slotted = std::vector<SlottedVertex>(5);
  std::int32_t slottedCount = 0;
  bool slotting = false;
  bool slotsAllowed = true;  // tests turn slotting off to compare
  float depthScale = 1;
  std::uint32_t slot = 0;
  std::array<gfx::TexturePtr, gfx::kTextureSlotCount> slotTextures{};
  std::uint32_t slotTextureCount = 0;

  // Fresh arrays of five entries each (device start-up), or enough for the
  // pending quads: the index list and the counts carry over.
  void CreateArrays();
  void Reset();  // everything, for tests
};
extern QuadBatchState quadBatch;

inline constexpr std::int32_t kMaxBatchVertices = 32762;  // the 8191st quad flushes

struct TexPair {
  float tu = 0, tv = 0;
};

void QuadAddScreen(float x, float y, float width, float height, float tu1, float tv1, float tu2, float tv2,
                   std::uint32_t diffuse, std::uint32_t specular);
void QuadAddScreenGradient(float x, float y, float width, float height, TexPair tl, TexPair tr, TexPair br,
                           TexPair bl, std::uint32_t diffuseTL, std::uint32_t diffuseTR,
                           std::uint32_t diffuseBL, std::uint32_t diffuseBR, std::uint32_t specular);
void QuadAddScreenRotated(float x, float y, float width, float height, float tu1, float tv1, float tu2,
                          float tv2, std::uint32_t diffuse, std::uint32_t specular, float angle);
void QuadAddScreenQuaternion(float x, float y, float width, float height, float qx, float qy, float qz,
                             float qw, float tu1, float tv1, float tu2, float tv2, std::uint32_t diffuse,
                             std::uint32_t specular, float scaleX, float scaleY);
void QuadAddFlat3D(float x, float y, float z, float width, float height, float dz, float tu1, float tv1,
                   float tu2, float tv2, std::uint32_t diffuse, std::uint32_t specular);
void QuadAddColored3D(float x, float y, float z, float dx, float dy, float dz, TexPair tl, TexPair tr,
                      TexPair br, TexPair bl, std::uint32_t diffuseTL, std::uint32_t diffuseTR,
                      std::uint32_t diffuseBL, std::uint32_t diffuseBR, std::uint32_t specular);
void QuadAddLit3D(float x, float y, float z, float dx, float dy, float dz, TexPair tl, TexPair tr, TexPair br,
                  TexPair bl, float nx, float ny, float nz);
void QuadAddBillboard(float x, float y, float z, float width, float height, const gfx::Matrix& m, float tu1,
                      float tv1, float tu2, float tv2, std::uint32_t diffuse, std::uint32_t specular,
                      float scaleX, float scaleY);
void QuadAddBillboardRotated(float x, float y, float z, float width, float height, const gfx::Matrix& m,
                             float tu1, float tv1, float tu2, float tv2, std::uint32_t diffuse,
                             std::uint32_t specular, float angle, float scaleX, float scaleY);
void QuadAdd3DQuaternion(float x, float y, float z, float width, float height, float depth, float qx, float qy,
                         float qz, float qw, float tu1, float tv1, float tu2, float tv2, std::uint32_t diffuse,
                         std::uint32_t specular, float scaleX, float scaleY);

// The slot of TEXTURE for the next slotted quads: a slot it has, else a free
// one, else the pending quads are drawn and the slots start again.
void QuadBatchUseTexture(const gfx::TexturePtr& texture);
void QuadBatchFlushSlotted();
// Slotting on, or off after drawing what is pending; the slots are emptied.
void QuadBatchSetSlotting(bool on);

void QuadBatchFlushScreen();
void QuadBatchFlushColored3D();
void QuadBatchFlushLit3D();
void QuadBatchCommitScreen();
void QuadBatchCommitColored3D();  // slotted quads while slotting
void QuadBatchCommitLit3D();

// Lines are drawn at once from small arrays of their own, so pending quads
// are never overwritten.
void LineDrawScreen(float x1, float y1, float x2, float y2, float tu1, float tv1, float tu2, float tv2,
                    std::uint32_t diffuse, std::uint32_t specular);
void LineDraw3D(float x1, float y1, float z1, float x2, float y2, float z2, float tu1, float tv1, float tu2,
                float tv2, std::uint32_t diffuse, std::uint32_t specular);

}  // namespace kiv
