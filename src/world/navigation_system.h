#pragma once
// The navigation cursor of an interface: the cursor field glides to the
// selected field, and its arrival selects that field.
#include <cstdint>

namespace kiv {

void RunNavigationSystem(std::int32_t map);

}  // namespace kiv
