#include "runtime/runtime_startup.h"

#include "mathkiv/models.h"
#include "media/graphics.h"
#include "player/boxes_install.h"
#include "player/character_system_install.h"
#include "player/player_hooks.h"
#include "player/player_install.h"
#include "player/shell_systems_setup.h"
#include "render/message_box_drawing.h"
#include "render/render_setup.h"
#include "script/script_engine_setup.h"
#include "script/trigger_engine_setup.h"
#include "state/state_setup.h"
#include "world/placement.h"
#include "world/world_setup.h"
#include "world/movement_setup.h"
#include "world/character_world_setup.h"

namespace kiv {

void RuntimeStartUp() {
  InstallGameStateHooks();
  InstallScriptDataHooks();
  InstallTriggerEngine();
  InstallRenderDataHooks();
  InstallPlayerHooks();
  InstallWorldCollisionHooks();
  InstallWorldMovementHooks();
  // The world operations that the per-tick life of characters calls.
  InstallCharacterWorldHooks();
  // A new game moves the off-map characters onto the start map.
  playerHooks.SetCharacterPosition = [](std::int32_t character, std::int32_t fromMap, std::int32_t toMap,
                                        std::int32_t skipParty, std::int32_t skipMapTrigger) {
    SetCharacterPosition(character, fromMap, toMap, skipParty != 0, skipMapTrigger != 0);
  };
  InstallShellSystems();
  // ActionRects, HI, the Character System and the removal of marked objects.
  InstallCharacterSystem();
  InstallRenderPlayerHooks();
  // Notices, the message boxes with the slot menus, and the load dialog.
  InstallBoxesAndNotices();
  playerHooks.DrawMessageBoxes = [] { DrawMessageBoxes(); };
  // The helper library draws its models through the device that start-up creates.
  graphicsHooks.graphicsInit = [](gfx::Device& device) { GraphicsInit(&device); };
}

}  // namespace kiv
