#pragma once
// "number message" of the error an action raises, or "no error": one string a
// table test can compare, number and text at once.
#include <functional>
#include <string>

#include "core/error.h"

namespace kiv::test {

inline std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const KivError& error) {
    return std::to_string(error.Number()) + " " + error.what();
  }
  return "no error";
}

}  // namespace kiv::test
