#pragma once
// Writers of the shared list formats at any format version, for reader tests.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/byte_list.h"
#include "core/identifier.h"
#include "core/record_codecs.h"
#include "core/variant.h"
#include "support/script_writer.h"

namespace kiv::test {

void WritePropertyListFixture(ByteList& buffer, std::int32_t& offset,
                              const std::vector<std::pair<std::u16string, Variant>>& entries);

struct TriggerFixture {
  std::u16string event;
  std::vector<std::u16string> parameters;
  ScriptFixture script;
};
// Parameters are left out of saved-state lists before 100673.
void WriteEventListFixture(ByteList& buffer, std::int32_t& offset, std::int32_t version, bool savedState,
                           const std::vector<TriggerFixture>& triggers);

struct FrameFixture {
  std::int32_t values[5] = {};
  float texture[4] = {};
  std::uint32_t extra[2] = {};
};
struct FrameGroupFixture {
  std::vector<FrameFixture> frames;
  std::int32_t cellWidth = 0, cellHeight = 0;  // from 100775
};
// Images are written in the current resource format.
void WriteImageFrameListsFixture(ByteList& buffer, std::int32_t& offset, std::int32_t version,
                                 const std::vector<EmbeddedResource>& images,
                                 const std::vector<FrameGroupFixture>& groups);

struct AttachmentFixture {
  Identifier spriteSetId;
  std::int32_t a = 0, b = 0, c = 0;
  std::uint8_t f = 0, g = 0;
  std::uint8_t e = 0;       // from 100638
  std::uint32_t color = 0;  // from 100638
  std::int32_t d = 0;       // from 100638
};
void WriteAttachmentListFixture(ByteList& buffer, std::int32_t& offset, std::int32_t version,
                                const std::vector<AttachmentFixture>& list);

void WriteTemplateFlagTableFixture(ByteList& buffer, std::int32_t& offset,
                                   const std::vector<std::pair<Identifier, std::uint8_t>>& table);

}  // namespace kiv::test
