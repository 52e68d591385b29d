// Runs the built SetupKiv program on bundles made from its own file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/bundle_writer.h"
#include "support/temp_dir.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;

ByteList Text(const std::string& text) { return ByteList(text.begin(), text.end()); }

ByteList Launcher() { return test::ReadTestFile(SETUPKIV_PATH); }

struct ProgramRun {
  int exitCode = -1;
  std::string standardError;
};

// Runs the program with TMPDIR set to `tempFolder` and no display, and waits for it.
ProgramRun RunProgram(const std::string& program, const std::string& tempFolder,
                      const std::string& errorFile) {
  std::vector<std::string> variables;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string variable = *entry;
    if (variable.rfind("TMPDIR=", 0) == 0 || variable.rfind("DISPLAY=", 0) == 0 ||
        variable.rfind("WAYLAND_DISPLAY=", 0) == 0) {
      continue;
    }
    variables.push_back(variable);
  }
  variables.push_back("TMPDIR=" + tempFolder);
  std::vector<char*> envp;
  for (std::string& variable : variables) envp.push_back(variable.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::string path = program;
  char* argv[] = {path.data(), nullptr};
  pid_t child = 0;
  ProgramRun run;
  const int error = posix_spawn(&child, path.c_str(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) {
    ADD_FAILURE() << "cannot start " << program << ": " << std::strerror(error);
    return run;
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  const ByteList text = test::ReadTestFile(errorFile);
  run.standardError.assign(text.begin(), text.end());
  return run;
}

// Writes a bundle as an executable file.
std::string WriteProgram(const test::TempDir& dir, const ByteList& bytes) {
  const std::string path = dir.File("SetupKiv");
  test::WriteTestFile(path, bytes);
  fs::permissions(path, fs::perms::owner_all);
  return path;
}

TEST(SetupKivTest, OwnImageHasNoBlockBeginningWithTheMark) {
  const ByteList image = Launcher();
  ASSERT_GT(image.size(), 512u);
  for (std::size_t offset = 0; offset + 3 <= image.size(); offset += 512) {
    EXPECT_FALSE(image[offset] == 'K' && image[offset + 1] == 'i' && image[offset + 2] == 'v')
        << "mark at offset " << offset;
  }
}

TEST(SetupKivTest, UnpacksAndStartsTheInstaller) {
  test::TempDir dir;
  const std::string temp = dir.File("tmp");
  fs::create_directory(temp);
  // The installer records where it ran from and which of the other files it found.
  const ByteList installer = Text(
      "#!/bin/sh\n"
      "cd \"$(dirname \"$0\")\" || exit 1\n"
      "{ echo \"$0\"; ls data.krc icon.ico game.ini; } > installer-ran.tmp 2>&1\n"
      "mv installer-ran.tmp installer-ran.txt\n");
  ByteList package(200000);
  for (std::size_t i = 0; i < package.size(); ++i) package[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  const ByteList icon = {0, 0, 1, 0, 1, 0, 16, 16};
  const ByteList description = Text("[game]\r\ntitle=Test Game");
  const std::string program =
      WriteProgram(dir, test::BuildBundle(Launcher(), {installer, package, icon, description}));

  const ProgramRun run = RunProgram(program, temp, dir.File("stderr.txt"));

  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.standardError, "");
  EXPECT_EQ(test::ReadTestFile(temp + "/InstallKiv.exe"), installer);
  EXPECT_EQ(test::ReadTestFile(temp + "/data.krc"), package);
  EXPECT_EQ(test::ReadTestFile(temp + "/icon.ico"), icon);
  EXPECT_EQ(test::ReadTestFile(temp + "/game.ini"), description);

  const std::string record = temp + "/installer-ran.txt";
  for (int i = 0; i < 500 && !fs::exists(record); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_TRUE(fs::exists(record)) << "the installer did not run";
  EXPECT_EQ(test::ReadTestFile(record), Text(temp + "/InstallKiv.exe\ndata.krc\ngame.ini\nicon.ico\n"));
}

struct FailureCase {
  const char* name;
  bool bundled;
  bool truncated;
  std::string message;
};

// With no display the error box's text goes to standard error.
TEST(SetupKivTest, FailuresExitWithOneAndReportTheText) {
  const std::vector<FailureCase> cases = {
      {"plain program", false, false, "You cannot run SetupKiv directly.\n"},
      {"file ends inside a payload", true, true, "Could not read internal data.\n"},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    ByteList bytes = Launcher();
    if (c.bundled) {
      bytes = test::BuildBundle(bytes, {Text("#!/bin/sh\n"), ByteList(5000, 1), {}, Text("[game]")});
      if (c.truncated) bytes.resize(bytes.size() - 1000);
    }
    const ProgramRun run = RunProgram(WriteProgram(dir, bytes), dir.Path(), dir.File("stderr.txt"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.standardError, c.message);
    EXPECT_FALSE(fs::exists(dir.File("InstallKiv.exe")));
  }
}

}  // namespace
}  // namespace kiv
