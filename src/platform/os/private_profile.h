#pragma once
// INI files read and written the way the Windows private-profile functions do:
//  - section and key names compare case-insensitively (Windows-1252 letters);
//  - the first of duplicate sections, and the first of duplicate keys in it, wins;
//  - blanks around names and values are dropped, then one pair of enclosing
//    quotes (double or single) is removed from a value;
//  - lines starting with ';' are comments; lines without '=' are not keys;
//  - LF and CR LF line ends are read; new lines are written with CR LF;
//  - texts are 8-bit bytes passed through unchanged.
// A write keeps every other byte of the file and replaces it through a
// temporary file.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kiv::os {

// The value of the key in the INI text, or nullopt when the section or key is missing.
std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key);

// The INI text with the key set to the value: the first matching key's line is
// replaced, else the key is added at the end of the first matching section
// (before its trailing blank lines), else a new section is added at the end.
std::string SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value);

// The integer at the start of a value: an optional '-' and decimal digits, up to
// the first other character; 0 when there is no digit. Wraps at 32 bits.
std::int32_t ParseProfileInt(std::string_view value);

// The value from the file; the default when the file, section or key is missing.
std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view defaultText);
std::int32_t ReadProfileInt(const std::string& path, std::string_view section, std::string_view key,
                            std::int32_t defaultValue);

// Stores the value, creating the file, section or key when missing. False when
// the file exists but cannot be read, or cannot be replaced.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace kiv::os
