// Char("Guard 250") resolved 100,000 times over 20 maps of 500 characters,
// found in map 0 only (so every other map is searched first), with the
// project's loose name matching off and on. The baseline is a hand-written
// loop over the same stored names that compares each with the prefixed name
// built once per resolution, lengths first; it includes no keyword tests, no
// frame read and no map preparation.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "data/data_hooks.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/script_record.h"
#include "script/call_frame.h"
#include "script/script_actor_resolvers.h"
#include "script/script_engine_setup.h"
#include "script/script_hooks.h"
#include "state/project_settings_block.h"

namespace {

using namespace kiv;

constexpr int kMaps = 20;
constexpr int kCharacters = 500;
constexpr int kResolutions = 100000;
constexpr std::int32_t kExpected = 250;

// Map m holds "Character Guard <m x 500 + i>": "Guard 250" is in map 0 only.
// The world is built once, so that all three runs read the same memory.
void BuildWorld() {
  SymbolTableReset();
  RegisterScriptIdentifiers();
  scriptTable.Reset();
  gameData.Reset();
  ResetScriptEngine();
  scriptHooks.Reset();
  dataHooks.Reset();
  storedProjectSettings.Reset();
  for (int m = 0; m < kMaps; ++m) {
    const std::int32_t map = gameData.maps.Append();
    gameData.maps[map].fileName = u"Map" + Utf8ToUtf16(std::to_string(m));
    for (int i = 0; i < kCharacters; ++i) {
      Actor actor;
      actor.name = u"Character Guard " + Utf8ToUtf16(std::to_string(m * kCharacters + i));
      gameData.maps[map].actors.push_back(std::move(actor));
    }
  }
  dataHooks.GenerateMapData = [](std::int32_t, bool) {};
  PushCallFrame(CallFrame(), Script());
}

void SetUpWorld(bool loose) {
  static const bool built = (BuildWorld(), true);
  (void)built;
  storedProjectSettings.flags[22] = loose ? -1 : 0;  // option flag 23
}

void ResolveChar(benchmark::State& state, bool loose) {
  SetUpWorld(loose);
  for (auto _ : state) {
    const ScriptValue found = ScriptResolveCharacter(u"Guard 250", -1, true, false);
    if (found.value.AsLong() != kExpected || found.mapIndex != 0) state.SkipWithError("wrong character");
    benchmark::DoNotOptimize(found);
  }
}

void BM_CharExact(benchmark::State& state) { ResolveChar(state, false); }
void BM_CharLoose(benchmark::State& state) { ResolveChar(state, true); }

void BM_HandLoopExact(benchmark::State& state) {
  SetUpWorld(false);
  const std::u16string argument = u"Guard 250";
  for (auto _ : state) {
    const std::u16string searched = u"Character " + argument;
    std::int32_t foundMap = -1;
    std::int32_t foundIndex = -1;
    for (std::int32_t map = gameData.maps.LastIndex(); map >= -1 && foundIndex < 0; --map) {
      const std::vector<Actor>& actors = gameData.maps[map].actors;
      for (std::int32_t i = static_cast<std::int32_t>(actors.size()) - 1; i >= 0; --i) {
        // Views compare lengths first (std::u16string's == compares the characters first).
        if (std::u16string_view(actors[static_cast<std::size_t>(i)].name) == std::u16string_view(searched)) {
          foundMap = map;
          foundIndex = i;
          break;
        }
      }
    }
    if (foundIndex != kExpected || foundMap != 0) state.SkipWithError("wrong character");
    benchmark::DoNotOptimize(foundIndex);
  }
}

BENCHMARK(BM_HandLoopExact)->Iterations(kResolutions)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CharExact)->Iterations(kResolutions)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CharLoose)->Iterations(kResolutions)->Unit(benchmark::kMicrosecond);

}  // namespace
