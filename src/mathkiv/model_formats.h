#pragma once
// Which model file formats a model resource may hold, recognised from the
// bytes before any importer sees them. Model files come from game packages, so
// only two formats are read: DirectX .x (text, binary, and their compressed
// forms) and Wavefront .obj with its .mtl material files. Anything else,
// and any file larger than kMaxModelFileBytes, is refused with a reason.
#include <cstddef>
#include <string>

#include "core/byte_list.h"

namespace kiv {

enum class ModelFormat { kNone, kDirectX, kWavefront };

// Largest model file (or file it refers to, such as a material file) that is
// parsed; for a compressed DirectX file, also the largest unpacked size.
inline constexpr std::size_t kMaxModelFileBytes = std::size_t{16} << 20;

// The format of a model file, or kNone with the reason it is refused.
ModelFormat RecogniseModelFormat(const ByteList& bytes, std::string& reason);

// The file name extension the importer of a format is chosen by (".x", ".obj").
const char* ModelFormatExtension(ModelFormat format);

}  // namespace kiv
