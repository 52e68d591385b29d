#pragma once
// The one error type of the player: a number and a message.
// -1 data and script errors, -2/-3 resource header, -5 aborted load,
// 9 index outside a table, 53 missing file.
#include <new>
#include <stdexcept>
#include <string>
#include <utility>

namespace kiv {

class KivError : public std::runtime_error {
 public:
  KivError(int number, const std::string& message) : std::runtime_error(message), number_(number) {}
  int Number() const noexcept { return number_; }

 private:
  int number_;
};

[[noreturn]] inline void RaiseError(int number, const std::string& message) {
  throw KivError(number, message);
}

inline constexpr int kErrData = -1;
inline constexpr int kErrOverflow = 6;
inline constexpr int kErrOutOfMemory = 7;
inline constexpr int kErrIndex = 9;
inline constexpr int kErrDivisionByZero = 11;
inline constexpr int kErrFileNotFound = 53;

inline constexpr const char* kOutOfMemoryText = "Out of memory";

// Runs body and returns what it returns. An allocation it cannot get
// (std::bad_alloc, or a size beyond what a container can hold,
// std::length_error) leaves as error 7, so that a place that reports our errors
// reports this one too instead of letting it end the program.
template <typename Body>
decltype(auto) OutOfMemoryAsError(Body&& body) {
  try {
    return std::forward<Body>(body)();
  } catch (const std::bad_alloc&) {
    RaiseError(kErrOutOfMemory, kOutOfMemoryText);
  } catch (const std::length_error&) {
    RaiseError(kErrOutOfMemory, kOutOfMemoryText);
  }
}

}  // namespace kiv
