#include "render/map_data.h"

#include "data/data_hooks.h"
#include "data/game_data.h"
#include "platform/audio/mixer.h"
#include "platform/os/clock.h"
#include "player/loading_progress.h"
#include "render/light_maps.h"
#include "render/map_data_hooks.h"
#include "render/render_hooks.h"
#include "render/terraformation.h"
#include "script/call_frame.h"
#include "script/trigger_hooks.h"
#include "state/state_hooks.h"

namespace kiv {

bool audioThreadsOn = false;

void GenerateMapData(std::int32_t map, bool showProgress) {
  if (map < 0 || map > gameData.maps.LastIndex()) return;
  {
    const Map& m = gameData.maps[map];
    if (m.isInterface || m.mapDataPrepared) return;
  }
  if (showProgress && !audioThreadsOn) {
    // The main loop stands still meanwhile: the audio library renders by itself.
    audio::SetUpdateThreads(true);
    audioThreadsOn = true;
  }
  // The progress runs a tick and a frame, so the map is looked up again after each step.
  if (showProgress) ShowLoadingProgress("Generating terraformation, please wait...", 0.0f);
  GenerateTerraformation(map);
  mapDataHooks.UpdateTileCollision(map, -1, -1, -1);
  for (std::size_t a = 0; a < gameData.maps[map].actors.size(); ++a)
    dataHooks.UpdateCharacterFloorHeight(map, static_cast<std::int32_t>(a));
  if (showProgress) ShowLoadingProgress("Generating lighting, please wait...", 0.0f);
  GenerateLighting(map, -1, true);
  gameData.maps[map].mapDataPrepared = true;
  // The time spent here is not charged to a running script's time slice.
  scriptEngine.tickStamp = os::GetTickCount();
}

void EndMapDataAudio() {
  if (!audioThreadsOn) return;
  audio::SetUpdateThreads(false);
  audioThreadsOn = false;
}

void InstallMapDataHooks() {
  dataHooks.GenerateMapData = [](std::int32_t map, bool showProgress) { GenerateMapData(map, showProgress); };
  stateHooks.GenerateMapData = [](std::int32_t map, std::int32_t showProgress) {
    GenerateMapData(map, showProgress != 0);
  };
  triggerHooks.EndMapDataAudio = [] { EndMapDataAudio(); };
  renderHooks.LightColorAt = [](std::int32_t map, float x, float y, float z, std::uint32_t colour) {
    return LightColorAt(map, x, y, z, colour);
  };
}

}  // namespace kiv
