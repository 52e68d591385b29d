#include "platform/gfx/glsl_common.h"

namespace kiv::gfx {

const std::string& AlphaCompareGlsl() {
  static const std::string source = R"(
bool Passes(int func, float value, float reference) {
  if (func == 1) return false;
  if (func == 2) return value < reference;
  if (func == 3) return value == reference;
  if (func == 4) return value <= reference;
  if (func == 5) return value > reference;
  if (func == 6) return value != reference;
  if (func == 7) return value >= reference;
  return true;
}
)";
  return source;
}

const std::string& FogFactorGlsl() {
  static const std::string source = R"(
float FogFactor(int mode, vec3 params, float distance) {
  if (mode == 3) return (params.y - distance) / max(params.y - params.x, 1e-6);
  if (mode == 1) return exp(-params.z * distance);
  if (mode == 2) return exp(-(params.z * distance) * (params.z * distance));
  return 1.0;
}
)";
  return source;
}

}  // namespace kiv::gfx
