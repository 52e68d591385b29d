#include "platform/os/private_profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "support/temp_dir.h"

namespace kiv::os {
namespace {

struct ReadCase {
  const char* name;
  std::string text;
  std::string section;
  std::string key;
  std::optional<std::string> expected;
};

TEST(PrivateProfile, FindsValuesLikeTheWindowsProfileRead) {
  const ReadCase cases[] = {
      {"plain CR LF", "[Main]\r\nKey=Value\r\n", "Main", "Key", "Value"},
      {"names ignore case", "[MAIN MENU]\nvideo width=640\n", "Main Menu", "Video Width", "640"},
      {"Windows-1252 letters ignore case",
       "[Men\xFC]\nGr\xF6\xDF"
       "e=\xC4rger\n",
       "MEN\xDC",
       "GR\xD6\xDF"
       "E",
       "\xC4rger"},
      {"first duplicate key wins", "[S]\nk=1\nk=2\n", "S", "k", "1"},
      {"first duplicate section wins", "[S]\na=1\n[T]\nb=2\n[s]\na=3\n", "S", "a", "1"},
      {"later duplicate section is not searched", "[S]\na=1\n[s]\nc=4\n", "S", "c", std::nullopt},
      {"blanks around key and value", "[S]\n \t k \t=  v  w \t\r\n", "S", "k", "v  w"},
      {"blanks inside the header", "  [ S ]  \nk=1\n", "S", "k", "1"},
      {"double quotes", "[S]\nk=\"q\"\n", "S", "k", "q"},
      {"single quotes", "[S]\nk='q'\n", "S", "k", "q"},
      {"quotes after trimming", "[S]\nk=  'quoted'  \n", "S", "k", "quoted"},
      {"blanks inside quotes kept", "[S]\nk=\" a \"\n", "S", "k", " a "},
      {"only one pair of quotes", "[S]\nk=\"\"x\"\"\n", "S", "k", "\"x\""},
      {"unmatched quotes kept", "[S]\nk=\"a'\n", "S", "k", "\"a'"},
      {"a lone quote kept", "[S]\nk=\"\n", "S", "k", "\""},
      {"empty quotes", "[S]\nk=\"\"\n", "S", "k", ""},
      {"empty value", "[S]\nk=\n", "S", "k", ""},
      {"value holding '='", "[S]\nk=a=b\n", "S", "k", "a=b"},
      {"last line without line end", "[S]\r\nk=v", "S", "k", "v"},
      {"comment line is no key", "[S]\n;k=1\nk=2\n", "S", "k", "2"},
      {"only a comment", "[S]\n; k=1\n", "S", "k", std::nullopt},
      {"line without '=' is no key", "[S]\nk\n", "S", "k", std::nullopt},
      {"header without ']' is no section", "[S\nk=1\n", "S", "k", std::nullopt},
      {"key in another section", "[A]\nk=1\n[B]\n", "B", "k", std::nullopt},
      {"key before any section", "k=1\n[S]\n", "S", "k", std::nullopt},
      {"missing section", "[A]\nk=1\n", "B", "k", std::nullopt},
      {"missing key", "[A]\nk=1\n", "A", "j", std::nullopt},
      {"empty text", "", "A", "k", std::nullopt},
  };
  for (const ReadCase& c : cases) {
    EXPECT_EQ(FindProfileValue(c.text, c.section, c.key), c.expected) << c.name;
  }
}

TEST(PrivateProfile, ParsesLeadingInteger) {
  const struct {
    const char* value;
    std::int32_t expected;
  } cases[] = {
      {"12", 12},
      {"12abc", 12},
      {"abc", 0},
      {"", 0},
      {"-5", -5},
      {"-", 0},
      {"--3", 0},
      {"- 3", 0},
      {"007", 7},
      {"3 4", 3},
      {"-2147483648", -2147483647 - 1},
      {"2147483647", 2147483647},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseProfileInt(c.value), c.expected) << c.value;
}

struct WriteCase {
  const char* name;
  std::string before;
  std::string section;
  std::string key;
  std::string value;
  std::string after;
};

TEST(PrivateProfile, WriteChangesOnlyTheKeysLine) {
  const WriteCase cases[] = {
      {"replace, comments kept", "; top\r\n[S]\r\n; about k\r\nk=1\r\nother = 2 ;x\r\n\r\n",  //
       "S", "k", "9", "; top\r\n[S]\r\n; about k\r\nk=9\r\nother = 2 ;x\r\n\r\n"},
      {"replace keeps the file's key name and line end", "[S]\n  K = 1 \nz=2\n", "s", "k", "9",
       "[S]\nK=9\nz=2\n"},
      {"replace only the first duplicate", "[S]\nk=1\nk=2\n", "S", "k", "9", "[S]\nk=9\nk=2\n"},
      {"replace in the first duplicate section", "[S]\nk=1\n[S]\nk=2\n", "S", "k", "9",
       "[S]\nk=9\n[S]\nk=2\n"},
      {"add before the section's trailing blank lines", "[A]\r\nx=1\r\n\r\n\r\n[B]\r\ny=2\r\n", "A", "k", "9",
       "[A]\r\nx=1\r\nk=9\r\n\r\n\r\n[B]\r\ny=2\r\n"},
      {"add after a trailing comment", "[A]\nx=1\n; end\n", "A", "k", "9", "[A]\nx=1\n; end\nk=9\r\n"},
      {"add to an empty section", "[A]\n\n[B]\n", "A", "k", "9", "[A]\nk=9\r\n\n[B]\n"},
      {"add to the first duplicate section", "[A]\nx=1\n[A]\ny=2\n", "a", "k", "9",
       "[A]\nx=1\nk=9\r\n[A]\ny=2\n"},
      {"add after a last line without line end", "[A]\nx=1", "A", "k", "9", "[A]\nx=1\r\nk=9\r\n"},
      {"new section at the end", "[A]\r\nx=1\r\n", "B", "k", "9", "[A]\r\nx=1\r\n[B]\r\nk=9\r\n"},
      {"new section after a last line without line end", "[A]\nx=1", "B", "k", "9",
       "[A]\nx=1\r\n[B]\r\nk=9\r\n"},
      {"new file", "", "S", "k", "v", "[S]\r\nk=v\r\n"},
      {"8-bit bytes unchanged", "[S]\n\xE9=1\n", "S", "\xC9", "\xFF\x80", "[S]\n\xE9=\xFF\x80\n"},
  };
  for (const WriteCase& c : cases) {
    const std::string after = SetProfileValue(c.before, c.section, c.key, c.value);
    EXPECT_EQ(after, c.after) << c.name;
    EXPECT_EQ(FindProfileValue(after, c.section, c.key), c.value) << c.name;
  }
}

TEST(PrivateProfileFile, MissingFileReadsDefaults) {
  test::TempDir dir;
  const std::string path = dir.File("none.ini");
  EXPECT_EQ(ReadProfileString(path, "S", "k", "  default ''"), "  default ''");
  EXPECT_EQ(ReadProfileInt(path, "S", "k", -1), -1);
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(PrivateProfileFile, WriteCreatesFileAndLeavesNoTemporaryFile) {
  test::TempDir dir;
  const std::string path = dir.File("SETTINGS.INI");
  ASSERT_TRUE(WriteProfileString(path, "Render", "Width", "1024"));
  ASSERT_TRUE(WriteProfileString(path, "Render", "Height", "768"));
  ASSERT_TRUE(WriteProfileString(path, "Render", "width", "800"));
  const auto bytes = test::ReadTestFile(path);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "[Render]\r\nWidth=800\r\nHeight=768\r\n");
  EXPECT_EQ(ReadProfileInt(path, "RENDER", "WIDTH", 0), 800);
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST(PrivateProfileFile, WriteRefusesAPathItCannotRead) {
  test::TempDir dir;
  const std::string folder = dir.File("a folder");
  std::filesystem::create_directory(folder);
  EXPECT_FALSE(WriteProfileString(folder, "S", "k", "v"));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_EQ(ReadProfileString(folder, "S", "k", "d"), "d");
}

}  // namespace
}  // namespace kiv::os
