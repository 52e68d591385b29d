#pragma once
// A world for the map-systems tests: map 0 with a path grid, scripts compiled
// from text, a fake tick, and Mark(n) calls recorded with the frame that made
// them (its this-actor, related actor and map).
#include <memory>
#include <string>
#include <vector>

#include "player/shell_state.h"
#include "script/trigger_engine_fixture.h"
#include "support/world_builder.h"
#include "world/map_systems.h"

namespace kiv::test {

struct MarkRecord {
  std::int32_t mark = 0;
  std::int32_t thisActor = -1;
  std::int32_t relateActor = -1;
  std::int32_t map = -1;
  bool operator==(const MarkRecord&) const = default;
};

class MapSystemsTest : public TriggerEngineTest {
 protected:
  void SetUp() override {
    TriggerEngineTest::SetUp();
    world_ = std::make_unique<WorldBuilder>(15, 15, 1);
    shell.Reset();
    mapSystems.Reset();
    handlers_["Mark"] = [this](const RecordedCall& call, ScriptValue&) {
      const CallFrame& frame = TopFrame();
      marks_.push_back(MarkRecord{call.arguments.at(0).AsLong(), frame.thisActor, frame.relateActor, frame.ownerMap});
    };
  }
  void TearDown() override {
    shell.Reset();
    mapSystems.Reset();
    TriggerEngineTest::TearDown();
  }

  Map& M(std::int32_t map = 0) { return gameData.maps[map]; }
  std::vector<std::int32_t> MarkNumbers() const {
    std::vector<std::int32_t> numbers;
    for (const MarkRecord& r : marks_) numbers.push_back(r.mark);
    return numbers;
  }
  // One world-update pass of the map with a tick of `ms`.
  void Pass(std::int32_t ms, std::int32_t map = 0, bool fieldsOnly = false) {
    shell.frameElapsed = ms;
    UpdateMapSystems(map, -1, -1, fieldsOnly);
  }
  // A trigger of the event whose script is compiled from text.
  static Trigger MakeTrigger(std::int32_t event, const std::u16string& text) {
    Trigger trigger;
    trigger.event = event;
    trigger.script = MakeScript(text);
    return trigger;
  }

  std::unique_ptr<WorldBuilder> world_;
  std::vector<MarkRecord> marks_;
};

}  // namespace kiv::test
