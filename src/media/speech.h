#pragma once
// The player's voice: speaks captions and texts, lists and selects the
// installed voices, sets rate (-10..10) and volume (0..100). Speaking never
// waits; a new text with flag 2 cuts off the one being spoken. Without a
// voice (none installed, or creation failed) every call does nothing.
#include <cstdint>
#include <string>

namespace kiv {

inline constexpr std::int32_t kSpeakAsync = 1;
inline constexpr std::int32_t kSpeakPurge = 2;

// 0 on success, else an error number (the voice stays empty).
std::int32_t SpeechCreateVoice();
void SpeechRelease();
void SpeechSpeak(const std::u16string& text, std::int32_t flags);
// The installed voices (the attribute texts select nothing more here).
std::int32_t SpeechGetVoiceCount(const std::u16string& required, const std::u16string& optional);
// The name of voice index of the last list; empty outside it.
std::u16string SpeechGetVoiceName(std::int32_t index);
// Selects a voice of the last list; an index outside it changes nothing.
void SpeechSelectVoice(std::int32_t index);
void SpeechSetRate(std::int32_t rate);
void SpeechSetVolume(std::int32_t volume);
// The engine's words per minute for a rate: 175 at 0, three times faster at 10, slower at -10.
int SpeechRateToWordsPerMinute(std::int32_t rate);

}  // namespace kiv
