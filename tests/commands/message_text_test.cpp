// The script message box laid out from a text with choice and entry codes:
// the split, the item numbers and widths, the wrap width and the height.
#include "commands/message_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text_encoding.h"
#include "data/game_data.h"
#include "media/graphics.h"
#include "player/message_boxes.h"
#include "state/project_settings_block.h"

namespace kiv {
namespace {

// Every printable character 6.4 pixels wide on a 256-pixel texture, with a
// padding that the pen takes off but item widths do not.
FontSet TestFont() {
  FontSet font;
  font.textureWidth = 256;
  font.glyphInset = 2;
  font.lineHeight = 16;
  for (char16_t code = 32; code < 127; ++code) {
    FontGlyph glyph;
    glyph.width = 6.4f / 256.0f;
    glyph.height = 16.0f / 256.0f;
    glyph.code = static_cast<std::int16_t>(code);
    font.glyphs.push_back(glyph);
  }
  return font;
}

class MessageTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.fontSets.clear();
    gameData.fontSets.push_back(TestFont());
    graphics.videoWidth = 800;
    storedProjectSettings.Reset();
    storedProjectSettings.messageBoxDefaults[0] = 0x11223344;
    storedProjectSettings.messageBoxDefaults[1] = 0x55667788;
    messageBoxes[0] = MessageBox();
    messagePortrait = MessagePortrait();
  }
  void TearDown() override {
    gameData.fontSets.clear();
    graphics.videoWidth = 800;
    storedProjectSettings.Reset();
    messageBoxes[0] = MessageBox();
    messagePortrait = MessagePortrait();
  }
  static MessageBox& Box() { return messageBoxes[0]; }
  static std::vector<std::u16string> Captions() {
    std::vector<std::u16string> captions;
    for (const MessageBoxItem& item : Box().items) captions.push_back(item.caption);
    return captions;
  }
  static std::vector<std::int32_t> Numbers() {
    std::vector<std::int32_t> numbers;
    for (const MessageBoxItem& item : Box().items) numbers.push_back(item.choiceNumber);
    return numbers;
  }
};

TEST_F(MessageTextTest, CodesSplitMessageChoicesAndEntry) {
  struct Case {
    const char16_t* text;
    const char16_t* message;
    std::vector<std::u16string> captions;
    std::vector<std::int32_t> numbers;
    std::int32_t inputMode;
    const char16_t* inputText;
  };
  const Case cases[] = {
      {u"Hello\\QYes\\QNo", u"Hello", {u"Yes", u"No"}, {0, 1}, 0, u""},
      {u"Pick\\QYes\\Q\\QNo", u"Pick", {u"Yes", u"No"}, {0, 2}, 0, u""},
      {u"Pick\\Q\\QNo\\Q", u"Pick", {u"No"}, {1}, 0, u""},
      {u"Name?\\TBob", u"Name?", {}, {}, 1, u"Bob"},
      {u"Name?\\T", u"Name?", {}, {}, 1, u""},
      {u"a\\tb\\qc", u"a\\tb\\qc", {}, {}, 0, u""},
      {u"Q\\TA\\QB", u"Q", {}, {}, 1, u"A\\QB"},
      {u"Ask\\Qx\\Ty\\Qz", u"Ask", {u"x"}, {0}, 1, u"y\\Qz"},
      {u"", u" ", {}, {}, 0, u""},
      {u"\\QOnly", u" ", {u"Only"}, {0}, 0, u""},
  };
  for (const Case& c : cases) {
    Box() = MessageBox();
    ScriptShowMessage(c.text);
    const std::string label = Utf16ToUtf8(c.text);
    EXPECT_EQ(Box().text, c.message) << label;
    EXPECT_EQ(Captions(), c.captions) << label;
    EXPECT_EQ(Numbers(), c.numbers) << label;
    EXPECT_EQ(Box().inputMode, c.inputMode) << label;
    EXPECT_EQ(Box().inputText, c.inputText) << label;
    // Entry lines only for a prompt with text.
    EXPECT_EQ(Box().inputGlyphs.empty(), std::u16string(c.inputText).empty()) << label;
  }
}

