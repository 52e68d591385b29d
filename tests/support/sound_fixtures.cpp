#include "support/sound_fixtures.h"

#include <cmath>
#include <cstring>
#include <string>

namespace kiv::test {
namespace {

void PutLe(ByteList& bytes, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutBe(ByteList& bytes, std::uint32_t value, int width) {
  for (int i = width - 1; i >= 0; --i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutText(ByteList& bytes, const char* text) { bytes.insert(bytes.end(), text, text + std::strlen(text)); }

}  // namespace

ByteList MakeToneWav(const ToneSpec& tone) {
  const auto frames = static_cast<std::uint32_t>(tone.seconds * tone.rate);
  const std::uint32_t dataBytes = frames * static_cast<std::uint32_t>(tone.channels) * 2;
  ByteList bytes;
  PutText(bytes, "RIFF");
  PutLe(bytes, 36 + dataBytes, 4);
  PutText(bytes, "WAVEfmt ");
  PutLe(bytes, 16, 4);
  PutLe(bytes, 1, 2);  // PCM
  PutLe(bytes, static_cast<std::uint32_t>(tone.channels), 2);
  PutLe(bytes, static_cast<std::uint32_t>(tone.rate), 4);
  PutLe(bytes, static_cast<std::uint32_t>(tone.rate * tone.channels * 2), 4);
  PutLe(bytes, static_cast<std::uint32_t>(tone.channels * 2), 2);
  PutLe(bytes, 16, 2);
  PutText(bytes, "data");
  PutLe(bytes, dataBytes, 4);
  for (std::uint32_t i = 0; i < frames; ++i) {
    const double value = tone.amplitude * std::sin(2.0 * M_PI * tone.frequency * i / tone.rate);
    const auto sample = static_cast<std::int16_t>(std::lround(value * 32767.0));
    for (int c = 0; c < tone.channels; ++c) PutLe(bytes, static_cast<std::uint16_t>(sample), 2);
  }
  return bytes;
}

ByteList MakeTinyMod() {
  ByteList bytes(20, 0);  // title
  constexpr int kSampleWords = 32;
  for (int s = 0; s < 31; ++s) {
    ByteList header(30, 0);
    if (s == 0) {
      header[22] = 0;
      header[23] = kSampleWords;  // length in words, big-endian
      header[25] = 64;            // volume
      header[27] = 0;             // loop start
      header[28] = 0;
      header[29] = kSampleWords;  // loop length
    } else {
      header[29] = 1;  // an unused sample loops one word, as trackers write it
    }
    bytes.insert(bytes.end(), header.begin(), header.end());
  }
  bytes.push_back(1);    // song length
  bytes.push_back(127);  // restart
  bytes.insert(bytes.end(), 128, 0);
  PutText(bytes, "M.K.");
  for (int row = 0; row < 64; ++row) {
    for (int channel = 0; channel < 4; ++channel) {
      if (row == 0 && channel == 0) {
        const std::uint32_t period = 428;  // C-2
        const std::uint32_t sample = 1;
        bytes.push_back(static_cast<std::uint8_t>((sample & 0xF0) | (period >> 8)));
        bytes.push_back(static_cast<std::uint8_t>(period & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((sample & 0x0F) << 4));
        bytes.push_back(0);
      } else {
        bytes.insert(bytes.end(), 4, 0);
      }
    }
  }
  for (int i = 0; i < kSampleWords * 2; ++i) bytes.push_back(static_cast<std::uint8_t>(i < kSampleWords ? 100 : -100));
  return bytes;
}

ByteList MakeTinyMidi() {
  ByteList track;
  const std::uint8_t events[] = {
      0x00, 0xC0, 0x00,        // program 0
      0x00, 0x90, 0x3C, 0x64,  // note on, middle C
      0x60, 0x80, 0x3C, 0x40,  // 96 ticks later, note off
      0x00, 0xFF, 0x2F, 0x00,  // end of track
  };
  track.insert(track.end(), std::begin(events), std::end(events));
  ByteList bytes;
  PutText(bytes, "MThd");
  PutBe(bytes, 6, 4);
  PutBe(bytes, 0, 2);   // format 0
  PutBe(bytes, 1, 2);   // one track
  PutBe(bytes, 96, 2);  // ticks per quarter note
  PutText(bytes, "MTrk");
  PutBe(bytes, static_cast<std::uint32_t>(track.size()), 4);
  bytes.insert(bytes.end(), track.begin(), track.end());
  return bytes;
}

}  // namespace kiv::test
