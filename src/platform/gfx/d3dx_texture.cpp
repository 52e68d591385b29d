#include <epoxy/gl.h>
#include <stb_image.h>

#include <climits>
#include <cstring>

#include "platform/gfx/d3dx.h"
#include "platform/gfx/device.h"
#include "platform/gfx/dxt_decode.h"

namespace kiv::gfx {
namespace {

std::uint32_t Word(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

constexpr std::size_t kDdsHeaderSize = 128;  // "DDS " and the 124-byte header
// Decoded images may hold as many pixels as the largest texture; the header's
// size is checked before the decoder allocates for it.
constexpr std::uint64_t kMaxImagePixels = static_cast<std::uint64_t>(kMaxTextureSide) * kMaxTextureSide;

struct DdsInfo {
  std::uint32_t width = 0, height = 0, levels = 1;
  std::uint32_t fourCC = 0, pixelFlags = 0, bitCount = 0;
  std::uint32_t masks[4] = {};  // red, green, blue, alpha
};

bool ReadDdsHeader(const std::uint8_t* bytes, std::size_t length, DdsInfo& info) {
  if (length < kDdsHeaderSize || std::memcmp(bytes, "DDS ", 4) != 0 || Word(bytes + 4) != 124) return false;
  info.height = Word(bytes + 12);
  info.width = Word(bytes + 16);
  info.levels = Word(bytes + 28);
  if (info.levels == 0) info.levels = 1;
  info.pixelFlags = Word(bytes + 80);
  info.fourCC = Word(bytes + 84);
  info.bitCount = Word(bytes + 88);
  for (int i = 0; i < 4; ++i) info.masks[i] = Word(bytes + 92 + 4 * i);
  return info.width != 0 && info.height != 0 && info.width <= kMaxTextureSide &&
         info.height <= kMaxTextureSide && info.levels <= 16;
}

// The value of a channel under a mask, scaled to 0..255.
std::uint32_t Channel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  const std::uint32_t max = mask >> shift;
  return ((pixel & mask) >> shift) * 255 / max;
}

bool DecodeDdsUncompressed(const std::uint8_t* bytes, std::size_t length, const DdsInfo& info,
                           std::vector<std::uint32_t>& argb) {
  if ((info.pixelFlags & 0x40) == 0 || (info.bitCount != 32 && info.bitCount != 24 && info.bitCount != 16)) {
    return false;
  }
  const std::size_t bytesPerPixel = info.bitCount / 8;
  const std::size_t needed = static_cast<std::size_t>(info.width) * info.height * bytesPerPixel;
  if (length - kDdsHeaderSize < needed) return false;
  const bool hasAlpha = (info.pixelFlags & 0x1) != 0 && info.masks[3] != 0;
  argb.resize(static_cast<std::size_t>(info.width) * info.height);
  const std::uint8_t* p = bytes + kDdsHeaderSize;
  for (std::size_t i = 0; i < argb.size(); ++i, p += bytesPerPixel) {
    std::uint32_t v = 0;
    for (std::size_t b = 0; b < bytesPerPixel; ++b) v |= static_cast<std::uint32_t>(p[b]) << (8 * b);
    const std::uint32_t a = hasAlpha ? Channel(v, info.masks[3]) : 255;
    argb[i] = a << 24 | Channel(v, info.masks[0]) << 16 | Channel(v, info.masks[1]) << 8 | Channel(v, info.masks[2]);
  }
  return true;
}

void ApplyColorKey(std::vector<std::uint32_t>& argb, std::uint32_t colorKey) {
  if (colorKey == 0) return;
  for (std::uint32_t& p : argb) {
    if (p == colorKey) p = 0;
  }
}

// Nearest-pixel resampling to a requested size.
std::vector<std::uint32_t> Resample(const std::vector<std::uint32_t>& src, std::uint32_t sw, std::uint32_t sh,
                                    std::uint32_t dw, std::uint32_t dh) {
  std::vector<std::uint32_t> out(static_cast<std::size_t>(dw) * dh);
  for (std::uint32_t y = 0; y < dh; ++y) {
    const std::uint32_t sy = static_cast<std::uint32_t>(static_cast<std::uint64_t>(y) * sh / dh);
    for (std::uint32_t x = 0; x < dw; ++x) {
      const std::uint32_t sx = static_cast<std::uint32_t>(static_cast<std::uint64_t>(x) * sw / dw);
      out[static_cast<std::size_t>(y) * dw + x] = src[static_cast<std::size_t>(sy) * sw + sx];
    }
  }
  return out;
}

bool IsCompressed(const DdsInfo& info) { return (info.pixelFlags & 0x4) != 0; }

// The block format a four-character code names; false for any other code.
bool DxtKindOf(const DdsInfo& info, DxtKind& kind, GLenum& glFormat) {
  if (info.fourCC == Word(reinterpret_cast<const std::uint8_t*>("DXT1"))) {
    kind = DxtKind::kDxt1;
    glFormat = GL_COMPRESSED_RGBA_S3TC_DXT1_EXT;
  } else if (info.fourCC == Word(reinterpret_cast<const std::uint8_t*>("DXT3"))) {
    kind = DxtKind::kDxt3;
    glFormat = GL_COMPRESSED_RGBA_S3TC_DXT3_EXT;
  } else if (info.fourCC == Word(reinterpret_cast<const std::uint8_t*>("DXT5"))) {
    kind = DxtKind::kDxt5;
    glFormat = GL_COMPRESSED_RGBA_S3TC_DXT5_EXT;
  } else {
    return false;
  }
  return true;
}

// The first level of compressed data as pixels.
bool DecodeDdsCompressed(const std::uint8_t* bytes, std::size_t length, const DdsInfo& info,
                         std::vector<std::uint32_t>& argb) {
  DxtKind kind;
  GLenum glFormat = 0;
  if (!DxtKindOf(info, kind, glFormat)) return false;
  return DecodeDxt(kind, bytes + kDdsHeaderSize, length - kDdsHeaderSize, info.width, info.height, argb);
}

HResult CreateDxtTexture(Device& device, const std::uint8_t* bytes, std::size_t length, const DdsInfo& info,
                         TexturePtr& out) {
  DxtKind kind;
  GLenum glFormat = 0;
  if (!DxtKindOf(info, kind, glFormat)) return kErrInvalidData;
  std::vector<std::vector<std::uint8_t>> levels;
  std::size_t offset = kDdsHeaderSize;
  std::uint32_t w = info.width, h = info.height;
  for (std::uint32_t level = 0; level < info.levels; ++level) {
    const std::size_t size = DxtLevelBytes(kind, w, h);
    if (length - offset < size) {
      if (level == 0) return kErrInvalidData;
      break;  // a file with fewer levels than it claims keeps the ones it has
    }
    levels.emplace_back(bytes + offset, bytes + offset + size);
    offset += size;
    w = w > 1 ? w / 2 : 1;
    h = h > 1 ? h / 2 : 1;
  }
  return device.CreateCompressedTexture(info.width, info.height, glFormat, levels, out);
}

}  // namespace

bool DecodeImageArgb(const std::uint8_t* bytes, std::size_t length, std::uint32_t colorKey,
                     std::vector<std::uint32_t>& argb, std::uint32_t& width, std::uint32_t& height) {
  argb.clear();
  if (!bytes || length == 0 || length > static_cast<std::size_t>(INT_MAX)) return false;
  DdsInfo dds;
  if (ReadDdsHeader(bytes, length, dds)) {
    const bool decoded = IsCompressed(dds) ? DecodeDdsCompressed(bytes, length, dds, argb)
                                           : DecodeDdsUncompressed(bytes, length, dds, argb);
    if (!decoded) return false;
    width = dds.width;
    height = dds.height;
    ApplyColorKey(argb, colorKey);
    return true;
  }
  int w = 0, h = 0, channels = 0;
  if (!stbi_info_from_memory(bytes, static_cast<int>(length), &w, &h, &channels) || w <= 0 || h <= 0 ||
      static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h) > kMaxImagePixels) {
    return false;
  }
  stbi_uc* rgba = stbi_load_from_memory(bytes, static_cast<int>(length), &w, &h, &channels, 4);
  if (!rgba) return false;
  width = static_cast<std::uint32_t>(w);
  height = static_cast<std::uint32_t>(h);
  argb.resize(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < argb.size(); ++i) {
    const stbi_uc* p = rgba + i * 4;
    argb[i] = static_cast<std::uint32_t>(p[3]) << 24 | static_cast<std::uint32_t>(p[0]) << 16 |
              static_cast<std::uint32_t>(p[1]) << 8 | p[2];
  }
  stbi_image_free(rgba);
  ApplyColorKey(argb, colorKey);
  return true;
}

