#include "commands/message_text.h"

#include <cstdlib>

#include "core/math_util.h"
#include "data/game_data.h"
#include "dialogs/player_settings.h"
#include "media/graphics.h"
#include "media/speech.h"
#include "player/message_boxes.h"
#include "render/text_layout.h"
#include "state/project_settings_block.h"

namespace kiv {

namespace {

constexpr float kStandardPositionX = 1.0f;
constexpr float kStandardPositionY = 0.1f;
constexpr std::int32_t kStandardMinimumLines = -4;
// A speaking character's portrait takes this many pixels of the text's width.
constexpr std::int32_t kPortraitWidth = 128;

MessageBox& ScriptBox() { return messageBoxes[0]; }

bool SpeakerSet() { return messagePortrait.map >= 0 && messagePortrait.actor >= 0; }

// The caption's glyphs of font set 0 and its width in pixels: each glyph's
// width times the texture width, rounded after every addition.
std::int32_t LayOutCaption(const std::u16string& caption, std::vector<std::int16_t>& glyphs) {
  glyphs.clear();
  if (gameData.fontSets.empty()) return 0;
  const FontSet& font = FontSetAt(0);
  std::int32_t width = 0;
  for (const char16_t character : caption) {
    const std::int32_t index = FindFontGlyph(font, character);
    glyphs.push_back(static_cast<std::int16_t>(index));
    if (const FontGlyph* glyph = GlyphForIndex(font, index)) {
      width = RoundToLong(static_cast<double>(glyph->width * static_cast<float>(font.textureWidth)) + width);
    }
  }
  return width;
}

}  // namespace

void ScriptShowMessage(const std::u16string& text) {
  messagePortrait.map = -1;
  messagePortrait.actor = -1;
  MessageBox& box = ScriptBox();
  const auto& defaults = storedProjectSettings.messageBoxDefaults;
  box.backColor = static_cast<std::uint32_t>(defaults[0]);
  box.frameColor = static_cast<std::uint32_t>(defaults[1]);
  box.posX = kStandardPositionX;
  box.posY = kStandardPositionY;
  box.requestedWidth = 0;
  box.linesPerPage = kStandardMinimumLines;
  box.pageStart = 0;

  std::u16string message = text;
  std::u16string entryText;
  bool entry = false;
  if (const std::size_t at = message.find(u"\\T"); at != std::u16string::npos) {
    entryText = message.substr(at + 2);
    message.resize(at);
    entry = true;
  }
  std::vector<std::u16string> choices;
  if (const std::size_t at = message.find(u"\\Q"); at != std::u16string::npos) {
    std::size_t start = at + 2;
    for (std::size_t next; (next = message.find(u"\\Q", start)) != std::u16string::npos; start = next + 2) {
      choices.push_back(message.substr(start, next - start));
    }
    choices.push_back(message.substr(start));
    message.resize(at);
  }
  MessageBoxSetText(message, choices, entry, entryText);
}

void MessageBoxSetText(const std::u16string& text, const std::vector<std::u16string>& choices, bool entry,
                       const std::u16string& entryText) {
  MessageBox& box = ScriptBox();
  box.width = box.requestedWidth != 0 ? box.requestedWidth : graphics.videoWidth / 32 - 3;

  box.typeElapsed = 0;
  box.inputMode = entry ? 1 : 0;
  if (entry) box.inputText = entryText;
  if (!box.inputText.empty()) box.inputGlyphs = WrapText(0, box.inputText, 0, box.inputLines, 1.0f);

  box.selection = -1;
  if (playerSettings.voiceEnabled) SpeechSpeak(text, 3);

  box.text = text.empty() ? std::u16string(u" ") : text;
  const std::int32_t wrapWidth = box.width * 32 - (SpeakerSet() ? kPortraitWidth : 0);
  box.glyphs = WrapText(0, box.text, wrapWidth, box.lineCount, 1.0f);

  box.items.clear();
  std::int32_t widest = 0;
  for (std::size_t i = 0; i < choices.size(); ++i) {
    if (choices[i].empty()) continue;
    MessageBoxItem item;
    item.caption = choices[i];
    item.choiceNumber = static_cast<std::int32_t>(i);
    const std::int32_t width = LayOutCaption(item.caption, item.glyphs);
    if (width > widest) widest = width;
    box.items.push_back(std::move(item));
  }
  box.itemWidth = static_cast<float>(widest / 32);

  // The selection, its cursor and the scroll start again, and so does the typing.
  box.selected = 0;
  box.cursorColumn = 0.0f;
  box.cursorRow = 0.0f;
  box.scroll = 0.0f;
  box.textScroll = 0.0f;
  box.allShown = false;
  box.pageFull = false;
  box.activated = false;
  box.noText = false;

  if (box.linesPerPage > 0) {
    box.height = box.linesPerPage;
  } else {
    box.height = box.lineCount + static_cast<std::int32_t>(box.items.size()) + (box.inputMode == 1 ? 1 : 0);
    if (box.linesPerPage < 0 && box.height < std::abs(box.linesPerPage)) box.height = std::abs(box.linesPerPage);
  }
}

}  // namespace kiv
