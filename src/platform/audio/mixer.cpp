// The mixer's operations on samples, streams, channels and the listener.
#include "platform/audio/mixer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/audio/mixer_state.h"

namespace kiv::audio {
namespace detail {

MixerState& State() {
  // Never destroyed: the device thread may still mix while the process exits.
  static MixerState* state = new MixerState;
  return *state;
}

}  // namespace detail

namespace {

using detail::Channel;
using detail::ChannelKind;
using detail::MixerState;
using detail::SampleData;
using Lock = std::lock_guard<std::mutex>;

constexpr std::uint64_t kBadPosition = ~std::uint64_t{0};

// Per thread, as the game thread and the device thread both call in.
thread_local int lastError = kErrorNone;

Handle Failed(int error) {
  lastError = error;
  return 0;
}

// A sample's decoded frames played from memory.
class MemorySource final : public AudioSource {
 public:
  explicit MemorySource(const SampleData* data) : data_(data) {}
  int Channels() const override { return data_->channels; }
  int Rate() const override { return data_->frequency; }
  std::uint64_t LengthFrames() override { return data_->pcm.size() / static_cast<std::size_t>(data_->channels); }
  int Read(float* out, int frames) override {
    const std::uint64_t total = LengthFrames();
    const auto count = static_cast<int>(std::min<std::uint64_t>(static_cast<std::uint64_t>(frames), total - position_));
    std::copy_n(data_->pcm.data() + position_ * data_->channels, static_cast<std::size_t>(count) * data_->channels,
                out);
    position_ += static_cast<std::uint64_t>(count);
    return count;
  }
  bool Seek(std::uint64_t frame) override {
    if (frame > LengthFrames()) return false;
    position_ = frame;
    return true;
  }

 private:
  const SampleData* data_;
  std::uint64_t position_ = 0;
};

// PCM handed in by its producer (speech); it waits silently when nothing is
// queued. Reading (on the mixing thread) only moves a position; the played
// part is dropped by the next Put, so the mixing thread never frees memory.
class PushSource final : public AudioSource {
 public:
  PushSource(int rate, int channels) : rate_(rate), channels_(channels) {}
  int Channels() const override { return channels_; }
  int Rate() const override { return rate_; }
  std::uint64_t LengthFrames() override { return 0; }
  int Read(float* out, int frames) override {
    const auto available = (queue_.size() - next_) / static_cast<std::size_t>(channels_);
    const auto count = static_cast<int>(std::min<std::size_t>(available, static_cast<std::size_t>(frames)));
    const auto values = static_cast<std::size_t>(count) * channels_;
    std::copy_n(queue_.data() + next_, values, out);
    next_ += values;
    if (next_ == queue_.size()) Drop();  // keeps the capacity
    return count;
  }
  bool Seek(std::uint64_t frame) override {
    if (frame == 0) Drop();
    return frame == 0;
  }
  void Put(const std::int16_t* samples, std::size_t frames) {
    queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(next_));
    next_ = 0;
    for (std::size_t i = 0; i < frames * static_cast<std::size_t>(channels_); ++i) {
      queue_.push_back(static_cast<float>(samples[i]) / 32768.0f);
    }
  }

 private:
  void Drop() {
    queue_.clear();
    next_ = 0;
  }

