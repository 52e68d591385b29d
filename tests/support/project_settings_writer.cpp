#include "support/project_settings_writer.h"

#include "core/data_buffer.h"
#include "core/identifier.h"
#include "core/record_codecs.h"

namespace kiv::test {

std::int32_t WriteProjectSettingsSection(ByteList& buffer, std::int32_t version, const ProjectSettingsFixture& f) {
  std::int32_t o = 0;
  // An empty image: a zero count before the mode byte was stored.
  auto image = [&] {
    if (version >= 100747) {
      WriteImageSource(buffer, EmptyImageSource(), o);
    } else {
      BufferWriteLong(buffer, 0, o);
    }
  };
  if (version >= 100746) {
    if (version >= 100757) {
      BufferWriteLong(buffer, 0, o);
      BufferWriteLong(buffer, 64, o);
      BufferWriteLong(buffer, 48, o);
    }
    image();
  }
  BufferWriteString(buffer, f.templateName, o);
  for (int i = 0; i < 11; ++i) BufferWriteInt16(buffer, f.flagValue, o);
  if (version < 100684) BufferWriteInt16(buffer, 0x7777, o);
  BufferWriteInt16(buffer, f.flagValue, o);
  BufferWriteInt16(buffer, f.flagValue, o);
  const std::int32_t gates[] = {100659, 100667, 100671, 100679, 100692, 100695, 100698, 100720,
                                100739, 100745, 100750, 100769, 100780, 100782, 100783,
                                100687, 100693, 100727, 100729};
  for (int k = 0; k < 19; ++k) {
    if (k == 9 && version == 100744) BufferWriteInt16(buffer, 0x7777, o);
    if (version >= gates[k]) BufferWriteInt16(buffer, f.flagValue, o);
  }
  if (version >= 100726) BufferWriteLong(buffer, 5, o);
  if (version >= 100755) BufferWriteInt16(buffer, f.flagValue, o);
  if (version >= 100784) BufferWriteInt16(buffer, f.flagValue, o);
  BufferWriteSingle(buffer, 640.0f, o);
  BufferWriteLong(buffer, 3, o);
  if (version >= 100707) BufferWriteLong(buffer, f.frameRateLimit, o);
  for (std::int32_t value : f.messageBoxDefaults) BufferWriteLong(buffer, value, o);
  Identifier id;
  IdFill(id, 0x5A);
  auto reference = [&](const std::u16string& name) {
    if (version >= 100667) {
      BufferWriteString(buffer, name, o);
    } else {
      BufferWriteIdentifier(buffer, id, o);
    }
  };
  reference(f.startMap);
  for (std::int32_t v : f.start) BufferWriteLong(buffer, v, o);
  for (int i = 0; i < 7; ++i) reference(i == 0 ? f.hudInterface : i == 2 ? f.firstAnchor : u"Screen");
  if (version >= 100675) BufferWriteString(buffer, u"Main view", o);
  for (const Identifier& set : f.setIds) BufferWriteIdentifier(buffer, set, o);
  BufferWriteLong(buffer, f.storedGrid, o);
  if (version >= 100658 && version < 100746) image();
  buffer.resize(static_cast<std::size_t>(o));
  return o;
}

}  // namespace kiv::test
