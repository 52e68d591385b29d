#pragma once
// Writes the settings section of a project form at a given version, the way
// the editor stores it, for the state-block tests.
#include <cstdint>
#include <string>

#include "core/byte_list.h"

namespace kiv::test {

struct ProjectSettingsFixture {
  std::u16string templateName = u"Base";
  std::int16_t flagValue = 1;   // every stored option flag
  std::int32_t frameRateLimit = 30;
  std::int32_t storedGrid = 8;  // replaced on reading
  std::u16string startMap = u"Town";
  std::u16string hudInterface = u"Screen";  // the first interface reference
  std::u16string firstAnchor = u"Menu";     // the third interface reference
};

// Appends the section and returns its end offset.
std::int32_t WriteProjectSettingsSection(ByteList& buffer, std::int32_t version, const ProjectSettingsFixture& f);

}  // namespace kiv::test
