#pragma once
// Block-compressed (DXT1, DXT3, DXT5) image data decoded to ARGB pixels, for
// the cases the data cannot be uploaded as it is: a colour key or a new size
// must look at single pixels.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kiv::gfx {

enum class DxtKind { kDxt1, kDxt3, kDxt5 };

// Bytes of one 4 x 4 block.
std::size_t DxtBlockBytes(DxtKind kind);
// Bytes of a whole width x height level (partial blocks count as whole ones).
std::size_t DxtLevelBytes(DxtKind kind, std::uint32_t width, std::uint32_t height);

// Decodes one level into argb (rows top-down). False, with argb empty, when the
// data is shorter than the level or a side is 0.
bool DecodeDxt(DxtKind kind, const std::uint8_t* data, std::size_t length, std::uint32_t width,
               std::uint32_t height, std::vector<std::uint32_t>& argb);

}  // namespace kiv::gfx