HResult CreateTextureFromFileInMemoryEx(Device& device, const std::uint8_t* bytes, std::size_t length,
                                        std::uint32_t width, std::uint32_t height, std::uint32_t mipLevels,
                                        std::uint32_t /*usage*/, std::uint32_t format, std::uint32_t /*pool*/,
                                        std::uint32_t filter, std::uint32_t /*mipFilter*/,
                                        std::uint32_t colorKey, TexturePtr& out) {
  out.reset();
  if (!bytes || length == 0) return kErrInvalidCall;
  DdsInfo dds;
  if (ReadDdsHeader(bytes, length, dds) && IsCompressed(dds) && colorKey == 0 &&
      (width == 0 || width == dds.width) && (height == 0 || height == dds.height)) {
    // Compressed data goes up as it is unless a colour key or a new size needs
    // its pixels; then it is decoded like any other image below.
    return CreateDxtTexture(device, bytes, length, dds, out);
  }
  std::vector<std::uint32_t> argb;
  std::uint32_t w = 0, h = 0;
  if (!DecodeImageArgb(bytes, length, colorKey, argb, w, h)) return kErrInvalidData;
  if ((width != 0 && width != w) || (height != 0 && height != h)) {
    const std::uint32_t dw = width != 0 ? width : w, dh = height != 0 ? height : h;
    if (dw > kMaxTextureSide || dh > kMaxTextureSide) return kErrInvalidCall;
    argb = Resample(argb, w, h, dw, dh);
    w = dw;
    h = dh;
  }
  return device.CreateTextureFromArgb(w, h, format, mipLevels, argb.data(), filter == kFilterPoint, out);
}

}  // namespace kiv::gfx
