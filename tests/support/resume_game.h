#pragma once
// A game for save-and-resume tests: the sample game whose Town has a sentry
// walking a route with a wait on its own, so that a save made after 60 ticks
// of 16 ms finds it waiting (moveWait running) and one after 120 ticks finds
// it mid-step.
#include "support/package_writer.h"

namespace kiv::test {

PackageWriter ResumeGamePackage();

// Where the sentry starts.
inline constexpr float kSentryX = 256.0f;
inline constexpr float kSentryY = 224.0f;

}  // namespace kiv::test
