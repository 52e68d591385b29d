#pragma once
// Writes the settings section of a project form at a given version, the way
// the editor stores it, for the state-block tests.
#include <array>
#include <cstdint>
#include <string>

#include "core/byte_list.h"
#include "core/identifier.h"

namespace kiv::test {

struct ProjectSettingsFixture {
  std::u16string templateName = u"Base";
  std::int16_t flagValue = 1;   // every stored option flag
  std::int32_t frameRateLimit = 30;
  std::int32_t storedGrid = 8;  // replaced on reading
  std::u16string startMap = u"Town";
  std::u16string hudInterface = u"Screen";  // the first interface reference
  std::u16string firstAnchor = u"Menu";     // the third interface reference
  std::array<std::int32_t, 3> start = {1, 2, 3};  // where the party starts on the start map
  // The message-box defaults: back and frame colour, the text, item,
  // selected-item and input colours, and two further values.
  std::array<std::int32_t, 14> messageBoxDefaults = {100, 101, 102, 103, 104, 105, 106,
                                                     107, 108, 109, 110, 111, 112, 113};
  // The walking, vehicle, turret and interface input sets and the team, as
  // identifiers; the defaults name nothing a test loads.
  std::array<Identifier, 5> setIds = FilledIds();

  static std::array<Identifier, 5> FilledIds() {
    std::array<Identifier, 5> ids;
    for (std::size_t i = 0; i < ids.size(); ++i) IdFill(ids[i], static_cast<std::uint8_t>(0x11 * (i + 1)));
    return ids;
  }
};

// Appends the section and returns its end offset.
std::int32_t WriteProjectSettingsSection(ByteList& buffer, std::int32_t version, const ProjectSettingsFixture& f);

}  // namespace kiv::test
