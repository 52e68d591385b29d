#pragma once
// The object executor on the real script engine: identifiers called on map
// and interface references through the command dispatch, from a running
// script of map 0.
#include "commands/object_executor.h"
#include "core/symbol_table.h"
#include "internal_commands_fixture.h"

namespace kiv::test {

class ObjectFrameTest : public InternalCommandsTest {
 protected:
  void SetUp() override {
    InternalCommandsTest::SetUp();
    InstallObjectExecutor();
    CallFrame frame;
    frame.ownerMap = 0;
    PushCallFrame(frame, kiv::Script());
  }

  // An interface appended to the maps table; returns its index.
  static std::int32_t AddInterface(const std::u16string& name) {
    const std::int32_t index = gameData.maps.Append();
    gameData.maps[index].isInterface = true;
    gameData.maps[index].fileName = name;
    return index;
  }

  // Calls `name` on the reference with plain arguments through the dispatch.
  ScriptValue On(const ScriptValue& reference, const std::u16string& name, const std::vector<Variant>& arguments = {},
                 std::int16_t mode = kModeRead, const Variant& value = Variant(), ScriptValue result = {}) {
    CallFrame& frame = TopFrame();
    frame.valueStack.clear();
    for (const Variant& argument : arguments) frame.valueStack.push_back(ScriptValue{kValuePlain, argument, 0});
    frame.valueStack.emplace_back();
    frame.stackBase = 0;
    frame.valueStackTop = static_cast<std::int32_t>(arguments.size()) - 1;
    ScriptValue object = reference;
    ScriptCallCommand(SymbolIntern(name), object, static_cast<std::int32_t>(arguments.size()) - 1, result, mode,
                      value, true);
    return result;
  }

  ScriptValue Set(const ScriptValue& reference, const std::u16string& name, const Variant& value,
                  const std::vector<Variant>& arguments = {}) {
    return On(reference, name, arguments, kModeAssign, value);
  }

  static ScriptValue MapRef(std::int32_t map) { return ScriptValue{kObjectMap, Variant::Long(map), map}; }
};

}  // namespace kiv::test
