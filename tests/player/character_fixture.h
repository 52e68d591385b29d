#pragma once
// A small world for the Character System tests: one 512 x 512 map (last
// column and row 15, one layer) with characters of 16-pixel box footprints, a
// fake world behind the Character System's world operations that records what
// it is asked, and the record of raised events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/game_data.h"
#include "data/project_state.h"
#include "player/character_events.h"
#include "player/character_fields.h"
#include "player/character_world.h"
#include "player/message_boxes.h"
#include "player/shell_state.h"
#include "script/timed_changes.h"
#include "script/waits.h"
#include "state/game_state.h"
#include "state/project_settings_block.h"

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

class CharacterFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    projectState.Reset();
    shell.Reset();
    gameState.Reset();
    storedProjectSettings.Reset();
    messageBoxState = 0;
    for (MessageBox& box : messageBoxes) box.visible = false;
    waitingScripts.clear();
    timedChanges.clear();
    raisedEventLog.Reset();
    raisedEventLog.recording = true;
    characterWorld.Reset();
    characterWorld.IsCharacterCollidable = [](std::int32_t map, std::int32_t actor, bool allowDead) {
      const Actor& a = gameData.maps[map].actors[static_cast<std::size_t>(actor)];
      if (a.removed != 0 || a.vehicleRidden >= 0) return false;
      return a.state != 3 || allowDead;
    };
    characterWorld.MoveCharacter = [this](std::int32_t map, std::int32_t actor, bool alive) {
      calls.push_back("move " + std::to_string(map) + " " + std::to_string(actor) + (alive ? " alive" : " dead"));
    };
    characterWorld.ShiftCharacterRefs = [this](std::int32_t map, std::int32_t index, std::int32_t delta, bool) {
      calls.push_back("shift character " + std::to_string(map) + " " + std::to_string(index) + " " +
                      std::to_string(delta) + " size " + std::to_string(gameData.maps[map].actors.size()));
    };
    characterWorld.ShiftFieldRefs = [this](std::int32_t map, std::int32_t index, std::int32_t delta, bool) {
      calls.push_back("shift field " + std::to_string(map) + " " + std::to_string(index) + " " +
                      std::to_string(delta) + " size " + std::to_string(gameData.maps[map].fields.size()));
    };
    map = gameData.maps.Append();
    Map& m = gameData.maps[map];
    m.width = 15;
    m.height = 15;
    m.layerCount = 0;
    shell.frameElapsed = 50;
    shell.worldStepTime = 50;
  }
  void TearDown() override {
    characterWorld.Reset();
    raisedEventLog.Reset();
  }

  // A character at (x, y) with a 16 x 16 footprint around it, 32 high.
  std::int32_t AddCharacter(float x, float y) {
    Actor a;
    a.x = x;
    a.y = y;
    a.collisionShape = BoxShape(Box{-8, -8, 8, 8, 0, 32});
    RemoveMark(a) = -1;
    a.vehicleRidden = -1;
    a.turretOperated = -1;
    LifeTime(a) = -1;
    gameData.maps[map].actors.push_back(a);
    return static_cast<std::int32_t>(gameData.maps[map].actors.size()) - 1;
  }
  Actor& A(std::int32_t c) { return gameData.maps[map].actors[static_cast<std::size_t>(c)]; }

  // The events raised, as (event, object, related), in order.
  std::vector<std::vector<std::int32_t>> Events() const {
    std::vector<std::vector<std::int32_t>> out;
    for (const RaisedEvent& e : raisedEventLog.events) out.push_back({e.event, e.object, e.related});
    return out;
  }
  std::vector<std::int32_t> EventCodes() const {
    std::vector<std::int32_t> out;
    for (const RaisedEvent& e : raisedEventLog.events) out.push_back(e.event);
    return out;
  }

  std::int32_t map = 0;
  std::vector<std::string> calls;
};

}  // namespace kiv::test
