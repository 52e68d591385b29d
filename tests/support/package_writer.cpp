#include "support/package_writer.h"

#include <zlib.h>

#include <cstdio>
#include <stdexcept>

namespace kiv::test {
namespace {

void PutInt32(ByteList& out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(bits >> shift));
}

}  // namespace

ByteList CompressLevel9(const ByteList& bytes) {
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  ByteList out(size);
  if (compress2(out.data(), &size, bytes.data(), static_cast<uLong>(bytes.size()), 9) != Z_OK) {
    throw std::runtime_error("compress2 failed");
  }
  out.resize(size);
  return out;
}

ByteList BytesOf(const std::string& text) { return ByteList(text.begin(), text.end()); }

PackageWriter::PackageWriter(PackageLayout layout, int oldNameLength)
    : layout_(layout), oldNameLength_(oldNameLength) {}

PackageFixtureEntry& PackageWriter::AddCompressed(const std::string& name, const ByteList& bytes) {
  PackageFixtureEntry entry;
  entry.name = name;
  entry.bytes = bytes;
  entry.compressed = true;
  entries_.push_back(std::move(entry));
  return entries_.back();
}

PackageFixtureEntry& PackageWriter::AddStored(const std::string& name, const ByteList& bytes) {
  PackageFixtureEntry& entry = AddCompressed(name, bytes);
  entry.compressed = false;
  return entry;
}

PackageFixtureEntry& PackageWriter::AddEmpty(const std::string& name) {
  PackageFixtureEntry& entry = AddStored(name, {});
  entry.unpackedSize = 0;
  entry.storedSize = 0;
  return entry;
}

ByteList PackageWriter::Build(std::vector<std::int32_t>* positions) const {
  ByteList out;
  const std::int32_t upperBound = upperBound_.value_or(static_cast<std::int32_t>(entries_.size()) - 1);
  switch (layout_) {
    case PackageLayout::kOld:
      PutInt32(out, upperBound);
      break;
    case PackageLayout::kCounted:
      PutInt32(out, 100000);
      PutInt32(out, upperBound);
      break;
    case PackageLayout::kCurrent:
      PutInt32(out, 100001);
      out.insert(out.end(), writerVersion_.begin(), writerVersion_.end());
      PutInt32(out, upperBound);
      break;
  }
  if (positions != nullptr) positions->clear();
  for (const PackageFixtureEntry& entry : entries_) {
    if (layout_ == PackageLayout::kOld) {
      std::string name = entry.name;
      name.resize(static_cast<std::size_t>(oldNameLength_), ' ');
      out.insert(out.end(), name.begin(), name.end());
    } else {
      PutInt32(out, entry.nameLength.value_or(static_cast<std::int32_t>(entry.name.size())));
      out.insert(out.end(), entry.name.begin(), entry.name.end());
    }
    const ByteList packed = entry.data         ? *entry.data
                            : entry.compressed ? CompressLevel9(entry.bytes)
                                               : entry.bytes;
    const std::int32_t unpacked = entry.compressed ? static_cast<std::int32_t>(entry.bytes.size()) : -1;
    PutInt32(out, entry.unpackedSize.value_or(unpacked));
    PutInt32(out, entry.storedSize.value_or(static_cast<std::int32_t>(packed.size())));
    if (positions != nullptr) positions->push_back(static_cast<std::int32_t>(out.size()));
    out.insert(out.end(), packed.begin(), packed.end());
  }
  return out;
}

void PackageWriter::WriteTo(const std::string& path) const {
  const ByteList bytes = Build();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot write " + path);
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (std::fclose(file) != 0 || !ok) throw std::runtime_error("cannot write " + path);
}

}  // namespace kiv::test
