#pragma once
// INI access with the behaviour of the Windows private-profile functions.
// Paths are UTF-8; section, key and value texts are Windows-1252 bytes.
#include <cstdint>
#include <string>

namespace kiv {

std::string IniReadString(const std::string& path, const std::string& section, const std::string& key,
                          const std::string& defaultText);
std::int32_t IniReadInt(const std::string& path, const std::string& section, const std::string& key,
                        std::int32_t defaultValue);
void IniWriteString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value);

}  // namespace kiv
