#pragma once
// Interfaces for the focus and pointer tests: map 0 is a shown interface that
// takes input; fields are added at a position with a 20 x 10 rectangle, and
// their events, watched through triggers whose scripts mark event * 100 +
// field, are read back in the order they ran.
#include <string>
#include <tuple>
#include <vector>

#include "core/number_text.h"
#include "data/field_state.h"
#include "data/project_state.h"
#include "media/player_input_state.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "render/frame_drawing.h"
#include "script/trigger_engine_fixture.h"

namespace kiv::test {

class InterfaceTest : public TriggerEngineTest {
 protected:
  void SetUp() override {
    TriggerEngineTest::SetUp();
    playerHooks.Reset();
    shell.Reset();
    pickPass = 0;
    playerHooks.UpdateMapSystems = [this](std::int32_t map) { systemsRuns.push_back(map); };
    dataHooks.SetInputSetEnabled = [this](std::int32_t player, std::int32_t set, bool enabled) {
      inputSets.emplace_back(player, set, enabled);
    };
    Map& m = gameData.maps[0];
    m.isInterface = true;
    m.overlayActive = 1;
    m.CursorSpeed() = 0.0f;
    projectState.currentPlayerInterface.index = 0;
  }
  void TearDown() override {
    playerHooks.Reset();
    shell.Reset();
    pickPass = 0;
    TriggerEngineTest::TearDown();
  }

  static std::int32_t AddInterface() {
    const std::int32_t map = gameData.maps.Append();
    gameData.maps[map].isInterface = true;
    gameData.maps[map].CursorSpeed() = 0.0f;
    return map;
  }

  // A text field (its pick rectangle is where its text was drawn).
  static std::int32_t AddField(std::int32_t map, float x, float y, std::uint8_t selectable = 1) {
    Field field;
    field.x = x;
    field.y = y;
    field.selectable = selectable;
    field.state = selectable != 0 ? kFieldSelectable : kFieldPlain;
    field.pixelWidth = 20;
    field.pixelHeight = 10;
    field.textRect = {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), static_cast<std::int32_t>(x) + 20,
                      static_cast<std::int32_t>(y) + 10};
    gameData.maps[map].fields.push_back(field);
    return static_cast<std::int32_t>(gameData.maps[map].fields.size()) - 1;
  }
  static Field& F(std::int32_t map, std::int32_t field) {
    return gameData.maps[map].fields[static_cast<std::size_t>(field)];
  }

  static Trigger MarkTrigger(std::int32_t event, std::int32_t mark) {
    Trigger trigger;
    trigger.event = event;
    trigger.script.text = u"Mark(" + Utf8ToUtf16(std::to_string(mark)) + u")";
    BuildTriggerConditions(trigger);
    CompileScript(trigger.script);
    LinkScript(trigger.script, true);
    RegisterScript(trigger.script);
    return trigger;
  }
  // Each event of the field marks event * 100 + field.
  static void Watch(std::int32_t map, std::int32_t field, std::initializer_list<std::int32_t> events) {
    for (std::int32_t event : events) F(map, field).triggers.push_back(MarkTrigger(event, event * 100 + field));
  }
  static void WatchZone(std::int32_t map, std::int32_t zone, std::initializer_list<std::int32_t> events) {
    for (std::int32_t event : events)
      gameData.maps[map].zones[static_cast<std::size_t>(zone)].triggers.push_back(
          MarkTrigger(event, event * 100 + zone));
  }
  static void WatchActor(std::int32_t map, std::int32_t actor, std::initializer_list<std::int32_t> events) {
    for (std::int32_t event : events)
      gameData.maps[map].actors[static_cast<std::size_t>(actor)].triggers.push_back(
          MarkTrigger(event, event * 100 + actor));
  }
  // The map's shown event marks 1000 + map.
  static void WatchShown(std::int32_t map) {
    gameData.maps[map].eventScripts[0] = MakeScript(u"Mark(" + Utf8ToUtf16(std::to_string(1000 + map)) + u")");
  }

  std::vector<std::int32_t> Events() const {
    std::vector<std::int32_t> events;
    for (const Variant& mark : Marks()) events.push_back(static_cast<std::int32_t>(ToNumber(mark)));
    return events;
  }
  void ClearEvents() { calls_.clear(); }

  std::vector<std::int32_t> systemsRuns;
  std::vector<std::tuple<std::int32_t, std::int32_t, bool>> inputSets;
};

}  // namespace kiv::test
