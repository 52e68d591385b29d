#include "render/weather_setup.h"

#include "data/data_hooks.h"
#include "player/player_hooks.h"
#include "player/world_object_systems.h"
#include "render/light_maps.h"
#include "render/weather_placement.h"

namespace kiv {

void InstallWeatherHooks() {
  dataHooks.InitMapWeather = InitMapWeather;
  playerHooks.CloudSystem = CloudSystem;
  playerHooks.RainSystem = RainSystem;
  playerHooks.LightSystem = LightSystem;
  playerHooks.SpeakerSystem = SpeakerSystem;
  playerHooks.DoorSystem = DoorSystem;
  playerHooks.RelightLight = [](std::int32_t map, std::int32_t light) { GenerateLighting(map, light, false); };
}

}  // namespace kiv