  int rate_;
  int channels_;
  std::vector<float> queue_;
  std::size_t next_ = 0;  // first value not yet read
};

void ResetPlayback(Channel& channel) {
  channel.bufferFrames = 0;
  channel.phase = 0.0;
  channel.readCursor = 0;
  channel.wrapLength = 0;
  channel.sourceEnded = false;
}

bool RewindChannel(Channel& channel) {
  if (!channel.source || !channel.source->Seek(0)) return false;
  ResetPlayback(channel);
  return true;
}

Handle AddChannel(MixerState& state, std::unique_ptr<AudioSource> source, ChannelKind kind, std::uint32_t flags) {
  if (!source) return 0;
  auto channel = std::make_unique<Channel>();
  channel->handle = state.NewHandle();
  channel->kind = kind;
  channel->flags = flags;
  channel->frequency = static_cast<float>(source->Rate());
  // Room for the first refills, so that starting to play allocates nothing while mixing.
  if (!(flags & kFlagDecode)) {
    channel->buffer.resize(static_cast<std::size_t>(detail::kReadFrames + 1) * source->Channels());
  }
  channel->source = std::move(source);
  const Handle handle = channel->handle;
  state.channels.emplace(handle, std::move(channel));
  return handle;
}

std::uint64_t BytesPerFrame(const Channel& channel) {
  return static_cast<std::uint64_t>(channel.source ? channel.source->Channels() : 1) * 2;
}

std::uint64_t CurrentFrame(const Channel& channel) {
  const auto behind = static_cast<std::int64_t>(channel.bufferFrames) - static_cast<std::int64_t>(channel.phase);
  std::int64_t frame = static_cast<std::int64_t>(channel.readCursor) - std::max<std::int64_t>(behind, 0);
  if (frame < 0) frame += static_cast<std::int64_t>(channel.wrapLength);  // just after a loop wrap
  return static_cast<std::uint64_t>(std::max<std::int64_t>(frame, 0));
}

bool FreeChannelLocked(MixerState& state, Handle handle, ChannelKind kind) {
  auto it = state.channels.find(handle);
  if (it == state.channels.end() || it->second->kind != kind) return false;
  state.channels.erase(it);
  return true;
}

}  // namespace

bool Init(int device, int frequency, std::uint32_t flags) {
  MixerState& state = detail::State();
  {
    Lock lock(state.mutex);
    if (state.device != -1 || frequency <= 0) return false;
  }
  if (device != 0 && !detail::OpenOutput()) return false;
  Lock lock(state.mutex);
  state.device = device == 0 ? 0 : 1;
  state.initFlags = flags & kInit3D;
  state.paused = false;
  return true;
}

void Free() {
  MixerState& state = detail::State();
  detail::CloseOutput();
  Lock lock(state.mutex);
  state.channels.clear();
  state.samples.clear();
  state.fonts.clear();
  state.defaultFontPath.clear();
  state.DropAhead();
  state.device = -1;
  state.initFlags = 0;
  state.paused = false;
  state.updateThreads = true;
  state.rolloffFactor = 1.0f;
  state.listenerPosition = Vector3{};
  state.listenerFront = Vector3{0.0f, 0.0f, 1.0f};
  state.listenerTop = Vector3{0.0f, 1.0f, 0.0f};
}

int GetDevice() {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  return state.device;
}

std::uint32_t GetInitFlags() {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  return state.initFlags;
}

void SetUpdateThreads(bool on) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  state.updateThreads = on;
  if (on) state.DropAhead();
}

bool SetConfig(int option, int value) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  const int clamped = value < 0 ? 0 : (value > 10000 ? 10000 : value);
  switch (option) {
    case kConfigGlobalSampleVolume: state.sampleVolume = clamped; return true;
    case kConfigGlobalStreamVolume: state.streamVolume = clamped; return true;
    case kConfigGlobalMusicVolume: state.musicVolume = clamped; return true;
    default: return false;
  }
}

int GetConfig(int option) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  switch (option) {
    case kConfigGlobalSampleVolume: return state.sampleVolume;
    case kConfigGlobalStreamVolume: return state.streamVolume;
    case kConfigGlobalMusicVolume: return state.musicVolume;
    default: return -1;
  }
}

bool Update(int milliseconds) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  if (state.device != 1 || milliseconds <= 0) return false;
  // Keep at most half a second ahead of the device.
  const std::size_t room = (detail::kAheadValues - state.aheadCount) / 2;
  std::size_t frames = std::min<std::size_t>(room, static_cast<std::size_t>(milliseconds) * kOutputRate / 1000);
  if (frames == 0) return true;
  if (state.ahead.empty()) state.ahead.resize(detail::kAheadValues);
  // Mix straight into the free part of the ring, which may wrap once.
  std::size_t end = (state.aheadStart + state.aheadCount) % detail::kAheadValues;
  while (frames > 0) {
    const std::size_t piece = std::min(frames, (detail::kAheadValues - end) / 2);
    detail::RenderLocked(state, state.ahead.data() + end, static_cast<int>(piece));
    state.aheadCount += piece * 2;
    end = (end + piece * 2) % detail::kAheadValues;
    frames -= piece;
  }
  return true;
}

