#include "support/recording_batcher.h"

#include <algorithm>

namespace kiv::test {

RecordingBatcher::RecordingBatcher() {
  quadBatch.Reset();
  SetBatchDrawer(this);
  SetDrawDevice(this);
}

RecordingBatcher::~RecordingBatcher() {
  SetBatchDrawer(nullptr);
  SetDrawDevice(nullptr);
  quadBatch.Reset();
}

void RecordingBatcher::Clear() {
  quads.clear();
  events.clear();
}

std::size_t RecordingBatcher::Count(RecordedKind kind) const {
  return static_cast<std::size_t>(
      std::count_if(events.begin(), events.end(), [kind](const RecordedEvent& e) { return e.kind == kind; }));
}

void RecordingBatcher::RecordQuads(const void* vertices, std::size_t quadCount, std::uint32_t stride) {
  RecordedEvent flush;
  flush.kind = RecordedKind::kFlush;
  flush.firstQuad = quads.size();
  flush.quadCount = quadCount;
  flush.stride = stride;
  events.push_back(flush);
  const auto* bytes = static_cast<const std::uint8_t*>(vertices);
  const std::size_t quadBytes = std::min<std::size_t>(4u * stride, RecordedQuad().bytes.size());
  for (std::size_t q = 0; q < quadCount; ++q) {
    RecordedQuad& quad = quads.emplace_back();
    quad.stride = stride;
    std::memcpy(quad.bytes.data(), bytes + q * 4u * stride, quadBytes);
  }
}

void RecordingBatcher::DrawPrimitiveUP(std::uint32_t primitiveType, std::uint32_t primitiveCount,
                                       const void* vertices, std::uint32_t stride) {
  if (primitiveType == gfx::kPrimTriangleList || primitiveType == gfx::kPrimTriangleFan) {
    RecordedEvent triangles;
    triangles.kind = RecordedKind::kTriangles;
    triangles.state = primitiveType;
    triangles.value = primitiveCount;
    triangles.stride = stride;
    const std::size_t count =
        primitiveType == gfx::kPrimTriangleList ? 3u * primitiveCount : std::size_t{primitiveCount} + 2u;
    if (stride == sizeof(ScreenVertex)) {
      triangles.vertices.resize(count);
      std::memcpy(triangles.vertices.data(), vertices, count * sizeof(ScreenVertex));
    } else if (stride == sizeof(ColoredVertex)) {
      triangles.coloredVertices.resize(count);
      std::memcpy(triangles.coloredVertices.data(), vertices, count * sizeof(ColoredVertex));
    }
    events.push_back(std::move(triangles));
    return;
  }
  if (primitiveType == gfx::kPrimLineList) {
    RecordedEvent lines;
    lines.kind = RecordedKind::kLines;
    lines.stride = stride;
    events.push_back(lines);
    return;
  }
  // The batcher draws a lone quad as a strip of two triangles.
  RecordQuads(vertices, 1, stride);
}

void RecordingBatcher::DrawIndexedPrimitiveUP(std::uint32_t, std::uint32_t, std::uint32_t vertexCount,
                                              std::uint32_t, const std::uint16_t*, const void* vertices,
                                              std::uint32_t stride) {
  RecordQuads(vertices, vertexCount / 4, stride);
}

void RecordingBatcher::SetTexture(std::uint32_t stage, const gfx::TexturePtr& texture) {
  RecordedEvent bind;
  bind.kind = RecordedKind::kBind;
  bind.stage = stage;
  bind.texture = texture.get();
  events.push_back(bind);
}

gfx::Viewport RecordingBatcher::GetViewport() {
  for (auto e = events.rbegin(); e != events.rend(); ++e) {
    if (e->kind == RecordedKind::kResetViewport) break;
    if (e->kind == RecordedKind::kState && e->call == DeviceCall::kViewport) return e->viewport;
  }
  gfx::Viewport whole;
  whole.width = backBufferWidth;
  whole.height = backBufferHeight;
  return whole;
}

std::vector<RecordedEvent> RecordingBatcher::Calls(DeviceCall call) const {
  std::vector<RecordedEvent> out;
  for (const RecordedEvent& e : events)
    if (e.kind == RecordedKind::kState && e.call == call) out.push_back(e);
  return out;
}

std::vector<RecordedEvent> RecordingBatcher::Calls(DeviceCall call, std::uint32_t state) const {
  std::vector<RecordedEvent> out;
  for (const RecordedEvent& e : Calls(call))
    if (e.state == state) out.push_back(e);
  return out;
}

RecordedEvent& RecordingBatcher::Record(DeviceCall call, std::uint32_t state, std::uint32_t value) {
  RecordedEvent& e = events.emplace_back();
  e.kind = RecordedKind::kState;
  e.call = call;
  e.state = state;
  e.value = value;
  return e;
}

void RecordingBatcher::SetRenderState(std::uint32_t state, std::uint32_t value) {
  Record(DeviceCall::kRenderState, state, value);
  if (state < renderStates.size()) renderStates[state] = value;
}

std::uint32_t RecordingBatcher::GetRenderState(std::uint32_t state) {
  return state < renderStates.size() ? renderStates[state] : 0;
}

void RecordingBatcher::SetTextureStageState(std::uint32_t stage, std::uint32_t type, std::uint32_t value) {
  Record(DeviceCall::kTextureStageState, type, value).stage = stage;
}

void RecordingBatcher::SetTransform(std::uint32_t state, const gfx::Matrix& matrix) {
  Record(DeviceCall::kTransform, state, 0).matrix = matrix;
}

void RecordingBatcher::SetVertexShader(std::uint32_t handle) { Record(DeviceCall::kVertexShader, 0, handle); }

void RecordingBatcher::SetPixelShader(std::uint32_t handle) { Record(DeviceCall::kPixelShader, 0, handle); }

void RecordingBatcher::SetVertexShaderConstant(std::uint32_t reg, const float* data, std::uint32_t count) {
  Record(DeviceCall::kVertexConstant, reg, count).constants.assign(data, data + 4u * count);
}

void RecordingBatcher::SetPixelShaderConstant(std::uint32_t reg, const float* data, std::uint32_t count) {
  Record(DeviceCall::kPixelConstant, reg, count).constants.assign(data, data + 4u * count);
}

void RecordingBatcher::SetLight(std::uint32_t index, const gfx::Light& light) {
  Record(DeviceCall::kLight, index, 0).light = light;
}

void RecordingBatcher::LightEnable(std::uint32_t index, bool enable) {
  Record(DeviceCall::kLightEnable, index, enable ? 1u : 0u);
}

void RecordingBatcher::SetDepthLayer(std::int32_t layer) {
  Record(DeviceCall::kDepthLayer, 0, static_cast<std::uint32_t>(layer));
}

void RecordingBatcher::SetViewport(const gfx::Viewport& viewport) {
  Record(DeviceCall::kViewport, 0, 0).viewport = viewport;
}

void RecordingBatcher::Add(RecordedKind kind, std::uint32_t stage, std::uint32_t state, std::uint32_t value) {
  RecordedEvent& e = events.emplace_back();
  e.kind = kind;
  e.stage = stage;
  e.state = state;
  e.value = value;
}

void RecordingBatcher::Clear(std::uint32_t flags, std::uint32_t color, float z, std::uint32_t stencil) {
  Add(RecordedKind::kClear, stencil, flags, color);
  events.back().z = z;
}

std::vector<std::pair<std::uint32_t, std::uint32_t>> RecordingBatcher::RenderStates() const {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> states;
  for (const RecordedEvent& e : Calls(DeviceCall::kRenderState)) states.emplace_back(e.state, e.value);
  return states;
}

std::vector<RecordedKind> RecordingBatcher::Milestones() const {
  std::vector<RecordedKind> kinds;
  for (const RecordedEvent& e : events) {
    if (e.kind == RecordedKind::kBind || e.kind == RecordedKind::kFlush) continue;
    if (e.kind != RecordedKind::kState) {
      kinds.push_back(e.kind);
      continue;
    }
    switch (e.call) {
      case DeviceCall::kVertexShader: kinds.push_back(RecordedKind::kVertexShader); break;
      case DeviceCall::kPixelShader: kinds.push_back(RecordedKind::kPixelShader); break;
      case DeviceCall::kVertexConstant: kinds.push_back(RecordedKind::kVertexConstant); break;
      case DeviceCall::kPixelConstant: kinds.push_back(RecordedKind::kPixelConstant); break;
      case DeviceCall::kDepthLayer: kinds.push_back(RecordedKind::kDepthLayer); break;
      default: break;
    }
  }
  return kinds;
}

}  // namespace kiv::test
