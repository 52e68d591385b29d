#include "platform/ui/control_array.h"

#include <string>

#include "core/error.h"

namespace kiv::ui {
namespace {

// The number the forms runtime gives a missing control-array element.
constexpr int kErrNoSuchElement = 340;

[[noreturn]] void MissingElement(const ControlArray& array, std::int32_t index) {
  RaiseError(kErrNoSuchElement,
             "Control array element " + std::to_string(index) + " doesn't exist (" + array.name + ")");
}

}  // namespace

ControlItem& ControlArray::Item(std::int32_t index) {
  auto found = items.find(index);
  if (found == items.end()) MissingElement(*this, index);
  return found->second;
}

const ControlItem& ControlArray::Item(std::int32_t index) const {
  auto found = items.find(index);
  if (found == items.end()) MissingElement(*this, index);
  return found->second;
}

void ControlArrayLoadItem(ControlArray& array, std::int32_t index) {
  if (array.HasItem(index)) return;
  ControlItem item = array.Item(0);
  item.visible = false;  // a newly loaded element starts hidden, as the template's copy
  array.items.emplace(index, item);
}

void ControlArrayPlace(ControlArray& array, std::int32_t index, ControlContainer container, std::int32_t dx,
                       std::int32_t dy) {
  ControlArrayLoadItem(array, index);
  const ControlItem& first = array.Item(0);
  const std::int32_t left = first.left + dx;
  const std::int32_t top = first.top + dy;
  ControlItem& item = array.Item(index);
  item.containerArray = container.array;
  item.containerIndex = container.index;
  item.left = left;
  item.top = top;
  item.visible = true;
}

void ControlArrayLoadRow(ControlArray& rowArray, std::int32_t index, ControlContainer container,
                         const std::vector<ControlArray*>& children) {
  ControlArrayLoadItem(rowArray, index);
  const std::int32_t rowHeight = rowArray.Item(0).height;
  ControlItem& row = rowArray.Item(index);
  row.containerArray = container.array;
  row.containerIndex = container.index;
  row.top = rowHeight * index;
  row.visible = true;
  for (ControlArray* child : children) {
    ControlArrayPlace(*child, index, ControlContainer{&rowArray, index}, 0, 0);
  }
}

}  // namespace kiv::ui
