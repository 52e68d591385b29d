#pragma once
// The projectiles' section of the kivplay dump: every projectile of every map
// as the run left it (kind, position, remaining range).
#include <nlohmann/json.hpp>

namespace kivplay {

nlohmann::json ProjectilesDump();

}  // namespace kivplay
