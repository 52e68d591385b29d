#pragma once
// The first system of the world update: it turns the polled keyboard, mouse,
// joystick and control states into the firing of input scripts, shifts the
// control slots and writes the players' menu keys.
#include <cstdint>

namespace kiv {

// Step flags of an input step.
inline constexpr std::int32_t kInputKindMask = 0x1F;
inline constexpr std::int32_t kInputStepTimed = 0x10;
inline constexpr std::int32_t kInputStepOnRelease = 0x100;
inline constexpr std::int32_t kInputStepOnPress = 0x200;
// A completed first step that the next does not follow within this many ms falls back to idle.
inline constexpr std::int32_t kInputStepTimeout = 500;
inline constexpr std::int32_t kOwnerKindInput = 10;

// Step states per player.
inline constexpr std::uint8_t kStepIdle = 0;
inline constexpr std::uint8_t kStepUnderWay = 1;
inline constexpr std::uint8_t kStepComplete = 2;

// One run of the Input System for every player.
void RunInputSystem();

// Fires input `entry` of `set` for player p: runs its script with the
// player's controlled character as the acting character.
void FireInput(std::int32_t set, std::int32_t entry, std::int32_t player);

// Switches a set on or off for one player; disabling completes the release
// steps whose key is held now, which may fire their inputs.
void SetInputSetEnabled(std::int32_t player, std::int32_t set, std::uint8_t value);

// True when any of the built-in boxes 0 to 6 is on the screen.
bool AnyGameBoxShown();

}  // namespace kiv
