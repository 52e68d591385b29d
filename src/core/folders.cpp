#include "core/folders.h"

#include <optional>

#include "core/error.h"
#include "platform/os/file_ops.h"
#include "platform/os/system_folders.h"

namespace kiv {

std::string gameFolder;
std::string gameFolderName;

namespace {

constexpr const char* kProgramTitle = "RunTimeKiv";

std::optional<std::string> FolderOfCode(int code) {
  const std::optional<std::string> appData = os::UserDataFolder();
  if (!appData) return std::nullopt;
  switch (code) {
    case kFolderAppData:
      return *appData;
    case kFolderCommonAppData:
      return JoinPath(*appData, "Common");
    default:
      return std::nullopt;
  }
}

}  // namespace

std::string PackageFolderOf(const std::string& packagePath) {
  const std::string::size_type slash = packagePath.rfind('/');
  if (slash == std::string::npos) return std::string();
  return slash == 0 ? std::string("/") : packagePath.substr(0, slash);
}

std::string GameFolderName(const std::string& folder) {
  std::string trimmed = folder;
  if (!trimmed.empty() && trimmed.back() == '/') trimmed.pop_back();
  const std::string::size_type slash = trimmed.rfind('/');
  std::string name = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
  // The file-system root has no name; its games share this one.
  return name.empty() ? std::string("root") : name;
}

std::string GetSpecialFolder(int code, bool addProgramFolder) {
  const std::optional<std::string> folder = FolderOfCode(code);
  if (!folder || !os::CreateFolders(*folder)) {
    RaiseError(kErrData, "Could not find special folder " + std::to_string(code) + ".");
  }
  if (!addProgramFolder) return *folder;
  const std::string programFolder = JoinPath(*folder, kProgramTitle);
  os::CreateFolders(programFolder);  // a failure shows later, when the folder is used
  return programFolder;
}

bool FileExists(const std::string& path) { return os::PathExists(path); }

void DeleteFileIfExists(const std::string& path) {
  if (FileExists(path)) os::RemoveFile(path);
}

std::string JoinPath(const std::string& a, const std::string& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  const bool aEnds = a.back() == '/';
  const bool bStarts = b.front() == '/';
  if (aEnds && bStarts) return a + b.substr(1);
  if (aEnds || bStarts) return a + b;
  return a + "/" + b;
}

std::string ProgramFolder() { return os::ExecutableFolder(); }

std::string GetUserGameFolder(std::string& folder) {
  if (folder.empty()) folder = gameFolder;
  // Before the player has set the game's folder, the game is the program's folder.
  if (folder.empty()) folder = ProgramFolder();
  std::string appData;
  try {
    appData = GetSpecialFolder(kFolderAppData, false);
  } catch (const KivError&) {
    return folder;
  }
  const std::string kiv = JoinPath(appData, "Kiv");
  const std::string games = JoinPath(kiv, "Games");
  const std::string userFolder = JoinPath(games, GameFolderName(folder));
  // Errors are ignored: a folder that cannot be made shows when a file is written.
  os::CreateFolders(userFolder);
  return userFolder;
}

std::string GetUserGameFolder() {
  std::string folder;
  return GetUserGameFolder(folder);
}

std::string GetCommonFolder() {
  std::string common;
  try {
    common = GetSpecialFolder(kFolderCommonAppData, false);
  } catch (const KivError&) {
    return ProgramFolder();
  }
  const std::string kiv = JoinPath(common, "Kiv");
  os::CreateFolders(kiv);  // a failure shows when a file is written there
  return kiv;
}

}  // namespace kiv
