#pragma once
// Small sounds for the audio tests and benchmarks, made on the fly: a sine
// tone as a 16-bit PCM WAV, a one-pattern four-channel MOD and a one-note MIDI.
#include <cstdint>

#include "core/byte_list.h"

namespace kiv::test {

struct ToneSpec {
  double frequency = 440.0;  // Hz
  double seconds = 0.5;
  int rate = 44100;
  int channels = 1;  // every channel carries the same tone
  double amplitude = 0.5;  // of full scale
};

ByteList MakeToneWav(const ToneSpec& tone);
// A looping square-wave sample played at C-2 on the first channel for one
// pattern (64 rows at speed 6, about 7.7 s).
ByteList MakeTinyMod();
// Format 0, one track: program 0, middle C for half a second at 120 bpm.
ByteList MakeTinyMidi();

}  // namespace kiv::test
