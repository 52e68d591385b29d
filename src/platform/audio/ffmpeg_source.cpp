// Sampled formats (WAV, OGG, MP3, FLAC, WavPack, WMA) through FFmpeg, read
// from a byte range of a file through our own I/O callbacks.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/audio/audio_source.h"
#include "platform/audio/file_range_reader.h"

namespace kiv::audio {
namespace {

constexpr int kIoBufferSize = 16384;

class FfmpegSource final : public AudioSource {
 public:
  ~FfmpegSource() override { Close(); }

  bool Open(const FileRange& range) {
    av_log_set_level(AV_LOG_QUIET);
    if (!reader_.Open(range)) return false;
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferSize));
    if (!buffer) return false;
    io_ = avio_alloc_context(buffer, kIoBufferSize, 0, this, &ReadPacket, nullptr, &SeekPacket);
    if (!io_) {
      av_free(buffer);
      return false;
    }
    format_ = avformat_alloc_context();
    if (!format_) return false;
    format_->pb = io_;
    format_->flags |= AVFMT_FLAG_CUSTOM_IO;
    if (avformat_open_input(&format_, nullptr, nullptr, nullptr) < 0) {
      format_ = nullptr;  // freed by the failed open
      return false;
    }
    if (avformat_find_stream_info(format_, nullptr) < 0) return false;
    const AVCodec* codec = nullptr;
    stream_ = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (stream_ < 0 || !codec) return false;
    AVStream* stream = format_->streams[stream_];
    decoder_ = avcodec_alloc_context3(codec);
    if (!decoder_) return false;
    if (avcodec_parameters_to_context(decoder_, stream->codecpar) < 0) return false;
    if (avcodec_open2(decoder_, codec, nullptr) < 0) return false;
    if (decoder_->sample_rate <= 0 || decoder_->ch_layout.nb_channels <= 0) return false;
    rate_ = decoder_->sample_rate;
    channels_ = decoder_->ch_layout.nb_channels == 1 ? 1 : 2;
    if (!OpenResampler()) return false;
    packet_ = av_packet_alloc();
    frame_ = av_frame_alloc();
    if (!packet_ || !frame_) return false;
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
      length_ = static_cast<std::uint64_t>(av_rescale_q(stream->duration, stream->time_base, AVRational{1, rate_}));
    } else if (format_->duration != AV_NOPTS_VALUE && format_->duration > 0) {
      length_ = static_cast<std::uint64_t>(av_rescale(format_->duration, rate_, AV_TIME_BASE));
    }
    return true;
  }

  int Channels() const override { return channels_; }
  int Rate() const override { return rate_; }
  std::uint64_t LengthFrames() override { return length_; }

  int Read(float* out, int frames) override {
    int done = 0;
    while (done < frames) {
      const std::size_t have = (pending_.size() - pendingPos_) / static_cast<std::size_t>(channels_);
      if (have > 0) {
        const std::size_t take = std::min<std::size_t>(have, static_cast<std::size_t>(frames - done));
        const std::size_t values = take * static_cast<std::size_t>(channels_);
        std::memcpy(out + static_cast<std::size_t>(done) * channels_, pending_.data() + pendingPos_,
                    values * sizeof(float));
        pendingPos_ += values;
        done += static_cast<int>(take);
        continue;
      }
      if (!DecodeMore()) break;
    }
    return done;
  }

  bool Seek(std::uint64_t frame) override {
    AVStream* stream = format_->streams[stream_];
    const std::int64_t target = av_rescale_q(static_cast<std::int64_t>(frame), AVRational{1, rate_}, stream->time_base);
    if (av_seek_frame(format_, stream_, target, AVSEEK_FLAG_BACKWARD) < 0 &&
        av_seek_frame(format_, stream_, target, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY) < 0) {
      return false;
    }
    avcodec_flush_buffers(decoder_);
    swr_close(swr_);
    if (swr_init(swr_) < 0) return false;
    pending_.clear();
    pendingPos_ = 0;
    ended_ = false;
    draining_ = false;
    skipTo_ = static_cast<std::int64_t>(frame);
    return true;
  }

 private:
  static int ReadPacket(void* opaque, std::uint8_t* buffer, int size) {
    auto* self = static_cast<FfmpegSource*>(opaque);
    const std::size_t got = self->reader_.Read(buffer, static_cast<std::size_t>(size));
    return got == 0 ? AVERROR_EOF : static_cast<int>(got);
  }

  static std::int64_t SeekPacket(void* opaque, std::int64_t offset, int whence) {
    auto* self = static_cast<FfmpegSource*>(opaque);
    const auto size = static_cast<std::int64_t>(self->reader_.Size());
    std::int64_t position = 0;
    switch (whence & ~AVSEEK_FORCE) {
      case AVSEEK_SIZE: return size;
      case SEEK_SET: position = offset; break;
      case SEEK_CUR: position = static_cast<std::int64_t>(self->reader_.Tell()) + offset; break;
      case SEEK_END: position = size + offset; break;
      default: return -1;
    }
    if (position < 0 || !self->reader_.Seek(static_cast<std::uint64_t>(position))) return -1;
    return position;
  }

  bool OpenResampler() {
    AVChannelLayout inLayout{};
    if (decoder_->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
      av_channel_layout_default(&inLayout, decoder_->ch_layout.nb_channels);
    } else if (av_channel_layout_copy(&inLayout, &decoder_->ch_layout) < 0) {
      return false;
    }
    AVChannelLayout outLayout{};
    av_channel_layout_default(&outLayout, channels_);
    const int result = swr_alloc_set_opts2(&swr_, &outLayout, AV_SAMPLE_FMT_FLT, rate_, &inLayout,
                                           decoder_->sample_fmt, decoder_->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&inLayout);
    av_channel_layout_uninit(&outLayout);
    return result >= 0 && swr_ && swr_init(swr_) >= 0;
  }

  // Decodes the next frame into pending_; false at the end of the data.
  bool DecodeMore() {
    while (!ended_) {
      const int received = avcodec_receive_frame(decoder_, frame_);
      if (received == 0) {
        const bool converted = Convert();
        av_frame_unref(frame_);
        if (!converted) return false;
        if (pending_.size() > pendingPos_) return true;
        continue;
      }
      if (received == AVERROR_EOF) {
        ended_ = true;
        break;
      }
      if (received != AVERROR(EAGAIN)) {
        ended_ = true;
        break;
      }
      if (draining_) {
        ended_ = true;
        break;
      }
      if (!SendNextPacket()) return false;
    }
    return false;
  }

  bool SendNextPacket() {
    while (true) {
      const int read = av_read_frame(format_, packet_);
      if (read < 0) {
        draining_ = true;
        avcodec_send_packet(decoder_, nullptr);  // starts draining the decoder
        return true;
      }
      if (packet_->stream_index != stream_) {
        av_packet_unref(packet_);
        continue;
      }
      const int sent = avcodec_send_packet(decoder_, packet_);
      av_packet_unref(packet_);
      if (sent < 0 && sent != AVERROR(EAGAIN)) continue;  // a damaged packet is skipped
      return true;
    }
  }

  bool Convert() {
    const int maxOut = swr_get_out_samples(swr_, frame_->nb_samples);
    if (maxOut <= 0) return true;
    converted_.resize(static_cast<std::size_t>(maxOut) * channels_);
    auto* outPlanes = reinterpret_cast<std::uint8_t*>(converted_.data());
    const int got = swr_convert(swr_, &outPlanes, maxOut, const_cast<const std::uint8_t**>(frame_->extended_data),
                                frame_->nb_samples);
    if (got < 0) return false;
    std::size_t first = 0;
    if (skipTo_ >= 0) {
      // After a seek, drop what lies before the asked frame.
      const std::int64_t pts = frame_->best_effort_timestamp;
      if (pts != AV_NOPTS_VALUE) {
        const std::int64_t start =
            av_rescale_q(pts, format_->streams[stream_]->time_base, AVRational{1, rate_});
        const std::int64_t skip = skipTo_ - start;
        if (skip >= got) return true;
        if (skip > 0) first = static_cast<std::size_t>(skip);
      }
      skipTo_ = -1;
    }
    if (pendingPos_ >= pending_.size()) {
      pending_.clear();
      pendingPos_ = 0;
    }
    pending_.insert(pending_.end(), converted_.begin() + static_cast<std::ptrdiff_t>(first * channels_),
                    converted_.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(got) * channels_));
    return true;
  }

  void Close() {
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    swr_free(&swr_);
    avcodec_free_context(&decoder_);
    if (format_) avformat_close_input(&format_);
    if (io_) {
      av_freep(&io_->buffer);
      avio_context_free(&io_);
    }
  }

  FileRangeReader reader_;
  AVIOContext* io_ = nullptr;
  AVFormatContext* format_ = nullptr;
  AVCodecContext* decoder_ = nullptr;
  SwrContext* swr_ = nullptr;
  AVPacket* packet_ = nullptr;
  AVFrame* frame_ = nullptr;
  int stream_ = -1;
  int rate_ = 0;
  int channels_ = 0;
  std::uint64_t length_ = 0;
  std::vector<float> pending_;
  std::vector<float> converted_;
  std::size_t pendingPos_ = 0;
  bool ended_ = false;
  bool draining_ = false;
  std::int64_t skipTo_ = -1;
};

}  // namespace

std::unique_ptr<AudioSource> OpenFfmpegSource(const FileRange& range) {
  auto source = std::make_unique<FfmpegSource>();
  if (!source->Open(range)) return nullptr;
  return source;
}

}  // namespace kiv::audio
