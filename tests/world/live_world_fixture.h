#pragma once
// A map run by the real Character System over the real world operations: the
// world's hooks are installed as the program installs them, and each tick
// runs the map's characters and then the closing step (marked removals) of
// the map and of the off-map list.
#include <gtest/gtest.h>

#include <cstdint>

#include "data/data_hooks.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "data/sector_grid.h"
#include "mathkiv/math_init.h"
#include "player/character_fields.h"
#include "player/character_system.h"
#include "player/character_system_fields.h"
#include "player/character_world.h"
#include "player/marked_removal.h"
#include "player/message_boxes.h"
#include "player/shell_state.h"
#include "state/game_state.h"
#include "support/world_builder.h"
#include "world/character_world_setup.h"
#include "world/hit_lists.h"

namespace kiv::test {

class LiveWorld : public ::testing::Test {
 protected:
  void SetUp() override {
    shell.Reset();
    gameState.Reset();
    messageBoxState = 0;
    for (MessageBox& box : messageBoxes) box.visible = false;
    hitLists.Reset();
    characterWorld.Reset();
    InstallCharacterWorldHooks();
  }
  void TearDown() override {
    characterWorld.Reset();
    dataHooks.Reset();
    hitLists.Reset();
    // The path grid of 16 pixels is this fixture's; later tests of the same
    // program start from the defaults.
    dataSettings.Reset();
    mathKivSettings = MathKivSettings();
    projectState.Reset();
    shell.Reset();
  }

  // A walking character: a box footprint, in play, staying, riding nothing.
  std::int32_t AddWalker(float x, float y, const Box& box, float speed = 0.1f, std::int32_t onMap = 0) {
    Actor a;
    a.x = x;
    a.y = y;
    a.collisionShape = MakeBoxShape(box);
    a.areaBox = Box{-100000, -100000, 100000, 100000, -100000, 100000};
    a.speed = speed;
    RemoveMark(a) = -1;
    a.timeSinceHurt = -1;
    auto& actors = gameData.maps[onMap].actors;
    actors.push_back(a);
    return static_cast<std::int32_t>(actors.size()) - 1;
  }
  // A further flat map of the given last column and row, with its grids.
  std::int32_t AddMap(std::int32_t width, std::int32_t height) {
    const std::int32_t index = gameData.maps.Append();
    Map& m = gameData.maps[index];
    m.width = width;
    m.height = height;
    m.layerCount = 0;
    m.flags = {0, 0, 0, 0, 0, 0};
    const std::int32_t n = 32 / 16;
    m.staticCollision.Make((width + 1) * n, (height + 1) * n, 2);
    m.workingCollision.Make((width + 1) * n, (height + 1) * n, 2);
    for (TileLayerGroup& g : m.tileLayerGroups) {
      g.slotGrid.Make(width + 1, height + 1, 1);
      g.tileGrid.Make(width + 1, height + 1, 1);
    }
    m.heightGrid.assign(static_cast<std::size_t>(width + 2) * static_cast<std::size_t>(height + 2), 0.0f);
    BuildSectorGrid(m);
    return index;
  }
  Actor& A(std::int32_t c, std::int32_t onMap = 0) {
    return gameData.maps[onMap].actors[static_cast<std::size_t>(c)];
  }

  // One world tick of the map: its characters, then its closing step.
  void Tick(std::int32_t ms, std::int32_t onMap = 0) {
    shell.frameElapsed = ms;
    shell.worldStepTime = ms;
    RunCharacterSystem(onMap);
    RemoveMarkedObjects(onMap);
    RemoveMarkedObjects(-1);  // the world update's pass ends with the off-map list
  }

  // 64 x 64 tiles (2048 pixels a side), path cells of 16 pixels.
  WorldBuilder w{63, 63, 0, 16};
};

}  // namespace kiv::test
