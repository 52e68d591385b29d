#pragma once
// Conversions between the three text forms of the player:
//  - game text: UTF-16 (std::u16string), as in the data files;
//  - 8-bit text of INI files, the log and package entry names: Windows-1252 bytes (std::string);
//  - the operating system's edge (paths, window titles): UTF-8 (std::string).
#include <string>
#include <string_view>

namespace kiv {

std::u16string AnsiToUtf16(std::string_view ansi);
// Characters without a Windows-1252 form become '?'.
std::string Utf16ToAnsi(std::u16string_view text);

std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);

std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view utf8);

}  // namespace kiv
