#pragma once
// Turning stored identifiers into table indexes. Every reference is kept as an
// index beside the identifier it came from, so it can be resolved again after
// the tables change:
//   0 or more  the record at that index
//   -1         no reference (left alone)
//   -2         unresolved: no record has the identifier (tried again each time)
#include <cstdint>
#include <functional>

#include "core/identifier.h"

namespace kiv {

// The first of count records whose identifier (idAt) equals id; -1 for an
// empty identifier, -2 when none has it.
std::int32_t FindIdentifierIn(std::int32_t count, const std::function<const Identifier&(std::int32_t)>& idAt,
                              const Identifier& id);

template <typename Table>
std::int32_t FindRecordById(const Table& table, const Identifier& id) {
  return FindIdentifierIn(static_cast<std::int32_t>(table.size()),
                          [&table](std::int32_t i) -> const Identifier& { return table[static_cast<std::size_t>(i)].id; },
                          id);
}

// Resolves one reference pair in place against count records. A pair at 0 or
// more whose empty identifier no record has keeps its index and takes the
// identifier of that record (unless keepEmpty); an index beyond the table then
// raises error 9. Returns the index.
std::int32_t ResolveIdentifierIn(std::int32_t& index, Identifier& id, std::int32_t count,
                                 const std::function<const Identifier&(std::int32_t)>& idAt, bool keepEmpty = false);

template <typename Table>
std::int32_t ResolveRecordRef(std::int32_t& index, Identifier& id, const Table& table, bool keepEmpty = false) {
  return ResolveIdentifierIn(
      index, id, static_cast<std::int32_t>(table.size()),
      [&table](std::int32_t i) -> const Identifier& { return table[static_cast<std::size_t>(i)].id; }, keepEmpty);
}

// The lookups of the global tables.
std::int32_t FindTileSetById(const Identifier& id);
std::int32_t FindSpriteSetById(const Identifier& id);
std::int32_t FindInputSetById(const Identifier& id);
std::int32_t FindControlById(const Identifier& id);
std::int32_t FindItemById(const Identifier& id);
std::int32_t FindDoorSetById(const Identifier& id);
std::int32_t FindFontSetById(const Identifier& id);
std::int32_t FindSoundSetById(const Identifier& id);
std::int32_t FindActorTemplateById(const Identifier& id);
std::int32_t FindTeamById(const Identifier& id);

// One pair against soundSets, spriteSets, items, the equipment areas or tileSets.
void ResolveSoundSetRef(std::int32_t& index, Identifier& id);
void ResolveSpriteSetRef(std::int32_t& index, Identifier& id);
void ResolveItemRef(std::int32_t& index, Identifier& id);
void ResolveEquipmentAreaRef(std::int32_t& index, Identifier& id);
void ResolveTileSetRef(std::int32_t& index, Identifier& id);

}  // namespace kiv
