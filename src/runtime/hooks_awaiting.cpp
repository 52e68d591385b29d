#include "runtime/hooks_awaiting.h"

namespace kiv {

namespace {

constexpr const char* kInterfaces =
    "Interfaces on screen: drawing helpers, sprite-set queries, map drawing set-up, field views and camera, "
    "field drawing, value fields and panels";
constexpr const char* kMaps =
    "Maps prepared and drawn: terraformation, map data and light maps, pick-ups, characters and doors";
constexpr const char* kCharacters =
    "Characters in the world update: ActionRects and HI, the Character System, movement, weapons, action and "
    "contacts, passage between maps";
constexpr const char* kWeather =
    "Weather, world systems and the last drawing steps: weather placement, the Cloud to Door systems, bullets and "
    "pick-ups, shadows, clouds, rain and tops";
constexpr const char* kMapSystems =
    "Map systems, sprite layers and inventory: spawns, field scripts and cursor navigation, character layers, "
    "items, equipment and party progression";
constexpr const char* kCombat =
    "Combat: damage and death, targets and item effects, weapons and projectile launch, combat behaviour and "
    "turret aim";
constexpr const char* kListUpkeep =
    "Interfaces and list upkeep: script reference fix-up, field lists, object removal and map reload, field focus "
    "and navigation, pointer picking";
constexpr const char* kSettingsDialogs = "Settings dialogs";
constexpr const char* kCommands = "Script commands and properties (not yet filed)";

constexpr AwaitingHook kAwaiting[] = {
    {"playerHooks.UpdatePointer", kListUpkeep},
    {"playerHooks.CloudSystem", kWeather},
    {"playerHooks.RainSystem", kWeather},
    {"playerHooks.UpdateMapSystems", kMapSystems},
    {"playerHooks.LightSystem", kWeather},
    {"playerHooks.SpeakerSystem", kWeather},
    {"playerHooks.DoorSystem", kWeather},
    {"playerHooks.BulletSystem", kWeather},
    {"playerHooks.PickUpSystem", kWeather},
    {"dataHooks.GenerateMapData", kMaps},
    {"dataHooks.ItemAmmunitionCapacity", kCombat},
    {"dataHooks.InitMapWeather", kWeather},
    {"dataHooks.RebuildSpriteLayers", kMapSystems},
    {"dataHooks.SetMapActive", kListUpkeep},
    {"stateHooks.GenerateMapData", kMaps},
    {"scriptHooks.internalExecutor", kCommands},
    {"scriptHooks.actorExecutor", kCommands},
    {"scriptHooks.fieldExecutor", kCommands},
    {"scriptHooks.objectExecutor", kCommands},
    {"scriptHooks.RelateContext", kMapSystems},
    {"triggerHooks.EndMapDataAudio", kMaps},
    {"triggerHooks.FieldAtTarget", kMapSystems},
    {"startWindowHooks.ShowOptionDialog", kSettingsDialogs},
    {"worldHooks.RemoveCharacterFromPlay", kListUpkeep},
    {"worldHooks.ClearCharacterSlot", kListUpkeep},
    {"worldHooks.ShiftFieldRefs", kListUpkeep},
    {"worldHooks.InsertField", kListUpkeep},
    {"worldHooks.UnspawnChildFields", kListUpkeep},
    {"worldHooks.SetFieldSelectable", kListUpkeep},
    {"worldHooks.SetFieldDisabled", kListUpkeep},
    {"worldHooks.KeepFieldInScrollRegion", kListUpkeep},
    {"renderHooks.LightColorAt", kMaps},
    {"renderHooks.DrawPickUps", kMaps},
    {"renderHooks.DrawCharacters", kMaps},
    {"renderHooks.DrawDoors", kMaps},
    {"renderHooks.DrawShadows", kWeather},
    {"renderHooks.DrawZones", kWeather},
    {"renderHooks.DrawClouds", kWeather},
    {"renderHooks.DrawRain", kWeather},
    {"renderHooks.DrawTops", kWeather},
    {"renderHooks.DrawViewOverlays", kWeather},
    {"characterWorld.ApproachSpeed", kCombat},
    {"characterWorld.ClearCharacterMotion", kCommands},
    {"characterWorld.TryFireCharacterWeapon", kCombat},
    {"characterWorld.ApplyAreaDamage", kCombat},
    {"characterWorld.HasTriggerEvent", kMapSystems},
    {"characterWorld.ShiftCharacterRefs", kListUpkeep},
    {"characterWorld.ShiftFieldRefs", kListUpkeep},
    {"characterWorld.ReloadMap", kListUpkeep},
};

}  // namespace

std::span<const AwaitingHook> HooksAwaitingProvider() { return kAwaiting; }

}  // namespace kiv
