#include "script/script_convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>

#include "core/angles.h"
#include "core/error.h"
#include "support/error_message.h"
#include "core/text_encoding.h"

namespace kiv {
namespace {

using test::MessageOf;

std::uint32_t Bits(float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

TEST(AngleToQuarterDirection, ClosedQuartersTestedInOrder) {
  struct Case {
    float angle;
    std::int32_t direction;
  };
  const Case cases[] = {
      {0.0f, 4},
      {kPiOver2, 6},
      {-kPiOver2, 2},
      {kPi, 0},
      {-kPi, 0},
      {-(kPi - kPiOver4), 0},  // -3pi/4 lies in the first range tested
      {-kPiOver4, 2},          // -pi/4 ends the range of Up
      {kPiOver4, 4},
      {kPi - kPiOver4, 0},  // 3pi/4: the range around pi is tested before the one of Down
      {std::nextafter(kPi - kPiOver4, 0.0f), 6},
      {kPi + kPiOver4, 0},
      {-(kPi + kPiOver4), 0},
      {4.0f, 0},  // beyond every range
      {-4.0f, 0},
      {0.5f, 4},
      {1.5f, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.angle);
    EXPECT_EQ(AngleToQuarterDirection(c.angle), c.direction);
  }
}

TEST(ScriptConvertDirection, WordsAndAngles) {
  struct Case {
    Variant value;
    bool allowEmpty;
    std::int32_t direction;
  };
  const Case cases[] = {
      {Variant::Text(u" north "), false, 2},
      {Variant::Text(u"NORTHWEST"), false, 1},
      {Variant::Text(u"LeftDown"), false, 7},
      {Variant::Text(u"east"), false, 4},
      {Variant::Double(0.5), false, 4},
      {Variant::Double(2.0), false, 6},
      {Variant::Double(-3.0), false, 0},
      {Variant::Double(10.0), false, 0},  // wrapped to about -2.566 first
      {Variant::Text(u"1.5"), false, 6},  // numeric text is an angle, not direction 1
      {Variant::Text(u"1"), false, 6},
      {Variant::Text(u"-1.2"), false, 2},
      {Variant::Text(u""), true, 8},
      {Variant::Long(3), false, 0},
      {Variant::Integer(-1), false, 2},
      {Variant::Single(kPiOver4 + 0.1f), false, 6},
      {Variant::Boolean(true), false, 2},  // true is -1 radians
      {Variant::Byte(1), false, 6},
      {Variant::CurrencyScaled(5000), false, 4},  // 0.5
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.value.IsText() ? c.value.AsText() : u"(number)"));
    EXPECT_EQ(ScriptConvertDirection(c.value, c.allowEmpty, true), c.direction);
  }
}

TEST(ScriptConvertDirection, EveryWordGivesItsDirectionAndAngle) {
  // Clockwise from west, a compass word and a screen word each, with the angle in radians.
  struct Row {
    const char16_t* compass;
    const char16_t* screen;
    float angle;
  };
  const Row rows[] = {
      {u"west", u"left", 3.1415927f},  {u"northwest", u"leftup", -2.3561945f},
      {u"north", u"up", -1.5707964f},  {u"northeast", u"rightup", -0.7853982f},
      {u"east", u"right", 0.0f},       {u"southeast", u"rightdown", 0.7853982f},
      {u"south", u"down", 1.5707964f}, {u"southwest", u"leftdown", 2.3561945f},
  };
  for (std::int32_t d = 0; d < 8; ++d) {
    for (const char16_t* word : {rows[d].compass, rows[d].screen}) {
      SCOPED_TRACE(Utf16ToUtf8(word));
      EXPECT_EQ(ScriptConvertDirection(Variant::Text(word), false, true), d);
      EXPECT_EQ(Bits(ScriptConvertRotation(Variant::Text(word), true)), Bits(rows[d].angle));
    }
  }
}

TEST(ScriptConvertRotation, WordsAndUnwrappedNumbers) {
  struct Case {
    Variant value;
    float angle;
  };
  const Case cases[] = {
      {Variant::Text(u" north "), -1.5707964f},
      {Variant::Text(u"DOWN"), 1.5707964f},
      {Variant::Double(7.0), 7.0f},  // no wrapping
      {Variant::Text(u"7.0"), 7.0f},
      {Variant::Text(u"-10"), -10.0f},
      {Variant::Long(2), 2.0f},
      {Variant::Double(0.1), 0.1f},  // taken to single precision
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.angle);
    EXPECT_EQ(Bits(ScriptConvertRotation(c.value, true)), Bits(c.angle));
  }
}

