#pragma once
// Taking one element out of a list and opening a slot in it. A list is a
// std::vector whose last index is size() - 1; callers that keep a last index
// of their own adjust it themselves, as with every list of the game data.
#include <cstdint>
#include <string>
#include <vector>

#include "core/error.h"

namespace kiv {

// Removes the element at index; the elements behind it move down by one, in
// order. An index outside the list is error 9 and changes nothing.
template <typename T>
void ArrayRemove(std::vector<T>& list, std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= list.size())
    RaiseError(kErrIndex, "ArrayRemove: index " + std::to_string(index) + " outside the list.");
  list.erase(list.begin() + index);
}

// Opens a slot at index (0 up to the size, which appends): the elements from
// index on move up by one and the slot holds a fresh element for the caller to
// fill. An index outside 0..size is error 9 and changes nothing.
template <typename T>
void ArrayInsert(std::vector<T>& list, std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) > list.size())
    RaiseError(kErrIndex, "ArrayInsert: index " + std::to_string(index) + " outside the list.");
  list.insert(list.begin() + index, T{});
}

}  // namespace kiv
