#pragma once
// Reading the numbered set entries of one kind: 0.<ext>, 1.<ext>, ... up to
// the first missing number.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/byte_list.h"

namespace kiv {

// Number of entries 0.<extension>, 1.<extension>, ... before the first gap.
std::int32_t CountNumberedEntries(const std::string& extension);

// Reads entry k.<extension> of the package with read(bytes, k) for k from 0
// to last. An error of the read is raised again with the same number and the
// entry's name before its message; the entries before it stay read.
void ReadNumberedEntries(const std::string& extension, std::int32_t last,
                         const std::function<void(const ByteList&, std::int32_t)>& read);

// Makes the table one fresh record per numbered entry and reads them in order.
template <typename Record>
void LoadNumberedSets(const std::string& extension, std::vector<Record>& table,
                      const std::function<void(const ByteList&, std::int32_t)>& read) {
  const std::int32_t count = CountNumberedEntries(extension);
  table.assign(static_cast<std::size_t>(count), Record());
  ReadNumberedEntries(extension, count - 1, read);
}

}  // namespace kiv
