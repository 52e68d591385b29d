#pragma once
// Writes a collision shape in the layout of a given format version, so that
// tests can feed every stored form to the readers (the player has no writer):
//   before 100598       no mode byte; one rectangle (24 bytes); one polygon without height
//   100598..100607      mode byte; one rectangle; one polygon without height
//   100608..100777      mode byte; one rectangle; one polygon with its height
//   100778              lists with last indexes; 12 unused bytes before each rectangle's rotation;
//                       polygons with block and rotation; no extra entries
//   from 100779         as 100778 without the unused bytes, then the extra entries
// The old single-record layouts take the first rectangle and polygon of the
// shape (an all-zero rectangle, or a polygon without points, when there is none).
#include <cstdint>

#include "core/record_codecs.h"
#include "support/buffer_writer.h"

namespace kiv::test {

// Filler of the 12 unused bytes of a version-100778 rectangle: not zero, so a
// reader that takes them as data is caught.
inline constexpr std::uint8_t kUnusedShapeByte = 0xCD;

void WriteCollisionShape(BufferWriter& writer, const CollisionShape& shape, std::int32_t version);

}  // namespace kiv::test
