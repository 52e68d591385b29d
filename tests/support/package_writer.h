#pragma once
// Builds game data packages in every head layout for tests, tools and benchmarks:
//  - kOld: head = entry upper bound, fixed-width blank-padded names;
//  - kCounted (head 100000): explicit upper bound, counted names;
//  - kCurrent (head 100001): three writer-version bytes before the upper bound.
// Entries are compressed at level 9 or stored (-1); any size can be overridden
// to make a damaged package.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/byte_list.h"

namespace kiv::test {

enum class PackageLayout { kOld, kCounted, kCurrent };

struct PackageFixtureEntry {
  std::string name;  // Windows-1252
  ByteList bytes;    // the content before packing
  bool compressed = true;
  // Overrides of what is written, to damage a package.
  std::optional<std::int32_t> nameLength;
  std::optional<std::int32_t> unpackedSize;
  std::optional<std::int32_t> storedSize;
  std::optional<ByteList> data;  // written in place of the packed bytes
};

class PackageWriter {
 public:
  explicit PackageWriter(PackageLayout layout = PackageLayout::kCurrent, int oldNameLength = 50);

  // Adds an entry compressed at level 9, stored (-1), or with no bytes (both sizes 0).
  // The reference stays valid until the next entry is added.
  PackageFixtureEntry& AddCompressed(const std::string& name, const ByteList& bytes);
  PackageFixtureEntry& AddStored(const std::string& name, const ByteList& bytes);
  PackageFixtureEntry& AddEmpty(const std::string& name);

  // Overrides the head's upper bound (the old layout's head) with any value.
  void SetUpperBound(std::int32_t upperBound) { upperBound_ = upperBound; }
  void SetWriterVersion(std::array<std::uint8_t, 3> version) { writerVersion_ = version; }

  std::vector<PackageFixtureEntry>& Entries() { return entries_; }

  // The package bytes; positions receives the offset of each entry's first data byte.
  ByteList Build(std::vector<std::int32_t>* positions = nullptr) const;
  void WriteTo(const std::string& path) const;

 private:
  PackageLayout layout_;
  int oldNameLength_;
  std::optional<std::int32_t> upperBound_;
  std::array<std::uint8_t, 3> writerVersion_{1, 13, 15};
  std::vector<PackageFixtureEntry> entries_;
};

// One zlib stream of the bytes at level 9, as current packages and saves hold them.
ByteList CompressLevel9(const ByteList& bytes);

// Text as bytes (Windows-1252 when the text is).
ByteList BytesOf(const std::string& text);

}  // namespace kiv::test
