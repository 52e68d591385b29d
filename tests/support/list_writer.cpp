#include "support/list_writer.h"

#include "core/data_buffer.h"

namespace kiv::test {

namespace {
std::int32_t LastOf(std::size_t size) { return static_cast<std::int32_t>(size) - 1; }
}  // namespace

void WritePropertyListFixture(ByteList& buffer, std::int32_t& offset,
                              const std::vector<std::pair<std::u16string, Variant>>& entries) {
  BufferWriteLong(buffer, LastOf(entries.size()), offset);
  for (const auto& [name, value] : entries) {
    BufferWriteString(buffer, name, offset);
    BufferWriteVariant(buffer, value, offset);
  }
}

void WriteEventListFixture(ByteList& buffer, std::int32_t& offset, std::int32_t version, bool savedState,
                           const std::vector<TriggerFixture>& triggers) {
  BufferWriteLong(buffer, LastOf(triggers.size()), offset);
  for (const TriggerFixture& trigger : triggers) {
    BufferWriteString(buffer, trigger.event, offset);
    if (!savedState || version >= 100673) {
      BufferWriteLong(buffer, LastOf(trigger.parameters.size()), offset);
      for (const auto& parameter : trigger.parameters) BufferWriteString(buffer, parameter, offset);
    }
    ScriptFixture script = trigger.script;
    script.shortForm = savedState;
    WriteScriptFixture(buffer, offset, script);
  }
}

void WriteImageFrameListsFixture(ByteList& buffer, std::int32_t& offset, std::int32_t version,
                                 const std::vector<EmbeddedResource>& images,
                                 const std::vector<FrameGroupFixture>& groups) {
  BufferWriteLong(buffer, LastOf(images.size()), offset);
  for (const auto& image : images) WriteImageSource(buffer, image, offset);
  BufferWriteLong(buffer, LastOf(groups.size()), offset);
  for (const auto& group : groups) {
    BufferWriteLong(buffer, LastOf(group.frames.size()), offset);
    for (const auto& frame : group.frames) {
      for (std::int32_t v : frame.values) BufferWriteLong(buffer, v, offset);
      for (float t : frame.texture) BufferWriteSingle(buffer, t, offset);
      for (std::uint32_t x : frame.extra) BufferWriteLong(buffer, static_cast<std::int32_t>(x), offset);
    }
    if (version >= 100775) {
      BufferWriteLong(buffer, group.cellWidth, offset);
      BufferWriteLong(buffer, group.cellHeight, offset);
    }
  }
}

void WriteAttachmentListFixture(ByteList& buffer, std::int32_t& offset, std::int32_t version,
                                const std::vector<AttachmentFixture>& list) {
  BufferWriteLong(buffer, LastOf(list.size()), offset);
  for (const auto& a : list) {
    BufferWriteIdentifier(buffer, a.spriteSetId, offset);
    BufferWriteLong(buffer, a.a, offset);
    BufferWriteLong(buffer, a.b, offset);
    BufferWriteLong(buffer, a.c, offset);
    BufferWriteByte(buffer, a.f, offset);
    BufferWriteByte(buffer, a.g, offset);
    if (version >= 100638) {
      BufferWriteByte(buffer, a.e, offset);
      BufferWriteLong(buffer, static_cast<std::int32_t>(a.color), offset);
      BufferWriteLong(buffer, a.d, offset);
    }
  }
}

void WriteTemplateFlagTableFixture(ByteList& buffer, std::int32_t& offset,
                                   const std::vector<std::pair<Identifier, std::uint8_t>>& table) {
  BufferWriteLong(buffer, LastOf(table.size()), offset);
  for (const auto& [id, flag] : table) {
    BufferWriteIdentifier(buffer, id, offset);
    BufferWriteByte(buffer, flag, offset);
  }
}

}  // namespace kiv::test
