#include "runtime/hooks_awaiting.h"

namespace kiv {

namespace {

constexpr const char* kWeather =
    "Weather, world systems and the last drawing steps: weather placement, the Cloud to Door systems, bullets and "
    "pick-ups, shadows, clouds, rain and tops";
constexpr const char* kCombat =
    "Combat: damage and death, targets and item effects, weapons and projectile launch, combat behaviour and "
    "turret aim";
constexpr const char* kSettingsDialogs = "Settings dialogs";
constexpr const char* kCommands = "Script commands and properties (not yet filed)";

constexpr AwaitingHook kAwaiting[] = {
    {"playerHooks.CloudSystem", kWeather},
    {"playerHooks.RainSystem", kWeather},
    {"playerHooks.LightSystem", kWeather},
    {"playerHooks.SpeakerSystem", kWeather},
    {"playerHooks.DoorSystem", kWeather},
    {"playerHooks.BulletSystem", kWeather},
    {"playerHooks.PickUpSystem", kWeather},
    {"dataHooks.InitMapWeather", kWeather},
    {"scriptHooks.internalExecutor", kCommands},
    {"scriptHooks.actorExecutor", kCommands},
    {"scriptHooks.fieldExecutor", kCommands},
    {"scriptHooks.objectExecutor", kCommands},
    {"triggerHooks.FieldAtTarget", kCommands},
    {"startWindowHooks.ShowOptionDialog", kSettingsDialogs},
    {"renderHooks.DrawShadows", kWeather},
    {"renderHooks.DrawZones", kWeather},
    {"renderHooks.DrawClouds", kWeather},
    {"renderHooks.DrawRain", kWeather},
    {"renderHooks.DrawTops", kWeather},
    {"renderHooks.DrawViewOverlays", kWeather},
    {"characterWorld.ClearCharacterMotion", kCommands},
};

}  // namespace

std::span<const AwaitingHook> HooksAwaitingProvider() { return kAwaiting; }

}  // namespace kiv
