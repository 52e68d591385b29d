#include "platform/os/ansi_case.h"

#include <array>

namespace kiv::os {
namespace {

constexpr std::array<std::uint8_t, 256> MakeFoldTable() {
  std::array<std::uint8_t, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<std::uint8_t>(c);
  for (int c = 'A'; c <= 'Z'; ++c) table[c] = static_cast<std::uint8_t>(c + 32);
  for (int c = 0xC0; c <= 0xDE; ++c) {
    if (c != 0xD7) table[c] = static_cast<std::uint8_t>(c + 32);  // not the multiplication sign
  }
  table[0x8A] = 0x9A;  // S caron
  table[0x8C] = 0x9C;  // OE
  table[0x8E] = 0x9E;  // Z caron
  table[0x9F] = 0xFF;  // Y diaeresis
  return table;
}
constexpr std::array<std::uint8_t, 256> kFold = MakeFoldTable();

}  // namespace

std::uint8_t AnsiFoldLower(char c) { return kFold[static_cast<std::uint8_t>(c)]; }

bool AnsiEqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AnsiFoldLower(a[i]) != AnsiFoldLower(b[i])) return false;
  }
  return true;
}

}  // namespace kiv::os
