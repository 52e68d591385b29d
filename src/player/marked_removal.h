#pragma once
// The closing step of each map's turn of the world update: characters and
// fields marked for removal leave their lists, and a requested reload happens.
#include <cstdint>

namespace kiv {

void RemoveMarkedObjects(std::int32_t map);

}  // namespace kiv
