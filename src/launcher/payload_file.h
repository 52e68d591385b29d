#pragma once
// Writing one payload of the launcher's file out as a file of its own.
#include <string>

#include "launcher/payload_table.h"

namespace kiv {

// Copies the span's bytes from `source` into `path`. The bytes go to a fresh file
// beside the path (created exclusively, never through a link) that is renamed over
// the path when complete: a link planted at the name in a shared folder is replaced,
// not followed, and a failure leaves no half-written file. `executable` gives the
// file the run bit. False on any failure (the path is then untouched).
bool WritePayloadFile(int source, const PayloadSpan& span, const std::string& path, bool executable);

}  // namespace kiv
