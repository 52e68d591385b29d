#pragma once
// Writes tile-set, door-set, font-set, input-set, custom-event and item files
// in the layout of a given format version, for reader tests. Images are
// written empty in the resource layout of the version unless a fixture holds
// one (written in the current resource format).
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/byte_list.h"
#include "core/identifier.h"
#include "core/record_codecs.h"
#include "support/list_writer.h"
#include "support/script_writer.h"

namespace kiv::test {

struct TerraformRuleFixture {
  std::array<std::int32_t, 60> tiles{};
  std::uint8_t byteM = 0;
  Identifier tileSetId;
  std::uint8_t byteL = 0;
};

struct TileFixture {
  std::u16string name = u"Tile";
  std::int32_t frameGroup = -1;
  std::uint8_t shape = 0;
  std::int32_t valueC = 0;
  std::uint8_t flagG = 0;
  std::int32_t valueB = 0;
  float valueD = 0.0f;
  std::vector<TerraformRuleFixture> rules;
  std::uint8_t byteK = 0;
  std::int32_t valueE = 7;
  ByteList byteList;
  Identifier linkedTileSetId;
  std::uint8_t byteF = 0;
  std::int32_t valueJ = 0;
  CollisionShape collision;
  std::int32_t scatterX = 0, scatterY = 0, scatterZ = 0;
  std::uint32_t colorA = 0, colorB = 0;
  std::uint8_t randomFlipB = 0, randomFlipA = 0, randomTurn = 0;
};

struct TileSetFixture {
  std::int32_t version = 100790;
  Identifier id;
  std::int32_t valueA = 0;
  std::u16string name = u"Tiles";
  std::u16string displayName = u"Tiles";
  std::int32_t kind = 0;
  std::u16string kindName = u"Ground or Wall";
  std::uint8_t flags = 0;
  std::uint8_t cellFormat = 0;
  std::vector<EmbeddedResource> images;  // what the frames of the groups cut from
  std::vector<FrameGroupFixture> groups;
  std::vector<TileFixture> tiles;
};
ByteList TileSetFileBytes(const TileSetFixture& set);

struct DoorSetFixture {
  std::int32_t version = 100790;
  Identifier id;
  std::int32_t headValue = 0;  // from 100494
  std::u16string name = u"Door";
  std::u16string kind = u"Wooden";  // from 100763
  std::array<EmbeddedResource, 3> images{};  // flat, upright and overlay; mode 0 writes an empty one
  // The 96 table bytes in file order.
  std::array<std::uint8_t, 96> table{};
};
ByteList DoorSetFileBytes(const DoorSetFixture& set);

struct GlyphFixture {
  std::int16_t code = 0;
  float u = 0, v = 0, width = 0, height = 0;  // the cell in texture coordinates
};

struct FontSetFixture {
  std::int32_t version = 100790;
  Identifier id;
  std::u16string name = u"Font";
  std::u16string displayName = u"Font display";          // from 100787
  std::int32_t textureWidth = 512, textureHeight = 128;  // from 100712
  std::u16string text;
  std::int32_t value = 0;
  std::array<std::uint8_t, 4> bytes{};
  std::int32_t value2 = 0;
  std::int32_t glyphInset = 0;  // from 100713
  std::uint8_t flag = 0;
  std::u16string kind = u"Bitmap";  // from 100763
  EmbeddedResource image;            // the glyph sheet; mode 0 writes an empty one
  // From 100530 the glyph list; before it 224 glyphs in four columns
  // (the codes are not stored).
  std::vector<GlyphFixture> glyphs;
};
ByteList FontSetFileBytes(const FontSetFixture& set);

struct InputStepFixture {
  std::int32_t flags = 0;
  Identifier controlId;    // control steps
  std::int32_t value = 0;  // other steps
};

struct InputEntryFixture {
  ScriptFixture script;  // long form
  std::vector<InputStepFixture> steps;
};

struct InputSetFixture {
  std::int32_t version = 100790;
  Identifier id;
  std::u16string name = u"Keys";
  std::u16string displayName = u"Keys display";  // from 100629
  std::u16string kind = u"Movement";             // from 100763
  std::uint8_t alwaysOn = 0;                     // from 100752
  std::vector<InputEntryFixture> entries;
};
ByteList InputSetFileBytes(const InputSetFixture& set);

struct CustomEventFixture {
  std::int32_t version = 100790;
  Identifier id;
  std::u16string name = u"Hit";
  std::u16string displayName = u"Hit display";
  std::u16string text2 = u"second";                                   // from 100736
  std::int32_t value = 0;                                             // from 100702
  ScriptFixture script;                                               // long form
  std::vector<std::pair<std::u16string, std::u16string>> parameters;  // name, type
  std::u16string kind = u"Combat";                                    // from 100763
};
ByteList CustomEventFileBytes(const CustomEventFixture& event);

struct ItemStatisticFixture {
  Identifier statisticId;
  std::array<std::int32_t, 3> values{};  // as many as the version stores
};

struct ItemSpriteLayerFixture {
  Identifier spriteSetId;
  std::vector<std::pair<Identifier, std::int32_t>> parts;
};

struct ItemFixture {
  std::int32_t version = 100790;
  Identifier id;
  std::int32_t firstValue = 0;
  std::uint8_t flagA = 0;
  EmbeddedResource picture;  // mode 0 writes an empty one
  std::u16string name = u"Sword";
  std::u16string displayName = u"Sword display";
  std::u16string text;
  std::int32_t kindNumber = 0;
  std::int64_t value64 = 0;
  std::int32_t valueB = 0;
  std::u16string soundName;  // 100378 to 100404
  std::array<Identifier, 5> soundIds{};
  std::array<Identifier, 4> spriteSetIds{};
  Identifier linkedItemId;
  Identifier equipmentAreaId;
  std::array<std::pair<std::int32_t, std::int32_t>, 8> imageValues{};
  std::int32_t valueC = 60, valueD = 70;
  std::uint8_t flagE = 0;
  std::int32_t valueF = 0, valueG = 0;
  float valueH = 0.0f;
  std::int32_t valueI = 0;
  std::int32_t valueJ = 0, valueK = 0, valueL = 0, valueM = 0;
  std::uint8_t flagN = 0;
  std::int32_t valueO = 0;
  std::uint8_t flagP = 0;
  std::int32_t valueQ = 0, valueR = 0, valueS = 0, valueT = 0, valueU = 1;
  std::uint8_t flagV = 0;
  std::int32_t valueW = 0;
  std::vector<ItemSpriteLayerFixture> spriteLayers;
  std::vector<ItemStatisticFixture> statistics;
  std::int32_t flagsX = 0, valueY = 0;
  std::u16string kind = u"Common";
  std::int32_t valueZ1 = 0, valueZ2 = 0;
  std::vector<std::pair<Identifier, std::uint8_t>> templateFlags;
  // Scripts 1 to 4 and the dropped one, written where the version stores them.
  std::array<ScriptFixture, 5> scripts;

  ItemFixture();
};
ByteList ItemFileBytes(const ItemFixture& item);

}  // namespace kiv::test
