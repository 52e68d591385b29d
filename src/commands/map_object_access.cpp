#include "commands/map_object_access.h"

#include <cmath>

#include "commands/object_kind_commands.h"
#include "core/error.h"
#include "script/script_value_ops.h"

namespace kiv {

std::int32_t CalledMapIndex(const InternalCall& call) {
  const std::int32_t map = call.object.mapIndex;
  if (map < -1 || map > gameData.maps.LastIndex()) RaiseError(kErrIndex, "Subscript out of range.");
  return map;
}

Map& CalledMap(const InternalCall& call) { return gameData.maps[CalledMapIndex(call)]; }

std::size_t CalledObjectIndex(const InternalCall& call, std::size_t count) {
  return ObjectRecordIndex(call.object, count);
}

std::u16string MapObjectFullName(std::int32_t map, const std::u16string& name) {
  return u"|" + gameData.maps[map].fileName + u":" + name;
}

void TextProperty(InternalCall& call, std::u16string& text) {
  if (call.Assigning()) {
    text = VarToText(call.value);
  } else {
    call.Answer(Variant::Text(text));
  }
}

void FullNameProperty(InternalCall& call, const std::u16string& name) {
  if (call.Assigning()) RaiseObjectError(u"You cannot change the full name of something.");
  call.Answer(Variant::Text(MapObjectFullName(CalledMapIndex(call), name)));
}

void AssignNow(InternalCall& call, PropertySlot& slot) {
  slot.Assign(call.value);
  call.slot = PropertySlot();
}

std::uint8_t ValueAsByte(const Variant& value) {
  const std::int32_t whole = VarToLong(value);
  if (whole < 0 || whole > 255) RaiseError(kErrOverflow, "Overflow");
  return static_cast<std::uint8_t>(whole);
}

void ByteProperty(InternalCall& call, std::uint8_t& field, std::int32_t lowest, std::int32_t highest) {
  if (!call.Assigning()) {
    call.Answer(Variant::Byte(field));
    return;
  }
  std::int32_t whole = field;
  PropertySlot slot;
  slot.BindLong(whole);
  slot.Clamp(lowest, highest);
  slot.Assign(call.value);
  field = static_cast<std::uint8_t>(whole);
}

}  // namespace kiv
