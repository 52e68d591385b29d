#include "script/project_options.h"

#include "state/project_settings_block.h"

namespace kiv {

namespace {

constexpr std::size_t kAllowJumpWhenImmobileFlag = 13;    // flag 14
constexpr std::size_t kRestrictVerticalVelocityFlag = 26;  // flag 27
constexpr std::size_t kMainAlwaysControlledFlag = 18;  // flag 19
constexpr std::size_t kPartyShortcutNamesFlag = 19;    // flag 20
constexpr std::size_t kLooseNameMatchingFlag = 22;     // flag 23
constexpr std::size_t kLegacyMapSizeFlag = 23;         // flag 24
constexpr std::size_t kWholeAxisValuesFlag = 27;       // flag 28

}  // namespace

bool ScriptLooseNameMatching() { return storedProjectSettings.flags[kLooseNameMatchingFlag] != 0; }

bool ScriptWholeAxisValues() { return storedProjectSettings.flags[kWholeAxisValuesFlag] != 0; }

bool ScriptMainAlwaysControlled() { return storedProjectSettings.flags[kMainAlwaysControlledFlag] != 0; }

bool LegacyMapSize() { return storedProjectSettings.flags[kLegacyMapSizeFlag] != 0; }

bool ScriptAllowJumpWhenImmobile() { return storedProjectSettings.flags[kAllowJumpWhenImmobileFlag] != 0; }

bool ScriptRestrictVerticalVelocity() { return storedProjectSettings.flags[kRestrictVerticalVelocityFlag] != 0; }

bool ScriptPartyShortcutNames() { return storedProjectSettings.flags[kPartyShortcutNamesFlag] != 0; }

}  // namespace kiv
