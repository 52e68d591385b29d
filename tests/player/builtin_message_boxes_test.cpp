// The set-up of the message-box table: the look of the built-in boxes, the
// system menu, the slot menus with the names of "SETTINGS.INI", the prompts;
// a later call restores the look and leaves texts, items and shown states.
#include "player/builtin_message_boxes.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/ini.h"
#include "player/boxes_fixture.h"

namespace kiv::test {
namespace {

constexpr std::uint32_t kBack = 0x80102030, kFrame = 0xFFA0B0C0;

struct Look {
  std::int32_t box;
  std::int32_t width, height;  // cells; the box is (n + 1) x 32 pixels
  float posX, posY;
  float itemWidth;
  std::int32_t lastItem;
  const char16_t* message;  // laid out; nullptr: none set
};

const Look kLooks[] = {
    {8, 5, 8, 2, 0, 3, 7, nullptr},
    {19, 6, 5, 1, 1, 4, 3, u"Save Game"},
    {20, 6, 2, 1, 1, 0, -1, nullptr},
    {21, 7, 1, 1, 1, 0, -1, u"Game saved successfully."},
    {23, 6, 5, 1, 1, 4, 3, u"Load Game"},
    {24, 7, 1, 1, 1, 0, -1, u"Game loaded successfully."},
    {25, 14, 1, 1, 1, 0, -1, u"Game file does not exist or couldn't be read properly."},
    // Only the common look: no size of their own (-1).
    {9, -1, -1, 1, 1, 0, -1, nullptr},
    {43, -1, -1, 1, 1, 0, -1, nullptr},
};

class BuiltinBoxesTest : public BoxesTest {
 protected:
  void SetUp() override {
    BoxesTest::SetUp();
    storedProjectSettings.messageBoxDefaults[0] = static_cast<std::int32_t>(kBack);
    storedProjectSettings.messageBoxDefaults[1] = static_cast<std::int32_t>(kFrame);
  }
  static std::vector<std::int16_t> ItemGlyphs(std::int32_t box, std::size_t item) {
    return messageBoxes[static_cast<std::size_t>(box)].items.at(item).glyphs;
  }
  void CheckLooks() {
    for (const Look& look : kLooks) {
      SCOPED_TRACE(look.box);
      const MessageBox& box = messageBoxes[static_cast<std::size_t>(look.box)];
      if (look.width >= 0) {
        EXPECT_EQ(box.width, look.width);
        EXPECT_EQ(box.height, look.height);
      }
      EXPECT_EQ(box.posX, look.posX);
      EXPECT_EQ(box.posY, look.posY);
      EXPECT_EQ(box.itemWidth, look.itemWidth);
      EXPECT_EQ(box.LastItem(), look.lastItem);
      EXPECT_EQ(box.backColor, kBack);
      EXPECT_EQ(box.frameColor, kFrame);
      EXPECT_EQ(box.typeFactor, 1.0f);
    }
  }
};

TEST_F(BuiltinBoxesTest, TheFirstSetUpGivesEveryBuiltInBoxItsLookTextsAndItemsAndLogs) {
  messageBoxes[0].visible = true;
  messageBoxes[19].visible = true;
  InitMessageBoxes(true);
  CheckLooks();
  for (const Look& look : kLooks) {
    SCOPED_TRACE(look.box);
    const MessageBox& box = messageBoxes[static_cast<std::size_t>(look.box)];
    EXPECT_FALSE(box.visible);
    EXPECT_TRUE(box.text.empty());  // kept laid out only
    if (look.message != nullptr) {
      EXPECT_EQ(box.glyphs, Glyphs(std::u16string(look.message)));
    }
  }
  const MessageBox& script = messageBoxes[0];
  EXPECT_FALSE(script.visible);
  EXPECT_EQ(script.typeFactor, 1.0f);
  EXPECT_EQ(script.inputLimit, 2147483135);

  const MessageBox& menu = messageBoxes[8];
  EXPECT_TRUE(menu.noText);
  const std::vector<std::u16string> menuItems = {u"Items",   u"Magic",     u"Equipment", u"Status",
                                                 u"Restart", u"Save Game", u"Load Game", u"Quit Game"};
  for (std::size_t i = 0; i < menuItems.size(); ++i) {
    EXPECT_EQ(ItemGlyphs(8, i), Glyphs(menuItems[i])) << i;
    EXPECT_TRUE(menu.items[i].caption.empty());
  }
  for (const std::int32_t slots : {19, 23}) {
    for (std::size_t i = 0; i < 4; ++i) {
      EXPECT_EQ(ItemGlyphs(slots, i), Glyphs(u"Slot " + std::u16string(1, static_cast<char16_t>(u'1' + i))));
    }
  }
  const MessageBox& rename = messageBoxes[20];
  EXPECT_EQ(rename.inputLimit, 10);
  EXPECT_EQ(rename.inputMode, 1);
  // Everything is laid out with font set 0 and no wrapping.
  for (const LayoutCall& call : layouts) {
    EXPECT_EQ(call.fontSet, 0);
    EXPECT_EQ(call.width, 0);
    EXPECT_EQ(call.scale, 1.0f);
  }
  EXPECT_EQ(LogLines(), (std::vector<std::string>{"Initializing message boxes for first time.",
                                                  "Finished initializing message boxes."}));
}

TEST_F(BuiltinBoxesTest, SlotNamesComeFromTheSaveSectionAndAnEmptyNameStaysEmpty) {
  const std::string settings = JoinPath(GetUserGameFolder(), "SETTINGS.INI");
  IniWriteString(settings, "Save", "Slot0", "Castle");
  IniWriteString(settings, "Save", "Slot2", "");
  InitMessageBoxes(true);
  for (const std::int32_t slots : {19, 23}) {
    EXPECT_EQ(ItemGlyphs(slots, 0), Glyphs(std::u16string(u"Castle")));
    EXPECT_EQ(ItemGlyphs(slots, 1), Glyphs(std::u16string(u"Slot 2")));
    EXPECT_EQ(ItemGlyphs(slots, 2), Glyphs(std::u16string(u"")));
    EXPECT_EQ(ItemGlyphs(slots, 3), Glyphs(std::u16string(u"Slot 4")));
  }
}

TEST_F(BuiltinBoxesTest, ALaterCallRestoresTheLookAndLeavesTextsItemsAndShownStates) {
  InitMessageBoxes(true);
  layouts.clear();
  const std::vector<std::string> logged = LogLines();
  for (MessageBox& box : messageBoxes) {
    box.width = 99, box.height = 99, box.posX = 0.5f, box.posY = 0.5f, box.typeFactor = 3;
    box.backColor = 1, box.frameColor = 2;
    box.visible = true;
  }
  messageBoxes[19].items[1].glyphs = {7, 7};
  messageBoxes[21].glyphs = {5};
  messageBoxes[0].inputLimit = 4;
  InitMessageBoxes(false);
  CheckLooks();
  EXPECT_TRUE(layouts.empty());
  for (std::size_t b = 8; b <= 43; ++b) EXPECT_TRUE(messageBoxes[b].visible) << b;
  EXPECT_EQ(messageBoxes[19].items[1].glyphs, (std::vector<std::int16_t>{7, 7}));
  EXPECT_EQ(messageBoxes[21].glyphs, std::vector<std::int16_t>{5});
  EXPECT_EQ(ItemGlyphs(8, 7), Glyphs(std::u16string(u"Quit Game")));
  EXPECT_EQ(messageBoxes[0].inputLimit, 4);  // box 0 is set only the first time
  EXPECT_EQ(messageBoxes[0].width, 99);
  EXPECT_EQ(LogLines(), logged);
}

TEST_F(BuiltinBoxesTest, TheSystemMenuStandsAtTheTopRightForAnyScreenAndTheConfirmationsAreCentred) {
  InitMessageBoxes(true);
  for (const std::int32_t screenWidth : {640, 800, 1024, 1366}) {
    SCOPED_TRACE(screenWidth);
    const std::int32_t screenHeight = screenWidth * 3 / 4;
    // The drawing places a box at (screen / 2 - box / 2) x its position factor.
    const auto place = [](std::int32_t screen, std::int32_t cells, float factor) {
      return std::nearbyint((screen / 2.0 - (cells * 32.0 + 32) / 2.0) * factor);
    };
    const MessageBox& menu = messageBoxes[8];
    EXPECT_EQ(place(screenWidth, menu.width, menu.posX) + 192, screenWidth);
    EXPECT_EQ(place(screenHeight, menu.height, menu.posY), 0);
    const MessageBox& saved = messageBoxes[21];
    EXPECT_EQ(place(screenWidth, saved.width, saved.posX) * 2 + 256, screenWidth);
  }
}

}  // namespace
}  // namespace kiv::test
