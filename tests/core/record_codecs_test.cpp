#include "core/record_codecs.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/error.h"
#include "support/buffer_writer.h"
#include "support/collision_shape_writer.h"

namespace kiv {
namespace {

using test::BufferWriter;
using test::WriteCollisionShape;

std::string ErrorOf(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const KivError& e) {
    return std::to_string(e.Number()) + " " + e.what();
  }
  return "";
}

const std::string kEndOfData = "-1 Unexpected end of data.";

CollisionBox Box(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b, std::int32_t f,
                 std::int32_t k) {
  CollisionBox box;
  box.left = l;
  box.top = t;
  box.right = r;
  box.bottom = b;
  box.front = f;
  box.back = k;
  return box;
}

CollisionPolygon Triangle(std::int32_t height) {
  CollisionPolygon p;
  p.points = {{0, 0}, {10, 0}, {5, 8.5f}};
  p.height = height;
  return p;
}

// A shape with something in every field that the newest layout stores.
CollisionShape FullShape() {
  CollisionShape s;
  s.mode = 2;
  s.rectangles = {Box(-12, -8, 12, 16, 0, 64), Box(1, 2, 3, 4, 5, 6)};
  s.rectangles[1].rotation = {0.5f, 0.5f, 0.5f, 0.5f};
  s.polygons = {Triangle(40), CollisionPolygon{}};
  s.polygons[0].block = {1.5f, 2.5f, 3.5f};
  s.polygons[0].rotation = {0, 0, 0.7071f, 0.7071f};
  s.extras = {CollisionExtra{{1, 2, 3}, {4, 5, 6}, 7}};
  return s;
}

CollisionShape ReadShape(const ByteList& bytes, std::int32_t version, std::int32_t* consumed = nullptr) {
  CollisionShape shape;
  std::int32_t offset = 0;
  ReadCollisionShape(bytes, shape, offset, version);
  if (consumed) *consumed = offset;
  return shape;
}

ByteList ShapeBytes(const CollisionShape& shape, std::int32_t version) {
  BufferWriter w;
  WriteCollisionShape(w, shape, version);
  return w.Bytes();
}

TEST(CollisionShape, EachStoredLayoutHasItsSizeAndReadsToTheCurrentForm) {
  // One rectangle and one triangle with height 30 (the rectangle's back).
  CollisionShape shape;
  shape.mode = 3;
  shape.rectangles = {Box(0, 0, 10, 5, 0, 30)};
  shape.polygons = {Triangle(30)};

  struct Case {
    std::int32_t version;
    std::int32_t size;
    std::uint8_t mode;
  };
  const std::int32_t triangle = 4 + 3 * 8;
  const Case cases[] = {
      {100597, 24 + triangle, 0},      // no mode byte
      {100598, 1 + 24 + triangle, 1},  // any non-zero mode is 1
      {100607, 1 + 24 + triangle, 1},
      {100608, 1 + 24 + triangle + 4, 1},  // the polygon's height is stored
      {100777, 1 + 24 + triangle + 4, 1},
      {100778, 1 + 4 + (24 + 12 + 16) + 4 + triangle + 4 + 12 + 16, 1},
      {100779, 1 + 4 + (24 + 16) + 4 + triangle + 4 + 12 + 16 + 4, 1},
      {100780, 1 + 4 + (24 + 16) + 4 + triangle + 4 + 12 + 16 + 4, 1},
      {100781, 1 + 4 + (24 + 16) + 4 + triangle + 4 + 12 + 16 + 4, 3},
      {kCurrentFormatVersion, 1 + 4 + (24 + 16) + 4 + triangle + 4 + 12 + 16 + 4, 3},
  };
  for (const Case& c : cases) {
    const ByteList bytes = ShapeBytes(shape, c.version);
    EXPECT_EQ(static_cast<std::int32_t>(bytes.size()), c.size) << c.version;
    std::int32_t consumed = 0;
    const CollisionShape read = ReadShape(bytes, c.version, &consumed);
    EXPECT_EQ(consumed, c.size) << c.version;
    CollisionShape expected = shape;
    expected.mode = c.mode;
    EXPECT_EQ(read, expected) << c.version;
  }
}

TEST(CollisionShape, CurrentLayoutKeepsEveryListEntry) {
  const CollisionShape shape = FullShape();  // mode 2
  EXPECT_EQ(ReadShape(ShapeBytes(shape, kCurrentFormatVersion), kCurrentFormatVersion), shape);
  CollisionShape modeOne = shape;
  modeOne.mode = 1;
  EXPECT_EQ(ReadShape(ShapeBytes(shape, 100779), 100779), modeOne);
  modeOne.extras.clear();
  EXPECT_EQ(ReadShape(ShapeBytes(shape, 100778), 100778), modeOne);
}

TEST(CollisionShape, ARectangleRotationOfZerosIsTheIdentityButAPolygonsStays) {
  CollisionShape shape = FullShape();
  shape.rectangles[0].rotation = {0, 0, 0, 0};
  shape.polygons[0].rotation = {0, 0, 0, 0};
  for (std::int32_t version : {100778, kCurrentFormatVersion}) {
    const CollisionShape read = ReadShape(ShapeBytes(shape, version), version);
    EXPECT_EQ(read.rectangles[0].rotation, (CollisionRotation{0, 0, 0, 1})) << version;
    EXPECT_EQ(read.polygons[0].rotation, (CollisionRotation{0, 0, 0, 0})) << version;
  }
}

TEST(CollisionShape, OldRectangleThatEnclosesNothingIsDropped) {
  struct Case {
    CollisionBox box;
    bool kept;
  };
  const Case cases[] = {
      {Box(0, 0, 10, 0, 0, 0), false},                                    // no height range and top >= bottom
      {Box(0, 0, 10, 5, 0, 0), true},  {Box(10, 0, 10, 5, 0, 9), false},  // left >= right
      {Box(0, 7, 10, 5, 0, 9), true},   // top >= bottom is fine with a height range
      {Box(0, 0, 10, 0, 0, 5), true},   // no y range but front < back
      {Box(0, 0, 10, 0, 5, 5), false},  // no y range and front >= back
  };
  for (const Case& c : cases) {
    CollisionShape shape;
    shape.rectangles = {c.box};
    const CollisionShape read = ReadShape(ShapeBytes(shape, 100600), 100600);
    EXPECT_EQ(read.rectangles.size(), c.kept ? 1u : 0u)
        << c.box.left << "," << c.box.top << "," << c.box.right << "," << c.box.bottom << "," << c.box.front
        << "," << c.box.back;
  }
}

TEST(CollisionShape, OldPolygonTakesItsHeightFromTheRectangleOr64AndIsDroppedWhenEmpty) {
  struct Case {
    std::int32_t version;
    CollisionBox box;
    CollisionPolygon polygon;
    std::int32_t height;  // -1: the polygon is dropped
  };
  const Case cases[] = {
      {100600, Box(0, 0, 10, 5, 0, 30), Triangle(0), 30},
      {100600, Box(0, 0, 0, 0, 0, 30), Triangle(0), 64},   // the rectangle was dropped
      {100600, Box(0, 0, 10, 5, 0, -3), Triangle(0), -1},  // height from a negative back
      {100600, Box(0, 0, 10, 5, 0, 30), CollisionPolygon{}, -1},
      {100608, Box(0, 0, 10, 5, 0, 30), Triangle(12), 12},
      {100608, Box(0, 0, 10, 5, 0, 30), Triangle(0), -1},
      {100608, Box(0, 0, 10, 5, 0, 30), Triangle(-4), -1},
  };
  for (const Case& c : cases) {
    CollisionShape shape;
    shape.rectangles = {c.box};
    shape.polygons = {c.polygon};
    const CollisionShape read = ReadShape(ShapeBytes(shape, c.version), c.version);
    if (c.height < 0) {
      EXPECT_TRUE(read.polygons.empty()) << c.version;
    } else {
      ASSERT_EQ(read.polygons.size(), 1u) << c.version;
      EXPECT_EQ(read.polygons[0].height, c.height) << c.version;
      EXPECT_EQ(read.polygons[0].points, c.polygon.points);
    }
  }
}

TEST(CollisionShape, CountsLargerThanTheBytesLeftAreRefused) {
  // Rectangle, polygon and extra counts, and a point count, each far too large.
  const ByteList cases[] = {
      BufferWriter().WriteByte(0).WriteLong(1000).WriteRaw(ByteList(100, 0)).Bytes(),
      BufferWriter().WriteByte(0).WriteLong(-1).WriteLong(0x7FFFFFFF).WriteRaw(ByteList(100, 0)).Bytes(),
      BufferWriter()
          .WriteByte(0)
          .WriteLong(-1)
          .WriteLong(0)
          .WriteLong(0x10000000)
          .WriteRaw(ByteList(100, 0))
          .Bytes(),
      BufferWriter()
          .WriteByte(0)
          .WriteLong(-1)
          .WriteLong(-1)
          .WriteLong(100)
          .WriteRaw(ByteList(100, 0))
          .Bytes(),
  };
  for (const ByteList& bytes : cases) {
    EXPECT_EQ(ErrorOf([&] { ReadShape(bytes, kCurrentFormatVersion); }), kEndOfData);
  }
}

TEST(CollisionShape, TruncatedShapesFailAtEveryLength) {
  for (std::int32_t version : {100597, 100600, 100608, 100778, kCurrentFormatVersion}) {
    const ByteList full = ShapeBytes(FullShape(), version);
    for (std::size_t size = 0; size < full.size(); ++size) {
      const ByteList cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
      EXPECT_EQ(ErrorOf([&] { ReadShape(cut, version); }), kEndOfData) << version << " cut at " << size;
    }
  }
}

ColorRecord SomeColor() {
  ColorRecord color;
  color.color = {0x10, 0x20, 0x30, 0xFF};
  color.bytes = {7, 8, 9};
  return color;
}

TEST(ColorBytes, AreFourBytesAndAByteList) {
  ByteList buffer;
  std::int32_t offset = 0;
  WriteColorBytes(buffer, SomeColor(), offset);
  WriteColorBytes(buffer, ColorRecord{}, offset);
  EXPECT_EQ(buffer,
            (ByteList{0x10, 0x20, 0x30, 0xFF, 2, 0, 0, 0, 7, 8, 9, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
  offset = 0;
  ColorRecord read;
  ReadColorBytes(buffer, read, offset, kCurrentFormatVersion);
  EXPECT_EQ(read, SomeColor());
  ReadColorBytes(buffer, read, offset, kCurrentFormatVersion);
  EXPECT_EQ(read, ColorRecord{});
  EXPECT_EQ(offset, static_cast<std::int32_t>(buffer.size()));
}

EmbeddedResource FileResource() {
  EmbeddedResource r = EmptyImageSource();
  r.mode = 1;
  r.fileBytes = {0x89, 'P', 'N', 'G'};
  r.valueA = 32;
  r.valueB = -1;
  r.color = SomeColor();
  return r;
}

EmbeddedResource ListResource() {
  EmbeddedResource r = EmptyImageSource();
  r.mode = 2;
  r.listBytes = {1, 2, 3};
  EmbeddedEntry first{u"body.png", {}, {4, 5}};
  IdFill(first.identifier, 0x11);
  r.entries = {first, EmbeddedEntry{u"", {}, {}}};
  return r;
}

TEST(ImageSource, CurrentFormatReadsBackAndWritesAgainIdentically) {
  EmbeddedResource unknownMode = EmptyImageSource();
  unknownMode.mode = 7;
  for (const EmbeddedResource& resource : {EmptyImageSource(), FileResource(), ListResource(), unknownMode}) {
    ByteList written;
    std::int32_t offset = 0;
    WriteImageSource(written, resource, offset);
    EXPECT_EQ(offset, static_cast<std::int32_t>(written.size()));

    EmbeddedResource read;
    offset = 0;
    ReadImageSource(written, read, offset, kCurrentFormatVersion);
    EXPECT_EQ(read, resource) << int{resource.mode};
    EXPECT_EQ(offset, static_cast<std::int32_t>(written.size()));

    ByteList again;
    offset = 0;
    WriteImageSource(again, read, offset);
    EXPECT_EQ(again, written) << int{resource.mode};
  }
}

TEST(ImageSource, FileModeLayout) {
  ByteList written;
  std::int32_t offset = 0;
  WriteImageSource(written, FileResource(), offset);
  const ByteList expected = BufferWriter()
                                .WriteByte(1)
                                .WriteLong(3)
                                .WriteRaw({0x89, 'P', 'N', 'G'})
                                .WriteLong(32)
                                .WriteLong(-1)
                                .WriteRaw({0x10, 0x20, 0x30, 0xFF})
                                .WriteLong(2)
                                .WriteRaw({7, 8, 9})
                                .Bytes();
  EXPECT_EQ(written, expected);
}

TEST(ImageSource, EmptyHasNothingInIt) {
  const EmbeddedResource r = EmptyImageSource();
  EXPECT_EQ(r.mode, 0);
  EXPECT_TRUE(r.fileBytes.empty());
  EXPECT_TRUE(r.listBytes.empty());
  EXPECT_TRUE(r.entries.empty());
  EXPECT_EQ(r.color, ColorRecord{});
  EXPECT_EQ(r.valueA, 0);
  EXPECT_EQ(r.valueB, 0);
}

TEST(ImageSource, OldFormatsAreConvertedWhenRead) {
  struct Case {
    const char* name;
    std::int32_t version;
    ByteList bytes;
    EmbeddedResource expected;
  };
  EmbeddedResource oldFile = EmptyImageSource();
  oldFile.mode = 1;
  oldFile.fileBytes = {1, 2, 3, 4, 5};

  EmbeddedResource oldList = EmptyImageSource();
  oldList.mode = 2;
  oldList.listBytes = {9};
  oldList.entries = {EmbeddedEntry{u"a", {}, {6, 7}}};
  IdFill(oldList.entries[0].identifier, 2);

  EmbeddedResource colourNoValues = oldFile;
  colourNoValues.color = SomeColor();
  EmbeddedResource withValues = colourNoValues;
  withValues.valueA = 4;
  withValues.valueB = 5;

  const Case cases[] = {
      {"100700 count 5 is a file of 5 bytes", 100700,
       BufferWriter().WriteLong(5).WriteRaw({1, 2, 3, 4, 5}).Bytes(), oldFile},
      {"100700 count 0 is nothing", 100700, BufferWriter().WriteLong(0).Bytes(), EmptyImageSource()},
      {"100700 -1 is bytes with entries", 100700,
       BufferWriter()
           .WriteLong(-1)
           .WriteLong(1)
           .WriteByte(9)
           .WriteLong(0)
           .WriteString(u"a")
           .WriteIdentifier(oldList.entries[0].identifier)
           .WriteLong(2)
           .WriteRaw({6, 7})
           .Bytes(),
       oldList},
      {"100747 mode byte, upper bound and colour", 100747,
       BufferWriter()
           .WriteByte(1)
           .WriteLong(4)
           .WriteRaw({1, 2, 3, 4, 5})
           .WriteRaw({0x10, 0x20, 0x30, 0xFF})
           .WriteByteList({7, 8, 9})
           .Bytes(),
       colourNoValues},
      {"100748 has no values either", 100748,
       BufferWriter()
           .WriteByte(1)
           .WriteLong(4)
           .WriteRaw({1, 2, 3, 4, 5})
           .WriteRaw({0x10, 0x20, 0x30, 0xFF})
           .WriteByteList({7, 8, 9})
           .Bytes(),
       colourNoValues},
      {"100749 has the values", 100749,
       BufferWriter()
           .WriteByte(1)
           .WriteLong(4)
           .WriteRaw({1, 2, 3, 4, 5})
           .WriteLong(4)
           .WriteLong(5)
           .WriteRaw({0x10, 0x20, 0x30, 0xFF})
           .WriteByteList({7, 8, 9})
           .Bytes(),
       withValues},
  };
  for (const Case& c : cases) {
    EmbeddedResource read = EmptyImageSource();
    std::int32_t offset = 0;
    ReadImageSource(c.bytes, read, offset, c.version);
    EXPECT_EQ(read, c.expected) << c.name;
    EXPECT_EQ(offset, static_cast<std::int32_t>(c.bytes.size())) << c.name;
  }
}

TEST(ImageSource, AnOldModeBelowMinusOneLeavesTheRecordAsItWas) {
  EmbeddedResource read = FileResource();
  std::int32_t offset = 0;
  ReadImageSource(BufferWriter().WriteLong(-2).WriteLong(99).Bytes(), read, offset, 100700);
  EXPECT_EQ(read, FileResource());
  EXPECT_EQ(offset, 4);
}

TEST(ImageSource, OldPngFilesGetTheirClosingChecksumBytesBack) {
  struct Case {
    std::int32_t version;
    ByteList tail;
    bool fixed;
  };
  const Case cases[] = {
      {100600, {0xAE, 0x42}, true},
      {100669, {0xAE, 0x42}, true},
      {100670, {0xAE, 0x42}, false},
      {100600, {0x42, 0xAE}, false},
      {100600, {0xAE, 0x42, 0x60, 0x82}, false},
  };
  for (const Case& c : cases) {
    ByteList file(100 - c.tail.size(), 0x33);
    file.insert(file.end(), c.tail.begin(), c.tail.end());
    const ByteList bytes = BufferWriter().WriteLong(100).WriteRaw(file).Bytes();
    EmbeddedResource read;
    std::int32_t offset = 0;
    ReadImageSource(bytes, read, offset, c.version);
    ByteList expected = file;
    if (c.fixed) expected.insert(expected.end(), {0x60, 0x82});
    EXPECT_EQ(read.fileBytes, expected) << c.version;
    EXPECT_EQ(offset, 104) << c.version;
  }
  // Too short to end with the pair.
  EmbeddedResource read;
  std::int32_t offset = 0;
  ReadImageSource(BufferWriter().WriteLong(1).WriteByte(0x42).Bytes(), read, offset, 100600);
  EXPECT_EQ(read.fileBytes, ByteList{0x42});
}

TEST(ImageSource, BadSizesAndTruncationAreErrors) {
  const struct {
    std::int32_t version;
    ByteList bytes;
  } cases[] = {
      {kCurrentFormatVersion, BufferWriter().WriteByte(1).WriteLong(0x7FFFFFFF).Bytes()},
      {kCurrentFormatVersion, BufferWriter().WriteByte(2).WriteLong(-1).WriteLong(0x10000000).Bytes()},
      {100700, BufferWriter().WriteLong(0x7FFFFFFF).WriteLong(0).Bytes()},
      {100700, BufferWriter().WriteLong(-1).WriteLong(0).WriteLong(0).WriteLong(0).Bytes()},
  };
  for (const auto& c : cases) {
    EmbeddedResource read;
    std::int32_t offset = 0;
    EXPECT_EQ(ErrorOf([&] { ReadImageSource(c.bytes, read, offset, c.version); }), kEndOfData) << c.version;
  }

  for (const EmbeddedResource& resource : {FileResource(), ListResource()}) {
    ByteList full;
    std::int32_t offset = 0;
    WriteImageSource(full, resource, offset);
    for (std::size_t size = 0; size < full.size(); ++size) {
      const ByteList cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
      EmbeddedResource read;
      offset = 0;
      EXPECT_EQ(ErrorOf([&] { ReadImageSource(cut, read, offset, kCurrentFormatVersion); }), kEndOfData)
          << size;
    }
  }
}

}  // namespace
}  // namespace kiv
