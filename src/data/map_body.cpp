#include "core/data_buffer.h"
#include "core/error.h"
#include "data/map_reader.h"
#include "data/sector_grid.h"

namespace kiv {

namespace {

// A section of the body, present in files from..before (before 0: no upper gate).
struct BodySection {
  std::int32_t from;
  std::int32_t before;
  bool saveOnly;
};

// In file order: legacy dynamic objects, doors, zones, boundaries, actors,
// legacy vehicles, legacy tile placements, pick-ups, lights, speakers,
// projectiles, legacy blocks, legacy turrets, spawns, fields, positioned texts.
constexpr BodySection kSections[] = {
    {0, 100636, false}, {0, 0, false}, {0, 0, false}, {0, 0, false},      {0, 0, false}, {0, 100601, false},
    {0, 100590, false}, {0, 0, false}, {0, 0, false}, {100546, 0, false}, {0, 0, true},  {0, 100565, false},
    {0, 100605, false}, {0, 0, false}, {0, 0, false}, {100751, 0, false},
};

}  // namespace

void ReadMapBody(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map, bool isSave) {
  BuildSectorGrid(map);
  for (const BodySection& section : kSections) {
    if (version < section.from || (section.before != 0 && version >= section.before)) continue;
    if (section.saveOnly && !isSave) continue;
    if (BufferReadLong(buffer, offset) >= 0) {
      RaiseError(kErrData, "Map objects cannot be read by this version.");
    }
  }
}

}  // namespace kiv
