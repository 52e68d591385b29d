#pragma once
// Letter case of Windows-1252 bytes, as the Western code page's text
// comparisons treat it: ASCII, the accented Latin letters and S/Z caron, OE and
// Y diaeresis have a lower and an upper form.
#include <cstdint>
#include <string_view>

namespace kiv::os {

// The lower-case form of the byte; every other byte is returned as it is.
std::uint8_t AnsiFoldLower(char c);
// Equal texts apart from letter case.
bool AnsiEqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace kiv::os
