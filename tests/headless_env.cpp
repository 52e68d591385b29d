// Linked into every test program: tests run without a display, a GPU or a sound
// card unless the caller chose otherwise.
#include <cstdlib>

namespace {
struct HeadlessEnvironment {
  HeadlessEnvironment() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("LP_NUM_THREADS", "2", 0);
  }
};
const HeadlessEnvironment headlessEnvironment;
}  // namespace
