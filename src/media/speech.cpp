#include "media/speech.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/text_encoding.h"
#include "platform/speech/speech_engine.h"

namespace kiv {
namespace {

constexpr std::int32_t kErrCannotCreateVoice = 429;

struct SpeechGlobals {
  bool voice = false;                      // created
  std::vector<speech::Voice> voiceTokens;  // the list of the last SpeechGetVoiceCount
};
SpeechGlobals speechGlobals;

}  // namespace

std::int32_t SpeechCreateVoice() {
  if (speechGlobals.voice) return 0;
  if (!speech::Open()) return kErrCannotCreateVoice;
  speechGlobals.voice = !speech::ListVoices().empty();
  return 0;
}

void SpeechRelease() {
  speechGlobals.voiceTokens.clear();
  if (speechGlobals.voice || speech::IsOpen()) speech::Close();
  speechGlobals.voice = false;
}

void SpeechSpeak(const std::u16string& text, std::int32_t flags) {
  if (!speechGlobals.voice) return;
  speech::Speak(Utf16ToUtf8(text), (flags & kSpeakPurge) != 0);
}

std::int32_t SpeechGetVoiceCount(const std::u16string& /*required*/, const std::u16string& /*optional*/) {
  speechGlobals.voiceTokens.clear();
  if (speechGlobals.voice) speechGlobals.voiceTokens = speech::ListVoices();
  return static_cast<std::int32_t>(speechGlobals.voiceTokens.size());
}

std::u16string SpeechGetVoiceName(std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= speechGlobals.voiceTokens.size()) return {};
  return Utf8ToUtf16(speechGlobals.voiceTokens[static_cast<std::size_t>(index)].name);
}

void SpeechSelectVoice(std::int32_t index) {
  if (!speechGlobals.voice || index < 0 ||
      static_cast<std::size_t>(index) >= speechGlobals.voiceTokens.size())
    return;
  speech::SelectVoice(speechGlobals.voiceTokens[static_cast<std::size_t>(index)].identifier);
}

int SpeechRateToWordsPerMinute(std::int32_t rate) {
  const double clamped = std::clamp(rate, -10, 10);
  return static_cast<int>(std::lround(175.0 * std::pow(3.0, clamped / 10.0)));
}

void SpeechSetRate(std::int32_t rate) {
  if (speechGlobals.voice) speech::SetRate(SpeechRateToWordsPerMinute(rate));
}

void SpeechSetVolume(std::int32_t volume) {
  if (speechGlobals.voice) speech::SetVolume(std::clamp(volume, 0, 100));
}

}  // namespace kiv
