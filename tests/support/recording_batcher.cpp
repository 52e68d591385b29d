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

}  // namespace kiv::test
