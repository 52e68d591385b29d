#include "platform/ui/control_array.h"

#include <string>

#include "core/error.h"

namespace kiv::ui {
namespace {

// The number the forms runtime gives a missing control-array element.
constexpr int kErrNoSuchElement = 340;

[[noreturn]] void MissingElement(const ControlArrayOf& array, std::int32_t index) {
  RaiseError(kErrNoSuchElement,
             "Control array element " + std::to_string(index) + " doesn't exist (" + array.name + ")");
}

}  // namespace

void Control::AddItem(const std::string& line, std::int32_t data) {
  list.push_back(line);
  itemData.push_back(data);
}

void Control::RemoveItem(std::int32_t line) {
  if (line < 0 || static_cast<std::size_t>(line) >= list.size()) {
    RaiseError(kErrIndex, "Invalid list index " + std::to_string(line) + ".");
  }
  list.erase(list.begin() + line);
  itemData.erase(itemData.begin() + line);
  if (listIndex == line) {
    listIndex = -1;
  } else if (listIndex > line) {
    --listIndex;
  }
}

void Control::Clear() {
  list.clear();
  itemData.clear();
  listIndex = -1;
}

bool ControlArrayOf::HasItem(std::int32_t index) const {
  return index >= 0 && static_cast<std::size_t>(index) < items.size() &&
         items[static_cast<std::size_t>(index)].loaded;
}

Control& ControlArrayOf::Item(std::int32_t index) {
  if (!HasItem(index)) MissingElement(*this, index);
  return items[static_cast<std::size_t>(index)];
}

const Control& ControlArrayOf::Item(std::int32_t index) const {
  if (!HasItem(index)) MissingElement(*this, index);
  return items[static_cast<std::size_t>(index)];
}

void ControlArrayLoadItem(ControlArrayOf& array, std::int32_t index) {
  if (array.HasItem(index)) return;
  Control item = array.Item(0);
  item.visible = false;  // a newly loaded element starts hidden, as the template's copy
  if (index < 0) MissingElement(array, index);
  const std::size_t at = static_cast<std::size_t>(index);
  if (at >= array.items.size()) {
    Control gap;
    gap.loaded = false;
    gap.visible = false;
    array.items.resize(at + 1, gap);
  }
  array.items[at] = std::move(item);
}

void ControlArrayPlace(ControlArrayOf& array, std::int32_t index, ControlContainer container, std::int32_t dx,
                       std::int32_t dy) {
  ControlArrayLoadItem(array, index);
  const Control& first = array.Item(0);
  const std::int32_t left = first.left + dx;
  const std::int32_t top = first.top + dy;
  Control& item = array.Item(index);
  item.container = container.array ? container.array->name : std::string();
  item.containerIndex = container.index;
  item.left = left;
  item.top = top;
  item.visible = true;
}

void ControlArrayLoadRow(ControlArrayOf& rowArray, std::int32_t index, ControlContainer container,
                         const std::vector<ControlArrayOf*>& children) {
  ControlArrayLoadItem(rowArray, index);
  const std::int32_t rowHeight = rowArray.Item(0).height;
  Control& row = rowArray.Item(index);
  row.container = container.array ? container.array->name : std::string();
  row.containerIndex = container.index;
  row.top = rowHeight * index;
  row.visible = true;
  for (ControlArrayOf* child : children) {
    ControlArrayPlace(*child, index, ControlContainer{&rowArray, index}, 0, 0);
  }
}

}  // namespace kiv::ui
