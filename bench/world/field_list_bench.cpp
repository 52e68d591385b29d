// An interface of 1,000 fields with 500 waiting scripts and 500 timed changes
// on it, whose list field (with two child fields) respawns 100 items per run:
// the old items are retired into spares and 100 new copies are inserted right
// behind the list field, each shifting every stored field reference. Reports
// the time per respawn and the field count after the run (spares are never
// reused, so the list grows by 300 fields per respawn).
// Ten respawns take the list from 1,000 to 4,000 fields.
#include <benchmark/benchmark.h>

#include <string>

#include "data/game_data.h"
#include "script/timed_changes.h"
#include "script/waits.h"
#include "world/field_lists.h"

namespace {

constexpr std::int32_t kFields = 1000;
constexpr std::int32_t kListField = 10;
constexpr int kItems = 100;
constexpr int kRespawns = 10;

std::int32_t BuildInterface() {
  kiv::gameData.Reset();
  kiv::waitingScripts.clear();
  kiv::timedChanges.clear();
  const std::int32_t ui = kiv::gameData.maps.Append();
  kiv::Map& map = kiv::gameData.maps[ui];
  map.isInterface = true;
  map.fields.resize(kFields);
  for (std::int32_t k = 0; k < kFields; ++k) {
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
    wait.fieldText = (k * 7) % kFields;
    kiv::CallFrame frame;
    frame.ownerMap = ui;
    frame.ownerKind = kiv::kOwnerField;
    frame.ownerIndex = (k * 13) % kFields;
    frame.thisField = frame.ownerIndex;
    wait.frames.push_back(frame);
    kiv::waitingScripts.push_back(wait);
    kiv::TimedChange change;
    change.target = kiv::ScriptValue{kiv::kObjectField, kiv::Variant::Long((k * 11) % kFields), ui};
    change.arguments.push_back(kiv::ScriptValue{kiv::kObjectField, kiv::Variant::Long(k % kFields), ui});
    kiv::timedChanges.push_back(change);
  }
  return ui;
}

void BM_ListFieldRespawn(benchmark::State& state) {
  const std::int32_t ui = BuildInterface();
  std::int32_t list = kListField;
  for (auto _ : state) {
    kiv::UnspawnChildFields(ui, list);
    for (int item = 0; item < kItems; ++item)
      list = kiv::InsertField(ui, ui, list, true, u"item", 0, item * 20);
  }
  state.counters["fields_after"] = static_cast<double>(kiv::gameData.maps[ui].fields.size());
  state.counters["items_per_respawn"] = kItems;
}
BENCHMARK(BM_ListFieldRespawn)->Iterations(kRespawns)->Unit(benchmark::kMillisecond);

}  // namespace
