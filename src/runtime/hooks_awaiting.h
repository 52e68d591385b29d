#pragma once
// The hooks that the start-up still leaves at their defaults, each with the
// work item whose code will provide it. Whoever builds a provider installs it
// in RuntimeStartUp and takes its line off this list.
#include <span>

namespace kiv {

struct AwaitingHook {
  const char* name;      // as ListHooks names it
  const char* provider;  // the title of the issue that builds the provider
};

std::span<const AwaitingHook> HooksAwaitingProvider();

}  // namespace kiv
