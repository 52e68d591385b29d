#include "launcher/launcher.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "launcher/installer_start.h"
#include "support/bundle_writer.h"
#include "support/temp_dir.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;

ByteList Text(const std::string& text) { return ByteList(text.begin(), text.end()); }

const ByteList kInstaller = Text("#!/bin/sh\nexit 0\n");
const ByteList kPackage(3000, 0xA5);
const ByteList kIcon = Text("icon bytes");
const ByteList kDescription = Text("[game]\r\ntitle=Test Game");
const ByteList kImage(1000, 'x');

ByteList FullBundle() { return test::BuildBundle(kImage, {kInstaller, kPackage, kIcon, kDescription}); }

enum class OwnFile { kBundle, kMissing, kFolder };

struct LauncherCase {
  const char* name = "";
  ByteList bundle = {};
  std::map<std::string, std::string> before = {};  // files in the temporary folder beforehand; "/" = a folder
  std::map<std::string, ByteList> after = {};      // the exact contents of the temporary folder afterwards
  int exitCode = 0;
  std::string message = {};
  bool started = false;
  OwnFile own = OwnFile::kBundle;
  bool tempFolderMissing = false;
  int startError = 0;
};

void PrintTo(const LauncherCase& c, std::ostream* out) { *out << c.name; }

const std::map<std::string, ByteList> kAllFour = {
    {"InstallKiv.exe", kInstaller}, {"data.krc", kPackage}, {"icon.ico", kIcon}, {"game.ini", kDescription}};

std::vector<LauncherCase> Cases() {
  std::vector<LauncherCase> cases;
  cases.push_back({.name = "all four payloads written and the installer started",
                   .bundle = FullBundle(),
                   .after = kAllFour,
                   .started = true});
  cases.push_back({.name = "existing files of the same names are overwritten",
                   .bundle = FullBundle(),
                   .before = {{"data.krc", "old package"}, {"game.ini", "old"}},
                   .after = kAllFour,
                   .started = true});
  {
    auto after = kAllFour;
    after["icon.ico"] = Text("older icon");
    cases.push_back({.name = "an icon of length 0 leaves an older icon in place",
                     .bundle = test::BuildBundle(kImage, {kInstaller, kPackage, {}, kDescription}),
                     .before = {{"icon.ico", "older icon"}},
                     .after = after,
                     .started = true});
  }
  cases.push_back({.name = "own file cannot be opened",
                   .exitCode = 1,
                   .message = "Could not read information header.",
                   .own = OwnFile::kMissing});
  cases.push_back({.name = "own file is a folder",
                   .exitCode = 1,
                   .message = "Could not read information header.",
                   .own = OwnFile::kFolder});
  cases.push_back({.name = "plain program without an appended block",
                   .bundle = kImage,
                   .exitCode = 1,
                   .message = "You cannot run SetupKiv directly."});
  {
    ByteList bytes = kImage;
    test::AppendMark(bytes);
    for (const ByteList* p : {&kInstaller, &kPackage, &kIcon, &kDescription}) test::AppendPayload(bytes, *p);
    test::PadToBlock(bytes);
    cases.push_back({.name = "mark not on a block boundary",
                     .bundle = bytes,
                     .exitCode = 1,
                     .message = "You cannot run SetupKiv directly."});
  }
  {
    ByteList bytes = kImage;
    test::PadToBlock(bytes);
    test::AppendMark(bytes);
    for (const ByteList* p : {&kInstaller, &kIcon, &kIcon, &kDescription}) test::AppendPayload(bytes, *p);
    cases.push_back({.name = "fewer than 512 bytes after the mark",
                     .bundle = bytes,
                     .exitCode = 1,
                     .message = "You cannot run SetupKiv directly."});
  }
  {
    // The description ends the file one byte short: not even the payloads before it are written.
    ByteList bytes = kImage;
    test::PadToBlock(bytes);
    test::AppendMark(bytes);
    for (const ByteList* p : {&kInstaller, &kPackage, &kIcon, &kDescription}) test::AppendPayload(bytes, *p);
    bytes.pop_back();
    cases.push_back({.name = "file ends inside a payload: nothing written",
                     .bundle = bytes,
                     .exitCode = 1,
                     .message = "Could not read internal data."});
  }
  cases.push_back({.name = "output file cannot be created",
                   .bundle = FullBundle(),
                   .exitCode = 1,
                   .message = "Could not read internal data.",
                   .tempFolderMissing = true});
  {
    // The installer is written first and stays.
    std::map<std::string, ByteList> after = {{"InstallKiv.exe", kInstaller}, {"data.krc", {}}};
    cases.push_back({.name = "a folder standing at an output name",
                     .bundle = FullBundle(),
                     .before = {{"data.krc", "/"}},
                     .after = after,
                     .exitCode = 1,
                     .message = "Could not read internal data."});
  }
  cases.push_back({.name = "no installer payload: the rest written, nothing started",
                   .bundle = test::BuildBundle(kImage, {{}, kPackage, kIcon, kDescription}),
                   .after = {{"data.krc", kPackage}, {"icon.ico", kIcon}, {"game.ini", kDescription}},
                   .exitCode = 1,
                   .message = "Could not read internal data."});
  {
    ByteList image(512, 'x');
    test::AppendMark(image);
    test::AppendPayload(image, Text("first"));
    image.resize(2048, 0);
    cases.push_back({.name = "first marked block wins, even inside the program image",
                     .bundle = test::BuildBundle(image, {kInstaller, kPackage, kIcon, kDescription}),
                     .after = {{"InstallKiv.exe", Text("first")}},
                     .started = true});
  }
  cases.push_back({.name = "installer that cannot be started",
                   .bundle = FullBundle(),
                   .after = kAllFour,
                   .exitCode = 1,
                   .message = "Could not start the installer: Permission denied.",
                   .started = true,
                   .startError = EACCES});
  return cases;
}

