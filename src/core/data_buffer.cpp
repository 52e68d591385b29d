#include "core/data_buffer.h"

#include <bit>
#include <cstring>
#include <limits>

#include "core/error.h"

namespace kiv {

static_assert(std::endian::native == std::endian::little, "the data files are little-endian");

namespace {

// Array tags of tagged values: the element type codes.
constexpr std::uint8_t kTagText = 0;
constexpr std::uint8_t kTagScalar = 1;
constexpr std::uint8_t kTagTextArray = kVarString;
constexpr std::uint8_t kTagLongArray = kVarLong;
constexpr std::uint8_t kTagVariantArray = kVarVariant;

constexpr std::int32_t kVariantBodySize = 16;
// The smallest tagged value: a tag and a 32-bit count (an empty text or an empty array).
constexpr std::int32_t kMinTaggedValueSize = 5;

[[noreturn]] void RaiseEndOfData() { RaiseError(kErrData, "Unexpected end of data."); }
[[noreturn]] void RaiseUnsupportedRead() { RaiseError(kErrData, "Unsupported variant to read."); }
[[noreturn]] void RaiseUnsupportedWrite() { RaiseError(kErrData, "Unsupported variant to write."); }
[[noreturn]] void RaiseTooDeep() { RaiseError(kErrData, "Tagged value nested too deeply."); }

template <typename T>
T ReadValue(const ByteList& buffer, std::int32_t& offset) {
  T value;
  BufferReadBytes(buffer, &value, sizeof(T), offset);
  return value;
}

template <typename T>
void WriteValue(ByteList& buffer, T value, std::int32_t& offset) {
  BufferWriteBytes(buffer, &value, sizeof(T), offset);
}

// Makes room for count bytes at the offset and returns where they go.
std::uint8_t* PrepareWrite(ByteList& buffer, std::int64_t count, std::int32_t offset) {
  if (offset < 0 || count < 0) {
    RaiseError(kErrData, "Invalid data offset.");
  }
  const std::int64_t end = static_cast<std::int64_t>(offset) + count;
  if (end > std::numeric_limits<std::int32_t>::max()) {
    RaiseError(kErrData, "Data too large.");
  }
  if (static_cast<std::uint64_t>(end) > buffer.size()) {
    buffer.resize(static_cast<std::size_t>(end));
  }
  return buffer.data() + offset;
}

// ---- the 16-byte scalar body ----

Variant ReadVariantBody(const ByteList& buffer, std::int32_t& offset) {
  std::uint8_t body[kVariantBodySize];
  BufferReadBytes(buffer, body, kVariantBodySize, offset);
  std::uint16_t type;
  std::memcpy(&type, body, sizeof type);
  const std::uint8_t* value = body + 8;
  auto take = [value]<typename T>(T) {
    T v;
    std::memcpy(&v, value, sizeof v);
    return v;
  };
  switch (type) {
    case kVarEmpty:
      return Variant();
    case kVarNull:
      return Variant::FromRaw(kVarNull, 0, 0.0);
    case kVarInteger:
      return Variant::Integer(take(std::int16_t{}));
    case kVarLong:
      return Variant::Long(take(std::int32_t{}));
    case kVarSingle:
      return Variant::Single(take(float{}));
    case kVarDouble:
      return Variant::Double(take(double{}));
    case kVarCurrency:
      return Variant::CurrencyScaled(take(std::int64_t{}));
    case kVarDate:
      return Variant::Date(take(double{}));
    case kVarError:
      return Variant::FromRaw(kVarError, take(std::int32_t{}), 0.0);
    case kVarBoolean:
      // Kept as stored: any non-zero value reads as true.
      return Variant::FromRaw(kVarBoolean, take(std::int16_t{}), 0.0);
    case kVarByte:
      return Variant::Byte(take(std::uint8_t{}));
    default:
      // Texts, objects, arrays and references would hold a pointer; decimals
      // and unknown codes have no value we can hold.
      RaiseUnsupportedRead();
  }
}

void WriteVariantBody(ByteList& buffer, const Variant& v, std::int32_t& offset) {
  std::uint8_t body[kVariantBodySize] = {};
  const std::uint16_t type = v.Type();
  std::memcpy(body, &type, sizeof type);
  std::uint8_t* value = body + 8;
  auto put = [value](auto x) { std::memcpy(value, &x, sizeof x); };
  switch (type) {
    case kVarEmpty:
    case kVarNull:
      break;
    case kVarInteger:
    case kVarBoolean:
      put(static_cast<std::int16_t>(v.RawInt()));
      break;
    case kVarLong:
    case kVarError:
      put(static_cast<std::int32_t>(v.RawInt()));
      break;
    case kVarSingle:
      put(v.AsSingle());
      break;
    case kVarDouble:
    case kVarDate:
      put(v.RawReal());
      break;
    case kVarCurrency:
      put(v.RawInt());
      break;
    case kVarByte:
      put(static_cast<std::uint8_t>(v.RawInt()));
      break;
    default:
      RaiseUnsupportedWrite();
  }
  BufferWriteBytes(buffer, body, kVariantBodySize, offset);
}

// ---- tagged values ----

void ReadVariantAt(const ByteList& buffer, Variant& value, std::int32_t& offset, int depth);

Variant ReadVariantArray(const ByteList& buffer, std::uint8_t tag, std::int32_t& offset, int depth) {
  std::int32_t minElementSize = 0;
  switch (tag) {
    case kTagTextArray:
    case kTagLongArray:
      minElementSize = 4;
      break;
    case kTagVariantArray:
      if (depth >= kMaxVariantDepth) RaiseTooDeep();
      minElementSize = kMinTaggedValueSize;
      break;
    default:
      RaiseUnsupportedRead();
  }
  const std::int32_t upperBound = BufferReadLong(buffer, offset);
  if (upperBound < -1) {
    RaiseError(kErrData, "Invalid array size.");
  }
  const std::int64_t count = static_cast<std::int64_t>(upperBound) + 1;
  BufferRequire(buffer, offset, count * minElementSize);

  std::vector<Variant> elements;
  // Nested arrays are each checked against the same bytes left, so sizing every
  // level at once could claim far more memory than the data holds; their
  // elements are added as they are read instead.
  if (tag != kTagVariantArray) elements.reserve(static_cast<std::size_t>(count));
  for (std::int64_t i = 0; i < count; ++i) {
    Variant& element = elements.emplace_back();
    switch (tag) {
      case kTagTextArray:
        element = Variant::Text(BufferReadString(buffer, offset));
        break;
      case kTagLongArray:
        element = Variant::Long(BufferReadLong(buffer, offset));
        break;
      default:
        ReadVariantAt(buffer, element, offset, depth + 1);
        break;
    }
  }
  return Variant::Array(static_cast<VarType>(tag), std::move(elements));
}

void ReadVariantAt(const ByteList& buffer, Variant& value, std::int32_t& offset, int depth) {
  const std::uint8_t tag = BufferReadByte(buffer, offset);
  switch (tag) {
    case kTagText:
      value = Variant::Text(BufferReadString(buffer, offset));
      break;
    case kTagScalar:
      value = ReadVariantBody(buffer, offset);
      break;
    default:
      value = ReadVariantArray(buffer, tag, offset, depth);
      break;
  }
}

// The element of a typed array as the array's own type: a text array holds
// texts and a 32-bit integer array holds integers (Empty is "" and 0).
std::u16string ArrayElementText(const Variant& e) {
  if (e.IsText()) return e.AsText();
  if (e.IsEmpty()) return std::u16string();
  RaiseUnsupportedWrite();
}

std::int32_t ArrayElementLong(const Variant& e) {
  switch (e.Type()) {
    case kVarEmpty:
      return 0;
    case kVarInteger:
    case kVarLong:
    case kVarByte:
      return static_cast<std::int32_t>(e.RawInt());
    default:
      RaiseUnsupportedWrite();
  }
}

void WriteVariantAt(ByteList& buffer, const Variant& value, std::int32_t& offset, int depth) {
  if (value.IsArray()) {
    const VarType elementType = value.ElementType();
    const auto& elements = value.Elements();
    // The tag and the upper bound go out first, also for an element type that
    // then turns out to be unsupported.
    BufferWriteByte(buffer, static_cast<std::uint8_t>(elementType), offset);
    BufferWriteLastIndex(buffer, elements.size(), offset);
    switch (elementType) {
      case kVarString:
        for (const Variant& e : elements) BufferWriteString(buffer, ArrayElementText(e), offset);
        break;
      case kVarLong:
        for (const Variant& e : elements) BufferWriteLong(buffer, ArrayElementLong(e), offset);
        break;
      case kVarVariant:
        if (depth >= kMaxVariantDepth) RaiseTooDeep();
        for (const Variant& e : elements) WriteVariantAt(buffer, e, offset, depth + 1);
        break;
      default:
        RaiseUnsupportedWrite();
    }
  } else if (value.IsText()) {
    BufferWriteByte(buffer, kTagText, offset);
    BufferWriteString(buffer, value.AsText(), offset);
  } else {
    BufferWriteByte(buffer, kTagScalar, offset);
    WriteVariantBody(buffer, value, offset);
  }
}

}  // namespace

std::int32_t BufferBytesLeft(const ByteList& buffer, std::int32_t offset) {
  if (offset < 0 || static_cast<std::size_t>(offset) >= buffer.size()) return 0;
  return static_cast<std::int32_t>(buffer.size() - static_cast<std::size_t>(offset));
}

void BufferRequire(const ByteList& buffer, std::int32_t offset, std::int64_t count) {
  if (offset < 0 || count < 0 ||
      static_cast<std::uint64_t>(offset) + static_cast<std::uint64_t>(count) > buffer.size()) {
    RaiseEndOfData();
  }
}

void BufferReadBytes(const ByteList& buffer, void* destination, std::int32_t count, std::int32_t& offset) {
  BufferRequire(buffer, offset, count);
  if (count > 0) {
    std::memcpy(destination, buffer.data() + offset, static_cast<std::size_t>(count));
  }
  offset += count;
}

void BufferWriteBytes(ByteList& buffer, const void* source, std::int32_t count, std::int32_t& offset) {
  std::uint8_t* target = PrepareWrite(buffer, count, offset);
  if (count > 0) {
    std::memcpy(target, source, static_cast<std::size_t>(count));
  }
  offset += count;
}

std::uint8_t BufferReadByte(const ByteList& buffer, std::int32_t& offset) {
  return ReadValue<std::uint8_t>(buffer, offset);
}
std::int16_t BufferReadInt16(const ByteList& buffer, std::int32_t& offset) {
  return ReadValue<std::int16_t>(buffer, offset);
}
bool BufferReadBoolean(const ByteList& buffer, std::int32_t& offset) {
  return ReadValue<std::int16_t>(buffer, offset) != 0;
}
std::int32_t BufferReadLong(const ByteList& buffer, std::int32_t& offset) {
  return ReadValue<std::int32_t>(buffer, offset);
}
float BufferReadSingle(const ByteList& buffer, std::int32_t& offset) {
  return ReadValue<float>(buffer, offset);
}
double BufferReadDouble(const ByteList& buffer, std::int32_t& offset) {
  return ReadValue<double>(buffer, offset);
}

Identifier BufferReadIdentifier(const ByteList& buffer, std::int32_t& offset) {
  Identifier id;
  BufferReadBytes(buffer, id.bytes.data(), static_cast<std::int32_t>(id.bytes.size()), offset);
  return id;
}

ByteList BufferReadByteList(const ByteList& buffer, std::int32_t& offset) {
  const std::int32_t upperBound = BufferReadLong(buffer, offset);
  if (upperBound < 0) return ByteList();
  const std::int64_t count = static_cast<std::int64_t>(upperBound) + 1;
  BufferRequire(buffer, offset, count);
  ByteList bytes(buffer.begin() + offset, buffer.begin() + offset + count);
  offset += static_cast<std::int32_t>(count);
  return bytes;
}

void BufferWriteByte(ByteList& buffer, std::uint8_t value, std::int32_t& offset) {
  WriteValue(buffer, value, offset);
}
void BufferWriteInt16(ByteList& buffer, std::int16_t value, std::int32_t& offset) {
  WriteValue(buffer, value, offset);
}
void BufferWriteBoolean(ByteList& buffer, bool value, std::int32_t& offset) {
  WriteValue(buffer, static_cast<std::int16_t>(value ? -1 : 0), offset);
}
void BufferWriteLong(ByteList& buffer, std::int32_t value, std::int32_t& offset) {
  WriteValue(buffer, value, offset);
}
void BufferWriteSingle(ByteList& buffer, float value, std::int32_t& offset) {
  WriteValue(buffer, value, offset);
}
void BufferWriteDouble(ByteList& buffer, double value, std::int32_t& offset) {
  WriteValue(buffer, value, offset);
}

void BufferWriteIdentifier(ByteList& buffer, const Identifier& value, std::int32_t& offset) {
  BufferWriteBytes(buffer, value.bytes.data(), static_cast<std::int32_t>(value.bytes.size()), offset);
}

void BufferWriteByteList(ByteList& buffer, const ByteList& value, std::int32_t& offset) {
  BufferWriteLastIndex(buffer, value.size(), offset);
  BufferWriteBytes(buffer, value.data(), static_cast<std::int32_t>(value.size()), offset);
}

void BufferWriteLastIndex(ByteList& buffer, std::size_t count, std::int32_t& offset) {
  if (count > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    RaiseError(kErrData, "Data too large.");
  }
  BufferWriteLong(buffer, static_cast<std::int32_t>(count) - 1, offset);
}

std::int32_t BufferReadLastIndex(const ByteList& buffer, std::int32_t& offset, std::int32_t minRecordSize) {
  const std::int32_t lastIndex = BufferReadLong(buffer, offset);
  if (lastIndex < 0) return -1;
  const std::int64_t recordSize = minRecordSize > 0 ? minRecordSize : 1;
  BufferRequire(buffer, offset, (static_cast<std::int64_t>(lastIndex) + 1) * recordSize);
  return lastIndex;
}

std::u16string BufferReadString(const ByteList& buffer, std::int32_t& offset) {
  const std::int32_t byteCount = BufferReadLong(buffer, offset);
  if (byteCount == 0) return std::u16string();
  if (byteCount < 0 || byteCount % 2 != 0) {
    RaiseError(kErrData, "Invalid string data.");
  }
  BufferRequire(buffer, offset, byteCount);
  std::u16string text(static_cast<std::size_t>(byteCount / 2), u'\0');
  std::memcpy(text.data(), buffer.data() + offset, static_cast<std::size_t>(byteCount));
  offset += byteCount;
  return text;
}

void BufferWriteString(ByteList& buffer, std::u16string_view text, std::int32_t& offset) {
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() / 2)) {
    RaiseError(kErrData, "Data too large.");
  }
  const auto byteCount = static_cast<std::int32_t>(text.size() * 2);
  // Room for the count and the text at once, so a long text grows the array a single time.
  PrepareWrite(buffer, 4 + static_cast<std::int64_t>(byteCount), offset);
  BufferWriteLong(buffer, byteCount, offset);
  BufferWriteBytes(buffer, text.data(), byteCount, offset);
}

void BufferReadVariant(const ByteList& buffer, Variant& value, std::int32_t& offset) {
  ReadVariantAt(buffer, value, offset, 0);
}

Variant BufferReadVariant(const ByteList& buffer, std::int32_t& offset) {
  Variant value;
  ReadVariantAt(buffer, value, offset, 0);
  return value;
}

void BufferWriteVariant(ByteList& buffer, const Variant& value, std::int32_t& offset) {
  WriteVariantAt(buffer, value, offset, 0);
}

}  // namespace kiv
