// The Sound commands run from scripts on the mixer without output: which
// variation plays, how loud, how fast and where, and why no channel could be had.
#include <cmath>
#include <set>

#include "audio_commands_fixture.h"
#include "core/geometry.h"

namespace kiv::test {
namespace {

class SoundCommandsTest : public AudioCommandsTest {
 protected:
  static float Attribute(std::uint32_t channel, int attribute) {
    float value = -1.0f;
    audio::ChannelGetAttribute(channel, attribute, value);
    return value;
  }
};

TEST_F(SoundCommandsTest, EveryVariationPlaysOnceBeforeAnyRepeats) {
  const std::int32_t step = AddSound(u"Step", kSoundKindSample, {Tone(0.05), Tone(0.05), Tone(0.05)});
  for (const std::uint32_t seed : {1u, 7u, 42u, 1000u}) {
    RandomSeed(seed);
    for (SoundVariation& variation : soundSets[static_cast<std::size_t>(step)].variations)
      variation.played = false;
    std::vector<std::int32_t> picks;
    for (int i = 0; i < 4; ++i) {
      ASSERT_EQ(ErrorOfScript(u"Sound.Play(\"Step\")"), "");
      picks.push_back(soundSets[static_cast<std::size_t>(step)].currentVariation);
    }
    EXPECT_EQ(std::set<std::int32_t>(picks.begin(), picks.begin() + 3), (std::set<std::int32_t>{0, 1, 2}))
        << seed;
    std::int32_t playedNow = 0;
    for (const SoundVariation& variation : soundSets[static_cast<std::size_t>(step)].variations) {
      playedNow += variation.played ? 1 : 0;
    }
    EXPECT_EQ(playedNow, 1) << seed;
  }
  EXPECT_GT(Listen(0.02), 0.1);
}

TEST_F(SoundCommandsTest, PlaysFlatWithItsFactors) {
  const std::int32_t bell = AddSound(u"Bell", kSoundKindStream, {Tone(0.5)});
  struct Case {
    const char16_t* script;
    float volume;
    float frequency;
  };
  const Case cases[] = {
      {u"Sound.Play(\"Bell\")", 1.0f, 44100.0f},
      {u"Sound.Play(\"Bell\", 0.5, 2)", 0.5f, 88200.0f},
      {u"Sound.Play(\"Bell\", 0.25)", 0.25f, 44100.0f},
      {u"Sound.Play(\"Bell\", \"0.75\", 0.5)", 0.75f, 22050.0f},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(ErrorOfScript(c.script), "") << Utf16ToUtf8(c.script);
    const std::uint32_t channel = ChannelOf(bell);
    EXPECT_EQ(audio::ChannelIsActive(channel), audio::kActivePlaying) << Utf16ToUtf8(c.script);
    EXPECT_DOUBLE_EQ(SecondsIn(bell), 0.0) << Utf16ToUtf8(c.script);
    EXPECT_FLOAT_EQ(Attribute(channel, audio::kAttribVolume), c.volume) << Utf16ToUtf8(c.script);
    EXPECT_FLOAT_EQ(Attribute(channel, audio::kAttribFrequency), c.frequency) << Utf16ToUtf8(c.script);
    audio::Channel3DAttributes placement;
    ASSERT_TRUE(audio::ChannelGet3DAttributes(channel, placement));
    EXPECT_EQ(placement.mode, audio::kMode3DOff) << Utf16ToUtf8(c.script);
    // A 441 Hz tone at half of full scale, heard at the volume on both sides.
    EXPECT_NEAR(Listen(0.1), c.volume * 0.5 / std::sqrt(2.0), 0.01) << Utf16ToUtf8(c.script);
  }
}

TEST_F(SoundCommandsTest, PlayPosPlacesTheSoundWithAFullConeFromItsStart) {
  const std::int32_t bell = AddSound(u"Bell", kSoundKindStream, {Tone(1.0)});
  struct Case {
    const char16_t* script;
    Vector3 position;
    float volume;
    float frequency;
  };
  const Case cases[] = {
      {u"Sound.PlayPos(\"Bell\", \"this\", 100, 50, 8)", {100, 50, 8}, 1.0f, 44100.0f},
      {u"Sound.PlayPos(\"Bell\", \"this\", -3.5, 0, 0, 0.5, 2)", {-3.5f, 0, 0}, 0.5f, 88200.0f},
  };
  for (const Case& c : cases) {
    RunScript(u"Sound.Play(\"Bell\")");
    Listen(0.2);
    ASSERT_EQ(ErrorOfScript(c.script), "") << Utf16ToUtf8(c.script);
    const std::uint32_t channel = ChannelOf(bell);
    EXPECT_EQ(audio::ChannelIsActive(channel), audio::kActivePlaying);
    EXPECT_DOUBLE_EQ(SecondsIn(bell), 0.0) << Utf16ToUtf8(c.script);
    audio::Channel3DAttributes placement;
    ASSERT_TRUE(audio::ChannelGet3DAttributes(channel, placement));
    EXPECT_EQ(placement.mode, audio::kMode3DNormal);
    EXPECT_EQ(placement.minDistance, 32.0f);
    EXPECT_EQ(placement.maxDistance, 1024.0f);
    EXPECT_EQ(placement.insideAngle, 360);
    EXPECT_EQ(placement.outsideAngle, 360);
    Vector3 position;
    Vector3 orientation;
    Vector3 velocity;
    ASSERT_TRUE(audio::ChannelGet3DPosition(channel, position, orientation, velocity));
    EXPECT_EQ(position, c.position) << Utf16ToUtf8(c.script);
    EXPECT_EQ(orientation, (Vector3{1, 0, 0}));
    EXPECT_FLOAT_EQ(Attribute(channel, audio::kAttribVolume), c.volume) << Utf16ToUtf8(c.script);
    EXPECT_FLOAT_EQ(Attribute(channel, audio::kAttribFrequency), c.frequency) << Utf16ToUtf8(c.script);
  }
  EXPECT_NE(ErrorOfScript(u"Sound.PlayPos(\"Bell\", \"Nowhere\", 1, 2, 3)"), "");
}

TEST_F(SoundCommandsTest, AChannelThatCannotBeHadNamesWhy) {
  AddSound(u"Hollow", kSoundKindSample, {ByteList{}});
  AddSound(u"Silent", kSoundKindSample, {});
  AddSound(u"Gap", kSoundKindStream, {ByteList{}});
  AddSound(u"Junk", kSoundKindSample, {ByteList(200, 7)});
  AddSound(u"HalfJunk", kSoundKindStream, {ByteList(200, 7)});
  // A sample that plays once at a time and may not take its playback over.
  const std::int32_t busy = AddSound(u"Busy", kSoundKindSample, {Tone(1.0)});
  SoundSet& busySet = soundSets[static_cast<std::size_t>(busy)];
  busySet.loaded = true;
  busySet.variations[0].handle = audio::SampleCreate(44100, 44100, 1, 1, 0);
  ASSERT_NE(busySet.variations[0].handle, 0u);
  ASSERT_EQ(ErrorOfScript(u"Sound.Play(\"Busy\")"), "");

  struct Case {
    const char16_t* name;
    const char* error;
  };
  const Case cases[] = {
      {u"Hollow", "Could not play sound \"Hollow\" since it is broken or empty."},
      {u"Silent", "Could not play sound \"Silent\" since it is broken or empty."},
      {u"Gap", "Could not play sound \"Gap\" since it is broken or empty."},
      {u"Junk", "Could not play sound \"Junk\" since it is broken or empty."},
      {u"HalfJunk", "Could not play sound \"HalfJunk\" since it is broken or empty."},
      {u"Busy", "Could not play sound \"Busy\" due to error 18."},
      {u"Nothing", "Sound/Music \"Nothing\" does not exist."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ErrorOfScript(u"Sound.Play(\"" + std::u16string(c.name) + u"\")"), c.error)
        << Utf16ToUtf8(c.name);
    EXPECT_EQ(ErrorOfScript(u"Sound.PlayPos(\"" + std::u16string(c.name) + u"\", \"this\", 1, 2, 3)"),
              c.error)
        << Utf16ToUtf8(c.name);
  }
}

TEST_F(SoundCommandsTest, WithTheSoundSwitchOffNothingHappens) {
  const std::int32_t step = AddSound(u"Step", kSoundKindSample, {Tone(0.3)});
  soundGlobals.soundEnabled = false;
  for (const char16_t* script :
       {u"Sound.Play(\"Step\")", u"Sound.PlayPos(\"Step\", \"this\", 1, 2, 3)", u"Sound.Play(\"Nothing\")",
        u"Sound.PlayPos(\"Step\", \"Nowhere\", 1, 2, 3)"}) {
    EXPECT_EQ(ErrorOfScript(script), "") << Utf16ToUtf8(script);
  }
  EXPECT_FALSE(soundSets[static_cast<std::size_t>(step)].loaded);
  EXPECT_FALSE(soundSets[static_cast<std::size_t>(step)].variations[0].played);
  EXPECT_DOUBLE_EQ(Listen(0.1), 0.0);
}

}  // namespace
}  // namespace kiv::test
