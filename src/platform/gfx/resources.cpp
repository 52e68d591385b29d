#include "platform/gfx/resources.h"

#include <epoxy/gl.h>

#include <utility>

namespace kiv::gfx {

Texture::Texture(std::shared_ptr<ContextToken> token, std::uint32_t glName, std::uint32_t width,
                 std::uint32_t height, std::uint32_t format, std::uint32_t levels)
    : token_(std::move(token)), gl_(glName), width_(width), height_(height), format_(format), levels_(levels) {}

Texture::~Texture() {
  if (token_ && token_->alive && gl_ != 0) {
    GLuint name = gl_;
    glDeleteTextures(1, &name);
  }
}

Surface::Surface(std::shared_ptr<ContextToken> token, Kind kind, std::uint32_t glTexture,
                 std::uint32_t glRenderbuffer, std::uint32_t width, std::uint32_t height, std::uint32_t format,
                 bool lockable)
    : token_(std::move(token)),
      kind_(kind),
      texture_(glTexture),
      renderbuffer_(glRenderbuffer),
      width_(width),
      height_(height),
      format_(format),
      lockable_(lockable) {}

Surface::~Surface() {
  if (!token_ || !token_->alive) return;
  if (texture_ != 0) {
    GLuint name = texture_;
    glDeleteTextures(1, &name);
  }
  if (renderbuffer_ != 0) {
    GLuint name = renderbuffer_;
    glDeleteRenderbuffers(1, &name);
  }
}

HResult Surface::LockRect(LockedRect& locked, const Rect* rect, std::uint32_t /*flags*/) {
  if (!lockable_ || kind_ != Kind::kColor || locked_ || !token_ || !token_->alive) return kErrInvalidCall;
  Rect r{0, 0, static_cast<std::int32_t>(width_), static_cast<std::int32_t>(height_)};
  if (rect) r = *rect;
  if (r.left < 0 || r.top < 0 || r.right > static_cast<std::int32_t>(width_) ||
      r.bottom > static_cast<std::int32_t>(height_) || r.left >= r.right || r.top >= r.bottom) {
    return kErrInvalidCall;
  }
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int bytesPerPixel = format_ == kFmtR8G8B8 ? 3 : 4;

  // Read through a temporary framebuffer; GL rows run bottom-up.
  GLint previousRead = 0;
  glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previousRead);
  GLuint fbo = 0;
  glGenFramebuffers(1, &fbo);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
  glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_, 0);
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(r.left, static_cast<GLint>(height_) - r.bottom, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previousRead));
  glDeleteFramebuffers(1, &fbo);

  const std::size_t pitch = static_cast<std::size_t>(w) * static_cast<std::size_t>(bytesPerPixel);
  lockCopy_.assign(pitch * static_cast<std::size_t>(h), 0);
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* src = &rgba[static_cast<std::size_t>(h - 1 - y) * static_cast<std::size_t>(w) * 4];
    std::uint8_t* dst = &lockCopy_[static_cast<std::size_t>(y) * pitch];
    for (int x = 0; x < w; ++x) {
      // Memory order of the ARGB formats: blue, green, red(, alpha).
      dst[0] = src[2];
      dst[1] = src[1];
      dst[2] = src[0];
      if (bytesPerPixel == 4) dst[3] = format_ == kFmtX8R8G8B8 ? 0xFF : src[3];
      src += 4;
      dst += bytesPerPixel;
    }
  }
  locked.pitch = static_cast<std::int32_t>(pitch);
  locked.bits = lockCopy_.data();
  locked_ = true;
  return kOk;
}

HResult Surface::UnlockRect() {
  if (!locked_) return kErrInvalidCall;
  locked_ = false;
  return kOk;
}

}  // namespace kiv::gfx
