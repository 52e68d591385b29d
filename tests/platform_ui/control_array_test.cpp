#include "platform/ui/control_array.h"

#include <gtest/gtest.h>

#include "core/error.h"

namespace kiv::ui {
namespace {

ControlArray MakeArray(const std::string& name, ControlItem first) {
  ControlArray array;
  array.name = name;
  array.items.emplace(0, first);
  return array;
}

TEST(ControlArray, LoadItemCopiesTheTemplateHiddenAndKeepsAnExistingItem) {
  ControlArray buttons = MakeArray("buttonSlot", {10, 20, 100, 30, true, u"Slot", nullptr, -1});
  ControlArrayLoadItem(buttons, 2);
  ASSERT_TRUE(buttons.HasItem(2));
  EXPECT_EQ(buttons.Item(2).left, 10);
  EXPECT_EQ(buttons.Item(2).caption, u"Slot");
  EXPECT_FALSE(buttons.Item(2).visible);

  buttons.Item(2).caption = u"Changed";
  ControlArrayLoadItem(buttons, 2);  // loading again keeps the item as it is
  EXPECT_EQ(buttons.Item(2).caption, u"Changed");
  EXPECT_FALSE(buttons.HasItem(1));
}

TEST(ControlArray, PlaceMovesRelativeToItemZeroAndShows) {
  ControlArray rows = MakeArray("picRow", {0, 0, 300, 40, true, u"", nullptr, -1});
  ControlArray labels = MakeArray("labelName", {5, 7, 80, 20, true, u"", nullptr, -1});
  ControlArrayPlace(labels, 3, ControlContainer{&rows, 1}, 12, -2);
  const ControlItem& item = labels.Item(3);
  EXPECT_EQ(item.left, 17);
  EXPECT_EQ(item.top, 5);
  EXPECT_TRUE(item.visible);
  EXPECT_EQ(item.containerArray, &rows);
  EXPECT_EQ(item.containerIndex, 1);
}

TEST(ControlArray, LoadRowStacksRowsByTemplateHeightAndPlacesChildrenInside) {
  ControlArray rows = MakeArray("picBinding", {4, 9, 300, 25, true, u"", nullptr, -1});
  ControlArray names = MakeArray("labelControl", {6, 3, 90, 18, true, u"", nullptr, -1});
  ControlArray keys = MakeArray("buttonKey", {120, 2, 60, 20, true, u"", nullptr, -1});
  ControlArrayLoadRow(rows, 4, ControlContainer{nullptr, -1}, {&names, &keys});

  EXPECT_EQ(rows.Item(4).top, 100);  // 25 x 4
  EXPECT_EQ(rows.Item(4).left, 4);   // left stays the template's
  EXPECT_TRUE(rows.Item(4).visible);
  for (const ControlArray* child : {&names, &keys}) {
    const ControlItem& item = child->Item(4);
    EXPECT_EQ(item.left, child->Item(0).left);
    EXPECT_EQ(item.top, child->Item(0).top);
    EXPECT_EQ(item.containerArray, &rows);
    EXPECT_EQ(item.containerIndex, 4);
    EXPECT_TRUE(item.visible);
  }
}

TEST(ControlArray, AnArrayWithoutItsTemplateIsAnErrorNotACrash) {
  ControlArray empty;
  empty.name = "buttonAction";
  try {
    ControlArrayLoadItem(empty, 1);
    FAIL() << "expected an error";
  } catch (const KivError& error) {
    EXPECT_EQ(error.Number(), 340);
  }
}

}  // namespace
}  // namespace kiv::ui
