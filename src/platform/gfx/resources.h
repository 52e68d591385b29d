#pragma once
// Textures and surfaces of the device. They keep their GL objects while the
// device's context lives; released objects and a gone context are both safe.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/d3d_types.h"

namespace kiv::gfx {

// Shared by the device and everything it creates: false once the context is gone.
struct ContextToken {
  bool alive = true;
};

class Texture {
 public:
  Texture(std::shared_ptr<ContextToken> token, std::uint32_t glName, std::uint32_t width, std::uint32_t height,
          std::uint32_t format, std::uint32_t levels);
  ~Texture();
  Texture(const Texture&) = delete;
  Texture& operator=(const Texture&) = delete;

  std::uint32_t GlName() const { return gl_; }
  std::uint32_t Width() const { return width_; }
  std::uint32_t Height() const { return height_; }
  std::uint32_t Format() const { return format_; }
  std::uint32_t LevelCount() const { return levels_; }

 private:
  std::shared_ptr<ContextToken> token_;
  std::uint32_t gl_;
  std::uint32_t width_, height_, format_, levels_;
};

struct LockedRect {
  std::int32_t pitch = 0;
  std::uint8_t* bits = nullptr;
};

struct Rect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// A colour render target or a depth-stencil surface.
class Surface {
 public:
  enum class Kind { kColor, kDepthStencil };
  Surface(std::shared_ptr<ContextToken> token, Kind kind, std::uint32_t glTexture, std::uint32_t glRenderbuffer,
          std::uint32_t width, std::uint32_t height, std::uint32_t format, bool lockable);
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  Kind GetKind() const { return kind_; }
  std::uint32_t GlTexture() const { return texture_; }
  std::uint32_t GlRenderbuffer() const { return renderbuffer_; }
  std::uint32_t Width() const { return width_; }
  std::uint32_t Height() const { return height_; }
  std::uint32_t Format() const { return format_; }

  // Copies the pixels of rect (whole surface when null) into memory in the
  // surface format's byte order, rows top-down; bits points at the rect's
  // top-left pixel. Only lockable colour surfaces can be locked.
  HResult LockRect(LockedRect& locked, const Rect* rect, std::uint32_t flags);
  HResult UnlockRect();

 private:
  std::shared_ptr<ContextToken> token_;
  Kind kind_;
  std::uint32_t texture_, renderbuffer_;
  std::uint32_t width_, height_, format_;
  bool lockable_;
  bool locked_ = false;
  std::vector<std::uint8_t> lockCopy_;
};

using TexturePtr = std::shared_ptr<Texture>;
using SurfacePtr = std::shared_ptr<Surface>;

}  // namespace kiv::gfx
