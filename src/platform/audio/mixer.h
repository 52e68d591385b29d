#pragma once
// Our audio mixer: samples held decoded in memory and played on channels with
// a playback limit, streams decoded while they play (sampled formats, tracker
// music, MIDI, pushed PCM), per-channel attributes with slides, byte
// positions, 3D placement against one listener, end syncs, and the output
// device (44,100 Hz stereo float through SDL).
//
// All state sits behind one lock. Output runs either from the device callback
// ("update threads" on) or from Update() calls of the game loop, which fill a
// buffer that the callback drains ("update threads" off). Render() mixes the
// next frames directly; tests call it to hear exactly what would be played.
//
// Sync callbacks run inside the mixer with its lock held, on whatever thread
// is mixing: they must not call back into the mixer.
#include <cstdint>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "platform/audio/audio_source.h"

namespace kiv::audio {

using Handle = std::uint32_t;  // 0 is never a valid handle

inline constexpr int kOutputRate = 44100;

// Load and play flags.
inline constexpr std::uint32_t kFlagMono = 0x2;           // samples: keep one channel
inline constexpr std::uint32_t kFlagLoop = 0x4;
inline constexpr std::uint32_t kFlag3D = 0x8;
inline constexpr std::uint32_t kFlagMuteMax = 0x20;       // silent beyond the maximum distance
inline constexpr std::uint32_t kFlagVoiceManaged = 0x40;  // accepted; every channel is mixed in software
inline constexpr std::uint32_t kFlagOverrideLowest = 0x10000;    // samples: take the quietest channel
inline constexpr std::uint32_t kFlagOverrideLongest = 0x20000;   // samples: take the oldest channel
inline constexpr std::uint32_t kFlagOverrideDistance = 0x30000;  // samples: take the most distant channel
inline constexpr std::uint32_t kFlagOverrideMask = 0x30000;
inline constexpr std::uint32_t kFlagPrescan = 0x20000;  // streams: accepted; lengths come from the decoder
inline constexpr std::uint32_t kFlagDecode = 0x200000;  // streams: read with ChannelGetData, never mixed
inline constexpr std::uint32_t kFlagUnicode = 0x80000000u;  // names are UTF-8 here; accepted and ignored

inline constexpr std::uint32_t kInit3D = 0x4;

inline constexpr int kAttribFrequency = 1;
inline constexpr int kAttribVolume = 2;
inline constexpr int kAttribPan = 3;

inline constexpr int kActiveStopped = 0;
inline constexpr int kActivePlaying = 1;
inline constexpr int kActivePaused = 3;

inline constexpr int kMode3DNormal = 0;
inline constexpr int kMode3DRelative = 1;
inline constexpr int kMode3DOff = 2;

inline constexpr std::uint32_t kSyncEnd = 2;
inline constexpr std::uint32_t kSyncOnce = 0x80000000u;
using SyncProc = void (*)(Handle sync, Handle channel, std::uint32_t data, void* user);

// Error codes that ErrorGetCode reports.
inline constexpr int kErrorNone = 0;
inline constexpr int kErrorHandle = 5;      // no sample or channel has the handle (0 included)
inline constexpr int kErrorNoChannel = 18;  // every playback of the sample is busy and none may be taken over

struct ChannelInfo {
  int frequency = 0;  // the source's own rate
  int channels = 0;
  std::uint32_t flags = 0;
};

struct SampleInfo {
  int frequency = 0;
  int channels = 0;
  std::uint32_t maxPlaybacks = 0;
  std::uint32_t flags = 0;
  std::uint64_t lengthBytes = 0;
};

struct Channel3DAttributes {
  int mode = kMode3DNormal;
  float minDistance = 1.0f;
  float maxDistance = 1000000.0f;
  int insideAngle = 360;  // whole degrees
  int outsideAngle = 360;
  float outsideVolume = 1.0f;
};

// Output. device -1 opens the default output, 0 runs without output (mixing
// only through Render). flags: kInit3D asks for 3D placement.
bool Init(int device, int frequency, std::uint32_t flags);
void Free();
int GetDevice();  // -1 when not started, 0 without output, 1 with output
std::uint32_t GetInitFlags();
void SetUpdateThreads(bool on);
// Global volumes, 0 (silent) to 10000 (full), by the audio library's option
// numbers: samples (4), streams (5, also MIDI and pushed PCM) and tracker
// music (6). They hold across Init and Free. False for another option.
inline constexpr int kConfigGlobalSampleVolume = 4;
inline constexpr int kConfigGlobalStreamVolume = 5;
inline constexpr int kConfigGlobalMusicVolume = 6;
bool SetConfig(int option, int value);
int GetConfig(int option);  // -1 for an unknown option
// Mixes milliseconds of audio ahead for the device (update threads off).
bool Update(int milliseconds);
bool Pause();  // output and every channel stand still
bool Start();
// Mixes the next frames (stereo interleaved floats) as the device would get them.
void Render(float* out, int frames);

// Samples.
Handle SampleLoad(const FileRange& range, std::uint32_t maxPlaybacks, std::uint32_t flags);
Handle SampleCreate(std::uint32_t frames, int frequency, int channels, std::uint32_t maxPlaybacks, std::uint32_t flags);
bool SampleSetData(Handle sample, const std::vector<float>& frames);
bool SampleGetInfo(Handle sample, SampleInfo& info);
Handle SampleGetChannel(Handle sample, bool onlyNew);
// The error of the last SampleGetChannel or ChannelGetInfo call made on this
// thread, so that a caller given handle 0 can tell why.
int ErrorGetCode();
bool SampleStop(Handle sample);
bool SampleFree(Handle sample);

// Streams: sampled formats (also WMA), tracker music, MIDI, pushed PCM.
Handle StreamCreateFile(const FileRange& range, std::uint32_t flags);
Handle MusicLoad(const FileRange& range, std::uint32_t flags, int frequency);
Handle MidiStreamCreateFile(const FileRange& range, std::uint32_t flags, int frequency);
Handle StreamCreatePush(int frequency, int channels);
bool StreamPutData(Handle stream, const std::int16_t* samples, std::size_t frames);
bool StreamFree(Handle stream);
bool MusicFree(Handle music);
// Reads a decoding stream to its end (at most maxBytes of 16-bit data) as one
// channel: the mean of its channels.
std::vector<float> DecodeDownmixMono(Handle stream, std::uint64_t maxBytes);

// Sound fonts for MIDI streams: the default font is used by streams created after it is set.
Handle MidiFontInit(const std::string& path);
bool MidiFontFree(Handle font);
bool MidiStreamSetFonts(Handle stream, Handle font);  // stream 0: the default

// Channels (a sample's playback, or a stream itself).
bool ChannelPlay(Handle channel, bool restart);
bool ChannelStop(Handle channel);
int ChannelIsActive(Handle channel);
// flags & mask replace those bits (only looping can change); returns the new flags, 0xFFFFFFFF on failure.
std::uint32_t ChannelFlags(Handle channel, std::uint32_t flags, std::uint32_t mask);
bool ChannelSetAttribute(Handle channel, int attribute, float value);
bool ChannelGetAttribute(Handle channel, int attribute, float& value);
// A volume slide to -1 fades out and stops the channel.
bool ChannelSlideAttribute(Handle channel, int attribute, float value, int milliseconds);
bool ChannelIsSliding(Handle channel, int attribute);
bool ChannelGetInfo(Handle channel, ChannelInfo& info);
// Positions and lengths in bytes of 16-bit data of the source's channels.
std::uint64_t ChannelGetPosition(Handle channel);  // 0xFFFFFFFFFFFFFFFF on failure
bool ChannelSetPosition(Handle channel, std::uint64_t bytes);
std::uint64_t ChannelGetLength(Handle channel);
double ChannelBytes2Seconds(Handle channel, std::uint64_t bytes);
// Whole frames of the source's rate; 0xFFFFFFFFFFFFFFFF on failure or for a negative time.
std::uint64_t ChannelSeconds2Bytes(Handle channel, double seconds);
bool ChannelSet3DAttributes(Handle channel, const Channel3DAttributes& attributes);
bool ChannelGet3DAttributes(Handle channel, Channel3DAttributes& attributes);
bool ChannelSet3DPosition(Handle channel, const Vector3& position, const Vector3& orientation,
                          const Vector3& velocity);
bool ChannelGet3DPosition(Handle channel, Vector3& position, Vector3& orientation, Vector3& velocity);
Handle ChannelSetSync(Handle channel, std::uint32_t type, std::uint64_t parameter, SyncProc proc, void* user);
bool ChannelRemoveSync(Handle channel, Handle sync);

// The listener and the 3D factors; changes take effect at once. Only the
// rolloff factor shapes the mix: distances are taken in the game's units and
// there is no Doppler shift, so the distance and Doppler factors and the
// listener's velocity are accepted and ignored.
bool Set3DFactors(float distance, float rolloff, float doppler);
bool Set3DPosition(const Vector3& position, const Vector3& velocity, const Vector3& front, const Vector3& top);

}  // namespace kiv::audio
