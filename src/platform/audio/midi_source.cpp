// MIDI files through FluidSynth with a sound font. The player runs on the
// synthesiser's own sample clock, so rendering drives it at any speed.
#include <fluidsynth.h>

#include <algorithm>
#include <vector>

#include "platform/audio/audio_source.h"
#include "platform/audio/file_range_reader.h"

namespace kiv::audio {
namespace {

void SilenceFluidLog() {
  static const bool silenced = [] {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
      fluid_set_log_function(level, nullptr, nullptr);
    }
    return true;
  }();
  (void)silenced;
}

class MidiSource final : public AudioSource {
 public:
  explicit MidiSource(int rate) : rate_(rate) {}
  ~MidiSource() override {
    if (player_) delete_fluid_player(player_);
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
  }

  bool Open(const FileRange& range, const std::string& soundFontPath) {
    SilenceFluidLog();
    FileRangeReader reader;
    if (!reader.Open(range)) return false;
    bytes_ = reader.ReadAll();
    if (bytes_.size() < 4 || !std::equal(bytes_.begin(), bytes_.begin() + 4, "MThd")) return false;
    settings_ = new_fluid_settings();
    if (!settings_) return false;
    fluid_settings_setnum(settings_, "synth.sample-rate", rate_);
    fluid_settings_setstr(settings_, "player.timing-source", "sample");
    fluid_settings_setint(settings_, "synth.lock-memory", 0);
    synth_ = new_fluid_synth(settings_);
    if (!synth_) return false;
    // Without a font the stream still plays, silently.
    if (!soundFontPath.empty()) fluid_synth_sfload(synth_, soundFontPath.c_str(), 1);
    return StartPlayer();
  }

  int Channels() const override { return 2; }
  int Rate() const override { return rate_; }
  std::uint64_t LengthFrames() override { return 0; }

  int Read(float* out, int frames) override {
    if (fluid_player_get_status(player_) == FLUID_PLAYER_DONE) return 0;
    if (fluid_synth_write_float(synth_, frames, out, 0, 2, out, 1, 2) != FLUID_OK) return 0;
    return frames;
  }

  bool Seek(std::uint64_t frame) override {
    if (!StartPlayer()) return false;
    if (frame == 0) return true;  // a loop's wrap, on the mixing thread: no scratch space
    // The player only knows ticks; render up to the frame and drop it.
    std::vector<float> scratch(2 * 4096);
    while (frame > 0) {
      const int step = static_cast<int>(std::min<std::uint64_t>(frame, 4096));
      if (Read(scratch.data(), step) == 0) break;
      frame -= static_cast<std::uint64_t>(step);
    }
    return true;
  }

 private:
  bool StartPlayer() {
    if (player_) {
      fluid_player_stop(player_);
      delete_fluid_player(player_);
      player_ = nullptr;
    }
    fluid_synth_system_reset(synth_);
    player_ = new_fluid_player(synth_);
    if (!player_) return false;
    if (fluid_player_add_mem(player_, bytes_.data(), bytes_.size()) != FLUID_OK) return false;
    return fluid_player_play(player_) == FLUID_OK;
  }

  int rate_;
  std::vector<std::uint8_t> bytes_;
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  fluid_player_t* player_ = nullptr;
};

}  // namespace

std::unique_ptr<AudioSource> OpenMidiSource(const FileRange& range, int rate, const std::string& soundFontPath) {
  auto source = std::make_unique<MidiSource>(rate);
  if (!source->Open(range, soundFontPath)) return nullptr;
  return source;
}

}  // namespace kiv::audio
