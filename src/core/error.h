#pragma once
// The one error type of the player: a number and a message.
// -1 data and script errors, -2/-3 resource header, -5 aborted load,
// 9 index outside a table, 53 missing file.
#include <stdexcept>
#include <string>

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

}  // namespace kiv
