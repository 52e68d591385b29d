#pragma once
// Special folders, the game's folders and small file operations.
// Paths are UTF-8 with '/' separators and no trailing separator.
#include <string>

namespace kiv {

inline constexpr int kFolderAppData = 26;        // $XDG_DATA_HOME (default ~/.local/share)
inline constexpr int kFolderCommonAppData = 35;  // $XDG_DATA_HOME/Common

// The folder of the given code, created when missing; with addProgramFolder the
// "RunTimeKiv" folder inside it (created). Raises -1 "Could not find special folder N.".
std::string GetSpecialFolder(int code, bool addProgramFolder);

bool FileExists(const std::string& path);          // a file or a folder
void DeleteFileIfExists(const std::string& path);  // errors ignored

// a + "/" + b, without doubling a separator.
std::string JoinPath(const std::string& a, const std::string& b);

// The folder of the running program (from /proc/self/exe).
std::string ProgramFolder();

// The folder of the game package; the default of GetUserGameFolder.
extern std::string gameFolder;
// The last name of gameFolder (GameFolderName); names the user folder and the game window.
extern std::string gameFolderName;

// The folder of a package file: its path up to the last "/" (not included),
// "/" for a package at the file-system root, "" for a path without "/".
std::string PackageFolderOf(const std::string& packagePath);
// The last name of a folder: with a trailing "/", the name before it; "root"
// where there is none (the file-system root).
std::string GameFolderName(const std::string& folder);

// The user's folder of a game: <app data>/Kiv/Games/<last folder name of folder>,
// created when missing. An empty folder is first set to gameFolder. When the
// application-data folder cannot be found, the given folder itself.
std::string GetUserGameFolder(std::string& folder);
std::string GetUserGameFolder();

// The folder shared by all users: <common app data>/Kiv, created when missing;
// the program's folder when the common application-data folder cannot be had.
std::string GetCommonFolder();

}  // namespace kiv
