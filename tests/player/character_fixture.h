#pragma once
// One map with characters of 16 x 16 pixel footprints, the fake world
// installed behind the character hooks, and the tick's time set for both the
// turn and the world's speed approach.
#include <gtest/gtest.h>

#include "data/game_data.h"
#include "data/project_state.h"
#include "player/character_fields.h"
#include "player/message_boxes.h"
#include "player/shell_state.h"
#include "state/game_state.h"
#include "state/project_settings_block.h"
#include "support/fake_character_world.h"

namespace kiv::test {

class CharacterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAll();
    map = gameData.maps.Append();
    gameData.maps[map].fileName = u"FIELD.map";
    world.Install();
  }
  void TearDown() override { ResetAll(); }

  static void ResetAll() {
    gameData.Reset();
    projectState.Reset();
    storedProjectSettings.Reset();
    shell.Reset();
    messageBoxState = 0;
    for (MessageBox& box : messageBoxes) box.visible = false;
    for (Script& s : systemScripts) s = Script();
    scriptTable.Reset();
  }

  // A character standing at (x, y, z), active, without motion flags.
  std::int32_t AddCharacter(float x, float y, float z = 0.0f) {
    Actor a;
    a.x = x;
    a.y = y;
    a.z = z;
    a.collisionShape = FakeCharacterWorld::BoxShape(-8, -8, 8, 8, 0, 32);
    a.physicsFlags = 0;
    a.canMove = 1;
    gameData.maps[map].actors.push_back(a);
    return static_cast<std::int32_t>(gameData.maps[map].actors.size()) - 1;
  }
  Actor& Character(std::int32_t index) { return gameData.maps[map].actors[static_cast<std::size_t>(index)]; }

  CharacterTurn Turn(std::int32_t actor, std::int32_t elapsed) {
    shell.frameElapsed = elapsed;
    CharacterTurn turn;
    turn.map = map;
    turn.actor = actor;
    turn.elapsed = elapsed;
    turn.alive = IsAlive(Character(actor));
    return turn;
  }

  // A player 0 that owns the character.
  void OwnByPlayer(std::int32_t actor) {
    if (projectState.players.empty()) projectState.players.resize(1);
    Character(actor).owningPlayer = 0;
    Character(actor).partyMember = 0;
  }

  static void SetOption(int n, bool on) {
    storedProjectSettings.flags[static_cast<std::size_t>(n - 1)] = static_cast<std::int16_t>(on ? -1 : 0);
  }

  FakeCharacterWorld world;
  std::int32_t map = -1;
};

}  // namespace kiv::test
