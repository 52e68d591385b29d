#pragma once
// What tile and sprite drawing read of the frame that map drawing and the
// player shell set up. Those parts install these at start-up; tests fill them.
#include <array>
#include <cstdint>
#include <functional>

#include "platform/gfx/resources.h"
#include "render/map_view.h"

namespace kiv {

struct Actor;

// What a step of map drawing gets: the arguments of the map drawing call, the
// view record it set up and the part of the map that can be seen (map
// pixels: left, top, right, bottom).
struct MapDrawStep {
  std::int32_t map = -1;
  std::int32_t x = 0, y = 0;
  std::int32_t parentMap = -1, viewField = -1;
  std::int32_t width = 0, height = 0;
  const MapView* view = nullptr;
  std::array<std::int32_t, 4> visibleRect{};
};

struct RenderHooks {
  std::function<std::int32_t()> TickMilliseconds;  // elapsed ms of this tick, after the speed factor
  std::function<float()> ScreenScale;              // screen-overlay layers scale by it
  std::function<std::int32_t()> PickPassMode;      // non-zero while the picking frame is drawn
  std::function<bool()> LitBatchOn;                // the 3-D batch carries lit vertices
  std::function<bool()> LightingOff;               // the player switched shader lighting off
  std::function<float()> ModelScale;               // uniform scale of tile models
  std::function<float(std::int32_t spriteSet)> SpriteSetRadius;  // drawing radius of the set's first frames
  std::function<bool()> ShaderLighting;            // sprites are lit by the shaders
  // Width and height by which interface projectiles are centred.
  std::function<std::array<std::int32_t, 2>()> InterfaceReferenceSize;
  // The camera's x and its vertical screen offset (camera y - camera z).
  std::function<std::array<float, 2>()> CameraOffset;
  // Ambient plus the lights that reach a point, modulated by colour unless it is -1.
  std::function<std::uint32_t(std::int32_t map, float x, float y, float z, std::uint32_t colour)> LightColorAt;
  // System texture n (0 is the window skin); null while not loaded.
  std::function<gfx::TexturePtr(std::int32_t n)> SystemTexture;
  // The steps of map drawing that later parts provide, called in the order
  // and under the conditions map drawing keeps. Defaults draw nothing.
  std::function<void(const MapDrawStep& step)> DrawPickUps;
  std::function<void(const MapDrawStep& step)> DrawCharacters;
  std::function<void(const MapDrawStep& step)> DrawDoors;
  std::function<void(const MapDrawStep& step)> DrawShadows;
  std::function<void(const MapDrawStep& step)> DrawZones;  // pick passes only
  std::function<void(const MapDrawStep& step)> DrawClouds;
  std::function<void(const MapDrawStep& step)> DrawRain;
  std::function<void(const MapDrawStep& step)> DrawTops;
  std::function<void(const MapDrawStep& step)> DrawViewOverlays;  // screen sprites, transition, flash
  // The map systems of an interface a character carries, run once before it
  // is drawn over the character (map and actor: the character).
  std::function<void(std::int32_t interfaceMap, std::int32_t map, std::int32_t actor)> UpdateCarriedInterfaceSystems;
  // The fields of an interface whose view starts at (x, y) and is width x height pixels.
  std::function<void(std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                     const MapView& view)>
      DrawFields;
  // What character drawing asks of the world: whether an actor is drawn, the
  // direction it is drawn in, and the pose of one of its sprite sets with
  // the ms into that pose (tag: the drawn layer's group).
  std::function<bool(std::int32_t map, std::int32_t actor)> IsCharacterVisible;
  std::function<std::int32_t(const Actor& actor)> ActorDrawDirection;
  std::function<void(std::int32_t map, const Actor& actor, std::int32_t spriteSet, std::int32_t tag,
                     std::int32_t direction, std::int32_t& pose, std::int32_t& poseTime)>
      SelectActorPose;
  void Reset();
};
extern RenderHooks renderHooks;

// Lit mode: the lit batch is on and lighting is not switched off.
bool RenderLitMode();

}  // namespace kiv
