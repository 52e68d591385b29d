#include "render/message_box_drawing.h"

#include <algorithm>
#include <cmath>

#include "core/geometry.h"
#include "core/math_util.h"
#include "data/game_data.h"
#include "dialogs/player_settings.h"
#include "mathkiv/colors.h"
#include "media/draw_device.h"
#include "media/graphics.h"
#include "media/quad_batcher.h"
#include "render/render_hooks.h"
#include "render/text_drawing.h"
#include "state/project_settings_block.h"

namespace kiv {

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr float kCell = 0.125f;
constexpr float kFrameU = 0.375f;
constexpr std::int32_t kPortraitSize = 96;

void BindSkin() { CurrentDrawDevice().SetTexture(0, renderHooks.SystemTexture(0)); }

// The glyph shown last and whether typing stopped there; advances the typing clock.
std::int32_t TypeText(MessageBox& box) {
  const std::int32_t last = static_cast<std::int32_t>(box.glyphs.size()) - 1;
  const double interval = static_cast<double>(box.typeFactor) * playerSettings.textInterval;
  box.pageFull = false;
  std::int32_t shown = last;
  if (interval > 0) {
    box.typeElapsed += renderHooks.TickMilliseconds();
    shown = std::min(RoundToLong(box.typeElapsed / interval), last);
  }
  if (box.linesPerPage > 0) {
    std::int32_t linesBefore = 0;
    for (std::int32_t i = 0; i <= shown; ++i) {
      if (box.glyphs[static_cast<std::size_t>(i)] != kGlyphLineMark) continue;
      if (linesBefore - box.pageStart + 1 >= box.linesPerPage) {
        shown = i;
        box.pageFull = true;
        break;
      }
      ++linesBefore;
    }
  }
  // Time beyond the shown characters is dropped where typing stops, so a
  // stopped page banks nothing; while it runs the remainder is kept, or ticks
  // shorter than half a character's time would never show one.
  if (interval > 0 && (box.pageFull || shown >= last)) box.typeElapsed = RoundToLong(interval * std::max(shown, 0));
  return shown;
}

// The input bar goes down first: the typed text lies on it.
void DrawInputLine(std::int32_t index, MessageBox& box, const MessageColours& colours, std::int32_t textX,
                   double itemY, std::int32_t f, bool fonts) {
  if (!box.plainList) {
    const std::int32_t n = box.inputMode == 1 ? box.width - 2 : (index == 3 ? 4 : 2);
    BindSkin();
    const auto y = static_cast<float>(itemY);
    QuadAddScreen(static_cast<float>(textX), y, 32, 32, kFrameU, kFrameU, kFrameU + kCell, kFrameU + kCell,
                  kWhite, 0);
    for (std::int32_t k = 1; k <= n; ++k) {
      QuadAddScreen(static_cast<float>(textX + 32 * k), y, 32, 32, 0.5f, kFrameU, 0.5f + kCell, kFrameU + kCell,
                    kWhite, 0);
    }
    QuadAddScreen(static_cast<float>(textX + 32 * (n + 1)), y, 32, 32, 0.625f, kFrameU, 0.625f + kCell,
                  kFrameU + kCell, kWhite, 0);
    QuadBatchFlushScreen();
  }
  if (fonts && !box.inputText.empty()) {
    DrawTextTail(0, box.inputGlyphs, textX + 8, RoundToLong(itemY) + f, colours.input, colours.input,
                 colours.textShadow, box.width * 32 - 16);
  }
}

void DrawItems(MessageBox& box, const MessageColours& colours, std::int32_t textX, double itemY, std::int32_t f,
               bool fonts) {
  if (box.itemColumns <= 0) box.itemColumns = 1;
  const std::int32_t columns = box.itemColumns;
  const std::int32_t last = static_cast<std::int32_t>(box.items.size()) - 1;
  const double rowHeight = (static_cast<double>(box.itemHeight) + 1) * 32;
  const double firstRow = std::floor(box.scroll);
  const double frameColumns = static_cast<double>(box.itemWidth) * 2 + 3;
  const double frameRows = static_cast<double>(box.itemHeight) * 2 + 1;
  double rowY = RoundToLong((firstRow - box.scroll - 1) * rowHeight + itemY);
  const std::int64_t start = static_cast<std::int64_t>(columns) * static_cast<std::int64_t>(firstRow);
  for (std::int64_t i = std::max<std::int64_t>(start, 0); i <= last; ++i) {
    const std::int64_t row = i / columns, column = i % columns;
    const std::int32_t columnOffset =
        RoundToLong((static_cast<double>(box.itemWidth) + 2) * static_cast<double>(column) * 32);
    if (columnOffset == 0) rowY += rowHeight;
    if (box.visibleRows != 0 && box.visibleRows < row - static_cast<std::int64_t>(std::ceil(box.scroll))) continue;
    std::uint32_t top = colours.itemTop, bottom = colours.itemBottom;
    if (box.plainList) {
      top = colours.textTop, bottom = colours.textBottom;
    } else if (i == box.selected && box.cursorColumn == static_cast<float>(column) &&
               box.cursorRow == static_cast<float>(row)) {
      top = colours.selectedTop, bottom = colours.selectedBottom;
    }
    const MessageBoxItem& item = box.items[static_cast<std::size_t>(i)];
    if (fonts) {
      Rect extent;
      const std::int32_t x = box.plainList ? textX : textX + columnOffset + 8;
      DrawGlyphBlock(extent, 0, item.glyphs, 0, static_cast<std::int32_t>(item.glyphs.size()) - 1, x,
                     RoundToLong(rowY) + f, top, bottom, colours.textShadow, 32, 0, 0, kAlignLeft, 1.0f);
    }
    if (!box.plainList) {
      BindSkin();
      DrawWindowSkin(static_cast<float>(textX + columnOffset), static_cast<float>(rowY),
                     static_cast<float>(frameColumns), static_cast<float>(frameRows), 16, kFrameU, 0, kCell,
                     colours.itemFrame);
    }
  }
  if (!box.plainList && last >= 0) {
    BindSkin();
    const std::int32_t x = RoundToLong((static_cast<double>(box.itemWidth) + 2) * 32 * box.cursorColumn + textX);
    const std::int32_t y =
        RoundToLong((static_cast<double>(box.cursorRow) - box.scroll) * rowHeight + itemY);
    DrawWindowSkin(static_cast<float>(x), static_cast<float>(y), static_cast<float>(frameColumns),
                   static_cast<float>(frameRows), 16, kFrameU, 0, kCell, colours.selectedFrame);
  }
}

}  // namespace

