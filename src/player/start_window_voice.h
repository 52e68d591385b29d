#pragma once
// Inside the start window: speaking menu texts and releasing the voice.
#include <string>

namespace kiv {

// Speaks asynchronously, cutting off what is being spoken.
void SpeakMenuText(const std::u16string& text);
// Releases the voice; the next activation creates a new one.
void ReleaseVoice();

}  // namespace kiv
