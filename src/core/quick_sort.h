#pragma once
// The in-place quicksort that game lists are sorted with: the pivot is a copy
// of the middle element, both scans stop at the range's ends, and the smaller
// side is sorted first. It is not stable: equal elements keep no particular
// order, which stored games may rely on, so every list sorts the same way.
#include <cstdint>
#include <utility>

namespace kiv {

// at(k) gives element k by reference; less(a, b) is the strict order.
template <typename At, typename Less>
void QuickSortRange(std::int32_t low, std::int32_t high, const At& at, const Less& less) {
  // The smaller side is sorted by a recursive call and the larger one by the
  // next pass of the loop, so the depth stays below log2 of the count even on
  // input arranged against the middle pivot. The swaps are those of sorting
  // both sides recursively, smaller side first.
  while (low < high) {
    const auto pivot = at(low + (high - low) / 2);  // a copy: the swaps may move the element
    std::int32_t i = low;
    std::int32_t j = high;
    do {
      while (less(at(i), pivot) && i < high) ++i;
      while (less(pivot, at(j)) && low < j) --j;
      if (i <= j) {
        std::swap(at(i), at(j));
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - low < high - i) {
      if (low < j) QuickSortRange(low, j, at, less);
      low = i;
    } else {
      if (i < high) QuickSortRange(i, high, at, less);
      high = j;
    }
  }
}

}  // namespace kiv
