#pragma once
// Text to speech: eSpeak NG synthesises each text at once into a push stream
// of our mixer, which plays it while the caller goes on. A new text with purge
// cuts off the one still playing. Without the engine or any voice every call
// does nothing.
#include <string>
#include <vector>

namespace kiv::speech {

struct Voice {
  std::string name;        // UTF-8
  std::string identifier;  // what selects it
};

// Starts the engine; false when it cannot be started.
bool Open();
void Close();
bool IsOpen();
std::vector<Voice> ListVoices();
bool SelectVoice(const std::string& identifier);
// Words per minute, kept within the engine's range.
void SetRate(int wordsPerMinute);
// 0 silent, 100 normal.
void SetVolume(int volume);
// Synthesises the text (UTF-8) and queues it for playing; purge first drops
// whatever is still to be heard. False when nothing could be spoken.
bool Speak(const std::string& text, bool purge);

}  // namespace kiv::speech
