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

void RecordingBatcher::DrawPrimitiveUP(std::uint32_t primitiveType, std::uint32_t, const void* vertices,
                                       std::uint32_t stride) {
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

void RecordingBatcher::Add(RecordedKind kind, std::uint32_t stage, std::uint32_t state, std::uint32_t value) {
  RecordedEvent event;
  event.kind = kind;
  event.stage = stage;
  event.state = state;
  event.value = value;
  events.push_back(event);
}

void RecordingBatcher::Clear(std::uint32_t flags, std::uint32_t color, float z, std::uint32_t stencil) {
  Add(RecordedKind::kClear, stencil, flags, color);
  events.back().z = z;
}

std::vector<std::pair<std::uint32_t, std::uint32_t>> RecordingBatcher::RenderStates() const {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> states;
  for (const RecordedEvent& e : events) {
    if (e.kind == RecordedKind::kRenderState) states.emplace_back(e.state, e.value);
  }
  return states;
}

std::vector<RecordedKind> RecordingBatcher::Milestones() const {
  std::vector<RecordedKind> kinds;
  for (const RecordedEvent& e : events) {
    switch (e.kind) {
      case RecordedKind::kBind:
      case RecordedKind::kFlush:
      case RecordedKind::kRenderState:
      case RecordedKind::kStageState:
        break;
      default:
        kinds.push_back(e.kind);
    }
  }
  return kinds;
}

}  // namespace kiv::test
