#pragma once
// Control arrays of the forms: numbered items made from item 0, the template
// that the form designer placed. Rows of controls (save slots, input bindings)
// are built by loading further items and placing them relative to item 0.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kiv::ui {

struct ControlArray;

// One item of a control array. Positions are in the form's units, relative to
// the item's container (another control array's item, or the form when none).
struct ControlItem {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool visible = false;
  std::u16string caption;
  const ControlArray* containerArray = nullptr;  // nullptr: the form itself
  std::int32_t containerIndex = -1;
};

struct ControlArray {
  std::string name;
  std::map<std::int32_t, ControlItem> items;  // item 0 is the designer's template

  bool HasItem(std::int32_t index) const { return items.count(index) != 0; }
  // Raises 340 "Control array element N doesn't exist" for a missing item.
  ControlItem& Item(std::int32_t index);
  const ControlItem& Item(std::int32_t index) const;
};

// A container for ControlArrayPlace and ControlArrayLoadRow: an item of a control array.
struct ControlContainer {
  const ControlArray* array = nullptr;
  std::int32_t index = -1;
};

// Creates item index as a copy of item 0, hidden; an item that exists already is kept.
void ControlArrayLoadItem(ControlArray& array, std::int32_t index);
// Loads the item, puts it into the container at item 0's left + dx and top + dy, and shows it.
void ControlArrayPlace(ControlArray& array, std::int32_t index, ControlContainer container, std::int32_t dx,
                       std::int32_t dy);
// Loads item index of the row array into the container at top = item 0's height x index
// and shows it, then places item index of each child array into that row item at the
// child's own item 0 position.
void ControlArrayLoadRow(ControlArray& rowArray, std::int32_t index, ControlContainer container,
                         const std::vector<ControlArray*>& children);

}  // namespace kiv::ui
