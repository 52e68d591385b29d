#include <algorithm>
#include <string>
#include <utility>

#include "core/data_buffer.h"
#include "core/error.h"
#include "data/find_by_id.h"
#include "data/game_data.h"
#include "state/save_references.h"
#include "state/state_block_parts.h"

namespace kiv {

namespace {

constexpr std::int32_t kFirstSecondPlayerValue = 100732;
constexpr std::int32_t kFirstMemberPlayer = 100681;
constexpr std::int32_t kFirstKeptMemberNames = 100680;
// The players of a game are numbered 0 to 3; a project may name no other.
constexpr std::int32_t kPlayerSlots = 4;

// Smallest stored sizes, to refuse counts that cannot fit in the bytes left.
constexpr std::int32_t kMinPlayerSize = 8 + 4 + 4 + 4 + 4;
constexpr std::int32_t kInventoryEntrySize = 16 + 4 + 4;
constexpr std::int32_t kIdentifierSize = 16;
constexpr std::int32_t kMinMemberSize = 7 * 4 + 4 + 4;
// Statistic values a member may hold beyond those its stream could store.
constexpr std::int64_t kSpareStatisticValues = 1 << 16;

std::int64_t ReadMoney(const ByteList& buffer, std::int32_t& offset) {
  const auto low = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  const auto high = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(high) << 32) | low);
}

void WriteMoney(ByteList& buffer, std::int64_t money, std::int32_t& offset) {
  const auto bits = static_cast<std::uint64_t>(money);
  BufferWriteLong(buffer, static_cast<std::int32_t>(static_cast<std::uint32_t>(bits)), offset);
  BufferWriteLong(buffer, static_cast<std::int32_t>(static_cast<std::uint32_t>(bits >> 32)), offset);
}

InventoryEntry UnresolvedItem(const Identifier& id) {
  InventoryEntry entry;
  entry.item = -2;
  entry.itemId = id;
  return entry;
}

std::vector<InventoryEntry> ReadItemIdList(const ByteList& buffer, std::int32_t& offset) {
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kIdentifierSize);
  std::vector<InventoryEntry> list;
  list.reserve(static_cast<std::size_t>(last + 1));
  for (std::int32_t i = 0; i <= last; ++i)
    list.push_back(UnresolvedItem(BufferReadIdentifier(buffer, offset)));
  return list;
}

void WriteItemIdList(ByteList& buffer, std::int32_t& offset, const std::vector<InventoryEntry>& list) {
  BufferWriteLastIndex(buffer, list.size(), offset);
  for (const InventoryEntry& entry : list)
    WriteReference(buffer, offset, SaveTable::kItem, entry.item, entry.itemId);
}

std::int32_t StatisticIndexOf(const Identifier& id) {
  for (std::size_t k = 0; k < gameData.statistics.size(); ++k) {
    if (gameData.statistics[k].id == id) return static_cast<std::int32_t>(k);
  }
  return -1;
}

// The levels from the first to the last: their count, checked against the
// bytes left. Each level stores at least one list header, and the rows of
// all statistics (stored or not) must stay within what the stream could hold.
std::int32_t LevelCount(const ByteList& buffer, std::int32_t offset, const PartyMember& member) {
  const std::int64_t count = static_cast<std::int64_t>(member.maxLevel) - member.minLevel + 1;
  const std::int64_t bytesLeft = BufferBytesLeft(buffer, offset);
  const auto statistics = static_cast<std::int64_t>(gameData.statistics.size());
  if (count < 1 || count > bytesLeft / 4 || statistics * count > bytesLeft / 4 + kSpareStatisticValues) {
    RaiseError(kErrData, "Invalid party member levels " + std::to_string(member.minLevel) + " to " +
                             std::to_string(member.maxLevel) + ".");
  }
  return static_cast<std::int32_t>(count);
}

