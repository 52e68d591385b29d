#pragma once
// The internal-command executor on the real script engine: scripts compiled
// from text run on map 0 with trigger dispatch, waits and ticks; the actor,
// field and object executors record the calls handed on to them.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "commands/internal_executor.h"
#include "core/text_encoding.h"
#include "player/shell_state.h"
#include "script/script_dispatch.h"
#include "script/script_globals.h"
#include "script/trigger_engine_fixture.h"

namespace kiv::test {

class InternalCommandsTest : public TriggerEngineTest {
 protected:
  void SetUp() override {
    TriggerEngineTest::SetUp();
    InstallInternalCommands();
    // Mark(...) records its arguments for the tests; every other name goes to the executor.
    scriptHooks.internalExecutor = [this](std::int32_t code, ScriptValue& object, std::int32_t upper,
                                          ScriptValue& result, std::int16_t mode, const Variant& value,
                                          bool lastToken) {
      if (SymbolName(code) == u"Mark") {
        RecordedCall call;
        call.name = "Mark";
        for (std::int32_t i = 0; i <= upper; ++i) call.arguments.push_back(ScriptGetArgument(i));
        calls_.push_back(call);
        return;
      }
      ScriptRunInternal(code, object, upper, result, mode, value, lastToken);
    };
    shell.quitRequest = false;
    shell.currentPlayer = 0;
    scriptGlobals.Reset();
  }

  void TearDown() override {
    while (scriptEngine.callTop >= 0) PopCallFrame();
    scriptGlobals.Reset();
    TriggerEngineTest::TearDown();
  }

  // Runs the text as a script of map 0 and returns its result.
  Variant RunScript(const std::u16string& text) {
    CallFrame frame;
    frame.ownerMap = 0;
    return Run(Load(text), frame);
  }

  // The message of the last error the log holds, "" when none.
  std::string LastError() const {
    const std::string log = ErrorLog();
    const std::size_t at = log.rfind("Error: ");
    if (at == std::string::npos) return "";
    return log.substr(at + 7, log.find("\r\n", at) - at - 7);
  }

  // The message of the error the script raises ("" when it runs through).
  std::string ErrorOfScript(const std::u16string& text) {
    const std::size_t before = ErrorLog().size();
    RunScript(text);
    return ErrorLog().size() == before ? std::string() : LastError();
  }

  // Calls an identifier directly from the top frame with plain arguments.
  ScriptValue Call(const std::u16string& name, const std::vector<Variant>& arguments, std::int16_t mode = kModeRead,
                   const Variant& value = Variant(), std::int32_t argumentUpper = -2) {
    CallFrame& frame = TopFrame();
    frame.valueStack.clear();
    for (const Variant& argument : arguments) frame.valueStack.push_back(ScriptValue{kValuePlain, argument, 0});
    frame.valueStack.emplace_back();
    frame.stackBase = 0;
    frame.valueStackTop = static_cast<std::int32_t>(arguments.size()) - 1;
    ScriptValue object;
    ScriptValue result;
    const std::int32_t upper =
        argumentUpper == -2 ? static_cast<std::int32_t>(arguments.size()) - 1 : argumentUpper;
    ScriptCallCommand(SymbolIntern(name), object, upper, result, mode, value, true);
    return result;
  }

  // "<number> <message>" of what the action raises, "no error" otherwise.
  static std::string Raised(const std::function<void()>& action) {
    try {
      action();
    } catch (const KivError& error) {
      return std::to_string(error.Number()) + " " + error.what();
    }
    return "no error";
  }

  std::int32_t Collection(const std::u16string& name, std::vector<Variant> elements = {}) {
    scriptGlobals.collections.push_back({SymbolIntern(name), std::move(elements)});
    return static_cast<std::int32_t>(scriptGlobals.collections.size()) - 1;
  }

  std::int32_t Table(const std::u16string& name, std::int32_t w, std::int32_t h, std::int32_t d) {
    ScriptTable3 table;
    table.symbol = SymbolIntern(name);
    table.Resize(w - 1, h - 1, d - 1);
    for (Variant& cell : table.cells) cell = Variant::Long(0);
    scriptGlobals.tables.push_back(std::move(table));
    return static_cast<std::int32_t>(scriptGlobals.tables.size()) - 1;
  }
};

inline std::vector<Variant> Longs(std::initializer_list<std::int32_t> values) {
  std::vector<Variant> out;
  for (std::int32_t v : values) out.push_back(Variant::Long(v));
  return out;
}

}  // namespace kiv::test
