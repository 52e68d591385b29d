#pragma once
// What the script benchmarks share: a fresh script engine with the internal
// commands installed, and scripts compiled from text and run in a frame of
// their own, as a trigger would run them.
#include <cstdint>
#include <string>

#include "commands/internal_executor.h"
#include "core/symbol_table.h"
#include "core/variant.h"
#include "data/data_hooks.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "data/script_link.h"
#include "script/call_frame.h"
#include "script/script_compiler.h"
#include "script/script_engine_setup.h"
#include "script/script_globals.h"
#include "script/script_hooks.h"
#include "script/script_interpreter.h"
#include "state/project_settings_block.h"

namespace kiv::bench {

// Empty game data, project and settings; the symbols, script table, engine,
// hooks and globals reset; the internal commands installed.
inline void ResetScriptBench() {
  SymbolTableReset();
  RegisterScriptIdentifiers();
  scriptTable.Reset();
  gameData.Reset();
  projectState.Reset();
  ResetScriptEngine();
  scriptHooks.Reset();
  dataHooks.Reset();
  storedProjectSettings.Reset();
  scriptGlobals.Reset();
  InstallInternalCommands();
}

// Compiles, links and registers the script; its index in the table.
inline std::int32_t CompileBenchScript(const std::u16string& text) {
  Script script;
  script.text = text;
  CompileScript(script);
  LinkScript(script, true);
  return RegisterScript(script);
}

// Runs the script in a frame of its own owned by the map (-1: none).
inline Variant RunBenchScript(std::int32_t index, std::int32_t ownerMap = -1) {
  CallFrame frame;
  frame.ownerMap = ownerMap;
  PushCallFrame(frame, scriptTable.scripts[static_cast<std::size_t>(index)]);
  const Variant result = ScriptExecute(index, 0, true);
  PopCallFrame();
  return result;
}

}  // namespace kiv::bench
