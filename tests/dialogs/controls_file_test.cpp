#include "dialogs/controls_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "core/error.h"
#include "core/folders.h"
#include "media/controls_table.h"
#include "state/controls_block.h"
#include "support/temp_dir.h"

namespace kiv {
namespace {

using test::ReadTestFile;
using test::TempDir;
using test::WriteTestFile;

Control MakeControl(std::uint8_t seed, const std::u16string& name) {
  Control c;
  IdFill(c.id, seed);
  c.name = name;
  c.displayName = name;
  c.image.mode = 1;
  c.image.fileBytes = {seed};
  for (auto& slot : c.slots) slot.bindings.push_back({2, seed});
  return c;
}

// Points the user's game folder into a fresh temporary folder.
class ControlsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_DATA_HOME", dir_.Path().c_str(), 1);
    savedGameFolder_ = gameFolder;
    gameFolder = "/games/Quest";
    path_ = JoinPath(GetUserGameFolder(), "controls.dat");
    controls = {MakeControl(1, u"Action")};
    controlsStamp = 300;
  }
  void TearDown() override {
    gameFolder = savedGameFolder_;
    controls.clear();
    controlsStamp = 0;
  }
  // Saves a user table under the stamp, then puts the project's table back.
  void SaveUserTable(std::int32_t stamp) {
    controls = {MakeControl(5, u"Left"), MakeControl(6, u"Right")};
    controlsStamp = stamp;
    SaveControlsFile("controls.dat");
    controls = {MakeControl(1, u"Action")};
    controlsStamp = 300;
  }

  TempDir dir_;
  std::string savedGameFolder_;
  std::string path_;
};

TEST_F(ControlsFileTest, FileWithTheProjectStampReplacesTheControls) {
  SaveUserTable(300);
  LoadControlsFile();
  ASSERT_EQ(controls.size(), 2u);
  EXPECT_EQ(controls[1].name, u"Right");
  EXPECT_EQ(controls[1].image.fileBytes, ByteList{6});
  EXPECT_EQ(controls[1].slots[3].bindings[0].key, 6);
  EXPECT_TRUE(FileExists(path_));
}

TEST_F(ControlsFileTest, FileWithAnotherStampIsDeletedAndTheProjectControlsStay) {
  SaveUserTable(301);
  LoadControlsFile();
  ASSERT_EQ(controls.size(), 1u);
  EXPECT_EQ(controls[0].name, u"Action");
  EXPECT_FALSE(FileExists(path_));
  LoadControlsFile();  // the next start finds nothing
  EXPECT_EQ(controls.size(), 1u);
}

TEST_F(ControlsFileTest, EmptyFileIsNeitherReadNorDeleted) {
  WriteTestFile(path_, ByteList{});
  LoadControlsFile();
  EXPECT_EQ(controls.size(), 1u);
  EXPECT_TRUE(FileExists(path_));
}

TEST_F(ControlsFileTest, DamagedFileRaisesAndLeavesControlsAndStamp) {
  SaveUserTable(300);
  ByteList bytes = ReadTestFile(path_);
  bytes.resize(bytes.size() - 3);
  WriteTestFile(path_, bytes);
  EXPECT_THROW(LoadControlsFile(), KivError);
  ASSERT_EQ(controls.size(), 1u);
  EXPECT_EQ(controls[0].name, u"Action");
  EXPECT_EQ(controlsStamp, 300);
}

TEST_F(ControlsFileTest, FileIsExactlyTheBlockStartingWithTheStamp) {
  SaveControlsFile("controls.dat");
  const ByteList bytes = ReadTestFile(path_);
  ByteList block;
  std::int32_t offset = 0;
  WriteControls(block, offset);
  block.resize(static_cast<std::size_t>(offset));
  EXPECT_EQ(bytes, block);
  EXPECT_EQ(ReadControlsKey(bytes), 300);
}

}  // namespace
}  // namespace kiv
