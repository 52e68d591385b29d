#pragma once
// Records what drawing code hands to the device instead of drawing it: every
// texture bind, every batch the quad batcher flushes and every quad in it with
// its vertices, every scene, clear, render and stage state, shader, shader
// constant, viewport and depth-layer change, flat-colour switch and present,
// in the order they happened. It installs itself through the batcher's
// SetBatchDrawer seam and the DrawDevice seam while it lives, and needs no device.
#include <array>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "media/draw_device.h"
#include "media/quad_batcher.h"
#include "media/vertex_records.h"

namespace kiv::test {

// The batcher stores a quad's corners in this order.
enum QuadCorner { kBottomLeft = 0, kTopLeft = 1, kBottomRight = 2, kTopRight = 3 };

struct RecordedQuad {
  std::uint32_t stride = 0;  // sizeof the vertex kind: 32 screen or lit, 28 coloured
  std::array<std::uint8_t, 4 * sizeof(ScreenVertex)> bytes{};

  template <typename V>
  V Vertex(QuadCorner corner) const {
    V v;
    std::memcpy(&v, bytes.data() + static_cast<std::size_t>(corner) * sizeof(V), sizeof(V));
    return v;
  }
  ScreenVertex Screen(QuadCorner corner) const { return Vertex<ScreenVertex>(corner); }
  // A screen quad's corners as the caller placed them (the batcher shifts
  // them by half a pixel).
  float Left() const { return Screen(kTopLeft).x + 0.5f; }
  float Top() const { return Screen(kTopLeft).y + 0.5f; }
  float Right() const { return Screen(kBottomRight).x + 0.5f; }
  float Bottom() const { return Screen(kBottomRight).y + 0.5f; }
};

enum class RecordedKind {
  kBind,
  kFlush,
  kLines,
  kBeginScene,
  kEndScene,
  kClear,           // flags in state, colour in value, stencil in stage
  kRenderState,     // state, value
  kStageState,      // stage, state (the type), value
  kVertexShader,    // value: handle or vertex format
  kPixelShader,     // value
  kVertexConstant,  // state: register, value: count
  kPixelConstant,   // state: register, value: count
  kResetViewport,
  kDepthLayer,      // value
  kBeginFlatColor,
  kEndFlatColor,
  kPresent,
};

struct RecordedEvent {
  RecordedKind kind = RecordedKind::kFlush;
  std::uint32_t stage = 0;                // kBind
  const gfx::Texture* texture = nullptr;  // kBind
  std::size_t firstQuad = 0;              // kFlush: its quads in quads
  std::size_t quadCount = 0;
  std::uint32_t stride = 0;  // kFlush, kLines
  std::uint32_t state = 0;
  std::uint32_t value = 0;
  float z = 0.0f;  // kClear
};

class RecordingBatcher final : public BatchDrawer, public DrawDevice {
 public:
  RecordingBatcher();   // clears the batch and installs itself
  ~RecordingBatcher();  // restores the device seams and clears the batch
  RecordingBatcher(const RecordingBatcher&) = delete;
  RecordingBatcher& operator=(const RecordingBatcher&) = delete;

  // Forgets what was recorded; the lists keep their room.
  void Clear();
  std::size_t Count(RecordedKind kind) const;

  std::vector<RecordedQuad> quads;
  std::vector<RecordedEvent> events;

  void DrawPrimitiveUP(std::uint32_t primitiveType, std::uint32_t primitiveCount, const void* vertices,
                       std::uint32_t stride) override;
  void DrawIndexedPrimitiveUP(std::uint32_t primitiveType, std::uint32_t minIndex, std::uint32_t vertexCount,
                              std::uint32_t primitiveCount, const std::uint16_t* indices,
                              const void* vertices, std::uint32_t stride) override;
  void SetTexture(std::uint32_t stage, const gfx::TexturePtr& texture) override;
  void BeginScene() override { Add(RecordedKind::kBeginScene); }
  void EndScene() override { Add(RecordedKind::kEndScene); }
  void Clear(std::uint32_t flags, std::uint32_t color, float z, std::uint32_t stencil) override;
  void SetRenderState(std::uint32_t state, std::uint32_t value) override {
    Add(RecordedKind::kRenderState, 0, state, value);
  }
  void SetTextureStageState(std::uint32_t stage, std::uint32_t type, std::uint32_t value) override {
    Add(RecordedKind::kStageState, stage, type, value);
  }
  void SetVertexShader(std::uint32_t handle) override { Add(RecordedKind::kVertexShader, 0, 0, handle); }
  void SetPixelShader(std::uint32_t handle) override { Add(RecordedKind::kPixelShader, 0, 0, handle); }
  void SetVertexShaderConstant(std::uint32_t reg, const float*, std::uint32_t count) override {
    Add(RecordedKind::kVertexConstant, 0, reg, count);
  }
  void SetPixelShaderConstant(std::uint32_t reg, const float*, std::uint32_t count) override {
    Add(RecordedKind::kPixelConstant, 0, reg, count);
  }
  void ResetViewport() override { Add(RecordedKind::kResetViewport); }
  void SetDepthLayer(std::int32_t layer) override {
    Add(RecordedKind::kDepthLayer, 0, 0, static_cast<std::uint32_t>(layer));
  }
  void BeginFlatColor() override { Add(RecordedKind::kBeginFlatColor); }
  void EndFlatColor() override { Add(RecordedKind::kEndFlatColor); }
  void Present() override { Add(RecordedKind::kPresent); }
  std::uint32_t DepthStencilFormat() override { return depthStencilFormat; }
  std::uint32_t BackBufferWidth() override { return backBufferWidth; }
  std::uint32_t BackBufferHeight() override { return backBufferHeight; }

  // What the recorder answers for the presentation parameters.
  std::uint32_t depthStencilFormat = 0;
  std::uint32_t backBufferWidth = 640;
  std::uint32_t backBufferHeight = 480;

  // The render states set, in order, as (state, value) pairs.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> RenderStates() const;
  // The kinds of the events, in order, without binds, flushes and states.
  std::vector<RecordedKind> Milestones() const;

 private:
  void RecordQuads(const void* vertices, std::size_t quadCount, std::uint32_t stride);
  void Add(RecordedKind kind, std::uint32_t stage = 0, std::uint32_t state = 0, std::uint32_t value = 0);
};

}  // namespace kiv::test
