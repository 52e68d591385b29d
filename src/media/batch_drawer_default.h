#pragma once
#include "media/quad_batcher.h"

namespace kiv {

// Draws on the device of the graphics globals; a failed draw raises the
// device's result code as the error number.
BatchDrawer& DefaultBatchDrawer();

}  // namespace kiv
