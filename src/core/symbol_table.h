#pragma once
// The script vocabulary: every command, property, event and variable name is a
// number, the index of its text in this table. The script engine registers its
// fixed names first (the empty name as 0); names met later are appended.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kiv {

class SymbolTable {
 public:
  // The number of the name, compared exactly (letter case matters); a name not
  // yet known is appended and gets the next number.
  std::int32_t Intern(std::u16string_view name);
  // The text of a symbol number; error 9 for a number outside the table.
  const std::u16string& Name(std::int32_t number) const;
  std::int32_t Count() const { return static_cast<std::int32_t>(names_.size()); }
  void Reset();

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::u16string_view text) const { return std::hash<std::u16string_view>{}(text); }
  };

  std::vector<std::u16string> names_;
  // Index into names_ by text, so that interning stays fast with thousands of names.
  std::unordered_map<std::u16string, std::int32_t, Hash, std::equal_to<>> numbers_;
};

extern SymbolTable symbolTable;

std::int32_t SymbolIntern(std::u16string_view name);
const std::u16string& SymbolName(std::int32_t number);
std::int32_t SymbolCount();
void SymbolTableReset();

}  // namespace kiv
