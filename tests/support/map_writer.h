#pragma once
// Writes map and interface files (header, properties, body without objects) at
// any format version from 100471, for reader tests and benchmarks.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/byte_list.h"
#include "core/identifier.h"
#include "core/variant.h"
#include "support/map_object_writer.h"
#include "support/script_writer.h"

namespace kiv::test {

struct TileGroupFixture {
  std::vector<Identifier> slotIds;
  // Stored cells, column fastest then row then layer; empty writes a pattern.
  ByteList slotGrid;
  ByteList tileGrid;
};

struct BackgroundSpriteFixture {
  Identifier spriteSetId;
  std::array<std::int32_t, 4> values{};
  std::uint8_t byte1 = 0, byte2 = 0, byte3 = 0;  // byte3 from 100777
};

struct ScreenLayoutFixture {
  std::vector<std::u16string> platformNames;
  std::int32_t width = 0, height = 0;
  std::int64_t sizeValue = 0;
  std::vector<std::array<std::int32_t, 6>> placements;
};

struct MapFixture {
  std::int32_t version = 100790;
  // Header.
  Identifier id;
  std::u16string linkedMapName;  // from 100667
  Identifier linkedMapId;        // before 100667
  std::u16string displayName;    // from 100633
  std::int32_t headerValue = 0;  // from 100676
  std::vector<std::pair<std::u16string, Variant>>
      properties;                                      // in the header from 100758, else 100507..100757
  std::int32_t width = 3, height = 3, layerCount = 1;  // layer count from 100563
  std::array<TileGroupFixture, 3> groups;
  // Properties.
  std::uint8_t mapByteA = 0;
  bool isInterface = false;
  std::int32_t designWidth = 0, designHeight = 0;  // from 100677
  std::uint32_t ambientColor = 0x80402010;         // 3 bytes before 100474
  Identifier soundSetId;
  std::array<Identifier, 3> setIds{};  // cloud sprite sets
  float cloudDensity = 0.5f, rainDensity = 5.5f;  // D, L
  Identifier rainSetId;
  std::array<std::uint8_t, 2> cloudAlphas{1, 2}, rainAlphas{5, 6};  // H, I and Q, R: from, to
  float mapValueO = 1.5f, mapValueP = 2.5f;  // P from 100556
  std::uint8_t fogOn = 1;
  std::uint32_t fogColor = 0xFF336699;
  float fogStart = 100.0f, fogEnd = 500.0f;
  float factorZ = 0.32f;                                                        // from 100511
  std::uint32_t backgroundColor1 = 0xFF010203, backgroundColor2 = 0xFF040506;   // from 100534
  std::vector<BackgroundSpriteFixture> backgroundSprites1, backgroundSprites2;  // from 100533
  std::int32_t mapMode = 2;                                                     // from 100568
  std::array<std::uint8_t, 6> flags{10, 11, 12, 13, 14, 15};                    // stored order, from 100686
  std::array<std::u16string, 4> slotNames;                                      // from 100768
  std::vector<ScreenLayoutFixture> screenLayouts;                               // from 100771
  std::array<float, 3> valuesAA{0.5f, 0.25f, 0.125f};                           // from 100782
  std::vector<ScriptFixture> eventScripts;  // missing ones are written empty (long form)
  // Body.
  MapBodyFixture body;
};

ByteList MapHeaderAndPropertiesBytes(const MapFixture& map);
// A whole file: resource header, header, properties and the body's objects.
ByteList MapFileBytes(const MapFixture& map);

}  // namespace kiv::test
