#include "core/ini.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace kiv {
namespace {

std::string FileText(const std::string& path) {
  const ByteList bytes = test::ReadTestFile(path);
  return std::string(bytes.begin(), bytes.end());
}

TEST(IniReadInt, ReadsTheLeadingNumberOrTheDefault) {
  test::TempDir dir;
  const std::string path = dir.File("SETTINGS.INI");
  test::WriteTestFile(path, std::string("[Video]\r\n"
                                        "Number=12\r\n"
                                        "Mixed=12abc\r\n"
                                        "Letters=abc\r\n"
                                        "Empty=\r\n"
                                        "Negative = -1\r\n"
                                        "Quoted=\"7\"\r\n"
                                        "Spaced=' 7'\r\n"));
  const struct {
    const char* key;
    std::int32_t defaultValue;
    std::int32_t expected;
  } cases[] = {
      {"Number", 5, 12}, {"Mixed", 5, 12}, {"Letters", 5, 0},   {"Empty", 5, 0},   {"Negative", 5, -1},
      {"Quoted", 5, 7},  {"Spaced", 5, 0}, {"Missing", -1, -1}, {"Missing", 0, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IniReadInt(path, "video", c.key, c.defaultValue), c.expected) << c.key;
  EXPECT_EQ(IniReadInt(path, "Audio", "Number", -1), -1);
  EXPECT_EQ(IniReadInt(dir.File("missing.ini"), "Video", "Number", -1), -1);
}

TEST(IniReadString, MissingFileGivesTheDefaultUnchanged) {
  test::TempDir dir;
  EXPECT_EQ(IniReadString(dir.File("missing.ini"), "Main Menu", "Title", "  \"Default\"  "),
            "  \"Default\"  ");
}

TEST(IniReadString, LongValueIsCutTo65525Characters) {
  test::TempDir dir;
  const std::string path = dir.File("DATA.INI");
  const std::string value(70000, 'x');
  test::WriteTestFile(path, "[S]\r\nk=" + value + "\r\n");
  EXPECT_EQ(IniReadString(path, "S", "k", ""), value.substr(0, 65525));
}

TEST(IniWriteString, KeepsEveryOtherLineByteForByte) {
  test::TempDir dir;
  const std::string path = dir.File("SETTINGS.INI");
  const std::string before =
      "; settings of the player\r\n"
      "[Render]\r\n"
      "  Width = 640   ; odd spacing kept\r\n"
      "Height=480\r\n"
      "\r\n"
      "[Sound]\n"
      "; LF line ends here\n"
      "Volume=50\n";
  test::WriteTestFile(path, before);

  IniWriteString(path, "render", "height", "768");
  IniWriteString(path, "Render", "Depth", "32");
  IniWriteString(path, "Sound", "Music", "-1");
  IniWriteString(path, "Voice", "Name", "Ann");

  EXPECT_EQ(FileText(path),
            "; settings of the player\r\n"
            "[Render]\r\n"
            "  Width = 640   ; odd spacing kept\r\n"
            "Height=768\r\n"
            "Depth=32\r\n"
            "\r\n"
            "[Sound]\n"
            "; LF line ends here\n"
            "Volume=50\n"
            "Music=-1\r\n"
            "[Voice]\r\n"
            "Name=Ann\r\n");
  EXPECT_EQ(IniReadInt(path, "Render", "Height", 0), 768);
  EXPECT_EQ(IniReadString(path, "Render", "Width", ""), "640   ; odd spacing kept");
  EXPECT_EQ(IniReadInt(path, "Sound", "Music", 0), -1);
}

TEST(IniWriteString, CreatesAMissingFile) {
  test::TempDir dir;
  const std::string path = dir.File("game.ini");
  IniWriteString(path, "Game", "ID", "1234");
  EXPECT_EQ(FileText(path), "[Game]\r\nID=1234\r\n");
}

}  // namespace
}  // namespace kiv
