#pragma once
// Every hook through which a lower library reaches a higher one, by name, with
// whether it still holds the default its struct's Reset() gives it.
#include <string>
#include <vector>

namespace kiv {

struct HookState {
  std::string name;  // "<struct>.<member>", e.g. "dataHooks.CompileScript"
  bool atDefault = true;
};

// The hooks in declaration order. A member added to a hook struct without a
// line here fails to compile (the structs' sizes are checked).
std::vector<HookState> ListHooks();

}  // namespace kiv
