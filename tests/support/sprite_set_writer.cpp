#include "support/sprite_set_writer.h"

#include "core/data_buffer.h"
#include "support/buffer_writer.h"
#include "support/collision_shape_writer.h"
#include "support/resource_header_writer.h"

namespace kiv::test {

namespace {

std::int32_t LastOf(std::size_t size) { return static_cast<std::int32_t>(size) - 1; }

void WriteScript(ByteList& b, std::int32_t& o, const ScriptFixture& script) {
  WriteScriptFixture(b, o, script);
}

void WriteShape(ByteList& b, std::int32_t& o, const CollisionShape& shape, std::int32_t version) {
  BufferWriter writer;
  WriteCollisionShape(writer, shape, version);
  BufferWriteBytes(b, writer.Bytes().data(), writer.Size(), o);
}

void WriteFrames(ByteList& b, std::int32_t& o, const FrameGroupFixture& group) {
  BufferWriteLong(b, LastOf(group.frames.size()), o);
  for (const auto& frame : group.frames) {
    for (std::int32_t v : frame.values) BufferWriteLong(b, v, o);
    for (float t : frame.texture) BufferWriteSingle(b, t, o);
    for (std::uint32_t x : frame.extra) BufferWriteLong(b, static_cast<std::int32_t>(x), o);
  }
}

void WriteLayer(ByteList& b, std::int32_t& o, std::int32_t v, const SpriteLayerFixture& layer) {
  const bool inlineGroups = v < 100762;
  if (inlineGroups) BufferWriteLong(b, -1, o);  // no images
  std::vector<std::int32_t> entries = layer.entryValues;
  if (entries.empty()) entries.assign(layer.groups.size(), 100);
  BufferWriteLong(b, LastOf(entries.size()), o);
  for (std::size_t j = 0; j < entries.size(); ++j) {
    BufferWriteLong(b, entries[j], o);
    const FrameGroupFixture group = j < layer.groups.size() ? layer.groups[j] : FrameGroupFixture();
    if (v <= 100774) {
      BufferWriteLong(b, group.cellWidth, o);
      BufferWriteLong(b, group.cellHeight, o);
    }
    if (inlineGroups) WriteFrames(b, o, group);
  }
  if (!inlineGroups) WriteImageFrameListsFixture(b, o, v, layer.images, layer.groups);
  for (const ScriptFixture& script : layer.scripts) WriteScript(b, o, script);
  BufferWriteString(b, layer.text, o);
  BufferWriteLong(b, layer.slot, o);
  if (v >= 100765) BufferWriteLong(b, layer.value, o);
  BufferWriteLong(b, layer.particleLifeMin, o);
  BufferWriteLong(b, layer.particleLifeMax, o);
  BufferWriteLong(b, layer.emissionIntervalMin, o);
  BufferWriteLong(b, layer.emissionIntervalMax, o);
  for (int i = 0; i < 4 + 12; ++i) BufferWriteSingle(b, 0.5f, o);  // ranges P and S
  BufferWriteLong(b, static_cast<std::int32_t>(layer.startColorA), o);
  BufferWriteLong(b, static_cast<std::int32_t>(layer.startColorB), o);
  BufferWriteLong(b, static_cast<std::int32_t>(layer.endColorA), o);
  BufferWriteLong(b, static_cast<std::int32_t>(layer.endColorB), o);
  for (int i = 0; i < 4; ++i) BufferWriteSingle(b, 0.25f, o);  // ranges Q
  BufferWriteLong(b, layer.flags, o);
  for (int i = 0; i < 6; ++i) BufferWriteSingle(b, 2.0f, o);  // spread R
  BufferWriteLong(b, layer.emissionLimitMin, o);
  BufferWriteLong(b, layer.emissionLimitMax, o);
  BufferWriteByte(b, layer.byteT, o);
  BufferWriteLong(b, layer.valueK, o);
}

void WritePart(ByteList& b, std::int32_t& o, const FramePartFixture& p) {
  for (std::int32_t v : {p.id, p.keyBits, p.kind, p.index, p.x, p.y, p.z, static_cast<std::int32_t>(p.color)})
    BufferWriteLong(b, v, o);
  for (float f : {p.scaleX, p.scaleY, p.scaleZ, p.rotation.x, p.rotation.y, p.rotation.z, p.rotation.w})
    BufferWriteSingle(b, f, o);
}

void WriteDirection(ByteList& b, std::int32_t& o, std::int32_t v, const SpriteDirectionFixture& d) {
  WriteShape(b, o, d.collision, v);
  BufferWriteLong(b, d.frameDuration, o);
  BufferWriteByte(b, d.byteO, o);
  BufferWriteLong(b, LastOf(d.layers.size()), o);
  for (const auto& layer : d.layers) WriteLayer(b, o, v, layer);
  BufferWriteLong(b, d.slotLast.value_or(LastOf(d.slotValues.size())), o);
  for (std::int32_t value : d.slotValues) BufferWriteLong(b, value, o);
  BufferWriteLong(b, LastOf(d.frames.size()), o);
  for (const auto& frame : d.frames) {
    BufferWriteLong(b, LastOf(frame.size()), o);
    for (const auto& part : frame) WritePart(b, o, part);
  }
}

void WriteFlagTable(ByteList& b, std::int32_t& o,
                    const std::vector<std::pair<Identifier, std::uint8_t>>& table) {
  BufferWriteLong(b, LastOf(table.size()), o);
  for (const auto& [id, flag] : table) {
    BufferWriteIdentifier(b, id, o);
    BufferWriteByte(b, flag, o);
  }
}

}  // namespace

SpriteLayerFixture::SpriteLayerFixture() { scripts.fill(LongEmptyScript()); }

ScriptFixture LongEmptyScript() {
  ScriptFixture script;
  script.shortForm = false;
  return script;
}

ScriptFixture LongScriptWithStatement() {
  ScriptFixture script = LongEmptyScript();
  ScriptStatementFixture statement;
  statement.tokens = {{2, Variant::Text(u"End"), {}}};
  script.statements = {statement};
  script.hasStatements = true;
  return script;
}

void WriteEmptyImage(ByteList& buffer, std::int32_t& offset, std::int32_t version) {
  if (version >= 100747) {
    BufferWriteByte(buffer, 0, offset);
  } else {
    BufferWriteLong(buffer, 0, offset);
  }
}

void WriteImageOrEmpty(ByteList& buffer, std::int32_t& offset, std::int32_t version, const EmbeddedResource& image) {
  if (image.mode == 0) {
    WriteEmptyImage(buffer, offset, version);
  } else {
    WriteImageSource(buffer, image, offset);
  }
}

ByteList SpriteSetFileBytes(const SpriteSetFixture& s) {
  const std::int32_t v = s.version;
  ByteList b;
  std::int32_t o = 0;
  BufferWriteIdentifier(b, s.id, o);
  BufferWriteLong(b, s.valueA, o);
  if (v >= 100776) BufferWriteByte(b, s.byteN, o);
  BufferWriteString(b, s.name, o);
  BufferWriteString(b, s.displayName, o);
  if (v >= 100733) WriteEmptyImage(b, o, v);
  BufferWriteByte(b, s.flags, o);
  BufferWriteString(b, s.category, o);
  if (v >= 100764) WriteEmptyImage(b, o, v);
  if (v >= 100763) BufferWriteString(b, s.kindName, o);
  BufferWriteString(b, s.symbolB, o);
  WriteFlagTable(b, o, s.spriteFlags);
  if (v >= 100766) BufferWriteLong(b, s.linkValueLast, o);
  BufferWriteLong(b, LastOf(s.links.size()), o);
  for (const auto& link : s.links) {
    BufferWriteString(b, link.name, o);
    BufferWriteIdentifier(b, link.spriteSetId, o);
    for (std::int32_t value : link.values) BufferWriteLong(b, value, o);
  }
  WriteFlagTable(b, o, s.templateFlags);
  for (std::int32_t value : s.valuesCtoH) BufferWriteLong(b, value, o);
  BufferWriteBytes(b, s.blockI.data(), static_cast<std::int32_t>(s.blockI.size()), o);
  BufferWriteLong(b, s.valueJ, o);
  WriteEmptyImage(b, o, v);
  WriteEmptyImage(b, o, v);
  BufferWriteLong(b, s.slot, o);
  if (v >= 100748) WriteColorBytes(b, ColorRecord{}, o);
  BufferWriteLong(b, s.ownPoseCount.value_or(static_cast<std::int32_t>(s.poses.size()) - 15), o);
  BufferWriteLong(b, s.lastStandard, o);
  for (std::size_t e = 0; e < s.poses.size(); ++e) {
    const std::int32_t pose = static_cast<std::int32_t>(e);
    if (pose > s.lastStandard && pose < 15) continue;
    if (pose >= 15) BufferWriteString(b, s.poses[e].name, o);
    for (const auto& direction : s.poses[e].directions) WriteDirection(b, o, v, direction);
  }
  b.resize(static_cast<std::size_t>(o));
  return MakeResourceFile(v, b);
}

}  // namespace kiv::test