bool Pause() {
  MixerState& state = detail::State();
  {
    Lock lock(state.mutex);
    if (state.device == -1) return false;
    state.paused = true;
  }
  detail::PauseOutput(true);
  return true;
}

bool Start() {
  MixerState& state = detail::State();
  {
    Lock lock(state.mutex);
    if (state.device == -1) return false;
    state.paused = false;
  }
  detail::PauseOutput(false);
  return true;
}

void Render(float* out, int frames) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  detail::RenderLocked(state, out, frames);
}

Handle SampleLoad(const FileRange& range, std::uint32_t maxPlaybacks, std::uint32_t flags) {
  if (maxPlaybacks == 0) return 0;
  std::unique_ptr<AudioSource> source = OpenFfmpegSource(range);
  if (!source) return 0;
  // A placed sample must have one channel; the caller down-mixes it.
  if ((flags & kFlag3D) && source->Channels() > 1) return 0;
  auto data = std::make_unique<SampleData>();
  data->channels = source->Channels();
  data->frequency = source->Rate();
  data->maxPlaybacks = maxPlaybacks;
  data->flags = flags;
  std::vector<float> block(4096 * static_cast<std::size_t>(data->channels));
  while (true) {
    const int got = source->Read(block.data(), 4096);
    if (got <= 0) break;
    data->pcm.insert(data->pcm.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(got) * data->channels);
  }
  if (data->pcm.empty()) return 0;
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  const Handle handle = state.NewHandle();
  state.samples.emplace(handle, std::move(data));
  return handle;
}

Handle SampleCreate(std::uint32_t frames, int frequency, int channels, std::uint32_t maxPlaybacks,
                    std::uint32_t flags) {
  if (frames == 0 || frequency <= 0 || channels < 1 || channels > 2 || maxPlaybacks == 0) return 0;
  if ((flags & kFlag3D) && channels > 1) return 0;
  auto data = std::make_unique<SampleData>();
  data->pcm.assign(static_cast<std::size_t>(frames) * channels, 0.0f);
  data->frequency = frequency;
  data->channels = channels;
  data->maxPlaybacks = maxPlaybacks;
  data->flags = flags;
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  const Handle handle = state.NewHandle();
  state.samples.emplace(handle, std::move(data));
  return handle;
}

bool SampleSetData(Handle sample, const std::vector<float>& frames) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  auto it = state.samples.find(sample);
  if (it == state.samples.end()) return false;
  std::vector<float>& pcm = it->second->pcm;
  std::copy_n(frames.begin(), std::min(frames.size(), pcm.size()), pcm.begin());
  return true;
}

bool SampleGetInfo(Handle sample, SampleInfo& info) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  auto it = state.samples.find(sample);
  if (it == state.samples.end()) return false;
  const SampleData& data = *it->second;
  info.frequency = data.frequency;
  info.channels = data.channels;
  info.maxPlaybacks = data.maxPlaybacks;
  info.flags = data.flags;
  info.lengthBytes = data.pcm.size() * 2;
  return true;
}

Handle SampleGetChannel(Handle sample, bool onlyNew) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  auto it = state.samples.find(sample);
  if (it == state.samples.end()) return Failed(kErrorHandle);
  lastError = kErrorNone;
  SampleData& data = *it->second;
  auto fresh = [&](Channel& channel) {
    channel.state = kActiveStopped;
    channel.volume = 1.0f;
    channel.pan = 0.0f;
    channel.frequency = static_cast<float>(data.frequency);
    channel.flags = data.flags;
    channel.slides = {};
    channel.syncs.clear();
    channel.startedOrder = 0;
    RewindChannel(channel);
    return channel.handle;
  };
  // A playback that has been played and has ended is free again.
  for (Handle handle : data.playbacks) {
    Channel* channel = state.FindChannel(handle);
    if (channel && channel->state == kActiveStopped && channel->startedOrder != 0) return fresh(*channel);
  }
  if (data.playbacks.size() < data.maxPlaybacks) {
    const Handle handle =
        AddChannel(state, std::make_unique<MemorySource>(&data), ChannelKind::kSamplePlayback, data.flags);
    state.FindChannel(handle)->sample = sample;
    data.playbacks.push_back(handle);
    return handle;
  }
  if (onlyNew) return Failed(kErrorNoChannel);
  Channel* chosen = nullptr;
  auto score = [&](const Channel& channel) -> double {
    switch (data.flags & kFlagOverrideMask) {
      case kFlagOverrideLowest: return -channel.volume;
      case kFlagOverrideLongest: return -static_cast<double>(channel.startedOrder);
      case kFlagOverrideDistance: {
        const Vector3 d{channel.position.x - state.listenerPosition.x, channel.position.y - state.listenerPosition.y,
                        channel.position.z - state.listenerPosition.z};
        return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
      }
      default: return 0.0;
    }
  };
  if ((data.flags & kFlagOverrideMask) == 0) return Failed(kErrorNoChannel);
  for (Handle handle : data.playbacks) {
    Channel* channel = state.FindChannel(handle);
    if (channel && (!chosen || score(*channel) > score(*chosen))) chosen = channel;
  }
  return chosen ? fresh(*chosen) : Failed(kErrorNoChannel);
}

