#include "data/input_set.h"

#include <string>

#include "core/data_buffer.h"
#include "core/error.h"
#include "data/find_by_id.h"
#include "data/game_data.h"
#include "data/resource_header.h"
#include "data/script_codec.h"

namespace kiv {

namespace {

constexpr std::int32_t kFirstDisplayName = 100629;
constexpr std::int32_t kFirstKind = 100763;
constexpr std::int32_t kFirstAlwaysOn = 100752;

constexpr std::int32_t kMinEntrySize = 8;  // a script's smallest form and the step count
constexpr std::int32_t kMinStepSize = 8;

InputSet& InputSetAt(std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= gameData.inputSets.size())
    RaiseError(kErrIndex, "Subscript out of range: input set " + std::to_string(index) + ".");
  return gameData.inputSets[static_cast<std::size_t>(index)];
}

void ReadStep(const ByteList& buffer, std::int32_t& offset, InputStep& step) {
  step.flags = BufferReadLong(buffer, offset);
  if (step.flags & kInputStepControl) {
    step.controlId = BufferReadIdentifier(buffer, offset);
    // An empty identifier that no control has is unresolved here too.
    const std::int32_t control = FindControlById(step.controlId);
    step.value = control >= 0 ? control : -2;
  } else {
    step.value = BufferReadLong(buffer, offset);
  }
}

// For every entry: no-control is set unless a step is bound to a control;
// kind-4 is set by a step of kind 4 that is not a control step.
void DeriveEntryFlags(InputSet& set) {
  for (InputEntry& entry : set.entries) {
    entry.noControl = true;
    for (const InputStep& step : entry.steps) {
      if (step.flags & kInputStepControl)
        entry.noControl = false;
      else if (step.flags & kInputStepKind4)
        entry.kind4 = true;
    }
  }
}

}  // namespace

void ReadInputSet(const ByteList& buffer, std::int32_t index) {
  InputSet& set = InputSetAt(index);
  std::int32_t offset = 0;
  std::int32_t version = 0;
  CheckResourceHeader(buffer, offset, version, kMinSetVersion);
  set.id = ReadSetIdentifier(buffer, offset, version);
  set.name = BufferReadString(buffer, offset);
  set.displayName = version >= kFirstDisplayName ? BufferReadString(buffer, offset) : set.name;
  set.kind = version >= kFirstKind ? BufferReadString(buffer, offset) : std::u16string();
  if (version >= kFirstAlwaysOn) set.alwaysOn = BufferReadByte(buffer, offset);

  const std::int32_t entryLast = BufferReadLastIndex(buffer, offset, kMinEntrySize);
  set.entries.assign(static_cast<std::size_t>(entryLast + 1), InputEntry());
  for (InputEntry& entry : set.entries) {
    ReadScript(buffer, offset, entry.script, false, true, 0, true);
    const std::int32_t stepLast = BufferReadLastIndex(buffer, offset, kMinStepSize);
    entry.steps.assign(static_cast<std::size_t>(stepLast + 1), InputStep());
    for (InputStep& step : entry.steps) ReadStep(buffer, offset, step);
  }
  DeriveEntryFlags(set);
}

}  // namespace kiv
