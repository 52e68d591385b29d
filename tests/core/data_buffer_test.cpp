#include "core/data_buffer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/error.h"
#include "support/buffer_writer.h"

namespace kiv {
namespace {

using test::BufferWriter;

// The number and message of the KivError that fn raises ("" when it raises none).
std::string ErrorOf(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const KivError& e) {
    return std::to_string(e.Number()) + " " + e.what();
  }
  return "";
}

const std::string kEndOfData = "-1 Unexpected end of data.";
const std::string kInvalidString = "-1 Invalid string data.";
const std::string kUnsupportedRead = "-1 Unsupported variant to read.";
const std::string kUnsupportedWrite = "-1 Unsupported variant to write.";

Identifier Counting() {
  Identifier id;
  for (int i = 0; i < 16; ++i) id.bytes[i] = static_cast<std::uint8_t>(i + 1);
  return id;
}

TEST(DataBuffer, FieldsAreLittleEndianAtTheirNaturalWidth) {
  ByteList buffer;
  std::int32_t offset = 0;
  BufferWriteByte(buffer, 0xAB, offset);
  BufferWriteInt16(buffer, -2, offset);
  BufferWriteBoolean(buffer, true, offset);
  BufferWriteBoolean(buffer, false, offset);
  BufferWriteLong(buffer, 7, offset);
  BufferWriteSingle(buffer, 1.0f, offset);
  BufferWriteDouble(buffer, -2.0, offset);
  BufferWriteIdentifier(buffer, Counting(), offset);
  BufferWriteByteList(buffer, {9, 8}, offset);
  BufferWriteByteList(buffer, {}, offset);

  const ByteList expected = {0xAB, 0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00, 0x00, 0x00,
                             0x80, 0x3F, 0,    0,    0,    0,    0,    0,    0x00, 0xC0, 1,    2,    3,
                             4,    5,    6,    7,    8,    9,    10,   11,   12,   13,   14,   15,   16,
                             0x01, 0x00, 0x00, 0x00, 9,    8,    0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(buffer, expected);
  EXPECT_EQ(offset, static_cast<std::int32_t>(expected.size()));

  offset = 0;
  EXPECT_EQ(BufferReadByte(buffer, offset), 0xAB);
  EXPECT_EQ(BufferReadInt16(buffer, offset), -2);
  EXPECT_TRUE(BufferReadBoolean(buffer, offset));
  EXPECT_FALSE(BufferReadBoolean(buffer, offset));
  EXPECT_EQ(BufferReadLong(buffer, offset), 7);
  EXPECT_EQ(BufferReadSingle(buffer, offset), 1.0f);
  EXPECT_EQ(BufferReadDouble(buffer, offset), -2.0);
  EXPECT_EQ(BufferReadIdentifier(buffer, offset), Counting());
  EXPECT_EQ(BufferReadByteList(buffer, offset), (ByteList{9, 8}));
  EXPECT_EQ(BufferReadByteList(buffer, offset), ByteList{});
  EXPECT_EQ(offset, static_cast<std::int32_t>(expected.size()));
}

TEST(DataBuffer, AnyNonZeroBooleanIsTrue) {
  for (std::int16_t stored : {std::int16_t{1}, std::int16_t{-1}, std::int16_t{0x100}, std::int16_t{-32768}}) {
    std::int32_t offset = 0;
    EXPECT_TRUE(BufferReadBoolean(BufferWriter().WriteInt16(stored).Bytes(), offset)) << stored;
  }
}

TEST(DataBuffer, EveryReadPastTheEndIsAnErrorAndLeavesNothingRead) {
  struct Case {
    const char* name;
    std::int32_t size;
    std::function<void(const ByteList&, std::int32_t&)> read;
  };
  const Case cases[] = {
      {"byte", 1, [](const ByteList& b, std::int32_t& o) { BufferReadByte(b, o); }},
      {"int16", 2, [](const ByteList& b, std::int32_t& o) { BufferReadInt16(b, o); }},
      {"boolean", 2, [](const ByteList& b, std::int32_t& o) { BufferReadBoolean(b, o); }},
      {"long", 4, [](const ByteList& b, std::int32_t& o) { BufferReadLong(b, o); }},
      {"single", 4, [](const ByteList& b, std::int32_t& o) { BufferReadSingle(b, o); }},
      {"double", 8, [](const ByteList& b, std::int32_t& o) { BufferReadDouble(b, o); }},
      {"identifier", 16, [](const ByteList& b, std::int32_t& o) { BufferReadIdentifier(b, o); }},
      {"block", 24,
       [](const ByteList& b, std::int32_t& o) {
         std::uint8_t block[24];
         BufferReadBytes(b, block, 24, o);
       }},
  };
  for (const Case& c : cases) {
    // Placed one byte short of the end, after two bytes that are not part of the field.
    const ByteList buffer(static_cast<std::size_t>(c.size + 1), 0x55);
    std::int32_t offset = 2;
    EXPECT_EQ(ErrorOf([&] { c.read(buffer, offset); }), kEndOfData) << c.name;
    EXPECT_EQ(offset, 2) << c.name;
    offset = -1;
    EXPECT_EQ(ErrorOf([&] { c.read(buffer, offset); }), kEndOfData) << c.name << " at a negative offset";
    offset = 1;
    EXPECT_EQ(ErrorOf([&] { c.read(buffer, offset); }), "") << c.name << " fits exactly";
    EXPECT_EQ(offset, c.size + 1) << c.name;
  }
}

TEST(DataBuffer, StringsAreAByteCountAndUtf16) {
  struct Case {
    std::u16string text;
    ByteList bytes;
  };
  const Case cases[] = {
      {u"", {0, 0, 0, 0}},
      {u"abc", {6, 0, 0, 0, 'a', 0, 'b', 0, 'c', 0}},
      {u"\u20AC\U0001F600", {6, 0, 0, 0, 0xAC, 0x20, 0x3D, 0xD8, 0x00, 0xDE}},
  };
  for (const Case& c : cases) {
    ByteList buffer;
    std::int32_t offset = 0;
    BufferWriteString(buffer, c.text, offset);
    EXPECT_EQ(buffer, c.bytes);
    offset = 0;
    EXPECT_EQ(BufferReadString(buffer, offset), c.text);
    EXPECT_EQ(offset, static_cast<std::int32_t>(c.bytes.size()));
  }
}

TEST(DataBuffer, BadStringCountsAreRefusedBeforeAnyCopy) {
  struct Case {
    std::int32_t count;
    std::int32_t textBytes;
    std::string error;
    std::int32_t offsetAfter;
  };
  const Case cases[] = {
      {5, 6, kInvalidString, 4},       // odd: the count has been read, nothing more
      {-1, 6, kInvalidString, 4},      // negative and odd
      {-2, 6, kInvalidString, 4},      // negative and even
      {8, 6, kEndOfData, 4},           // longer than what is left
      {0x7FFFFFFE, 6, kEndOfData, 4},  // huge: no allocation is attempted
  };
  for (const Case& c : cases) {
    const ByteList buffer = BufferWriter().WriteLong(c.count).WriteRaw(ByteList(c.textBytes, 'x')).Bytes();
    std::int32_t offset = 0;
    EXPECT_EQ(ErrorOf([&] { BufferReadString(buffer, offset); }), c.error) << c.count;
    EXPECT_EQ(offset, c.offsetAfter) << c.count;
  }
  std::int32_t offset = 0;
  EXPECT_EQ(ErrorOf([&] { BufferReadString(ByteList{6, 0, 0}, offset); }), kEndOfData);
}

TEST(DataBuffer, WritesGrowTheArrayToFitAndNeverBeyond) {
  ByteList buffer;
  std::int32_t offset = 0;
  BufferWriteLong(buffer, 1, offset);
  EXPECT_EQ(buffer.size(), 4u);

  // A text far longer than any fixed growth step.
  const std::u16string longText(0x300001, u'k');
  BufferWriteString(buffer, longText, offset);
  EXPECT_EQ(offset, 4 + 4 + 0x600002);
  EXPECT_EQ(buffer.size(), static_cast<std::size_t>(offset));
  BufferWriteDouble(buffer, 3.5, offset);
  EXPECT_EQ(buffer.size(), static_cast<std::size_t>(offset));

  std::int32_t readOffset = 4;
  EXPECT_EQ(BufferReadString(buffer, readOffset), longText);
  EXPECT_EQ(BufferReadDouble(buffer, readOffset), 3.5);

  // Writing inside the array overwrites in place and keeps its size.
  std::int32_t patch = 0;
  BufferWriteLong(buffer, 99, patch);
  EXPECT_EQ(buffer.size(), static_cast<std::size_t>(offset));
  patch = 0;
  EXPECT_EQ(BufferReadLong(buffer, patch), 99);
}

TEST(DataBuffer, AWriteAtANegativeOffsetIsRefused) {
  ByteList buffer(8);
  std::int32_t offset = -4;
  EXPECT_EQ(ErrorOf([&] { BufferWriteLong(buffer, 1, offset); }), "-1 Invalid data offset.");
  EXPECT_EQ(buffer, ByteList(8));
}

TEST(DataBuffer, ByteListBoundsAreCheckedAgainstTheBytesLeft) {
  struct Case {
    std::int32_t upperBound;
    std::int32_t bytesAfter;
    std::string error;
    std::size_t size;
  };
  const Case cases[] = {
      {-1, 0, "", 0}, {-5, 0, "", 0},  // any negative bound is the empty list
      {2, 3, "", 3},  {3, 3, kEndOfData, 0}, {0x7FFFFFFF, 3, kEndOfData, 0},
  };
  for (const Case& c : cases) {
    const ByteList buffer =
        BufferWriter().WriteLong(c.upperBound).WriteRaw(ByteList(c.bytesAfter, 1)).Bytes();
    std::int32_t offset = 0;
    ByteList read;
    EXPECT_EQ(ErrorOf([&] { read = BufferReadByteList(buffer, offset); }), c.error) << c.upperBound;
    EXPECT_EQ(read.size(), c.size) << c.upperBound;
  }
}

TEST(DataBuffer, ListLastIndexMustLeaveRoomForItsRecords) {
  struct Case {
    std::int32_t lastIndex;
    std::int32_t recordSize;
    std::int32_t bytesAfter;
    std::string error;
    std::int32_t result;
  };
  const Case cases[] = {
      {-1, 40, 0, "", -1},
      {-7, 40, 0, "", -1},  // below -1 is still an empty list
      {2, 40, 120, "", 2},
      {2, 40, 119, kEndOfData, 0},
      {0x7FFFFFFF, 40, 120, kEndOfData, 0},  // (n + 1) x size overflows 32 bits
      {3, 0, 4, "", 3},                      // a size below 1 still needs a byte per record
      {4, 0, 4, kEndOfData, 0},
  };
  for (const Case& c : cases) {
    const ByteList buffer = BufferWriter().WriteLong(c.lastIndex).WriteRaw(ByteList(c.bytesAfter, 0)).Bytes();
    std::int32_t offset = 0;
    std::int32_t result = 0;
    EXPECT_EQ(ErrorOf([&] { result = BufferReadLastIndex(buffer, offset, c.recordSize); }), c.error)
        << c.lastIndex;
    EXPECT_EQ(result, c.result) << c.lastIndex;
  }
}

ByteList Body(std::uint16_t type, ByteList value) {
  ByteList bytes = {
      1, static_cast<std::uint8_t>(type & 0xFF), static_cast<std::uint8_t>(type >> 8), 0, 0, 0, 0, 0, 0};
  value.resize(8, 0);
  bytes.insert(bytes.end(), value.begin(), value.end());
  return bytes;
}

TEST(DataBuffer, TaggedValuesHaveExactBytesAndRoundTrip) {
  struct Case {
    const char* name;
    Variant value;
    ByteList bytes;
  };
  const Case cases[] = {
      {"empty", Variant(), Body(0, {})},
      {"null", Variant::FromRaw(kVarNull, 0, 0.0), Body(1, {})},
      {"integer", Variant::Integer(-2), Body(2, {0xFE, 0xFF})},
      {"long 7", Variant::Long(7), Body(3, {7})},
      {"single", Variant::Single(1.0f), Body(4, {0, 0, 0x80, 0x3F})},
      {"double", Variant::Double(-2.0), Body(5, {0, 0, 0, 0, 0, 0, 0, 0xC0})},
      {"currency", Variant::CurrencyScaled(-10000),
       Body(6, {0xF0, 0xD8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})},
      {"date", Variant::Date(1.0), Body(7, {0, 0, 0, 0, 0, 0, 0xF0, 0x3F})},
      {"error", Variant::FromRaw(kVarError, 0x80020004 - 0x100000000LL, 0.0), Body(10, {4, 0, 2, 0x80})},
      {"boolean", Variant::Boolean(true), Body(11, {0xFF, 0xFF})},
      {"byte", Variant::Byte(200), Body(17, {200})},
      {"text", Variant::Text(u"hi"), {0, 4, 0, 0, 0, 'h', 0, 'i', 0}},
      {"texts a and empty",
       Variant::Array(kVarString, {Variant::Text(u"a"), Variant::Text(u"")}),
       {8, 1, 0, 0, 0, 2, 0, 0, 0, 'a', 0, 0, 0, 0, 0}},
      {"longs",
       Variant::Array(kVarLong, {Variant::Long(-1), Variant::Long(258)}),
       {3, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 2, 1, 0, 0}},
      {"empty array", Variant::Array(kVarVariant, {}), {12, 0xFF, 0xFF, 0xFF, 0xFF}},
      {"nested",
       Variant::Array(kVarVariant, {Variant::Text(u""), Variant::Array(kVarLong, {Variant::Long(5)})}),
       {12, 1, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 5, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    ByteList written;
    std::int32_t offset = 0;
    BufferWriteVariant(written, c.value, offset);
    EXPECT_EQ(written, c.bytes) << c.name;
    EXPECT_EQ(offset, static_cast<std::int32_t>(c.bytes.size())) << c.name;

    offset = 0;
    const Variant read = BufferReadVariant(written, offset);
    EXPECT_EQ(read, c.value) << c.name;
    EXPECT_EQ(offset, static_cast<std::int32_t>(c.bytes.size())) << c.name;

    ByteList again;
    offset = 0;
    BufferWriteVariant(again, read, offset);
    EXPECT_EQ(again, c.bytes) << c.name;
  }
}

TEST(DataBuffer, ReservedAndUnusedBodyBytesAreIgnoredWhenRead) {
  ByteList bytes = Body(2, {0x34, 0x12, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE});
  for (int i = 3; i < 9; ++i) bytes[i] = 0x77;
  std::int32_t offset = 0;
  EXPECT_EQ(BufferReadVariant(bytes, offset), Variant::Integer(0x1234));
}

TEST(DataBuffer, BodiesThatWouldHoldAPointerOrAnUnknownTypeAreRefused) {
  // Text, object, decimal, variant, unknown, array and by-reference codes.
  for (std::uint16_t type : {8, 9, 12, 13, 14, 15, 16, 18, 20, 36, 0x2003, 0x200C, 0x4003, 0xFFFF}) {
    const ByteList bytes = Body(type, {1, 2, 3, 4, 5, 6, 7, 8});
    std::int32_t offset = 0;
    EXPECT_EQ(ErrorOf([&] { BufferReadVariant(bytes, offset); }), kUnsupportedRead) << type;
  }
}

TEST(DataBuffer, TagsOtherThanTextScalarAndTheThreeArraysAreRefused) {
  for (std::uint8_t tag : {2, 4, 5, 9, 11, 17, 0xFF}) {
    const ByteList bytes = BufferWriter().WriteByte(tag).WriteLong(0).WriteLong(0).Bytes();
    std::int32_t offset = 0;
    EXPECT_EQ(ErrorOf([&] { BufferReadVariant(bytes, offset); }), kUnsupportedRead) << int{tag};
  }
}

TEST(DataBuffer, ArrayUpperBoundsAreCheckedBeforeAllocating) {
  struct Case {
    std::uint8_t tag;
    std::int32_t upperBound;
    std::int32_t bytesAfter;
    std::string error;
  };
  const Case cases[] = {
      {3, -1, 0, ""},  // no elements: an empty array
      {3, -2, 0, "-1 Invalid array size."},
      {3, 1, 7, kEndOfData},   // two longs need 8 bytes
      {8, 2, 11, kEndOfData},  // three strings need at least 12
      {12, 1, 9, kEndOfData},  // two tagged values need at least 10
      {12, 0x7FFFFFFF, 64, kEndOfData},
      {8, 0x7FFFFFFE, 64, kEndOfData},
  };
  for (const Case& c : cases) {
    const ByteList bytes =
        BufferWriter().WriteByte(c.tag).WriteLong(c.upperBound).WriteRaw(ByteList(c.bytesAfter, 0)).Bytes();
    std::int32_t offset = 0;
    Variant read;
    EXPECT_EQ(ErrorOf([&] { BufferReadVariant(bytes, read, offset); }), c.error)
        << int{c.tag} << " " << c.upperBound;
    if (c.error.empty()) {
      EXPECT_TRUE(read.IsArray());
      EXPECT_TRUE(read.Elements().empty());
    }
  }
}

ByteList NestedArrays(int depth) {
  BufferWriter w;
  for (int i = 0; i < depth; ++i) w.WriteByte(12).WriteLong(0);
  return w.WriteRaw(Body(3, {1})).Bytes();
}

TEST(DataBuffer, NestingOfTaggedValueArraysIsCapped) {
  std::int32_t offset = 0;
  Variant value = BufferReadVariant(NestedArrays(kMaxVariantDepth), offset);
  ByteList written;
  offset = 0;
  BufferWriteVariant(written, value, offset);
  EXPECT_EQ(written, NestedArrays(kMaxVariantDepth));

  offset = 0;
  EXPECT_EQ(ErrorOf([&] { BufferReadVariant(NestedArrays(kMaxVariantDepth + 1), offset); }),
            "-1 Tagged value nested too deeply.");
  value = Variant::Array(kVarVariant, {value});
  offset = 0;
  written.clear();
  EXPECT_EQ(ErrorOf([&] { BufferWriteVariant(written, value, offset); }),
            "-1 Tagged value nested too deeply.");
}

TEST(DataBuffer, UnsupportedValuesAreRefusedWhenWritten) {
  ByteList buffer;
  std::int32_t offset = 0;
  // An array of doubles: the tag and the upper bound are out before the refusal.
  const Variant doubles = Variant::Array(kVarDouble, {Variant::Double(1.0)});
  EXPECT_EQ(ErrorOf([&] { BufferWriteVariant(buffer, doubles, offset); }), kUnsupportedWrite);
  EXPECT_EQ(offset, 5);
  EXPECT_EQ(buffer, (ByteList{5, 0, 0, 0, 0}));

  for (const Variant& v :
       {Variant::FromRaw(kVarObject, 1, 0.0), Variant::FromRaw(kVarDecimal, 1, 0.0),
        Variant::Array(kVarString, {Variant::Long(1)}), Variant::Array(kVarLong, {Variant::Text(u"1")})}) {
    buffer.clear();
    offset = 0;
    EXPECT_EQ(ErrorOf([&] { BufferWriteVariant(buffer, v, offset); }), kUnsupportedWrite) << v.Type();
  }
}

TEST(DataBuffer, TypedArraysWriteEmptyElementsAsTheirTypesZero) {
  ByteList buffer;
  std::int32_t offset = 0;
  BufferWriteVariant(buffer, Variant::Array(kVarString, {Variant()}), offset);
  BufferWriteVariant(buffer, Variant::Array(kVarLong, {Variant(), Variant::Integer(-3)}), offset);
  offset = 0;
  EXPECT_EQ(BufferReadVariant(buffer, offset), Variant::Array(kVarString, {Variant::Text(u"")}));
  EXPECT_EQ(BufferReadVariant(buffer, offset),
            Variant::Array(kVarLong, {Variant::Long(0), Variant::Long(-3)}));
}

TEST(DataBuffer, TruncatedTaggedValuesFailAtEveryLength) {
  ByteList full;
  std::int32_t offset = 0;
  BufferWriteVariant(full,
                     Variant::Array(kVarVariant, {Variant::Text(u"ab"), Variant::Long(3),
                                                  Variant::Array(kVarString, {Variant::Text(u"x")})}),
                     offset);
  for (std::size_t size = 0; size < full.size(); ++size) {
    const ByteList cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
    offset = 0;
    EXPECT_EQ(ErrorOf([&] { BufferReadVariant(cut, offset); }), kEndOfData) << size;
  }
}

}  // namespace
}  // namespace kiv
