#pragma once
// Builds the bytes of a data file field by field, for tests of the readers.
//   ByteList input = BufferWriter().WriteLong(100790).WriteString(u"name").Bytes();
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "core/byte_list.h"
#include "core/identifier.h"
#include "core/variant.h"

namespace kiv::test {

class BufferWriter {
 public:
  BufferWriter& WriteByte(std::uint8_t value);
  BufferWriter& WriteInt16(std::int16_t value);
  BufferWriter& WriteBoolean(bool value);  // -1 or 0, 16-bit
  BufferWriter& WriteLong(std::int32_t value);
  BufferWriter& WriteSingle(float value);
  BufferWriter& WriteDouble(double value);
  BufferWriter& WriteIdentifier(const Identifier& value);
  BufferWriter& WriteString(std::u16string_view text);  // byte count, UTF-16LE
  BufferWriter& WriteByteList(const ByteList& value);   // upper bound (-1 empty), bytes
  BufferWriter& WriteVariant(const Variant& value);     // tag and body
  BufferWriter& WriteRaw(const ByteList& bytes);
  BufferWriter& WriteRaw(std::initializer_list<std::uint8_t> bytes);

  const ByteList& Bytes() const { return bytes_; }
  std::int32_t Size() const { return static_cast<std::int32_t>(bytes_.size()); }

 private:
  void Append(const void* data, std::size_t count);

  ByteList bytes_;
};

}  // namespace kiv::test
