#pragma once
// The field system of an interface: every field's clock and screen sprites,
// and, for fields that update live or when the interface asks for a refresh,
// the retrieve-value scripts that bind its properties and spawn its list items.
#include <cstdint>

namespace kiv {

void RunFieldSystem(std::int32_t map);

}  // namespace kiv
