#include "platform/ui/control_array.h"

#include <gtest/gtest.h>

#include "core/error.h"

namespace kiv::ui {
namespace {

ControlArrayOf MakeArray(const std::string& name, Control first) {
  ControlArrayOf array;
  array.name = name;
  array.items.push_back(first);
  return array;
}

Control At(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height,
           const std::string& caption = "") {
  Control control;
  control.caption = caption;
  control.left = left, control.top = top, control.width = width, control.height = height;
  return control;
}

TEST(ControlArray, LoadItemCopiesTheTemplateHiddenAndKeepsAnExistingItem) {
  ControlArrayOf buttons = MakeArray("buttonSlot", At(10, 20, 100, 30, "Slot"));
  ControlArrayLoadItem(buttons, 2);
  ASSERT_TRUE(buttons.HasItem(2));
  EXPECT_EQ(buttons.Item(2).left, 10);
  EXPECT_EQ(buttons.Item(2).caption, "Slot");
  EXPECT_FALSE(buttons.Item(2).visible);

  buttons.Item(2).caption = "Changed";
  ControlArrayLoadItem(buttons, 2);  // loading again keeps the item as it is
  EXPECT_EQ(buttons.Item(2).caption, "Changed");
  EXPECT_FALSE(buttons.HasItem(1));  // the gap below item 2 is no item
  EXPECT_THROW(buttons.Item(1), KivError);
}

TEST(ControlArray, PlaceMovesRelativeToItemZeroAndShows) {
  ControlArrayOf rows = MakeArray("picRow", At(0, 0, 300, 40));
  ControlArrayOf labels = MakeArray("labelName", At(5, 7, 80, 20));
  ControlArrayPlace(labels, 3, ControlContainer{&rows, 1}, 12, -2);
  const Control& item = labels.Item(3);
  EXPECT_EQ(item.left, 17);
  EXPECT_EQ(item.top, 5);
  EXPECT_TRUE(item.visible);
  EXPECT_EQ(item.container, "picRow");
  EXPECT_EQ(item.containerIndex, 1);
}

TEST(ControlArray, LoadRowStacksRowsByTemplateHeightAndPlacesChildrenInside) {
  ControlArrayOf rows = MakeArray("picBinding", At(4, 9, 300, 25));
  ControlArrayOf names = MakeArray("labelControl", At(6, 3, 90, 18));
  ControlArrayOf keys = MakeArray("buttonKey", At(120, 2, 60, 20));
  ControlArrayLoadRow(rows, 4, ControlContainer{nullptr, -1}, {&names, &keys});

  EXPECT_EQ(rows.Item(4).top, 100);  // 25 x 4
  EXPECT_EQ(rows.Item(4).left, 4);   // left stays the template's
  EXPECT_TRUE(rows.Item(4).visible);
  for (const ControlArrayOf* child : {&names, &keys}) {
    const Control& item = child->Item(4);
    EXPECT_EQ(item.left, child->Item(0).left);
    EXPECT_EQ(item.top, child->Item(0).top);
    EXPECT_EQ(item.container, "picBinding");
    EXPECT_EQ(item.containerIndex, 4);
    EXPECT_TRUE(item.visible);
  }
}

TEST(ControlArray, AnArrayWithoutItsTemplateIsAnErrorNotACrash) {
  ControlArrayOf empty;
  empty.name = "buttonAction";
  try {
    ControlArrayLoadItem(empty, 1);
    FAIL() << "expected an error";
  } catch (const KivError& error) {
    EXPECT_EQ(error.Number(), 340);
  }
}

TEST(ControlArray, ListLinesKeepTheirValuesAndTheSelectionFollowsRemovals) {
  Control list;
  list.AddItem("Up", 1);
  list.AddItem("Down", 2);
  list.AddItem("Fire", 3);
  const struct {
    std::int32_t selected, removed, after;
  } cases[] = {{2, 0, 1}, {1, 1, -1}, {0, 2, 0}, {-1, 0, -1}};
  for (const auto& c : cases) {
    Control copy = list;
    copy.listIndex = c.selected;
    copy.RemoveItem(c.removed);
    EXPECT_EQ(copy.listIndex, c.after);
    EXPECT_EQ(copy.list.size(), 2u);
    EXPECT_EQ(copy.itemData.size(), 2u);
  }
  EXPECT_THROW(list.RemoveItem(3), KivError);
  list.Clear();
  EXPECT_TRUE(list.list.empty() && list.itemData.empty());
  EXPECT_EQ(list.listIndex, -1);
}

}  // namespace
}  // namespace kiv::ui
