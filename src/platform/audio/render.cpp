// Mixing: each playing channel is read from its source, resampled to the
// output rate by linear interpolation at its frequency attribute, placed by
// pan or 3D position, and added to the output. Attribute slides advance with
// the mixed time.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/audio/mixer_state.h"

namespace kiv::audio::detail {
namespace {

constexpr int kChunkFrames = 256;  // slides and 3D gains are updated this often

float Dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vector3 Minus(const Vector3& a, const Vector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vector3 Cross(const Vector3& a, const Vector3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Length(const Vector3& a) { return std::sqrt(Dot(a, a)); }

void FireEndSyncs(Channel& channel) {
  for (std::size_t i = 0; i < channel.syncs.size();) {
    const Sync sync = channel.syncs[i];
    if ((sync.type & ~kSyncOnce) == kSyncEnd) {
      if (sync.type & kSyncOnce) {
        channel.syncs.erase(channel.syncs.begin() + static_cast<std::ptrdiff_t>(i));
      } else {
        ++i;
      }
      if (sync.proc) sync.proc(sync.handle, channel.handle, 0, sync.user);
      continue;
    }
    ++i;
  }
}

// Reads the next block of the source behind the buffered frames; false when
// nothing more came (the end, or a push stream waiting for data).
bool Refill(Channel& channel) {
  const int channels = channel.source->Channels();
  const auto consumed = static_cast<std::size_t>(channel.phase);
  if (consumed > 0) {
    const std::size_t keep = channel.bufferFrames - std::min(consumed, channel.bufferFrames);
    std::memmove(channel.buffer.data(), channel.buffer.data() + (channel.bufferFrames - keep) * channels,
                 keep * channels * sizeof(float));
    channel.phase -= static_cast<double>(channel.bufferFrames - keep);
    channel.bufferFrames = keep;
  }
  // The buffer only grows (AddChannel sizes it for the usual case), so the
  // mixing thread neither allocates nor clears memory that Read overwrites.
  const std::size_t needed = (channel.bufferFrames + kReadFrames) * static_cast<std::size_t>(channels);
  if (channel.buffer.size() < needed) channel.buffer.resize(needed);
  float* target = channel.buffer.data() + channel.bufferFrames * channels;
  int got = channel.source->Read(target, kReadFrames);
  if (got <= 0 && channel.kind == ChannelKind::kPush) return false;
  if (got <= 0 && (channel.flags & kFlagLoop)) {
    FireEndSyncs(channel);
    channel.wrapLength = channel.readCursor;
    if (channel.source->Seek(0)) {
      channel.readCursor = 0;
      got = channel.source->Read(target, kReadFrames);
    }
  }
  if (got <= 0) {
    channel.sourceEnded = true;
    return false;
  }
  channel.bufferFrames += static_cast<std::size_t>(got);
  channel.readCursor += static_cast<std::uint64_t>(got);
  return true;
}

struct Gains {
  float left = 1.0f;
  float right = 1.0f;
  bool mono = false;  // down-mix a stereo source first
};

float Attenuation(const MixerState& state, const Channel& channel, const Vector3& relative, float distance) {
  const Channel3DAttributes& a = channel.attributes3D;
  const float minimum = std::max(a.minDistance, 0.0001f);
  if (distance >= a.maxDistance && (channel.flags & kFlagMuteMax)) return 0.0f;
  const float d = std::min(distance, std::max(a.maxDistance, minimum));
  float gain = d <= minimum ? 1.0f : minimum / (minimum + state.rolloffFactor * (d - minimum));
  // The cone: full inside half the inside angle, the outside volume beyond half the outside angle.
  if (a.insideAngle < 360 || a.outsideAngle < 360) {
    const float orientationLength = Length(channel.orientation);
    if (orientationLength > 0.0f && distance > 0.0f) {
      // The angle between where the source faces and the listener as seen from it.
      const float cosine = -Dot(channel.orientation, relative) / (orientationLength * distance);
      const float angle = std::acos(std::clamp(cosine, -1.0f, 1.0f)) * 180.0f / 3.14159265f;
      const float inside = static_cast<float>(a.insideAngle) / 2.0f;
      const float outside = std::max(static_cast<float>(a.outsideAngle) / 2.0f, inside);
      float cone = 1.0f;
      if (angle >= outside) {
        cone = a.outsideVolume;
      } else if (angle > inside) {
        cone = 1.0f + (a.outsideVolume - 1.0f) * (angle - inside) / (outside - inside);
      }
      gain *= cone;
    }
  }
  return gain;
}

// The global volume of the channel's kind, as a factor.
float GlobalVolume(const MixerState& state, ChannelKind kind) {
  int value = state.streamVolume;
  if (kind == ChannelKind::kSamplePlayback) value = state.sampleVolume;
  if (kind == ChannelKind::kMusic) value = state.musicVolume;
  return static_cast<float>(value) / 10000.0f;
}

Gains ComputeGains(const MixerState& state, const Channel& channel) {
  Gains gains;
  const float volume = std::max(channel.volume, 0.0f) * GlobalVolume(state, channel.kind);
  float pan = channel.pan;
  float gain = 1.0f;
  const bool placed = (channel.flags & kFlag3D) && (state.initFlags & kInit3D) &&
                      channel.attributes3D.mode != kMode3DOff;
  if (placed) {
    const Vector3 relative = channel.attributes3D.mode == kMode3DRelative
                                 ? channel.position
                                 : Minus(channel.position, state.listenerPosition);
    const float distance = Length(relative);
    gain = Attenuation(state, channel, relative, distance);
    Vector3 right = Cross(state.listenerTop, state.listenerFront);
    const float rightLength = Length(right);
    pan = (distance > 0.0f && rightLength > 0.0f) ? Dot(relative, right) / (distance * rightLength) : 0.0f;
    gains.mono = true;
  }
  pan = std::clamp(pan, -1.0f, 1.0f);
  gains.left = volume * gain * (pan > 0.0f ? 1.0f - pan : 1.0f);
  gains.right = volume * gain * (pan < 0.0f ? 1.0f + pan : 1.0f);
  return gains;
}

void MixChannel(MixerState& state, Channel& channel, float* out, int frames) {
  const int channels = channel.source->Channels();
  const Gains gains = ComputeGains(state, channel);
  const double step = std::clamp(static_cast<double>(channel.frequency), 100.0, 400000.0) / kOutputRate;
  for (int i = 0; i < frames; ++i) {
    auto index = static_cast<std::size_t>(channel.phase);
    while (index + 1 >= channel.bufferFrames && !channel.sourceEnded) {
      if (!Refill(channel)) break;
      index = static_cast<std::size_t>(channel.phase);
    }
    if (index >= channel.bufferFrames) {
      if (channel.kind == ChannelKind::kPush) return;  // waits for more data
      channel.state = kActiveStopped;
      FireEndSyncs(channel);
      return;
    }
    const float fraction = static_cast<float>(channel.phase - static_cast<double>(index));
    const float* first = channel.buffer.data() + index * channels;
    const float* next = index + 1 < channel.bufferFrames ? first + channels : first;
    if (channels == 1) {
      const float value = first[0] + (next[0] - first[0]) * fraction;
      out[2 * i] += value * gains.left;
      out[2 * i + 1] += value * gains.right;
    } else {
      float left = first[0] + (next[0] - first[0]) * fraction;
      float right = first[1] + (next[1] - first[1]) * fraction;
      if (gains.mono) left = right = (left + right) * 0.5f;
      out[2 * i] += left * gains.left;
      out[2 * i + 1] += right * gains.right;
    }
    channel.phase += step;
  }
}

void SetAttributeValue(Channel& channel, int attribute, float value) {
  switch (attribute) {
    case kAttribFrequency: channel.frequency = value; break;
    case kAttribVolume: channel.volume = value; break;
    case kAttribPan: channel.pan = value; break;
    default: break;
  }
}

void AdvanceSlides(Channel& channel, double seconds) {
  for (int i = 0; i < 3; ++i) {
    Slide& slide = channel.slides[static_cast<std::size_t>(i)];
    if (!slide.active) continue;
    const int attribute = i + 1;
    const bool fadeOut = attribute == kAttribVolume && slide.to < 0.0f;
    const float target = fadeOut ? 0.0f : slide.to;
    slide.elapsed += seconds;
    const double t = slide.duration <= 0.0 ? 1.0 : std::min(1.0, slide.elapsed / slide.duration);
    SetAttributeValue(channel, attribute, static_cast<float>(slide.from + (target - slide.from) * t));
    if (t >= 1.0) {
      slide.active = false;
      if (fadeOut) channel.state = kActiveStopped;
    }
  }
}

}  // namespace

void RenderLocked(MixerState& state, float* out, int frames) {
  std::fill(out, out + static_cast<std::size_t>(frames) * 2, 0.0f);
  if (state.paused) return;
  for (int done = 0; done < frames;) {
    const int count = std::min(kChunkFrames, frames - done);
    float* chunk = out + static_cast<std::size_t>(done) * 2;
    for (auto& [handle, channel] : state.channels) {
      if (channel->state == kActivePlaying && channel->source && !(channel->flags & kFlagDecode)) {
        MixChannel(state, *channel, chunk, count);
      }
    }
    const double seconds = static_cast<double>(count) / kOutputRate;
    for (auto& [handle, channel] : state.channels) AdvanceSlides(*channel, seconds);
    done += count;
  }
  for (int i = 0; i < frames * 2; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

}  // namespace kiv::audio::detail
