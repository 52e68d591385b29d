#pragma once
// Millisecond clock and sleep in place of the Windows tick count. Every reader
// of the tick count and every sleep goes through the installed clock, so that
// tests and the play harness can run the game on a fake clock that moves only
// when told to (or when slept on).
#include <cstdint>

namespace kiv::os {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t TickCount() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
};

// A clock that stands still until advanced; Sleep advances it by the time slept.
class FakeClock : public Clock {
 public:
  explicit FakeClock(std::uint32_t start = 1000) : now_(start) {}
  std::uint32_t TickCount() override { return now_; }
  void Sleep(std::uint32_t milliseconds) override {
    now_ += milliseconds;
    slept_ += milliseconds;
    ++sleeps_;
  }
  void Advance(std::uint32_t milliseconds) { now_ += milliseconds; }
  void Set(std::uint32_t now) { now_ = now; }
  std::uint64_t SleptMilliseconds() const { return slept_; }
  std::uint64_t SleepCalls() const { return sleeps_; }

 private:
  std::uint32_t now_;
  std::uint64_t slept_ = 0;
  std::uint64_t sleeps_ = 0;
};

// Installs a clock (nullptr: the system clock again). The caller keeps it alive
// while it is installed.
void SetClock(Clock* clock);
Clock& CurrentClock();

// Milliseconds since an arbitrary start, wrapping at 2^32 like the Windows tick count.
std::uint32_t GetTickCount();
void Sleep(std::uint32_t milliseconds);

// Installs a fake clock for the lifetime of the guard.
class ScopedClock {
 public:
  explicit ScopedClock(Clock& clock) { SetClock(&clock); }
  ~ScopedClock() { SetClock(nullptr); }
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;
};

}  // namespace kiv::os