TEST(ScriptConvertDirection, InvalidWordsAndTypes) {
  struct Case {
    std::function<void(bool raise)> convert;
    std::string message;
    bool raisedWithRaiseOff;
  };
  const Case cases[] = {
      {[](bool raise) { ScriptConvertDirection(Variant::Text(u""), false, raise); },
       "-1 Direction \"\" is invalid.", false},
      {[](bool raise) { ScriptConvertDirection(Variant::Text(u" "), true, raise); },  // empty only untrimmed
       "-1 Direction \" \" is invalid.", false},
      {[](bool raise) { ScriptConvertDirection(Variant::Text(u" Up Left "), false, raise); },
       "-1 Direction \" Up Left \" is invalid.", false},
      {[](bool raise) { ScriptConvertRotation(Variant::Text(u" Sideways"), raise); },
       "-1 Rotation/angle/direction \" Sideways\" is invalid.", false},
      {[](bool raise) { ScriptConvertRotation(Variant::Text(u""), raise); },
       "-1 Rotation/angle/direction \"\" is invalid.", false},
      {[](bool raise) { ScriptConvertBoolean(Variant::Text(u"none"), raise); },
       "-1 Boolean \"none\" is invalid.", false},
      {[](bool raise) { ScriptConvertDirection(Variant(), true, raise); },
       "-1 Unsupported data-type to convert direction.", true},
      {[](bool raise) { ScriptConvertDirection(Variant::Array(kVarLong, {Variant::Long(1)}), false, raise); },
       "-1 Unsupported data-type to convert direction.", true},
      {[](bool raise) { ScriptConvertRotation(Variant::FromRaw(kVarNull, 0, 0.0), raise); },
       "-1 Unsupported data-type to convert rotation/angle/direction.", true},
      {[](bool raise) { ScriptConvertBoolean(Variant(), raise); },
       "-1 Unsupported data-type to convert boolean.", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(MessageOf([&] { c.convert(true); }), c.message);
    EXPECT_EQ(MessageOf([&] { c.convert(false); }), c.raisedWithRaiseOff ? c.message : "no error");
  }
  // The fallbacks with raise off.
  EXPECT_EQ(ScriptConvertDirection(Variant::Text(u"nowhere"), true, false), 0);
  EXPECT_EQ(ScriptConvertRotation(Variant::Text(u"nowhere"), false), 0.0f);
  EXPECT_EQ(ScriptConvertBoolean(Variant::Text(u"none"), false), 0);
}

TEST(ScriptConvertBoolean, WordsAndNumbers) {
  const std::pair<Variant, std::uint8_t> cases[] = {
      {Variant::Text(u"0.0"), 1}, {Variant::Text(u" TRUE "), 1}, {Variant::Text(u"off"), 0},
      {Variant::Text(u""), 0},    {Variant::Text(u"2"), 1},      {Variant::Single(0.0f), 0},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(ScriptConvertBoolean(value, true), expected);
}

using TextConverter = std::int32_t (*)(std::u16string_view, bool);

TEST(ScriptConvertWords, WordsAndTheirNumbers) {
  struct Case {
    TextConverter convert;
    const char16_t* text;
    std::int32_t result;
  };
  const Case cases[] = {
      {ScriptConvertDoorOpenStyle, u"1", 1},
      {ScriptConvertDoorOpenStyle, u" Rotate Left (Up Only) ", 3},
      {ScriptConvertDoorOpenStyle, u"20", 20},
      {ScriptConvertTransition, u"INSTANT", -3},
      {ScriptConvertTransition, u"-4", -4},
      {ScriptConvertAxis, u" X ", 2},
      {ScriptConvertAxis, u"1", 1},
      {ScriptConvertScreenView, u"0", 0},
      {ScriptConvertScreenView, u"45", 0},
      {ScriptConvertScreenView, u"3D", 4},
      {ScriptConvertScreenView, u"4", 4},
      {ScriptConvertItemUsage, u"Sellable", 64},
      {ScriptConvertItemUsage, u"8", 8},
      {ScriptConvertDrivingSpec, u"auto-climb/strafe", 64},
      {ScriptConvertDrivingSpec, u"instant", 16},
      {ScriptConvertDrivingSpec, u"32", 32},
      {ScriptConvertTileSetLayer, u"Upper", 2},
      {ScriptConvertTileSetLayer, u"0", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.text));
    EXPECT_EQ(c.convert(c.text, true), c.result);
  }
}

TEST(ScriptConvertWords, EveryDoorOpenStyle) {
  const char16_t* const styles[] = {
      u"none",
      u"rotate left",
      u"rotate right",
      u"rotate left (up only)",
      u"rotate left (down only)",
      u"rotate right (up only)",
      u"rotate right (down only)",
      u"squeeze left",
      u"squeeze up",
      u"squeeze right",
      u"squeeze down",
      u"hide left",
      u"hide up",
      u"hide right",
      u"hide down",
      u"slide left",
      u"slide up",
      u"slide right",
      u"hide split vertical",
      u"hide split horizontal",
      u"slide split horizontal",
  };
  for (std::int32_t style = 0; style <= 20; ++style) {
    EXPECT_EQ(ScriptConvertDoorOpenStyle(styles[style], true), style) << Utf16ToUtf8(styles[style]);
  }
}

TEST(ScriptConvertWords, InvalidWordsQuoteTheArgumentAsGiven) {
  struct Case {
    TextConverter convert;
    const char16_t* text;
    const char* message;
  };
  const Case cases[] = {
      {ScriptConvertDoorOpenStyle, u"21", "Door open style \"21\" is invalid."},
      {ScriptConvertDoorOpenStyle, u" Slide Down ", "Door open style \" Slide Down \" is invalid."},
      {ScriptConvertTransition, u"3", "Screen transition type \"3\" is invalid."},
      {ScriptConvertAxis, u"w", "Axis \"w\" is invalid."},
      {ScriptConvertScreenView, u"5", "Screen view \"5\" is invalid."},
      {ScriptConvertItemUsage, u"3", "Item usage \"3\" is invalid."},
      {ScriptConvertDrivingSpec, u"swim", "Driving mode \"swim\" is invalid."},
      {ScriptConvertTileSetLayer, u"", "Tile-set layer \"\" is invalid."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MessageOf([&] { c.convert(c.text, true); }), std::string("-1 ") + c.message);
    EXPECT_EQ(c.convert(c.text, false), 0) << c.message;
  }
}

}  // namespace
}  // namespace kiv
