#include "platform/os/clock.h"

#include <gtest/gtest.h>

namespace kiv::os {
namespace {

TEST(Clock, FakeClockStandsStillUntilAdvancedOrSleptOn) {
  FakeClock fake(5000);
  {
    ScopedClock scope(fake);
    EXPECT_EQ(GetTickCount(), 5000u);
    EXPECT_EQ(GetTickCount(), 5000u);
    fake.Advance(16);
    EXPECT_EQ(GetTickCount(), 5016u);
    Sleep(1);
    Sleep(0);
    EXPECT_EQ(GetTickCount(), 5017u);
    EXPECT_EQ(fake.SleepCalls(), 2u);
    EXPECT_EQ(fake.SleptMilliseconds(), 1u);
  }
  // The system clock is back: it moves on its own and Sleep really waits.
  const std::uint32_t before = GetTickCount();
  Sleep(5);
  EXPECT_GE(GetTickCount() - before, 4u);
  EXPECT_EQ(fake.TickCount(), 5017u);
}

TEST(Clock, FakeClockWrapsLikeTheTickCount) {
  FakeClock fake(0xFFFFFFF0u);
  ScopedClock scope(fake);
  fake.Advance(0x20);
  EXPECT_EQ(GetTickCount(), 0x10u);
}

}  // namespace
}  // namespace kiv::os