MessageColours CurrentMessageColours() {
  const auto& d = storedProjectSettings.messageBoxDefaults;
  auto c = [&](std::size_t i) { return static_cast<std::uint32_t>(d[2 + i]); };
  return {c(0), c(1), c(2), c(3), c(4), c(5), c(6), c(7), c(8), c(9)};
}

void DrawWindowSkin(float x, float y, float columns, float rows, float pieceSize, float u, float v, float cellSize,
                    std::uint32_t color) {
  const double s = pieceSize;
  auto piece = [&](int i, int j, double px, double py) {
    QuadAddScreen(static_cast<float>(px), static_cast<float>(py), pieceSize, pieceSize, u + i * cellSize,
                  v + j * cellSize, u + (i + 1) * cellSize, v + (j + 1) * cellSize, color, 0);
  };
  const double right = x + s * columns, bottom = y + s * rows;
  piece(0, 0, x, y);
  piece(2, 0, right, y);
  piece(0, 2, x, bottom);
  piece(2, 2, right, bottom);
  for (double k = 1; k <= rows - 1; ++k) {
    piece(0, 1, x, y + s * k);
    piece(2, 1, right, y + s * k);
  }
  for (double k = 1; k <= columns - 1; ++k) {
    piece(1, 0, x + s * k, y);
    piece(1, 2, x + s * k, bottom);
  }
  for (double k = 1; k <= columns - 1; ++k)
    for (double m = 1; m <= rows - 1; ++m) piece(1, 1, x + s * k, y + s * m);
  QuadBatchFlushScreen();
}

