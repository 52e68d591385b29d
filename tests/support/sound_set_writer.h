#pragma once
// Builds sound-set files (".kso") of a format version, for the reader's tests
// and for packages that tests play from.
#include <cstdint>
#include <string>
#include <vector>

#include "core/byte_list.h"
#include "core/identifier.h"

namespace kiv::test {

struct SoundSetFixture {
  Identifier id;
  std::int32_t headValue = 0;
  std::vector<ByteList> variations;  // an empty one is stored with length 0
  std::u16string name = u"Sound";
  std::u16string displayName = u"Sound";
  std::uint8_t kind = 0;
  std::int32_t maxPlaybacks = 3;
  std::uint8_t loop = 0;
  std::uint8_t threeD = 0;
  std::u16string kindText = u"Sound Effect";
  float volume = 1.0f;
  float tempo = 1.0f;
  float volumeSpread = 0.0f;
  float tempoSpread = 0.0f;
};

// The whole file with its resource header. Files before 100714 store only the
// first variation.
ByteList MakeSoundSetFile(std::int32_t version, const SoundSetFixture& sound);

}  // namespace kiv::test