int ErrorGetCode() { return lastError; }

bool SampleStop(Handle sample) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  auto it = state.samples.find(sample);
  if (it == state.samples.end()) return false;
  for (Handle handle : it->second->playbacks) {
    if (Channel* channel = state.FindChannel(handle)) channel->state = kActiveStopped;
  }
  return true;
}

bool SampleFree(Handle sample) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  auto it = state.samples.find(sample);
  if (it == state.samples.end()) return false;
  for (Handle handle : it->second->playbacks) state.channels.erase(handle);
  state.samples.erase(it);
  return true;
}

Handle StreamCreateFile(const FileRange& range, std::uint32_t flags) {
  std::unique_ptr<AudioSource> source = OpenFfmpegSource(range);
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  return AddChannel(state, std::move(source), ChannelKind::kStream, flags);
}

Handle MusicLoad(const FileRange& range, std::uint32_t flags, int frequency) {
  if (frequency <= 0) return 0;
  std::unique_ptr<AudioSource> source = OpenModSource(range, frequency);
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  return AddChannel(state, std::move(source), ChannelKind::kMusic, flags);
}

Handle MidiStreamCreateFile(const FileRange& range, std::uint32_t flags, int frequency) {
  if (frequency <= 0) return 0;
  MixerState& state = detail::State();
  std::string font;
  {
    Lock lock(state.mutex);
    font = state.defaultFontPath;
  }
  std::unique_ptr<AudioSource> source = OpenMidiSource(range, frequency, font);
  Lock lock(state.mutex);
  return AddChannel(state, std::move(source), ChannelKind::kMidi, flags);
}

Handle StreamCreatePush(int frequency, int channels) {
  if (frequency <= 0 || channels < 1 || channels > 2) return 0;
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  return AddChannel(state, std::make_unique<PushSource>(frequency, channels), ChannelKind::kPush, 0);
}

bool StreamPutData(Handle stream, const std::int16_t* samples, std::size_t frames) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  Channel* channel = state.FindChannel(stream);
  if (!channel || channel->kind != ChannelKind::kPush) return false;
  static_cast<PushSource*>(channel->source.get())->Put(samples, frames);
  return true;
}

bool StreamFree(Handle stream) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  return FreeChannelLocked(state, stream, ChannelKind::kStream) || FreeChannelLocked(state, stream, ChannelKind::kMidi) ||
         FreeChannelLocked(state, stream, ChannelKind::kPush);
}

bool MusicFree(Handle music) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  return FreeChannelLocked(state, music, ChannelKind::kMusic);
}

std::vector<float> DecodeDownmixMono(Handle stream, std::uint64_t maxBytes) {
  MixerState& state = detail::State();
  std::unique_lock<std::mutex> lock(state.mutex);
  std::vector<float> mono;
  Channel* channel = state.FindChannel(stream);
  if (!channel || !channel->source) return mono;
  // A decoding stream is never mixed and its flag never changes: decode it
  // without holding up the output for the whole file.
  if (channel->flags & kFlagDecode) lock.unlock();
  const int channels = channel->source->Channels();
  const std::uint64_t maxFrames = maxBytes / (2 * static_cast<std::uint64_t>(channels));
  std::vector<float> block(4096 * static_cast<std::size_t>(channels));
  while (mono.size() < maxFrames) {
    const int want = static_cast<int>(std::min<std::uint64_t>(4096, maxFrames - mono.size()));
    const int got = channel->source->Read(block.data(), want);
    if (got <= 0) break;
    for (int i = 0; i < got; ++i) {
      float sum = 0.0f;
      for (int c = 0; c < channels; ++c) sum += block[static_cast<std::size_t>(i * channels + c)];
      mono.push_back(sum / static_cast<float>(channels));
    }
  }
  return mono;
}

