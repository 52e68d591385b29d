// A party that moves onto another map runs that map's entry event (its first
// event script), whatever the map's index.
#include <gtest/gtest.h>

#include "core/number_text.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "script/trigger_engine_fixture.h"
#include "world/placement.h"

namespace kiv {
namespace {

class MapEntryEventTest : public test::TriggerEngineTest {};

TEST_F(MapEntryEventTest, ArrivalRunsTheFirstEventScriptOfTheNewMap) {
  while (gameData.maps.LastIndex() < 3) gameData.maps.Append();
  for (std::int32_t map = 1; map <= 3; ++map)
    for (std::int32_t event = 0; event < kMapEventScriptCount; ++event)
      gameData.maps[map].eventScripts[static_cast<std::size_t>(event)] =
          MakeScript(u"Mark(" + std::u16string(1, static_cast<char16_t>(u'0' + map)) +
                     std::u16string(1, static_cast<char16_t>(u'0' + event)) + u")");
  gameData.maps[0].actors.emplace_back();
  projectState.players.assign(1, Player());
  Player& player = projectState.players[0];
  player.mapIndex = 0;
  player.controlledMember = 0;
  player.party.emplace_back().character = 0;

  SetCharacterPosition(0, 0, 3, false, false);
  ASSERT_EQ(Marks().size(), 1u);
  EXPECT_EQ(ToNumber(Marks()[0]), 30.0);  // map 3, event 0

  projectState.players.clear();
}

}  // namespace
}  // namespace kiv
