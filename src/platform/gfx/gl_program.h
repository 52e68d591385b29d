#pragma once
// A linked GLSL program with a cache of uniform locations.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace kiv::gfx {

class GlProgram {
 public:
  // Compiles and links; on failure Ok() is false and Log() says why. The
  // sources declare their colours oD0 and oD1 with the qualifier COLOR_SHADE,
  // defined here: flat (each triangle takes its first vertex's colours) or
  // smooth.
  GlProgram(const std::string& vertexSource, const std::string& fragmentSource, bool flatColors = false);
  ~GlProgram();
  GlProgram(const GlProgram&) = delete;
  GlProgram& operator=(const GlProgram&) = delete;

  bool Ok() const { return name_ != 0; }
  const std::string& Log() const { return log_; }
  std::uint32_t Name() const { return name_; }
  int Location(const char* uniform);

  std::uint64_t uploadedVersion = 0;

 private:
  std::uint32_t name_ = 0;
  std::string log_;
  std::unordered_map<std::string, int> locations_;
};

// The fixed-function pipeline's sources. Every vertex stage writes the same
// outputs (oD0, oD1, oT0..oT7, oFog) so that either stage can pair with a
// translated shader stage.
const std::string& FixedVertexSource();
const std::string& FixedFragmentSource();
// The fragment source with the texture-stage setup compiled in as constants
// (17 values: has-texture, colour op, arg1, arg2, alpha op, arg1, arg2 for the
// two stages, then specular enable, alpha function, fog enable), so the
// compiler drops every branch the states do not take.
std::string SpecializedFragmentSource(const std::vector<int>& values);

}  // namespace kiv::gfx
