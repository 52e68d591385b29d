#include "core/folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/error.h"
#include "support/temp_dir.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;

// Points the user's folders (XDG_DATA_HOME, HOME, TMPDIR) into a temporary
// folder for one test, and puts the old values back afterwards.
class FoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kNames) {
      const char* old = std::getenv(name);
      saved_.push_back(old != nullptr ? std::optional<std::string>(old) : std::nullopt);
    }
    data_ = dir_.File("data");
    SetEnv("XDG_DATA_HOME", data_);
    SetEnv("HOME", dir_.File("home"));
    SetEnv("TMPDIR", dir_.File("tmp"));
    savedGameFolder_ = gameFolder;
  }
  void TearDown() override {
    for (std::size_t i = 0; i < std::size(kNames); ++i) {
      if (saved_[i]) {
        setenv(kNames[i], saved_[i]->c_str(), 1);
      } else {
        unsetenv(kNames[i]);
      }
    }
    gameFolder = savedGameFolder_;
  }
  static void SetEnv(const char* name, const std::string& value) { setenv(name, value.c_str(), 1); }

  static constexpr const char* kNames[] = {"XDG_DATA_HOME", "HOME", "TMPDIR"};
  test::TempDir dir_;
  std::string data_;

 private:
  std::vector<std::optional<std::string>> saved_;
  std::string savedGameFolder_;
};

TEST_F(FoldersTest, SpecialFoldersAreCreated) {
  EXPECT_EQ(GetSpecialFolder(kFolderAppData, false), data_);
  EXPECT_TRUE(fs::is_directory(data_));

  const std::string program = GetSpecialFolder(kFolderAppData, true);
  EXPECT_EQ(program, data_ + "/RunTimeKiv");
  EXPECT_TRUE(fs::is_directory(program));
  EXPECT_EQ(GetSpecialFolder(kFolderAppData, true), program);  // an existing folder is fine

  EXPECT_EQ(GetSpecialFolder(kFolderCommonAppData, false), data_ + "/Common");
  EXPECT_TRUE(fs::is_directory(data_ + "/Common"));
}

TEST_F(FoldersTest, FolderThatCannotBeHadRaises) {
  const struct {
    int code;
    const char* message;
  } cases[] = {{5, "Could not find special folder 5."}, {26, "Could not find special folder 26."}};
  // A file where the data folder should be makes code 26 fail too.
  test::WriteTestFile(data_, std::string("in the way"));
  for (const auto& c : cases) {
    try {
      GetSpecialFolder(c.code, false);
      ADD_FAILURE() << c.code << " did not raise";
    } catch (const KivError& error) {
      EXPECT_EQ(error.Number(), -1);
      EXPECT_STREQ(error.what(), c.message);
    }
  }
}

TEST_F(FoldersTest, UserGameFolderIsNamedAfterTheGamesFolder) {
  const std::string games = data_ + "/Kiv/Games";
  const struct {
    const char* folder;
    std::string expected;
  } cases[] = {
      {"/opt/games/My Game", games + "/My Game"},
      {"/opt/games/My Game/", games + "/My Game"},
      {"Relative", games + "/Relative"},
  };
  for (const auto& c : cases) {
    std::string folder = c.folder;
    EXPECT_EQ(GetUserGameFolder(folder), c.expected) << c.folder;
    EXPECT_TRUE(fs::is_directory(c.expected)) << c.folder;
    EXPECT_EQ(folder, c.folder);
  }
}

TEST_F(FoldersTest, EmptyFolderMeansTheGameFolder) {
  gameFolder = "/opt/games/Quest";
  std::string folder;
  EXPECT_EQ(GetUserGameFolder(folder), data_ + "/Kiv/Games/Quest");
  EXPECT_EQ(folder, "/opt/games/Quest");
  EXPECT_EQ(GetUserGameFolder(), data_ + "/Kiv/Games/Quest");
}

TEST_F(FoldersTest, WithoutAppDataTheGivenFolderIsUsed) {
  test::WriteTestFile(data_, std::string("in the way"));
  std::string folder = "/opt/games/Quest";
  EXPECT_EQ(GetUserGameFolder(folder), "/opt/games/Quest");
}