TEST_F(MessageTextTest, StandardLookAndFreshSelection) {
  Box().selected = 3;
  Box().cursorRow = 2.5f;
  Box().scroll = 1.0f;
  Box().typeElapsed = 900;
  Box().pageStart = 2;
  Box().linesPerPage = 6;
  Box().requestedWidth = 9;
  messagePortrait = {2, 5, true};
  ScriptShowMessage(u"Hello");
  EXPECT_EQ(Box().backColor, 0x11223344u);
  EXPECT_EQ(Box().frameColor, 0x55667788u);
  EXPECT_EQ(Box().posX, 1.0f);
  EXPECT_EQ(Box().posY, 0.1f);
  EXPECT_EQ(Box().requestedWidth, 0);
  EXPECT_EQ(Box().linesPerPage, -4);
  EXPECT_EQ(Box().width, 22);
  EXPECT_EQ(Box().selection, -1);
  EXPECT_EQ(Box().selected, 0);
  EXPECT_EQ(Box().cursorRow, 0.0f);
  EXPECT_EQ(Box().scroll, 0.0f);
  EXPECT_EQ(Box().typeElapsed, 0);
  EXPECT_EQ(Box().pageStart, 0);
  EXPECT_EQ(messagePortrait.map, -1);
  EXPECT_EQ(messagePortrait.actor, -1);
}

TEST_F(MessageTextTest, WidthAndHeight) {
  struct Case {
    const char* what;
    std::int32_t videoWidth;
    std::int32_t requestedWidth;
    std::int32_t requestedHeight;
    std::vector<std::u16string> choices;
    bool entry;
    std::int32_t width;
    std::int32_t height;
  };
  const std::vector<std::u16string> six{u"a", u"b", u"c", u"d", u"e", u"f"};
  const Case cases[] = {
      {"one line is at least four high", 800, 0, -4, {}, false, 22, 4},
      {"six choices", 800, 0, -4, six, false, 22, 7},
      {"blank choices take no line", 800, 0, -4, {u"a", u"", u"b", u"", u"c", u"d", u"e"}, false, 22, 6},
      {"an entry takes a line", 800, 0, -1, {u"a"}, true, 22, 3},
      {"no minimum", 800, 0, 0, {}, false, 22, 1},
      {"fixed height", 800, 0, 2, six, false, 22, 2},
      {"wider screen", 1024, 0, -4, {}, false, 29, 4},
      {"requested width", 1024, 10, -4, {}, false, 10, 4},
  };
  for (const Case& c : cases) {
    graphics.videoWidth = c.videoWidth;
    Box() = MessageBox();
    Box().requestedWidth = c.requestedWidth;
    Box().linesPerPage = c.requestedHeight;
    MessageBoxSetText(u"Hello", c.choices, c.entry, u"");
    EXPECT_EQ(Box().width, c.width) << c.what;
    EXPECT_EQ(Box().height, c.height) << c.what;
    EXPECT_EQ(Box().lineCount, 1) << c.what;
  }
}

TEST_F(MessageTextTest, SpeakingCharacterNarrowsTheWrap) {
  // The pen moves 2 pixels a glyph (6.4 less the padding on both sides):
  // 320 characters are 640 pixels, inside 704 but not inside 576.
  std::u16string text;
  for (int i = 0; i < 32; ++i) text += u"aaaaaaaaa ";
  text.pop_back();
  struct Case {
    MessagePortrait speaker;
    std::int32_t lines;
  };
  const Case cases[] = {{{-1, -1, false}, 1}, {{0, 3, false}, 2}, {{0, -1, false}, 1}, {{-1, 3, false}, 1}};
  for (const Case& c : cases) {
    messagePortrait = c.speaker;
    MessageBoxSetText(text, {}, false, u"");
    EXPECT_EQ(Box().lineCount, c.lines) << c.speaker.map << " " << c.speaker.actor;
  }
}

TEST_F(MessageTextTest, ItemWidthsRoundEveryGlyphAndTakeNoPadding) {
  // 6.4 pixels a glyph round to 6 at each step: five glyphs are 30 pixels
  // (0 columns), six are 36 (1); a sum rounded once would give 32 and 1.
  struct Case {
    std::vector<std::u16string> choices;
    float columns;
  };
  const Case cases[] = {
      {{u"abcde"}, 0.0f},
      {{u"abcdef"}, 1.0f},
      {{u"ab", u"abcdefghijk", u"abcdef"}, 2.0f},
      {{}, 0.0f},
  };
  for (const Case& c : cases) {
    MessageBoxSetText(u"Hi", c.choices, false, u"");
    EXPECT_EQ(Box().itemWidth, c.columns) << c.choices.size();
  }
  MessageBoxSetText(u"Hi", {u"Az"}, false, u"");
  ASSERT_EQ(Box().items.size(), 1u);
  EXPECT_EQ(Box().items[0].glyphs, (std::vector<std::int16_t>{u'A' - 32, u'z' - 32}));
}

}  // namespace
}  // namespace kiv
