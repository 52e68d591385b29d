#include "platform/speech/speech_engine.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cstdint>
#include <mutex>

#include "platform/audio/mixer.h"

namespace kiv::speech {
namespace {

struct SpeechState {
  bool open = false;
  int rate = 0;  // samples per second of the engine
  audio::Handle stream = 0;
  std::vector<std::int16_t> pending;  // what the current synthesis produced
};

SpeechState& State() {
  static SpeechState state;
  return state;
}

int OnSynth(short* samples, int count, espeak_EVENT* /*events*/) {
  if (samples != nullptr && count > 0) State().pending.insert(State().pending.end(), samples, samples + count);
  return 0;
}

}  // namespace

bool Open() {
  SpeechState& state = State();
  if (state.open) return true;
  const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 200, nullptr, 0);
  if (rate <= 0) return false;
  espeak_SetSynthCallback(&OnSynth);
  state.rate = rate;
  state.open = true;
  return true;
}

void Close() {
  SpeechState& state = State();
  if (!state.open) return;
  if (state.stream != 0) audio::StreamFree(state.stream);
  espeak_Terminate();
  state = SpeechState{};
}

bool IsOpen() { return State().open; }

std::vector<Voice> ListVoices() {
  std::vector<Voice> voices;
  if (!State().open) return voices;
  const espeak_VOICE** list = espeak_ListVoices(nullptr);
  for (; list != nullptr && *list != nullptr; ++list) {
    const espeak_VOICE* voice = *list;
    voices.push_back(Voice{voice->name ? voice->name : "", voice->identifier ? voice->identifier : ""});
  }
  return voices;
}

bool SelectVoice(const std::string& identifier) {
  if (!State().open) return false;
  return espeak_SetVoiceByName(identifier.c_str()) == EE_OK;
}

void SetRate(int wordsPerMinute) {
  if (!State().open) return;
  espeak_SetParameter(espeakRATE, std::clamp(wordsPerMinute, espeakRATE_MINIMUM, espeakRATE_MAXIMUM), 0);
}

void SetVolume(int volume) {
  if (!State().open) return;
  espeak_SetParameter(espeakVOLUME, std::clamp(volume, 0, 200), 0);
}

bool Speak(const std::string& text, bool purge) {
  SpeechState& state = State();
  if (!state.open || audio::GetDevice() == -1) return false;
  if (state.stream == 0) state.stream = audio::StreamCreatePush(state.rate, 1);
  if (state.stream == 0) return false;
  state.pending.clear();
  const espeak_ERROR result =
      espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
  if (result != EE_OK) return false;
  if (purge) audio::ChannelStop(state.stream);
  audio::StreamPutData(state.stream, state.pending.data(), state.pending.size());
  state.pending.clear();
  return audio::ChannelPlay(state.stream, false);
}

}  // namespace kiv::speech
