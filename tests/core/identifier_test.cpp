#include "core/identifier.h"

#include <gtest/gtest.h>

#include <set>

#include "core/random.h"

namespace kiv {
namespace {

TEST(Identifier, OnlyAllZeroBytesAreEmpty) {
  Identifier id;
  EXPECT_TRUE(IdIsEmpty(id));
  for (int i = 0; i < 16; ++i) {
    Identifier one;
    one.bytes[i] = 0x80;
    EXPECT_FALSE(IdIsEmpty(one)) << i;
  }
}

TEST(Identifier, EqualsIsFalseAsSoonAsOneByteDiffers) {
  Identifier a;
  IdFill(a, 0x5A);
  for (int i = 0; i < 16; ++i) {
    Identifier b;
    IdCopy(b, a);
    EXPECT_TRUE(IdEquals(a, b));
    b.bytes[i] ^= 1;
    EXPECT_FALSE(IdEquals(a, b)) << i;
  }
}

TEST(Identifier, FillSetsEveryByte) {
  Identifier id;
  IdFill(id, 0x03);
  for (std::uint8_t b : id.bytes) EXPECT_EQ(b, 0x03);
}

TEST(Identifier, NewRandomTakesOneGeneratorValuePerByteInOrder) {
  RandomSeed(1234);
  std::uint8_t expected[16];
  for (std::uint8_t& b : expected) b = static_cast<std::uint8_t>(static_cast<int>(RandomNext() * 256));
  RandomSeed(1234);
  Identifier id;
  IdNewRandom(id);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(id.bytes[i], expected[i]) << i;

  // Successive identifiers differ and use the whole byte range.
  std::set<std::uint8_t> seen;
  Identifier previous = id;
  for (int n = 0; n < 64; ++n) {
    IdNewRandom(id);
    EXPECT_FALSE(IdEquals(id, previous));
    previous = id;
    seen.insert(id.bytes.begin(), id.bytes.end());
  }
  EXPECT_GT(seen.size(), 200u);
}

}  // namespace
}  // namespace kiv
