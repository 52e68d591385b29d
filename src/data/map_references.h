#pragma once
// Map references: an index into maps, a map's file name and its identifier,
// kept together by their holder. Index values: 0 or more a loaded map, -1 none,
// -2 not found (tried again later), -3 the name "*" (any map), -4 on entry:
// resolve by the identifier instead of the name.
#include <cstdint>
#include <string>

#include "core/byte_list.h"
#include "core/identifier.h"

namespace kiv {

// Finds the map or interface of the reference among the loaded maps; a map not
// loaded yet is taken from the package ("<name>.kmp", or the first map entry
// with the identifier) and either loaded (load) or entered as a placeholder. A
// map that fails to load is dropped with a notice and the reference stays -2.
// Writes the index (and the name, when found by identifier) back and returns the index.
std::int32_t ResolveMapReference(std::int32_t& index, std::u16string& name, const Identifier& id, bool isInterface,
                                 bool load);

// Resolves every map reference one map holds: its four named slots, the
// targets of its doors and zones and the map of every field action.
void ResolveMapLinks(std::int32_t mapIndex);

// The identifier of a map file's bytes: the 16 bytes after its resource
// header (24 bytes from format 100738, 4 before); false when the bytes end first.
bool MapFileIdentifier(const ByteList& bytes, Identifier& id);

}  // namespace kiv
