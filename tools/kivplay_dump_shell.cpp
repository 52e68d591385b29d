#include "kivplay_dump_shell.h"

#include <string>
#include <vector>

#include "core/text_encoding.h"
#include "data/game_data.h"
#include "player/input_system.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "player/world_update.h"
#include "render/frame_drawing.h"
#include "script/script_hooks.h"

namespace kivplay {

namespace {

using json = nlohmann::json;
using namespace kiv;

struct ShellCapture {
  int mainTicks = 0;  // world updates of the main loop so far
  std::uint32_t loadedResources = 0;
  std::vector<std::string> loadingTexts;  // each text a loading tick ran under, in order
  std::vector<std::string> activityTrail;
  json inputsFired = json::array();
  json interfaces = json::array();
};
ShellCapture capture;

json ShownInterfaces() {
  json list = json::array();
  for (std::int32_t map = FindNextMapInOrder(-1, false); map != -1; map = FindNextMapInOrder(map, false)) {
    const Map& record = gameData.maps[map];
    list.push_back({{"map", map},
                    {"file", Utf16ToUtf8(record.fileName)},
                    {"layer", record.layerNumber},
                    {"order", record.orderNumber}});
  }
  return list;
}

}  // namespace

void InstallShellDump() {
  const auto worldUpdate = playerHooks.WorldUpdate;
  playerHooks.WorldUpdate = [worldUpdate] {
    if (shell.loadingTick) {
      if (capture.loadingTexts.empty() || capture.loadingTexts.back() != shell.loadingText) {
        capture.loadingTexts.push_back(shell.loadingText);
      }
      worldUpdate();
      return;
    }
    ++capture.mainTicks;
    worldUpdate();
    capture.activityTrail = worldActivityTrail;
  };
  const auto drawFrame = playerHooks.DrawFrame;
  playerHooks.DrawFrame = [drawFrame] {
    // What the frame is about to show, before the harness ends the game after its last one.
    if (!shell.loadingTick) {
      capture.loadedResources = shell.loadedGroups;
      capture.interfaces = ShownInterfaces();
    }
    drawFrame();
  };
  const auto runTrigger = scriptHooks.RunTrigger;
  scriptHooks.RunTrigger = [runTrigger](const TriggerRun& run) {
    if (run.ownerKind == kOwnerKindInput) {
      const std::int32_t set = run.ownerIndex, entry = run.subIndex;
      json fired = {{"tick", capture.mainTicks - 1}, {"set", set}, {"input", entry}, {"player", run.player}};
      if (set >= 0 && static_cast<std::size_t>(set) < gameData.inputSets.size()) {
        fired["setName"] = Utf16ToUtf8(gameData.inputSets[static_cast<std::size_t>(set)].name);
      }
      capture.inputsFired.push_back(fired);
    }
    return runTrigger(run);
  };
}

json ShellDump() {
  return {{"loadedResources", capture.loadedResources},
          {"loadingTexts", capture.loadingTexts},
          {"lastTickActivities", capture.activityTrail},
          {"inputsFired", capture.inputsFired},
          {"interfacesInDrawingOrder", capture.interfaces}};
}

}  // namespace kivplay
