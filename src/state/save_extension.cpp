#include "state/save_extension.h"

#include <cstddef>
#include <vector>

#include "core/data_buffer.h"
#include "data/game_data.h"

namespace kiv {
namespace {

// Smallest stored entries, to refuse counts that cannot fit in the bytes left.
constexpr std::int32_t kMinActorSize = 100;
constexpr std::int32_t kPushSize = 16;
constexpr std::int32_t kEquipmentSize = 5;
constexpr std::int32_t kDoorSize = 4;
constexpr std::int32_t kSpawnSize = 4;
constexpr std::int32_t kFieldSize = 5;
constexpr std::int32_t kMinMapSize = 1;

// Every value goes through one function per kind, so that the writer and the
// reader name each value once and in the same order.
struct Writer {
  ByteList& buffer;
  std::int32_t& offset;
  void Long(std::int32_t value) { BufferWriteLong(buffer, value, offset); }
  void Single(float value) { BufferWriteSingle(buffer, value, offset); }
  void Byte(std::uint8_t value) { BufferWriteByte(buffer, value, offset); }
  void Text(const std::u16string& value) { BufferWriteString(buffer, value, offset); }
};

struct Reader {
  const ByteList& buffer;
  std::int32_t& offset;
  void Long(std::int32_t& value) { value = BufferReadLong(buffer, offset); }
  void Single(float& value) { value = BufferReadSingle(buffer, offset); }
  void Byte(std::uint8_t& value) { value = BufferReadByte(buffer, offset); }
  void Text(std::u16string& value) { value = BufferReadString(buffer, offset); }
};

// The actor values in their stored order; Io is a Writer (const actor) or a Reader.
template <typename Io, typename ActorRef>
void ActorValues(Io& io, ActorRef& a) {
  io.Long(a.moveWait);
  io.Long(a.aiMoveCommand);
  io.Long(a.walkTime);
  io.Long(a.idleTime);
  io.Long(a.attackTimer);
  io.Long(a.hurtTime);
  io.Long(a.risePoseTime);
  io.Long(a.fallPoseTime);
  io.Long(a.hopTime);
  io.Single(a.hopSpeed);
  io.Single(a.hopHeight);
  io.Byte(a.groundState);
  io.Long(a.actorFlags);
  io.Long(a.attackArea);
  io.Single(a.movementX);
  io.Single(a.movementY);
  io.Single(a.movementZ);
  for (std::size_t axis = 0; axis < a.movementFlags.size(); ++axis) io.Byte(a.movementFlags[axis]);
  io.Long(a.damageShowTime);
  io.Single(a.damageRise);
  io.Single(a.damageOffset);
  io.Long(a.damageShown);
  io.Long(a.messageValue);
  io.Text(a.messageText);
  io.Byte(a.messageSecondForm);
}

template <typename Io, typename PushRef>
void PushValues(Io& io, PushRef& p) {
  io.Single(p.x);
  io.Single(p.y);
  io.Single(p.z);
  io.Long(p.timeLeft);
}

template <typename Io, typename EntryRef>
void EquipmentValues(Io& io, EntryRef& e) {
  io.Long(e.fireWait);
  io.Byte(e.pressFired);
}

template <typename Io, typename FieldRef>
void FieldValues(Io& io, FieldRef& f) {
  io.Long(f.animationTime);
  io.Byte(f.view.shakeRepeat);
}

void WriteMap(Writer& out, const Map& map) {
  BufferWriteLastIndex(out.buffer, map.actors.size(), out.offset);
  for (const Actor& actor : map.actors) {
    ActorValues(out, actor);
    BufferWriteLastIndex(out.buffer, actor.pushes.size(), out.offset);
    for (const PushEntry& push : actor.pushes) PushValues(out, push);
    BufferWriteLastIndex(out.buffer, actor.equipment.size(), out.offset);
    for (const InventoryEntry& entry : actor.equipment) EquipmentValues(out, entry);
  }
  BufferWriteLastIndex(out.buffer, map.doors.size(), out.offset);
  for (const Door& door : map.doors) out.Long(door.openTimeLeft);
  BufferWriteLastIndex(out.buffer, map.spawns.size(), out.offset);
  for (const Spawn& spawn : map.spawns) out.Long(spawn.departedCount);
  BufferWriteLastIndex(out.buffer, map.fields.size(), out.offset);
  for (const Field& field : map.fields) FieldValues(out, field);
}

// The entry at index i of a loaded list, or a scratch record for a stored
// entry that the list does not have.
template <typename Record>
Record& EntryOrScratch(std::vector<Record>& list, std::int32_t i, Record& scratch) {
  if (static_cast<std::size_t>(i) < list.size()) return list[static_cast<std::size_t>(i)];
  scratch = Record();
  return scratch;
}

void ReadActor(Reader& in, Actor& actor) {
  ActorValues(in, actor);
  const std::int32_t pushLast = BufferReadLastIndex(in.buffer, in.offset, kPushSize);
  actor.pushes.assign(static_cast<std::size_t>(pushLast + 1), PushEntry());
  for (PushEntry& push : actor.pushes) PushValues(in, push);
  const std::int32_t equipmentLast = BufferReadLastIndex(in.buffer, in.offset, kEquipmentSize);
  InventoryEntry scratch;
  for (std::int32_t i = 0; i <= equipmentLast; ++i)
    EquipmentValues(in, EntryOrScratch(actor.equipment, i, scratch));
}

void ReadMap(Reader& in, Map& map) {
  Actor scratchActor;
  const std::int32_t actorLast = BufferReadLastIndex(in.buffer, in.offset, kMinActorSize);
  for (std::int32_t i = 0; i <= actorLast; ++i) ReadActor(in, EntryOrScratch(map.actors, i, scratchActor));
  Door scratchDoor;
  const std::int32_t doorLast = BufferReadLastIndex(in.buffer, in.offset, kDoorSize);
  for (std::int32_t i = 0; i <= doorLast; ++i)
    in.Long(EntryOrScratch(map.doors, i, scratchDoor).openTimeLeft);
  Spawn scratchSpawn;
  const std::int32_t spawnLast = BufferReadLastIndex(in.buffer, in.offset, kSpawnSize);
  for (std::int32_t i = 0; i <= spawnLast; ++i)
    in.Long(EntryOrScratch(map.spawns, i, scratchSpawn).departedCount);
  Field scratchField;
  const std::int32_t fieldLast = BufferReadLastIndex(in.buffer, in.offset, kFieldSize);
  for (std::int32_t i = 0; i <= fieldLast; ++i) FieldValues(in, EntryOrScratch(map.fields, i, scratchField));
}

}  // namespace

void WriteSaveExtension(ByteList& buffer, std::int32_t& offset) {
  Writer out{buffer, offset};
  out.Long(kSaveExtensionMark);
  out.Long(kSaveExtensionVersion);
  // A list of the maps from -1: map m is entry m + 1.
  const std::int32_t last = gameData.maps.LastIndex();
  out.Long(last + 1);
  for (std::int32_t m = -1; m <= last; ++m) {
    const Map& map = gameData.maps[m];
    out.Byte(map.keptById ? 0 : 1);
    if (!map.keptById) WriteMap(out, map);
  }
  out.Long(last + 1);
  for (std::int32_t m = -1; m <= last; ++m) out.Byte(gameData.maps[m].loadFlag ? 1 : 0);
}

void ReadSaveExtension(const ByteList& stream, std::int32_t& offset) {
  const std::int32_t left = BufferBytesLeft(stream, offset);
  if (left <= 0) return;
  // Bytes that begin as the mark does are a block cut short: reading them
  // raises the short-stream error instead of loading a damaged save.
  constexpr std::uint8_t kMarkBytes[4] = {'K', 'I', 'V', 'X'};
  for (std::int32_t i = 0; i < left && i < 4; ++i) {
    if (stream[static_cast<std::size_t>(offset + i)] != kMarkBytes[i]) return;
  }
  std::int32_t peek = offset;
  if (BufferReadLong(stream, peek) != kSaveExtensionMark) return;
  const std::int32_t version = BufferReadLong(stream, peek);
  offset = peek;
  if (version < 1 || version > kSaveExtensionVersion) {
    // Written by a later version: its values are not known here.
    offset = static_cast<std::int32_t>(stream.size());
    return;
  }
  Reader in{stream, offset};
  const std::int32_t last = BufferReadLastIndex(stream, offset, kMinMapSize) - 1;  // entry 0 is map -1
  Map scratch;
  for (std::int32_t m = -1; m <= last; ++m) {
    std::uint8_t present = 0;
    in.Byte(present);
    if (present == 0) continue;
    // A map the table no longer has (or kept only by identifier) reads into scratch.
    const bool known = m <= gameData.maps.LastIndex() && !gameData.maps[m].keptById;
    if (!known) scratch = Map();
    ReadMap(in, known ? gameData.maps[m] : scratch);
  }
  if (version < 2) return;
  const std::int32_t flagLast = BufferReadLastIndex(stream, offset, 1) - 1;
  for (std::int32_t m = -1; m <= flagLast; ++m) {
    std::uint8_t flagged = 0;
    in.Byte(flagged);
    if (flagged != 0 && m <= gameData.maps.LastIndex()) gameData.maps[m].loadFlag = true;
  }
}

}  // namespace kiv
