#pragma once
// The records of a sprite set: poses of eight directions, each drawn from
// layers and animated through frames of part placements. The file stores the
// frames sparsely; the built frames, bounds and masks are derived after
// reading and never stored.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/byte_list.h"
#include "core/geometry.h"
#include "core/identifier.h"
#include "core/record_codecs.h"
#include "data/lists.h"
#include "data/script_record.h"
#include "platform/gfx/resources.h"

namespace kiv {

inline constexpr std::int32_t kStandardPoseCount = 15;
inline constexpr std::int32_t kDirectionCount = 8;
inline constexpr std::int32_t kSlotEntryCount = 4;
inline constexpr std::int32_t kLayerScriptCount = 10;
inline constexpr std::int32_t kLinkValueCount = 8;

// Key bits of a frame part: the properties an occurrence sets.
inline constexpr std::int32_t kKeyPosition = 1;
inline constexpr std::int32_t kKeyColor = 2;
inline constexpr std::int32_t kKeyScale = 4;
inline constexpr std::int32_t kKeyRotation = 8;
inline constexpr std::int32_t kKeyAll = 15;

inline constexpr std::int32_t kPartLayer = 0;
inline constexpr std::int32_t kPartSlot = 1;

struct FramePart {
  std::int32_t id = 0;       // the same id in several frames is the same part
  std::int32_t keyBits = 0;  // kKey* bits
  std::int32_t kind = 0;     // kPartLayer, kPartSlot, others are points
  std::int32_t index = 0;    // layer index within the direction, or slot entry
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t z = 0;
  std::uint32_t color = 0;  // ARGB
  float scaleX = 0.0f;
  float scaleY = 0.0f;
  float scaleZ = 0.0f;
  Quaternion rotation;        // identity 0, 0, 0, 1
  std::uint8_t scripted = 0;  // built frames: a layer part whose layer has a script
};

struct SpriteFrame {
  std::vector<FramePart> parts;
};

// One entry per frame group: its display time and a run-time value.
struct FrameEntry {
  std::int32_t value = 0;  // milliseconds the group is shown
  std::int32_t runTime = 0;
};

struct SpriteLayer {
  ImageFrameLists frames;
  std::vector<FrameEntry> frameEntries;
  std::int32_t flags = 0;  // 8: parts drawing this layer emit particles; 0x10: not counted as largest value
  std::int32_t slot = 0;
  std::int32_t value = 0;
  std::u16string text;
  std::int32_t valueK = 0;
  std::int32_t emissionLimitMin = 0;
  std::int32_t emissionLimitMax = 0;
  std::int32_t particleLifeMin = 0;
  std::int32_t particleLifeMax = 0;
  std::int32_t emissionIntervalMin = 0;
  std::int32_t emissionIntervalMax = 0;
  std::array<float, 4> particleRangesP{};
  std::array<float, 4> particleRangesQ{};
  std::array<float, 6> spreadR{};
  std::array<float, 12> particleRangesS{};
  std::uint32_t startColorA = 0;
  std::uint32_t endColorA = 0;
  std::uint32_t startColorB = 0;
  std::uint32_t endColorB = 0;
  std::uint8_t byteT = 0;
  std::array<Script, kLayerScriptCount> scripts;
  std::int32_t entryTotal = 0;  // sum of the frame-entry values
};

struct SlotEntry {
  std::int32_t value = 0;
  bool used = false;  // a slot part of the direction refers to this entry
};

struct SpriteDirection {
  std::vector<SpriteLayer> layers;
  std::vector<SpriteFrame> frames;       // as stored
  std::vector<SpriteFrame> builtFrames;  // every part in every frame
  std::int32_t frameDuration = 0;        // milliseconds per frame
  std::uint8_t byteO = 0;
  std::array<SlotEntry, kSlotEntryCount> slots;
  std::int32_t sizeX = 0;
  std::int32_t sizeY = 0;
  std::int32_t minX = 0;
  std::int32_t minY = 0;
  std::int32_t maxX = 0;
  std::int32_t maxY = 0;
  std::int32_t minZ = 0;
  std::int32_t maxZ = 0;
  float radius = 0.0f;
  CollisionShape collision;
};

struct SpritePose {
  std::array<SpriteDirection, kDirectionCount> directions;
  std::int32_t mirrorMask = 0;  // bit d: direction d is drawn as its mirror
  std::int32_t name = 0;        // symbol; only the set's own poses have one
};

struct SpriteLink {
  std::int32_t spriteSet = -2;
  Identifier spriteSetId;
  std::array<std::int32_t, kLinkValueCount> values{};
  std::int32_t name = 0;  // symbol
};

// A flag per sprite set, stored like the template-flag tables.
using SpriteFlag = TemplateFlag;

struct SpriteSet {
  std::int32_t valueA = 0;
  Identifier id;
  std::u16string name;
  std::u16string displayName;
  std::u16string kindName;
  EmbeddedResource image;
  std::vector<SpritePose> poses;
  EmbeddedResource imageA;
  EmbeddedResource imageB;
  gfx::TexturePtr textureA;  // the two images on the device once loaded
  gfx::TexturePtr textureB;
  bool loaded = false;
  std::int32_t slot = 0;
  std::uint8_t flags = 0;
  std::uint8_t byteN = 0;
  std::int32_t category = 0;  // symbol
  std::int32_t symbolB = 0;
  ByteList spriteSetMask;  // built at linking
  std::vector<SpriteFlag> spriteFlags;
  std::vector<TemplateFlag> templateFlags;
  std::vector<SpriteLink> links;
  std::array<std::int32_t, 6> valuesCtoH{};
  std::array<std::uint8_t, 24> blockI{};
  std::int32_t valueJ = 0;
  EmbeddedResource imageC;
  ColorRecord color;
  std::vector<std::int32_t> usedValues;
  std::int32_t largestLayerValue = 0;
  // Textures of the two portrait images (imageA, imageB); null until loaded.
  std::array<gfx::TexturePtr, 2> portraitTextures;
};

// What portrait drawing calls the set's fields: the character layers whose
// tag equals portraitTag show the set's portrait images.
inline std::int32_t SpritePortraitTag(const SpriteSet& s) { return s.valueJ; }
inline const EmbeddedResource& SpritePortraitImage(const SpriteSet& s, std::size_t i) {
  return i == 0 ? s.imageA : s.imageB;
}

// What sprite drawing calls the sprite fields.
inline const std::vector<std::int32_t>& SpriteDrawGroups(const SpriteSet& s) { return s.usedValues; }
inline std::int32_t SpriteLastDrawOrder(const SpriteSet& s) { return s.largestLayerValue; }
inline std::int32_t LayerGroup(const SpriteLayer& l) { return l.slot; }
inline std::int32_t LayerOrder(const SpriteLayer& l) { return l.value; }
inline std::uint8_t LayerParticleFlags(const SpriteLayer& l) { return l.byteT; }
inline std::int32_t LayerAnimationLength(const SpriteLayer& l) { return l.entryTotal; }
inline std::uint8_t DirectionPlayMode(const SpriteDirection& d) { return d.byteO; }
inline std::int32_t DirectionLastFrame(const SpriteDirection& d) {
  return static_cast<std::int32_t>(d.builtFrames.size()) - 1;
}
inline std::int32_t HoldingPointGroup(const SpriteDirection& d, std::size_t i) { return d.slots[i].value; }

// What character layers call the set's fields: the slot whose item layers
// hide this set when it dresses a character (symbol, 0 none), the draw order
// of each of its parts (its draw groups), and the last of the colours that
// tint each part (its last draw order).
inline std::int32_t SpriteHiddenBySlot(const SpriteSet& s) { return s.symbolB; }
inline const std::vector<std::int32_t>& SpritePartOrders(const SpriteSet& s) { return s.usedValues; }
inline std::int32_t SpriteLastColourIndex(const SpriteSet& s) { return s.largestLayerValue; }

// A particle of a sprite layer that emits them.
struct SpriteParticle {
  std::int32_t remaining = 0;  // milliseconds; below 1 the particle is dead and its slot reusable
  std::int32_t life = 0;
  float sizeStart = 0.0f, sizeEnd = 0.0f;
  float angleStart = 0.0f, angleEnd = 0.0f;
  float x = 0.0f, y = 0.0f, z = 0.0f;
  float velocityStartX = 0.0f, velocityStartY = 0.0f, velocityStartZ = 0.0f;
  float velocityEndX = 0.0f, velocityEndY = 0.0f, velocityEndZ = 0.0f;
  std::uint32_t colourStart = 0, colourEnd = 0;
};
using Particle = SpriteParticle;

// The emitter of one part of a shown sprite.
struct PartState {
  std::vector<SpriteParticle> particles;
  std::int32_t emitCountdown = 0;
  std::int32_t emitted = 0;
  std::int32_t emissionLimit = -1;  // -1 no limit
};

// The animation state of one shown sprite.
struct SpriteInstance {
  bool started = false;
  std::vector<PartState> partStates;  // one per part of built frame 0
};

}  // namespace kiv
