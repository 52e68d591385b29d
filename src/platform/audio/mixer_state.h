#pragma once
// The mixer's internal records, shared by its source files.
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/audio/mixer.h"

namespace kiv::audio::detail {

// Frames a stream channel reads from its source at a time.
inline constexpr int kReadFrames = 1024;
// Values (stereo frames times 2) that Update() may mix ahead: half a second.
inline constexpr std::size_t kAheadValues = kOutputRate / 2 * 2;

struct SampleData {
  std::vector<float> pcm;  // interleaved
  int frequency = 0;
  int channels = 0;
  std::uint32_t maxPlaybacks = 1;
  std::uint32_t flags = 0;
  std::vector<Handle> playbacks;  // its channels
};

struct Slide {
  bool active = false;
  float from = 0.0f;
  float to = 0.0f;  // -1 for a volume fade that stops the channel
  double elapsed = 0.0;
  double duration = 0.0;  // seconds
};

struct Sync {
  Handle handle = 0;
  std::uint32_t type = 0;
  SyncProc proc = nullptr;
  void* user = nullptr;
};

enum class ChannelKind { kSamplePlayback, kStream, kMusic, kMidi, kPush };

struct Channel {
  Handle handle = 0;
  ChannelKind kind = ChannelKind::kStream;
  Handle sample = 0;  // owner of a sample playback
  std::unique_ptr<AudioSource> source;
  std::uint32_t flags = 0;
  int state = kActiveStopped;
  float volume = 1.0f;
  float frequency = 0.0f;
  float pan = 0.0f;
  std::array<Slide, 3> slides{};  // by attribute - 1
  Channel3DAttributes attributes3D;
  Vector3 position;
  Vector3 orientation;
  Vector3 velocity;
  std::vector<Sync> syncs;
  std::uint64_t startedOrder = 0;

  // Decoded frames waiting to be resampled; frame i is at buffer[i * channels].
  std::vector<float> buffer;
  std::size_t bufferFrames = 0;
  double phase = 0.0;            // read position within buffer, in frames
  std::uint64_t readCursor = 0;  // source frame that follows the buffer
  std::uint64_t wrapLength = 0;  // source length seen at the last loop wrap
  bool sourceEnded = false;
  bool endFired = false;
};

struct MixerState {
  std::mutex mutex;
  int device = -1;
  std::uint32_t initFlags = 0;
  bool paused = false;
  bool updateThreads = true;
  Handle nextHandle = 1;
  std::uint64_t nextOrder = 1;
  std::unordered_map<Handle, std::unique_ptr<SampleData>> samples;
  std::unordered_map<Handle, std::unique_ptr<Channel>> channels;
  std::unordered_map<Handle, std::string> fonts;
  std::string defaultFontPath;
  float rolloffFactor = 1.0f;
  // Global volumes 0..10000 of samples, streams and tracker music.
  int sampleVolume = 10000;
  int streamVolume = 10000;
  int musicVolume = 10000;
  Vector3 listenerPosition;
  Vector3 listenerFront{0.0f, 0.0f, 1.0f};
  Vector3 listenerTop{0.0f, 1.0f, 0.0f};
  // Frames mixed ahead by Update() for the device callback: a ring of
  // kAheadValues interleaved values, sized once by the first Update() so that
  // the callback never allocates or frees.
  std::vector<float> ahead;
  std::size_t aheadStart = 0;  // first waiting value
  std::size_t aheadCount = 0;  // waiting values

  void DropAhead() { aheadStart = aheadCount = 0; }

  Handle NewHandle() { return nextHandle++; }
  Channel* FindChannel(Handle handle) {
    auto it = channels.find(handle);
    return it == channels.end() ? nullptr : it->second.get();
  }
};

MixerState& State();
// Mixes frames into out with the lock held.
void RenderLocked(MixerState& state, float* out, int frames);

// The device, in output.cpp.
bool OpenOutput();
void CloseOutput();
void PauseOutput(bool pause);

}  // namespace kiv::audio::detail
