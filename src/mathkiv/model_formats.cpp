#include "mathkiv/model_formats.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace kiv {

namespace {

// DirectX header: "xof ", major and minor version, the body's form, the float size.
constexpr std::size_t kXHeaderBytes = 16;
// A compressed DirectX body starts with the unpacked size and two more bytes,
// then a chain of blocks: 2 bytes of length, "CK", that many packed bytes.
constexpr std::size_t kXCompressedPrologueBytes = 6;
// The importer reserves this much for every block before unpacking any.
constexpr std::size_t kXUnpackedBlockBytes = 32786;

std::string_view View(const ByteList& bytes, std::size_t from, std::size_t count) {
  return {reinterpret_cast<const char*>(bytes.data()) + from, count};
}

ModelFormat Refuse(std::string& reason, const char* why) {
  reason = why;
  return ModelFormat::kNone;
}

// Walks the block chain of a compressed body; the unpacked size the importer
// would reserve must stay within the file limit.
bool CompressedBodyFits(const ByteList& bytes, std::string& reason) {
  std::size_t at = kXHeaderBytes + kXCompressedPrologueBytes;
  std::size_t blocks = 0;
  while (at + 4 <= bytes.size()) {
    const std::size_t length = bytes[at] | std::size_t{bytes[at + 1]} << 8;
    if (bytes[at + 2] != 'C' || bytes[at + 3] != 'K' || length >= kXUnpackedBlockBytes) {
      reason = "damaged compressed model";
      return false;
    }
    if (++blocks > kMaxModelFileBytes / kXUnpackedBlockBytes) {
      reason = "model file too large";
      return false;
    }
    at += 4 + length;
  }
  return true;
}

ModelFormat DirectX(const ByteList& bytes, std::string& reason) {
  if (bytes.size() < kXHeaderBytes) return Refuse(reason, "damaged model header");
  const std::string_view body = View(bytes, 8, 4);
  const std::string_view floats = View(bytes, 12, 4);
  if (floats != "0032" && floats != "0064") return Refuse(reason, "damaged model header");
  if (body == "txt " || body == "bin ") return ModelFormat::kDirectX;
  if (body != "tzip" && body != "bzip") return Refuse(reason, "damaged model header");
  return CompressedBodyFits(bytes, reason) ? ModelFormat::kDirectX : ModelFormat::kNone;
}

bool IsTextByte(std::uint8_t c) { return c >= 0x20 || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// A Wavefront file is text whose first statement (after blank and comment
// lines) is one of its own.
bool IsWavefront(const ByteList& bytes) {
  for (std::uint8_t c : bytes)
    if (!IsTextByte(c)) return false;
  static constexpr std::array<std::string_view, 12> kStatements = {"v", "vt", "vn", "vp", "f",      "l",
                                                                   "p", "o",  "g",  "s",  "mtllib", "usemtl"};
  const std::string_view text = View(bytes, 0, bytes.size());
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    const std::size_t first = line.find_first_not_of(" \t\r\f");
    if (first == std::string_view::npos || line[first] == '#') continue;
    line.remove_prefix(first);
    const std::string_view word = line.substr(0, line.find_first_of(" \t\r\f"));
    for (std::string_view statement : kStatements)
      if (word == statement) return true;
    return false;
  }
  return false;
}

}  // namespace

ModelFormat RecogniseModelFormat(const ByteList& bytes, std::string& reason) {
  if (bytes.size() > kMaxModelFileBytes) return Refuse(reason, "model file too large");
  if (bytes.size() >= 4 && View(bytes, 0, 4) == "xof ") return DirectX(bytes, reason);
  if (IsWavefront(bytes)) return ModelFormat::kWavefront;
  return Refuse(reason, "not a model format that is read (.x or .obj)");
}

const char* ModelFormatExtension(ModelFormat format) {
  switch (format) {
    case ModelFormat::kDirectX:
      return ".x";
    case ModelFormat::kWavefront:
      return ".obj";
    case ModelFormat::kNone:
      break;
  }
  return "";
}

}  // namespace kiv
