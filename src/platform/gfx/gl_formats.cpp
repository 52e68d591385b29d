#include "platform/gfx/gl_formats.h"

#include <epoxy/gl.h>

#include "platform/gfx/d3d_types.h"

namespace kiv::gfx {

bool IsDepthFormat(std::uint32_t format) {
  return format == kFmtD32 || format == kFmtD15S1 || format == kFmtD24S8 || format == kFmtD24X8 ||
         format == kFmtD24X4S4 || format == kFmtD16;
}

bool DepthHasStencil(std::uint32_t format) {
  return format == kFmtD24S8 || format == kFmtD15S1 || format == kFmtD24X4S4;
}

std::uint32_t GlDepthFormat(std::uint32_t format) {
  switch (format) {
    case kFmtD16:
      return GL_DEPTH_COMPONENT16;
    case kFmtD24X8:
      return GL_DEPTH_COMPONENT24;
    case kFmtD32:
      return GL_DEPTH_COMPONENT32;
    case kFmtD24S8:
      return GL_DEPTH24_STENCIL8;
    default:
      return 0;  // D15S1 and D24X4S4 have no GL counterpart
  }
}

bool IsColorTargetFormat(std::uint32_t format) {
  return format == kFmtA8R8G8B8 || format == kFmtX8R8G8B8 || format == kFmtR8G8B8;
}

bool IsDisplayFormat(std::uint32_t format) {
  return format == kFmtX8R8G8B8 || format == kFmtA8R8G8B8 || format == kFmtR8G8B8 || format == kFmtR5G6B5 ||
         format == kFmtX1R5G5B5 || format == kFmtA1R5G5B5;
}

}  // namespace kiv::gfx
