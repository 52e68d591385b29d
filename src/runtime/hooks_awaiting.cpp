#include "runtime/hooks_awaiting.h"

namespace kiv {

namespace {

constexpr const char* kCommands = "Script commands and properties (not yet filed)";

constexpr AwaitingHook kAwaiting[] = {
    {"scriptHooks.fieldExecutor", kCommands},
    {"triggerHooks.FieldAtTarget", kCommands},
};

}  // namespace

std::span<const AwaitingHook> HooksAwaitingProvider() { return kAwaiting; }

}  // namespace kiv
