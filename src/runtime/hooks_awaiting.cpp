#include "runtime/hooks_awaiting.h"

namespace kiv {

namespace {

constexpr const char* kCommands = "Script commands and properties (not yet filed)";

constexpr AwaitingHook kAwaiting[] = {
    {"scriptHooks.actorExecutor", kCommands},
    {"scriptHooks.objectExecutor", kCommands},
};

}  // namespace

std::span<const AwaitingHook> HooksAwaitingProvider() { return kAwaiting; }

}  // namespace kiv
