#include "core/package.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <limits>
#include <string_view>

#include "core/error.h"
#include "core/folders.h"
#include "core/hooks.h"
#include "core/text_encoding.h"
#include "core/zlib_file.h"
#include "platform/os/ansi_case.h"
#include "platform/os/file_ops.h"

namespace kiv {

PackageGlobals package;

void PackageGlobals::Reset() {
  packageEntries.clear();
  packageIterator = PackageIterator();
  packageTempFolder.clear();
  packagePath.clear();
}

namespace {

constexpr const char* kBoxCaption = "RunTimeKiv";
constexpr const char* kTempFileName = "TEMP.DAT";
constexpr std::int32_t kStoredSize = -1;

std::uint8_t Fold(char c) { return os::AnsiFoldLower(c); }

[[noreturn]] void Truncated() { RaiseError(kErrData, "The package file ends too early."); }

// Reads the package bytes front to back; every read is checked against what is left.
class PackageReader {
 public:
  PackageReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::size_t Left() const { return size_ - offset_; }
  std::size_t Offset() const { return offset_; }

  std::int32_t ReadInt32() {
    if (Left() < 4) Truncated();
    const std::uint8_t* p = data_ + offset_;
    offset_ += 4;
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
        (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24));
  }

  // The next count bytes, which the caller has checked against Left() or lets this check.
  const std::uint8_t* Take(std::size_t count) {
    if (count > Left()) Truncated();
    const std::uint8_t* p = data_ + offset_;
    offset_ += count;
    return p;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t offset_ = 0;
};

std::string ReadEntryName(PackageReader& reader, bool oldLayout, int oldNameLength) {
  if (oldLayout) {
    const auto* p = reinterpret_cast<const char*>(reader.Take(static_cast<std::size_t>(oldNameLength)));
    std::size_t length = static_cast<std::size_t>(oldNameLength);
    while (length > 0 && p[length - 1] == ' ') --length;  // the fixed-width name is blank-padded
    return std::string(p, length);
  }
  const std::int32_t length = reader.ReadInt32();
  if (length < 0 || static_cast<std::size_t>(length) > reader.Left()) {
    RaiseError(kErrData, "Invalid package entry name.");
  }
  const auto* p = reinterpret_cast<const char*>(reader.Take(static_cast<std::size_t>(length)));
  return std::string(p, static_cast<std::size_t>(length));
}

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

void ReadEntryData(PackageReader& reader, PackageEntry& entry) {
  const std::int32_t unpacked = reader.ReadInt32();
  const std::int32_t stored = reader.ReadInt32();
  entry.position = static_cast<std::int32_t>(reader.Offset());
  // A size of 0 on either side is an empty entry with no data behind it.
  if (unpacked == 0 || stored == 0) return;
  if (stored < 0 || unpacked < kStoredSize) {
    RaiseError(kErrData, "Invalid size of package entry " + Quoted(entry.name) + ".");
  }
  if (static_cast<std::size_t>(stored) > reader.Left()) {
    RaiseError(kErrData, "Package entry " + Quoted(entry.name) + " runs past the end of the file.");
  }
  const std::uint8_t* data = reader.Take(static_cast<std::size_t>(stored));
  entry.storedSize = stored;
  entry.compressed = unpacked != kStoredSize;
  if (unpacked == kStoredSize) {
    entry.bytes.assign(data, data + stored);
    return;
  }
  try {
    ZlibUncompress(data, static_cast<std::size_t>(stored), entry.bytes, unpacked);
  } catch (const KivError& error) {
    RaiseError(error.Number(), "Package entry " + Quoted(entry.name) + " is damaged: " + error.what());
  }
}

// The package file mapped into memory for one pass over it.
class MappedFile {
 public:
  explicit MappedFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) RaiseError(kErrData, "Could not open the package file.");
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      ::close(fd);
      RaiseError(kErrData, "Could not open the package file.");
    }
    // Entry positions are 32-bit offsets.
    if (info.st_size > std::numeric_limits<std::int32_t>::max()) {
      ::close(fd);
      RaiseError(kErrData, "The package file is too large.");
    }
    size_ = static_cast<std::size_t>(info.st_size);
    if (size_ > 0) {
      void* mapped = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
      if (mapped == MAP_FAILED) {
        ::close(fd);
        RaiseError(kErrData, "Could not read the package file.");
      }
      data_ = static_cast<const std::uint8_t*>(mapped);
    }
    ::close(fd);
  }
  ~MappedFile() {
    if (data_ != nullptr) ::munmap(const_cast<std::uint8_t*>(data_), size_);
  }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  const std::uint8_t* Data() const { return data_; }
  std::size_t Size() const { return size_; }

 private:
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// One element of a pattern (everything but "*") at pattern[p]: whether it
// matches c, and where the next element starts.
bool MatchOne(std::string_view pattern, std::size_t p, char c, std::size_t& next) {
  const char token = pattern[p];
  next = p + 1;
  if (token == '?') return true;
  if (token == '#') return c >= '0' && c <= '9';
  if (token != '[') return Fold(token) == Fold(c);
  const std::size_t close = pattern.find(']', p + 1);
  if (close == std::string_view::npos) return c == '[';  // an unclosed "[" is itself
  next = close + 1;
  std::size_t i = p + 1;
  bool negated = false;
  if (i < close && pattern[i] == '!') {
    negated = true;
    ++i;
  }
  const std::uint8_t folded = Fold(c);
  bool inList = false;
  while (i < close && !inList) {
    if (i + 2 < close && pattern[i + 1] == '-') {
      inList = folded >= Fold(pattern[i]) && folded <= Fold(pattern[i + 2]);
      i += 3;
    } else {
      inList = folded == Fold(pattern[i]);
      ++i;
    }
  }
  return inList != negated;
}

}  // namespace

