#pragma once
// Small records that many data files share, with their codecs: the collision
// shape of sprites, tiles and characters, and the embedded resource (an image or
// other file carried inside a set record) with its colour record.
// Every reader takes the file's format version and reads by it.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/byte_list.h"
#include "core/data_buffer.h"
#include "core/geometry.h"
#include "core/identifier.h"

namespace kiv {

// A rotation quaternion as stored: four 32-bit floats.
using CollisionRotation = Quaternion;

struct CollisionBox {
  // x range left..right, y range top..bottom, height range front..back.
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  std::int32_t front = 0;
  std::int32_t back = 0;
  CollisionRotation rotation;

  friend bool operator==(const CollisionBox&, const CollisionBox&) = default;
};

// Points and blocks are carried as read for the collision functions.
struct CollisionPoint {
  float x = 0.0f;
  float y = 0.0f;

  friend bool operator==(const CollisionPoint&, const CollisionPoint&) = default;
};

struct CollisionPolygon {
  std::vector<CollisionPoint> points;
  std::int32_t height = 0;
  std::array<float, 3> block{};
  CollisionRotation rotation;

  friend bool operator==(const CollisionPolygon&, const CollisionPolygon&) = default;
};

struct CollisionExtra {
  std::array<float, 3> first{};
  std::array<float, 3> second{};
  std::int32_t value = 0;

  friend bool operator==(const CollisionExtra&, const CollisionExtra&) = default;
};

struct CollisionShape {
  std::vector<CollisionBox> rectangles;
  std::vector<CollisionPolygon> polygons;
  std::vector<CollisionExtra> extras;
  std::uint8_t mode = 0;
  // Set by the world code when it places a flipped shape; never stored in files.
  std::uint8_t transformed = 0;
  std::uint8_t flipX = 0;
  std::uint8_t flipY = 0;

  friend bool operator==(const CollisionShape&, const CollisionShape&) = default;
};

struct ColorRecord {
  std::array<std::uint8_t, 4> color{};
  ByteList bytes;

  friend bool operator==(const ColorRecord&, const ColorRecord&) = default;
};

struct EmbeddedEntry {
  std::u16string name;
  Identifier identifier;
  ByteList bytes;

  friend bool operator==(const EmbeddedEntry&, const EmbeddedEntry&) = default;
};

struct EmbeddedResource {
  ByteList listBytes;                  // mode 2
  std::vector<EmbeddedEntry> entries;  // mode 2
  ByteList fileBytes;                  // mode 1
  std::uint8_t mode = 0;               // 0 none, 1 one embedded file, 2 bytes with named entries
  ColorRecord color;                   // mode 1
  std::int32_t valueA = 0;             // mode 1
  std::int32_t valueB = 0;             // mode 1

  friend bool operator==(const EmbeddedResource&, const EmbeddedResource&) = default;
};

// Reads a shape stored at the given format version; older layouts are converted
// to the current one (one rectangle and one polygon, identity rotations).
// The player has no writer of collision shapes.
void ReadCollisionShape(const ByteList& buffer, CollisionShape& shape, std::int32_t& offset,
                        std::int32_t version);

void ReadColorBytes(const ByteList& buffer, ColorRecord& color, std::int32_t& offset, std::int32_t version);
void WriteColorBytes(ByteList& buffer, const ColorRecord& color, std::int32_t& offset);

// Reads a resource stored at the given format version; fields that the version
// does not store keep the values the record had.
void ReadImageSource(const ByteList& buffer, EmbeddedResource& resource, std::int32_t& offset,
                     std::int32_t version);
// Writes the current format.
void WriteImageSource(ByteList& buffer, const EmbeddedResource& resource, std::int32_t& offset);
EmbeddedResource EmptyImageSource();

}  // namespace kiv
