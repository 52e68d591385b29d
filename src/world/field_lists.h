#pragma once
// Run-time copies of interface fields (list items, fields spawned from
// templates), their retirement into dormant spares, and a field's state from
// its selectable and disabled flags.
#include <cstdint>
#include <string>
#include <vector>

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
// One list item to spawn: its name and place.
struct ListItemPlace {
  std::u16string name;
  std::int32_t x = 0;
  std::int32_t y = 0;
};
// Spawns the items of a list field in its own map, as InsertField with
// children would one by one from the last item to the first: item k lands at
// field + 1 + k, and behind each child of the field the copies of that child
// for items 0..n. Every block is inserted at once with one reference shift
// of the block's size. Returns the field's index after the insertions.
std::int32_t SpawnListItems(std::int32_t map, std::int32_t field, const std::vector<ListItemPlace>& items);
// Every field that the field spawned becomes a dormant spare; the list keeps its length.
void UnspawnChildFields(std::int32_t map, std::int32_t field);
// Set the flag and derive the field's state from it (a disabled field stays
// in the disabled state; enabling a field that is not selectable makes it plain).
void SetFieldSelectable(std::int32_t map, std::int32_t field, std::uint8_t value);
void SetFieldDisabled(std::int32_t map, std::int32_t field, std::uint8_t value);

}  // namespace kiv
