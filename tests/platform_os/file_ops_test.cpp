#include "platform/os/file_ops.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace kiv::os {
namespace {

TEST(FileOps, ReadWholeFileKeepsEveryByte) {
  test::TempDir dir;
  const std::string bytes("a\0b\r\n\xFF", 6);
  test::WriteTestFile(dir.File("f"), bytes);
  EXPECT_EQ(ReadWholeFile(dir.File("f")), bytes);
  test::WriteTestFile(dir.File("empty"), std::string());
  EXPECT_EQ(ReadWholeFile(dir.File("empty")), "");
  EXPECT_EQ(ReadWholeFile(dir.File("missing")), std::nullopt);
  EXPECT_EQ(ReadWholeFile(dir.Path()), std::nullopt);
}

TEST(FileOps, WriteFileReplacingKeepsPermissionsAndLeavesNoTemporaryFile) {
  test::TempDir dir;
  const std::string path = dir.File("settings");
  test::WriteTestFile(path, std::string("old"));
  ASSERT_EQ(chmod(path.c_str(), 0600), 0);
  ASSERT_TRUE(WriteFileReplacing(path, "new"));
  EXPECT_EQ(ReadWholeFile(path), "new");
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST(FileOps, WriteFileReplacingFailsInAMissingFolder) {
  test::TempDir dir;
  EXPECT_FALSE(WriteFileReplacing(dir.File("no/such/file"), "x"));
}

TEST(FileOps, ExistsAndRemove) {
  test::TempDir dir;
  const std::string file = dir.File("f");
  test::WriteTestFile(file, std::string("x"));
  EXPECT_TRUE(PathExists(file));
  EXPECT_TRUE(PathExists(dir.Path()));
  EXPECT_FALSE(PathExists(dir.File("missing")));
  EXPECT_FALSE(PathExists(""));
  EXPECT_TRUE(RemoveFile(file));
  EXPECT_FALSE(PathExists(file));
  EXPECT_FALSE(RemoveFile(file));
  EXPECT_FALSE(RemoveFile(dir.Path()));  // folders are not removed
  EXPECT_TRUE(PathExists(dir.Path()));
}

}  // namespace
}  // namespace kiv::os
