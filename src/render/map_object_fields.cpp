// Culling and the names drawing gives to record fields, shared by the three
// object steps of map drawing.
#include "data/lists.h"
#include "data/map_objects.h"
#include "data/set_records.h"
#include "render/map_object_drawing.h"

namespace kiv {

bool OutsideVisibleRect(float x, float y, float a, float b, float c, float d,
                        const std::array<std::int32_t, 4>& rect) {
  return x - a >= static_cast<float>(rect[2]) || y - b >= static_cast<float>(rect[3]) ||
         x + c <= static_cast<float>(rect[0]) || y + d <= static_cast<float>(rect[1]);
}

// The taken pick-up's animation runs on the value the pick-up system advances.
std::int32_t PickUpClock(const PickUp& p) { return p.runValue; }

// An item's picture is square: the first of its two stored sizes.
std::int32_t ItemPictureSize(const Item& item) { return item.valueC; }

// The holding-point slot (0..3) at which an area's item is drawn; -1 none.
std::int32_t EquipmentAreaDrawSlot(const EquipmentArea& area) { return area.value; }

// Attached animations: ms shown so far and the colour multiplied in last.
std::int32_t AttachmentClock(const Attachment& a) { return a.valueA; }
std::uint32_t AttachmentSecondColour(const Attachment& a) { return static_cast<std::uint32_t>(a.valueD); }

}  // namespace kiv
