#include "core/symbol_table.h"

#include "core/error.h"

namespace kiv {

SymbolTable symbolTable;

std::int32_t SymbolTable::Intern(std::u16string_view name) {
  if (auto found = numbers_.find(name); found != numbers_.end()) return found->second;
  const std::int32_t number = Count();
  names_.emplace_back(name);
  numbers_.emplace(names_.back(), number);
  return number;
}

const std::u16string& SymbolTable::Name(std::int32_t number) const {
  if (number < 0 || number >= Count()) RaiseError(kErrIndex, "Subscript out of range");
  return names_[static_cast<std::size_t>(number)];
}

void SymbolTable::Reset() {
  names_.clear();
  numbers_.clear();
}

std::int32_t SymbolIntern(std::u16string_view name) { return symbolTable.Intern(name); }
const std::u16string& SymbolName(std::int32_t number) { return symbolTable.Name(number); }
std::int32_t SymbolCount() { return symbolTable.Count(); }
void SymbolTableReset() { symbolTable.Reset(); }

}  // namespace kiv
