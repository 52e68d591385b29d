#pragma once
// Records what drawing code hands to the device instead of drawing it: every
// texture bind, every batch the quad batcher flushes and every quad in it with
// its vertices, in the order they happened. It installs itself through the
// batcher's SetBatchDrawer seam and the DrawDevice seam while it lives, and
// needs no device. More kinds of device calls can be added as events.
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
  kState,  // a device call of DeviceCall below
  kBeginScene,
  kEndScene,
  kClear,  // flags in state, colour in value, stencil in stage, z
  kResetViewport,
  kBeginFlatColor,
  kEndFlatColor,
  kPresent,
  // Milestones() names these state calls by kinds of their own.
  kVertexShader,
  kPixelShader,
  kVertexConstant,
  kPixelConstant,
  kDepthLayer,
  kTriangles,  // a triangle list or fan: primitive type in state, count in value, screen vertices
};

// Which device call a kState event records.
enum class DeviceCall {
  kRenderState,         // state, value
  kTextureStageState,   // stage, state (the type), value
  kTransform,           // state, matrix
  kVertexShader,        // value (handle or vertex format)
  kPixelShader,         // value
  kVertexConstant,      // state (register), constants
  kPixelConstant,       // state (register), constants
  kLight,               // state (index), light
  kLightEnable,         // state (index), value 0 or 1
  kDepthLayer,          // value
  kViewport,            // viewport
};

struct RecordedEvent {
  RecordedKind kind = RecordedKind::kFlush;
  std::uint32_t stage = 0;                // kBind
  const gfx::Texture* texture = nullptr;  // kBind
  std::size_t firstQuad = 0;              // kFlush: its quads in quads
  std::size_t quadCount = 0;
  std::uint32_t stride = 0;  // kFlush, kLines
  DeviceCall call = DeviceCall::kRenderState;  // kState
  std::uint32_t state = 0;
  std::uint32_t value = 0;
  gfx::Matrix matrix;
  std::vector<float> constants;
  gfx::Light light;
  float z = 0.0f;  // kClear
  gfx::Viewport viewport;
  std::vector<ScreenVertex> vertices;  // kTriangles of screen vertices
  std::vector<ColoredVertex> coloredVertices;  // kTriangles of coloured vertices
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
  // The kState events of one call, and of one state of that call.
  std::vector<RecordedEvent> Calls(DeviceCall call) const;
  std::vector<RecordedEvent> Calls(DeviceCall call, std::uint32_t state) const;
  // Render states answered to GetRenderState: what was set last, else the
  // value given here, else 0. Tests set the frame's defaults.
  std::array<std::uint32_t, 256> renderStates{};

  std::vector<RecordedQuad> quads;
  std::vector<RecordedEvent> events;

  void DrawPrimitiveUP(std::uint32_t primitiveType, std::uint32_t primitiveCount, const void* vertices,
                       std::uint32_t stride) override;
  void DrawIndexedPrimitiveUP(std::uint32_t primitiveType, std::uint32_t minIndex, std::uint32_t vertexCount,
                              std::uint32_t primitiveCount, const std::uint16_t* indices,
                              const void* vertices, std::uint32_t stride) override;
  void SetTexture(std::uint32_t stage, const gfx::TexturePtr& texture) override;
  void SetRenderState(std::uint32_t state, std::uint32_t value) override;
  std::uint32_t GetRenderState(std::uint32_t state) override;
  void SetTextureStageState(std::uint32_t stage, std::uint32_t type, std::uint32_t value) override;
  void SetTransform(std::uint32_t state, const gfx::Matrix& matrix) override;
  void SetVertexShader(std::uint32_t handle) override;
  void SetPixelShader(std::uint32_t handle) override;
  void SetVertexShaderConstant(std::uint32_t reg, const float* data, std::uint32_t count) override;
  void SetPixelShaderConstant(std::uint32_t reg, const float* data, std::uint32_t count) override;
  void SetLight(std::uint32_t index, const gfx::Light& light) override;
  void LightEnable(std::uint32_t index, bool enable) override;
  void SetDepthLayer(std::int32_t layer) override;
  void SetViewport(const gfx::Viewport& viewport) override;
  void BeginScene() override { Add(RecordedKind::kBeginScene); }
  void EndScene() override { Add(RecordedKind::kEndScene); }
  void Clear(std::uint32_t flags, std::uint32_t color, float z, std::uint32_t stencil) override;
  void ResetViewport() override { Add(RecordedKind::kResetViewport); }
  // The viewport set last; the whole back buffer before any.
  gfx::Viewport GetViewport() override;
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
  // The events in order without binds, flushes, render and stage states,
  // transforms and lights; shader, constant and depth-layer calls by their own kinds.
  std::vector<RecordedKind> Milestones() const;

 private:
  void RecordQuads(const void* vertices, std::size_t quadCount, std::uint32_t stride);
  RecordedEvent& Record(DeviceCall call, std::uint32_t state, std::uint32_t value);
  void Add(RecordedKind kind, std::uint32_t stage = 0, std::uint32_t state = 0, std::uint32_t value = 0);
};

}  // namespace kiv::test
