#pragma once
// A running script over a small game: maps Town (0), Cave (1), Forest (2),
// Harbour (5), interfaces Menu (3) and Hud (4), and the objects of no map
// (-1). Player 0's party stands in Town. Every call of the map preparation is
// recorded, with whether a map load was in progress when it came.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/package.h"
#include "data/data_hooks.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "script/call_frame.h"
#include "script/script_hooks.h"
#include "script_test_fixture.h"
#include "state/project_settings_block.h"

namespace kiv::test {

inline constexpr std::int32_t kTown = 0, kCave = 1, kForest = 2, kMenu = 3, kHud = 4, kHarbour = 5;

// "<number> <message>" of the error the action raises, or "no error".
inline std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const KivError& error) {
    return std::to_string(error.Number()) + " " + error.what();
  }
  return "no error";
}

struct PreparedMap {
  std::int32_t map;
  bool progress;
  bool duringLoad;  // the loader's own call, made while the map is read
  friend bool operator==(const PreparedMap&, const PreparedMap&) = default;
};

class ResolverTest : public ScriptEngineTest {
 protected:
  void SetUp() override {
    ScriptEngineTest::SetUp();
    package.Reset();
    dataSettings.Reset();
    dataSettings.gridCellSize = 8;  // maps loaded from the package need a path grid
    for (const auto& [name, isInterface] :
         std::vector<std::pair<std::u16string, bool>>{{u"Town", false},
                                                      {u"Cave", false},
                                                      {u"Forest", false},
                                                      {u"Menu", true},
                                                      {u"Hud", true},
                                                      {u"Harbour", false}}) {
      const std::int32_t index = gameData.maps.Append();
      gameData.maps[index].fileName = name;
      gameData.maps[index].isInterface = isInterface;
    }
    dataHooks.GenerateMapData = [this](std::int32_t map, bool progress) {
      prepared_.push_back({map, progress, !gameData.loadingMapName.empty()});
    };
    projectState.players.resize(4);
    for (Player& player : projectState.players) player.controlledMember = -1;
    PushCallFrame(CallFrame(), Script());
  }

  void TearDown() override {
    while (scriptEngine.callTop >= 0) PopCallFrame();
    package.Reset();
    dataSettings.Reset();
    ScriptEngineTest::TearDown();
  }

  CallFrame& Frame() { return TopFrame(); }

  static std::int32_t AddActor(std::int32_t map, const std::u16string& name) {
    std::vector<Actor>& actors = gameData.maps[map].actors;
    actors.emplace_back();
    actors.back().name = name;
    return static_cast<std::int32_t>(actors.size()) - 1;
  }

  static std::int32_t AddField(std::int32_t map, const std::u16string& name) {
    std::vector<Field>& fields = gameData.maps[map].fields;
    fields.emplace_back();
    fields.back().name = name;
    return static_cast<std::int32_t>(fields.size()) - 1;
  }

  // Player 0's party: the characters of the map, in slot order; controlled -1 none.
  static void SetParty(std::int32_t map, const std::vector<std::int32_t>& characters, std::int32_t controlled,
                       std::int32_t player = 0) {
    Player& record = projectState.players[static_cast<std::size_t>(player)];
    record.mapIndex = map;
    record.party.clear();
    for (std::int32_t character : characters) {
      record.party.emplace_back();
      record.party.back().character = character;
    }
    record.controlledMember = controlled;
  }

  static void SetMainAlwaysControlled(bool on) { storedProjectSettings.flags[18] = on ? -1 : 0; }
  static void SetPartyShortcutNames(bool on) { storedProjectSettings.flags[19] = on ? -1 : 0; }

  std::vector<PreparedMap> prepared_;
};

inline ScriptValue Ref(std::int32_t kind, std::int32_t value, std::int32_t map) {
  return ScriptValue{kind, Variant::Long(value), map};
}

inline ScriptValue Members(std::int32_t map, const std::vector<std::int32_t>& characters) {
  std::vector<Variant> elements;
  for (std::int32_t c : characters) elements.push_back(Variant::Long(c));
  return ScriptValue{kObjectTeam, Variant::Array(kVarLong, std::move(elements)), map};
}

}  // namespace kiv::test
