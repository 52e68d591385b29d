#include "core/data_buffer.h"
#include "state/map_section_writers.h"
#include "state/object_writers.h"

namespace kiv {

namespace {

template <typename List, typename WriteOne>
void WriteList(ByteList& buffer, std::int32_t& offset, const List& list, WriteOne writeOne) {
  BufferWriteLastIndex(buffer, list.size(), offset);
  for (std::size_t i = 0; i < list.size(); ++i) writeOne(static_cast<std::int32_t>(i));
}

}  // namespace

void WriteMapBody(Map& map, ByteList& buffer, std::int32_t& offset, bool isSave) {
  WriteList(buffer, offset, map.doors, [&](std::int32_t i) { WriteDoor(map, buffer, offset, i, isSave); });
  WriteList(buffer, offset, map.zones, [&](std::int32_t i) { WriteZone(map, buffer, offset, i, isSave); });
  WriteList(buffer, offset, map.boundaries, [&](std::int32_t i) { WriteBoundary(map, buffer, offset, i); });
  WriteList(buffer, offset, map.actors, [&](std::int32_t i) {
    WriteActor(map.actors[static_cast<std::size_t>(i)], buffer, offset, isSave);
  });
  WriteList(buffer, offset, map.pickUps, [&](std::int32_t i) { WritePickUp(map, buffer, offset, i, isSave); });
  WriteList(buffer, offset, map.lights, [&](std::int32_t i) { WriteLight(map, buffer, offset, i); });
  WriteList(buffer, offset, map.speakers, [&](std::int32_t i) { WriteSpeaker(map, buffer, offset, i); });
  if (isSave) {
    WriteList(buffer, offset, map.projectiles, [&](std::int32_t i) { WriteProjectile(map, buffer, offset, i); });
  }
  WriteList(buffer, offset, map.spawns, [&](std::int32_t i) { WriteSpawn(map, buffer, offset, i, isSave); });
  WriteList(buffer, offset, map.fields, [&](std::int32_t i) { WriteField(map, buffer, offset, i, isSave); });
  WriteList(buffer, offset, map.positionedTexts, [&](std::int32_t i) { WriteMapExtra(map, buffer, offset, i); });
}

}  // namespace kiv
