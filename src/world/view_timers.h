#pragma once
// The timers of a view field that the world advances: pan, show and hide
// transition, shake and flash.
#include <cstdint>

#include "data/field_record.h"

namespace kiv {

void AdvanceViewTimers(FieldView& view, std::int32_t elapsed);

}  // namespace kiv
