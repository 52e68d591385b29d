#include "support/state_block_writer.h"

#include "core/data_buffer.h"
#include "core/record_codecs.h"
#include "support/buffer_writer.h"
#include "support/map_object_writer.h"
#include "support/resource_header_writer.h"

namespace kiv::test {

namespace {

constexpr std::size_t kStoredSlots[] = {0, 8, 5, 1, 2, 9, 10, 11, 12};

std::int32_t LastOf(std::size_t size) { return static_cast<std::int32_t>(size) - 1; }

// An empty image: a zero count before the mode byte was stored.
void EmptyImage(ByteList& b, std::int32_t& o, std::int32_t version) {
  if (version >= 100747) {
    WriteImageSource(b, EmptyImageSource(), o);
  } else {
    BufferWriteLong(b, 0, o);
  }
}

void IdList(ByteList& b, std::int32_t& o, const std::vector<Identifier>& ids) {
  BufferWriteLong(b, LastOf(ids.size()), o);
  for (const Identifier& id : ids) BufferWriteIdentifier(b, id, o);
}

void Member(ByteList& b, std::int32_t& o, std::int32_t version, const PartyMemberFixture& m) {
  for (std::int32_t value : {m.character, m.value2, m.firstLevel, m.lastLevel}) BufferWriteLong(b, value, o);
  for (std::int32_t value : m.values5to7) BufferWriteLong(b, value, o);
  BufferWriteLong(b, LastOf(m.statisticRows.size()), o);
  for (const StatisticRowFixture& row : m.statisticRows) {
    BufferWriteIdentifier(b, row.id, o);
    for (std::int32_t value : row.levels) BufferWriteLong(b, value, o);
  }
  for (const std::vector<Identifier>& level : m.levelItems) IdList(b, o, level);
  IdList(b, o, m.items);
  if (version >= 100681) BufferWriteLong(b, m.player, o);
  WriteActorFixture(b, o, m.actor, version, true);
}

void Player(ByteList& b, std::int32_t& o, std::int32_t version, const PlayerFixture& p) {
  const auto money = static_cast<std::uint64_t>(p.money);
  BufferWriteLong(b, static_cast<std::int32_t>(static_cast<std::uint32_t>(money)), o);
  BufferWriteLong(b, static_cast<std::int32_t>(static_cast<std::uint32_t>(money >> 32)), o);
  BufferWriteLong(b, p.value1, o);
  if (version >= 100732) BufferWriteLong(b, p.value2, o);
  BufferWriteLong(b, LastOf(p.items.size()), o);
  for (const InventoryFixture& item : p.items) {
    BufferWriteIdentifier(b, item.id, o);
    BufferWriteLong(b, item.quantity, o);
    BufferWriteLong(b, item.ammunition, o);
  }
  BufferWriteLong(b, p.controlledMember, o);
  BufferWriteLong(b, LastOf(p.party.size()), o);
  for (const PartyMemberFixture& member : p.party) Member(b, o, version, member);
}

}  // namespace

ByteList GlobalListsBytes(std::int32_t version, const GlobalListsFixture& f) {
  BufferWriter w;
  w.WriteLong(static_cast<std::int32_t>(f.variables.size()) - 1);
  for (const auto& [name, value] : f.variables) w.WriteString(name).WriteVariant(value);
  w.WriteLong(static_cast<std::int32_t>(f.switches.size()) - 1);
  for (const auto& [name, state] : f.switches) w.WriteString(name).WriteInt16(state);
  w.WriteLong(static_cast<std::int32_t>(f.collections.size()) - 1);
  for (const auto& [name, elements] : f.collections) {
    w.WriteString(name).WriteLong(static_cast<std::int32_t>(elements.size()) - 1);
    for (const Variant& element : elements) w.WriteVariant(element);
  }
  if (version >= 100665) {
    w.WriteLong(static_cast<std::int32_t>(f.tables.size()) - 1);
    for (const GlobalTableFixture& table : f.tables) {
      w.WriteString(table.name).WriteLong(table.lastX).WriteLong(table.lastY).WriteLong(table.lastZ);
      for (const Variant& cell : table.cells) w.WriteVariant(cell);
    }
  }
  return w.Bytes();
}

ByteList StateBlockPayload(std::int32_t version, const StateBlockFixture& f) {
  ByteList b;
  std::int32_t o = WriteProjectSettingsSection(b, version, f.settings);

  BufferWriteLong(b, LastOf(f.statistics.size()), o);
  for (const StatisticFixture& s : f.statistics) {
    BufferWriteIdentifier(b, s.id, o);
    EmptyImage(b, o, version);
    BufferWriteString(b, s.name, o);
    BufferWriteString(b, s.displayName, o);
    BufferWriteString(b, s.kind, o);
  }
  BufferWriteLong(b, LastOf(f.equipmentAreas.size()), o);
  for (const EquipmentAreaFixture& a : f.equipmentAreas) {
    BufferWriteIdentifier(b, a.id, o);
    EmptyImage(b, o, version);
    BufferWriteString(b, a.name, o);
    BufferWriteString(b, a.displayName, o);
    BufferWriteLong(b, a.value, o);
  }
  if (version >= 100756) BufferWriteLong(b, f.controlsStamp, o);
  BufferWriteLong(b, -1, o);  // no controls

  for (std::size_t slot : kStoredSlots) {
    ScriptFixture empty = EmptyScriptFixture();
    empty.shortForm = false;
    WriteScriptFixture(b, o, f.systemScripts[slot] ? *f.systemScripts[slot] : empty);
  }

  BufferWriteLong(b, LastOf(f.players.size()), o);
  for (const PlayerFixture& p : f.players) Player(b, o, version, p);

  if (f.globalLists.empty()) {
    for (int list = 0; list < (version >= 100665 ? 4 : 3); ++list) BufferWriteLong(b, -1, o);
  } else {
    BufferWriteBytes(b, f.globalLists.data(), static_cast<std::int32_t>(f.globalLists.size()), o);
  }

  BufferWriteLong(b, LastOf(f.teams.size()), o);
  for (const TeamFixture& t : f.teams) {
    BufferWriteIdentifier(b, t.id, o);
    BufferWriteString(b, t.name, o);
    for (std::int32_t relation : t.relations) BufferWriteLong(b, relation, o);
  }
  b.resize(static_cast<std::size_t>(o));
  return b;
}

ByteList ProjectStateBytes(std::int32_t version, const StateBlockFixture& fixture) {
  return MakeResourceFile(version, StateBlockPayload(version, fixture));
}

ScriptFixture EditorScriptNaming(const std::vector<std::u16string>& words) {
  ScriptFixture script;
  script.shortForm = false;
  ScriptStatementFixture statement;
  for (const std::u16string& word : words) {
    std::u16string line = script.text.empty() ? word : script.text + u" " + word;
    script.text = line;
    statement.tokens.push_back({2, Variant::Text(word), std::nullopt});
  }
  script.statements.push_back(statement);
  return script;
}

}  // namespace kiv::test
