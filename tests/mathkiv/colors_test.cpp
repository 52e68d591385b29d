#include "mathkiv/colors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kiv {
namespace {

struct LerpCase {
  std::uint32_t a;
  std::uint32_t b;
  float t;
  std::uint32_t expected;
};

TEST(ColorLerp, EndsMidpointsAndClamping) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const LerpCase cases[] = {
      {0x11223344u, 0xAABBCCDDu, 0.0f, 0x11223344u},  {0x11223344u, 0xAABBCCDDu, 1.0f, 0xAABBCCDDu},
      {0x00000000u, 0xFFFFFFFFu, 0.5f, 0x80808080u},   // 127.5 rounds up
      {0xFF000000u, 0x00FF0000u, 0.25f, 0xBF400000u},  // alpha falls while red rises
      {0x00FFFFFFu, 0xFFFFFFFFu, 0.5f, 0x80FFFFFFu},   // a fade-in from no alpha
      {0x10101010u, 0x20202020u, -3.0f, 0x10101010u},  // below 0 stays at a
      {0x10101010u, 0x20202020u, 7.0f, 0x20202020u},   // above 1 stays at b
      {0x10101010u, 0x20202020u, nan, 0x10101010u},
  };
  for (const LerpCase& c : cases) {
    EXPECT_EQ(ColorLerp(c.a, c.b, c.t), c.expected) << std::hex << c.a << " " << c.b << " t=" << c.t;
  }
}

TEST(ColorLerp, ChannelsMoveMonotonicallyFromOneEndToTheOther) {
  std::uint32_t previous = ColorLerp(0xFF00FF00u, 0x00FF00FFu, 0.0f);
  for (int step = 1; step <= 100; ++step) {
    const std::uint32_t c = ColorLerp(0xFF00FF00u, 0x00FF00FFu, static_cast<float>(step) / 100.0f);
    EXPECT_LE((c >> 24) & 0xFF, (previous >> 24) & 0xFF) << step;  // falling channels
    EXPECT_LE((c >> 8) & 0xFF, (previous >> 8) & 0xFF) << step;
    EXPECT_GE((c >> 16) & 0xFF, (previous >> 16) & 0xFF) << step;  // rising channels
    EXPECT_GE(c & 0xFF, previous & 0xFF) << step;
    previous = c;
  }
  EXPECT_EQ(previous, 0x00FF00FFu);
}

TEST(ColorModulate, WhiteIsNeutralBlackAbsorbsAndChannelsMultiply) {
  const std::uint32_t colours[] = {0x00000000u, 0x12345678u, 0x80FF7F01u, 0xFFFFFFFFu};
  for (std::uint32_t c : colours) {
    EXPECT_EQ(ColorModulate(c, 0xFFFFFFFFu), c);
    EXPECT_EQ(ColorModulate(0xFFFFFFFFu, c), c);
    EXPECT_EQ(ColorModulate(c, 0u), 0u);
  }
  EXPECT_EQ(ColorModulate(0x80808080u, 0x80808080u), 0x40404040u);  // 128 * 128 / 255 = 64.25
  EXPECT_EQ(ColorModulate(0xFF00FF00u, 0x00FF00FFu), 0u);
}

TEST(ColorAverage, PerChannelMeanRoundedUp) {
  EXPECT_EQ(ColorAverage(0x00000000u, 0xFFFFFFFFu), 0x80808080u);
  EXPECT_EQ(ColorAverage(0x10203040u, 0x30405060u), 0x20304050u);
  EXPECT_EQ(ColorAverage(0xFF000000u, 0x00FF0000u), 0x80800000u);
  EXPECT_EQ(ColorAverage(0x12345678u, 0x12345678u), 0x12345678u);
}

}  // namespace
}  // namespace kiv