// One row per statistic of the table; a stored row of an unknown statistic is
// passed over. Only stored rows take memory (the others stay empty and count
// as 0 at every level), so what a member holds never exceeds what its stream held.
void ReadStatisticRows(const ByteList& buffer, std::int32_t& offset, std::int32_t levels,
                       PartyMember& member) {
  member.levelStats.assign(gameData.statistics.size(), std::vector<std::int32_t>());
  // levels is at most a quarter of the bytes left, so the row size fits.
  const std::int32_t rowSize = kIdentifierSize + 4 * levels;
  const std::int32_t last = BufferReadLastIndex(buffer, offset, rowSize);
  for (std::int32_t r = 0; r <= last; ++r) {
    const std::int32_t statistic = StatisticIndexOf(BufferReadIdentifier(buffer, offset));
    if (statistic < 0) {
      offset += 4 * levels;  // checked by BufferReadLastIndex
      continue;
    }
    std::vector<std::int32_t>& row = member.levelStats[static_cast<std::size_t>(statistic)];
    row.resize(static_cast<std::size_t>(levels));
    for (std::int32_t& value : row) value = BufferReadLong(buffer, offset);
  }
}

PartyMember ReadMemberStored(const ByteList& buffer, std::int32_t& offset) {
  PartyMember member;
  member.character = BufferReadLong(buffer, offset);
  member.level = BufferReadLong(buffer, offset);
  member.minLevel = BufferReadLong(buffer, offset);
  member.maxLevel = BufferReadLong(buffer, offset);
  member.experience = BufferReadLong(buffer, offset);
  member.experienceBase = BufferReadLong(buffer, offset);
  member.experienceStep = BufferReadLong(buffer, offset);
  const std::int32_t levels = LevelCount(buffer, offset, member);
  ReadStatisticRows(buffer, offset, levels, member);
  member.levelMagic.reserve(static_cast<std::size_t>(levels));
  for (std::int32_t level = 0; level < levels; ++level)
    member.levelMagic.push_back(ReadItemIdList(buffer, offset));
  member.magic = ReadItemIdList(buffer, offset);
  return member;
}

// The project form carries each member's character; it joins the off-map
// list and takes the member's first level.
void ReadMemberCharacter(const ByteList& buffer, std::int32_t& offset, std::int32_t version,
                         std::int32_t player, std::int32_t partyIndex, std::int32_t playerLimit,
                         PartyMember& member, ReadPlayersResult& result) {
  member.player = version >= kFirstMemberPlayer ? BufferReadLong(buffer, offset) : 0;
  if (member.player < 0 || member.player >= playerLimit) {
    RaiseError(kErrData, "Invalid player " + std::to_string(member.player) + " of a party member.");
  }
  Actor actor;
  ReadCharacter(buffer, offset, actor, version, true, 0);
  member.character = static_cast<std::int32_t>(result.actors.size());
  if (version < kFirstKeptMemberNames) {
    const std::string number = std::to_string(member.character);
    actor.name = u"Character P" + std::u16string(number.begin(), number.end());
  }
  actor.owningPlayer = player;
  actor.partyMember = partyIndex;
  const std::size_t areas = std::min(actor.equipment.size(), projectState.equipmentAreas.size());
  for (std::size_t k = 0; k < areas; ++k) actor.equipment[k].areaId = projectState.equipmentAreas[k].id;
  const std::size_t statistics = std::min(actor.statistics.size(), member.levelStats.size());
  for (std::size_t k = 0; k < statistics; ++k) {
    const std::vector<std::int32_t>& row = member.levelStats[k];
    const std::int32_t firstLevel = row.empty() ? 0 : row.front();
    actor.statistics[k].baseValue = firstLevel;
    actor.statistics[k].currentValue = firstLevel;
  }
  member.magic.clear();
  for (const InventoryEntry& entry : member.levelMagic.front())
    member.magic.push_back(UnresolvedItem(entry.itemId));
  result.actors.push_back(std::move(actor));
}

