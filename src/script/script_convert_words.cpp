// The text converters: each has a row of words with the numbers they give;
// the decimal text of a number is accepted as well as its word.
#include <initializer_list>
#include <string>

#include "core/error.h"
#include "core/text_encoding.h"
#include "script/script_convert.h"
#include "script/script_text.h"

namespace kiv {

namespace {

struct Word {
  std::u16string_view word;
  std::int32_t value;
};

std::u16string DecimalText(std::int32_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

// The value of the first word, or decimal text of a value, in the row that
// the trimmed, lower-cased text equals; 0 and, with raise, the invalid-word
// error when none does.
std::int32_t ConvertWord(std::u16string_view text, std::initializer_list<Word> row, const char* prefix,
                         bool raise) {
  const std::u16string key = TrimLower(text);
  for (const Word& entry : row) {
    if (key == entry.word || key == DecimalText(entry.value)) return entry.value;
  }
  if (raise) {
    RaiseError(kErrData, std::string(prefix) + "\"" + Utf16ToAnsi(std::u16string(text)) + "\" is invalid.");
  }
  return 0;
}

}  // namespace

std::int32_t ScriptConvertDoorOpenStyle(std::u16string_view text, bool raise) {
  return ConvertWord(text,
                     {{u"none", 0},
                      {u"rotate left", 1},
                      {u"rotate right", 2},
                      {u"rotate left (up only)", 3},
                      {u"rotate left (down only)", 4},
                      {u"rotate right (up only)", 5},
                      {u"rotate right (down only)", 6},
                      {u"squeeze left", 7},
                      {u"squeeze up", 8},
                      {u"squeeze right", 9},
                      {u"squeeze down", 10},
                      {u"hide left", 11},
                      {u"hide up", 12},
                      {u"hide right", 13},
                      {u"hide down", 14},
                      {u"slide left", 15},
                      {u"slide up", 16},
                      {u"slide right", 17},
                      {u"hide split vertical", 18},
                      {u"hide split horizontal", 19},
                      {u"slide split horizontal", 20}},
                     "Door open style ", raise);
}

std::int32_t ScriptConvertTransition(std::u16string_view text, bool raise) {
  return ConvertWord(text, {{u"instant", -3}, {u"normal", -4}}, "Screen transition type ", raise);
}

std::int32_t ScriptConvertAxis(std::u16string_view text, bool raise) {
  return ConvertWord(text, {{u"z", 0}, {u"y", 1}, {u"x", 2}}, "Axis ", raise);
}

std::int32_t ScriptConvertScreenView(std::u16string_view text, bool raise) {
  return ConvertWord(text, {{u"45", 0}, {u"top", 1}, {u"front", 2}, {u"side", 3}, {u"3d", 4}}, "Screen view ",
                     raise);
}

std::int32_t ScriptConvertItemUsage(std::u16string_view text, bool raise) {
  return ConvertWord(text,
                     {{u"continuous", 1},
                      {u"menu", 2},
                      {u"battle", 4},
                      {u"living", 8},
                      {u"dead", 16},
                      {u"party", 32},
                      {u"sellable", 64}},
                     "Item usage ", raise);
}

std::int32_t ScriptConvertDrivingSpec(std::u16string_view text, bool raise) {
  return ConvertWord(text,
                     {{u"land", 1},
                      {u"water", 2},
                      {u"fly", 4},
                      {u"submerge", 8},
                      {u"instant", 16},
                      {u"sustain", 32},
                      {u"auto-climb/strafe", 64}},
                     "Driving mode ", raise);
}

std::int32_t ScriptConvertTileSetLayer(std::u16string_view text, bool raise) {
  return ConvertWord(text, {{u"floor", 0}, {u"lower", 1}, {u"upper", 2}}, "Tile-set layer ", raise);
}

}  // namespace kiv