// Package paths in three environments: the game folder and its name, the
// user folder and the common folder, with their fallbacks.
TEST_F(FoldersTest, PackagePathsAndEnvironmentsGiveBothFolders) {
  enum class Env { Xdg, HomeOnly, NoDataFolder };
  const std::string xdg = data_;
  const std::string home = dir_.File("home") + "/.local/share";
  const struct {
    const char* package;
    Env env;
    const char* folder;
    const char* name;
    std::string user;    // "" : the game folder itself
    std::string common;  // "" : the program's folder
  } cases[] = {
      {"/opt/games/Quest/DATA.kRC", Env::Xdg, "/opt/games/Quest", "Quest", xdg + "/Kiv/Games/Quest",
       xdg + "/Common/Kiv"},
      {"/opt/My Game/game.krc", Env::HomeOnly, "/opt/My Game", "My Game", home + "/Kiv/Games/My Game",
       home + "/Common/Kiv"},
      {"/DATA.kRC", Env::Xdg, "/", "root", xdg + "/Kiv/Games/root", xdg + "/Common/Kiv"},
      {"/opt/games/Quest/DATA.kRC", Env::NoDataFolder, "/opt/games/Quest", "Quest", "", ""},
      {"DATA.kRC", Env::Xdg, "", "root", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.package);
    if (c.env == Env::HomeOnly) unsetenv("XDG_DATA_HOME");
    if (c.env == Env::NoDataFolder) test::WriteTestFile(dir_.File("blocked"), std::string("a file"));
    if (c.env == Env::NoDataFolder) SetEnv("XDG_DATA_HOME", dir_.File("blocked"));
    const std::string folder = PackageFolderOf(c.package);
    EXPECT_EQ(folder, c.folder);
    EXPECT_EQ(GameFolderName(folder), c.name);
    if (folder.empty()) {
      SetEnv("XDG_DATA_HOME", data_);
      continue;
    }
    gameFolder = folder;
    const std::string user = GetUserGameFolder();
    EXPECT_EQ(user, c.user.empty() ? folder : c.user);
    EXPECT_TRUE(c.user.empty() || fs::is_directory(c.user));
    const std::string common = GetCommonFolder();
    EXPECT_EQ(common, c.common.empty() ? ProgramFolder() : c.common);
    EXPECT_TRUE(c.common.empty() || fs::is_directory(c.common));
    SetEnv("XDG_DATA_HOME", data_);
  }
}

TEST_F(FoldersTest, ADeletedUserOrCommonFolderIsBackAtTheNextCall) {
  gameFolder = "/opt/games/Quest";
  const std::string user = GetUserGameFolder();
  const std::string common = GetCommonFolder();
  test::WriteTestFile(user + "/SETTINGS.INI", std::string("[Voice]\r\n"));
  fs::remove_all(data_ + "/Kiv");
  fs::remove_all(common);
  EXPECT_FALSE(fs::exists(user));
  EXPECT_EQ(GetUserGameFolder(), user);
  EXPECT_TRUE(fs::is_directory(user));
  EXPECT_EQ(GetCommonFolder(), common);
  EXPECT_TRUE(fs::is_directory(common));
}

TEST_F(FoldersTest, FileExistsAndDelete) {
  const std::string file = dir_.File("TEMP.DAT");
  test::WriteTestFile(file, std::string("x"));
  EXPECT_TRUE(FileExists(file));
  EXPECT_TRUE(FileExists(dir_.Path()));  // folders count
  EXPECT_FALSE(FileExists(dir_.File("missing")));

  DeleteFileIfExists(file);
  EXPECT_FALSE(FileExists(file));
  DeleteFileIfExists(file);         // missing: nothing happens
  DeleteFileIfExists(dir_.Path());  // a folder is not deleted, and nothing is raised
  EXPECT_TRUE(fs::is_directory(dir_.Path()));
}

TEST(JoinPath, OneSeparatorBetweenParts) {
  const struct {
    const char* a;
    const char* b;
    const char* expected;
  } cases[] = {
      {"/a", "b", "/a/b"}, {"/a/", "b", "/a/b"}, {"/a", "/b", "/a/b"}, {"/a/", "/b", "/a/b"},
      {"", "b", "b"},      {"/a", "", "/a"},     {"/", "b", "/b"},     {"a", "b/c", "a/b/c"},
  };
  for (const auto& c : cases) EXPECT_EQ(JoinPath(c.a, c.b), c.expected) << c.a << " + " << c.b;
}

TEST(ProgramFolder, IsTheFolderOfThisTest) {
  EXPECT_EQ(ProgramFolder(), fs::canonical("/proc/self/exe").parent_path().string());
}

}  // namespace
}  // namespace kiv
