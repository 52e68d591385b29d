#include "state/project_settings_block.h"

#include <iterator>
#include <utility>

#include "core/data_buffer.h"
#include "core/error.h"
#include "data/game_data.h"
#include "data/map_object_settings.h"
#include "data/project_state.h"

namespace kiv {

StoredProjectSettings storedProjectSettings;

namespace {

constexpr std::int32_t kFirstMapNames = 100667;
constexpr std::int32_t kFirstInterfaceList = 100746;
constexpr std::int32_t kFirstImageList = 100757;
constexpr std::int32_t kFirstOldImage = 100658;
constexpr std::int32_t kFirstKeptTemplateNames = 100706;
constexpr std::int32_t kFirstWithoutPadding = 100684;
constexpr std::int32_t kPaddedFlag23Version = 100744;
constexpr std::int32_t kFirstFrameRateLimit = 100707;
constexpr std::int32_t kFirstStartViewName = 100675;
constexpr std::int32_t kFirstAcceptedStartView = 100683;
constexpr std::int32_t kFixedGridSize = 16;
constexpr std::int32_t kFixedGridOrigin = 0;

// Option flags 14 to 28: the first version that stores each, and its value
// in older files.
struct GatedFlag {
  std::int32_t since;
  std::int16_t fallback;
};
constexpr GatedFlag kGatedFlags[] = {
    {100659, 0},  {100667, 0}, {100671, 0},  {100679, 0},  {100692, -1}, {100695, 0},  {100698, -1}, {100720, 0},
    {100739, -1}, {100745, -1}, {100750, 0}, {100769, 0}, {100780, -1}, {100782, -1}, {100783, -1},
};

std::int16_t ReadGatedFlag(const ByteList& buffer, std::int32_t& offset, std::int32_t version, std::int32_t since,
                           std::int16_t fallback) {
  return version >= since ? BufferReadInt16(buffer, offset) : fallback;
}

void SkipBytes(const ByteList& buffer, std::int32_t& offset, std::int32_t count) {
  BufferRequire(buffer, offset, count);
  offset += count;
}

SystemImage ReadSystemImageResource(const ByteList& buffer, std::int32_t& offset, std::int32_t version) {
  SystemImage entry;
  ReadImageSource(buffer, entry.image, offset, version);
  return entry;
}

// A name from the versions that store names (index -2), an identifier before (-4).
MapNameReference ReadMapNameReference(const ByteList& buffer, std::int32_t& offset, std::int32_t version) {
  MapNameReference reference;
  if (version >= kFirstMapNames) {
    reference.name = BufferReadString(buffer, offset);
    reference.index = -2;
  } else {
    reference.id = BufferReadIdentifier(buffer, offset);
    reference.index = -4;
  }
  return reference;
}

RecordReference ReadIdReference(const ByteList& buffer, std::int32_t& offset) {
  RecordReference reference;
  reference.id = BufferReadIdentifier(buffer, offset);
  reference.index = -2;
  return reference;
}

InterfaceReference ToInterfaceReference(const MapNameReference& reference) {
  InterfaceReference result;
  result.index = reference.index;
  result.name = reference.name;
  result.id = reference.id;
  return result;
}

// The references that loading and linking resolve later: the start
// interfaces, the further interfaces, the team and the input sets.
void ShareReferences(const StoredProjectSettings& settings) {
  ProjectSettings& shared = projectState.settings;
  shared.startInterfaces[0] = ToInterfaceReference(settings.interfaces[kHudInterface]);
  shared.startInterfaces[1] = InterfaceReference();
  const ProjectInterface further[kFurtherInterfaceCount] = {kLoadingInterface,  kFurtherInterface1,
                                                            kFurtherInterface2, kFurtherInterface3,
                                                            kShopInterface,     kInnInterface};
  for (int k = 0; k < kFurtherInterfaceCount; ++k) {
    shared.furtherInterfaces[static_cast<std::size_t>(k)] =
        ToInterfaceReference(settings.interfaces[further[k]]);
  }
  shared.team = settings.furtherReference;
  shared.inputSets = {settings.walkingInputSet, settings.interfaceInputSet, settings.vehicleInputSet,
                      settings.turretInputSet};
}

std::u16string RenamedTemplate(const std::u16string& name) {
  if (name == u"Base General Action Pro") return u"RPG Pro";
  if (name == u"Base General Action Indie") return u"RPG Indie";
  if (name == u"Base General Platformer") return u"Platformer";
  if (name == u"Base") return u"Blank";
  return name;
}

}  // namespace

void ReadProjectSettings(const ByteList& buffer, std::int32_t& offset, std::int32_t version,
                         StoredProjectSettings& settings) {
  settings.Reset();
  if (version >= kFirstInterfaceList) {
    if (version < kFirstImageList) {
      settings.systemImages = {ReadSystemImageResource(buffer, offset, version)};
    } else {
      const std::int32_t last = BufferReadLastIndex(buffer, offset, 8);
      for (std::int32_t i = 0; i <= last; ++i) {
        SystemImage entry;
        entry.width = BufferReadLong(buffer, offset);
        entry.height = BufferReadLong(buffer, offset);
        ReadImageSource(buffer, entry.image, offset, version);
        settings.systemImages.push_back(std::move(entry));
      }
    }
  }

  settings.templateName = BufferReadString(buffer, offset);
  if (version < kFirstKeptTemplateNames) settings.templateName = RenamedTemplate(settings.templateName);

  for (int flag = 0; flag < 11; ++flag) settings.flags[static_cast<std::size_t>(flag)] = BufferReadInt16(buffer, offset);
  if (version < kFirstWithoutPadding) SkipBytes(buffer, offset, 2);
  settings.flags[11] = BufferReadInt16(buffer, offset);
  settings.flags[12] = BufferReadInt16(buffer, offset);
  for (std::size_t k = 0; k < std::size(kGatedFlags); ++k) {
    if (k == 9 && version == kPaddedFlag23Version) SkipBytes(buffer, offset, 2);  // before flag 23
    settings.flags[13 + k] = ReadGatedFlag(buffer, offset, version, kGatedFlags[k].since, kGatedFlags[k].fallback);
  }
  settings.pauseWhenInactive = ReadGatedFlag(buffer, offset, version, 100687, -1);
  settings.captureMouse = ReadGatedFlag(buffer, offset, version, 100693, 0);
  settings.pickScenery = ReadGatedFlag(buffer, offset, version, 100727, 0);
  settings.inputPointerFlag = ReadGatedFlag(buffer, offset, version, 100729, -1);
  settings.renderStatesValue = version >= 100726 ? BufferReadLong(buffer, offset) : 1;
  settings.furtherFlags[0] = ReadGatedFlag(buffer, offset, version, 100755, -1);
  settings.furtherFlags[1] = ReadGatedFlag(buffer, offset, version, 100784, -1);

  settings.activityRange = BufferReadSingle(buffer, offset);
  settings.mathInitValue = BufferReadLong(buffer, offset);
  settings.frameRateLimit = version >= kFirstFrameRateLimit ? BufferReadLong(buffer, offset) : 10;
  for (std::int32_t& value : settings.messageBoxDefaults) value = BufferReadLong(buffer, offset);

  settings.startMap = ReadMapNameReference(buffer, offset, version);
  settings.startX = BufferReadLong(buffer, offset);
  settings.startY = BufferReadLong(buffer, offset);
  settings.startZ = BufferReadLong(buffer, offset);
  for (MapNameReference& reference : settings.interfaces) reference = ReadMapNameReference(buffer, offset, version);

  if (version < kFirstStartViewName) {
    settings.startView.name = u"Full Screen";
  } else {
    settings.startView.name = BufferReadString(buffer, offset);
    if (version < kFirstAcceptedStartView)
      RaiseError(kErrData, "Data file is too new for this version of EngineKiv. Re-build with MapKiv.");
  }
  settings.startView.index = -2;

  // Stored walking, vehicle, turret, interface.
  settings.walkingInputSet = ReadIdReference(buffer, offset);
  settings.vehicleInputSet = ReadIdReference(buffer, offset);
  settings.turretInputSet = ReadIdReference(buffer, offset);
  settings.interfaceInputSet = ReadIdReference(buffer, offset);
  settings.furtherReference = ReadIdReference(buffer, offset);

  // The stored grid value is read and replaced: the player moves on a fixed grid.
  BufferReadLong(buffer, offset);
  settings.gridSize = kFixedGridSize;
  settings.gridOrigin = kFixedGridOrigin;

  if (version >= kFirstOldImage && version < kFirstInterfaceList)
    settings.systemImages = {ReadSystemImageResource(buffer, offset, version)};
}

void ShareProjectSettings(const StoredProjectSettings& settings) {
  dataSettings.gridCellSize = settings.gridSize;
  dataSettings.gridOrigin = settings.gridOrigin;
  for (std::size_t k = 0; k < mapObjectSettings.anchorMaps.size(); ++k) {
    const MapNameReference& reference = settings.interfaces[kFurtherInterface1 + k];
    mapObjectSettings.anchorMaps[k].name = reference.name;
    mapObjectSettings.anchorMaps[k].id = reference.id;
  }
  mapObjectSettings.completeAppearance = settings.flags[20] != 0;
  ShareReferences(settings);
}

}  // namespace kiv
