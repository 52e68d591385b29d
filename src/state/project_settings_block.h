#pragma once
// The project settings as the project form of the state block ("INTRO.kst")
// stores them, read at every format version the player accepts.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/byte_list.h"
#include "core/identifier.h"
#include "core/record_codecs.h"
#include "data/set_records.h"

namespace kiv {

// A map or interface found later by name (index -2) or identifier (index -4).
struct MapNameReference {
  std::int32_t index = -1;
  std::u16string name;
  Identifier id;
};

struct SystemImage {
  std::int32_t width = 32;
  std::int32_t height = 32;
  EmbeddedResource image;
};

inline constexpr int kProjectFlagCount = 28;
inline constexpr int kMessageBoxDefaultCount = 14;

// The seven interface references, in stored order.
enum ProjectInterface : int {
  kHudInterface = 0,
  kLoadingInterface = 1,
  kFurtherInterface1 = 2,  // the field readers compare a map with this one and the next
  kFurtherInterface2 = 3,
  kFurtherInterface3 = 4,
  kShopInterface = 5,
  kInnInterface = 6,
  kProjectInterfaceCount = 7
};

struct StoredProjectSettings {
  std::vector<SystemImage> systemImages;
  std::u16string templateName;
  // Option flags 1 to 28 at indexes 0 to 27 (Integers, -1 true).
  std::array<std::int16_t, kProjectFlagCount> flags{};
  std::int16_t pauseWhenInactive = -1;
  std::int16_t captureMouse = 0;
  std::int16_t pickScenery = 0;
  std::int16_t inputPointerFlag = -1;
  std::int32_t renderStatesValue = 1;
  std::array<std::int16_t, 2> furtherFlags{-1, -1};
  float activityRange = 0.0f;
  std::int32_t mathInitValue = 0;
  std::int32_t frameRateLimit = 10;
  std::array<std::int32_t, kMessageBoxDefaultCount> messageBoxDefaults{};
  MapNameReference startMap;
  std::int32_t startX = 0;
  std::int32_t startY = 0;
  std::int32_t startZ = 0;
  std::array<MapNameReference, kProjectInterfaceCount> interfaces;
  MapNameReference startView;  // by name only
  RecordReference walkingInputSet;
  RecordReference interfaceInputSet;
  RecordReference vehicleInputSet;
  RecordReference turretInputSet;
  RecordReference furtherReference;
  std::int32_t gridSize = 16;
  std::int32_t gridOrigin = 0;

  void Reset() { *this = StoredProjectSettings(); }
};
extern StoredProjectSettings storedProjectSettings;

// Reads the settings of a project form of the given version (the resource
// header already passed). Whatever the file holds, the grid comes out as size
// 16 and origin 0. Raises -1 for the versions the player refuses.
void ReadProjectSettings(const ByteList& buffer, std::int32_t& offset, std::int32_t version,
                         StoredProjectSettings& settings);

// Hands the data readers what they take from the settings: the grid cell size
// and origin, the two maps the field readers compare with, the rule that
// completes every actor's appearance (option flag 21), and the interface, team
// and input-set references of projectState.settings.
void ShareProjectSettings(const StoredProjectSettings& settings);

}  // namespace kiv