Handle MidiFontInit(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return 0;
  std::fclose(file);
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  const Handle handle = state.NewHandle();
  state.fonts.emplace(handle, path);
  return handle;
}

bool MidiFontFree(Handle font) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  return state.fonts.erase(font) > 0;
}

bool MidiStreamSetFonts(Handle stream, Handle font) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  auto it = state.fonts.find(font);
  if (stream != 0 || it == state.fonts.end()) return false;  // only the default is kept
  state.defaultFontPath = it->second;
  return true;
}

bool ChannelPlay(Handle handle, bool restart) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  Channel* channel = state.FindChannel(handle);
  if (!channel || (channel->flags & kFlagDecode)) return false;
  if (restart || channel->sourceEnded) {
    if (!RewindChannel(*channel)) return false;
  }
  channel->state = kActivePlaying;
  channel->startedOrder = state.nextOrder++;
  return true;
}

bool ChannelStop(Handle handle) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  Channel* channel = state.FindChannel(handle);
  if (!channel) return false;
  channel->state = kActiveStopped;
  channel->slides = {};
  if (channel->kind == ChannelKind::kPush) RewindChannel(*channel);  // drops what is queued
  return true;
}

int ChannelIsActive(Handle handle) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  Channel* channel = state.FindChannel(handle);
  if (!channel) return kActiveStopped;
  if (channel->state == kActivePlaying && state.paused) return kActivePaused;
  return channel->state;
}

std::uint32_t ChannelFlags(Handle handle, std::uint32_t flags, std::uint32_t mask) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  Channel* channel = state.FindChannel(handle);
  if (!channel) return 0xFFFFFFFFu;
  mask &= kFlagLoop;
  channel->flags = (channel->flags & ~mask) | (flags & mask);
  return channel->flags;
}

bool ChannelSetAttribute(Handle handle, int attribute, float value) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  Channel* channel = state.FindChannel(handle);
  if (!channel || attribute < kAttribFrequency || attribute > kAttribPan) return false;
  channel->slides[static_cast<std::size_t>(attribute - 1)].active = false;
  switch (attribute) {
    case kAttribFrequency:
      // 0 restores the source's own rate.
      channel->frequency = value == 0.0f && channel->source ? static_cast<float>(channel->source->Rate()) : value;
      break;
    case kAttribVolume: channel->volume = std::max(value, 0.0f); break;
    default: channel->pan = std::clamp(value, -1.0f, 1.0f); break;
  }
  return true;
}

bool ChannelGetAttribute(Handle handle, int attribute, float& value) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  Channel* channel = state.FindChannel(handle);
  if (!channel) return false;
  switch (attribute) {
    case kAttribFrequency: value = channel->frequency; return true;
    case kAttribVolume: value = channel->volume; return true;
    case kAttribPan: value = channel->pan; return true;
    default: return false;
  }
}

bool ChannelSlideAttribute(Handle handle, int attribute, float value, int milliseconds) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  Channel* channel = state.FindChannel(handle);
  if (!channel || attribute < kAttribFrequency || attribute > kAttribPan) return false;
  detail::Slide& slide = channel->slides[static_cast<std::size_t>(attribute - 1)];
  slide.active = true;
  slide.from = attribute == kAttribFrequency ? channel->frequency
               : attribute == kAttribVolume  ? channel->volume
                                             : channel->pan;
  slide.to = value;
  slide.elapsed = 0.0;
  slide.duration = std::max(milliseconds, 0) / 1000.0;
  return true;
}

bool ChannelIsSliding(Handle handle, int attribute) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  Channel* channel = state.FindChannel(handle);
  if (!channel || attribute < kAttribFrequency || attribute > kAttribPan) return false;
  return channel->slides[static_cast<std::size_t>(attribute - 1)].active;
}

