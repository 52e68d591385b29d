#include "data/script_record.h"

namespace kiv {

ScriptTable scriptTable;

std::int32_t RegisterScript(Script& script) {
  if (!script.hasStatements) {
    script.index = -1;
    return -1;
  }
  // The copy keeps the index the holder had when it was copied.
  scriptTable.scripts.push_back(script);
  script.index = static_cast<std::int32_t>(scriptTable.scripts.size()) - 1;
  return script.index;
}

}  // namespace kiv
