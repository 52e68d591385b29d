#include "core/quick_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace kiv {
namespace {

// The sort as it was written first, recursing into both sides: the order of
// equal keys that stored games and scripts have seen.
template <typename At, typename Less>
void RecursiveReference(std::int32_t low, std::int32_t high, const At& at, const Less& less) {
  const auto pivot = at(low + (high - low) / 2);
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
    if (low < j) RecursiveReference(low, j, at, less);
    if (i < high) RecursiveReference(i, high, at, less);
  } else {
    if (i < high) RecursiveReference(i, high, at, less);
    if (low < j) RecursiveReference(low, j, at, less);
  }
}

// Values for which the middle element of every range the sort meets is the
// range's largest: each pass then splits off one element only.
std::vector<std::int32_t> AgainstMiddlePivot(std::int32_t n) {
  std::vector<std::int32_t> value(static_cast<std::size_t>(n), 0);
  std::vector<std::int32_t> at(static_cast<std::size_t>(n));
  for (std::int32_t k = 0; k < n; ++k) at[static_cast<std::size_t>(k)] = k;
  for (std::int32_t high = n - 1; high >= 1; --high) {
    const std::int32_t middle = high / 2;
    value[static_cast<std::size_t>(at[static_cast<std::size_t>(middle)])] = high;
    std::swap(at[static_cast<std::size_t>(middle)], at[static_cast<std::size_t>(high)]);
  }
  return value;
}

TEST(QuickSortRange, EqualKeysComeOutInTheOrderOfTheRecursiveSort) {
  std::mt19937 random(7);
  for (const std::int32_t n : {2, 3, 10, 257, 2000}) {
    std::vector<std::pair<int, int>> input;
    for (int k = 0; k < n; ++k) input.emplace_back(static_cast<int>(random() % 12), k);
    std::vector<std::pair<int, int>> ours = input;
    std::vector<std::pair<int, int>> reference = input;
    const auto less = [](const std::pair<int, int>& a, const std::pair<int, int>& b) { return a.first < b.first; };
    QuickSortRange(0, n - 1, [&](std::int32_t k) -> std::pair<int, int>& { return ours[static_cast<std::size_t>(k)]; },
                   less);
    RecursiveReference(
        0, n - 1, [&](std::int32_t k) -> std::pair<int, int>& { return reference[static_cast<std::size_t>(k)]; },
        less);
    EXPECT_EQ(ours, reference) << "n = " << n;
  }
}

TEST(QuickSortRange, HundredThousandValuesAgainstTheMiddlePivotNeedLittleStack) {
  constexpr std::int32_t kCount = 100000;
  std::vector<std::int32_t> values = AgainstMiddlePivot(kCount);
  // The arrangement is hostile: the first pass splits off one element only.
  EXPECT_EQ(values[(kCount - 1) / 2], kCount - 1);

  // The deepest stack address a comparison runs at, against the first one's;
  // sampled, as the arrangement costs about n * n / 2 comparisons.
  std::uintptr_t shallowest = 0;
  std::uintptr_t deepest = UINTPTR_MAX;
  std::uint32_t comparisons = 0;
  const auto less = [&](std::int32_t a, std::int32_t b) {
    if ((comparisons++ & 0xFFF) == 0) {
      volatile char probe = 0;
      const auto address = reinterpret_cast<std::uintptr_t>(&probe);
      shallowest = std::max(shallowest, address);
      deepest = std::min(deepest, address);
    }
    return a < b;
  };
  QuickSortRange(0, kCount - 1, [&](std::int32_t k) -> std::int32_t& { return values[static_cast<std::size_t>(k)]; },
                 less);
  ASSERT_TRUE(std::is_sorted(values.begin(), values.end()));
  EXPECT_EQ(values.front(), 0);
  EXPECT_EQ(values.back(), kCount - 1);
  // log2(100,000) is 17 levels; recursing into the larger side would need 100,000.
  EXPECT_LT(shallowest - deepest, 64u * 1024u);
}

}  // namespace
}  // namespace kiv
