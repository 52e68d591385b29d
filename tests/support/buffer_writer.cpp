#include "support/buffer_writer.h"

#include <cstring>

#include "core/data_buffer.h"

namespace kiv::test {

// Fields are appended directly (the machine is little-endian like the files), so
// the readers are not tested against the buffer writers they share code with.
void BufferWriter::Append(const void* data, std::size_t count) {
  const auto* p = static_cast<const std::uint8_t*>(data);
  bytes_.insert(bytes_.end(), p, p + count);
}

BufferWriter& BufferWriter::WriteByte(std::uint8_t value) {
  bytes_.push_back(value);
  return *this;
}

BufferWriter& BufferWriter::WriteInt16(std::int16_t value) {
  Append(&value, sizeof value);
  return *this;
}

BufferWriter& BufferWriter::WriteBoolean(bool value) { return WriteInt16(value ? -1 : 0); }

BufferWriter& BufferWriter::WriteLong(std::int32_t value) {
  Append(&value, sizeof value);
  return *this;
}

BufferWriter& BufferWriter::WriteSingle(float value) {
  Append(&value, sizeof value);
  return *this;
}

BufferWriter& BufferWriter::WriteDouble(double value) {
  Append(&value, sizeof value);
  return *this;
}

BufferWriter& BufferWriter::WriteIdentifier(const Identifier& value) {
  Append(value.bytes.data(), value.bytes.size());
  return *this;
}

BufferWriter& BufferWriter::WriteString(std::u16string_view text) {
  WriteLong(static_cast<std::int32_t>(text.size() * 2));
  Append(text.data(), text.size() * 2);
  return *this;
}

BufferWriter& BufferWriter::WriteByteList(const ByteList& value) {
  WriteLong(static_cast<std::int32_t>(value.size()) - 1);
  return WriteRaw(value);
}

BufferWriter& BufferWriter::WriteVariant(const Variant& value) {
  std::int32_t offset = Size();
  BufferWriteVariant(bytes_, value, offset);
  return *this;
}

BufferWriter& BufferWriter::WriteRaw(const ByteList& bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

BufferWriter& BufferWriter::WriteRaw(std::initializer_list<std::uint8_t> bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

}  // namespace kiv::test
