// The settings of a project form read at every version gate: renamed
// templates, padding bytes of old files, defaults of the flags and values a
// version does not store, refused versions and the fixed grid.
#include "state/project_settings_block.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "data/game_data.h"
#include "data/map_object_settings.h"
#include "support/project_settings_writer.h"

namespace kiv {
namespace {

struct VersionCase {
  std::int32_t version;
  const char16_t* templateIn;
  const char16_t* templateOut;
  std::int16_t flag23;        // index 22
  std::int32_t frameRateLimit;
  std::int32_t referenceIndex;  // -2 by name, -4 by identifier
  const char16_t* startView;
  std::size_t imageWidth;
};

TEST(ProjectSettingsBlockTest, EveryVersionGateReadsToTheEndOfTheSection) {
  const VersionCase cases[] = {
      {100660, u"Base", u"Blank", -1, 10, -4, u"Full Screen", 32},   // identifiers; image at the end
      {100674, u"Base General Platformer", u"Platformer", -1, 10, -2, u"Full Screen", 32},
      {100683, u"Base", u"Blank", -1, 10, -2, u"Main view", 32},
      {100700, u"Base", u"Blank", -1, 10, -2, u"Main view", 32},     // no frame-rate limit stored
      {100705, u"Base", u"Blank", -1, 10, -2, u"Main view", 32},
      {100706, u"Base", u"Base", -1, 10, -2, u"Main view", 32},
      {100707, u"Base", u"Base", -1, 30, -2, u"Main view", 32},
      {100743, u"Other", u"Other", -1, 30, -2, u"Main view", 32},
      {100744, u"Other", u"Other", -1, 30, -2, u"Main view", 32},    // two bytes before flag 23
      {100745, u"Other", u"Other", 1, 30, -2, u"Main view", 32},
      {100746, u"Other", u"Other", 1, 30, -2, u"Main view", 32},     // image first, one entry
      {100757, u"Other", u"Other", 1, 30, -2, u"Main view", 64},     // image list
      {100790, u"Base", u"Base", 1, 30, -2, u"Main view", 64},
  };
  for (const VersionCase& c : cases) {
    SCOPED_TRACE(c.version);
    test::ProjectSettingsFixture fixture;
    fixture.templateName = c.templateIn;
    ByteList bytes;
    const std::int32_t end = test::WriteProjectSettingsSection(bytes, c.version, fixture);
    StoredProjectSettings settings;
    std::int32_t offset = 0;
    try {
      ReadProjectSettings(bytes, offset, c.version, settings);
    } catch (const KivError& e) {
      ADD_FAILURE() << e.what();
      continue;
    }
    EXPECT_EQ(offset, end);
    EXPECT_EQ(settings.templateName, c.templateOut);
    EXPECT_EQ(settings.flags[12], 1);
    EXPECT_EQ(settings.flags[22], c.flag23);
    EXPECT_EQ(settings.frameRateLimit, c.frameRateLimit);
    EXPECT_EQ(settings.messageBoxDefaults[13], 113);
    EXPECT_EQ(settings.startMap.index, c.referenceIndex);
    EXPECT_EQ(settings.startZ, 3);
    EXPECT_EQ(settings.startView.name, c.startView);
    EXPECT_EQ(settings.startView.index, -2);
    ASSERT_EQ(settings.systemImages.size(), 1u);
    EXPECT_EQ(static_cast<std::size_t>(settings.systemImages[0].width), c.imageWidth);
    // Stored walking, vehicle, turret, interface.
    EXPECT_EQ(settings.walkingInputSet.id.bytes[0], 0x11);
    EXPECT_EQ(settings.interfaceInputSet.id.bytes[0], 0x44);
    EXPECT_EQ(settings.furtherReference.id.bytes[0], 0x55);
    EXPECT_EQ(settings.gridSize, 16);
    EXPECT_EQ(settings.gridOrigin, 0);
  }
}

TEST(ProjectSettingsBlockTest, VersionsBetweenTheStartViewAndItsLayoutAreRefused) {
  for (std::int32_t version : {100675, 100680, 100682}) {
    ByteList bytes;
    test::WriteProjectSettingsSection(bytes, version, {});
    StoredProjectSettings settings;
    std::int32_t offset = 0;
    try {
      ReadProjectSettings(bytes, offset, version, settings);
      ADD_FAILURE() << version << " loaded";
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), kErrData);
      EXPECT_STREQ(e.what(), "Data file is too new for this version of EngineKiv. Re-build with MapKiv.");
    }
  }
}

TEST(ProjectSettingsBlockTest, SharedSettingsReachTheDataReaders) {
  dataSettings.Reset();
  mapObjectSettings.Reset();
  test::ProjectSettingsFixture fixture;
  fixture.flagValue = -1;
  ByteList bytes;
  test::WriteProjectSettingsSection(bytes, 100790, fixture);
  StoredProjectSettings settings;
  std::int32_t offset = 0;
  ReadProjectSettings(bytes, offset, 100790, settings);
  ShareProjectSettings(settings);
  EXPECT_EQ(dataSettings.gridCellSize, 16);
  EXPECT_EQ(dataSettings.gridOrigin, 0);
  EXPECT_EQ(mapObjectSettings.anchorMaps[0].name, u"Menu");
  EXPECT_EQ(mapObjectSettings.anchorMaps[1].name, u"Screen");
  EXPECT_TRUE(mapObjectSettings.completeAppearance);
  dataSettings.Reset();
  mapObjectSettings.Reset();
}

}  // namespace
}  // namespace kiv
