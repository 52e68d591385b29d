#pragma once
// How the device's surface formats are held in OpenGL.
#include <cstdint>

namespace kiv::gfx {

bool IsDepthFormat(std::uint32_t format);
bool DepthHasStencil(std::uint32_t format);
// GL internal format of a depth-stencil format, 0 when we cannot make one.
std::uint32_t GlDepthFormat(std::uint32_t format);
// Colour formats a render target or texture can take.
bool IsColorTargetFormat(std::uint32_t format);
// Display (adapter and back-buffer) formats.
bool IsDisplayFormat(std::uint32_t format);

}  // namespace kiv::gfx
