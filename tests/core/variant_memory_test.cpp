// Memory claimed while reading nested tagged-value arrays. This program counts
// every allocation, so it lives apart from the other buffer tests.
#include <gtest/gtest.h>

#include <limits>

#include "core/data_buffer.h"
#include "core/error.h"
#include "support/allocation_meter.h"
#include "support/buffer_writer.h"

namespace kiv {
namespace {

// Every level of nested arrays claims as many elements as the bytes left could
// hold, and each level's first element is the next array. The innermost first
// element has an unknown tag, so the read fails there.
TEST(VariantMemory, NestedArraysClaimNoMoreThanTheBytesTheyHold) {
  constexpr std::int32_t kPadding = 200000;
  constexpr std::int32_t kHeader = 5;  // tag and upper bound
  test::BufferWriter w;
  for (int level = 0; level < kMaxVariantDepth; ++level) {
    const std::int32_t left = (kMaxVariantDepth - level - 1) * kHeader + kPadding;
    w.WriteByte(kVarVariant).WriteLong(left / kHeader - 1);
  }
  w.WriteRaw(ByteList(kPadding, 0xFF));
  const ByteList bytes = w.Bytes();

  const test::MeteredScope meter(std::numeric_limits<std::size_t>::max());
  std::int32_t offset = 0;
  bool refused = false;
  try {
    BufferReadVariant(bytes, offset);
  } catch (const KivError& error) {
    refused = error.Number() == kErrData;
  }
  EXPECT_TRUE(refused);
  // Sized level by level from the claimed counts, this took about 64 x 40,000
  // values of 32 bytes (some 80 MB) for 200 KB of data.
  EXPECT_LT(meter.Requested(), bytes.size() * 4);
}

}  // namespace
}  // namespace kiv