bool ChannelGetInfo(Handle handle, ChannelInfo& info) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  Channel* channel = state.FindChannel(handle);
  if (!channel || !channel->source) {
    lastError = kErrorHandle;
    return false;
  }
  lastError = kErrorNone;
  info.frequency = channel->source->Rate();
  info.channels = channel->source->Channels();
  info.flags = channel->flags;
  return true;
}

std::uint64_t ChannelGetPosition(Handle handle) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  Channel* channel = state.FindChannel(handle);
  if (!channel) return kBadPosition;
  return CurrentFrame(*channel) * BytesPerFrame(*channel);
}

bool ChannelSetPosition(Handle handle, std::uint64_t bytes) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  Channel* channel = state.FindChannel(handle);
  if (!channel || !channel->source) return false;
  const std::uint64_t frame = bytes / BytesPerFrame(*channel);
  if (!channel->source->Seek(frame)) return false;
  ResetPlayback(*channel);
  channel->readCursor = frame;
  return true;
}

std::uint64_t ChannelGetLength(Handle handle) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  Channel* channel = state.FindChannel(handle);
  if (!channel || !channel->source) return kBadPosition;
  return channel->source->LengthFrames() * BytesPerFrame(*channel);
}

double ChannelBytes2Seconds(Handle handle, std::uint64_t bytes) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  Channel* channel = state.FindChannel(handle);
  if (!channel || !channel->source) return -1.0;
  return static_cast<double>(bytes / BytesPerFrame(*channel)) / channel->source->Rate();
}

std::uint64_t ChannelSeconds2Bytes(Handle handle, double seconds) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  Channel* channel = state.FindChannel(handle);
  if (!channel || !channel->source || !(seconds >= 0.0)) return kBadPosition;
  const double frames = std::floor(seconds * channel->source->Rate());
  if (frames >= 9.0e15) return kBadPosition;
  return static_cast<std::uint64_t>(frames) * BytesPerFrame(*channel);
}

bool ChannelSet3DAttributes(Handle handle, const Channel3DAttributes& attributes) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  Channel* channel = state.FindChannel(handle);
  if (!channel) return false;
  channel->attributes3D = attributes;
  return true;
}

bool ChannelGet3DAttributes(Handle handle, Channel3DAttributes& attributes) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  Channel* channel = state.FindChannel(handle);
  if (!channel) return false;
  attributes = channel->attributes3D;
  return true;
}

bool ChannelSet3DPosition(Handle handle, const Vector3& position, const Vector3& orientation,
                          const Vector3& velocity) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  Channel* channel = state.FindChannel(handle);
  if (!channel) return false;
  channel->position = position;
  channel->orientation = orientation;
  channel->velocity = velocity;
  return true;
}

bool ChannelGet3DPosition(Handle handle, Vector3& position, Vector3& orientation, Vector3& velocity) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  Channel* channel = state.FindChannel(handle);
  if (!channel) return false;
  position = channel->position;
  orientation = channel->orientation;
  velocity = channel->velocity;
  return true;
}

Handle ChannelSetSync(Handle handle, std::uint32_t type, std::uint64_t /*parameter*/, SyncProc proc, void* user) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  Channel* channel = state.FindChannel(handle);
  if (!channel || !proc || (type & ~kSyncOnce) != kSyncEnd) return 0;  // only end syncs are offered
  const Handle sync = state.NewHandle();
  channel->syncs.push_back(detail::Sync{sync, type, proc, user});
  return sync;
}

bool ChannelRemoveSync(Handle handle, Handle sync) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  Channel* channel = state.FindChannel(handle);
  if (!channel) return false;
  const auto before = channel->syncs.size();
  std::erase_if(channel->syncs, [&](const detail::Sync& s) { return s.handle == sync; });
  return channel->syncs.size() != before;
}

bool Set3DFactors(float /*distance*/, float rolloff, float /*doppler*/) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  if (!(state.initFlags & kInit3D)) return false;
  if (rolloff >= 0.0f) state.rolloffFactor = rolloff;
  return true;
}

bool Set3DPosition(const Vector3& position, const Vector3& /*velocity*/, const Vector3& front, const Vector3& top) {
  MixerState& state = detail::State();
  Lock lock(state.mutex);
  if (!(state.initFlags & kInit3D)) return false;
  state.listenerPosition = position;
  state.listenerFront = front;
  state.listenerTop = top;
  return true;
}

}  // namespace kiv::audio
