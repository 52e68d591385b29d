#include "runtime/runtime_startup.h"

#include "mathkiv/models.h"
#include "media/graphics.h"
#include "player/player_install.h"
#include "player/shell_systems_setup.h"
#include "render/render_setup.h"
#include "script/script_engine_setup.h"
#include "script/trigger_engine_setup.h"
#include "state/state_setup.h"

namespace kiv {

void RuntimeStartUp() {
  InstallGameStateHooks();
  InstallScriptDataHooks();
  InstallTriggerEngine();
  InstallRenderDataHooks();
  InstallPlayerHooks();
  InstallShellSystems();
  InstallRenderPlayerHooks();
  // The helper library draws its models through the device that start-up creates.
  graphicsHooks.graphicsInit = [](gfx::Device& device) { GraphicsInit(&device); };
}

}  // namespace kiv
