#pragma once
// The actor property executor on the real script engine: map 0 ("Town")
// holds named actors; properties are called on references as the dispatcher
// hands them on, or from scripts. Field references go to a recording field
// executor.
#include <string>
#include <vector>

#include "commands/actor_executor.h"
#include "internal_commands_fixture.h"
#include "script/script_stack_access.h"

namespace kiv::test {

struct FieldCallRecord {
  std::int32_t code = 0;
  ScriptValue object;
  std::int32_t argumentUpper = -1;
  std::int16_t mode = 0;
  Variant value;
};

class ActorPropertiesTest : public InternalCommandsTest {
 protected:
  void SetUp() override {
    InternalCommandsTest::SetUp();
    InstallActorProperties();
    scriptHooks.fieldExecutor = [this](std::int32_t code, ScriptValue& object, std::int32_t upper, ScriptValue& result,
                                       std::int16_t mode, const Variant& value, bool) {
      fieldCalls_.push_back({code, object, upper, mode, value});
      if (mode == kModeRead) result.value = Variant::Text(u"field answer");
    };
    gameData.maps[0].fileName = u"Town";
  }

  // Adds an actor of the stored name at (x, y, z) to the map.
  std::int32_t AddNamed(const std::u16string& name, float x = 0, float y = 0, float z = 0, std::int32_t map = 0) {
    Actor actor;
    actor.name = name;
    actor.x = x;
    actor.y = y;
    actor.z = z;
    gameData.maps[map].actors.push_back(std::move(actor));
    return static_cast<std::int32_t>(gameData.maps[map].actors.size()) - 1;
  }

  Actor& At(std::int32_t index, std::int32_t map = 0) {
    return gameData.maps[map].actors[static_cast<std::size_t>(index)];
  }

  // Calls the identifier on a reference of the kind, with plain arguments.
  ScriptValue On(std::int32_t kind, std::int32_t index, const std::u16string& name,
                 const std::vector<Variant>& arguments = {}, std::int16_t mode = kModeRead,
                 const Variant& value = Variant(), std::int32_t map = 0) {
    // The call runs in a frame of its own, gone again afterwards, also after an error.
    struct FrameGuard {
      FrameGuard() { PushCallFrame(CallFrame(), kiv::Script()); }
      ~FrameGuard() { PopCallFrame(); }
    } guard;
    CallFrame& frame = TopFrame();
    frame.ownerMap = 0;
    frame.valueStack.clear();
    for (const Variant& argument : arguments) frame.valueStack.push_back(ScriptValue{kValuePlain, argument, 0});
    frame.valueStack.emplace_back();
    frame.stackBase = 0;
    frame.valueStackTop = static_cast<std::int32_t>(arguments.size()) - 1;
    ScriptValue object{kind, Variant::Long(index), map};
    ScriptValue result;
    ScriptCallCommand(SymbolIntern(name), object, static_cast<std::int32_t>(arguments.size()) - 1, result, mode,
                      value, true);
    return result;
  }

  Variant Read(std::int32_t kind, std::int32_t index, const std::u16string& name,
               const std::vector<Variant>& arguments = {}) {
    return On(kind, index, name, arguments).value;
  }

  void Assign(std::int32_t kind, std::int32_t index, const std::u16string& name, const Variant& value,
              const std::vector<Variant>& arguments = {}) {
    On(kind, index, name, arguments, kModeAssign, value);
  }

  static Variant Text(const std::u16string& text) { return Variant::Text(text); }

  std::vector<FieldCallRecord> fieldCalls_;
};

}  // namespace kiv::test
