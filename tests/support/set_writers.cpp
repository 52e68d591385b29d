#include "support/set_writers.h"

#include "core/data_buffer.h"
#include "support/buffer_writer.h"
#include "support/collision_shape_writer.h"
#include "support/resource_header_writer.h"
#include "support/sprite_set_writer.h"

namespace kiv::test {

namespace {

std::int32_t LastOf(std::size_t size) { return static_cast<std::int32_t>(size) - 1; }

ByteList Finish(ByteList& b, std::int32_t o, std::int32_t version) {
  b.resize(static_cast<std::size_t>(o));
  return MakeResourceFile(version, b);
}

void WriteTile(ByteList& b, std::int32_t& o, std::int32_t v, const TileFixture& t) {
  BufferWriteString(b, t.name, o);
  BufferWriteLong(b, t.frameGroup, o);
  BufferWriteByte(b, t.shape, o);
  BufferWriteLong(b, t.valueC, o);
  BufferWriteByte(b, t.flagG, o);
  BufferWriteLong(b, t.valueB, o);
  BufferWriteSingle(b, t.valueD, o);
  BufferWriteLong(b, LastOf(t.rules.size()), o);
  for (const auto& rule : t.rules) {
    for (std::int32_t tile : rule.tiles) BufferWriteLong(b, tile, o);
    BufferWriteByte(b, rule.byteM, o);
    BufferWriteIdentifier(b, rule.tileSetId, o);
    BufferWriteByte(b, rule.byteL, o);
  }
  BufferWriteByte(b, t.byteK, o);
  BufferWriteLong(b, t.valueE, o);
  BufferWriteByteList(b, t.byteList, o);
  BufferWriteIdentifier(b, t.linkedTileSetId, o);
  BufferWriteByte(b, t.byteF, o);
  WriteEmptyImage(b, o, v);
  for (int i = 0; i < 16 + 24; ++i) BufferWriteByte(b, static_cast<std::uint8_t>(i + 1), o);
  BufferWriteLong(b, t.valueJ, o);
  BufferWriter shape;
  WriteCollisionShape(shape, t.collision, v);
  BufferWriteBytes(b, shape.Bytes().data(), shape.Size(), o);
  for (std::int32_t value : {t.scatterX, t.scatterY, t.scatterZ}) BufferWriteLong(b, value, o);
  BufferWriteLong(b, static_cast<std::int32_t>(t.colorA), o);
  BufferWriteLong(b, static_cast<std::int32_t>(t.colorB), o);
  BufferWriteByte(b, t.randomFlipB, o);
  BufferWriteByte(b, t.randomFlipA, o);
  BufferWriteByte(b, t.randomTurn, o);
}

void WriteReference(ByteList& b, std::int32_t& o, const Identifier& id) { BufferWriteIdentifier(b, id, o); }

void WriteItemScripts(ByteList& b, std::int32_t& o, std::int32_t v, const ItemFixture& item) {
  if (v >= 100354) WriteScriptFixture(b, o, item.scripts[0]);
  if ((v >= 100430 && v <= 100437) || v >= 100444) WriteScriptFixture(b, o, item.scripts[1]);
  if (v >= 100430) WriteScriptFixture(b, o, item.scripts[2]);
  if (v >= 100478) WriteScriptFixture(b, o, item.scripts[3]);
  if (v >= 100480 && v <= 100665) WriteScriptFixture(b, o, item.scripts[4]);
}

}  // namespace

ByteList TileSetFileBytes(const TileSetFixture& s) {
  const std::int32_t v = s.version;
  ByteList b;
  std::int32_t o = 0;
  BufferWriteIdentifier(b, s.id, o);
  BufferWriteLong(b, s.valueA, o);
  if (v >= 100776) BufferWriteByte(b, 0xEE, o);
  WriteEmptyImage(b, o, v);
  BufferWriteString(b, s.name, o);
  BufferWriteString(b, s.displayName, o);
  BufferWriteLong(b, s.kind, o);
  BufferWriteString(b, s.kindName, o);
  BufferWriteByte(b, s.flags, o);
  BufferWriteByte(b, s.cellFormat, o);
  WriteImageFrameListsFixture(b, o, v, s.images, s.groups);
  WriteColorBytes(b, ColorRecord{}, o);
  BufferWriteLong(b, LastOf(s.tiles.size()), o);
  for (const auto& tile : s.tiles) WriteTile(b, o, v, tile);
  return Finish(b, o, v);
}

ByteList DoorSetFileBytes(const DoorSetFixture& s) {
  const std::int32_t v = s.version;
  ByteList b;
  std::int32_t o = 0;
  BufferWriteIdentifier(b, s.id, o);
  if (v >= 100494) BufferWriteLong(b, s.headValue, o);
  if (v >= 100776) BufferWriteByte(b, 0xEE, o);
  for (const EmbeddedResource& image : s.images) WriteImageOrEmpty(b, o, v, image);
  BufferWriteString(b, s.name, o);
  if (v >= 100763) BufferWriteString(b, s.kind, o);
  BufferWriteBytes(b, s.table.data(), static_cast<std::int32_t>(s.table.size()), o);
  return Finish(b, o, v);
}

ByteList FontSetFileBytes(const FontSetFixture& s) {
  const std::int32_t v = s.version;
  ByteList b;
  std::int32_t o = 0;
  WriteSetIdentifier(b, o, s.id, v);
  WriteImageOrEmpty(b, o, v, s.image);
  BufferWriteString(b, s.name, o);
  if (v >= 100787) BufferWriteString(b, s.displayName, o);
  if (v >= 100712) {
    BufferWriteLong(b, s.textureWidth, o);
    BufferWriteLong(b, s.textureHeight, o);
  }
  BufferWriteString(b, s.text, o);
  BufferWriteLong(b, s.value, o);
  for (std::uint8_t byte : s.bytes) BufferWriteByte(b, byte, o);
  BufferWriteLong(b, s.value2, o);
  if (v >= 100713) {
    BufferWriteLong(b, s.glyphInset, o);
    BufferWriteByte(b, s.flag, o);
  }
  if (v >= 100763) BufferWriteString(b, s.kind, o);
  if (v >= 100530) {
    BufferWriteLong(b, LastOf(s.glyphs.size()), o);
    for (const auto& g : s.glyphs) {
      BufferWriteInt16(b, g.code, o);
      for (float f : {g.u, g.v, g.width, g.height}) BufferWriteSingle(b, f, o);
    }
  } else {
    std::vector<GlyphFixture> glyphs = s.glyphs;
    glyphs.resize(224);
    for (const auto& g : glyphs) BufferWriteSingle(b, g.u, o);
    for (const auto& g : glyphs) BufferWriteSingle(b, g.v, o);
    for (const auto& g : glyphs) BufferWriteSingle(b, g.width, o);
    for (const auto& g : glyphs) BufferWriteSingle(b, g.height, o);
  }
  return Finish(b, o, v);
}

ByteList InputSetFileBytes(const InputSetFixture& s) {
  const std::int32_t v = s.version;
  ByteList b;
  std::int32_t o = 0;
  WriteSetIdentifier(b, o, s.id, v);
  BufferWriteString(b, s.name, o);
  if (v >= 100629) BufferWriteString(b, s.displayName, o);
  if (v >= 100763) BufferWriteString(b, s.kind, o);
  if (v >= 100752) BufferWriteByte(b, s.alwaysOn, o);
  BufferWriteLong(b, LastOf(s.entries.size()), o);
  for (const auto& entry : s.entries) {
    WriteScriptFixture(b, o, entry.script);
    BufferWriteLong(b, LastOf(entry.steps.size()), o);
    for (const auto& step : entry.steps) {
      BufferWriteLong(b, step.flags, o);
      if (step.flags & 1) {
        BufferWriteIdentifier(b, step.controlId, o);
      } else {
        BufferWriteLong(b, step.value, o);
      }
    }
  }
  return Finish(b, o, v);
}

ByteList CustomEventFileBytes(const CustomEventFixture& s) {
  const std::int32_t v = s.version;
  ByteList b;
  std::int32_t o = 0;
  WriteSetIdentifier(b, o, s.id, v);
  BufferWriteString(b, s.name, o);
  BufferWriteString(b, s.displayName, o);
  if (v >= 100736) BufferWriteString(b, s.text2, o);
  WriteEmptyImage(b, o, v);
  if (v >= 100702) BufferWriteLong(b, s.value, o);
  WriteScriptFixture(b, o, s.script);
  BufferWriteLong(b, LastOf(s.parameters.size()), o);
  for (const auto& [name, type] : s.parameters) {
    BufferWriteString(b, name, o);
    BufferWriteString(b, type, o);
  }
  if (v >= 100763) BufferWriteString(b, s.kind, o);
  return Finish(b, o, v);
}

ItemFixture::ItemFixture() { scripts.fill(LongEmptyScript()); }

ByteList ItemFileBytes(const ItemFixture& s) {
  const std::int32_t v = s.version;
  ByteList b;
  std::int32_t o = 0;
  BufferWriteIdentifier(b, s.id, o);
  if (v >= 100494) BufferWriteLong(b, s.firstValue, o);
  if (v >= 100776) BufferWriteByte(b, s.flagA, o);
  if (v <= 100380) BufferWriteLong(b, 0x0BADBEEF, o);
  WriteImageOrEmpty(b, o, v, s.picture);
  if (v < 100720) WriteEmptyImage(b, o, v);
  BufferWriteString(b, s.name, o);
  if (v >= 100492) BufferWriteString(b, s.displayName, o);
  BufferWriteString(b, s.text, o);
  if (v < 100354) WriteScriptFixture(b, o, s.scripts[0]);
  if (v >= 100476) BufferWriteLong(b, s.kindNumber, o);
  BufferWriteBytes(b, &s.value64, 8, o);
  BufferWriteLong(b, s.valueB, o);
  if (v < 100472) {
    if (v < 100384) {
      BufferWriteByte(b, 1, o);
      BufferWriteByte(b, 2, o);
    } else {
      BufferWriteLong(b, 1, o);
      BufferWriteLong(b, 2, o);
    }
  }
  if (v >= 100405) {
    WriteReference(b, o, s.soundIds[0]);
  } else if (v >= 100378) {
    BufferWriteString(b, s.soundName, o);
  }
  if (v >= 100478) {
    WriteReference(b, o, s.soundIds[1]);
    WriteReference(b, o, s.spriteSetIds[0]);
    WriteReference(b, o, s.spriteSetIds[1]);
  }
  if (v >= 100720) {
    for (const auto& [first, second] : s.imageValues) {
      WriteEmptyImage(b, o, v);
      BufferWriteLong(b, first, o);
      BufferWriteLong(b, second, o);
    }
  } else if (v >= 100460) {
    BufferWriteLong(b, s.imageValues[0].first, o);
    BufferWriteLong(b, s.imageValues[0].second, o);
  }
  if (v >= 100584) BufferWriteLong(b, s.valueC, o);
  if (v >= 100790) BufferWriteLong(b, s.valueD, o);
  if (v >= 100582) BufferWriteByte(b, s.flagE, o);
  BufferWriteLong(b, s.valueF, o);
  WriteReference(b, o, s.spriteSetIds[2]);
  BufferWriteLong(b, s.valueG, o);
  BufferWriteSingle(b, s.valueH, o);
  BufferWriteLong(b, s.valueI, o);
  WriteReference(b, o, s.linkedItemId);
  if (v >= 100472) {
    for (std::int32_t value : {s.valueJ, s.valueK, s.valueL, s.valueM}) BufferWriteLong(b, value, o);
    WriteReference(b, o, s.soundIds[2]);
    WriteReference(b, o, s.soundIds[3]);
  }
  if (v >= 100398) BufferWriteByte(b, s.flagN, o);
  BufferWriteLong(b, s.valueO, o);
  if (v >= 100478) WriteReference(b, o, s.soundIds[4]);
  if (v >= 100393) WriteReference(b, o, s.spriteSetIds[3]);
  if (v >= 100472) {
    BufferWriteByte(b, s.flagP, o);
    for (std::int32_t value : {s.valueQ, s.valueR, s.valueS}) BufferWriteLong(b, value, o);
  }
  BufferWriteLong(b, s.valueT, o);
  BufferWriteLong(b, s.valueU, o);
  BufferWriteByte(b, s.flagV, o);
  if (v >= 100395) BufferWriteLong(b, s.valueW, o);
  if (v >= 100453) WriteReference(b, o, s.equipmentAreaId);
  if (v >= 100720) {
    BufferWriteLong(b, LastOf(s.spriteLayers.size()), o);
    for (const auto& layer : s.spriteLayers) {
      WriteReference(b, o, layer.spriteSetId);
      BufferWriteLong(b, LastOf(layer.parts.size()), o);
      for (const auto& [id, slot] : layer.parts) {
        WriteReference(b, o, id);
        BufferWriteLong(b, slot, o);
      }
    }
  }
  if (v >= 100384) {
    BufferWriteLong(b, LastOf(s.statistics.size()), o);
    for (const auto& statistic : s.statistics) {
      WriteReference(b, o, statistic.statisticId);
      BufferWriteLong(b, statistic.values[0], o);
      if (v >= 100473) BufferWriteLong(b, statistic.values[1], o);
      if (v >= 100488) BufferWriteLong(b, statistic.values[2], o);
    }
    BufferWriteLong(b, s.flagsX, o);
  }
  if (v >= 100385) BufferWriteLong(b, s.valueY, o);
  if (v >= 100763) BufferWriteString(b, s.kind, o);
  if (v >= 100718) {
    BufferWriteLong(b, s.valueZ1, o);
    BufferWriteLong(b, s.valueZ2, o);
  }
  if (v >= 100719) WriteTemplateFlagTableFixture(b, o, s.templateFlags);
  WriteItemScripts(b, o, v, s);
  return Finish(b, o, v);
}

}  // namespace kiv::test
