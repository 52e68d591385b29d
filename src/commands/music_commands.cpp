// The Music commands: playing, stopping, fading, seeking and timing the
// game's music, remembering and restoring what plays, and waiting for the
// primary song to end. The music list and the channels belong to the audio
// operations; these commands only call them.
#include <cmath>
#include <string>
#include <vector>

#include "commands/internal_selection.h"
#include "commands/number_arguments.h"
#include "core/error.h"
#include "media/audio_startup.h"
#include "media/sound_channels.h"
#include "media/sound_sets.h"
#include "platform/audio/mixer.h"
#include "script/script_globals.h"
#include "script/script_lookups.h"
#include "script/waits.h"
#include "state/game_state.h"

namespace kiv {

namespace {

constexpr char kNoPrimarySong[] = "There is currently no primary song playing right now.";
constexpr char kNotThisWay[] = "You cannot directly play music this way. Use Play Music.";

// Music.Play's fixed arguments that follow the names.
constexpr std::int32_t kPlayFixedArguments = 6;

bool SoundOn() { return soundGlobals.soundEnabled; }

std::int32_t NamedSound(const InternalCall& call, std::int32_t argument) {
  return ScriptLookupSound(call.ArgumentText(argument), true);
}

// The channel of the sound's current variation; 0 when it has none.
std::uint32_t CurrentChannel(std::int32_t sound) {
  const SoundSet& set = SoundAt(sound);
  if (set.currentVariation < 0 || static_cast<std::size_t>(set.currentVariation) >= set.variations.size())
    return 0;
  return set.variations[static_cast<std::size_t>(set.currentVariation)].handle;
}

// Bytes of the channel in whole milliseconds (halves to even); 0 when the
// mixer has no such channel.
std::int32_t Milliseconds(std::uint32_t channel, std::uint64_t bytes) {
  if (channel == 0 || bytes == ~std::uint64_t{0}) return 0;
  const double seconds = audio::ChannelBytes2Seconds(channel, bytes);
  if (!(seconds >= 0.0)) return 0;
  const double milliseconds = std::nearbyint(seconds * 1000.0);
  return milliseconds < 2147483647.0 ? static_cast<std::int32_t>(milliseconds) : 2147483647;
}

std::int32_t PositionMilliseconds(std::int32_t sound) {
  const std::uint32_t channel = CurrentChannel(sound);
  return Milliseconds(channel, audio::ChannelGetPosition(channel));
}

// The name of a music-list entry; "" for an empty place.
std::u16string EntryName(std::int32_t entry) {
  if (entry < 0 || static_cast<std::size_t>(entry) >= soundSets.size()) return u"";
  return soundSets[static_cast<std::size_t>(entry)].name;
}

void ChangeVolume(InternalCall& call) {
  if (!SoundOn()) return;
  const std::int32_t sound = NamedSound(call, 0);
  const float factor = VarToSingle(call.Argument(1));
  const std::int32_t milliseconds = call.ArgumentLong(2);
  const auto count = static_cast<std::int32_t>(SoundAt(sound).variations.size());
  for (std::int32_t v = 0; v < count; ++v) {
    SoundSlideVolume(sound, SoundAt(sound).variations[static_cast<std::size_t>(v)].handle, v, factor,
                     milliseconds);
  }
}

void Length(InternalCall& call) {
  if (!SoundOn()) {
    if (!call.Assigning()) call.Answer(Variant::Long(0));
    return;
  }
  if (call.Assigning()) {
    RaiseError(
        kErrData,
        "You cannot alter the length of a song. Consider using a timer, stop the music, and restart it.");
  }
  const std::uint32_t channel = CurrentChannel(NamedSound(call, 0));
  call.Answer(Variant::Long(Milliseconds(channel, audio::ChannelGetLength(channel))));
}

void Locked(InternalCall& call) { call.slot.BindBoolean(gameState.musicLocked); }

void Memorize(InternalCall&) {
  if (SoundSaveChannels(gameState.memorizedMusic) < 0) gameState.memorizedMusic.clear();
}

void Play(InternalCall& call) {
  if (call.argumentUpper <= 0) {
    SoundPlayMusic({NamedSound(call, 0)}, 0, 1.0f, 1.0f, true, audio::kFlagLoop, true, false);
    return;
  }
  const std::int32_t fixed = call.argumentUpper + 1 - kPlayFixedArguments;
  if (fixed < 1) return;  // no room for a name: nothing to play
  std::vector<std::int32_t> sounds;
  for (std::int32_t i = 0; i < fixed; ++i) sounds.push_back(NamedSound(call, i));
  const std::int32_t fade = call.ArgumentLong(fixed);
  const float volume = VarToSingle(call.Argument(fixed + 1));
  const float tempo = VarToSingle(call.Argument(fixed + 2));
  const bool keepCurrent = call.ArgumentBoolean(fixed + 3);
  const bool playOnce = call.ArgumentBoolean(fixed + 4);
  const bool resume = call.ArgumentBoolean(fixed + 5);
  SoundPlayMusic(sounds, fade, volume, tempo, !keepCurrent, playOnce ? 0 : audio::kFlagLoop, !resume, false);
}

void PlayMemorized(InternalCall& call) {
  if (gameState.memorizedMusic.empty()) {
    if (!soundGlobals.musicList.empty()) SoundStopChannel(soundGlobals.musicList, 0);
    return;
  }
  SoundRestoreChannels(gameState.memorizedMusic, call.ArgumentLong(0));
}

void Playing(InternalCall& call) {
  if (call.Assigning()) RaiseError(kErrData, kNotThisWay);
  std::vector<Variant> names;
  for (const std::int32_t entry : soundGlobals.musicList) names.push_back(Variant::Text(EntryName(entry)));
  call.Answer(Variant::Array(kVarString, std::move(names)));
}

void PlayingPrimary(InternalCall& call) {
  if (call.Assigning()) RaiseError(kErrData, kNotThisWay);
  const std::vector<std::int32_t>& list = soundGlobals.musicList;
  call.Answer(Variant::Text(list.empty() ? std::u16string() : EntryName(list.front())));
}

void Seek(InternalCall& call) {
  if (!SoundOn()) return;
  const std::uint32_t channel = CurrentChannel(NamedSound(call, 0));
  const std::int32_t milliseconds = call.ArgumentLong(1);
  audio::ChannelSetPosition(channel, audio::ChannelSeconds2Bytes(channel, milliseconds / 1000.0));
}

void Stop(InternalCall& call) {
  if (!SoundOn() || soundGlobals.musicList.empty()) return;
  SoundStopChannel(soundGlobals.musicList, call.argumentUpper >= 0 ? call.ArgumentLong(0) : 0);
}

void StopSpecific(InternalCall& call) {
  if (!SoundOn() || call.argumentUpper < 1) return;  // one argument names no sound
  std::vector<std::int32_t> sounds;
  for (std::int32_t i = 0; i < call.argumentUpper; ++i) sounds.push_back(NamedSound(call, i));
  SoundStopChannel(std::move(sounds), call.ArgumentLong(call.argumentUpper));
}

void Time(InternalCall& call) {
  if (call.Assigning()) return;
  call.Answer(Variant::Long(SoundOn() ? PositionMilliseconds(NamedSound(call, 0)) : 0));
}

void TimePrimary(InternalCall& call) {
  if (call.Assigning()) return;
  if (!SoundOn()) {
    call.Answer(Variant::Long(0));
    return;
  }
  const std::vector<std::int32_t>& list = soundGlobals.musicList;
  if (list.empty()) RaiseError(kErrData, kNoPrimarySong);
  call.Answer(Variant::Long(list.front() < 0 ? 0 : PositionMilliseconds(list.front())));
}

// The end flag is cleared before the sync is set, as the sync may fire on the
// mixing thread at once. A primary song that played once and has ended keeps
// its place in the music list, and a stopped channel never reaches its end
// again: the wait is then over at once.
void WaitPlay(InternalCall& call) {
  const Variant noControls = Variant::Long(-1);
  if (!SoundOn()) {
    call.SetResult(kValueControl, ScriptMakeWaitRequest(1, 0, -1, 0, -1, noControls, -1, -1, -1));
    return;
  }
  const std::vector<std::int32_t>& list = soundGlobals.musicList;
  if (list.empty() || list.front() < 0) RaiseError(kErrData, kNoPrimarySong);
  const Variant request = ScriptMakeWaitRequest(1, 0, -1, kWaitMusicEnded, -1, noControls, -1, -1, -1);
  SoundSet& primary = SoundAt(list.front());
  const std::uint32_t channel = CurrentChannel(list.front());
  // One end sync per song: the one of an earlier wait, if it has not fired, comes off first.
  if (primary.endSync != 0) {
    for (const SoundVariation& variation : primary.variations)
      audio::ChannelRemoveSync(variation.handle, primary.endSync);
  }
  soundGlobals.musicEnded = false;
  primary.endSync =
      audio::ChannelSetSync(channel, audio::kSyncEnd | audio::kSyncOnce, 0, MusicEndSync, nullptr);
  if (audio::ChannelIsActive(channel) == audio::kActiveStopped) soundGlobals.musicEnded = true;
  call.SetResult(kValueControl, request);
}

constexpr InternalCommand kMusic[] = {
    {"Music.ChangeVolume", ChangeVolume},
    {"Music.Length", Length},
    {"Music.Locked", Locked},
    {"Music.Memorize", Memorize},
    {"Music.Play", Play},
    {"Music.PlayMemorized", PlayMemorized},
    {"Music.Playing", Playing},
    {"Music.PlayingPrimary", PlayingPrimary},
    {"Music.Seek", Seek},
    {"Music.Stop", Stop},
    {"Music.StopSpecific", StopSpecific},
    {"Music.Time", Time},
    {"Music.TimePrimary", TimePrimary},
    {"Music.WaitPlay", WaitPlay},
};

}  // namespace

std::span<const InternalCommand> MusicCommands() { return kMusic; }

}  // namespace kiv
