#pragma once
// A clean script engine for one test: fixed identifiers, empty tables, default
// hooks with a fake clock, and the error log in a temporary user folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/folders.h"
#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "data/data_hooks.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "data/script_link.h"
#include "media/controls_table.h"
#include "media/player_input_state.h"
#include "script/call_frame.h"
#include "script/script_compiler.h"
#include "script/script_engine_setup.h"
#include "script/script_hooks.h"
#include "script/script_interpreter.h"
#include "script/script_stack_access.h"
#include "state/project_settings_block.h"
#include "support/temp_dir.h"

namespace kiv::test {

// One command that reached an executor.
struct RecordedCall {
  std::string name;
  std::int32_t objectKind = 0;
  std::vector<Variant> arguments;
  std::int16_t mode = 0;
  Variant value;
};

class ScriptEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_DATA_HOME", dir_.Path().c_str(), 1);
    gameFolder = dir_.Path() + "/Game";
    SymbolTableReset();
    RegisterScriptIdentifiers();
    scriptTable.Reset();
    gameData.Reset();
    projectState.Reset();
    storedProjectSettings.Reset();
    controls.clear();
    playerInputStates = {};
    ResetScriptEngine();
    scriptHooks.Reset();
    dataHooks.Reset();
    InstallScriptDataHooks();
    scriptHooks.TickCount = [this] { return now_; };
    const ScriptExecutor recorder = [this](std::int32_t code, ScriptValue& object, std::int32_t upper,
                                           ScriptValue& result, std::int16_t mode, const Variant& value,
                                           bool) {
      RecordedCall call;
      call.name = Utf16ToUtf8(SymbolName(code));
      call.objectKind = object.kind;
      for (std::int32_t i = 0; i <= upper; ++i) call.arguments.push_back(ScriptGetArgument(i));
      call.mode = mode;
      call.value = value;
      calls_.push_back(call);
      const auto handler = handlers_.find(call.name);
      if (handler != handlers_.end()) handler->second(call, result);
    };
    scriptHooks.internalExecutor = recorder;
    scriptHooks.actorExecutor = recorder;
    scriptHooks.fieldExecutor = recorder;
    scriptHooks.objectExecutor = recorder;
  }

  void TearDown() override { unsetenv("XDG_DATA_HOME"); }

  // Option flag 23 of the project settings.
  static void SetLooseNameMatching(bool on) { storedProjectSettings.flags[22] = on ? -1 : 0; }

  // Compiles, links and registers a script; returns its index.
  std::int32_t Load(const std::u16string& text) {
    Script script;
    script.text = text;
    CompileScript(script);
    LinkScript(script, true);
    return RegisterScript(script);
  }

  // Runs a registered script in a new frame and returns its result; the frame's
  // variables stay readable in frame 0 (or the depth it ran at).
  Variant Run(std::int32_t index, CallFrame frame = CallFrame(), bool nested = true) {
    PushCallFrame(frame, scriptTable.scripts.at(static_cast<std::size_t>(index)));
    const Variant result = ScriptExecute(index, 0, nested);
    PopCallFrame();
    return result;
  }

  Variant RunText(const std::u16string& text) { return Run(Load(text)); }

  // The value of a local of the last run at depth 0.
  Variant Local(const std::u16string& name) const {
    for (const ScriptVariable& variable : scriptEngine.callStack[0].locals) {
      if (SymbolName(variable.symbol) == name) return variable.value;
    }
    ADD_FAILURE() << "no local " << Utf16ToUtf8(name);
    return Variant();
  }

  std::string ErrorLog() const {
    const std::string path = dir_.Path() + "/Kiv/Games/Game/ERROR.LOG";
    if (!FileExists(path)) return std::string();
    const ByteList bytes = ReadTestFile(path);
    return std::string(bytes.begin(), bytes.end());
  }

  TempDir dir_;
  std::uint32_t now_ = 1000;
  std::vector<RecordedCall> calls_;
  std::map<std::string, std::function<void(const RecordedCall&, ScriptValue&)>> handlers_;
};

}  // namespace kiv::test
