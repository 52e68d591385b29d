#include "data/set_loading.h"

#include "core/error.h"
#include "core/package.h"

namespace kiv {

std::int32_t CountNumberedEntries(const std::string& extension) {
  return CountPackageEntries("*." + extension) + 1;
}

void ReadNumberedEntries(const std::string& extension, std::int32_t last,
                         const std::function<void(const ByteList&, std::int32_t)>& read) {
  for (std::int32_t k = 0; k <= last; ++k) {
    const std::string name = std::to_string(k) + "." + extension;
    try {
      read(PackageGetEntryBytes(name, -1), k);
    } catch (const KivError& e) {
      throw KivError(e.Number(), "\"" + name + "\": " + e.what());
    }
  }
}

}  // namespace kiv
