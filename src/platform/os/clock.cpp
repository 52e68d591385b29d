#include "platform/os/clock.h"

#include <chrono>
#include <thread>

namespace kiv::os {

namespace {

class SystemClock : public Clock {
 public:
  std::uint32_t TickCount() override {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
  }
  void Sleep(std::uint32_t milliseconds) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
};

SystemClock systemClock;
Clock* installed = &systemClock;

}  // namespace

void SetClock(Clock* clock) { installed = clock != nullptr ? clock : &systemClock; }
Clock& CurrentClock() { return *installed; }

std::uint32_t GetTickCount() { return installed->TickCount(); }
void Sleep(std::uint32_t milliseconds) { installed->Sleep(milliseconds); }

}  // namespace kiv::os
