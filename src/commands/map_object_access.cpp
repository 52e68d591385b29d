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
  return ObjectListIndex(call.object.value, count);
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

}  // namespace kiv
