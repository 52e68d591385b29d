#include "script/script_state_lists.h"

#include <utility>
#include <vector>

#include "core/data_buffer.h"
#include "core/error.h"
#include "core/symbol_table.h"
#include "data/lists.h"
#include "script/script_globals.h"

namespace kiv {

namespace {

// Smallest stored sizes, for checking counts against the bytes left.
constexpr std::int32_t kMinVariantSize = 5;         // a tag and an empty text or array
constexpr std::int32_t kMinSwitchSize = 4 + 2;      // empty name, Integer
constexpr std::int32_t kMinCollectionSize = 4 + 4;  // empty name, last index
constexpr std::int32_t kMinTableSize = 4 + 3 * 4;   // empty name, three upper bounds

bool StoresCells(const ScriptTable3& table) {
  return table.lastX >= 0 && table.lastY >= 0 && table.lastZ >= 0;
}

// Where the cell of the stored position lives: cells are held x fastest.
std::size_t CellIndex(const ScriptTable3& table, std::int32_t x, std::int32_t y, std::int32_t z) {
  return static_cast<std::size_t>((static_cast<std::int64_t>(z) * (table.lastY + 1) + y) *
                                      (static_cast<std::int64_t>(table.lastX) + 1) +
                                  x);
}

std::vector<GlobalSwitch> ReadSwitches(const ByteList& buffer, std::int32_t& offset) {
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kMinSwitchSize);
  std::vector<GlobalSwitch> switches(static_cast<std::size_t>(last + 1));
  for (GlobalSwitch& entry : switches) {
    entry.symbol = SymbolIntern(BufferReadString(buffer, offset));
    entry.state = BufferReadInt16(buffer, offset);
  }
  return switches;
}

std::vector<ScriptCollection> ReadCollections(const ByteList& buffer, std::int32_t& offset) {
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kMinCollectionSize);
  std::vector<ScriptCollection> collections(static_cast<std::size_t>(last + 1));
  for (ScriptCollection& collection : collections) {
    collection.symbol = SymbolIntern(BufferReadString(buffer, offset));
    const std::int32_t elementLast = BufferReadLastIndex(buffer, offset, kMinVariantSize);
    collection.elements.resize(static_cast<std::size_t>(elementLast + 1));
    for (Variant& element : collection.elements) BufferReadVariant(buffer, element, offset);
  }
  return collections;
}

// A table with any upper bound below 0 keeps its bounds as stored and has no
// cells; every access to it fails the bounds check.
ScriptTable3 ReadTable(const ByteList& buffer, std::int32_t& offset) {
  ScriptTable3 table;
  table.symbol = SymbolIntern(BufferReadString(buffer, offset));
  table.lastX = BufferReadLong(buffer, offset);
  table.lastY = BufferReadLong(buffer, offset);
  table.lastZ = BufferReadLong(buffer, offset);
  if (!StoresCells(table)) return table;

  // Three factors of up to 2^31 each: check the product step by step so that
  // it neither overflows nor promises more cells than the bytes left can hold.
  const std::int64_t maxCells = BufferBytesLeft(buffer, offset) / kMinVariantSize;
  std::int64_t cellCount = 1;
  for (const std::int32_t last : {table.lastX, table.lastY, table.lastZ}) {
    cellCount *= static_cast<std::int64_t>(last) + 1;
    if (cellCount > maxCells) RaiseError(kErrData, "Unexpected end of data.");
  }
  table.cells.resize(static_cast<std::size_t>(cellCount));
  for (std::int32_t x = 0; x <= table.lastX; ++x) {
    for (std::int32_t y = 0; y <= table.lastY; ++y) {
      for (std::int32_t z = 0; z <= table.lastZ; ++z) {
        BufferReadVariant(buffer, table.cells[CellIndex(table, x, y, z)], offset);
      }
    }
  }
  return table;
}

std::vector<ScriptTable3> ReadTables(const ByteList& buffer, std::int32_t& offset) {
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kMinTableSize);
  std::vector<ScriptTable3> tables;
  tables.reserve(static_cast<std::size_t>(last + 1));
  for (std::int32_t i = 0; i <= last; ++i) tables.push_back(ReadTable(buffer, offset));
  return tables;
}

void WriteTable(ByteList& buffer, std::int32_t& offset, const ScriptTable3& table) {
  BufferWriteString(buffer, SymbolName(table.symbol), offset);
  BufferWriteLong(buffer, table.lastX, offset);
  BufferWriteLong(buffer, table.lastY, offset);
  BufferWriteLong(buffer, table.lastZ, offset);
  if (!StoresCells(table)) return;
  // A table whose cells fall short of its bounds (never made by the engine)
  // is written as if the missing cells were empty, so the stream stays whole.
  const Variant empty;
  for (std::int32_t x = 0; x <= table.lastX; ++x) {
    for (std::int32_t y = 0; y <= table.lastY; ++y) {
      for (std::int32_t z = 0; z <= table.lastZ; ++z) {
        const std::size_t index = CellIndex(table, x, y, z);
        BufferWriteVariant(buffer, index < table.cells.size() ? table.cells[index] : empty, offset);
      }
    }
  }
}

}  // namespace

void ReadScriptGlobalLists(const ByteList& buffer, std::int32_t& offset, std::int32_t version) {
  ScriptGlobals read;
  ReadPropertyList(buffer, offset, read.variables);
  read.switches = ReadSwitches(buffer, offset);
  read.collections = ReadCollections(buffer, offset);
  if (version >= kFirstStoredTables) read.tables = ReadTables(buffer, offset);
  scriptGlobals.variables = std::move(read.variables);
  scriptGlobals.switches = std::move(read.switches);
  scriptGlobals.collections = std::move(read.collections);
  scriptGlobals.tables = std::move(read.tables);
}

void WriteScriptGlobalLists(ByteList& buffer, std::int32_t& offset) {
  WritePropertyList(buffer, offset, scriptGlobals.variables);

  BufferWriteLastIndex(buffer, scriptGlobals.switches.size(), offset);
  for (const GlobalSwitch& entry : scriptGlobals.switches) {
    BufferWriteString(buffer, SymbolName(entry.symbol), offset);
    BufferWriteInt16(buffer, entry.state, offset);
  }

  BufferWriteLastIndex(buffer, scriptGlobals.collections.size(), offset);
  for (const ScriptCollection& collection : scriptGlobals.collections) {
    BufferWriteString(buffer, SymbolName(collection.symbol), offset);
    BufferWriteLastIndex(buffer, collection.elements.size(), offset);
    for (const Variant& element : collection.elements) BufferWriteVariant(buffer, element, offset);
  }

  BufferWriteLastIndex(buffer, scriptGlobals.tables.size(), offset);
  for (const ScriptTable3& table : scriptGlobals.tables) WriteTable(buffer, offset, table);
}

}  // namespace kiv
