#include "dialogs/controls_file.h"

#include <cstdint>

#include "core/byte_list.h"
#include "core/folders.h"
#include "core/format_version.h"
#include "core/log.h"
#include "state/controls_block.h"

namespace kiv {

void SaveControlsFile(const std::string& fileName) {
  ByteList bytes;
  std::int32_t offset = 0;
  WriteControls(bytes, offset);
  bytes.resize(static_cast<std::size_t>(offset));
  WriteFileBytes(JoinPath(GetUserGameFolder(), fileName), bytes, false);
}

void LoadControlsFile() {
  const std::string path = JoinPath(GetUserGameFolder(), kControlsFileName);
  if (!FileExists(path)) return;
  const ByteList bytes = ReadFileBytes(path);
  if (bytes.empty()) return;
  if (bytes.size() >= 4 && ReadControlsKey(bytes) == controlsStamp) {
    std::int32_t offset = 0;
    ReadControls(bytes, offset, kCurrentFormatVersion);
  } else {
    DeleteFileIfExists(path);
  }
}

}  // namespace kiv
