#pragma once
// Scripts that play music and sounds, on the real script engine and the real
// mixer started without output: what would be heard is mixed on demand and
// the channels' state is read back from the mixer. Waits resume through the
// player's own wait conditions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/random.h"
#include "internal_commands_fixture.h"
#include "media/audio_startup.h"
#include "media/sound_sets.h"
#include "platform/audio/mixer.h"
#include "player_wait_conditions.h"
#include "state/game_state.h"
#include "support/sound_fixtures.h"
#include "support/temp_dir.h"

namespace kiv::test {

class AudioCommandsTest : public InternalCommandsTest {
 protected:
  void SetUp() override {
    InternalCommandsTest::SetUp();
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_TRUE(SoundStartUp());
    soundSets.clear();
    soundGlobals.musicList.clear();
    soundGlobals.musicEnded = false;
    soundGlobals.soundEnabled = true;
    gameState.Reset();
    RandomSeed(7);
    audio::Set3DPosition({0, 0, 0}, {0, 0, 0}, {0, 0, 1}, {0, 1, 0});
    UsePlayerWaitConditions();
  }

  void TearDown() override {
    for (std::size_t i = 0; i < soundSets.size(); ++i) SoundUnload(static_cast<std::int32_t>(i));
    soundSets.clear();
    soundGlobals.musicList.clear();
    soundGlobals.musicEnded = false;
    soundGlobals.soundEnabled = true;
    gameState.Reset();
    InternalCommandsTest::TearDown();
  }

  // Adds a sound of the name whose variations are the given files, stored one
  // after the other in a package file of its own.
  std::int32_t AddSound(const std::u16string& name, std::uint8_t kind,
                        const std::vector<ByteList>& variations) {
    SoundSet set;
    set.name = name;
    set.kind = kind;
    set.maxPlaybacks = 4;
    set.packagePath = dir_.File("package" + std::to_string(soundSets.size()));
    ByteList file(64, 0x55);
    for (const ByteList& bytes : variations) {
      SoundVariation variation;
      variation.dataOffset = static_cast<std::int64_t>(file.size());
      variation.dataLength = static_cast<std::int32_t>(bytes.size());
      variation.empty = bytes.empty();
      file.insert(file.end(), bytes.begin(), bytes.end());
      file.insert(file.end(), 8, 0x66);
      set.variations.push_back(variation);
    }
    WriteTestFile(set.packagePath, file);
    soundSets.push_back(std::move(set));
    return static_cast<std::int32_t>(soundSets.size()) - 1;
  }
  std::int32_t AddMusic(const std::u16string& name, double seconds = 2.0) {
    return AddSound(name, kSoundKindStream, {Tone(seconds)});
  }

  // A mono tone of exactly the frames at the rate.
  static ByteList Frames(std::uint32_t frames, int rate) {
    return MakeToneWav(ToneSpec{.frequency = 100.0, .seconds = (frames + 0.5) / rate, .rate = rate});
  }
  static ByteList Tone(double seconds) {
    return MakeToneWav(ToneSpec{.frequency = 441.0, .seconds = seconds});
  }

  // The channel of the sound's current variation (0 none).
  static std::uint32_t ChannelOf(std::int32_t sound) {
    const SoundSet& set = soundSets[static_cast<std::size_t>(sound)];
    if (set.currentVariation < 0 || static_cast<std::size_t>(set.currentVariation) >= set.variations.size())
      return 0;
    return set.variations[static_cast<std::size_t>(set.currentVariation)].handle;
  }
  static bool Playing(std::int32_t sound) {
    return audio::ChannelIsActive(ChannelOf(sound)) == audio::kActivePlaying;
  }
  static double SecondsIn(std::int32_t sound) {
    const std::uint32_t channel = ChannelOf(sound);
    return audio::ChannelBytes2Seconds(channel, audio::ChannelGetPosition(channel));
  }

  // Mixes the next seconds as the output would get them; returns their RMS.
  static double Listen(double seconds) {
    const auto frames = static_cast<int>(seconds * audio::kOutputRate);
    std::vector<float> out(static_cast<std::size_t>(frames) * 2);
    audio::Render(out.data(), frames);
    double sum = 0.0;
    for (float v : out) sum += static_cast<double>(v) * v;
    return out.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(out.size()));
  }

  static std::vector<std::int32_t> MusicList() { return soundGlobals.musicList; }

  TempDir dir_;
};

}  // namespace kiv::test