bool PackageNameLike(std::string_view name, std::string_view pattern) {
  // Greedy matching that backtracks to the last "*": every other element
  // consumes exactly one character.
  std::size_t t = 0;
  std::size_t p = 0;
  std::size_t starPattern = std::string_view::npos;
  std::size_t starText = 0;
  while (t < name.size()) {
    std::size_t next = 0;
    if (p < pattern.size() && pattern[p] == '*') {
      starPattern = ++p;
      starText = t;
    } else if (p < pattern.size() && MatchOne(pattern, p, name[t], next)) {
      p = next;
      ++t;
    } else if (starPattern != std::string_view::npos) {
      p = starPattern;
      t = ++starText;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<PackageEntry> PackageParse(const std::uint8_t* data, std::size_t size, int oldNameLength) {
  if (size > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    RaiseError(kErrData, "The package file is too large.");
  }
  PackageReader reader(data, size);
  const std::int32_t head = reader.ReadInt32();
  if (head >= kPackageVersionCurrent) reader.Take(3);  // the writer's version, not used
  const bool oldLayout = head < kPackageVersionCounted;
  const std::int32_t upperBound = oldLayout ? head : reader.ReadInt32();
  if (oldLayout && oldNameLength < 0) RaiseError(kErrData, "Invalid package entry name.");
  // Each entry takes at least its name and two sizes, so the count is bounded
  // by the bytes left before the table is allocated.
  const std::uint64_t minimumEntrySize = oldLayout ? static_cast<std::uint64_t>(oldNameLength) + 8 : 12;
  const std::int64_t count = static_cast<std::int64_t>(upperBound) + 1;
  if (count < 0 || static_cast<std::uint64_t>(count) * minimumEntrySize > reader.Left()) {
    RaiseError(kErrData, "Invalid package entry count.");
  }
  std::vector<PackageEntry> entries(static_cast<std::size_t>(count));
  for (PackageEntry& entry : entries) {
    entry.name = ReadEntryName(reader, oldLayout, oldNameLength);
    ReadEntryData(reader, entry);
  }
  return entries;
}

int PackageLoad(const std::string& path, int oldNameLength) {
  if (!IsRegularFile(path)) {
    ShowErrorBox(kBoxCaption, "Could not find:\r\n" + Utf8ToAnsi(path));
    return kErrFileNotFound;
  }
  int number = 0;
  std::string description;
  try {
    const MappedFile file(path);
    package.packageEntries =
        OutOfMemoryAsError([&] { return PackageParse(file.Data(), file.Size(), oldNameLength); });
  } catch (const KivError& error) {
    number = error.Number();
    description = error.what();
  }
  if (number != 0) {
    std::vector<PackageEntry>().swap(package.packageEntries);
    ShowErrorBox(kBoxCaption, "Internal error: " + std::to_string(number) + "\r\n" + description);
    return number;
  }
  package.packageIterator = PackageIterator();
  package.packagePath = path;
  try {
    package.packageTempFolder = GetSpecialFolder(kFolderAppData, true);
  } catch (const KivError&) {
    package.packageTempFolder = ProgramFolder();
  }
  return 0;
}

std::int32_t PackageFindEntry(std::string_view name) {
  const std::vector<PackageEntry>& entries = package.packageEntries;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (os::AnsiEqualIgnoringCase(entries[i].name, name)) return static_cast<std::int32_t>(i);
  }
  return -1;
}

std::string PackageFindNextLike(const std::string& pattern) {
  PackageIterator& iterator = package.packageIterator;
  if (!pattern.empty()) {
    iterator.index = -1;
    iterator.pattern = pattern;
  }
  const auto count = static_cast<std::int32_t>(package.packageEntries.size());
  for (std::int32_t i = std::max(iterator.index, -1) + 1; i < count; ++i) {
    if (PackageNameLike(package.packageEntries[static_cast<std::size_t>(i)].name, iterator.pattern)) {
      iterator.index = i;
      return package.packageEntries[static_cast<std::size_t>(i)].name;
    }
  }
  iterator.index = count;
  return std::string();
}

std::int32_t PackageCountNumbered(const std::string& pattern, std::int32_t start) {
  const std::size_t star = pattern.find('*');
  const std::string prefix = pattern.substr(0, star);
  const std::string suffix = star == std::string::npos ? std::string() : pattern.substr(star + 1);
  std::int64_t k = start;
  while (k < std::numeric_limits<std::int32_t>::max() &&
         PackageFindEntry(prefix + std::to_string(k) + suffix) >= 0)
    ++k;
  return static_cast<std::int32_t>(k + start - 1);
}

ByteList PackageGetEntryBytes(const std::string& name, std::int32_t maximum) {
  const std::int32_t index = PackageFindEntry(name);
  if (index < 0) RaiseError(kErrData, "Cannot find " + Quoted(name) + " in package.");
  const ByteList& bytes = package.packageEntries[static_cast<std::size_t>(index)].bytes;
  if (maximum < 0 || maximum > LastIndex(bytes)) return bytes;
  return ByteList(bytes.begin(), bytes.begin() + maximum);
}

std::string PackageTempFilePath() { return JoinPath(package.packageTempFolder, kTempFileName); }

bool PackageExtractToTemp(const std::string& name) {
  const std::int32_t index = PackageFindEntry(name);
  if (index < 0) return false;
  const ByteList& bytes = package.packageEntries[static_cast<std::size_t>(index)].bytes;
  return os::WriteFileReplacing(PackageTempFilePath(),
                                std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void PackageDeleteTemp() { DeleteFileIfExists(PackageTempFilePath()); }

std::int32_t CountPackageEntries(const std::string& pattern) { return PackageCountNumbered(pattern, 0); }

ByteList ReadPackageFile(const std::string& name, std::int32_t maximum) {
  return PackageGetEntryBytes(name, maximum);
}

}  // namespace kiv
