#pragma once
// The resource groups: the device objects (textures, models, sounds) of the
// game data, loaded and freed by group through one bit mask. The images stay
// in the records as bytes until their group is loaded; each texture is kept
// beside its image, so erasing a table frees whatever was loaded of it.
#include <array>
#include <cstdint>
#include <string>

#include "core/record_codecs.h"
#include "platform/gfx/resources.h"

namespace kiv {

inline constexpr std::int32_t kGroupFonts = 0x1;
inline constexpr std::int32_t kGroupTileSets = 0x2;
inline constexpr std::int32_t kGroupItems = 0x4;
inline constexpr std::int32_t kGroupSounds = 0x8;
inline constexpr std::int32_t kGroupSpriteSets = 0x10;
inline constexpr std::int32_t kGroupDoorSets = 0x20;
inline constexpr std::int32_t kGroupCharacterSets = 0x200;
inline constexpr std::int32_t kGroupStatisticIcons = 0x4000;
inline constexpr std::int32_t kGroupEquipmentIcons = 0x8000;
inline constexpr std::int32_t kGroupIcons = 0xC000;
inline constexpr std::int32_t kGroupSystemTextures = 0x10000;
inline constexpr std::int32_t kGroupAll = 0x3EFFF;

inline constexpr std::uint32_t kColorKeyMagenta = 0xFFFF00FF;
inline constexpr std::uint32_t kFormatA8R8G8B8 = 21;

// The two system textures ("S0.bmp", "S1.bmp").
extern std::array<gfx::TexturePtr, 2> systemTextures;

// Loads the groups of flags not loaded yet, showing progress. 0 done, -1 a
// quit request stopped it, else the number of the error that stopped it
// (after the "InitResources Error" box and unloading every group).
std::int32_t InitResources(std::int32_t flags);
// Frees the groups of flags; sounds and sprite sets whenever asked, the rest
// only when loaded. Erases the set tables of the groups freed.
void UnloadResources(std::int32_t flags);

// Mode 1: the texture of the image (bytes freed unless keepBytes); mode 2: a model.
gfx::TexturePtr LoadEmbeddedResource(EmbeddedResource& resource, bool keepBytes);
void UnloadEmbeddedResource(EmbeddedResource& resource, gfx::TexturePtr& texture);
gfx::TexturePtr CreateResourceTexture(const EmbeddedResource& resource);

void LoadSpriteSet(std::int32_t index);
void LoadTileSet(std::int32_t index);

}  // namespace kiv
