#pragma once
// Device start-up: everything a game draws with, prepared once each time a
// game starts (input devices, the device, the logo, the lighting shaders and
// the render targets), with a log line before each step.
#include <cstdint>
#include <string>

#include "platform/gfx/window.h"

namespace kiv {

// True when the device, the shaders and the render targets are ready; a false
// result has been shown to the user. Errors of the input devices, the logo and
// the helper library's start reach the caller.
bool DeviceStartUp(gfx::Window* window);
void CreateRenderTargets();
void ReleaseRenderTargets();

// The lighting shader texts, assembled at start-up.
std::string LightingVertexShaderText();
std::string LightingPixelShaderText();

std::uint32_t VertexDeclTokenType(std::uint32_t type);
std::uint32_t VertexDeclStream(std::uint32_t stream);
std::uint32_t VertexDeclRegister(std::uint32_t reg, std::uint32_t type);
inline constexpr std::uint32_t kVertexDeclEnd = 0xFFFFFFFF;

}  // namespace kiv
