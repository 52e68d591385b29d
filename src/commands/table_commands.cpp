// The Table commands: three-dimensional grids of values that scripts address
// from 1 along each dimension.
#include <algorithm>
#include <array>
#include <climits>
#include <string>
#include <vector>

#include "commands/internal_selection.h"
#include "commands/value_helpers.h"
#include "core/error.h"
#include "core/text_encoding.h"
#include "script/script_globals.h"
#include "script/script_stack_access.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

// A table's cells at the most: a resize that keeps the cells holds the old and
// the new grid at once, so both count.
constexpr std::int64_t kTableByteCap = 64LL * 1024 * 1024;

[[noreturn]] void SubscriptOutOfRange() { RaiseError(kErrIndex, "Subscript out of range"); }

using Cell = std::array<std::int32_t, 3>;

std::array<std::int32_t, 3> LastIndexes(const ScriptTable3& table) { return {table.lastX, table.lastY, table.lastZ}; }

// A script's 1-based coordinate made 0-based (the lowest Long stays outside every table).
std::int32_t ZeroBased(std::int32_t coordinate) { return coordinate == INT32_MIN ? INT32_MIN : coordinate - 1; }

// Arguments first .. first + 2 as a 0-based cell, checked against the table.
Cell CheckedCell(const InternalCall& call, std::int32_t table, std::int32_t first) {
  const Cell cell{ZeroBased(call.ArgumentLong(first)), ZeroBased(call.ArgumentLong(first + 1)),
                  ZeroBased(call.ArgumentLong(first + 2))};
  ScriptCheckTableElement(table, cell[0], cell[1], cell[2]);
  return cell;
}

// An argument as the script wrote it, for messages.
std::string AsGiven(const InternalCall& call, std::int32_t offset) {
  return Utf16ToAnsi(VarToTextLenient(call.Argument(offset)));
}

std::int32_t CheckedDimension(const InternalCall& call, std::int32_t offset) {
  const std::int32_t dimension = call.ArgumentLong(offset);
  if (dimension < 1 || dimension > 3) SubscriptOutOfRange();
  return dimension;
}

void Clear(InternalCall&) {
  ScriptTable3& table = TableAt(ScriptGetTableArgument(0));
  for (Variant& cell : table.cells) cell = Variant::Long(0);
}

void Edit(InternalCall& call) {
  const std::int32_t index = ScriptGetTableArgument(0);
  Variant value = call.Argument(1);
  const Cell cell = CheckedCell(call, index, 2);
  TableAt(index).Cell(cell[0], cell[1], cell[2]) = std::move(value);
}

void Item(InternalCall& call) {
  const std::int32_t index = ScriptGetTableArgument(0);
  const Cell cell = CheckedCell(call, index, 1);
  call.Answer(TableAt(index).Cell(cell[0], cell[1], cell[2]));
}

void Resize(InternalCall& call) {
  const std::int32_t index = ScriptGetTableArgument(0);
  const bool reset = call.ArgumentBoolean(1);
  const std::array<std::int32_t, 3> sizes{call.ArgumentLong(2), call.ArgumentLong(3), call.ArgumentLong(4)};
  ScriptTable3& table = TableAt(index);
  std::int64_t cells = 1;
  bool valid = true;
  for (const std::int32_t size : sizes) {
    if (size <= 0) valid = false;
    if (valid) cells *= size;  // at most 2^31 before the cap below stops the product
    if (valid && cells * static_cast<std::int64_t>(sizeof(Variant)) > kTableByteCap) valid = false;
  }
  if (valid && !reset) {
    valid = (cells + static_cast<std::int64_t>(table.cells.size())) * static_cast<std::int64_t>(sizeof(Variant)) <=
            kTableByteCap;
  }
  if (!valid) {
    RaiseError(kErrData, "Resizing to size (" + AsGiven(call, 2) + ", " + AsGiven(call, 3) + ", " + AsGiven(call, 4) +
                             ") is invalid.");
  }
  const std::array<std::int32_t, 3> old = LastIndexes(table);
  table.Resize(sizes[0] - 1, sizes[1] - 1, sizes[2] - 1);
  for (std::int32_t z = 0; z < sizes[2]; ++z) {
    for (std::int32_t y = 0; y < sizes[1]; ++y) {
      for (std::int32_t x = 0; x < sizes[0]; ++x) {
        const bool kept = !reset && x <= old[0] && y <= old[1] && z <= old[2];
        if (!kept) table.Cell(x, y, z) = Variant::Long(0);
      }
    }
  }
}

void Reset(InternalCall&) { ScriptClearTable(ScriptGetTableArgument(0)); }

