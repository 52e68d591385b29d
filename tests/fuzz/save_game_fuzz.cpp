// Loads a save of the sample game whose uncompressed stream is the input: the
// target compresses it and writes it as a save file (the stream's length, then
// the zlib stream), starts the sample game and calls LoadGame on it. LoadGame
// reports every failure as an error number; a crash, a read out of bounds or
// gigabytes asked for are faults.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/byte_list.h"
#include "core/data_buffer.h"
#include "state/save_game.h"
#include "whole_game.h"

namespace {

using namespace kiv;

ByteList SaveFileOf(const std::uint8_t* data, std::size_t size) {
  uLongf packed = compressBound(static_cast<uLong>(size));
  ByteList file(4 + packed);
  if (compress2(file.data() + 4, &packed, data, static_cast<uLong>(size), 1) != Z_OK) std::abort();
  file.resize(4 + packed);
  std::int32_t offset = 0;
  BufferWriteLong(file, static_cast<std::int32_t>(size), offset);
  return file;
}

void WriteWhole(const std::string& path, const ByteList& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) std::abort();
  std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::ScratchPath("fuzz.kSV");
  WriteWhole(path, SaveFileOf(data, size));
  fuzz::ResetWholeGame();
  if (!fuzz::StartSampleGame()) std::abort();
  LoadGame(path);
  fuzz::ResetWholeGame();
  std::remove(path.c_str());
  return 0;
}
