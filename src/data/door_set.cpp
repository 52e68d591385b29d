#include "data/door_set.h"

#include <string>

#include "core/data_buffer.h"
#include "core/error.h"
#include "data/game_data.h"
#include "data/resource_header.h"

namespace kiv {

namespace {
constexpr std::int32_t kFirstHeadValue = 100494;
constexpr std::int32_t kFirstSkippedByte = 100776;
constexpr std::int32_t kFirstKind = 100763;
}  // namespace

void ReadDoorSet(const ByteList& buffer, std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= gameData.doorSets.size())
    RaiseError(kErrIndex, "Subscript out of range: door set " + std::to_string(index) + ".");
  DoorSet& set = gameData.doorSets[static_cast<std::size_t>(index)];
  std::int32_t offset = 0;
  std::int32_t version = 0;
  CheckResourceHeader(buffer, offset, version, kMinSetVersion);
  set.id = BufferReadIdentifier(buffer, offset);
  if (version >= kFirstHeadValue) set.headValue = BufferReadLong(buffer, offset);
  if (version >= kFirstSkippedByte) BufferReadByte(buffer, offset);
  for (EmbeddedResource& image : set.images) {
    image = EmptyImageSource();
    ReadImageSource(buffer, image, offset, version);
  }
  set.name = BufferReadString(buffer, offset);
  set.kind = version >= kFirstKind ? BufferReadString(buffer, offset) : std::u16string();
  // Stored with the second index outermost.
  for (std::size_t second = 0; second < 8; ++second)
    for (std::size_t first = 0; first < 4; ++first)
      for (std::uint8_t& b : set.triples[first][second]) b = BufferReadByte(buffer, offset);
}

}  // namespace kiv
