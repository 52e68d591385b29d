#include "media/key_names.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace kiv {
namespace {

// The whole key-name table: code and name of every named key.
const std::map<int, std::u16string> kExpectedNames = {
    {1, u"Esc"},
    {2, u"1"},
    {3, u"2"},
    {4, u"3"},
    {5, u"4"},
    {6, u"5"},
    {7, u"6"},
    {8, u"7"},
    {9, u"8"},
    {10, u"9"},
    {11, u"0"},
    {12, u"-"},
    {13, u"="},
    {14, u"Back"},
    {15, u"Tab"},
    {16, u"Q"},
    {17, u"W"},
    {18, u"E"},
    {19, u"R"},
    {20, u"T"},
    {21, u"Y"},
    {22, u"U"},
    {23, u"I"},
    {24, u"O"},
    {25, u"P"},
    {26, u"("},
    {27, u")"},
    {28, u"Enter"},
    {29, u"LCtrl"},
    {30, u"A"},
    {31, u"S"},
    {32, u"D"},
    {33, u"F"},
    {34, u"G"},
    {35, u"H"},
    {36, u"J"},
    {37, u"K"},
    {38, u"L"},
    {39, u";"},
    {40, u"'"},
    {41, u"`"},
    {42, u"LShift"},
    {43, u"\\"},
    {44, u"Z"},
    {45, u"X"},
    {46, u"C"},
    {47, u"V"},
    {48, u"B"},
    {49, u"N"},
    {50, u"M"},
    {51, u","},
    {52, u"."},
    {53, u"/"},
    {54, u"RShift"},
    {55, u"#*"},
    {56, u"LAlt"},
    {57, u"Space"},
    {58, u"Caps Lock"},
    {59, u"F1"},
    {60, u"F2"},
    {61, u"F3"},
    {62, u"F4"},
    {63, u"F5"},
    {64, u"F6"},
    {65, u"F7"},
    {66, u"F8"},
    {67, u"F9"},
    {68, u"F10"},
    {69, u"Num Lock"},
    {70, u"Scroll Lock"},
    {71, u"#7"},
    {72, u"#8"},
    {73, u"#9"},
    {74, u"#-"},
    {75, u"#4"},
    {76, u"#5"},
    {77, u"#6"},
    {78, u"#+"},
    {79, u"#1"},
    {80, u"#2"},
    {81, u"#3"},
    {82, u"#0"},
    {83, u"#."},
    {86, u"|"},
    {87, u"F11"},
    {88, u"F12"},
    {100, u"F13"},
    {101, u"F14"},
    {102, u"F15"},
    {112, u"Kana"},
    {115, u"?"},
    {121, u"Convert"},
    {123, u"No Convert"},
    {125, u"\u00A5"},
    {126, u"#?"},
    {141, u"#="},
    {144, u"Prev Track"},
    {145, u"@"},
    {146, u":"},
    {147, u"_"},
    {148, u"Kanji"},
    {149, u"Stop"},
    {150, u"Ax"},
    {151, u"Unlabeled"},
    {153, u"Next Track"},
    {156, u"#Enter"},
    {157, u"RCtrl"},
    {160, u"Mute"},
    {161, u"Calculator"},
    {162, u"Play/Pause"},
    {164, u"Stop"},
    {174, u"Volume -"},
    {176, u"Volume +"},
    {178, u"Web Home"},
    {179, u"#,"},
    {181, u"#/"},
    {183, u"Sys Req"},
    {184, u"RAlt"},
    {197, u"Pause"},
    {199, u"Home"},
    {200, u"Up"},
    {201, u"PgUp"},
    {203, u"Left"},
    {205, u"Right"},
    {207, u"End"},
    {208, u"Down"},
    {209, u"PgDn"},
    {210, u"Ins"},
    {211, u"Del"},
    {219, u"LWin"},
    {220, u"RWin"},
    {221, u"App"},
    {222, u"Power"},
    {223, u"Sleep"},
    {227, u"Wake"},
    {229, u"Web Search"},
    {230, u"Web Favorites"},
    {231, u"Web Refresh"},
    {232, u"Web Stop"},
    {233, u"Web Forward"},
    {234, u"Web Back"},
    {235, u"My Computer"},
    {236, u"Mail"},
    {237, u"Media"},
};

TEST(KeyName, EveryCodeHasItsNameAndNoOther) {
  ASSERT_EQ(kExpectedNames.size(), 144u);
  for (int code = -1; code <= 256; ++code) {
    const auto expected = kExpectedNames.find(code);
    EXPECT_EQ(KeyName(code), expected == kExpectedNames.end() ? u"" : expected->second) << "code " << code;
  }
  EXPECT_EQ(KeyName(0x7FFFFFFF), u"");
  EXPECT_EQ(KeyName(-0x7FFFFFFF - 1), u"");
}

TEST(InputControlName, NamesByDeviceKind) {
  struct Case {
    int code;
    int kind;
    std::u16string name;
  };
  const Case cases[] = {
      {30, kBindKeyboard, u"A"},
      {84, kBindKeyboard, u""},  // a key without a name stays empty, not "None"
      {156, kBindKeyboard, u"#Enter"},
      {0, kBindMouse, u"Left Click"},
      {1, kBindMouse, u"Right Click"},
      {2, kBindMouse, u"Middle Click"},
      {3, kBindMouse, u"Click 4"},
      {5, kBindMouse, u"Click 6"},
      {7, kBindMouse, u"Click 8"},
      {8, kBindMouse, u"Horizontal Cursor"},
      {9, kBindMouse, u"Vertical Cursor"},
      {10, kBindMouse, u"Mouse Wheel"},
      {11, kBindMouse, u"Click 12"},
      {0, kBindJoystick, u"Button 1"},
      {31, kBindJoystick, u"Button 32"},
      {2147483647, kBindJoystick, u"Button 2147483648"},
      {30, kBindNone, u"None"},
      {30, kBindControl, u"None"},
      {30, 6, u"None"},
      {30, 16, u"None"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InputControlName(c.code, c.kind), c.name) << "code " << c.code << " kind " << c.kind;
  }
}

}  // namespace
}  // namespace kiv
