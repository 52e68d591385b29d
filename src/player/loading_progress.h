#pragma once
// The one entry through which every long operation reports its progress: the
// text goes to the log, the bar moves on, and a world tick and a frame run so
// that the window stays alive.
#include <string>

namespace kiv {

// Does nothing but log while a frame is being drawn or a loading tick runs.
// The tick and the frame run only on the hardware device type (1), once a
// device exists. The
// loading-tick flag is cleared again however the tick or frame ends.
void ShowLoadingProgress(const std::string& text, float step);

}  // namespace kiv
