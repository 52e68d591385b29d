#pragma once
// The direction words of actor properties.
#include <cstdint>
#include <string>

namespace kiv {

// "Left", "LeftUp", "Up", "RightUp", "Right", "RightDown", "Down", "LeftDown"
// for 0..7; "" for any other direction (8 is none).
std::u16string DirectionWord(std::int32_t direction);

}  // namespace kiv
