#include "support/actor_template_writer.h"

#include "core/data_buffer.h"
#include "support/map_object_writer.h"
#include "support/resource_header_writer.h"
#include "support/sprite_set_writer.h"

namespace kiv::test {

ByteList ActorTemplateFileBytes(const ActorTemplateFixture& s) {
  const std::int32_t v = s.version;
  ByteList b;
  std::int32_t o = 0;
  WriteSetIdentifier(b, o, s.id, v);
  BufferWriteString(b, s.name, o);
  if (v >= 100629) BufferWriteString(b, s.displayName, o);
  if (v == 100634) {
    Identifier padding;
    IdFill(padding, 0xCD);
    BufferWriteIdentifier(b, padding, o);
  }
  if (v >= 100623) WriteEmptyImage(b, o, v);
  if (v >= 100616) BufferWriteByte(b, s.mergeFlag, o);
  if (v >= 100644) BufferWriteByte(b, s.baseFlag, o);
  if (v >= 100655) BufferWriteByte(b, s.deferFlag, o);
  if (v >= 100763) BufferWriteString(b, s.kind, o);
  if (v >= 100615) WriteActorFixture(b, o, s.derived, v, false);
  WriteActorFixture(b, o, s.base, v, false);
  b.resize(static_cast<std::size_t>(o));
  return MakeResourceFile(v, b);
}

}  // namespace kiv::test
