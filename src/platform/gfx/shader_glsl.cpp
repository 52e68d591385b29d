#include "platform/gfx/shader_glsl.h"

#include <cstring>

namespace kiv::gfx {
namespace {
constexpr char kMagic[4] = {'K', 'I', 'V', 'S'};

void PutWord(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint32_t GetWord(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
}  // namespace

std::vector<std::uint8_t> PackProgram(ShaderStage stage, const std::string& glsl) {
  std::vector<std::uint8_t> out(kMagic, kMagic + 4);
  PutWord(out, static_cast<std::uint32_t>(stage));
  PutWord(out, static_cast<std::uint32_t>(glsl.size()));
  out.insert(out.end(), glsl.begin(), glsl.end());
  while (out.size() % 4 != 0) out.push_back(0);
  return out;
}

bool ProgramText(const std::uint8_t* bytes, std::size_t size, ShaderStage stage, std::string& glsl) {
  if (!bytes || size < 12 || std::memcmp(bytes, kMagic, 4) != 0) return false;
  if (GetWord(bytes + 4) != static_cast<std::uint32_t>(stage)) return false;
  const std::uint32_t length = GetWord(bytes + 8);
  if (length > size - 12) return false;
  glsl.assign(reinterpret_cast<const char*>(bytes + 12), length);
  return true;
}

}  // namespace kiv::gfx
