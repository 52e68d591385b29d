#pragma once
// Counts the bytes that operator new is asked for while a MeteredScope is open,
// and fails any single request above the scope's ceiling as a system out of
// memory does, so that a test can bound what a load claims without ever
// claiming it. This header replaces operator new: include it in exactly one
// file of a test program.
#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace kiv::test {

struct AllocationMeter {
  std::atomic<bool> armed{false};
  std::atomic<std::size_t> requested{0};
  std::atomic<std::size_t> ceiling{0};
};
inline AllocationMeter allocationMeter;

class MeteredScope {
 public:
  explicit MeteredScope(std::size_t ceiling) {
    allocationMeter.requested = 0;
    allocationMeter.ceiling = ceiling;
    allocationMeter.armed = true;
  }
  ~MeteredScope() { allocationMeter.armed = false; }
  MeteredScope(const MeteredScope&) = delete;
  MeteredScope& operator=(const MeteredScope&) = delete;

  // Every byte requested so far: at least the peak of what was held at once.
  std::size_t Requested() const { return allocationMeter.requested; }
};

}  // namespace kiv::test

void* operator new(std::size_t size) {
  kiv::test::AllocationMeter& meter = kiv::test::allocationMeter;
  if (meter.armed) {
    if (size > meter.ceiling) throw std::bad_alloc();
    meter.requested += size;
  }
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
// g++ 12 at -O2 takes free() here for a mismatch with the replaced operator
// new once inlined; both sides are malloc and free, so it is not.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
