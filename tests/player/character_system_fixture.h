#pragma once
// A small world for the Character System tests: one 512 x 512 map (last
// column and row 15, one layer) with characters of 16-pixel box footprints,
// and the fake world behind the Character System's world operations, which
// records what it is asked and the events raised.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/game_data.h"
#include "data/project_state.h"
#include "player/character_system_fields.h"
#include "player/character_world.h"
#include "player/message_boxes.h"
#include "player/shell_state.h"
#include "state/game_state.h"
#include "state/project_settings_block.h"
#include "support/fake_character_world.h"

namespace kiv::test {

inline CollisionShape BoxShape(const Box& b) {
  CollisionShape s;
  CollisionBox r;
  r.left = b.left;
  r.top = b.top;
  r.right = b.right;
  r.bottom = b.bottom;
  r.front = b.front;
  r.back = b.back;
  s.rectangles.push_back(r);
  return s;
}

inline Trigger MakeTrigger(std::int32_t event, bool present = true) {
  Trigger t;
  t.event = event;
  t.script.hasStatements = present;
  return t;
}

class CharacterSystemFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    projectState.Reset();
    shell.Reset();
    gameState.Reset();
    storedProjectSettings.Reset();
    messageBoxState = 0;
    for (MessageBox& box : messageBoxes) box.visible = false;
    world.Install();
    map = gameData.maps.Append();
    Map& m = gameData.maps[map];
    m.width = 15;
    m.height = 15;
    m.layerCount = 0;
    shell.frameElapsed = 50;
    shell.worldStepTime = 50;
  }

  // A character at (x, y) with a 16 x 16 footprint around it, 32 high.
  std::int32_t AddCharacter(float x, float y, std::int32_t onMap = -1) {
    Actor a;
    a.x = x;
    a.y = y;
    a.collisionShape = BoxShape(Box{-8, -8, 8, 8, 0, 32});
    RemoveMark(a) = -1;
    a.vehicleRidden = -1;
    a.turretOperated = -1;
    a.timeSinceHurt = -1;  // life time stopped
    auto& actors = gameData.maps[onMap < 0 ? map : onMap].actors;
    actors.push_back(a);
    return static_cast<std::int32_t>(actors.size()) - 1;
  }
  Actor& A(std::int32_t c) { return gameData.maps[map].actors[static_cast<std::size_t>(c)]; }

  // The events raised, as (event, object, related), in order.
  std::vector<std::vector<std::int32_t>> Events() const {
    std::vector<std::vector<std::int32_t>> out;
    for (const RaisedEvent& e : world.events) out.push_back({e.event, e.object, e.related});
    return out;
  }
  std::vector<std::int32_t> EventCodes() const {
    std::vector<std::int32_t> out;
    for (const RaisedEvent& e : world.events) out.push_back(e.event);
    return out;
  }

  FakeCharacterWorld world;
  std::int32_t map = 0;
};

}  // namespace kiv::test
