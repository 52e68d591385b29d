// An interface of 1,000 or 8,000 fields with 500 waiting scripts and 500
// timed changes on it, whose list field (with two child fields) respawns 100
// items: the old items are retired into spares and 100 new copies of the
// field and of each child are inserted. Each iteration builds a fresh
// interface and respawns the list once (not timed: the field storage grows
// there as in a game whose list has respawned before), then times one
// respawn: as the game spawns list items,
// every copy block inserted at once with one reference shift per block
// (SpawnListItems), and as the baseline, one field at a time with a reference
// shift per field (InsertField, 300 insertions).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "data/game_data.h"
#include "script/timed_changes.h"
#include "script/waits.h"
#include "world/field_lists.h"

namespace {

constexpr std::int32_t kListField = 10;
constexpr int kItems = 100;

std::int32_t BuildInterface(std::int32_t fields) {
  kiv::gameData.Reset();
  kiv::waitingScripts.clear();
  kiv::timedChanges.clear();
  const std::int32_t ui = kiv::gameData.maps.Append();
  kiv::Map& map = kiv::gameData.maps[ui];
  map.isInterface = true;
  map.fields.resize(static_cast<std::size_t>(fields));
  for (std::int32_t k = 0; k < fields; ++k) {
    kiv::Field& f = map.fields[static_cast<std::size_t>(k)];
    f.name = u"field" + std::u16string(1, static_cast<char16_t>(u'a' + k % 26));
    f.x = static_cast<float>(k % 40) * 16.0f;
    f.y = static_cast<float>(k / 40) * 16.0f;
  }
  map.fields[kListField + 1].parent = kListField;
  map.fields[kListField + 2].parent = kListField;
  for (int k = 0; k < 500; ++k) {
    kiv::WaitingScript wait;
    wait.map = ui;
    wait.fieldText = (k * 7) % fields;
    kiv::CallFrame frame;
    frame.ownerMap = ui;
    frame.ownerKind = kiv::kOwnerField;
    frame.ownerIndex = (k * 13) % fields;
    frame.thisField = frame.ownerIndex;
    wait.frames.push_back(frame);
    kiv::waitingScripts.push_back(wait);
    kiv::TimedChange change;
    change.target = kiv::ScriptValue{kiv::kObjectField, kiv::Variant::Long((k * 11) % fields), ui};
    change.arguments.push_back(kiv::ScriptValue{kiv::kObjectField, kiv::Variant::Long(k % fields), ui});
    kiv::timedChanges.push_back(change);
  }
  return ui;
}

// Arguments: the interface's fields; 1 block insertion, 0 one field at a time.
void BM_ListFieldRespawn(benchmark::State& state) {
  const auto fields = static_cast<std::int32_t>(state.range(0));
  const bool block = state.range(1) != 0;
  std::vector<kiv::ListItemPlace> items;
  for (int item = 0; item < kItems; ++item) items.push_back(kiv::ListItemPlace{u"item", 0, item * 20});
  for (auto _ : state) {
    state.PauseTiming();
    const std::int32_t ui = BuildInterface(fields);
    kiv::UnspawnChildFields(ui, kListField);
    std::int32_t list = kiv::SpawnListItems(ui, kListField, items);
    kiv::UnspawnChildFields(ui, list);
    state.ResumeTiming();
    if (block) {
      list = kiv::SpawnListItems(ui, list, items);
    } else {
      for (int item = kItems - 1; item >= 0; --item)
        list = kiv::InsertField(ui, ui, list, true, u"item", 0, item * 20);
    }
    benchmark::DoNotOptimize(list);
  }
  state.counters["fields"] = fields;
  state.counters["items_per_respawn"] = kItems;
}
BENCHMARK(BM_ListFieldRespawn)
    ->Args({1000, 1})
    ->Args({1000, 0})
    ->Args({8000, 1})
    ->Args({8000, 0})
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

}  // namespace
