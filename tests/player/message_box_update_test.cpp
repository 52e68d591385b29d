// One tick of one box: text scrolling, which boxes take input, paging, the
// selection in one column and in a grid, the highlight and list glide, and
// the number input.
#include "player/message_box_update.h"

#include <gtest/gtest.h>

#include "player/boxes_fixture.h"

namespace kiv::test {
namespace {

constexpr std::int32_t kLeft = 1, kUp = 2, kRight = 4, kDown = 8;
constexpr std::int32_t kBox = 5;

class MessageBoxUpdateTest : public BoxesTest {
 protected:
  MessageBox& Box() { return messageBoxes[kBox]; }
  Player& Keys() { return projectState.players[0]; }
  void WithItems(std::int32_t count, std::int32_t columns) {
    Box().visible = true;
    Box().items.assign(static_cast<std::size_t>(count), MessageBoxItem{});
    Box().itemColumns = columns;
  }
  // One fresh press of the arrows (the latch clear), then the tick.
  void Press(std::int32_t arrows, std::int32_t ms = 0) {
    Keys().arrowKeys = arrows;
    Keys().arrowKeysHeld = false;
    UpdateMessageBox(kBox, ms);
  }
};

TEST_F(MessageBoxUpdateTest, TheTextScrollsToItsPageAndStopsJustPastItNeverBack) {
  Box().visible = true;
  Box().pageStart = 1;
  const struct {
    std::int32_t ms;
    float scroll;
  } steps[] = {{50, 16.0f}, {40, 28.8f}, {40, 32.1f}, {40, 32.1f}};
  for (const auto& step : steps) {
    UpdateMessageBox(kBox, step.ms);
    EXPECT_FLOAT_EQ(Box().textScroll, step.scroll) << step.ms;
  }
  Box().pageStart = 0;
  UpdateMessageBox(kBox, 40);
  EXPECT_FLOAT_EQ(Box().textScroll, 32.1f);
}

TEST_F(MessageBoxUpdateTest, OnlyBoxesWithItemsANumberInputOrMoreTextTakeInput) {
  struct Case {
    const char* name;
    std::int32_t items, mode, linesPerPage, pageStart, lineCount;
    bool visible, takes;
  } cases[] = {
      {"plain text", 0, 0, 0, 0, 5, true, false},     {"one item", 1, 0, 0, 0, 0, true, true},
      {"typed input", 0, 1, 0, 0, 0, true, true},     {"number input", 0, 2, 0, 0, 0, true, true},
      {"more text below", 0, 0, 2, 0, 4, true, true}, {"last page", 0, 0, 2, 1, 4, true, false},
      {"hidden", 3, 0, 0, 0, 0, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Box() = MessageBox{};
    Box().visible = c.visible;
    Box().items.resize(static_cast<std::size_t>(c.items));
    Box().inputMode = c.mode;
    Box().linesPerPage = c.linesPerPage;
    Box().pageStart = c.pageStart;
    Box().lineCount = c.lineCount;
    UpdateMessageBox(kBox, 10);
    EXPECT_EQ(Box().activated, c.takes);
  }
}

TEST_F(MessageBoxUpdateTest, MoreTextPagesOnReturnOnceRevealedAndSwallowsReturnWhileRevealing) {
  Box().visible = true;
  Box().linesPerPage = 2;
  Box().lineCount = 5;
  Box().items.resize(3);
  Keys().keyReturnDown = true;
  UpdateMessageBox(kBox, 10);
  EXPECT_EQ(Box().pageStart, 0);
  EXPECT_TRUE(Keys().keyReturnHeld);  // swallowed
  Keys().arrowKeys = kDown;
  UpdateMessageBox(kBox, 10);
  EXPECT_EQ(Box().selected, 0);  // no selection while text is left

  Box().pageFull = true;
  Keys().keyReturnHeld = false;
  UpdateMessageBox(kBox, 10);
  EXPECT_EQ(Box().pageStart, 1);
  UpdateMessageBox(kBox, 10);
  EXPECT_EQ(Box().pageStart, 1);  // one press, one page
  Keys().keyReturnHeld = false;
  UpdateMessageBox(kBox, 10);
  EXPECT_EQ(Box().pageStart, 2);  // 2 + 2 + 1 = 5: no more text below
  Keys().keyReturnHeld = false;
  UpdateMessageBox(kBox, 10);
  EXPECT_EQ(Box().pageStart, 2);
}

TEST_F(MessageBoxUpdateTest, SelectionMovesAndWrapsInOneColumnAndInAGrid) {
  struct Case {
    const char* name;
    std::int32_t items, columns, from, arrows, to;
  } cases[] = {
      {"column: up on the first gives the last", 4, 0, 0, kUp, 3},
      {"column: down on the last gives the first", 4, 0, 3, kDown, 0},
      {"column: down", 4, 0, 1, kDown, 2},
      {"column: left does nothing", 4, 0, 1, kLeft, 1},
      {"column: right does nothing", 4, 0, 1, kRight, 1},
      {"drawn column (1): right moves on", 4, 1, 1, kRight, 2},
      {"drawn column (1): left from the first gives the last", 4, 1, 0, kLeft, 3},
      {"drawn column (1): up on the first gives the last", 4, 1, 0, kUp, 3},
      {"drawn column (1): down on the last gives the first", 4, 1, 3, kDown, 0},
      {"grid 3 x 3: up from 1 gives 6", 9, 3, 1, kUp, 6},
      {"grid 3 x 3: down from 7 gives 2", 9, 3, 7, kDown, 2},
      {"grid 3 x 3: up from 4 gives 1", 9, 3, 4, kUp, 1},
      {"grid 3 x 3: right from 8 gives 0", 9, 3, 8, kRight, 0},
      {"grid 3 x 3: left from 0 gives 8", 9, 3, 0, kLeft, 8},
      {"grid 3 x 3: up and right together", 9, 3, 4, kUp | kRight, 2},
      {"one item does not move", 1, 0, 0, kDown, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Box() = MessageBox{};
    WithItems(c.items, c.columns);
    Box().selected = c.from;
    Press(c.arrows);
    EXPECT_EQ(Box().selected, c.to);
  }
}

TEST_F(MessageBoxUpdateTest, OnePressMovesOnce) {
  WithItems(4, 0);
  Press(kDown);
  EXPECT_TRUE(Keys().arrowKeysHeld);
  UpdateMessageBox(kBox, 10);  // still held: no second move
  EXPECT_EQ(Box().selected, 1);
}

TEST_F(MessageBoxUpdateTest, TheHighlightGlidesAHundredthOfARowPerMsAndSettles) {
  WithItems(9, 3);
  Box().selected = 4;  // column 1, row 1
  const struct {
    std::int32_t ms;
    float column, row;
  } steps[] = {{30, 0.3f, 0.3f}, {60, 0.9f, 0.9f}, {30, 1.0f, 1.0f}, {30, 1.0f, 1.0f}};
  for (const auto& step : steps) {
    Keys().arrowKeys = 0;
    UpdateMessageBox(kBox, step.ms);
    EXPECT_FLOAT_EQ(Box().cursorColumn, step.column);
    EXPECT_FLOAT_EQ(Box().cursorRow, step.row);
  }
  Press(kUp, 50);  // to 1: the row glides back, the column stays
  EXPECT_EQ(Box().selected, 1);
  EXPECT_FLOAT_EQ(Box().cursorRow, 0.5f);
  EXPECT_FLOAT_EQ(Box().cursorColumn, 1.0f);
  UpdateMessageBox(kBox, 100);
  EXPECT_EQ(Box().cursorRow, 0.0f);
}

TEST_F(MessageBoxUpdateTest, TheListScrollFollowsTheSelectedRowAndSettles) {
  WithItems(10, 0);
  Box().visibleRows = 3;
  Box().selected = 6;
  UpdateMessageBox(kBox, 50);
  EXPECT_FLOAT_EQ(Box().scroll, 0.5f);
  UpdateMessageBox(kBox, 200);
  EXPECT_FLOAT_EQ(Box().scroll, 2.5f);
  UpdateMessageBox(kBox, 100);
  EXPECT_FLOAT_EQ(Box().scroll, 3.0f);  // row 6 is no longer beyond 3 + 3
  UpdateMessageBox(kBox, 100);
  EXPECT_FLOAT_EQ(Box().scroll, 3.0f);
  Box().selected = 2;
  UpdateMessageBox(kBox, 50);
  EXPECT_FLOAT_EQ(Box().scroll, 2.5f);
  UpdateMessageBox(kBox, 100);
  EXPECT_FLOAT_EQ(Box().scroll, 2.0f);
}

TEST_F(MessageBoxUpdateTest, ANumberInputStepsWithinItsBounds) {
  struct Case {
    const char16_t* from;
    std::int32_t arrows;
    const char16_t* to;
  } cases[] = {
      {u"95", kRight, u"100"}, {u"100", kUp, u"100"},  {u"99", kUp, u"100"},
      {u"50", kDown, u"49"},   {u"-5", kDown, u"-5"},  {u"3", kLeft, u"-5"},
      {u"20", kLeft, u"10"},   {u"80", kRight, u"90"}, {u"", kUp, u"1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.from, c.from + std::char_traits<char16_t>::length(c.from)));
    Box() = MessageBox{};
    Box().visible = true;
    Box().inputMode = 2;
    Box().inputMin = -5;
    Box().inputMax = 100;
    Box().inputText = c.from;
    Press(c.arrows);
    EXPECT_EQ(Box().inputText, std::u16string(c.to));
    EXPECT_EQ(Box().inputGlyphs, Glyphs(std::u16string(c.to)));
    EXPECT_TRUE(Keys().arrowKeysHeld);
  }
}

TEST_F(MessageBoxUpdateTest, TheNumber95WithMaximum100GoesTo100OnRightAndStaysOnUp) {
  Box().visible = true;
  Box().inputMode = 2;
  Box().inputMax = 100;
  Box().inputText = u"95";
  Press(kRight);
  EXPECT_EQ(Box().inputText, u"100");
  Press(kUp);
  EXPECT_EQ(Box().inputText, u"100");
}

}  // namespace
}  // namespace kiv::test
