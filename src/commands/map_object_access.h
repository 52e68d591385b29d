#pragma once
// The map objects that references of kinds 13, 17, 19, 21 and 30 name: the
// reference carries the object's index in its list and the index of the map
// that holds it. Every access checks both, so a reference kept past a removal
// is error 9 rather than a read past the list.
#include <cstdint>
#include <string>
#include <vector>

#include "commands/internal_call.h"
#include "data/game_data.h"
#include "data/map_record.h"

namespace kiv {

// The map of a map-object reference; error 9 outside -1..last.
std::int32_t CalledMapIndex(const InternalCall& call);
Map& CalledMap(const InternalCall& call);

// The object the reference names in the map's list; error 9 when the map or
// the index is outside its list. Fetch it again after anything that may run
// scripts.
template <class Object>
Object& CalledMapObject(const InternalCall& call, std::vector<Object> Map::*list);

std::size_t CalledObjectIndex(const InternalCall& call, std::size_t count);

// "|<map name>:<object name>", the name resolvers take for an object of a map.
std::u16string MapObjectFullName(std::int32_t map, const std::u16string& name);

// Reads the text, or stores the assigned value as text.
void TextProperty(InternalCall& call, std::u16string& text);

// FullName of a door or zone: read only.
void FullNameProperty(InternalCall& call, const std::u16string& name);

// Assigns through the slot at once, so the caller can act on the stored
// value; the slot is left unbound for the common tail.
void AssignNow(InternalCall& call, PropertySlot& slot);

template <class Object>
Object& CalledMapObject(const InternalCall& call, std::vector<Object> Map::*list) {
  std::vector<Object>& objects = CalledMap(call).*list;
  return objects[CalledObjectIndex(call, objects.size())];
}

}  // namespace kiv
