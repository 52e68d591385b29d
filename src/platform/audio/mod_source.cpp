// Tracker music (MOD and its relatives) through libopenmpt. The module is read
// whole from its byte range: libopenmpt keeps a loaded module in memory anyway.
#include <libopenmpt/libopenmpt.h>

#include <vector>

#include "platform/audio/audio_source.h"
#include "platform/audio/file_range_reader.h"

namespace kiv::audio {
namespace {

class ModSource final : public AudioSource {
 public:
  explicit ModSource(int rate) : rate_(rate) {}
  ~ModSource() override {
    if (module_) openmpt_module_destroy(module_);
  }

  bool Open(const FileRange& range) {
    FileRangeReader reader;
    if (!reader.Open(range)) return false;
    const std::vector<std::uint8_t> bytes = reader.ReadAll();
    if (bytes.empty()) return false;
    module_ = openmpt_module_create_from_memory2(bytes.data(), bytes.size(), &openmpt_log_func_silent, nullptr,
                                                 &openmpt_error_func_ignore, nullptr, nullptr, nullptr, nullptr);
    if (!module_) return false;
    openmpt_module_set_repeat_count(module_, 0);  // looping is the channel's business
    const double seconds = openmpt_module_get_duration_seconds(module_);
    length_ = seconds > 0.0 ? static_cast<std::uint64_t>(seconds * rate_ + 0.5) : 0;
    return true;
  }

  int Channels() const override { return 2; }
  int Rate() const override { return rate_; }
  std::uint64_t LengthFrames() override { return length_; }

  int Read(float* out, int frames) override {
    return static_cast<int>(
        openmpt_module_read_interleaved_float_stereo(module_, rate_, static_cast<std::size_t>(frames), out));
  }

  bool Seek(std::uint64_t frame) override {
    openmpt_module_set_position_seconds(module_, static_cast<double>(frame) / rate_);
    return true;
  }

 private:
  int rate_;
  openmpt_module* module_ = nullptr;
  std::uint64_t length_ = 0;
};

}  // namespace

std::unique_ptr<AudioSource> OpenModSource(const FileRange& range, int rate) {
  auto source = std::make_unique<ModSource>(rate);
  if (!source->Open(range)) return nullptr;
  return source;
}

}  // namespace kiv::audio
