// A new game on loaded data: the off-map characters' load events, their
// placement on the start map, and system script slot 0.
#include <gtest/gtest.h>

#include "player/game_window.h"
#include "player/player_hooks.h"
#include "script/trigger_engine_fixture.h"
#include "state/game_state.h"
#include "state/project_settings_block.h"

namespace kiv::test {
namespace {

class NewGameTest : public TriggerEngineTest {
 protected:
  void SetUp() override {
    TriggerEngineTest::SetUp();
    playerHooks.Reset();
    storedProjectSettings.Reset();
    gameData.maps[0].fileName = u"Town";
    handlers_["Removed"] = [](const RecordedCall& call, ScriptValue&) {
      gameData.maps[-1].actors.at(static_cast<std::size_t>(call.arguments.at(0).AsLong())).removed = 1;
    };
    handlers_["Where"] = [this](const RecordedCall&, ScriptValue&) { slotMaps.push_back(TopFrame().ownerMap); };
    playerHooks.SetCharacterPosition = [this](std::int32_t character, std::int32_t from, std::int32_t to,
                                              std::int32_t a, std::int32_t b) {
      auto& offMap = gameData.maps[-1].actors;
      const Actor& actor = offMap.at(static_cast<std::size_t>(character));
      moves.push_back({actor.name, from, to, a, b, actor.x, actor.y, actor.z});
      gameData.maps[to].actors.push_back(actor);
      offMap.erase(offMap.begin() + character);
    };
    systemScripts[0] = MakeScript(u"Where");
  }
  void TearDown() override {
    systemScripts[0] = Script{};
    playerHooks.Reset();
    storedProjectSettings.Reset();
    TriggerEngineTest::TearDown();
  }

  // An off-map character whose Loaded event marks i (and marks it removed when asked)
  // and whose ExistenceChanged event marks 100 + i.
  void AddOffMapCharacter(std::int32_t i, bool removeOnLoad) {
    Actor actor;
    actor.name = u"c" + std::u16string(1, static_cast<char16_t>(u'0' + i));
    actor.x = 1.5f;
    const std::u16string loaded = u"Mark(" + std::u16string(1, static_cast<char16_t>(u'0' + i)) + u")" +
                                  (removeOnLoad ? u"\r\nRemoved(" + std::u16string(1, static_cast<char16_t>(u'0' + i)) + u")"
                                                : u"");
    for (const auto& [event, text] : {std::pair<std::int32_t, std::u16string>{552, loaded},
                                      {553, u"Mark(10" + std::u16string(1, static_cast<char16_t>(u'0' + i)) + u")"}}) {
      Trigger trigger;
      trigger.event = event;
      trigger.script.text = text;
      BuildTriggerConditions(trigger);
      CompileScript(trigger.script);
      LinkScript(trigger.script, true);
      RegisterScript(trigger.script);
      actor.triggers.push_back(std::move(trigger));
    }
    gameData.maps[-1].actors.push_back(std::move(actor));
  }

  struct Move {
    std::u16string name;
    std::int32_t from, to, a, b;
    float x, y, z;
    bool operator==(const Move&) const = default;
  };
  std::vector<Move> moves;
  std::vector<std::int32_t> slotMaps;
};

TEST_F(NewGameTest, LoadEventsOnEveryOffMapCharacterAndExistenceOnlyOnThoseNotRemoved) {
  for (std::int32_t i = 0; i < 3; ++i) AddOffMapCharacter(i, i == 1);
  storedProjectSettings.startMap.index = -1;
  NewGame();
  EXPECT_EQ(Marks(), (std::vector<Variant>{Variant::Long(0), Variant::Long(100), Variant::Long(1), Variant::Long(2),
                                           Variant::Long(102)}));
}

TEST_F(NewGameTest, CharactersGoToTheStartMapInIndexOrderAtTheStartPosition) {
  for (std::int32_t i = 0; i < 3; ++i) AddOffMapCharacter(i, false);
  storedProjectSettings.startMap.index = 0;
  storedProjectSettings.startMap.name = u"Town";
  storedProjectSettings.startX = 64;
  storedProjectSettings.startY = -32;
  storedProjectSettings.startZ = 7;
  NewGame();
  EXPECT_EQ(moves, (std::vector<Move>{{u"c0", -1, 0, 0, 0, 64.0f, -32.0f, 7.0f},
                                      {u"c1", -1, 0, 0, 0, 64.0f, -32.0f, 7.0f},
                                      {u"c2", -1, 0, 0, 0, 64.0f, -32.0f, 7.0f}}));
  EXPECT_EQ(slotMaps, std::vector<std::int32_t>{0});
}

TEST_F(NewGameTest, WithoutAStartMapCharactersStayAndSlotZeroRunsWithMapMinusOne) {
  for (std::int32_t i = 0; i < 2; ++i) AddOffMapCharacter(i, false);
  storedProjectSettings.startMap.index = -2;
  storedProjectSettings.startMap.name = u"Nowhere";
  storedProjectSettings.startX = 64;
  NewGame();
  EXPECT_TRUE(moves.empty());
  ASSERT_EQ(gameData.maps[-1].actors.size(), 2u);
  EXPECT_EQ(gameData.maps[-1].actors[0].x, 1.5f);
  EXPECT_EQ(slotMaps, std::vector<std::int32_t>{-1});
}

}  // namespace
}  // namespace kiv::test
