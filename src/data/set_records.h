#pragma once
// The set records of the game data: tile, sprite, door, item, font and input
// sets, custom events and the statistics that items refer to. Each is filled
// by its reader from a numbered package entry; references to other records
// keep their identifier and are resolved to indexes by linking.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/byte_list.h"
#include "core/identifier.h"
#include "core/record_codecs.h"
#include "data/glyph_index_list.h"
#include "data/lists.h"
#include "data/script_record.h"
#include "data/sprite_records.h"
#include "platform/gfx/resources.h"

namespace kiv {

// An index into a table with the identifier it was resolved from: -2 while
// unresolved, -1 none.
struct RecordReference {
  std::int32_t index = -1;
  Identifier id;
};

inline constexpr std::int32_t kTerraformTileCount = 60;

struct TerraformRule {
  std::array<std::int32_t, kTerraformTileCount> tiles{};  // -1 none
  std::int32_t tileSet = -2;
  Identifier tileSetId;
  std::uint8_t byteL = 0;
  std::uint8_t byteM = 0;
};

struct Tile {
  std::u16string name;
  std::int32_t frameGroup = -1;
  std::int32_t valueB = 0;  // pixels
  std::int32_t valueC = 0;
  std::vector<TerraformRule> terraformRules;
  float valueD = 0.0f;  // above 0: the tile gets a collision box
  ByteList byteList;
  std::int32_t valueE = 0;
  std::int32_t linkedTileSet = -2;
  Identifier linkedTileSetId;
  std::uint8_t byteF = 0;
  std::uint8_t shape = 0;
  std::uint8_t flagG = 0;
  EmbeddedResource image;
  gfx::TexturePtr texture;  // the image on the device once loaded
  std::array<std::uint8_t, 16> blockH{};
  std::array<std::uint8_t, 24> blockI{};
  std::int32_t valueJ = 0;
  CollisionShape collision;
  std::int32_t scatterX = 0;
  std::int32_t scatterY = 0;
  std::int32_t scatterZ = 0;
  std::uint32_t colorA = 0;
  std::uint32_t colorB = 0;
  std::uint8_t randomFlipB = 0;
  std::uint8_t randomFlipA = 0;
  std::uint8_t randomTurn = 0;
  std::uint8_t byteK = 0;
};

// What tile drawing calls the tile's fields.
inline std::int32_t TileImage(const Tile& t) { return t.frameGroup; }  // index into the set's frame groups
inline std::int32_t TileShadowOffset(const Tile& t) { return t.valueB; }  // 0: no shadow
inline std::int32_t TileHeight(const Tile& t) { return t.valueC; }
inline std::int32_t TileAnimLast(const Tile& t) { return static_cast<std::int32_t>(t.byteList.size()) - 1; }
inline std::int32_t TileAnimFrameTime(const Tile& t) { return t.valueE; }
inline std::uint8_t TileRenderKind(const Tile& t) { return t.flagG; }  // 2: a 3-D model
inline const EmbeddedResource& TileModel(const Tile& t) { return t.image; }
inline std::uint32_t TileColorFrom(const Tile& t) { return t.colorA; }
inline std::uint32_t TileColorTo(const Tile& t) { return t.colorB; }
inline bool TileRandomFlipH(const Tile& t) { return t.randomFlipA != 0; }
inline bool TileRandomFlipV(const Tile& t) { return t.randomFlipB != 0; }
// A transition entry's drawing mode.
inline std::uint8_t TerraformMode(const TerraformRule& r) { return r.byteL; }
// The neighbour tile number that a terraformation rule names (with its tile set).
inline std::int32_t TerraformRuleTile(const TerraformRule& r) { return r.byteM; }
// What terraformation reads of a tile: how deep it sinks into a pit (0 flat)
// and whether a neighbour outside the map counts as different.
inline float TileDepth(const Tile& t) { return t.valueD; }
inline bool TileEdgeDiffers(const Tile& t) { return (t.byteK & 1) != 0; }

// Tile kinds.
inline constexpr std::int32_t kTileKindGround = 0;
inline constexpr std::int32_t kTileKindLowerObject = 1;
inline constexpr std::int32_t kTileKindUpperObject = 2;

struct TileSet {
  std::int32_t valueA = 0;
  Identifier id;
  bool oldFormat = false;
  std::u16string name;
  std::u16string displayName;
  std::u16string kindName;
  EmbeddedResource image;
  ImageFrameLists frames;
  ColorRecord color;
  std::int32_t kind = 0;
  std::vector<Tile> tiles;
  std::uint8_t flags = 0;  // bit 0 read by terraformation
  // How a map cell byte addresses the set: 0 the whole byte is the tile;
  // 1 low 6 bits tile, 0x40 and 0x80 invert the random flips; 2 low 6 bits
  // tile, top two bits add quarter turns.
  std::uint8_t cellFormat = 0;
  std::uint8_t reserved = 0;
};

inline std::uint8_t TileSetFlipMode(const TileSet& s) { return s.cellFormat; }
inline bool TileSetIsWallSet(const TileSet& s) { return (s.flags & 1) != 0; }

// The look of a kind of door: three images and 4 x 8 byte triples.
struct DoorSet {
  std::int32_t headValue = 0;  // files from 100494 on
  Identifier id;
  std::u16string name;
  std::u16string kind;
  std::array<EmbeddedResource, 3> images;
  std::array<gfx::TexturePtr, 3> textures;  // the images on the device once loaded
  // triples[first][second], first 0..3, second 0..7.
  std::array<std::array<std::array<std::uint8_t, 3>, 8>, 4> triples{};
};

// What door drawing calls the door set's textures.
inline const gfx::TexturePtr& DoorFlatTexture(const DoorSet& s) { return s.textures[0]; }
inline const gfx::TexturePtr& DoorTexture(const DoorSet& s) { return s.textures[1]; }
inline const gfx::TexturePtr& DoorOverlayTexture(const DoorSet& s) { return s.textures[2]; }

// A glyph's cell in the font texture: top-left corner and size, in texture
// coordinates 0..1.
struct FontGlyph {
  float u = 0.0f;
  float v = 0.0f;
  float width = 0.0f;
  float height = 0.0f;
  std::int16_t code = 0;  // the character's UTF-16 value read as signed
};

struct FontSet {
  Identifier id;
  std::u16string name;
  std::u16string displayName;
  std::u16string kind;
  EmbeddedResource texture;
  gfx::TexturePtr loadedTexture;  // the texture made from the image; null until the fonts are loaded
  std::int32_t textureWidth = 256;
  std::int32_t textureHeight = 256;
  std::vector<FontGlyph> glyphs;  // sorted by code
  std::u16string text;
  std::int32_t value = 0;
  std::uint8_t byte2 = 0;
  std::int32_t value2 = 0;
  std::int32_t glyphInset = 0;  // pixels of padding on each side of every glyph cell
  std::uint8_t flag = 0;
  bool legacy = false;
  std::int32_t lineHeight = 0;  // pixels, derived
};

inline constexpr std::int32_t kInputStepControl = 1;
inline constexpr std::int32_t kInputStepKind4 = 4;
inline constexpr int kInputPlayerCount = 4;

struct InputStep {
  std::int32_t flags = 0;  // kInputStepControl: bound to a control
  // Control steps: index into controls, -2 when no control has the identifier.
  std::int32_t value = 0;
  Identifier controlId;
  std::array<std::uint8_t, kInputPlayerCount> progress{};
  std::array<std::int32_t, kInputPlayerCount> progressTime{};
};

struct InputEntry {
  std::vector<InputStep> steps;
  Script script;
  bool noControl = false;  // derived: no step is bound to a control
  bool kind4 = false;      // derived: a step of kind 4
  // Set once the input fired in this tick when it has no control step, so
  // the later players of the tick pass it by.
  bool firedThisTick = false;
};

struct InputSet {
  Identifier id;
  std::u16string name;
  std::u16string displayName;
  std::u16string kind;
  std::vector<InputEntry> entries;
  std::uint8_t alwaysOn = 0;  // 1: enabled for every player
  // Whether each player's inputs of the set are tested now (1) or not (0).
  std::array<std::uint8_t, kInputPlayerCount> enabled{};
  // The enabled byte of the player whose inputs are being tested this tick.
  std::uint8_t currentEnabled = 0;
};

struct CustomEventParameter {
  std::u16string name;
  std::u16string type;
};

struct CustomEvent {
  Identifier id;
  std::u16string name;
  std::u16string displayName;
  std::u16string kind;
  std::u16string text2;
  std::int32_t eventSymbol = 0;  // "Custom." & name
  EmbeddedResource image;
  std::int32_t value = 0;
  std::vector<CustomEventParameter> parameters;
  Script script;
};

// A statistic of the project; items and actors keep one value per statistic.
// A statistic of the project (hit points, strength ...): actors and items keep
// one value per statistic, in table order.
struct Statistic {
  Identifier id;
  EmbeddedResource image;
  gfx::TexturePtr texture;  // the icon on the device once loaded
  std::u16string name;
  std::u16string displayName;
  std::u16string kind;
};

// A place on a character where an item can be worn; actors keep one
// equipment entry per area, in table order.
struct EquipmentArea {
  Identifier id;
  EmbeddedResource image;
  gfx::TexturePtr texture;  // the icon on the device once loaded
  std::u16string name;
  std::u16string displayName;
  std::int32_t value = 0;
};

// One image direction of an item: present when its image holds data.
struct ItemImageEntry {
  EmbeddedResource image;
  gfx::TexturePtr texture;  // the image on the device once loaded
  std::int32_t value1 = 0;  // width in pixels
  std::int32_t value2 = 0;  // height in pixels
};

struct ItemSpriteLayerPart {
  RecordReference spriteSet;
  std::int32_t slot = 0;  // appearance slot
};

struct ItemSpriteLayer {
  RecordReference spriteSet;
  std::vector<ItemSpriteLayerPart> parts;
};

inline constexpr int kItemSoundCount = 5;
inline constexpr int kItemSpriteSetCount = 4;
inline constexpr int kItemImageCount = 8;
inline constexpr int kItemScriptCount = 4;

// Item kind numbers.
inline constexpr std::int32_t kItemOrdinary = 0;
inline constexpr std::int32_t kItemMagic = 1;

struct Item {
  std::int32_t firstValue = 0;
  Identifier id;
  std::uint8_t flagA = 0;
  EmbeddedResource picture;
  gfx::TexturePtr pictureTexture;  // the picture on the device once loaded
  std::u16string name;
  std::u16string displayName;
  std::u16string text;
  std::int32_t kindNumber = kItemOrdinary;
  std::int64_t value64 = 0;
  std::int32_t valueB = 0;
  std::array<RecordReference, kItemSoundCount> sounds;
  // An old item names its first sound set by name; kept when no set carries it.
  std::u16string soundName1;
  std::array<RecordReference, kItemSpriteSetCount> spriteSets;
  RecordReference linkedItem;
  RecordReference equipmentArea;
  std::array<ItemImageEntry, kItemImageCount> images;
  std::int32_t valueC = 48;
  std::int32_t valueD = 48;
  std::uint8_t flagE = 1;
  std::int32_t valueF = 0;
  std::int32_t valueG = 0;
  float valueH = 0.0f;
  std::int32_t valueI = 0;
  std::int32_t valueJ = 0;
  std::int32_t valueK = 0;
  std::int32_t valueL = 0;
  std::int32_t valueM = 0;
  std::uint8_t flagN = 0;
  std::int32_t valueO = 0;
  std::uint8_t flagP = 0;
  std::int32_t valueQ = 0;
  std::int32_t valueR = 0;
  std::int32_t valueS = 0;
  std::int32_t valueT = 0;
  std::int32_t valueU = 1;
  std::uint8_t flagV = 0;
  std::int32_t valueW = 0;
  std::vector<ItemSpriteLayer> spriteLayers;
  // One value per entry of the statistics table, in its order.
  std::array<std::vector<std::int32_t>, 3> statisticValues;
  std::int32_t flagsX = 0;
  std::int32_t valueY = 1;
  std::u16string kind;
  std::int32_t valueZ1 = 0;
  std::int32_t valueZ2 = 0;
  std::vector<TemplateFlag> templateFlags;
  std::array<Script, kItemScriptCount> scripts;
};

// What held-item drawing calls an image entry's values (the item's own
// fields by name: data/item_fields.h).
inline bool ItemImagePresent(const ItemImageEntry& e) { return e.image.mode != 0; }  // hasImage
inline std::int32_t ItemImageWidth(const ItemImageEntry& e) { return e.value1; }
inline std::int32_t ItemImageHeight(const ItemImageEntry& e) { return e.value2; }

// The colour that tints the layers an item's sprite part adds to a character.
inline std::uint32_t ItemSpritePartColour(const ItemSpriteLayerPart& part) {
  return static_cast<std::uint32_t>(part.slot);
}

}  // namespace kiv
