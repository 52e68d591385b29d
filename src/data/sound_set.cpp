#include "data/sound_set.h"

#include "core/data_buffer.h"
#include "core/error.h"
#include "core/log.h"
#include "core/record_codecs.h"
#include "core/text_encoding.h"
#include "data/resource_header.h"

namespace kiv {
namespace {

constexpr std::int32_t kVersionHeadValue = 100494;
constexpr std::int32_t kVersionSkippedByte = 100776;
constexpr std::int32_t kVersionVariationList = 100714;
constexpr std::int32_t kVersionDisplayName = 100629;
constexpr std::int32_t kVersionOwnFlags = 100411;
constexpr std::int32_t kVersionImage = 100764;
constexpr std::int32_t kVersionKindText = 100763;
constexpr std::int32_t kVersionSpreads = 100715;

}  // namespace

void ReadSoundSet(const ByteList& bytes, std::int32_t index) {
  SoundSet& set = SoundAt(index);
  std::int32_t offset = 0;
  std::int32_t version = 0;
  CheckResourceHeader(bytes, offset, version, kMinSetVersion);
  set.id = BufferReadIdentifier(bytes, offset);
  if (version >= kVersionHeadValue) set.headValue = BufferReadLong(bytes, offset);
  if (version >= kVersionSkippedByte) BufferReadByte(bytes, offset);
  // Each variation takes at least its 32-bit length.
  const std::int32_t last = version >= kVersionVariationList ? BufferReadLastIndex(bytes, offset, 4) : 0;
  set.variations.assign(static_cast<std::size_t>(last + 1), SoundVariation{});
  for (SoundVariation& variation : set.variations) {
    const std::int32_t length = BufferReadLong(bytes, offset);
    variation.dataLength = length;
    variation.dataOffset = offset;
    variation.empty = length <= 0;
    if (length > 0) {
      // The data lies here in the file; it must be there whole.
      BufferRequire(bytes, offset, length);
      offset += length;
    }
  }
  set.name = BufferReadString(bytes, offset);
  set.displayName = version >= kVersionDisplayName ? BufferReadString(bytes, offset) : set.name;
  set.kind = BufferReadByte(bytes, offset);
  set.maxPlaybacks = BufferReadLong(bytes, offset);
  set.loop = BufferReadByte(bytes, offset);
  set.threeD = BufferReadByte(bytes, offset);
  if (version < kVersionOwnFlags) {
    set.loop = set.kind != 0 ? 1 : 0;
    set.threeD = set.kind == 0 ? 1 : 0;
  }
  if (version >= kVersionImage) ReadImageSource(bytes, set.image, offset, version);
  if (version >= kVersionKindText) {
    set.kindText = BufferReadString(bytes, offset);
  } else {
    set.kindText = set.kind != 0 ? u"Music" : u"Sound Effect";
  }
  if (version >= kVersionSpreads) {
    set.volume = BufferReadSingle(bytes, offset);
    set.tempo = BufferReadSingle(bytes, offset);
    set.volumeSpread = BufferReadSingle(bytes, offset);
    set.tempoSpread = BufferReadSingle(bytes, offset);
  } else {
    set.volume = 1.0f;
    set.tempo = 1.0f;
    set.volumeSpread = 0.0f;
    set.tempoSpread = 0.0f;
  }
}

void PlaceSoundSetInPackage(SoundSet& set, const std::string& packagePath, std::int64_t entryPosition,
                            std::int64_t entrySize, bool entryCompressed) {
  set.packagePath = packagePath;
  for (std::size_t i = 0; i < set.variations.size(); ++i) {
    SoundVariation& variation = set.variations[i];
    if (variation.empty) continue;
    const std::int64_t end = variation.dataOffset + static_cast<std::int64_t>(variation.dataLength);
    const bool inside = variation.dataOffset >= 0 && end <= entrySize;
    if (entryCompressed || !inside) {
      variation.unusable = true;
      LogWriteLine("Sound \"" + Utf16ToAnsi(set.name) + "\" variation " + std::to_string(i) +
                   (entryCompressed ? " is in a compressed entry" : " lies outside its entry") +
                   " and will not play.");
    }
    variation.dataOffset += entryPosition;
  }
}

}  // namespace kiv
