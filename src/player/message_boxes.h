#pragma once
// The message boxes (50): the script boxes, the system menu, the save and
// load slot menus and their prompts; the one in charge of the player's input.
// Their set-up is builtin_message_boxes.h, their per-tick update
// message_box_update.h, their drawing render/message_box_drawing.h.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kiv {

// A menu entry of a message box: its caption and the caption laid out.
struct MessageBoxItem {
  std::u16string caption;
  std::vector<std::int16_t> glyphs;
  // The item's place in the list of choices a script gave, blank choices
  // counted: skipping a blank choice keeps the numbers of those after it.
  std::int32_t choiceNumber = 0;
};

struct MessageBox {
  // Window: a 9-slice skin of (width + 1) x (height + 1) cells of 32 pixels.
  // A script hides the background or the frame by setting its tint to 0.
  std::uint32_t backColor = 0xFFFFFFFF;   // tint of the background layer
  std::uint32_t frameColor = 0xFFFFFFFF;  // tint of the frame layer
  float posX = 1.0f;  // 1 centres the window on the screen, 0 puts it at the left
  float posY = 1.0f;  // and top edge
  // Width in columns a script asks for; 0 lays the box out as wide as the screen allows.
  std::int32_t requestedWidth = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool visible = false;

  // Typed text.
  // Also the height a script asks for: above 0 the box is that many lines
  // high and pages its text; 0 or less the box grows with its text, to at
  // least the absolute value.
  std::int32_t linesPerPage = 0;  // 0 or less: no paging
  float typeFactor = 1.0f;        // multiplier on the text interval
  std::int32_t typeElapsed = 0;   // ms of typing accumulated; 0 when the text begins to appear
  bool noText = false;            // no typed text: the items show at once
  bool allShown = false;
  bool pageFull = false;  // typing stopped at the end of a page
  bool activated = false;  // the box has taken input once
  std::u16string text;     // the built-in boxes keep only the laid-out form
  std::vector<std::int16_t> glyphs;  // the wrapped text, with line marks
  std::int32_t lineCount = 0;        // lines of glyphs
  std::int32_t pageStart = 0;        // lines already paged past
  float textScroll = 0.0f;           // pixels by which the text is moved up; follows pageStart x 32

  // Items.
  bool plainList = false;  // items without frames and cursor
  std::vector<MessageBoxItem> items;
  std::int32_t visibleRows = 0;  // 0: all
  std::int32_t itemColumns = 0;  // 0: one column; drawing stores 1 back into a 0
  float itemSpare = 0.0f;        // kept in the record; the built-in set-up clears it
  std::int32_t selected = 0;
  std::int16_t selection = 0;  // a script message sets it to -1 when it is laid out
  std::int32_t startItem = 0;    // the item selected when a script opens the box
  float cursorColumn = 0.0f;  // the moving selection cursor, in columns and rows
  float cursorRow = 0.0f;
  float scroll = 0.0f;  // first item row shown; fractions scroll smoothly
  float itemWidth = 0.0f;   // a column is (itemWidth + 2) x 32 pixels wide
  float itemHeight = 0.0f;  // a row (itemHeight + 1) x 32 pixels high

  std::int32_t inputMode = 0;          // 0 none; 1: the box takes typed text as wide as the box; others a short line
  std::u16string inputText;
  std::vector<std::int16_t> inputGlyphs;  // inputText laid out with font set 0
  std::int32_t inputLines = 0;
  std::int32_t inputLimit = 0;         // characters; 0x7FFFFDFF: no practical limit
  std::int32_t inputMin = 0;           // bounds of a number input (inputMode 2)
  std::int32_t inputMax = 0;

  std::int32_t LastItem() const { return static_cast<std::int32_t>(items.size()) - 1; }
};

inline constexpr int kMessageBoxCount = 50;
extern std::array<MessageBox, kMessageBoxCount> messageBoxes;

// The speaking character whose portrait box 0 shows.
struct MessagePortrait {
  std::int32_t map = -1;
  std::int32_t actor = -1;  // -1: none
  bool onRight = false;
};
extern MessagePortrait messagePortrait;
// The box in charge; 0 when no system box is.
extern std::int32_t messageBoxState;
// -1 when a script opened the slot menu in charge (it waits for the menu to close).
extern std::int16_t messageBoxOpenedByScript;

// A key typed while the game window has the focus: Backspace (8) removes the
// last character, other codes below 32 are ignored, the rest (Windows-1252)
// are appended while the text is no longer than the limit; the text is then
// laid out again.
void MessageBoxTypeKey(std::int32_t keyAscii);

}  // namespace kiv
