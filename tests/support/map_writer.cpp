#include "support/map_writer.h"

#include "core/data_buffer.h"
#include "support/list_writer.h"
#include "support/resource_header_writer.h"

namespace kiv::test {

namespace {

std::int32_t LastOf(std::size_t size) { return static_cast<std::int32_t>(size) - 1; }

void WriteHeader(ByteList& b, std::int32_t& o, const MapFixture& m) {
  const std::int32_t v = m.version;
  BufferWriteIdentifier(b, m.id, o);
  if (v >= 100667) {
    BufferWriteString(b, m.linkedMapName, o);
  } else {
    BufferWriteIdentifier(b, m.linkedMapId, o);
  }
  if (v >= 100633) BufferWriteString(b, m.displayName, o);
  if (v >= 100676) BufferWriteLong(b, m.headerValue, o);
  if (v >= 100758) {
    WritePropertyListFixture(b, o, m.properties);
    WritePropertyListFixture(b, o, {{u"Discarded", Variant::Long(1)}});
  }
  BufferWriteLong(b, m.width, o);
  BufferWriteLong(b, m.height, o);
  if (v >= 100563) BufferWriteLong(b, m.layerCount, o);
  if (m.width < 0 || m.height < 0) return;
  // Only grids left empty are sized from the map, so that a fixture can give a
  // size no file holds together with grids of a few bytes.
  auto patternCells = [&m, v] {
    const std::int64_t layers = v >= 100563 ? static_cast<std::int64_t>(m.layerCount) + 1 : 1;
    return static_cast<std::size_t>((static_cast<std::int64_t>(m.width) + 1) *
                                    (static_cast<std::int64_t>(m.height) + 1) * layers);
  };
  for (std::size_t g = 0; g < m.groups.size(); ++g) {
    const TileGroupFixture& group = m.groups[g];
    BufferWriteByte(b, static_cast<std::uint8_t>(group.slotIds.size()), o);
    for (const Identifier& id : group.slotIds) BufferWriteIdentifier(b, id, o);
    for (const ByteList* grid : {&group.slotGrid, &group.tileGrid}) {
      ByteList bytes = *grid;
      if (bytes.empty()) {
        const std::size_t cells = patternCells();
        bytes.resize(cells);
        for (std::size_t i = 0; i < cells; ++i)
          bytes[i] = static_cast<std::uint8_t>(i * 3 + g + (grid == &group.tileGrid));
      }
      BufferWriteBytes(b, bytes.data(), static_cast<std::int32_t>(bytes.size()), o);
    }
  }
}

void WriteBackgroundSprites(ByteList& b, std::int32_t& o, std::int32_t v,
                            const std::vector<BackgroundSpriteFixture>& list) {
  BufferWriteLong(b, LastOf(list.size()), o);
  for (const auto& s : list) {
    BufferWriteIdentifier(b, s.spriteSetId, o);
    for (std::int32_t value : s.values) BufferWriteLong(b, value, o);
    BufferWriteByte(b, s.byte1, o);
    BufferWriteByte(b, s.byte2, o);
    if (v >= 100777) BufferWriteByte(b, s.byte3, o);
  }
}

void WriteProperties(ByteList& b, std::int32_t& o, const MapFixture& m) {
  const std::int32_t v = m.version;
  BufferWriteByte(b, m.mapByteA, o);
  BufferWriteBoolean(b, m.isInterface, o);
  if (v >= 100677) {
    BufferWriteLong(b, m.designWidth, o);
    BufferWriteLong(b, m.designHeight, o);
  }
  if (v >= 100474) {
    BufferWriteLong(b, static_cast<std::int32_t>(m.ambientColor), o);
  } else {
    const std::uint8_t bytes[3] = {static_cast<std::uint8_t>(m.ambientColor),
                                   static_cast<std::uint8_t>(m.ambientColor >> 8),
                                   static_cast<std::uint8_t>(m.ambientColor >> 16)};
    BufferWriteBytes(b, bytes, 3, o);
  }
  if (v >= 100669) BufferWriteLong(b, 21, o);  // value B
  if (v >= 100568) BufferWriteByte(b, 7, o);   // byte A2
  BufferWriteIdentifier(b, m.soundSetId, o);
  BufferWriteSingle(b, 3.25f, o);  // C
  BufferWriteSingle(b, m.cloudDensity, o);  // D
  for (const Identifier& id : m.setIds) BufferWriteIdentifier(b, id, o);
  for (float value : {0.25f, 0.125f, 0.75f}) BufferWriteSingle(b, value, o);  // E, F, G
  BufferWriteByte(b, m.cloudAlphas[0], o);                              // H
  BufferWriteByte(b, m.cloudAlphas[1], o);                              // I
  for (std::uint8_t value : {3, 4}) BufferWriteByte(b, value, o);       // K, J
  BufferWriteSingle(b, m.rainDensity, o);                                // L
  BufferWriteIdentifier(b, m.rainSetId, o);
  BufferWriteSingle(b, 0.75f, o);  // M
  BufferWriteSingle(b, 0.5f, o);   // N
  BufferWriteSingle(b, m.mapValueO, o);
  if (v >= 100556) BufferWriteSingle(b, m.mapValueP, o);
  BufferWriteByte(b, m.rainAlphas[0], o);  // Q
  BufferWriteByte(b, m.rainAlphas[1], o);  // R
  BufferWriteByte(b, m.fogOn, o);
  BufferWriteLong(b, static_cast<std::int32_t>(m.fogColor), o);
  BufferWriteSingle(b, m.fogStart, o);
  BufferWriteSingle(b, m.fogEnd, o);
  if (v >= 100496) {
    BufferWriteByte(b, 8, o);
    BufferWriteByte(b, 9, o);
  }
  if (v >= 100517) BufferWriteByte(b, 10, o);
  if (v >= 100507 && v < 100758) WritePropertyListFixture(b, o, m.properties);
  if (v >= 100509) BufferWriteLong(b, 61, o);  // V
  if (v >= 100576) BufferWriteLong(b, 62, o);  // W
  if (v >= 100510) {
    BufferWriteLong(b, 63, o);
    BufferWriteLong(b, 64, o);
  }
  if (v >= 100511) BufferWriteSingle(b, m.factorZ, o);
  if (v >= 100520) BufferWriteIdentifier(b, Identifier(), o);
  if (v >= 100534) {
    BufferWriteLong(b, static_cast<std::int32_t>(m.backgroundColor1), o);
    BufferWriteLong(b, static_cast<std::int32_t>(m.backgroundColor2), o);
  }
  if (v >= 100533) {
    WriteBackgroundSprites(b, o, v, m.backgroundSprites1);
    WriteBackgroundSprites(b, o, v, m.backgroundSprites2);
  }
  if (v >= 100568) BufferWriteLong(b, m.mapMode, o);
  if (v >= 100686) {
    for (std::uint8_t flag : m.flags) BufferWriteByte(b, flag, o);
  }
  if (v >= 100768) {
    for (const auto& name : m.slotNames) BufferWriteString(b, name, o);
  }
  if (v >= 100771) {
    BufferWriteLong(b, LastOf(m.screenLayouts.size()), o);
    for (const auto& layout : m.screenLayouts) {
      BufferWriteLong(b, LastOf(layout.platformNames.size()), o);
      for (const auto& name : layout.platformNames) BufferWriteString(b, name, o);
      BufferWriteLong(b, layout.width, o);
      BufferWriteLong(b, layout.height, o);
      BufferWriteBytes(b, &layout.sizeValue, 8, o);
      BufferWriteLong(b, LastOf(layout.placements.size()), o);
      for (const auto& placement : layout.placements) {
        for (std::int32_t value : placement) BufferWriteLong(b, value, o);
      }
    }
  }
  if (v >= 100782) {
    for (float value : m.valuesAA) BufferWriteSingle(b, value, o);
  }
  const std::size_t scripts = v >= 100542 ? 6 : v >= 100500 ? 2 : 1;
  for (std::size_t i = 0; i < scripts; ++i) {
    ScriptFixture script;
    script.shortForm = false;
    if (i < m.eventScripts.size()) script = m.eventScripts[i];
    WriteScriptFixture(b, o, script);
  }
}

}  // namespace

ByteList MapHeaderAndPropertiesBytes(const MapFixture& map) {
  ByteList bytes;
  std::int32_t offset = 0;
  WriteHeader(bytes, offset, map);
  WriteProperties(bytes, offset, map);
  bytes.resize(static_cast<std::size_t>(offset));
  return bytes;
}

ByteList MapFileBytes(const MapFixture& map) {
  ByteList payload = MapHeaderAndPropertiesBytes(map);
  std::int32_t offset = static_cast<std::int32_t>(payload.size());
  WriteMapBodyFixture(payload, offset, map.body, map.version, false);
  payload.resize(static_cast<std::size_t>(offset));
  return MakeResourceFile(map.version, payload);
}

}  // namespace kiv::test
