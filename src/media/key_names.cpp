#include "media/key_names.h"

#include <array>
#include <string>
#include <string_view>

namespace kiv {
namespace {

struct KeyNameRow {
  std::uint8_t code;
  std::u16string_view name;
};

constexpr KeyNameRow kKeyNames[] = {
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

constexpr std::array<std::u16string_view, 256> BuildKeyNameTable() {
  std::array<std::u16string_view, 256> table{};
  for (const KeyNameRow& row : kKeyNames) table[row.code] = row.name;
  return table;
}

constexpr std::array<std::u16string_view, 256> kKeyNameTable = BuildKeyNameTable();

std::u16string Numbered(std::u16string_view prefix, std::int32_t code) {
  std::u16string text(prefix);
  for (char c : std::to_string(static_cast<std::int64_t>(code) + 1)) text.push_back(static_cast<char16_t>(c));
  return text;
}

}  // namespace

std::u16string KeyName(std::int32_t code) {
  if (code < 0 || code > 255) return {};
  return std::u16string(kKeyNameTable[static_cast<std::size_t>(code)]);
}

std::u16string InputControlName(std::int32_t code, std::int32_t deviceKind) {
  switch (deviceKind) {
    case kBindKeyboard:
      return KeyName(code);
    case kBindMouse:
      switch (code) {
        case 0:
          return u"Left Click";
        case 1:
          return u"Right Click";
        case 2:
          return u"Middle Click";
        case kMouseHorizontal:
          return u"Horizontal Cursor";
        case kMouseVertical:
          return u"Vertical Cursor";
        case kMouseWheel:
          return u"Mouse Wheel";
        default:
          return Numbered(u"Click ", code);
      }
    case kBindJoystick:
      return Numbered(u"Button ", code);
    default:
      return u"None";
  }
}

}  // namespace kiv
