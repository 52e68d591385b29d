#pragma once
// The container of an assembled shader: our assembler turns shader text into
// GLSL and packs it with a small header into a byte program whose length is a
// multiple of four (programs travel as lists of 32-bit words).
#include <cstdint>
#include <string>
#include <vector>

namespace kiv::gfx {

enum class ShaderStage : std::uint32_t { kVertex = 1, kPixel = 2 };

std::vector<std::uint8_t> PackProgram(ShaderStage stage, const std::string& glsl);
// False when the bytes are not a program of that stage.
bool ProgramText(const std::uint8_t* bytes, std::size_t size, ShaderStage stage, std::string& glsl);

}  // namespace kiv::gfx
