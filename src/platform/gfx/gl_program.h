#pragma once
// A linked GLSL program with the locations of its uniforms, looked up once
// when it is linked.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kiv::gfx {

// The uniforms the device feeds, by their integer slot in Locations().
enum class Uniform : int {
  kWorldViewProj, kWorld, kWorldView, kInvProjection, kViewport, kDepthRange,
  kPretransformed, kHasNormal, kHasDiffuse, kHasSpecular,
  kLighting, kColorVertex, kAmbient, kMatDiffuse, kMatAmbient, kMatEmissive,
  kLightCount, kLightPos, kLightDir, kLightDiffuse, kLightAmbient, kLightAtten,
  kFogMode, kFogTable, kFogParams, kFogColor, kFogEnable,
  kHasTex, kColorOp, kColorArg1, kColorArg2, kAlphaOp, kAlphaArg1, kAlphaArg2,
  kTFactor, kSpecularEnable, kAlphaFunc, kAlphaRef,
  kVsConstants, kPsConstants,
  kTex0, kTex1, kTex2, kTex3, kTex4, kTex5,
  kHasQuadExtras, kSlot1, kSlot2, kSlot3, kSlot4, kSlot5, kSlot6, kSlot7,
  kCount
};

// Uniforms change in groups, each fed from its own device states; a program
// uploads a group only when the device changed it since the program's last
// upload of that group.
enum UniformGroup : int {
  kGroupTransform, kGroupViewport, kGroupFormat, kGroupLighting, kGroupFog, kGroupStages,
  kGroupTFactor, kGroupAlpha, kGroupVsConstants, kGroupPsConstants, kUniformGroupCount
};

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
  // -1 for a uniform the program does not use.
  int Location(Uniform uniform) const { return locations_[static_cast<std::size_t>(uniform)]; }

  // The device's version of each group when this program last uploaded it
  // (0: never); samplers are set once, on the first use.
  std::array<std::uint64_t, kUniformGroupCount> uploaded{};
  bool samplersSet = false;

 private:
  std::uint32_t name_ = 0;
  std::string log_;
  std::array<int, static_cast<std::size_t>(Uniform::kCount)> locations_{};
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
// With slots, stage 0 samples the texture of the vertex's slot: uTex0 for
// slot 0, uSlot1..uSlot7 for the others.
std::string SpecializedFragmentSource(const std::vector<int>& values, bool slots = false);

}  // namespace kiv::gfx
