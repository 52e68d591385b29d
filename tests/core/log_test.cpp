#include "core/log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/error.h"
#include "core/folders.h"
#include "core/hooks.h"
#include "support/hashed_header.h"
#include "support/package_writer.h"
#include "support/temp_dir.h"

namespace kiv {
namespace {

using test::BytesOf;
using test::ReadTestFile;
using test::TempDir;
using test::WriteTestFile;

std::string TextOf(const ByteList& bytes) { return std::string(bytes.begin(), bytes.end()); }

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_DATA_HOME", home_.Path().c_str(), 1);
    gameFolder = "/games/My Game/";
    SetNoticeHook([this](const std::string& text, bool merge) { notices_.emplace_back(text, merge); });
  }
  void TearDown() override {
    LogClose();
    SetNoticeHook(nullptr);
    gameFolder.clear();
  }

  TempDir home_;
  TempDir dir_;
  std::vector<std::pair<std::string, bool>> notices_;
};

TEST_F(LogTest, WritesNothingWhileClosed) {
  LogWriteLine("before open");
  const std::string path = dir_.File("log.txt");
  LogOpen(path);
  LogClose();
  LogWriteLine("after close");
  EXPECT_EQ(TextOf(ReadTestFile(path)), "");
}

// Each line is in the file as soon as it is written, so a crash keeps it.
TEST_F(LogTest, EachLineReachesTheFileAtOnce) {
  const std::string path = dir_.File("log.txt");
  LogOpen(path);
  LogWriteLine("Preparing keyboard input.");
  EXPECT_EQ(TextOf(ReadTestFile(path)), "Preparing keyboard input.\r\n");
  LogWriteLine("Starting game loop.");
  LogWriteLine("");
  EXPECT_EQ(TextOf(ReadTestFile(path)), "Preparing keyboard input.\r\nStarting game loop.\r\n\r\n");
}

TEST_F(LogTest, OpeningAgainEmptiesTheLog) {
  const std::string path = dir_.File("log.txt");
  LogOpen(path);
  LogWriteLine("first game");
  LogOpen(path);
  LogWriteLine("second game");
  LogClose();
  EXPECT_EQ(TextOf(ReadTestFile(path)), "second game\r\n");
}

TEST_F(LogTest, AnUnopenableLogDropsItsLines) {
  LogOpen(dir_.File("missing/log.txt"));
  LogWriteLine("lost");
  EXPECT_FALSE(FileExists(dir_.File("missing/log.txt")));
}

TEST_F(LogTest, ErrorLogKeepsLinesAndShowsOneLineNotices) {
  ErrorLogAppend("Script error in \"Door\".\r\nLine 3");
  ErrorLogAppend("Map \"x.kmp\" file could not be loaded as it is corrupt.");
  const std::string path = home_.File("Kiv/Games/My Game/ERROR.LOG");
  EXPECT_EQ(
      TextOf(ReadTestFile(path)),
      "Script error in \"Door\".\r\nLine 3\r\nMap \"x.kmp\" file could not be loaded as it is corrupt.\r\n");
  ASSERT_EQ(notices_.size(), 2u);
  EXPECT_EQ(notices_[0], std::make_pair(std::string("Script error in \"Door\". Line 3"), true));
  EXPECT_EQ(notices_[1].first, "Map \"x.kmp\" file could not be loaded as it is corrupt.");
}

TEST_F(LogTest, ReadFileBytesReadsWholeFiles) {
  WriteTestFile(dir_.File("empty"), ByteList());
  WriteTestFile(dir_.File("data"), ByteList{0, 1, 2, 0xFF});
  EXPECT_EQ(ReadFileBytes(dir_.File("empty")), ByteList());
  EXPECT_EQ(ReadFileBytes(dir_.File("data")), (ByteList{0, 1, 2, 0xFF}));
  try {
    ReadFileBytes(dir_.File("none"));
    FAIL() << "no error";
  } catch (const KivError& error) {
    EXPECT_EQ(error.Number(), 53);
  }
  EXPECT_THROW(ReadFileBytes(dir_.Path()), KivError);  // a folder
}

TEST_F(LogTest, WriteFileBytesWithAndWithoutTheHashedHeader) {
  const std::string plain = dir_.File("controls.dat");
  const std::string hashed = dir_.File("hashed.kts");
  WriteTestFile(plain, BytesOf("an older and longer file"));
  WriteFileBytes(plain, BytesOf("abc"), false);
  EXPECT_EQ(ReadTestFile(plain), BytesOf("abc"));

  WriteFileBytes(hashed, BytesOf("abc"), true);
  const ByteList file = ReadTestFile(hashed);
  const ByteList expected = {0xB6, 0x89, 0x01, 0x00,  // 100790
                             0xA9, 0x99, 0x3E, 0x36, 0x47, 0x06, 0x81, 0x6A, 0xBA, 0x3E, 0x25, 0x71,
                             0x78, 0x50, 0xC2, 0x6C, 0x9C, 0xD0, 0xD8, 0x9D, 'a',  'b',  'c'};
  EXPECT_EQ(file, expected);
  EXPECT_EQ(file, test::WithHashedHeader(BytesOf("abc")));
  WriteFileBytes(hashed, ByteList(), true);
  EXPECT_EQ(ReadTestFile(hashed), test::WithHashedHeader(ByteList()));

  std::vector<std::string> names;
  for (const auto& item : std::filesystem::directory_iterator(dir_.Path()))
    names.push_back(item.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"controls.dat", "hashed.kts"}));  // no temporary file left
  EXPECT_THROW(WriteFileBytes(dir_.File("missing/x.dat"), BytesOf("x"), false), KivError);
}

}  // namespace
}  // namespace kiv