std::string TestName(const ::testing::TestParamInfo<LauncherCase>& info) {
  std::string name;
  for (const char* p = info.param.name; *p != '\0'; ++p) {
    name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  }
  return name;
}

class LauncherTest : public ::testing::TestWithParam<LauncherCase> {};

TEST_P(LauncherTest, UnpacksIntoTheTemporaryFolder) {
  const LauncherCase& c = GetParam();
  test::TempDir dir;
  const std::string temp = c.tempFolderMissing ? dir.File("missing") : dir.File("tmp");
  if (!c.tempFolderMissing) fs::create_directory(temp);
  for (const auto& [name, content] : c.before) {
    if (content == "/") {
      fs::create_directory(temp + "/" + name);
    } else {
      test::WriteTestFile(temp + "/" + name, content);
    }
  }
  std::string own = dir.File("SetupKiv");
  if (c.own == OwnFile::kBundle) test::WriteTestFile(own, c.bundle);
  if (c.own == OwnFile::kFolder) fs::create_directory(own);

  std::vector<std::string> starts;
  const LauncherOutcome outcome = RunLauncher(own, temp, [&](const std::string& path) {
    starts.push_back(path);
    return c.startError;
  });

  EXPECT_EQ(outcome.exitCode, c.exitCode);
  EXPECT_EQ(outcome.message, c.message);
  if (c.started) {
    EXPECT_EQ(starts, std::vector<std::string>{temp + "/InstallKiv.exe"});
  } else {
    EXPECT_TRUE(starts.empty());
  }
  // The folder holds exactly the expected files: no temporary leftovers.
  std::set<std::string> present;
  if (fs::exists(temp)) {
    for (const auto& entry : fs::directory_iterator(temp)) present.insert(entry.path().filename().string());
  }
  std::set<std::string> expected;
  for (const auto& [name, content] : c.after) expected.insert(name);
  EXPECT_EQ(present, expected);
  for (const auto& [name, content] : c.after) {
    if (fs::is_directory(temp + "/" + name)) continue;
    EXPECT_EQ(test::ReadTestFile(temp + "/" + name), content) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, LauncherTest, ::testing::ValuesIn(Cases()), TestName);

bool Executable(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && (info.st_mode & S_IXUSR) != 0;
}

TEST(LauncherOutputTest, OnlyTheInstallerGetsTheRunBit) {
  test::TempDir dir;
  test::WriteTestFile(dir.File("SetupKiv"), FullBundle());
  ASSERT_EQ(RunLauncher(dir.File("SetupKiv"), dir.Path(), [](const std::string&) { return 0; }).exitCode, 0);
  EXPECT_TRUE(Executable(dir.File("InstallKiv.exe")));
  EXPECT_FALSE(Executable(dir.File("data.krc")));
  EXPECT_FALSE(Executable(dir.File("game.ini")));
}

TEST(LauncherOutputTest, LinkPlantedAtAnOutputNameIsReplacedNotFollowed) {
  test::TempDir dir;
  test::TempDir elsewhere;
  const std::string victim = elsewhere.File("victim");
  test::WriteTestFile(victim, "precious");
  fs::create_symlink(victim, dir.File("data.krc"));
  fs::create_symlink(elsewhere.File("not-there"), dir.File("game.ini"));
  test::WriteTestFile(dir.File("SetupKiv"), FullBundle());

  ASSERT_EQ(RunLauncher(dir.File("SetupKiv"), dir.Path(), [](const std::string&) { return 0; }).exitCode, 0);

  EXPECT_EQ(test::ReadTestFile(victim), Text("precious"));
  EXPECT_FALSE(fs::exists(elsewhere.File("not-there")));
  EXPECT_FALSE(fs::is_symlink(dir.File("data.krc")));
  EXPECT_EQ(test::ReadTestFile(dir.File("data.krc")), kPackage);
  EXPECT_EQ(test::ReadTestFile(dir.File("game.ini")), kDescription);
}

// Waits up to ten seconds for a file that another process writes.
bool WaitForFile(const std::string& path) {
  for (int i = 0; i < 500; ++i) {
    if (fs::exists(path)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

TEST(StartInstallerTest, StartsTheProgramWithoutWaiting) {
  test::TempDir dir;
  const std::string script = dir.File("installer.sh");
  // The script outlives the call: it waits for a file that only appears afterwards.
  test::WriteTestFile(script, "#!/bin/sh\nwhile [ ! -e \"" + dir.File("go") + "\" ]; do sleep 0.02; done\n" +
                                  "echo ran > \"" + dir.File("ran.tmp") + "\"\nmv \"" + dir.File("ran.tmp") +
                                  "\" \"" + dir.File("ran") + "\"\n");
  fs::permissions(script, fs::perms::owner_all);

  ASSERT_EQ(StartInstaller(script), 0);
  test::WriteTestFile(dir.File("go"), "");
  ASSERT_TRUE(WaitForFile(dir.File("ran")));
  EXPECT_EQ(test::ReadTestFile(dir.File("ran")), Text("ran\n"));
}

TEST(StartInstallerTest, ReportsWhyTheProgramCouldNotStart) {
  test::TempDir dir;
  test::WriteTestFile(dir.File("no-run-bit"), "#!/bin/sh\n");
  EXPECT_EQ(StartInstaller(dir.File("no-run-bit")), EACCES);
  EXPECT_EQ(StartInstaller(dir.File("missing")), ENOENT);
}

}  // namespace
}  // namespace kiv
