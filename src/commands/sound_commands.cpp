// The Sound commands: one-shot sound effects, flat or placed in the world.
#include <string>

#include "commands/internal_selection.h"
#include "commands/number_arguments.h"
#include "core/error.h"
#include "core/text_encoding.h"
#include "media/audio_startup.h"
#include "media/sound_channels.h"
#include "media/sound_sets.h"
#include "platform/audio/mixer.h"
#include "script/script_lookups.h"
#include "script/script_map_resolvers.h"

namespace kiv {

namespace {

constexpr float kFullCircle = 6.2831855f;
constexpr float kPlacedMinimumDistance = 32.0f;
constexpr float kPlacedMaximumDistance = 1024.0f;

// A factor given by the script, 1.0 when the call does not have the argument.
float Factor(const InternalCall& call, std::int32_t argument) {
  return argument <= call.argumentUpper ? VarToSingle(call.Argument(argument)) : 1.0f;
}

// The channel of a variation not yet played, or the script error that names
// why the mixer could not give one.
std::uint32_t TakeChannel(std::int32_t sound) {
  std::int32_t variation = 0;
  const std::uint32_t channel = SoundGetChannel(sound, variation);
  if (channel != 0) return channel;
  const SoundSet& set = SoundAt(sound);
  // A sound without any variation is as empty as one whose variation is.
  const int code = set.currentVariation < 0 ? audio::kErrorHandle : audio::ErrorGetCode();
  const std::string name = Utf16ToAnsi(set.name);
  if (code == audio::kErrorHandle) {
    RaiseError(kErrData, "Could not play sound \"" + name + "\" since it is broken or empty.");
  }
  RaiseError(kErrData, "Could not play sound \"" + name + "\" due to error " + std::to_string(code) + ".");
}

void PlaySound(InternalCall& call, bool placed) {
  if (!soundGlobals.soundEnabled) return;
  const std::int32_t sound = ScriptLookupSound(call.ArgumentText(0), true);
  SoundLoad(sound);
  const std::uint32_t channel = TakeChannel(sound);
  const std::int32_t variation = SoundAt(sound).currentVariation;
  if (!placed) {
    const float volume = Factor(call, 1);
    const float frequency = Factor(call, 2);
    SoundSlideVolume(sound, channel, variation, volume, 0);
    SoundSlideFrequency(sound, channel, variation, frequency, 0);
    SoundPlay2D(channel, true);
    return;
  }
  ScriptResolveMap(call.ArgumentText(1), true, true, true);  // checked only: the sound is placed by x, y, z
  const float x = VarToSingle(call.Argument(2));
  const float y = VarToSingle(call.Argument(3));
  const float z = VarToSingle(call.Argument(4));
  const float volume = Factor(call, 5);
  const float frequency = Factor(call, 6);
  SoundSlideVolume(sound, channel, variation, volume, 0);
  SoundSlideFrequency(sound, channel, variation, frequency, 0);
  SoundPlay3D(channel, x, y, z, kPlacedMinimumDistance, kPlacedMaximumDistance, kFullCircle, kFullCircle,
              0.0f, false);
}

void Play(InternalCall& call) { PlaySound(call, false); }
void PlayPos(InternalCall& call) { PlaySound(call, true); }

constexpr InternalCommand kSound[] = {
    {"Sound.Play", Play},
    {"Sound.PlayPos", PlayPos},
};

}  // namespace

std::span<const InternalCommand> SoundCommands() { return kSound; }

}  // namespace kiv
