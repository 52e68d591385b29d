#include "render/render_hooks.h"

namespace kiv {

RenderHooks renderHooks = [] {
  RenderHooks hooks;
  hooks.Reset();
  return hooks;
}();

void RenderHooks::Reset() {
  TickMilliseconds = [] { return 0; };
  ScreenScale = [] { return 1.0f; };
  PickPassMode = [] { return 0; };
  LitBatchOn = [] { return false; };
  LightingOff = [] { return false; };
  ModelScale = [] { return 1.0f; };
  SpriteSetRadius = [](std::int32_t) { return 0.0f; };
  ShaderLighting = [] { return false; };
  InterfaceReferenceSize = [] { return std::array<std::int32_t, 2>{800, 600}; };
  CameraOffset = [] { return std::array<float, 2>{0.0f, 0.0f}; };
  LightColorAt = [](std::int32_t, float, float, float, std::uint32_t) { return 0xFFFFFFFFu; };
  SystemTexture = [](std::int32_t) { return gfx::TexturePtr(); };
  for (auto* step : {&DrawPickUps, &DrawCharacters, &DrawDoors, &DrawShadows, &DrawZones, &DrawClouds, &DrawRain,
                     &DrawTops, &DrawViewOverlays}) {
    *step = [](const MapDrawStep&) {};
  }
  UpdateCarriedInterfaceSystems = [](std::int32_t, std::int32_t, std::int32_t) {};
  DrawFields = [](std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, const MapView&) {};
  IsCharacterVisible = [](std::int32_t, std::int32_t) { return false; };
  ActorDrawDirection = [](const Actor&) { return 4; };
  SelectActorPose = [](std::int32_t, const Actor&, std::int32_t, std::int32_t, std::int32_t, std::int32_t& pose,
                       std::int32_t& poseTime) { pose = 0, poseTime = 0; };
}

bool RenderLitMode() { return renderHooks.LitBatchOn() && !renderHooks.LightingOff(); }

}  // namespace kiv
