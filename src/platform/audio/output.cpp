// The output device: an SDL audio device at 44,100 Hz, stereo, 32-bit float.
// Its callback mixes directly while the update threads are on, and otherwise
// plays what Update() mixed ahead (silence when that runs dry).
#include <SDL.h>

#include <algorithm>

#include "platform/audio/mixer_state.h"

namespace kiv::audio::detail {
namespace {

SDL_AudioDeviceID outputDevice = 0;

void OutputCallback(void* /*user*/, Uint8* stream, int length) {
  MixerState& state = State();
  auto* out = reinterpret_cast<float*>(stream);
  const int frames = length / static_cast<int>(2 * sizeof(float));
  std::lock_guard<std::mutex> lock(state.mutex);
  if (state.updateThreads) {
    RenderLocked(state, out, frames);
    return;
  }
  const std::size_t values = std::min(state.aheadCount, static_cast<std::size_t>(frames) * 2);
  for (std::size_t copied = 0; copied < values;) {
    const std::size_t piece = std::min(values - copied, kAheadValues - state.aheadStart);
    std::copy_n(state.ahead.data() + state.aheadStart, piece, out + copied);
    state.aheadStart = (state.aheadStart + piece) % kAheadValues;
    state.aheadCount -= piece;
    copied += piece;
  }
  std::fill(out + values, out + static_cast<std::size_t>(frames) * 2, 0.0f);
}

}  // namespace

bool OpenOutput() {
  if (outputDevice != 0) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec wanted{};
  wanted.freq = kOutputRate;
  wanted.format = AUDIO_F32SYS;
  wanted.channels = 2;
  wanted.samples = 1024;
  wanted.callback = &OutputCallback;
  SDL_AudioSpec obtained{};
  outputDevice = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (outputDevice == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  SDL_PauseAudioDevice(outputDevice, 0);
  return true;
}

void CloseOutput() {
  if (outputDevice == 0) return;
  SDL_CloseAudioDevice(outputDevice);
  outputDevice = 0;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void PauseOutput(bool pause) {
  if (outputDevice != 0) SDL_PauseAudioDevice(outputDevice, pause ? 1 : 0);
}

}  // namespace kiv::audio::detail
