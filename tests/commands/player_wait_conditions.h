#pragma once
// The player's own answers to the wait flags (system menu, music, shop,
// interface), taken into the script engine fixture without the shell's other
// hooks.
#include "data/data_hooks.h"
#include "player/player_hooks.h"
#include "player/shell_systems_setup.h"
#include "script/trigger_hooks.h"
#include "state/state_hooks.h"

namespace kiv::test {

inline void UsePlayerWaitConditions() {
  const TriggerHooks engine = triggerHooks;
  InstallShellSystems();
  const auto flagMet = triggerHooks.WaitFlagMet;
  triggerHooks = engine;
  triggerHooks.WaitFlagMet = flagMet;
  playerHooks.Reset();
  stateHooks.Reset();
  dataHooks.Reset();
}

}  // namespace kiv::test
