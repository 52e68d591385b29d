#pragma once
// A game for save-and-resume tests: the sample game whose Town has a sentry
// walking a route north and south through the cellar door on its own, so
// that a save made at any tick has a character mid-step and, from about one
// second in, a door that the sentry opened and that closes after its
// stay-open time.
#include "support/package_writer.h"

namespace kiv::test {

PackageWriter ResumeGamePackage();

// Where the sentry starts, below the door, and how long the door stays open.
inline constexpr float kSentryX = 256.0f;
inline constexpr float kSentryY = 224.0f;
inline constexpr std::int32_t kSentryDoorStayOpenMs = 700;

}  // namespace kiv::test
