#pragma once
// Three steps of map drawing for a map (never an interface): the pick-ups
// lying on it, its characters with their sprite layers and carried items, and
// its doors. Each culls against the visible part of the map and lights its
// objects with the map's light at their position.
#include <array>
#include <cstdint>

#include "render/render_hooks.h"

namespace kiv {

struct Actor;
struct Attachment;
struct EquipmentArea;
struct Item;
struct Map;
struct PickUp;

void DrawPickUps(const MapDrawStep& step);
void DrawCharacters(const MapDrawStep& step);
void DrawDoors(const MapDrawStep& step);

// True when an object at (x, y) lies wholly outside the visible rectangle
// (left, top, right, bottom in map pixels), the margins a, b, c, d reaching
// left, up, right and down from it.
bool OutsideVisibleRect(float x, float y, float a, float b, float c, float d, const std::array<std::int32_t, 4>& rect);

// The light-grid colour at a door's foot: the corner (x / 32, y / 32 + 2,
// z / 32, whole-number division) of the position rounded to whole pixels,
// kept inside the grid.
std::uint32_t DoorLightColor(const Map& map, float x, float y, float z);

// The depth layer of a character's parts: parts drawn later lie in front of
// earlier ones, up to layer 17.
class CharacterDepthLayer {
 public:
  // Moves on for a new frame set: from 0 to 3 when the part asks for a layer
  // of its own (far), else to 1; from any other layer up by one.
  std::int32_t Move(bool far);
  // Up by one, for a carried item and past it.
  std::int32_t Step();
  std::int32_t Value() const { return value_; }

 private:
  std::int32_t value_ = 0;
};

// The tint and second colour of an actor, flashing when its flash duration is
// 1 or more.
struct ActorColours {
  std::uint32_t tint = 0;
  std::uint32_t second = 0;
};
ActorColours FlashedColours(const Actor& actor);

// The names drawing gives to fields the records keep under their file names.
std::int32_t PickUpClock(const PickUp& p);
std::int32_t ItemPictureSize(const Item& item);
std::int32_t EquipmentAreaDrawSlot(const EquipmentArea& area);
std::int32_t AttachmentClock(const Attachment& a);
std::uint32_t AttachmentSecondColour(const Attachment& a);

}  // namespace kiv
