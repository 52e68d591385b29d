#include "player/map_speaker_sound.h"

#include "media/sound_channels.h"

namespace kiv {

namespace {

SpeakerSound AsSpeakerSound(const Speaker& speaker) {
  SpeakerSound sound;
  sound.x = speaker.x;
  sound.y = speaker.y;
  sound.z = speaker.z;
  sound.enabled = speaker.enabled;
  sound.radius = speaker.radius;
  sound.startAngle = speaker.startAngle;
  sound.endAngle = speaker.endAngle;
  sound.soundSet = speaker.soundSet;
  sound.channel = speaker.channel;
  sound.variation = speaker.variation;
  sound.volumeFactor = speaker.volumeFactor;
  sound.focus = speaker.focus;
  return sound;
}

}  // namespace

void UpdateMapSpeaker(Speaker& speaker, bool placeOnly) {
  SpeakerSound sound = AsSpeakerSound(speaker);
  SoundUpdateSpeaker(sound, placeOnly);
  speaker.channel = sound.channel;
  speaker.variation = sound.variation;
  speaker.playing = sound.channel != 0 ? 1 : 0;
}

}  // namespace kiv
