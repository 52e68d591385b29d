#include "runtime/runtime_startup.h"

#include "commands/actor_executor.h"
#include "commands/internal_executor.h"
#include "commands/object_executor.h"
#include "mathkiv/models.h"
#include "media/graphics.h"
#include "player/boxes_install.h"
#include "player/bullet_systems_install.h"
#include "player/character_system_install.h"
#include "player/player_hooks.h"
#include "player/player_install.h"
#include "player/shell_state.h"
#include "player/shell_systems_setup.h"
#include "render/map_object_drawing.h"
#include "render/map_top_drawing.h"
#include "render/map_data.h"
#include "render/map_data_hooks.h"
#include "render/frame_drawing.h"
#include "render/message_box_drawing.h"
#include "render/render_setup.h"
#include "script/script_engine_setup.h"
#include "script/script_hooks.h"
#include "script/trigger_engine_setup.h"
#include "state/state_setup.h"
#include "world/actor_pose.h"
#include "world/placement.h"
#include "world/relations.h"
#include "world/light_trace.h"
#include "world/tile_collision.h"
#include "world/world_setup.h"
#include "world/map_systems_setup.h"
#include "world/map_systems.h"
#include "world/movement_setup.h"
#include "world/layers_setup.h"
#include "world/interface_setup.h"
#include "world/character_world_setup.h"
#include "render/weather_setup.h"

namespace kiv {

void RuntimeStartUp() {
  InstallGameStateHooks();
  InstallScriptDataHooks();
  InstallTriggerEngine();
  // Identifiers used without an object: variables, custom events and internal commands.
  InstallInternalCommands();
  // Properties of characters, vehicles, turrets and map objects.
  InstallActorProperties();
  InstallObjectExecutor();
  InstallRenderDataHooks();
  InstallPlayerHooks();
  InstallWorldCollisionHooks();
  InstallWorldMovementHooks();
  InstallWorldLayerHooks();
  InstallMapSystemsHooks();
  // Reference fix-up, field lists, removal from play and field states.
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
  // The Bullet and Pick-Up systems of the per-map pass.
  InstallBulletSystems();
  InstallRenderPlayerHooks();
  // Notices, the message boxes with the slot menus, and the load dialog.
  InstallBoxesAndNotices();
  playerHooks.DrawMessageBoxes = [] { DrawMessageBoxes(); };
  // The helper library draws its models through the device that start-up creates.
  graphicsHooks.graphicsInit = [](gfx::Device& device) { GraphicsInit(&device); };
  // Pick-ups, characters and doors of maps, and what character drawing asks of the world.
  renderHooks.DrawPickUps = DrawPickUps;
  renderHooks.DrawCharacters = DrawCharacters;
  renderHooks.DrawDoors = DrawDoors;
  renderHooks.IsCharacterVisible = IsCharacterVisible;
  renderHooks.ActorDrawDirection = ActorDrawDirection;
  renderHooks.SelectActorPose = SelectActorPose;
  // Shadows, pick zones, clouds, rain, tops and view overlays; a carried interface runs its
  // map systems for the character that carries it.
  renderHooks.DrawShadows = DrawShadows;
  renderHooks.DrawZones = DrawZones;
  renderHooks.DrawClouds = DrawClouds;
  renderHooks.DrawRain = DrawRain;
  renderHooks.DrawTops = DrawTops;
  renderHooks.DrawViewOverlays = DrawViewOverlays;
  renderHooks.UpdateCarriedInterfaceSystems = [](std::int32_t interfaceMap, std::int32_t map, std::int32_t actor) {
    UpdateMapSystems(interfaceMap, map, actor, false);
  };
  // Interface focus and the pointer: start interfaces shown at load, the
  // scroll region, the pointer update of every frame.
  InstallInterfaceHooks();
  // Map preparation: terraformation, tile collision, floor heights and light maps.
  InstallMapDataHooks();
  mapDataHooks.UpdateTileCollision = [](std::int32_t map, std::int32_t column, std::int32_t row,
                                        std::int32_t layer) { UpdateTileCollision(map, column, row, layer); };
  mapDataHooks.LightBlocked = [](std::int32_t map, const LineSegment& segment, float z) {
    return LightSegmentBlocked(map, segment, z);
  };
  // Weather placement; the Cloud, Rain, Light, Speaker and Door systems.
  InstallWeatherHooks();
  // Interface "main" asks the frame which interface is on top and takes input;
  // no map may be loaded while the loading screen runs a tick.
  scriptHooks.FindNextMapInOrder = [](std::int32_t map, bool backwards) {
    return FindNextMapInOrder(map, backwards);
  };
  scriptHooks.IsMapInputActive = [](std::int32_t map) { return IsMapInputActive(map); };
  scriptHooks.LoadingTickRunning = [] { return shell.loadingTick; };
}

}  // namespace kiv
