#pragma once
// One kind of the object executor on the real script engine: calls with plain
// arguments from the top frame through the executor, whose kind table must
// pick the kind's entry.
#include "commands/object_executor.h"
#include "commands/object_kind_commands.h"
#include "internal_commands_fixture.h"

namespace kiv::test {

using ObjectKindEntry = void (*)(InternalCall& call);

class ObjectKindTest : public InternalCommandsTest {
 protected:
  // A running script of map 0 that the calls come from.
  void SetUp() override {
    InternalCommandsTest::SetUp();
    CallFrame frame;
    frame.ownerMap = 0;
    PushCallFrame(frame, kiv::Script());
  }

  // Runs the entry for `name` on the reference (kind, id, map) and returns the result.
  ScriptValue CallKind(ObjectKindEntry entry, std::int32_t kind, const Variant& id, const std::u16string& name,
                       const std::vector<Variant>& arguments = {}, std::int16_t mode = kModeRead,
                       const Variant& value = Variant(), std::int32_t map = -1) {
    CallFrame& frame = TopFrame();
    frame.valueStack.clear();
    for (const Variant& argument : arguments) frame.valueStack.push_back(ScriptValue{kValuePlain, argument, 0});
    frame.valueStack.emplace_back();
    frame.stackBase = 0;
    frame.valueStackTop = static_cast<std::int32_t>(arguments.size()) - 1;
    // The executor's kind table sends the reference to this entry.
    EXPECT_EQ(ObjectKindEntryFor(kind), entry) << "kind " << kind;
    ScriptValue object{kind, id, map};
    ScriptValue result;
    ScriptObjectProperty(SymbolIntern(name), object, static_cast<std::int32_t>(arguments.size()) - 1, result, mode,
                         value, true);
    return result;
  }

  ScriptValue Assign(ObjectKindEntry entry, std::int32_t kind, std::int32_t id, const std::u16string& name,
                     const Variant& value, const std::vector<Variant>& arguments = {}, std::int32_t map = -1) {
    return CallKind(entry, kind, Variant::Long(id), name, arguments, kModeAssign, value, map);
  }

  Variant Read(ObjectKindEntry entry, std::int32_t kind, std::int32_t id, const std::u16string& name,
               const std::vector<Variant>& arguments = {}, std::int32_t map = -1) {
    return CallKind(entry, kind, Variant::Long(id), name, arguments, kModeRead, Variant(), map).value;
  }
};

inline std::vector<Variant> Texts(std::initializer_list<const char16_t*> values) {
  std::vector<Variant> out;
  for (const char16_t* v : values) out.push_back(Variant::Text(v));
  return out;
}

}  // namespace kiv::test
