#include "script/trigger_hooks.h"

namespace kiv {

TriggerHooks triggerHooks;

void TriggerHooks::Reset() {
  SpriteTextureScript = [] { return -1; };
  TickElapsed = [] { return 0; };
  SystemMenuOpen = [] { return false; };
  EndMapDataAudio = [] {};
  ActorStopped = [](std::int32_t, std::int32_t) { return true; };
  FieldTextShown = [](std::int32_t, std::int32_t) { return true; };
  FieldAtTarget = [](std::int32_t, std::int32_t) { return true; };
  WaitFlagMet = [](std::int32_t) { return true; };
}

}  // namespace kiv
