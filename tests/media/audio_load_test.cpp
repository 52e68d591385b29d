// Loading sound sets into the audio layer: load flags, mono placed samples,
// skipped variations and what a failed open leaves.
#include <gtest/gtest.h>

#include "audio_fixture.h"
#include "media/sound_channels.h"

namespace kiv {
namespace {

using AudioLoadTest = AudioFixture;

TEST(SoundLoadFlags, ByKindLoopAnd3D) {
  struct Case {
    std::uint8_t kind;
    std::uint8_t loop;
    std::uint8_t threeD;
    bool available3D;
    std::uint32_t flags;
  };
  const Case cases[] = {
      {kSoundKindSample, 0, 0, true, 0x10040},  {kSoundKindSample, 1, 0, true, 0x10044},
      {kSoundKindSample, 0, 1, true, 0x3006A},  {kSoundKindSample, 1, 1, true, 0x3006E},
      {kSoundKindSample, 1, 1, false, 0x10044}, {kSoundKindStream, 1, 0, true, 0x20044},
      {kSoundKindStream, 0, 1, true, 0x2006A},  {kSoundKindMod, 0, 0, true, 0x20040},
      {kSoundKindMidi, 1, 1, false, 0x20044},   {kSoundKindWma, 0, 0, true, 0x20040},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SoundLoadFlags(c.kind, c.loop, c.threeD, c.available3D), c.flags)
        << int(c.kind) << " " << int(c.loop) << " " << int(c.threeD) << " " << c.available3D;
  }
}

TEST_F(AudioLoadTest, TheLayerIsAskedWithTheSoundsFlags) {
  ASSERT_TRUE(Sound3DAvailable());
  const std::int32_t plain = AddSound(kSoundKindSample, {Tone()});
  const std::int32_t placed = AddSound(kSoundKindSample, {Tone()}, 1, 1);
  const std::int32_t stream = AddSound(kSoundKindStream, {Tone()}, 1, 0);
  for (std::int32_t sound : {plain, placed, stream}) SoundLoad(sound);
  audio::SampleInfo sample;
  ASSERT_TRUE(audio::SampleGetInfo(soundSets[0].variations[0].handle, sample));
  EXPECT_EQ(sample.flags, 0x10040u);
  EXPECT_EQ(sample.maxPlaybacks, 4u);
  ASSERT_TRUE(audio::SampleGetInfo(soundSets[1].variations[0].handle, sample));
  EXPECT_EQ(sample.flags, 0x3006Eu);
  audio::ChannelInfo info;
  ASSERT_TRUE(audio::ChannelGetInfo(soundSets[2].variations[0].handle, info));
  EXPECT_EQ(info.flags, 0x20044u);
  EXPECT_EQ(soundSets[2].variations[0].frequency, 44100.0f);
}

TEST_F(AudioLoadTest, StereoPlacedSampleBecomesMonoOfTheSameFrequency) {
  const std::int32_t sound = AddSound(kSoundKindSample, {Tone(0.5, 2)}, 0, 1);
  SoundLoad(sound);
  const SoundVariation& variation = soundSets[0].variations[0];
  ASSERT_NE(variation.handle, 0u);
  audio::SampleInfo info;
  ASSERT_TRUE(audio::SampleGetInfo(variation.handle, info));
  EXPECT_EQ(info.channels, 1);
  EXPECT_EQ(info.frequency, 44100);
  EXPECT_EQ(variation.frequency, 44100.0f);
}

TEST_F(AudioLoadTest, SkipsEmptyUnusableAndLoadedOnes) {
  ByteList junk(3000);
  for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<std::uint8_t>(i * 31 % 253);
  const std::int32_t sound = AddSound(kSoundKindWma, {Tone(), {}, junk, Tone()});
  soundSets[0].variations[3].unusable = true;
  EXPECT_NO_THROW(SoundLoad(sound));
  const auto& variations = soundSets[0].variations;
  EXPECT_NE(variations[0].handle, 0u);
  EXPECT_EQ(variations[1].handle, 0u);  // empty
  EXPECT_EQ(variations[2].handle, 0u);  // nothing can decode it; nothing is reported
  EXPECT_EQ(variations[2].frequency, 0.0f);
  EXPECT_EQ(variations[3].handle, 0u);  // outside what the package holds for it
  EXPECT_TRUE(soundSets[0].loaded);

  // Loading again opens nothing, even what failed before.
  soundSets[0].variations[3].unusable = false;
  SoundLoad(sound);
  EXPECT_EQ(variations[3].handle, 0u);

  // Unloading frees them so that a later load opens the sound again.
  SoundUnload(sound);
  EXPECT_FALSE(soundSets[0].loaded);
  EXPECT_EQ(variations[0].handle, 0u);
  SoundLoad(sound);
  EXPECT_NE(variations[3].handle, 0u);
}

TEST_F(AudioLoadTest, ModAndMidiSoundsPlay) {
  const std::int32_t mod = AddSound(kSoundKindMod, {test::MakeTinyMod()});
  const std::int32_t midi = AddSound(kSoundKindMidi, {test::MakeTinyMidi()});
  for (std::int32_t sound : {mod, midi}) {
    SoundLoad(sound);
    std::int32_t variation = -2;
    const std::uint32_t channel = SoundGetChannel(sound, variation);
    ASSERT_NE(channel, 0u);
    SoundPlay2D(channel, true);
    EXPECT_GT(ListenRms(0.3), 0.001) << sound;
    audio::ChannelStop(channel);
  }
}

TEST_F(AudioLoadTest, OutOfRangeSoundIsAnIndexError) {
  try {
    SoundLoad(3);
    FAIL();
  } catch (const KivError& error) {
    EXPECT_EQ(error.Number(), 9);
  }
}

}  // namespace
}  // namespace kiv
