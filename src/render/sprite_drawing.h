#pragma once
// Drawing sprite sets: frame selection and blending, property scripts, part
// placement, layer render states, texture frames, tiling, holding points and
// particle emitters.
#include <array>
#include <cstdint>

#include "data/sprite_records.h"
#include "render/map_view.h"

namespace kiv {

// The "any" group of DrawSpritePart.
inline constexpr std::int32_t kAllSpriteGroups = 0x7FFFFDFF;
inline constexpr std::int32_t kDrawMeasure = 3;

// Layer flags.
inline constexpr std::int32_t kLayerAdditive = 0x1;
inline constexpr std::int32_t kLayerUnlit = 0x2;
inline constexpr std::int32_t kLayerScreenOverlay = 0x4;
inline constexpr std::int32_t kLayerParticles = 0x8;
inline constexpr std::int32_t kLayerUncoloured = 0x10;
inline constexpr std::int32_t kLayerSmooth = 0x20;
inline constexpr std::int32_t kLayerTileX = 0x40;
inline constexpr std::int32_t kLayerTileY = 0x80;
inline constexpr std::int32_t kLayerTileZ = 0x100;
inline constexpr std::int32_t kLayerBillboardX = 0x200;
inline constexpr std::int32_t kLayerBillboardY = 0x400;
inline constexpr std::int32_t kLayerBillboardZ = 0x800;
inline constexpr std::int32_t kLayerFacesCamera = 0x1000;
inline constexpr std::int32_t kLayerTwoSided = 0x2000;

// The last holding points met by drawing or measuring, by slot 0..3.
extern std::array<FramePart, 4> spriteHoldingPoints;

// The registered script that a sprite layer's property script runs as; the
// script engine reads it for owner kind 13.
extern std::int32_t spriteScriptSlot;

void DrawSprite(std::int32_t spriteSet, std::int32_t time, SpriteInstance& instance, const MapView& view, float x,
                float y, float z, float scaleX, float scaleY, float scaleZ, bool mirrorX, bool mirrorY,
                std::uint32_t colour, std::uint32_t lightColour, std::uint32_t pickColour, float angle,
                std::int32_t drawMode, float u1, float v1, float u2, float v2, bool advance);

// Returns the mask of holding-point slots written to spriteHoldingPoints.
std::int32_t DrawSpritePart(const SpritePose& pose, std::int32_t group, std::int32_t order, std::int32_t direction,
                            std::int32_t time, SpriteInstance& instance, const MapView& view, float x, float y,
                            float z, float scaleX, float scaleY, float scaleZ, bool mirrorX, bool mirrorY,
                            std::uint32_t colour, std::uint32_t colour2, std::uint32_t lightColour,
                            std::uint32_t pickColour, float yaw, float pitch, float roll, std::int32_t drawMode,
                            float u1, float v1, float u2, float v2, bool advance, std::int32_t measuringMode,
                            std::int32_t scriptMap, std::int32_t scriptIndex);

// Gives a newly emitted particle its random start values from the layer.
void InitParticle(Particle& particle, const SpriteLayer& layer);

// Int(Rnd x (max - min + 1) + min), rounded down: a whole number in min..max.
std::int32_t RandomWhole(std::int32_t min, std::int32_t max);

}  // namespace kiv
