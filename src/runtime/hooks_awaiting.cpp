#include "runtime/hooks_awaiting.h"

namespace kiv {

// Every hook has its provider installed at start-up: none awaits one.
std::span<const AwaitingHook> HooksAwaitingProvider() { return {}; }

}  // namespace kiv
