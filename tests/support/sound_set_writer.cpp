#include "support/sound_set_writer.h"

#include "core/data_buffer.h"
#include "core/record_codecs.h"
#include "support/buffer_writer.h"
#include "support/resource_header_writer.h"

namespace kiv::test {

ByteList MakeSoundSetFile(std::int32_t version, const SoundSetFixture& sound) {
  BufferWriter writer;
  writer.WriteIdentifier(sound.id);
  if (version >= 100494) writer.WriteLong(sound.headValue);
  if (version >= 100776) writer.WriteByte(0);
  std::size_t count = sound.variations.size();
  if (version >= 100714) {
    writer.WriteLong(static_cast<std::int32_t>(count) - 1);
  } else {
    count = 1;
  }
  for (std::size_t i = 0; i < count; ++i) {
    const ByteList empty;
    const ByteList& data = i < sound.variations.size() ? sound.variations[i] : empty;
    writer.WriteLong(static_cast<std::int32_t>(data.size()));
    writer.WriteRaw(data);
  }
  writer.WriteString(sound.name);
  if (version >= 100629) writer.WriteString(sound.displayName);
  writer.WriteByte(sound.kind);
  writer.WriteLong(sound.maxPlaybacks);
  writer.WriteByte(sound.loop);
  writer.WriteByte(sound.threeD);
  if (version >= 100764) {
    ByteList image;
    std::int32_t offset = 0;
    WriteImageSource(image, EmptyImageSource(), offset);
    writer.WriteRaw(image);
  }
  if (version >= 100763) writer.WriteString(sound.kindText);
  if (version >= 100715) {
    writer.WriteSingle(sound.volume).WriteSingle(sound.tempo).WriteSingle(sound.volumeSpread).WriteSingle(sound.tempoSpread);
  }
  return MakeResourceFile(version, writer.Bytes());
}

}  // namespace kiv::test
