#include "player/world_update.h"

#include "data/game_data.h"
#include "data/project_state.h"
#include "platform/os/clock.h"
#include "player/input_system.h"
#include "player/message_boxes.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "script/call_frame.h"
#include "script/world_systems.h"
#include "state/game_state.h"
#include "state/project_settings_block.h"

namespace kiv {

std::vector<std::string> worldActivityTrail;

namespace {

constexpr std::uint8_t kFieldKindView = 6;

void Activity(const char* name) {
  gameData.currentActivity = name;
  worldActivityTrail.emplace_back(name);
}

// Systems of an active map, in their order.
void RunMapSystems(std::int32_t index) {
  Activity("Cloud System");
  playerHooks.CloudSystem(index);
  Activity("Rain System");
  playerHooks.RainSystem(index);
  playerHooks.UpdateMapSystems(index);
  Activity("Light System");
  playerHooks.LightSystem(index);
  Activity("Speaker System");
  playerHooks.SpeakerSystem(index);
  Activity("Door System");
  playerHooks.DoorSystem(index);
  Activity("Bullet System");
  playerHooks.BulletSystem(index);
  Activity("Pick-Up System");
  playerHooks.PickUpSystem(index);
  Activity("Character System");
  playerHooks.CharacterSystem(index);
}

}  // namespace

std::int32_t LoadingInterface() { return projectState.settings.furtherInterfaces[0].index; }

void WorldUpdate() {
  worldActivityTrail.clear();
  scriptEngine.tickStamp = os::GetTickCount();
  gameState.playTime += shell.frameElapsed;
  shell.worldStepTime = shell.frameElapsed;

  if (!shell.loadingTick) {
    Activity("Input System");
    RunInputSystem();
    Activity("Message Box System");
    playerHooks.MessageBoxSystem();
    Activity("Main Character's ActionRects");
    playerHooks.ActionRects();
  }
  if (messageBoxState != 0) return;

  playerHooks.ClearCharacterTickFlags();
  if (!shell.loadingTick) {
    if (gameState.paused == 0) {
      Activity("HI System");
      playerHooks.HISystem();
    }
    Activity("Call Back System");
    RunCallBackSystem(shell.frameElapsed, shell.frameElapsed);
    Activity("Lerp System");
    RunLerpSystem(shell.frameElapsed);
    Activity("Message System");
    playerHooks.MessageSystem();
  }
  RebuildViewLists();
  RunMapPass();
}

void RebuildViewLists() {
  const std::int32_t last = gameData.maps.LastIndex();
  for (std::int32_t m = 0; m <= last; ++m) gameData.maps[m].viewList.clear();
  if (shell.loadingTick) return;
  for (std::int32_t m = 0; m <= last; ++m) {
    const Map& holder = gameData.maps[m];
    if (!holder.isInterface || holder.overlayActive != 1) continue;
    for (std::size_t f = 0; f < gameData.maps[m].fields.size(); ++f) {
      if (gameData.maps[m].fields[f].Kind() != kFieldKindView) continue;
      const auto field = static_cast<std::int32_t>(f);
      const std::int32_t shown = playerHooks.FieldViewMap(m, field);
      if (shown < 0 || shown > last) continue;
      MapViewEntry entry;
      playerHooks.FieldViewFocus(m, field, entry.x, entry.y, entry.z);
      entry.interfaceMap = m;
      entry.field = field;
      gameData.maps[shown].viewList.push_back(entry);
    }
  }
}

void RunMapPass() {
  const std::int32_t loading = LoadingInterface();
  // Systems may add maps: the last index is read again each turn.
  for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) {
    Map& map = gameData.maps[m];
    const bool active = shell.loadingTick ? m == loading
                                          : (map.isInterface && map.overlayActive != 0) || !map.viewList.empty();
    const bool skipped = !active || (gameState.paused != 0 && !map.isInterface);
    if (!skipped) {
      map.runningTime += shell.frameElapsed;
      if (map.isInterface) {
        playerHooks.UpdateMapSystems(m);
      } else {
        RunMapSystems(m);
      }
    }
    // The closing step runs for every map, skipped or not: marked characters
    // and fields leave, a requested reload happens. A loading tick removes nothing.
    if (!shell.loadingTick) playerHooks.RemoveMarkedObjects(m);
  }
  // The off-map list keeps the emptied slots of characters that came back
  // onto a map (a reload parks the party there): it is compacted too.
  if (!shell.loadingTick) playerHooks.RemoveMarkedObjects(-1);
}

bool IsNearViewFocus(std::int32_t map, float x, float y, float z, float radius) {
  (void)z;
  const float range = storedProjectSettings.activityRange;
  if (range == 0.0f) return true;
  const float limit = (range + radius) * (range + radius);
  for (const MapViewEntry& entry : gameData.maps[map].viewList) {
    const float dx = x - entry.x;
    const float dy = y - entry.y;
    const float squared = dx * dx + dy * dy;
    if (squared <= limit) return true;
  }
  return false;
}

}  // namespace kiv
