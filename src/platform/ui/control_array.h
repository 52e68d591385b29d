#pragma once
// The controls of the forms and their control arrays: numbered items made
// from item 0, the template that the form designer placed. Rows of controls
// (save slots, input bindings) are built by loading further items and placing
// them relative to item 0.
#include <cstdint>
#include <string>
#include <vector>

namespace kiv::ui {

// A control: the properties that the forms use. Positions and sizes are in
// the form's pixels, relative to the control's container: a picture box (by
// array name and item) or, with an empty container, the form. A picture box
// clips what it holds, so moving a tall picture box inside a smaller one
// scrolls its contents.
struct Control {
  std::string caption{};  // Windows-1252 text, as the game's files store it
  std::string tag{};
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool enabled = true;
  bool visible = true;
  bool isDefault = false;  // Return presses it
  bool isCancel = false;   // Escape presses it

  // Check box: 0 clear, 1 checked. Slider and scroll bar: the position.
  std::int32_t value = 0;
  // Slider and scroll bar: limits, the step of an arrow or key and of a page.
  std::int32_t min = 0;
  std::int32_t max = 10;
  std::int32_t smallChange = 1;
  std::int32_t largeChange = 1;
  std::string text{};                    // text box (Windows-1252)
  std::vector<std::string> list{};       // list box and drop-down lines (Windows-1252)
  std::vector<std::int32_t> itemData{};  // the value carried by each line
  std::int32_t listIndex = -1;           // the selected line, -1 none
  std::int32_t interval = 0;             // timer: milliseconds between ticks, 0 stopped
  std::string container{};               // picture box array holding the control; empty: the form
  std::int32_t containerIndex = 0;
  bool border = true;  // picture box frame
  bool loaded = true;  // false: a gap in a control array, not an item

  // List lines. Removing the selected line leaves none selected.
  void AddItem(const std::string& line, std::int32_t data = 0);
  void RemoveItem(std::int32_t line);
  void Clear();
};

enum class ControlKind {
  Button,
  Label,
  PictureBox,
  CheckBox,
  TextBox,
  ListBox,
  DropDown,
  Slider,
  ScrollBar,
  Timer
};

// A control array: one handler receives the index of the item. Item 0 is the
// template that the form designer placed; further items are loaded from it.
struct ControlArrayOf {
  std::string name;
  ControlKind kind = ControlKind::Button;
  std::vector<Control> items;
  Control& operator[](std::size_t i) { return items.at(i); }
  const Control& operator[](std::size_t i) const { return items.at(i); }
  bool HasItem(std::int32_t index) const;
  // Raises 340 "Control array element N doesn't exist" for a missing item.
  Control& Item(std::int32_t index);
  const Control& Item(std::int32_t index) const;
};

// The item of a picture box array that holds other controls; no array: the form.
struct ControlContainer {
  const ControlArrayOf* array = nullptr;
  std::int32_t index = 0;
};

// Creates item index as a copy of item 0, hidden; an item that exists already is kept.
void ControlArrayLoadItem(ControlArrayOf& array, std::int32_t index);
// Loads the item, puts it into the container at item 0's left + dx and top + dy, and shows it.
void ControlArrayPlace(ControlArrayOf& array, std::int32_t index, ControlContainer container, std::int32_t dx,
                       std::int32_t dy);
// Loads item index of the row array into the container at top = item 0's height x index
// and shows it, then places item index of each child array into that row item at the
// child's own item 0 position.
void ControlArrayLoadRow(ControlArrayOf& rowArray, std::int32_t index, ControlContainer container,
                         const std::vector<ControlArrayOf*>& children);

}  // namespace kiv::ui
