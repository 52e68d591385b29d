#pragma once
// What scripts leave for the shell besides the boxes: the inn request that
// the inn interface serves, and the message settings that scripts set one by
// one before showing a message with them.
#include <cstdint>
#include <string>
#include <vector>

namespace kiv {

struct InnRequest {
  std::uint8_t transaction = 0;  // 1 once the player has paid for the night
  std::uint8_t done = 0;         // 1 once the player has left the inn interface
  std::u16string greeting;
  std::u16string yes;
  std::u16string no;
  std::u16string night;
  std::u16string poor;
  std::int64_t price = 0;  // Currency: the amount times 10,000
  std::u16string music;
};
extern InnRequest innRequest;

struct ScriptMessageSettings {
  std::u16string message;
  std::u16string face;
  std::uint8_t rightAlignedFace = 0;
  float horizontalPosition = 0.0f;
  float verticalPosition = 0.0f;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint8_t hideBorder = 0;
  std::uint8_t hideBackground = 0;
  std::int32_t autoClose = 0;
  std::uint8_t allowInput = 0;
  std::int32_t columns = 0;
  std::vector<std::u16string> choices;
};
extern ScriptMessageSettings scriptMessageSettings;

}  // namespace kiv
