#pragma once
#include "core/byte_list.h"

namespace kiv {

// The program's own resource "BG": the loading logo, a 256 x 256 PNG with alpha.
ByteList LoadingLogoPng();

}  // namespace kiv
