#include "core/ini.h"

#include <cstddef>

#include "platform/os/private_profile.h"

namespace kiv {
namespace {

// Values are read into a buffer of 65,526 characters with room for the final NUL.
constexpr std::size_t kMaxValueLength = 65525;

}  // namespace

std::string IniReadString(const std::string& path, const std::string& section, const std::string& key,
                          const std::string& defaultText) {
  std::string value = os::ReadProfileString(path, section, key, defaultText);
  if (value.size() > kMaxValueLength) value.resize(kMaxValueLength);
  return value;
}

std::int32_t IniReadInt(const std::string& path, const std::string& section, const std::string& key,
                        std::int32_t defaultValue) {
  return os::ReadProfileInt(path, section, key, defaultValue);
}

void IniWriteString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value) {
  // Like the Windows write, a failure is not reported to the caller.
  os::WriteProfileString(path, section, key, value);
}

}  // namespace kiv
