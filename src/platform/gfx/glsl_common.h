#pragma once
// GLSL functions that the fixed pipeline's programs and the assembled shaders
// share, so that both apply the alpha test and fog the same way.
#include <string>

namespace kiv::gfx {

// bool Passes(int func, float value, float reference): the alpha comparison
// by its comparison number (1 never .. 7 greater-or-equal, 8 and others always).
const std::string& AlphaCompareGlsl();
// float FogFactor(int mode, vec3 params, float distance): 1 clear .. 0 fogged
// for mode 1 exp, 2 exp2, 3 linear; params are start, end, density.
const std::string& FogFactorGlsl();

}  // namespace kiv::gfx
