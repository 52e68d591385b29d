#include "core/record_codecs.h"

#include "core/error.h"

namespace kiv {

namespace {

// Versions at which the stored layouts changed.
constexpr std::int32_t kShapeModeByte = 100598;
constexpr std::int32_t kPolygonHeight = 100608;
constexpr std::int32_t kShapeLists = 100778;  // lists, rotations, polygon blocks; 12 unused bytes per box
constexpr std::int32_t kShapeExtras = 100779;
constexpr std::int32_t kShapeModes = 100781;  // before it any non-zero mode is 1
constexpr std::int32_t kPngTailFixed = 100670;
constexpr std::int32_t kResourceModeByte = 100747;  // also: sizes are upper bounds, colour record
constexpr std::int32_t kResourceValues = 100749;

constexpr std::int32_t kBoxBoundsSize = 24;
constexpr std::int32_t kRotationSize = 16;
constexpr std::int32_t kPointSize = 8;
constexpr std::int32_t kBlockSize = 12;
constexpr std::int32_t kExtraSize = 28;
constexpr std::int32_t kPolygonMinSize = 4 + 4 + kBlockSize + kRotationSize;
// Name (count), identifier, size field.
constexpr std::int32_t kEntryMinSize = 4 + 16 + 4;

// Polygon height of old files whose shape has no rectangle.
constexpr std::int32_t kDefaultPolygonHeight = 64;

CollisionRotation ReadRotation(const ByteList& buffer, std::int32_t& offset) {
  CollisionRotation r;
  r.x = BufferReadSingle(buffer, offset);
  r.y = BufferReadSingle(buffer, offset);
  r.z = BufferReadSingle(buffer, offset);
  r.w = BufferReadSingle(buffer, offset);
  return r;
}

std::array<float, 3> ReadBlock(const ByteList& buffer, std::int32_t& offset) {
  std::array<float, 3> block;
  for (float& f : block) f = BufferReadSingle(buffer, offset);
  return block;
}

CollisionBox ReadBox(const ByteList& buffer, std::int32_t& offset, std::int32_t version) {
  CollisionBox box;
  box.left = BufferReadLong(buffer, offset);
  box.top = BufferReadLong(buffer, offset);
  box.right = BufferReadLong(buffer, offset);
  box.bottom = BufferReadLong(buffer, offset);
  box.front = BufferReadLong(buffer, offset);
  box.back = BufferReadLong(buffer, offset);
  if (version >= kShapeLists) {
    if (version == kShapeLists) {
      BufferRequire(buffer, offset, kBlockSize);
      offset += kBlockSize;
    }
    box.rotation = ReadRotation(buffer, offset);
    if (box.rotation.x == 0.0f && box.rotation.y == 0.0f && box.rotation.z == 0.0f &&
        box.rotation.w == 0.0f) {
      box.rotation = CollisionRotation{};
    }
  }
  return box;
}

// An old file's one rectangle that encloses nothing.
bool IsEmptyOldBox(const CollisionBox& b) {
  return b.left >= b.right || (b.front == 0 && b.back == 0 && b.top >= b.bottom) ||
         (b.top == 0 && b.bottom == 0 && b.front >= b.back);
}

CollisionPolygon ReadPolygon(const ByteList& buffer, std::int32_t& offset, std::int32_t version,
                             const CollisionShape& shape) {
  CollisionPolygon polygon;
  const std::int32_t pointLastIndex = BufferReadLastIndex(buffer, offset, kPointSize);
  polygon.points.resize(static_cast<std::size_t>(pointLastIndex + 1));
  for (CollisionPoint& p : polygon.points) {
    p.x = BufferReadSingle(buffer, offset);
    p.y = BufferReadSingle(buffer, offset);
  }
  if (version >= kPolygonHeight) {
    polygon.height = BufferReadLong(buffer, offset);
  } else {
    polygon.height = shape.rectangles.empty() ? kDefaultPolygonHeight : shape.rectangles.front().back;
  }
  if (version >= kShapeLists) {
    polygon.block = ReadBlock(buffer, offset);
    polygon.rotation = ReadRotation(buffer, offset);
  }
  return polygon;
}

// The size field of a byte list: an upper bound from 100747, a byte count before.
ByteList ReadResourceBytes(const ByteList& buffer, std::int32_t& offset, std::int32_t version) {
  if (version >= kResourceModeByte) return BufferReadByteList(buffer, offset);
  const std::int32_t count = BufferReadLong(buffer, offset);
  if (count <= 0) return ByteList();
  BufferRequire(buffer, offset, count);
  ByteList bytes(buffer.begin() + offset, buffer.begin() + offset + count);
  offset += count;
  return bytes;
}

}  // namespace

void ReadCollisionShape(const ByteList& buffer, CollisionShape& shape, std::int32_t& offset,
                        std::int32_t version) {
  if (version >= kShapeModeByte) {
    shape.mode = BufferReadByte(buffer, offset);
    if (version < kShapeModes && shape.mode != 0) shape.mode = 1;
  }

  const bool lists = version >= kShapeLists;
  const std::int32_t boxSize = kBoxBoundsSize + kRotationSize + (version == kShapeLists ? kBlockSize : 0);
  std::int32_t lastIndex = lists ? BufferReadLastIndex(buffer, offset, boxSize) : 0;
  shape.rectangles.clear();
  shape.rectangles.reserve(static_cast<std::size_t>(lastIndex + 1));
  for (std::int32_t i = 0; i <= lastIndex; ++i) shape.rectangles.push_back(ReadBox(buffer, offset, version));
  if (!lists && IsEmptyOldBox(shape.rectangles.front())) shape.rectangles.clear();

  lastIndex = lists ? BufferReadLastIndex(buffer, offset, kPolygonMinSize) : 0;
  shape.polygons.clear();
  shape.polygons.reserve(static_cast<std::size_t>(lastIndex + 1));
  for (std::int32_t i = 0; i <= lastIndex; ++i)
    shape.polygons.push_back(ReadPolygon(buffer, offset, version, shape));
  if (!lists) {
    const CollisionPolygon& old = shape.polygons.front();
    if (old.points.empty() || old.height <= 0) shape.polygons.clear();
  }

  shape.extras.clear();
  if (version >= kShapeExtras) {
    lastIndex = BufferReadLastIndex(buffer, offset, kExtraSize);
    shape.extras.resize(static_cast<std::size_t>(lastIndex + 1));
    for (CollisionExtra& e : shape.extras) {
      e.first = ReadBlock(buffer, offset);
      e.second = ReadBlock(buffer, offset);
      e.value = BufferReadLong(buffer, offset);
    }
  }
}

void ReadColorBytes(const ByteList& buffer, ColorRecord& color, std::int32_t& offset,
                    std::int32_t /*version*/) {
  for (std::uint8_t& b : color.color) b = BufferReadByte(buffer, offset);
  color.bytes = BufferReadByteList(buffer, offset);
}

void WriteColorBytes(ByteList& buffer, const ColorRecord& color, std::int32_t& offset) {
  for (std::uint8_t b : color.color) BufferWriteByte(buffer, b, offset);
  BufferWriteByteList(buffer, color.bytes, offset);
}

void ReadImageSource(const ByteList& buffer, EmbeddedResource& resource, std::int32_t& offset,
                     std::int32_t version) {
  if (version >= kResourceModeByte) {
    resource.mode = BufferReadByte(buffer, offset);
  } else {
    const std::int32_t n = BufferReadLong(buffer, offset);
    if (n == 0) {
      resource.mode = 0;
    } else if (n > 0) {
      resource.mode = 1;
      offset -= 4;  // n is the byte count of the file, read again below
    } else if (n == -1) {
      resource.mode = 2;
    } else {
      return;  // not a mode of any format: the record stays as it was
    }
  }

  if (resource.mode == 1) {
    resource.fileBytes = ReadResourceBytes(buffer, offset, version);
    // Old writers dropped the last two bytes of a PNG file's closing checksum.
    const ByteList& f = resource.fileBytes;
    if (version < kPngTailFixed && f.size() >= 2 && f[f.size() - 2] == 0xAE && f[f.size() - 1] == 0x42) {
      resource.fileBytes.push_back(0x60);
      resource.fileBytes.push_back(0x82);
    }
    if (version >= kResourceValues) {
      resource.valueA = BufferReadLong(buffer, offset);
      resource.valueB = BufferReadLong(buffer, offset);
    }
    if (version >= kResourceModeByte) ReadColorBytes(buffer, resource.color, offset, version);
  } else if (resource.mode == 2) {
    resource.listBytes = ReadResourceBytes(buffer, offset, version);
    const std::int32_t lastIndex = BufferReadLastIndex(buffer, offset, kEntryMinSize);
    resource.entries.assign(static_cast<std::size_t>(lastIndex + 1), EmbeddedEntry{});
    for (EmbeddedEntry& e : resource.entries) {
      e.name = BufferReadString(buffer, offset);
      e.identifier = BufferReadIdentifier(buffer, offset);
      e.bytes = ReadResourceBytes(buffer, offset, version);
    }
  }
}

void WriteImageSource(ByteList& buffer, const EmbeddedResource& resource, std::int32_t& offset) {
  BufferWriteByte(buffer, resource.mode, offset);
  if (resource.mode == 1) {
    BufferWriteByteList(buffer, resource.fileBytes, offset);
    BufferWriteLong(buffer, resource.valueA, offset);
    BufferWriteLong(buffer, resource.valueB, offset);
    WriteColorBytes(buffer, resource.color, offset);
  } else if (resource.mode == 2) {
    BufferWriteByteList(buffer, resource.listBytes, offset);
    BufferWriteLastIndex(buffer, resource.entries.size(), offset);
    for (const EmbeddedEntry& e : resource.entries) {
      BufferWriteString(buffer, e.name, offset);
      BufferWriteIdentifier(buffer, e.identifier, offset);
      BufferWriteByteList(buffer, e.bytes, offset);
    }
  }
}

EmbeddedResource EmptyImageSource() { return EmbeddedResource{}; }

}  // namespace kiv
