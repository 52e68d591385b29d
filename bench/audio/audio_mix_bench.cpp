// Mixing 32 playing channels (30 sample playbacks, a WAV stream and a MOD)
// for 10 seconds of audio; the counter gives CPU milliseconds per second of audio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/audio/mixer.h"
#include "support/sound_fixtures.h"

namespace {

using namespace kiv;

std::string WriteSound(const std::string& name, const ByteList& bytes) {
  const std::string path = (std::filesystem::temp_directory_path() / name).string();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  return path;
}

void BM_Mix32Channels(benchmark::State& state) {
  audio::Init(0, audio::kOutputRate, audio::kInit3D);
  const std::string effect = WriteSound("kiv_bench_effect.wav",
                                        test::MakeToneWav(test::ToneSpec{.frequency = 330, .seconds = 0.7, .rate = 22050}));
  const std::string music = WriteSound("kiv_bench_music.wav",
                                       test::MakeToneWav(test::ToneSpec{.frequency = 220, .seconds = 4, .channels = 2}));
  const std::string mod = WriteSound("kiv_bench_music.mod", test::MakeTinyMod());
  audio::Set3DPosition({0, 0, 0}, {0, 0, 0}, {0, 0, 1}, {0, 1, 0});
  const audio::Handle sample = audio::SampleLoad(audio::FileRange{effect, 0, 0}, 30, audio::kFlag3D | audio::kFlagLoop);
  for (int i = 0; i < 30; ++i) {
    const audio::Handle channel = audio::SampleGetChannel(sample, false);
    audio::ChannelSet3DPosition(channel, {static_cast<float>(i * 10 - 150), 0, 50}, {0, 0, 0}, {0, 0, 0});
    audio::ChannelSetAttribute(channel, audio::kAttribFrequency, 22050.0f * (1.0f + i * 0.01f));
    audio::ChannelSetAttribute(channel, audio::kAttribVolume, 0.05f);
    audio::ChannelPlay(channel, true);
  }
  const audio::Handle stream = audio::StreamCreateFile(audio::FileRange{music, 0, 0}, audio::kFlagLoop);
  const audio::Handle tracker = audio::MusicLoad(audio::FileRange{mod, 0, 0}, audio::kFlagLoop, audio::kOutputRate);
  audio::ChannelPlay(stream, true);
  audio::ChannelPlay(tracker, true);
  audio::ChannelSlideAttribute(stream, audio::kAttribVolume, 0.2f, 5000);

  constexpr int kFrames = 1024;
  std::vector<float> out(kFrames * 2);
  for (auto _ : state) {
    for (int done = 0; done < 10 * audio::kOutputRate; done += kFrames) {
      audio::Render(out.data(), kFrames);
      benchmark::DoNotOptimize(out.data());
    }
  }
  // Inverted rate: CPU seconds per unit; the unit is a thousandth of the seconds of audio mixed.
  state.counters["ms_cpu_per_s_audio"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * 10.0 / 1000.0, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  audio::Free();
}
BENCHMARK(BM_Mix32Channels)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace
