// Item counts and item lists of a player's character whose party holds 1,000
// inventory entries (item k in entry k; the item asked about is the last).
//
// BM_ScriptReadsItemCount: a script loop of 100,000 reads of ItemCount; the
// figure includes the interpreter's loop (a counter, a comparison, a jump),
// the actor constructor by name and the item look-up by name.
// BM_DirectCountCharacterItem: 100,000 direct calls of the operation the
// property runs: the scan of the inventory alone.
// BM_ScriptReadsItemsForEquipment: a script loop of 10,000 reads of
// ItemsForEquipment (500 of the 1,000 items fit the area); the baseline
// BM_LoopCollectsTheSameNames is a C++ loop collecting the same names into a
// vector of strings 10,000 times, without script values.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "commands/actor_executor.h"
#include "data/item_fields.h"
#include "script_bench.h"
#include "world/party_operations.h"

namespace {

using namespace kiv;
using bench::CompileBenchScript;
using bench::RunBenchScript;

constexpr int kEntries = 1000;
constexpr int kCountReads = 100000;
constexpr int kListReads = 10000;

// The loop counter the last run left in frame 0.
std::int32_t LoopsRun() {
  for (const ScriptVariable& local : scriptEngine.callStack[0].locals) {
    if (SymbolName(local.symbol) == u"i") return local.value.AsLong();
  }
  return -1;
}

struct World {
  std::int32_t countLoop = -1;
  std::int32_t listLoop = -1;
};

World& SetUpWorld() {
  static World world = [] {
    bench::ResetScriptBench();
    InstallActorProperties();
    gameData.maps.Append();
    gameData.maps[0].fileName = u"Town";
    gameData.statistics.resize(1);
    projectState.equipmentAreas.resize(1);
    projectState.equipmentAreas[0].name = u"Hand";
    projectState.players.resize(1);
    Player& player = projectState.players[0];
    player.mapIndex = 0;
    for (int k = 0; k < kEntries; ++k) {
      Item item;
      const std::string digits = std::to_string(k);
      item.name = u"Item" + std::u16string(digits.begin(), digits.end());
      item.equipmentArea.index = k % 2 == 0 ? 0 : -1;
      gameData.items.push_back(item);
      InventoryEntry entry;
      entry.item = k;
      entry.quantity = 1;
      player.items.push_back(entry);
    }
    Actor hero;
    hero.name = u"Hero";
    hero.owningPlayer = 0;
    hero.partyMember = 0;
    hero.equipment.resize(1);
    gameData.maps[0].actors.push_back(hero);
    PartyMember member;
    member.character = 0;
    player.party.push_back(member);
    const std::u16string last = gameData.items.back().name;
    World built;
    built.countLoop = CompileBenchScript(
        u"LOCAL i\r\nLOCAL n\r\nSET i = 0\r\n:top\r\nSET i = i + 1\r\nSET n = Actor(\"Hero\").ItemCount(\"" +
        last + u"\")\r\nIF i < 100000\r\nGOTO top\r\nENDIF");
    built.listLoop = CompileBenchScript(
        u"LOCAL i\r\nLOCAL n\r\nSET i = 0\r\n:top\r\nSET i = i + 1\r\nSET n = "
        u"Actor(\"Hero\").ItemsForEquipment(\"Hand\")\r\n"
        u"IF i < 10000\r\nGOTO top\r\nENDIF");
    return built;
  }();
  return world;
}

void BM_ScriptReadsItemCount(benchmark::State& state) {
  World& world = SetUpWorld();
  for (auto _ : state) benchmark::DoNotOptimize(RunBenchScript(world.countLoop, 0));
  if (LoopsRun() != kCountReads) state.SkipWithError("the script stopped early");
}

void BM_DirectCountCharacterItem(benchmark::State& state) {
  SetUpWorld();
  for (auto _ : state) {
    std::int64_t total = 0;
    for (int k = 0; k < kCountReads; ++k) total += CountCharacterItem(0, 0, kEntries - 1);
    benchmark::DoNotOptimize(total);
  }
}

void BM_ScriptReadsItemsForEquipment(benchmark::State& state) {
  World& world = SetUpWorld();
  for (auto _ : state) benchmark::DoNotOptimize(RunBenchScript(world.listLoop, 0));
  if (LoopsRun() != kListReads) state.SkipWithError("the script stopped early");
}

void BM_LoopCollectsTheSameNames(benchmark::State& state) {
  SetUpWorld();
  for (auto _ : state) {
    for (int k = 0; k < kListReads; ++k) {
      std::vector<std::u16string> names;
      for (const InventoryEntry& entry : projectState.players[0].items) {
        const Item& item = gameData.items[static_cast<std::size_t>(entry.item)];
        if (ItemHoldingArea(item) == 0) names.push_back(item.name);
      }
      benchmark::DoNotOptimize(names.data());
    }
  }
}

BENCHMARK(BM_ScriptReadsItemCount)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DirectCountCharacterItem)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScriptReadsItemsForEquipment)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoopCollectsTheSameNames)->Unit(benchmark::kMillisecond);

}  // namespace
