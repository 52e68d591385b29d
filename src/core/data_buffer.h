#pragma once
// The byte stream of every data file: a byte array and a 32-bit offset owned by
// the caller. Every read or write works at the offset, little-endian, at the
// field's natural width, and advances the offset.
//
// Reads check the bytes left and raise -1 "Unexpected end of data." instead of
// leaving the array; counts and upper bounds are checked against the bytes left
// before anything is allocated.
//
// Writes grow the array to fit whatever they write (never beyond it), so no
// write can overrun it. A writer that reuses one array cuts it to the offset
// when it is done (buffer.resize(offset)); since the array only ever grows to
// the bytes written, that cut leaves exactly the written bytes, as before.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/byte_list.h"
#include "core/format_version.h"
#include "core/identifier.h"
#include "core/variant.h"

namespace kiv {

// Deepest nesting of tagged-value arrays that is read or written.
inline constexpr int kMaxVariantDepth = 64;

// Bytes between the offset and the end of the array (0 when the offset is outside it).
std::int32_t BufferBytesLeft(const ByteList& buffer, std::int32_t offset);
// Raises -1 "Unexpected end of data." unless count bytes are left at the offset.
void BufferRequire(const ByteList& buffer, std::int32_t offset, std::int64_t count);

// Raw blocks: a field or a record of plain fields.
void BufferReadBytes(const ByteList& buffer, void* destination, std::int32_t count, std::int32_t& offset);
void BufferWriteBytes(ByteList& buffer, const void* source, std::int32_t count, std::int32_t& offset);

std::uint8_t BufferReadByte(const ByteList& buffer, std::int32_t& offset);
std::int16_t BufferReadInt16(const ByteList& buffer, std::int32_t& offset);
// A 16-bit boolean: any non-zero value is true.
bool BufferReadBoolean(const ByteList& buffer, std::int32_t& offset);
std::int32_t BufferReadLong(const ByteList& buffer, std::int32_t& offset);
float BufferReadSingle(const ByteList& buffer, std::int32_t& offset);
double BufferReadDouble(const ByteList& buffer, std::int32_t& offset);
Identifier BufferReadIdentifier(const ByteList& buffer, std::int32_t& offset);
// A byte list: 32-bit upper bound u, then u + 1 bytes; u below 0 is the empty list.
ByteList BufferReadByteList(const ByteList& buffer, std::int32_t& offset);

void BufferWriteByte(ByteList& buffer, std::uint8_t value, std::int32_t& offset);
void BufferWriteInt16(ByteList& buffer, std::int16_t value, std::int32_t& offset);
// Written as -1 (true) or 0 (false).
void BufferWriteBoolean(ByteList& buffer, bool value, std::int32_t& offset);
void BufferWriteLong(ByteList& buffer, std::int32_t value, std::int32_t& offset);
void BufferWriteSingle(ByteList& buffer, float value, std::int32_t& offset);
void BufferWriteDouble(ByteList& buffer, double value, std::int32_t& offset);
void BufferWriteIdentifier(ByteList& buffer, const Identifier& value, std::int32_t& offset);
// The upper bound (-1 when empty) and the bytes.
void BufferWriteByteList(ByteList& buffer, const ByteList& value, std::int32_t& offset);

// The 32-bit last index of a list in a file. A value below 0 gives -1 (an empty
// list). Refuses a list whose (last index + 1) records of at least
// minRecordSize bytes each cannot fit in the bytes left.
std::int32_t BufferReadLastIndex(const ByteList& buffer, std::int32_t& offset, std::int32_t minRecordSize);
// The last index of a list of count records (-1 when empty).
void BufferWriteLastIndex(ByteList& buffer, std::size_t count, std::int32_t& offset);

// Strings: 32-bit byte count n, then n bytes of UTF-16LE. An odd or negative
// count raises -1 "Invalid string data.".
std::u16string BufferReadString(const ByteList& buffer, std::int32_t& offset);
void BufferWriteString(ByteList& buffer, std::u16string_view text, std::int32_t& offset);

// Tagged values: tag 0 a text, tag 1 a 16-byte scalar body, tags 8, 3 and 12
// arrays of texts, 32-bit integers and tagged values. Bodies that would hold
// a pointer or carry an unknown type code raise -1 "Unsupported variant to read.".
void BufferReadVariant(const ByteList& buffer, Variant& value, std::int32_t& offset);
Variant BufferReadVariant(const ByteList& buffer, std::int32_t& offset);
void BufferWriteVariant(ByteList& buffer, const Variant& value, std::int32_t& offset);

}  // namespace kiv