void Size(InternalCall& call) {
  const std::int32_t index = ScriptGetTableArgument(0);
  const std::int32_t dimension = CheckedDimension(call, 1);
  call.Answer(Variant::Long(LastIndexes(TableAt(index))[static_cast<std::size_t>(dimension - 1)] + 1));
}

void Fill(InternalCall& call) {
  const std::int32_t index = ScriptGetTableArgument(0);
  const Variant value = call.Argument(1);
  const Cell from = CheckedCell(call, index, 2);
  const Cell to = CheckedCell(call, index, 5);
  ScriptTable3& table = TableAt(index);
  for (std::int32_t z = from[2]; z <= to[2]; ++z) {
    for (std::int32_t y = from[1]; y <= to[1]; ++y) {
      for (std::int32_t x = from[0]; x <= to[0]; ++x) table.Cell(x, y, z) = value;
    }
  }
}

// Removes one slice; the dimension shrinks by one but never below one slice,
// and a slice left without cells of its own holds 0.
void Delete(InternalCall& call) {
  const std::int32_t index = ScriptGetTableArgument(0);
  const std::int32_t dimension = CheckedDimension(call, 1);
  const std::int32_t row = call.ArgumentLong(2);
  ScriptTable3& table = TableAt(index);
  const std::array<std::int32_t, 3> old = LastIndexes(table);
  const auto axis = static_cast<std::size_t>(dimension - 1);
  if (row < 1 || row > old[axis] + 1) RaiseError(kErrData, "This row is invalid.");
  std::array<std::int32_t, 3> last = old;
  last[axis] = std::max(0, last[axis] - 1);
  std::vector<Variant> cells(static_cast<std::size_t>(last[0] + 1) * static_cast<std::size_t>(last[1] + 1) *
                                 static_cast<std::size_t>(last[2] + 1),
                             Variant::Long(0));
  const std::int32_t removed = row - 1;
  for (std::int32_t z = 0; z <= old[2]; ++z) {
    for (std::int32_t y = 0; y <= old[1]; ++y) {
      for (std::int32_t x = 0; x <= old[0]; ++x) {
        Cell target{x, y, z};
        if (target[axis] == removed) continue;
        if (target[axis] > removed) --target[axis];
        cells[(static_cast<std::size_t>(target[2]) * static_cast<std::size_t>(last[1] + 1) +
               static_cast<std::size_t>(target[1])) *
                  static_cast<std::size_t>(last[0] + 1) +
              static_cast<std::size_t>(target[0])] = std::move(table.Cell(x, y, z));
      }
    }
  }
  table.cells = std::move(cells);
  table.lastX = last[0];
  table.lastY = last[1];
  table.lastZ = last[2];
}

void Sort(InternalCall& call) {
  const std::int32_t index = ScriptGetTableArgument(0);
  const Cell cell = CheckedCell(call, index, 4);
  const bool descending = call.ArgumentBoolean(2);
  const bool numeric = call.ArgumentBoolean(3);
  const std::int32_t dimension = CheckedDimension(call, 1);
  ScriptTable3& table = TableAt(index);
  const std::int32_t last = LastIndexes(table)[static_cast<std::size_t>(dimension - 1)];
  ScriptSortArrayKeyed(table, dimension, {cell[0] + 1, cell[1] + 1, cell[2] + 1}, 0, last, descending, numeric);
}

void Find(InternalCall& call) {
  const std::int32_t index = ScriptGetTableArgument(0);
  const Cell cell = CheckedCell(call, index, 3);
  const std::int32_t dimension = CheckedDimension(call, 1);
  const Variant value = call.Argument(2);
  const ScriptTable3& table = TableAt(index);
  const auto axis = static_cast<std::size_t>(dimension - 1);
  Cell at = cell;
  std::int32_t found = 0;
  for (; at[axis] <= LastIndexes(table)[axis]; ++at[axis]) {
    if (ScriptValuesEqual(TableAt(index).Cell(at[0], at[1], at[2]), value)) {
      found = at[axis] + 1;
      break;
    }
  }
  call.Answer(Variant::Long(found));
}

constexpr InternalCommand kTable[] = {
    {"Table.Clear", Clear}, {"Table.Edit", Edit}, {"Table.Item", Item}, {"Table.Resize", Resize},
    {"Table.Reset", Reset}, {"Table.Size", Size}, {"Table.Fill", Fill}, {"Table.Delete", Delete},
    {"Table.Sort", Sort},   {"Table.Find", Find},
};

}  // namespace

std::span<const InternalCommand> TableCommands() { return kTable; }

}  // namespace kiv
