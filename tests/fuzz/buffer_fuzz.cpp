// Feeds arbitrary bytes to the buffer reads: strings, byte lists, tagged values,
// collision shapes and embedded resources at the versions whose layouts differ.
// The first input byte picks the read and the version; the rest is the buffer.
// A bad input must end in a KivError, never in a crash or a read past the end;
// what reads at the current version must write and read back identically.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/data_buffer.h"
#include "core/error.h"
#include "core/record_codecs.h"

namespace {

using namespace kiv;

constexpr std::int32_t kShapeVersions[] = {100597, 100598, 100608, 100777, 100778, 100779, 100780, 100790};
constexpr std::int32_t kImageVersions[] = {100600, 100669, 100670, 100746, 100747, 100748, 100749, 100790};

void Check(bool condition) {
  if (!condition) std::abort();
}

void FuzzVariant(const ByteList& buffer) {
  std::int32_t offset = 0;
  Variant value;
  BufferReadVariant(buffer, value, offset);
  Check(offset > 0 && offset <= static_cast<std::int32_t>(buffer.size()));
  // Texts and reserved bytes may be stored loosely; once written, the form is fixed.
  ByteList first;
  std::int32_t writeOffset = 0;
  BufferWriteVariant(first, value, writeOffset);
  std::int32_t readOffset = 0;
  const Variant again = BufferReadVariant(first, readOffset);
  Check(readOffset == writeOffset);
  ByteList second;
  writeOffset = 0;
  BufferWriteVariant(second, again, writeOffset);
  Check(first == second);
}

void FuzzImageSource(const ByteList& buffer, std::int32_t version) {
  std::int32_t offset = 0;
  EmbeddedResource resource;
  ReadImageSource(buffer, resource, offset, version);
  Check(offset >= 0 && offset <= static_cast<std::int32_t>(buffer.size()));
  if (version != kCurrentFormatVersion) return;
  ByteList written;
  std::int32_t writeOffset = 0;
  WriteImageSource(written, resource, writeOffset);
  EmbeddedResource again;
  std::int32_t readOffset = 0;
  ReadImageSource(written, again, readOffset, version);
  Check(again == resource && readOffset == writeOffset);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t selector = data[0];
  const ByteList buffer(data + 1, data + size);
  try {
    std::int32_t offset = 0;
    switch (selector % 6) {
      case 0:
        BufferReadString(buffer, offset);
        break;
      case 1:
        BufferReadByteList(buffer, offset);
        break;
      case 2:
        BufferReadLastIndex(buffer, offset, 1 + (selector >> 3));
        break;
      case 3:
        FuzzVariant(buffer);
        break;
      case 4: {
        CollisionShape shape;
        ReadCollisionShape(buffer, shape, offset, kShapeVersions[(selector / 6) % 8]);
        break;
      }
      default:
        FuzzImageSource(buffer, kImageVersions[(selector / 6) % 8]);
        break;
    }
  } catch (const KivError& e) {
    Check(e.Number() == kErrData);
  }
  return 0;
}
