// Keys typed into the game window: only the message box in charge, in input
// mode 1, takes them; Alt alone is swallowed.
#include <gtest/gtest.h>

#include "core/text_encoding.h"
#include "data/data_hooks.h"
#include "player/game_window.h"
#include "player/message_boxes.h"

namespace kiv {
namespace {

class TypedTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dataHooks.WrapText = [this](std::int32_t fontSet, const std::u16string& text, std::int32_t width,
                                std::int32_t& lines, float size) {
      EXPECT_EQ(fontSet, 0);
      EXPECT_EQ(width, 0);
      EXPECT_EQ(size, 1.0f);
      ++layouts;
      lines = 1;
      return std::vector<std::int16_t>(text.size() + 1, 7);
    };
  }
  void TearDown() override {
    dataHooks.Reset();
    messageBoxes = {};
    messageBoxState = 0;
  }
  int layouts = 0;
};

TEST_F(TypedTextTest, OnlyABoxInInputModeOneTakesText) {
  struct Case {
    const char* name;
    std::int32_t state;
    std::int32_t mode;
    std::u16string text;
    std::int32_t limit;
    std::vector<int> keys;
    std::u16string expected;
    int layouts;
  };
  const Case cases[] = {
      {"printable", 20, 1, u"", 10, {'H', 'i'}, u"Hi", 2},
      {"backspace removes the last", 20, 1, u"abc", 10, {8}, u"ab", 1},
      {"backspace on empty lays out again", 20, 1, u"", 10, {8}, u"", 1},
      {"codes below 32 ignored", 20, 1, u"ab", 10, {13, 27, 9}, u"ab", 0},
      {"limit 10 admits an eleventh", 20, 1, u"0123456789", 10, {'x', 'y'}, u"0123456789x", 2},
      {"windows-1252 euro", 20, 1, u"", 10, {0x80}, u"\u20AC", 1},
      {"other input mode", 20, 0, u"ab", 10, {'c', 8}, u"ab", 0},
      {"box 0 in charge", 0, 1, u"", 0x7FFFFDFF, {'z'}, u"z", 1},
      {"state out of range", 77, 1, u"", 10, {'z'}, u"", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messageBoxes = {};
    layouts = 0;
    messageBoxState = c.state;
    MessageBox& box = messageBoxes[static_cast<std::size_t>(c.state < kMessageBoxCount ? c.state : 20)];
    box.inputMode = c.mode;
    box.inputText = c.text;
    box.inputLimit = c.limit;
    for (int key : c.keys) {
      int code = key;
      frmMain.Form_KeyPress(code);
    }
    EXPECT_EQ(Utf16ToUtf8(box.inputText), Utf16ToUtf8(c.expected));
    EXPECT_EQ(layouts, c.layouts);
    if (c.layouts > 0) {
      EXPECT_EQ(box.inputGlyphs.size(), c.expected.size() + 1);
    }
  }
}

TEST_F(TypedTextTest, AltAloneIsSwallowedOtherKeysPass) {
  for (const auto& [in, out] : {std::pair{18, 0}, std::pair{17, 17}, std::pair{13, 13}}) {
    int code = in;
    frmMain.Form_KeyDown(code, 4);
    EXPECT_EQ(code, out);
  }
}

TEST_F(TypedTextTest, TheCloseBoxAsksTheLoopToEndInsteadOfUnloading) {
  int cancel = 0;
  frmMain.Form_QueryUnload(cancel, ui::kUnloadCode);
  EXPECT_EQ(cancel, 0);
  frmMain.Form_QueryUnload(cancel, ui::kUnloadUser);
  EXPECT_NE(cancel, 0);
}

}  // namespace
}  // namespace kiv
