#pragma once
// Run-time copies of interface fields (list items, fields spawned from
// templates), their retirement into dormant spares, and a field's state from
// its selectable and disabled flags.
#include <cstdint>
#include <string>

namespace kiv {

// The retrieve-value script that spawns a field's list items.
inline constexpr std::size_t kFieldListScript = 5;

// Copies field sourceField of sourceMap, with its direct children when asked,
// into targetMap under the name at (x, y). In the source's own map the copy
// lands right behind the source and each child copy right behind its child;
// in another map they are appended. Returns the source's index after the
// insertions. The copies register scripts of their own.
std::int32_t InsertField(std::int32_t targetMap, std::int32_t sourceMap, std::int32_t sourceField, bool withChildren,
                         const std::u16string& name, std::int32_t x, std::int32_t y);
// Every field that the field spawned becomes a dormant spare; the list keeps its length.
void UnspawnChildFields(std::int32_t map, std::int32_t field);
// Set the flag and derive the field's state from it (a disabled field stays
// in the disabled state; enabling a field that is not selectable makes it plain).
void SetFieldSelectable(std::int32_t map, std::int32_t field, std::uint8_t value);
void SetFieldDisabled(std::int32_t map, std::int32_t field, std::uint8_t value);

}  // namespace kiv
