#include "platform/os/system_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "support/temp_dir.h"

namespace kiv::os {
namespace {

// Sets (or, with nullptr, unsets) an environment variable for one test.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(SpecialFolders, UserDataFolderFollowsXdgRules) {
  test::TempDir dir;
  const std::string home = dir.File("home");
  const std::string xdg = dir.File("data");
  const struct {
    const char* name;
    std::optional<std::string> xdg;
    std::string expected;
  } cases[] = {
      {"XDG_DATA_HOME", xdg, xdg},
      {"trailing separators dropped", xdg + "//", xdg},
      {"relative XDG_DATA_HOME ignored", "relative/data", home + "/.local/share"},
      {"empty XDG_DATA_HOME ignored", "", home + "/.local/share"},
      {"unset XDG_DATA_HOME", std::nullopt, home + "/.local/share"},
  };
  ScopedEnv homeEnv("HOME", (home + "/").c_str());
  for (const auto& c : cases) {
    ScopedEnv xdgEnv("XDG_DATA_HOME", c.xdg ? c.xdg->c_str() : nullptr);
    EXPECT_EQ(UserDataFolder(), c.expected) << c.name;
  }
  // Looking the folder up does not create it.
  EXPECT_FALSE(std::filesystem::exists(home));
}

TEST(SpecialFolders, TempFolderIsTmpdirOrTmp) {
  {
    ScopedEnv tmp("TMPDIR", "/some/where/");
    EXPECT_EQ(TempFolder(), "/some/where");
  }
  {
    ScopedEnv tmp("TMPDIR", nullptr);
    EXPECT_EQ(TempFolder(), "/tmp");
  }
}

TEST(SpecialFolders, ExecutableIsThisTestProgram) {
  const std::string path = ExecutablePath();
  EXPECT_EQ(std::filesystem::path(path).filename(), "platform_os_tests");
  EXPECT_EQ(ExecutableFolder(), std::filesystem::path(path).parent_path().string());
}

TEST(SpecialFolders, CreateFoldersMakesParentsAndAcceptsExisting) {
  test::TempDir dir;
  const std::string nested = dir.File("a/b/c");
  EXPECT_TRUE(CreateFolders(nested));
  EXPECT_TRUE(std::filesystem::is_directory(nested));
  EXPECT_TRUE(CreateFolders(nested));

  test::WriteTestFile(dir.File("file"), std::string("x"));
  EXPECT_FALSE(CreateFolders(dir.File("file")));
  EXPECT_FALSE(CreateFolders(dir.File("file/below")));
  EXPECT_FALSE(CreateFolders(""));
}

}  // namespace
}  // namespace kiv::os
