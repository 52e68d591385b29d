#include "core/error.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

namespace kiv {
namespace {

TEST(OutOfMemoryAsErrorTest, AllocationFailuresBecomeErrorSeven) {
  const std::function<void()> failures[] = {
      [] { throw std::bad_alloc(); },
      [] { throw std::bad_array_new_length(); },
      [] { throw std::length_error("vector::_M_default_append"); },
  };
  for (std::size_t k = 0; k < std::size(failures); ++k) {
    try {
      OutOfMemoryAsError(failures[k]);
      ADD_FAILURE() << k;
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), 7) << k;
      EXPECT_STREQ(e.what(), "Out of memory") << k;
    }
  }
}

TEST(OutOfMemoryAsErrorTest, OtherErrorsAndResultsPassUnchanged) {
  try {
    OutOfMemoryAsError([] { RaiseError(kErrData, "Invalid map size."); });
    ADD_FAILURE();
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), -1);
    EXPECT_STREQ(e.what(), "Invalid map size.");
  }
  // Faults that are not about memory are not hidden behind error 7.
  EXPECT_THROW(OutOfMemoryAsError([] { throw std::out_of_range("at"); }), std::out_of_range);
  EXPECT_EQ(OutOfMemoryAsError([] { return std::string("read"); }), "read");
  int value = 0;
  OutOfMemoryAsError([&value]() -> int& { return value; }) = 5;
  EXPECT_EQ(value, 5);
}

}  // namespace
}  // namespace kiv
