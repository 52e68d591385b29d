#pragma once
// The game data package ("DATA.kRC"): a file of named entries, each stored or
// zlib-compressed. The player loads the whole package into memory once; every
// reader then takes copies of entry bytes by name.
//
// File layout (little-endian):
//   head        i32  format version (100000, 100001), or below 100000 the old
//                    layout's entry upper bound
//   writer      3    only when head >= 100001: the writing program's version
//   upper bound i32  only when head >= 100000: last entry index n
//   n + 1 entries:
//     name      new layout: i32 byte count + bytes; old layout: a fixed width,
//                    blank-padded
//     unpacked  i32  size after inflating; -1 = stored as is
//     stored    i32  number of data bytes that follow
//     data      stored bytes (nothing when either size is 0)
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/byte_list.h"

namespace kiv {

inline constexpr std::int32_t kPackageVersionCounted = 100000;  // counted names, explicit upper bound
inline constexpr std::int32_t kPackageVersionCurrent = 100001;  // plus three writer-version bytes
inline constexpr int kPackageOldNameLength = 50;                // what the player passes for old packages

struct PackageEntry {
  std::string name;           // Windows-1252
  ByteList bytes;             // content after inflating; empty for an empty entry
  std::int32_t position = 0;  // offset in the package file of the first data byte
  std::int32_t storedSize = 0;  // data bytes in the file (0 for an empty entry)
  bool compressed = false;      // the data in the file is a zlib stream
};

struct PackageIterator {
  std::int32_t index = -1;  // last matched entry
  std::string pattern;
};

struct PackageGlobals {
  std::vector<PackageEntry> packageEntries;  // in file order
  PackageIterator packageIterator;
  std::string packageTempFolder;  // where "TEMP.DAT" is written
  std::string packagePath;        // the file that was loaded (sounds are opened from it in place)
  void Reset();
};
extern PackageGlobals package;

// Loads the package at path into package.packageEntries. Returns 0, or the error
// number after showing the error in a box ("RunTimeKiv"): 53 when the file is
// missing (the table is then unchanged), otherwise the table is emptied.
int PackageLoad(const std::string& path, int oldNameLength);

// Parses package bytes held in memory. Every count and size is checked against
// the bytes left before anything is allocated; a bad package raises -1.
std::vector<PackageEntry> PackageParse(const std::uint8_t* data, std::size_t size, int oldNameLength);

// Index of the first entry whose name equals name case-insensitively, -1 when none.
std::int32_t PackageFindEntry(std::string_view name);

// A non-empty pattern starts a new search, an empty one continues it. Returns the
// next entry name matching the pattern in table order, "" when there are no more.
std::string PackageFindNextLike(const std::string& pattern);

// The pattern match behind PackageFindNextLike, case-insensitive: "*" any run,
// "?" any character, "#" a digit, "[abc]" / "[a-z]" one of a list, "[!...]" one
// not in it. An unclosed "[" stands for itself.
bool PackageNameLike(std::string_view name, std::string_view pattern);

// For a pattern with one "*" (prefix*suffix): looks for prefix<k>suffix for
// k = start, start + 1, ... and returns (first k not found) + start - 1; with
// start 0 the last number of the unbroken run from 0, or -1.
std::int32_t PackageCountNumbered(const std::string& pattern, std::int32_t start);

// A copy of the entry's bytes: all of them when maximum is negative or beyond the
// last index, else the first maximum bytes. Raises -1 "Cannot find "X" in package.".
ByteList PackageGetEntryBytes(const std::string& name, std::int32_t maximum);

// Writes the entry as packageTempFolder/"TEMP.DAT"; false when the entry is
// missing (nothing written) or the file cannot be written.
bool PackageExtractToTemp(const std::string& name);
void PackageDeleteTemp();  // every error ignored
std::string PackageTempFilePath();

// The last number of the unbroken run of entries prefix0suffix, prefix1suffix, ...;
// -1 when prefix0suffix is missing.
std::int32_t CountPackageEntries(const std::string& pattern);
// The entry's bytes, at most maximum of them (a negative maximum: all).
ByteList ReadPackageFile(const std::string& name, std::int32_t maximum);

}  // namespace kiv
