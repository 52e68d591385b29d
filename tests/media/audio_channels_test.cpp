// Playing sounds: the variation pick, unplaced and placed play, speakers,
// the music list with fades, snapshots and the end flag.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "audio_fixture.h"
#include "media/sound_channels.h"

namespace kiv {
namespace {

using AudioChannelsTest = AudioFixture;
using List = std::vector<std::int32_t>;

TEST_F(AudioChannelsTest, VariationPickUsesEveryVariationBeforeRepeating) {
  const std::int32_t one = AddSound(kSoundKindStream, {Tone(0.1)});
  const std::int32_t three = AddSound(kSoundKindStream, {Tone(0.1), Tone(0.1), Tone(0.1)});
  const std::int32_t none = AddSound(kSoundKindStream, {});
  for (int i = 0; i < 3; ++i) {
    std::int32_t variation = -1;
    SoundGetChannel(one, variation);
    EXPECT_EQ(variation, 0);
    EXPECT_TRUE(soundSets[0].variations[0].played);
  }
  for (int round = 0; round < 2; ++round) {
    std::set<std::int32_t> picked;
    for (int i = 0; i < 3; ++i) {
      std::int32_t variation = -1;
      SoundGetChannel(three, variation);
      picked.insert(variation);
      EXPECT_EQ(soundSets[1].currentVariation, variation);
    }
    EXPECT_EQ(picked.size(), 3u);
  }
  std::int32_t kept = -2;
  SoundGetChannel(three, kept);
  EXPECT_EQ(kept, -2);

  std::int32_t variation = 5;
  EXPECT_EQ(SoundGetChannel(none, variation), 0u);
  EXPECT_EQ(variation, -1);
  EXPECT_EQ(soundSets[2].currentVariation, -1);
}

TEST_F(AudioChannelsTest, PickWithMinusTwoAppliesTheSoundsVolumeAndTempo) {
  const std::int32_t sound = AddSound(kSoundKindSample, {Tone()});
  soundSets[0].volume = 0.5f;
  soundSets[0].tempo = 2.0f;
  SoundLoad(sound);
  std::int32_t variation = -2;
  const std::uint32_t channel = SoundGetChannel(sound, variation);
  float value = 0.0f;
  ASSERT_TRUE(audio::ChannelGetAttribute(channel, audio::kAttribVolume, value));
  EXPECT_FLOAT_EQ(value, 0.5f);
  ASSERT_TRUE(audio::ChannelGetAttribute(channel, audio::kAttribFrequency, value));
  EXPECT_FLOAT_EQ(value, 88200.0f);
  SoundPlay2D(channel, true);
  // A 441 Hz tone at amplitude 0.5 and volume 0.5: RMS 0.25 / sqrt 2 on both sides.
  EXPECT_NEAR(ListenRms(0.2), 0.25 / std::sqrt(2.0), 0.005);
}

TEST_F(AudioChannelsTest, UnplacedAndPlacedPlayAskTheLayerForTheseNumbers) {
  const std::int32_t sound = AddSound(kSoundKindSample, {Tone()}, 0, 1);
  SoundLoad(sound);
  std::int32_t variation = -1;
  const std::uint32_t channel = SoundGetChannel(sound, variation);
  SoundPlay2D(channel, true);
  audio::Channel3DAttributes a;
  ASSERT_TRUE(audio::ChannelGet3DAttributes(channel, a));
  EXPECT_EQ(a.mode, audio::kMode3DOff);
  EXPECT_EQ(a.minDistance, 32.0f);
  EXPECT_EQ(a.maxDistance, 1048.0f);
  EXPECT_EQ(a.insideAngle, 0);
  EXPECT_EQ(a.outsideAngle, 0);
  EXPECT_EQ(a.outsideVolume, 1.0f);

  SoundPlay3D(channel, 1, 2, 3, 10, 500, 0.5f, 3.1415927f, 1.0f, true);
  ASSERT_TRUE(audio::ChannelGet3DAttributes(channel, a));
  EXPECT_EQ(a.mode, audio::kMode3DNormal);
  EXPECT_EQ(a.minDistance, 10.0f);
  EXPECT_EQ(a.maxDistance, 500.0f);
  EXPECT_EQ(a.insideAngle, 29);
  EXPECT_EQ(a.outsideAngle, 180);
  EXPECT_EQ(a.outsideVolume, 0.0f);
  Vector3 position, orientation, velocity;
  ASSERT_TRUE(audio::ChannelGet3DPosition(channel, position, orientation, velocity));
  EXPECT_EQ(position, (Vector3{1, 2, 3}));
  EXPECT_FLOAT_EQ(orientation.x, std::cos(1.0f));
  EXPECT_FLOAT_EQ(orientation.y, std::sin(1.0f));
  EXPECT_EQ(velocity, (Vector3{0, 0, 0}));
}

TEST(ConeDegrees, RoundsToWholeDegrees) {
  struct Case {
    float radians;
    std::int32_t degrees;
  };
  for (const Case& c : {Case{0.5f, 29}, Case{0.0f, 0}, Case{3.1415927f, 180}, Case{6.2831855f, 360},
                        Case{1.2831855f, 74}}) {
    EXPECT_EQ(ConeDegrees(c.radians), c.degrees) << c.radians;
  }
}

TEST_F(AudioChannelsTest, SpeakerConeFromItsArcAndFocus) {
  const std::int32_t sound = AddSound(kSoundKindSample, {Tone()}, 0, 1);
  SoundLoad(sound);
  struct Case {
    float focus;
    float minimum;
    std::int32_t outside;
  };
  for (const Case& c : {Case{1.0f, 200.0f, 74}, Case{0.0f, 20.0f, 360}}) {
    SpeakerSound speaker;
    speaker.enabled = 1;
    speaker.soundSet = sound;
    speaker.radius = 200;
    speaker.startAngle = 5.5f;
    speaker.endAngle = 0.5f;
    speaker.focus = c.focus;
    SoundUpdateSpeaker(speaker, false);
    ASSERT_NE(speaker.channel, 0u);
    EXPECT_EQ(speaker.variation, 0);
    audio::Channel3DAttributes a;
    ASSERT_TRUE(audio::ChannelGet3DAttributes(speaker.channel, a));
    EXPECT_FLOAT_EQ(a.minDistance, c.minimum);
    EXPECT_EQ(a.maxDistance, 200.0f);
    EXPECT_EQ(a.insideAngle, 74);  // width 1.2831855
    EXPECT_EQ(a.outsideAngle, c.outside);
    Vector3 position, orientation, velocity;
    ASSERT_TRUE(audio::ChannelGet3DPosition(speaker.channel, position, orientation, velocity));
    EXPECT_NEAR(orientation.x, std::cos(6.1415928f), 1e-5);
    EXPECT_EQ(audio::ChannelFlags(speaker.channel, 0, 0) & audio::kFlagLoop, audio::kFlagLoop);
    EXPECT_EQ(audio::ChannelIsActive(speaker.channel), audio::kActivePlaying);
    const std::uint32_t old = speaker.channel;
    speaker.enabled = 0;
    SoundUpdateSpeaker(speaker, false);
    EXPECT_EQ(speaker.channel, 0u);
    EXPECT_EQ(audio::ChannelIsActive(old), audio::kActiveStopped);
  }
}

TEST_F(AudioChannelsTest, MusicListPlaysOnceUnlessKept) {
  const std::int32_t a = AddSound(kSoundKindStream, {Tone(2.0)});
  const std::int32_t b = AddSound(kSoundKindStream, {Tone(2.0)});
  SoundPlayMusic({a, b}, 0, 1.0f, 1.0f, false, 0, true, false);
  EXPECT_EQ(soundGlobals.musicList, (List{a, b}));
  const std::uint32_t channel = soundSets[0].variations[0].handle;
  EXPECT_EQ(audio::ChannelIsActive(channel), audio::kActivePlaying);
  ListenRms(0.2);
  const std::uint64_t position = audio::ChannelGetPosition(channel);

  SoundPlayMusic({a, b}, 0, 1.0f, 1.0f, false, 0, true, false);  // the same list: untouched
  EXPECT_EQ(soundGlobals.musicList, (List{a, b}));
  EXPECT_EQ(audio::ChannelGetPosition(channel), position);

  SoundPlayMusic({a}, 0, 1.0f, 1.0f, false, 0, true, true);  // kept: appended and started again
  EXPECT_EQ(soundGlobals.musicList, (List{a, b, a}));
  EXPECT_LT(audio::ChannelGetPosition(channel), position);

  SoundPlayMusic({b, -3}, 0, 1.0f, 1.0f, true, audio::kFlagLoop, true, false);  // stop current first
  EXPECT_EQ(soundGlobals.musicList, (List{b, -1}));
  EXPECT_EQ(audio::ChannelIsActive(channel), audio::kActiveStopped);
  EXPECT_EQ(audio::ChannelFlags(soundSets[1].variations[0].handle, 0, 0) & audio::kFlagLoop, audio::kFlagLoop);
}

TEST_F(AudioChannelsTest, SampleRefusedAsMusic) {
  const std::int32_t music = AddSound(kSoundKindStream, {Tone()});
  const std::int32_t effect = AddSound(kSoundKindSample, {Tone()});
  soundSets[1].name = u"Bang";
  try {
    SoundPlayMusic({music, effect, music}, 0, 1.0f, 1.0f, false, 0, true, false);
    FAIL();
  } catch (const KivError& error) {
    EXPECT_EQ(error.Number(), -1);
    EXPECT_STREQ(error.what(), "Cannot play \"Bang\" as it is set to be played as a sound and not music.");
  }
  // The places not reached hold -1, never a sound index.
  EXPECT_EQ(soundGlobals.musicList, (List{music, -1, -1}));
  EXPECT_EQ(audio::ChannelIsActive(soundSets[0].variations[0].handle), audio::kActivePlaying);
}

TEST_F(AudioChannelsTest, DisabledSoundRecordsMusicWithoutPlaying) {
  const std::int32_t music = AddSound(kSoundKindStream, {Tone()});
  soundGlobals.soundEnabled = false;
  SoundPlayMusic({music}, 100, 1.0f, 1.0f, false, 0, true, false);
  EXPECT_EQ(soundGlobals.musicList, (List{music}));
  EXPECT_FALSE(soundSets[0].loaded);
  SoundStopChannel({music}, 0);
  EXPECT_TRUE(soundGlobals.musicList.empty());
}

TEST_F(AudioChannelsTest, StoppingMusicFadesAndRemovesOnlyItsEntries) {
  const std::int32_t a = AddSound(kSoundKindStream, {Tone(2.0)});
  const std::int32_t b = AddSound(kSoundKindStream, {Tone(2.0)});
  const std::int32_t other = AddSound(kSoundKindStream, {Tone(2.0)});
  SoundPlayMusic({a, -1, b, a}, 0, 1.0f, 1.0f, false, 0, true, false);
  SoundStopChannel({other}, 0);
  EXPECT_EQ(soundGlobals.musicList, (List{a, -1, b, a}));
  SoundStopChannel({a}, 100);
  EXPECT_EQ(soundGlobals.musicList, (List{-1, b}));
  const std::uint32_t channel = soundSets[0].variations[0].handle;
  EXPECT_EQ(audio::ChannelIsActive(channel), audio::kActivePlaying);
  ListenRms(0.12);
  EXPECT_EQ(audio::ChannelIsActive(channel), audio::kActiveStopped);
}

TEST_F(AudioChannelsTest, FadeInSlidesFromSilence) {
  const std::int32_t a = AddSound(kSoundKindStream, {Tone(2.0)});
  soundSets[0].volume = 0.8f;
  SoundPlayMusic({a}, 200, 0.5f, 1.0f, false, 0, true, false);
  const std::uint32_t channel = soundSets[0].variations[0].handle;
  float volume = 1.0f;
  audio::ChannelGetAttribute(channel, audio::kAttribVolume, volume);
  EXPECT_EQ(volume, 0.0f);
  ListenRms(0.21);
  audio::ChannelGetAttribute(channel, audio::kAttribVolume, volume);
  EXPECT_FLOAT_EQ(volume, 0.4f);
}

TEST_F(AudioChannelsTest, SaveAndRestoreMusic) {
  std::vector<MusicSnapshot> snapshots(2);
  EXPECT_EQ(SoundSaveChannels(snapshots), -1);
  EXPECT_EQ(snapshots.size(), 2u);

  const std::int32_t a = AddSound(kSoundKindStream, {Tone(2.0), Tone(2.0)});
  SoundPlayMusic({-1, a}, 0, 0.5f, 1.0f, false, audio::kFlagLoop, true, false);
  ListenRms(0.5);
  ASSERT_EQ(SoundSaveChannels(snapshots), 1);
  EXPECT_EQ(snapshots[0].soundIndex, -1);
  const MusicSnapshot saved = snapshots[1];
  EXPECT_EQ(saved.soundIndex, a);
  EXPECT_EQ(saved.variation, soundSets[0].currentVariation);
  EXPECT_FLOAT_EQ(saved.volume, 0.5f);
  EXPECT_FLOAT_EQ(saved.frequency, 44100.0f);
  EXPECT_EQ(saved.looping, 1);
  EXPECT_NEAR(saved.position, 44100, 4096);

  // Restoring into a game whose sounds are not loaded loads them first.
  SoundStopAll();
  for (std::size_t i = 0; i < soundSets.size(); ++i) SoundUnload(static_cast<std::int32_t>(i));
  SoundRestoreChannels(snapshots, 0);
  EXPECT_EQ(soundGlobals.musicList, (List{a}));
  ASSERT_TRUE(soundSets[0].loaded);
  const std::uint32_t channel = soundSets[0].variations[static_cast<std::size_t>(saved.variation)].handle;
  EXPECT_EQ(audio::ChannelIsActive(channel), audio::kActivePlaying);
  EXPECT_EQ(audio::ChannelGetPosition(channel), static_cast<std::uint64_t>(saved.position));
  float volume = 0.0f;
  audio::ChannelGetAttribute(channel, audio::kAttribVolume, volume);
  EXPECT_FLOAT_EQ(volume, 0.5f);

  // Snapshots naming a sound or variation the game does not have are skipped.
  MusicSnapshot missingSound = saved;
  missingSound.soundIndex = 9;
  MusicSnapshot missingVariation = saved;
  missingVariation.variation = 2;
  SoundRestoreChannels({missingSound, missingVariation, saved}, 100);
  EXPECT_EQ(soundGlobals.musicList, (List{a}));
}

TEST_F(AudioChannelsTest, EndSyncSetsMusicEndedOnce) {
  const std::int32_t a = AddSound(kSoundKindStream, {Tone(0.1)});
  SoundPlayMusic({a}, 0, 1.0f, 1.0f, false, 0, true, false);
  const std::uint32_t channel = soundSets[0].variations[0].handle;
  soundSets[0].endSync = audio::ChannelSetSync(channel, 0x80000002u, 0, &MusicEndSync, nullptr);
  ASSERT_NE(soundSets[0].endSync, 0u);
  ListenRms(0.05);
  EXPECT_FALSE(soundGlobals.musicEnded);
  ListenRms(0.1);
  EXPECT_TRUE(soundGlobals.musicEnded);
  soundGlobals.musicEnded = false;
  audio::ChannelPlay(channel, true);
  ListenRms(0.2);
  EXPECT_FALSE(soundGlobals.musicEnded);  // it fired once
}

TEST_F(AudioChannelsTest, StopAllStopsEveryChannelAndDropsTheEndSync) {
  const std::int32_t music = AddSound(kSoundKindStream, {Tone()});
  const std::int32_t effect = AddSound(kSoundKindSample, {Tone()});
  SoundPlayMusic({music}, 0, 1.0f, 1.0f, false, 0, true, false);
  const std::uint32_t stream = soundSets[0].variations[0].handle;
  soundSets[0].endSync = audio::ChannelSetSync(stream, 0x80000002u, 0, &MusicEndSync, nullptr);
  SoundLoad(effect);
  std::int32_t variation = -2;
  const std::uint32_t playback = SoundGetChannel(effect, variation);
  SoundPlay2D(playback, true);
  SoundStopAll();
  EXPECT_EQ(audio::ChannelIsActive(stream), audio::kActiveStopped);
  EXPECT_EQ(audio::ChannelIsActive(playback), audio::kActiveStopped);
  EXPECT_EQ(soundSets[0].endSync, 0u);
  EXPECT_EQ(soundGlobals.musicList, (List{music}));
  EXPECT_EQ(ListenRms(0.05), 0.0);
}

}  // namespace
}  // namespace kiv
