// A script counting to 1,000,000 with SET, IF and GOTO, and the same loop in Lua 5.4.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/symbol_table.h"
#include "data/fixed_identifiers.h"
#include "data/script_link.h"
#include "script/call_frame.h"
#include "script/script_compiler.h"
#include "script/script_engine_setup.h"
#include "script/script_interpreter.h"

namespace {

constexpr const char16_t* kScriptLoop =
    u"LOCAL n\r\n:top\r\nSET n = n + 1\r\nIF n < 1000000\r\nGOTO top\r\nENDIF";

constexpr const char* kLuaLoop =
    "local t = os.clock() "
    "local n = 0 "
    "::top:: "
    "n = n + 1 "
    "if n < 1000000 then goto top end "
    "io.write(string.format('%.9f', os.clock() - t))";

void BM_ScriptCountingLoop(benchmark::State& state) {
  kiv::SymbolTableReset();
  kiv::RegisterScriptIdentifiers();
  kiv::scriptTable.Reset();
  kiv::ResetScriptEngine();
  kiv::Script script;
  script.text = kScriptLoop;
  kiv::CompileScript(script);
  kiv::LinkScript(script, true);
  const std::int32_t index = kiv::RegisterScript(script);
  for (auto _ : state) {
    kiv::PushCallFrame(kiv::CallFrame(), kiv::scriptTable.scripts[static_cast<std::size_t>(index)]);
    benchmark::DoNotOptimize(kiv::ScriptExecute(index, 0, true));
    if (kiv::scriptEngine.callStack[0].locals[0].value.AsLong() != 1000000)
      state.SkipWithError("wrong count");
    kiv::PopCallFrame();
  }
}
BENCHMARK(BM_ScriptCountingLoop)->Unit(benchmark::kMillisecond);

// Lua reports the time of its loop alone, without starting the program.
void BM_LuaCountingLoop(benchmark::State& state) {
  const std::string command = std::string("lua5.4 -e \"") + kLuaLoop + "\"";
  for (auto _ : state) {
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
      state.SkipWithError("lua5.4 is not installed");
      return;
    }
    char buffer[64] = {};
    const std::size_t read = std::fread(buffer, 1, sizeof buffer - 1, pipe);
    if (pclose(pipe) != 0 || read == 0) {
      state.SkipWithError("lua5.4 failed");
      return;
    }
    state.SetIterationTime(std::strtod(buffer, nullptr));
  }
}
BENCHMARK(BM_LuaCountingLoop)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
