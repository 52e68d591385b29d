#pragma once
// A decoder that the mixer pulls from: interleaved 32-bit float frames at the
// source's own rate, one or two channels.
#include <cstdint>
#include <memory>
#include <string>

namespace kiv::audio {

class AudioSource {
 public:
  virtual ~AudioSource() = default;
  virtual int Channels() const = 0;  // 1 or 2
  virtual int Rate() const = 0;      // frames per second
  // Reads up to frames frames into out; fewer (0 at the end) when the data ends.
  virtual int Read(float* out, int frames) = 0;
  // Moves to the given frame from the start; false when it cannot.
  virtual bool Seek(std::uint64_t frame) = 0;
  // Total frames, 0 when unknown.
  virtual std::uint64_t LengthFrames() = 0;
};

// Where a sound lies: a file and a byte range inside it.
struct FileRange {
  std::string path;          // UTF-8
  std::uint64_t offset = 0;  // first byte
  std::uint64_t length = 0;  // bytes; 0 means up to the end of the file
};

// Decoders by kind; each returns null (and closes everything) when the data
// cannot be opened.
std::unique_ptr<AudioSource> OpenFfmpegSource(const FileRange& range);
std::unique_ptr<AudioSource> OpenModSource(const FileRange& range, int rate);
std::unique_ptr<AudioSource> OpenMidiSource(const FileRange& range, int rate, const std::string& soundFontPath);

}  // namespace kiv::audio
