#include "commands/object_executor.h"

namespace kiv {

namespace {

struct ObjectKindEntry {
  std::int32_t kind;
  ObjectKindEntryFn entry;
};

// One line per kind the executor takes; any other kind is "Invalid object type.".
constexpr ObjectKindEntry kObjectKinds[] = {
    {kObjectMap, RunMapProperty},
};

}  // namespace

ObjectKindEntryFn ObjectKindEntryFor(std::int32_t kind) {
  for (const ObjectKindEntry& entry : kObjectKinds) {
    if (entry.kind == kind) return entry.entry;
  }
  return nullptr;
}

}  // namespace kiv
