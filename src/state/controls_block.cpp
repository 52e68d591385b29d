#include "state/controls_block.h"

#include <utility>
#include <vector>

#include "core/data_buffer.h"
#include "core/error.h"
#include "core/record_codecs.h"
#include "media/controls_table.h"

namespace kiv {

std::int32_t controlsStamp = 0;

namespace {

constexpr std::int32_t kStampFromVersion = 100756;
constexpr std::int32_t kDisplayNameFromVersion = 100629;
constexpr std::int32_t kSlotsFromVersion = 100674;
// Identifier, image mode, name length and slot bound.
constexpr std::int32_t kMinControlSize = 16 + 1 + 4;
constexpr std::int32_t kBindingSize = 8;

void ReadSlot(const ByteList& buffer, std::int32_t& offset, BindingSlot& slot) {
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kBindingSize);
  slot.bindings.resize(static_cast<std::size_t>(last + 1));
  for (InputBinding& binding : slot.bindings) {
    binding.mode = BufferReadLong(buffer, offset);
    binding.key = BufferReadLong(buffer, offset);
  }
}

Control ReadControl(const ByteList& buffer, std::int32_t& offset, std::int32_t version) {
  Control control;
  control.id = BufferReadIdentifier(buffer, offset);
  ReadImageSource(buffer, control.image, offset, version);
  control.name = BufferReadString(buffer, offset);
  control.displayName = version >= kDisplayNameFromVersion ? BufferReadString(buffer, offset) : control.name;
  const std::int32_t slotBound = version >= kSlotsFromVersion ? BufferReadLong(buffer, offset) : 0;
  if (slotBound >= kPlayerCount) RaiseError(kErrIndex, "Subscript out of range.");
  for (std::int32_t s = 0; s <= slotBound; ++s) ReadSlot(buffer, offset, control.slots[static_cast<std::size_t>(s)]);
  return control;
}

}  // namespace

void WriteControls(ByteList& buffer, std::int32_t& offset) {
  BufferWriteLong(buffer, controlsStamp, offset);
  BufferWriteLastIndex(buffer, controls.size(), offset);
  for (const Control& control : controls) {
    BufferWriteIdentifier(buffer, control.id, offset);
    WriteImageSource(buffer, control.image, offset);
    BufferWriteString(buffer, control.name, offset);
    BufferWriteString(buffer, control.displayName, offset);
    BufferWriteLong(buffer, kPlayerCount - 1, offset);
    for (const BindingSlot& slot : control.slots) {
      BufferWriteLastIndex(buffer, slot.bindings.size(), offset);
      for (const InputBinding& binding : slot.bindings) {
        BufferWriteLong(buffer, binding.mode, offset);
        BufferWriteLong(buffer, binding.key, offset);
      }
    }
  }
}

void ReadControls(const ByteList& buffer, std::int32_t& offset, std::int32_t version) {
  std::int32_t position = offset;
  std::int32_t stamp = controlsStamp;
  if (version >= kStampFromVersion) stamp = BufferReadLong(buffer, position);
  const std::int32_t last = BufferReadLastIndex(buffer, position, kMinControlSize);
  std::vector<Control> table;
  if (last >= 0) {
    table.reserve(static_cast<std::size_t>(last + 1));
    for (std::int32_t i = 0; i <= last; ++i) table.push_back(ReadControl(buffer, position, version));
  }
  // Everything read: commit.
  controlsStamp = stamp;
  if (last >= 0) controls = std::move(table);
  offset = position;
}

std::int32_t ReadControlsKey(const ByteList& buffer) {
  std::int32_t position = 0;
  return BufferReadLong(buffer, position);
}

}  // namespace kiv
