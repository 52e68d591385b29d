// Lights and speakers near a view follow their pulse curve: 128 levels over
// one period. A light is relit only when its level moves by more than 5/255,
// because relighting is costly; a speaker's volume is set only when it moves
// by more than 1/256.
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "data/game_data.h"
#include "data/map_objects.h"
#include "media/sound_channels.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "player/world_object_systems.h"
#include "player/world_update.h"

namespace kiv {

namespace {

constexpr float kLightStep = 5.0f / 255.0f;
constexpr float kVolumeStep = 1.0f / 256.0f;

// Advances the pulse time. Near the end of the Long range it is taken back by
// whole periods, which leaves every later curve index as it would have been.
void AdvancePulse(std::int32_t& time, std::int32_t period, std::int32_t elapsed) {
  const std::int64_t next = static_cast<std::int64_t>(time) + elapsed;
  time = next > std::numeric_limits<std::int32_t>::max() ? static_cast<std::int32_t>(next % period)
                                                         : static_cast<std::int32_t>(next);
}

// The curve's level for the pulse time: Round(time / period x 128) Mod 128,
// halves to even. Worked in whole numbers, which gives what the division in
// doubles gives (a half is a binary fraction there too) without a range limit.
float PulseLevel(const std::array<std::uint8_t, kPatternLength>& curve, std::int32_t time, std::int32_t period) {
  const std::int64_t scaled = static_cast<std::int64_t>(time) * 128;
  std::int64_t index = scaled / period;
  std::int64_t rest = scaled % period;
  if (rest < 0) {  // floor division for a negative time a save may carry
    rest += period;
    --index;
  }
  const std::int64_t twiceRest = 2 * rest;
  if (twiceRest > period || (twiceRest == period && index % 2 != 0)) ++index;
  index %= 128;
  if (index < 0) index += 128;
  return static_cast<float>(curve[static_cast<std::size_t>(index)] / 255.0);
}

}  // namespace

void LightSystem(std::int32_t mapIndex) {
  if (mapIndex < 0 || mapIndex > gameData.maps.LastIndex()) return;
  const std::int32_t t = shell.frameElapsed;
  // Relighting may not change the list, but it is read again each turn all the same.
  for (std::size_t i = 0; i < gameData.maps[mapIndex].lights.size(); ++i) {
    Light& light = gameData.maps[mapIndex].lights[i];
    if (light.enabled != 1 || light.cycleLength <= 0) continue;
    if (!IsNearViewFocus(mapIndex, light.x, light.y, light.z, static_cast<float>(light.radius))) continue;
    AdvancePulse(light.patternTime, light.cycleLength, t);
    light.currentIntensity = PulseLevel(light.pattern, light.patternTime, light.cycleLength);
    if (std::fabs(light.appliedIntensity - light.currentIntensity) > kLightStep) {
      light.appliedIntensity = light.currentIntensity;
      playerHooks.RelightLight(mapIndex, static_cast<std::int32_t>(i));
    }
  }
}

void SpeakerSystem(std::int32_t mapIndex) {
  if (mapIndex < 0 || mapIndex > gameData.maps.LastIndex()) return;
  const std::int32_t t = shell.frameElapsed;
  for (Speaker& speaker : gameData.maps[mapIndex].speakers) {
    if (speaker.enabled != 1 || speaker.cycleLength <= 0) continue;
    if (!IsNearViewFocus(mapIndex, speaker.x, speaker.y, speaker.z, static_cast<float>(speaker.radius))) continue;
    AdvancePulse(speaker.patternTime, speaker.cycleLength, t);
    const float previous = speaker.volumeFactor;
    speaker.volumeFactor = PulseLevel(speaker.pattern, speaker.patternTime, speaker.cycleLength);
    if (std::fabs(previous - speaker.volumeFactor) > kVolumeStep && speaker.soundSet >= 0)
      SoundSlideVolume(speaker.soundSet, speaker.channel, speaker.variation, speaker.volumeFactor, 0);
  }
}

}  // namespace kiv
