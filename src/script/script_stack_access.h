#pragma once
// How commands read their arguments from the running frame's value stack, and
// the checks and helpers shared by the collection and table commands.
//
// An offset n addresses entry stackBase + n of the top frame; offset -1
// addresses entry 0 whatever the base.
#include <array>
#include <cstdint>
#include <vector>

#include "core/variant.h"
#include "script/call_frame.h"
#include "script/script_globals.h"
#include "script/script_value.h"

namespace kiv {

// The value an entry stands for: a variable reference (kind 7) reads its token
// (literal text, local, static, parameter or global variable; Empty for other
// tokens); every other entry gives its own value.
const Variant& ScriptEntryValue(const CallFrame& frame, const ScriptValue& entry);

Variant ScriptGetArgument(std::int32_t offset);
std::int32_t ScriptGetArgumentKind(std::int32_t offset);
// The entry's map index; 0 for a variable reference.
std::int32_t ScriptGetArgumentMapIndex(std::int32_t offset);
// A collection's elements (kind 1 at firstOffset), an array value at firstOffset,
// or the arguments firstOffset..lastOffset; always an array of Variants.
Variant ScriptGetArgumentArray(std::int32_t lastOffset, std::int32_t firstOffset);

// Accepts a user collection, or an array value unless refuseSystem; raises otherwise.
void ScriptCheckCollectionArgument(std::int32_t offset, bool refuseSystem);
std::int32_t ScriptCollectionSize(std::int32_t offset);
// Elements start..start+count-1 as an array value; count < 0 or past the end
// takes the rest; start < 0 raises 5.
void ScriptCollectionSlice(ScriptValue& result, std::int32_t offset, std::int32_t start, std::int32_t count);

std::int32_t ScriptGetTableArgument(std::int32_t offset);
// Raises the element message unless 0 <= x, y, z <= the table's upper indexes.
void ScriptCheckTableElement(std::int32_t table, std::int32_t x, std::int32_t y, std::int32_t z);
// Makes the table one cell (upper indexes 0) holding Empty.
void ScriptClearTable(std::int32_t table);
// Raises unless 0 <= x <= width, 0 <= y <= height and 0 <= z <= layers of the map.
void ScriptCheckTileBounds(std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t z);

// True when p must come before q.
bool ScriptCompareForSort(const Variant& p, const Variant& q, bool descending, bool numeric);
void ScriptSortArray(std::vector<Variant>& elements, std::int32_t low, std::int32_t high, bool descending,
                     bool numeric);
// Sorts the line of cells along dimension (1 x, 2 y, 3 z) through position
// (three 1-based indexes), from low to high (0-based along that dimension).
void ScriptSortArrayKeyed(ScriptTable3& table, std::int32_t dimension,
                          const std::array<std::int32_t, 3>& position, std::int32_t low, std::int32_t high,
                          bool descending, bool numeric);

// The proximity memory of a trigger; True only when actorB was added.
bool ScriptUpdateIdList(Variant& idList, bool close, float distance, std::int32_t map, std::int32_t actorA,
                        std::int32_t actorB);

// The control named "Action", else the first bound to Enter (28), else to Space (57).
std::int32_t ScriptFindActionControl(std::int32_t player);
std::int32_t ScriptCurrentPlayerIndex();

}  // namespace kiv
