#pragma once
// Sound sets over a package file written by the test, with the audio output
// started on the dummy device (mixing only through audio::Render).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/random.h"
#include "media/audio_startup.h"
#include "media/sound_sets.h"
#include "platform/audio/mixer.h"
#include "support/sound_fixtures.h"
#include "support/temp_dir.h"

namespace kiv {

// The RMS of the next seconds of the mix, both sides together.
inline double ListenRms(double seconds) {
  const auto frames = static_cast<int>(seconds * audio::kOutputRate);
  std::vector<float> out(static_cast<std::size_t>(frames) * 2);
  audio::Render(out.data(), frames);
  double sum = 0.0;
  for (float v : out) sum += static_cast<double>(v) * v;
  return std::sqrt(sum / static_cast<double>(out.size()));
}

class AudioFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_TRUE(SoundStartUp());
    soundSets.clear();
    soundGlobals.musicList.clear();
    soundGlobals.musicEnded = false;
    soundGlobals.soundEnabled = true;
    RandomSeed(7);
    audio::Set3DPosition({0, 0, 0}, {0, 0, 0}, {0, 0, 1}, {0, 1, 0});
  }
  void TearDown() override {
    for (std::size_t i = 0; i < soundSets.size(); ++i) SoundUnload(static_cast<std::int32_t>(i));
    soundSets.clear();
  }

  // Adds a sound whose variations are the given sounds, stored one after the
  // other in a package file of their own.
  std::int32_t AddSound(std::uint8_t kind, const std::vector<ByteList>& variations, std::uint8_t loop = 0,
                        std::uint8_t threeD = 0) {
    SoundSet set;
    set.name = u"sound" + std::u16string(1, static_cast<char16_t>(u'0' + soundSets.size()));
    set.kind = kind;
    set.maxPlaybacks = 4;
    set.loop = loop;
    set.threeD = threeD;
    set.packagePath = dir_.File("package" + std::to_string(soundSets.size()));
    ByteList file(100, 0x55);  // other entries of the package
    for (const ByteList& bytes : variations) {
      SoundVariation variation;
      variation.dataOffset = static_cast<std::int64_t>(file.size());
      variation.dataLength = static_cast<std::int32_t>(bytes.size());
      variation.empty = bytes.empty();
      file.insert(file.end(), bytes.begin(), bytes.end());
      file.insert(file.end(), 10, 0x66);
      set.variations.push_back(variation);
    }
    test::WriteTestFile(set.packagePath, file);
    soundSets.push_back(std::move(set));
    return static_cast<std::int32_t>(soundSets.size()) - 1;
  }

  static ByteList Tone(double seconds = 1.0, int channels = 1, double frequency = 441.0) {
    return test::MakeToneWav(test::ToneSpec{.frequency = frequency, .seconds = seconds, .channels = channels});
  }

  test::TempDir dir_;
};

}  // namespace kiv