void DrawActorPortrait(std::int32_t map, std::int32_t actor, float x, float y, float width, float height,
                       std::uint32_t color) {
  if (map < -1 || map > gameData.maps.LastIndex()) return;
  const Map& record = gameData.maps[map];
  if (actor < 0 || actor >= static_cast<std::int32_t>(record.actors.size())) return;
  const Actor& character = record.actors[static_cast<std::size_t>(actor)];
  DrawDevice& device = CurrentDrawDevice();
  for (const CharacterLayer& layer : character.characterLayers) {
    if (layer.layerSpriteSet < 0 || layer.layerSpriteSet >= static_cast<std::int32_t>(gameData.spriteSets.size()))
      continue;
    const SpriteSet& set = gameData.spriteSets[static_cast<std::size_t>(layer.layerSpriteSet)];
    if (LayerTag(layer) != SpritePortraitTag(set)) continue;
    const std::uint32_t specular = LayerSpecularSource(layer) < 0 ? character.specular : 0;
    const std::uint32_t tints[2] = {ColorModulate(layer.colour, color), color};
    for (std::size_t i = 0; i < 2; ++i) {
      if (!set.portraitTextures[i]) continue;
      device.SetTexture(0, set.portraitTextures[i]);
      QuadAddScreen(x, y, width, height, 0, 0, 1, 1, tints[i], specular);
      QuadBatchFlushScreen();
    }
  }
}

void DrawMessageBox(std::int32_t index, MessageBox& box) {
  const MessageColours colours = CurrentMessageColours();
  const bool fonts = !gameData.fontSets.empty();
  BindSkin();
  const std::int32_t windowX =
      RoundToLong((graphics.videoWidth / 2.0 - (box.width * 32.0 + 32) / 2.0) * box.posX);
  const std::int32_t windowY =
      RoundToLong((graphics.videoHeight / 2.0 - (box.height * 32.0 + 32) / 2.0) * box.posY);
  DrawWindowSkin(static_cast<float>(windowX), static_cast<float>(windowY), static_cast<float>(box.width),
                 static_cast<float>(box.height), 32, 0, 0, kCell, box.backColor);
  DrawWindowSkin(static_cast<float>(windowX), static_cast<float>(windowY), static_cast<float>(box.width),
                 static_cast<float>(box.height), 32, kFrameU, 0, kCell, box.frameColor);

  const bool portrait = index == 0 && messagePortrait.actor >= 0;
  const std::int32_t textX = windowX + (portrait && !messagePortrait.onRight ? 144 : 16);
  const std::int32_t f = fonts ? RoundToLong(16 - gameData.fontSets[0].lineHeight / 2.0) : 0;

  double itemY = windowY + 16;
  if (!box.noText && fonts) {
    const std::int32_t shown = TypeText(box);
    Rect extent;
    DrawGlyphBlock(extent, 0, box.glyphs, 0, shown, textX, RoundToLong(windowY + 16 + f - box.textScroll),
                   colours.textTop, colours.textBottom, colours.textShadow, 32, box.pageStart, box.linesPerPage,
                   kAlignLeft, 1.0f);
    itemY = extent.bottom;
    box.allShown = shown == static_cast<std::int32_t>(box.glyphs.size()) - 1;
  } else {
    box.allShown = true;
    box.pageFull = true;
  }

  if (box.allShown) {
    if (box.inputMode != 0) {
      DrawInputLine(index, box, colours, textX, itemY, f, fonts);
      itemY += 32;
    }
    DrawItems(box, colours, textX, itemY, f, fonts);
  }

  if (portrait) {
    const std::int32_t x = messagePortrait.onRight ? windowX + box.width * 32 - kPortraitSize : windowX + 32;
    DrawActorPortrait(messagePortrait.map, messagePortrait.actor, static_cast<float>(x),
                      static_cast<float>(windowY + 32), kPortraitSize, kPortraitSize, kWhite);
  }
}

void DrawMessageBoxes() {
  for (std::int32_t i = 0; i < kMessageBoxCount; ++i) {
    MessageBox& box = messageBoxes[static_cast<std::size_t>(i)];
    if (box.visible) DrawMessageBox(i, box);
  }
}

}  // namespace kiv