Player ReadPlayer(const ByteList& buffer, std::int32_t& offset, bool full, std::int32_t version,
                  std::int32_t playerIndex, std::int32_t playerLimit, ReadPlayersResult& result) {
  Player player;
  player.money = ReadMoney(buffer, offset);
  player.value1 = BufferReadLong(buffer, offset);
  if (version >= kFirstSecondPlayerValue) player.value2 = BufferReadLong(buffer, offset);
  const std::int32_t itemLast = BufferReadLastIndex(buffer, offset, kInventoryEntrySize);
  player.items.reserve(static_cast<std::size_t>(itemLast + 1));
  for (std::int32_t i = 0; i <= itemLast; ++i) {
    InventoryEntry entry = UnresolvedItem(BufferReadIdentifier(buffer, offset));
    entry.quantity = BufferReadLong(buffer, offset);
    entry.ammunition = BufferReadLong(buffer, offset);
    player.items.push_back(entry);
  }
  player.controlledMember = BufferReadLong(buffer, offset);
  const std::int32_t partyLast = BufferReadLastIndex(buffer, offset, kMinMemberSize);
  player.party.reserve(static_cast<std::size_t>(partyLast + 1));
  for (std::int32_t m = 0; m <= partyLast; ++m) {
    PartyMember member = ReadMemberStored(buffer, offset);
    if (!full) ReadMemberCharacter(buffer, offset, version, playerIndex, m, playerLimit, member, result);
    player.party.push_back(std::move(member));
  }
  result.memberCount += partyLast + 1;
  player.mapIndex = full ? BufferReadLong(buffer, offset) : -1;
  player.unstoredValue = -1;
  return player;
}

void WriteMember(ByteList& buffer, std::int32_t& offset, const PartyMember& member) {
  BufferWriteLong(buffer, member.character, offset);
  BufferWriteLong(buffer, member.level, offset);
  BufferWriteLong(buffer, member.minLevel, offset);
  BufferWriteLong(buffer, member.maxLevel, offset);
  for (std::int32_t value : {member.experience, member.experienceBase, member.experienceStep})
    BufferWriteLong(buffer, value, offset);
  // Exactly the stored level count, whatever the rows in memory hold.
  const std::int64_t levels =
      std::max<std::int64_t>(0, static_cast<std::int64_t>(member.maxLevel) - member.minLevel + 1);
  auto levelValue = [](const std::vector<std::int32_t>& row, std::int64_t level) {
    return level < static_cast<std::int64_t>(row.size()) ? row[static_cast<std::size_t>(level)] : 0;
  };
  BufferWriteLastIndex(buffer, gameData.statistics.size(), offset);
  static const std::vector<std::int32_t> kNoRow;
  for (std::size_t k = 0; k < gameData.statistics.size(); ++k) {
    BufferWriteIdentifier(buffer, gameData.statistics[k].id, offset);
    const std::vector<std::int32_t>& row =
        k < member.levelStats.size() ? member.levelStats[k] : kNoRow;
    for (std::int64_t level = 0; level < levels; ++level)
      BufferWriteLong(buffer, levelValue(row, level), offset);
  }
  static const std::vector<InventoryEntry> kNoItems;
  for (std::int64_t level = 0; level < levels; ++level) {
    const bool stored = level < static_cast<std::int64_t>(member.levelMagic.size());
    WriteItemIdList(buffer, offset, stored ? member.levelMagic[static_cast<std::size_t>(level)] : kNoItems);
  }
  WriteItemIdList(buffer, offset, member.magic);
}

}  // namespace

ReadPlayersResult ReadPlayers(const ByteList& buffer, std::int32_t& offset, bool full, std::int32_t version) {
  ReadPlayersResult result;
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kMinPlayerSize);
  const std::int32_t playerLimit = std::max(kPlayerSlots, last + 1);
  result.players.reserve(static_cast<std::size_t>(last + 1));
  for (std::int32_t p = 0; p <= last; ++p) {
    result.players.push_back(ReadPlayer(buffer, offset, full, version, p, playerLimit, result));
  }
  return result;
}

void WritePlayers(ByteList& buffer, std::int32_t& offset) {
  BufferWriteLastIndex(buffer, projectState.players.size(), offset);
  for (const Player& player : projectState.players) {
    WriteMoney(buffer, player.money, offset);
    BufferWriteLong(buffer, player.value1, offset);
    BufferWriteLong(buffer, player.value2, offset);
    BufferWriteLastIndex(buffer, player.items.size(), offset);
    for (const InventoryEntry& entry : player.items) {
      WriteReference(buffer, offset, SaveTable::kItem, entry.item, entry.itemId);
      BufferWriteLong(buffer, entry.quantity, offset);
      BufferWriteLong(buffer, entry.ammunition, offset);
    }
    BufferWriteLong(buffer, player.controlledMember, offset);
    BufferWriteLastIndex(buffer, player.party.size(), offset);
    for (const PartyMember& member : player.party) WriteMember(buffer, offset, member);
    BufferWriteLong(buffer, player.mapIndex, offset);
  }
}

}  // namespace kiv
