#include "runtime/hook_registry.h"

#include <functional>
#include <typeinfo>

#include "core/hooks.h"
#include "data/data_hooks.h"
#include "dialogs/dialog_hooks.h"
#include "media/graphics.h"
#include "player/character_world.h"
#include "player/player_hooks.h"
#include "player/start_window.h"
#include "render/map_data_hooks.h"
#include "render/render_hooks.h"
#include "script/script_hooks.h"
#include "script/trigger_hooks.h"
#include "state/state_hooks.h"

namespace kiv {

namespace {

// All hook members are std::function objects, whose size does not depend on
// their signature, so a struct's size tells how many members it has.
template <typename Hooks>
constexpr std::size_t MemberCount() {
  return sizeof(Hooks) / sizeof(std::function<void()>);
}

#define KIV_HOOK(prefix, member) visit(prefix "." #member, hooks.member)

template <typename Visit>
void VisitDataHooks(DataHooks& hooks, Visit&& visit) {
  static_assert(MemberCount<DataHooks>() == 25, "list every dataHooks member here");
  KIV_HOOK("dataHooks", CompileScript);
  KIV_HOOK("dataHooks", BuildTriggerConditions);
  KIV_HOOK("dataHooks", FindGlobalName);
  KIV_HOOK("dataHooks", GlobalNameSymbol);
  KIV_HOOK("dataHooks", LooseNameMatching);
  KIV_HOOK("dataHooks", ScriptRaiseObjectEvent);
  KIV_HOOK("dataHooks", GenerateMapData);
  KIV_HOOK("dataHooks", ActivePlayerMap);
  KIV_HOOK("dataHooks", RefreshViewedMaps);
  KIV_HOOK("dataHooks", RestartTickBase);
  KIV_HOOK("dataHooks", YieldToWindowSystem);
  KIV_HOOK("dataHooks", QuitRequested);
  KIV_HOOK("dataHooks", ItemAmmunitionCapacity);
  KIV_HOOK("dataHooks", BuildDoorCollisionShape);
  KIV_HOOK("dataHooks", FieldDrawnWidth);
  KIV_HOOK("dataHooks", WrapText);
  KIV_HOOK("dataHooks", InitMapWeather);
  KIV_HOOK("dataHooks", RebuildSpriteLayers);
  KIV_HOOK("dataHooks", UpdateCharacterFloorHeight);
  KIV_HOOK("dataHooks", SetMapActive);
  KIV_HOOK("dataHooks", RunOverlayTrigger);
  KIV_HOOK("dataHooks", SetInputSetEnabled);
  KIV_HOOK("dataHooks", ShowLoadingProgress);
  KIV_HOOK("dataHooks", ResetScriptRunState);
  KIV_HOOK("dataHooks", ResetShellState);
}

template <typename Visit>
void VisitStateHooks(StateHooks& hooks, Visit&& visit) {
  static_assert(MemberCount<StateHooks>() == 11, "list every stateHooks member here");
  KIV_HOOK("stateHooks", ReadGlobalLists);
  KIV_HOOK("stateHooks", WriteGlobalLists);
  KIV_HOOK("stateHooks", ReadScriptRunState);
  KIV_HOOK("stateHooks", WriteScriptRunState);
  KIV_HOOK("stateHooks", ReloadGameData);
  KIV_HOOK("stateHooks", InitResources);
  KIV_HOOK("stateHooks", ShowLoadingProgress);
  KIV_HOOK("stateHooks", GenerateMapData);
  KIV_HOOK("stateHooks", RefreshViewedMaps);
  KIV_HOOK("stateHooks", RunLoadEvent);
  KIV_HOOK("stateHooks", ResetTickBase);
}

template <typename Visit>
void VisitScriptHooks(ScriptHooks& hooks, Visit&& visit) {
  static_assert(MemberCount<ScriptHooks>() == 11, "list every scriptHooks member here");
  KIV_HOOK("scriptHooks", TickCount);
  KIV_HOOK("scriptHooks", RunTrigger);
  KIV_HOOK("scriptHooks", internalExecutor);
  KIV_HOOK("scriptHooks", actorExecutor);
  KIV_HOOK("scriptHooks", fieldExecutor);
  KIV_HOOK("scriptHooks", objectExecutor);
  KIV_HOOK("scriptHooks", CurrentPlayer);
  KIV_HOOK("scriptHooks", RelateContext);
  KIV_HOOK("scriptHooks", FindNextMapInOrder);
  KIV_HOOK("scriptHooks", IsMapInputActive);
  KIV_HOOK("scriptHooks", LoadingTickRunning);
}

template <typename Visit>
void VisitTriggerHooks(TriggerHooks& hooks, Visit&& visit) {
  static_assert(MemberCount<TriggerHooks>() == 8, "list every triggerHooks member here");
  KIV_HOOK("triggerHooks", SpriteTextureScript);
  KIV_HOOK("triggerHooks", TickElapsed);
  KIV_HOOK("triggerHooks", SystemMenuOpen);
  KIV_HOOK("triggerHooks", EndMapDataAudio);
  KIV_HOOK("triggerHooks", ActorStopped);
  KIV_HOOK("triggerHooks", FieldTextShown);
  KIV_HOOK("triggerHooks", FieldAtTarget);
  KIV_HOOK("triggerHooks", WaitFlagMet);
}

template <typename Visit>
void VisitGraphicsHooks(GraphicsHooks& hooks, Visit&& visit) {
  static_assert(MemberCount<GraphicsHooks>() == 5, "list every graphicsHooks member here");
  KIV_HOOK("graphicsHooks", pickByColor);
  KIV_HOOK("graphicsHooks", captureMouseInWindow);
  KIV_HOOK("graphicsHooks", quitRequest);
  KIV_HOOK("graphicsHooks", graphicsInit);
  KIV_HOOK("graphicsHooks", messageBox);
}

template <typename Visit>
void VisitRenderHooks(RenderHooks& hooks, Visit&& visit) {
  static_assert(MemberCount<RenderHooks>() == 26, "list every renderHooks member here");
  KIV_HOOK("renderHooks", TickMilliseconds);
  KIV_HOOK("renderHooks", ScreenScale);
  KIV_HOOK("renderHooks", PickPassMode);
  KIV_HOOK("renderHooks", LitBatchOn);
  KIV_HOOK("renderHooks", LightingOff);
  KIV_HOOK("renderHooks", ModelScale);
  KIV_HOOK("renderHooks", SpriteSetRadius);
  KIV_HOOK("renderHooks", ShaderLighting);
  KIV_HOOK("renderHooks", InterfaceReferenceSize);
  KIV_HOOK("renderHooks", CameraOffset);
  KIV_HOOK("renderHooks", LightColorAt);
  KIV_HOOK("renderHooks", SystemTexture);
  KIV_HOOK("renderHooks", DrawPickUps);
  KIV_HOOK("renderHooks", DrawCharacters);
  KIV_HOOK("renderHooks", DrawDoors);
  KIV_HOOK("renderHooks", DrawShadows);
  KIV_HOOK("renderHooks", DrawZones);
  KIV_HOOK("renderHooks", DrawClouds);
  KIV_HOOK("renderHooks", DrawRain);
  KIV_HOOK("renderHooks", DrawTops);
  KIV_HOOK("renderHooks", DrawViewOverlays);
  KIV_HOOK("renderHooks", UpdateCarriedInterfaceSystems);
  KIV_HOOK("renderHooks", DrawFields);
  KIV_HOOK("renderHooks", IsCharacterVisible);
  KIV_HOOK("renderHooks", ActorDrawDirection);
  KIV_HOOK("renderHooks", SelectActorPose);
}

template <typename Visit>
void VisitStartWindowHooks(StartWindowHooks& hooks, Visit&& visit) {
  static_assert(MemberCount<StartWindowHooks>() == 1, "list every startWindowHooks member here");
  KIV_HOOK("startWindowHooks", ShowLoadDialog);
}

template <typename Visit>
void VisitDialogHooks(DialogHooks& hooks, Visit&& visit) {
  static_assert(MemberCount<DialogHooks>() == 1, "list every dialogHooks member here");
  KIV_HOOK("dialogHooks", ShowStartWindow);
}

template <typename Visit>
void VisitPlayerHooks(PlayerHooks& hooks, Visit&& visit) {
  static_assert(MemberCount<PlayerHooks>() == 33, "list every playerHooks member here");
  KIV_HOOK("playerHooks", WorldUpdate);
  KIV_HOOK("playerHooks", DrawFrame);
  KIV_HOOK("playerHooks", InitResources);
  KIV_HOOK("playerHooks", UnloadResources);
  KIV_HOOK("playerHooks", ShowLoadingProgress);
  KIV_HOOK("playerHooks", RefreshViewedMaps);
  KIV_HOOK("playerHooks", RestartGame);
  KIV_HOOK("playerHooks", ShutdownGraphics);
  KIV_HOOK("playerHooks", InitMessageBoxes);
  KIV_HOOK("playerHooks", UpdatePointer);
  KIV_HOOK("playerHooks", SetCharacterPosition);
  KIV_HOOK("playerHooks", MessageBoxSystem);
  KIV_HOOK("playerHooks", ActionRects);
  KIV_HOOK("playerHooks", HISystem);
  KIV_HOOK("playerHooks", ClearCharacterTickFlags);
  KIV_HOOK("playerHooks", MessageSystem);
  KIV_HOOK("playerHooks", CloudSystem);
  KIV_HOOK("playerHooks", RainSystem);
  KIV_HOOK("playerHooks", UpdateMapSystems);
  KIV_HOOK("playerHooks", LightSystem);
  KIV_HOOK("playerHooks", SpeakerSystem);
  KIV_HOOK("playerHooks", DoorSystem);
  KIV_HOOK("playerHooks", BulletSystem);
  KIV_HOOK("playerHooks", PickUpSystem);
  KIV_HOOK("playerHooks", CharacterSystem);
  KIV_HOOK("playerHooks", RemoveMarkedObjects);
  KIV_HOOK("playerHooks", RelightLight);
  KIV_HOOK("playerHooks", FieldViewMap);
  KIV_HOOK("playerHooks", FieldViewFocus);
  KIV_HOOK("playerHooks", SetFieldScreenView);
  KIV_HOOK("playerHooks", DrawMap);
  KIV_HOOK("playerHooks", DrawMessageBoxes);
  KIV_HOOK("playerHooks", DrawCursor);
}

template <typename Visit>
void VisitMapDataHooks(MapDataHooks& hooks, Visit&& visit) {
  static_assert(MemberCount<MapDataHooks>() == 2, "list every mapDataHooks member here");
  KIV_HOOK("mapDataHooks", UpdateTileCollision);
  KIV_HOOK("mapDataHooks", LightBlocked);
}

template <typename Visit>
void VisitCharacterWorldHooks(CharacterWorldHooks& hooks, Visit&& visit) {
  static_assert(MemberCount<CharacterWorldHooks>() == 29, "list every characterWorld member here");
  KIV_HOOK("characterWorld", TestActorMove);
  KIV_HOOK("characterWorld", TestCharacterStep);
  KIV_HOOK("characterWorld", ClearHitLists);
  KIV_HOOK("characterWorld", HitList);
  KIV_HOOK("characterWorld", ActorHeading);
  KIV_HOOK("characterWorld", ResetActorCollision);
  KIV_HOOK("characterWorld", ActorCollisionRectAt);
  KIV_HOOK("characterWorld", ActorCollisionRect);
  KIV_HOOK("characterWorld", SetCharacterPosition);
  KIV_HOOK("characterWorld", UpdateCharacterFloorHeight);
  KIV_HOOK("characterWorld", IsCharacterCollidable);
  KIV_HOOK("characterWorld", IsTeamHostile);
  KIV_HOOK("characterWorld", CharacterMotionState);
  KIV_HOOK("characterWorld", UpdateCharacterMovement);
  KIV_HOOK("characterWorld", ApproachSpeed);
  KIV_HOOK("characterWorld", ClearCharacterMotion);
  KIV_HOOK("characterWorld", TryFireCharacterWeapon);
  KIV_HOOK("characterWorld", ApplyAreaDamage);
  KIV_HOOK("characterWorld", OpenDoor);
  KIV_HOOK("characterWorld", TakePickUp);
  KIV_HOOK("characterWorld", ExpireEffectAnimations);
  KIV_HOOK("characterWorld", SelectActorPose);
  KIV_HOOK("characterWorld", ActorDrawDirection);
  KIV_HOOK("characterWorld", HasTriggerEvent);
  KIV_HOOK("characterWorld", RaiseObjectEvent);
  KIV_HOOK("characterWorld", RunTrigger);
  KIV_HOOK("characterWorld", ShiftCharacterRefs);
  KIV_HOOK("characterWorld", ShiftFieldRefs);
  KIV_HOOK("characterWorld", ReloadMap);
}

#undef KIV_HOOK

// A hook still holds its default when the callable it wraps is of the type the
// struct's Reset() put there: every default is a lambda of its own type (or
// empty), and an installed provider is another lambda or function.
template <typename Hooks, typename VisitAll>
void Compare(Hooks& installed, VisitAll visitAll, std::vector<HookState>& out) {
  Hooks defaults;
  defaults.Reset();
  std::vector<const std::type_info*> defaultTypes;
  visitAll(defaults, [&](const char*, const auto& hook) { defaultTypes.push_back(&hook.target_type()); });
  std::size_t k = 0;
  visitAll(installed, [&](const char* name, const auto& hook) {
    out.push_back({name, hook.target_type() == *defaultTypes[k++]});
  });
}

}  // namespace

std::vector<HookState> ListHooks() {
  std::vector<HookState> hooks;
  Compare(
      dataHooks, [](DataHooks& h, auto&& v) { VisitDataHooks(h, v); }, hooks);
  Compare(
      stateHooks, [](StateHooks& h, auto&& v) { VisitStateHooks(h, v); }, hooks);
  Compare(
      scriptHooks, [](ScriptHooks& h, auto&& v) { VisitScriptHooks(h, v); }, hooks);
  Compare(
      triggerHooks, [](TriggerHooks& h, auto&& v) { VisitTriggerHooks(h, v); }, hooks);
  Compare(
      graphicsHooks, [](GraphicsHooks& h, auto&& v) { VisitGraphicsHooks(h, v); }, hooks);
  Compare(
      renderHooks, [](RenderHooks& h, auto&& v) { VisitRenderHooks(h, v); }, hooks);
  Compare(
      playerHooks, [](PlayerHooks& h, auto&& v) { VisitPlayerHooks(h, v); }, hooks);
  Compare(
      startWindowHooks, [](StartWindowHooks& h, auto&& v) { VisitStartWindowHooks(h, v); }, hooks);
  Compare(
      dialogHooks, [](DialogHooks& h, auto&& v) { VisitDialogHooks(h, v); }, hooks);
  Compare(
      mapDataHooks, [](MapDataHooks& h, auto&& v) { VisitMapDataHooks(h, v); }, hooks);
  Compare(
      characterWorld, [](CharacterWorldHooks& h, auto&& v) { VisitCharacterWorldHooks(h, v); }, hooks);
  hooks.push_back({"SetNoticeHook", !NoticeHookInstalled()});
  hooks.push_back({"SetMessageBoxHook", !MessageBoxHookInstalled()});
  return hooks;
}

}  // namespace kiv
