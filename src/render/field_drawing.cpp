#include "render/field_drawing.h"

#include <cmath>
#include <set>
#include <string>
#include <utility>

#include "core/geometry.h"
#include "core/log.h"
#include "core/math_util.h"
#include "core/number_text.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "data/set_lookups.h"
#include "data/sprite_set_queries.h"
#include "dialogs/player_settings.h"
#include "mathkiv/colors.h"
#include "media/device_reset.h"
#include "media/draw_device.h"
#include "media/graphics.h"
#include "media/quad_batcher.h"
#include "media/vertex_records.h"
#include "player/player_hooks.h"
#include "player/resource_groups.h"
#include "render/draw_helpers.h"
#include "render/field_sprites.h"
#include "render/frame_drawing.h"
#include "render/message_box_drawing.h"
#include "render/text_drawing.h"
#include "render/value_fields.h"

namespace kiv {

namespace {

constexpr std::uint8_t kKindText = 0;
constexpr std::uint8_t kKindIconRow = 1;
constexpr std::uint8_t kKindMeter = 2;
constexpr std::uint8_t kKindFrameGauge = 3;
constexpr std::uint8_t kKindPanel = 4;
constexpr std::uint8_t kKindStaticEffect = 5;
constexpr std::uint8_t kKindView = 6;

constexpr std::int32_t kCodeCharacter = 10;
constexpr std::int32_t kCodeItem = 20;
constexpr std::int32_t kCodeStatistic = 30;
constexpr std::int32_t kCodeEquipmentArea = 40;
constexpr std::size_t kElementCode = 0;
constexpr std::size_t kElementFirst = 5;
constexpr std::size_t kElementSecond = 6;

constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFF;

struct FieldContext {
  std::int32_t map = -1;
  std::int32_t index = -1;
  Map* record = nullptr;
  const MapView* view = nullptr;
  FieldScreenRect rect;
  FieldArea area;
};

bool Hidden(const Map& map, std::int32_t mapIndex, std::int32_t i, const Field& field) {
  if (pickPass != 0) {
    if (IsMapInputActive(mapIndex)) {
      if (i == const_cast<Map&>(map).SelectionMarkerField() && field.Kind() != kKindView) return true;
    } else if (field.Kind() != kKindView) {
      return true;
    }
  }
  if (field.noDraw != 0 || field.nonExistent != 0) return true;
  const auto& s = map.scrollRect;
  if (field.Scrolls() == 1 && (s[0] != 0 || s[1] != 0 || s[2] != 0 || s[3] != 0)) {
    const bool inside = s[0] <= field.x && field.x < s[2] && s[1] <= field.y && field.y < s[3];
    if (!inside) return true;
  }
  return false;
}

// One screen quad flushed at once: a picture, or a plain rectangle that
// takes the pick colour under flat colour.
void DrawScreenQuad(const gfx::TexturePtr& texture, float left, float top, float width, float height,
                    std::uint32_t colour) {
  CurrentDrawDevice().SetTexture(0, texture);
  QuadAddScreen(left, top, width, height, 0.0f, 0.0f, 1.0f, 1.0f, colour, 0);
  QuadBatchFlushScreen();
}

void DrawPlainPickRect(const FieldScreenRect& r) {
  DrawScreenQuad(gfx::TexturePtr(), static_cast<float>(r.left), static_cast<float>(r.top),
                 static_cast<float>(r.width), static_cast<float>(r.height), kOpaqueWhite);
}

// An object reference whose indexes lie outside their tables draws nothing;
// each such field is logged once.
void NoteBadReference(const FieldContext& c, const std::string& what) {
  static std::set<std::pair<std::int32_t, std::int32_t>> logged;
  if (!logged.insert({c.map, c.index}).second) return;
  LogWriteLine("Field " + std::to_string(c.index) + " of map " + std::to_string(c.map) + " shows " + what +
               ", which does not exist.");
}

// Element e of a reference, as a whole number; false when it is missing or not a number.
bool ReferenceElement(const Variant& value, std::size_t e, std::int32_t& out) {
  const auto& elements = value.Elements();
  if (e >= elements.size() || !IsNumericValue(elements[e])) return false;
  out = RoundToLong(ToNumber(elements[e]));
  return true;
}

template <typename Table>
const gfx::TexturePtr* TextureIn(const Table& table, std::int32_t index, gfx::TexturePtr Table::value_type::*member) {
  if (index < 0 || index >= static_cast<std::int32_t>(table.size())) return nullptr;
  return &(table[static_cast<std::size_t>(index)].*member);
}

void DrawObjectReference(const FieldContext& c, Field& field) {
  if (pickPass != 0 && field.ExactPick() == 0) {
    DrawPlainPickRect(c.rect);
    return;
  }
  std::int32_t code = 0;
  if (!ReferenceElement(field.value1, kElementCode, code)) return;
  if (code != kCodeCharacter && code != kCodeItem && code != kCodeStatistic && code != kCodeEquipmentArea) return;
  std::int32_t first = 0;
  if (!ReferenceElement(field.value1, kElementFirst, first)) {
    NoteBadReference(c, "an object without an index");
    return;
  }
  const std::uint32_t colour = ColorModulate(field.colorsA[0], c.record->ambientColor);
  const FieldScreenRect& r = c.rect;
  if (code == kCodeCharacter) {
    std::int32_t actor = 0;
    if (first < 0 || first > gameData.maps.LastIndex() || !ReferenceElement(field.value1, kElementSecond, actor) ||
        actor < 0) {
      NoteBadReference(c, "a character of map " + std::to_string(first));
      return;
    }
    if (actor > static_cast<std::int32_t>(gameData.maps[first].actors.size()) - 1) return;
    DrawActorPortrait(first, actor, static_cast<float>(r.left), static_cast<float>(r.top),
                      static_cast<float>(r.width), static_cast<float>(r.height), colour);
    return;
  }
  const gfx::TexturePtr* texture = nullptr;
  if (code == kCodeItem) texture = TextureIn(gameData.items, first, &Item::pictureTexture);
  if (code == kCodeStatistic) texture = TextureIn(gameData.statistics, first, &Statistic::texture);
  if (code == kCodeEquipmentArea) texture = TextureIn(projectState.equipmentAreas, first, &EquipmentArea::texture);
  if (texture == nullptr) {
    NoteBadReference(c, "object " + std::to_string(code) + " number " + std::to_string(first));
    return;
  }
  DrawScreenQuad(*texture, static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.width),
                 static_cast<float>(r.height), colour);
}

std::int32_t TextAlignment(std::uint8_t alignX) {
  switch (alignX) {
    case 1:
      return kAlignCentre;
    case 2:
      return kAlignRight;
    default:
      return kAlignLeft;
  }
}

void DrawText(const FieldContext& c, Field& field) {
  if (field.fontSet < 0 || field.lines.empty()) return;
  if (field.value1.IsText() && field.value1.AsText().empty()) return;
  if (pickPass != 0 && field.ExactPick() == 0) {
    const auto& t = field.textRect;
    DrawScreenQuad(gfx::TexturePtr(), static_cast<float>(t[0]), static_cast<float>(t[1]),
                   static_cast<float>(t[2] - t[0]), static_cast<float>(t[3] - t[1]), kOpaqueWhite);
    return;
  }
  const std::uint32_t ambient = c.record->ambientColor;
  const std::uint32_t shadow = field.shadow != 0 ? ColorModulate(field.colorsC[0], ambient) : 0;
  const std::int32_t fontLineHeight = FontSetLineHeight(field.fontSet);
  const double shift = field.lineHeight != 0 ? field.lineHeight / 2.0 - fontLineHeight / 2.0 : 0.0;
  const std::int32_t lineHeight = field.lineHeight != 0
                                      ? field.lineHeight
                                      : RoundToLong(static_cast<double>(fontLineHeight) * field.fontScale);
  Rect drawn;
  DrawGlyphBlock(drawn, field.fontSet, field.lines, 0, LastGlyphShown(field), RoundToLong(c.area.anchorX),
                 RoundToLong(c.rect.top + shift), ColorModulate(field.colorsA[0], ambient),
                 ColorModulate(field.colorsB[0], ambient), shadow, lineHeight, 0, 0, TextAlignment(field.AlignX()),
                 field.fontScale);
  if (pickPass == 0) field.textRect = {drawn.left, drawn.top, drawn.right, drawn.bottom};
}

void DrawStaticEffect(const FieldContext& c, Field& field) {
  if (field.spriteSet < 0 || c.area.spriteWidth <= 0 || c.area.spriteHeight <= 0) return;
  FieldSprite s;
  s.spriteSet = field.spriteSet;
  s.clock = field.animationTime;
  s.instance = field.sprites.empty() ? nullptr : &field.sprites[0];
  s.x = static_cast<float>(RoundToLong(c.rect.left + c.rect.width / 2.0));
  s.y = static_cast<float>(RoundToLong(c.rect.top + c.rect.height / 2.0));
  s.scaleX = static_cast<float>(c.rect.width) / static_cast<float>(c.area.spriteWidth);
  s.scaleY = static_cast<float>(c.rect.height) / static_cast<float>(c.area.spriteHeight);
  s.colour = ColorModulate(field.colorsA[0], c.area.ambient);
  s.second = ColorModulate(field.specular, c.area.ambient);
  s.rotation = field.RotationAngle();
  DrawFieldSprite(s, *c.view);
}

void DrawViewField(const FieldContext& c) {
  if (pickPass == 2) return;
  const std::int32_t shown = playerHooks.FieldViewMap(c.map, c.index);
  if (shown >= 0) playerHooks.DrawMap(shown, c.rect.left, c.rect.top, c.map, c.index, c.rect.width, c.rect.height);
  // The inner drawing changed these; the later fields need them back.
  DrawDevice& device = CurrentDrawDevice();
  device.SetViewport(c.view->viewport);
  device.SetRenderState(gfx::kRsZEnable, 0);
  device.SetRenderState(gfx::kRsCullMode, gfx::kCullNone);
}

void DrawField(FieldContext& c, Field& field) {
  if (field.Kind() == kKindText) {
    if (field.value1.IsArray()) {
      DrawObjectReference(c, field);
    } else {
      DrawText(c, field);
    }
    return;
  }
  if (pickPass != 0 && field.ExactPick() == 0) {
    DrawPlainPickRect(c.rect);
    return;
  }
  if (field.spriteSet >= 0) {
    c.area.spriteWidth = SpriteSetSizeX(field.spriteSet);
    c.area.spriteHeight = SpriteSetSizeY(field.spriteSet);
    LoadSpriteSet(field.spriteSet);
  }
  switch (field.Kind()) {
    case kKindIconRow:
      DrawIconRow(field, c.area, *c.view);
      break;
    case kKindMeter:
      DrawMeter(field, c.area, *c.view);
      break;
    case kKindFrameGauge:
      DrawFrameGauge(field, c.area, *c.view);
      break;
    case kKindPanel:
      DrawPanel(field, c.area, *c.view);
      break;
    case kKindStaticEffect:
      DrawStaticEffect(c, field);
      break;
    case kKindView:
      DrawViewField(c);
      break;
    default:
      break;
  }
}

}  // namespace

std::int32_t LastGlyphShown(const Field& field) {
  const auto last = static_cast<std::int32_t>(field.lines.size()) - 1;
  if (field.TypingMode() != 1 || playerSettings.textInterval == 0) return last;
  const std::int32_t typed =
      RoundToLong(static_cast<double>(field.animationTime) / static_cast<double>(playerSettings.textInterval));
  return typed < last ? typed : last;
}

bool FieldTextShown(std::int32_t map, std::int32_t field) {
  if (map < 0 || map > gameData.maps.LastIndex()) return true;
  const Map& record = gameData.maps[map];
  if (field < 0 || field >= static_cast<std::int32_t>(record.fields.size())) return true;
  const Field& f = record.fields[static_cast<std::size_t>(field)];
  if (f.TypingMode() != 1 || playerSettings.textInterval == 0) return true;
  const auto last = static_cast<double>(f.lines.size()) - 1.0;
  return static_cast<double>(f.animationTime) / playerSettings.textInterval >= last;
}

void DrawFields(std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                const MapView& view) {
  if (map < 0 || map > gameData.maps.LastIndex()) return;
  const Map& record = gameData.maps[map];
  if (!record.isInterface) return;
  if (pickPass == 0 && (record.ambientColor >> 24) == 0) return;
  gameData.currentActivity = "Drawing Fields";
  DrawDevice& device = CurrentDrawDevice();
  device.SetRenderState(gfx::kRsZEnable, 0);
  device.SetRenderState(gfx::kRsCullMode, gfx::kCullNone);
  device.SetVertexShader(kScreenVertexFormat);
  device.SetPixelShader(0);
  for (std::int32_t i = 0; i < static_cast<std::int32_t>(gameData.maps[map].fields.size()); ++i) {
    // Read again after each field: a view's map drawing may load maps.
    Map& current = gameData.maps[map];
    Field& field = current.fields[static_cast<std::size_t>(i)];
    if (Hidden(current, map, i, field)) continue;
    if (pickPass != 0) {
      device.SetRenderState(gfx::kRsTextureFactor,
                            ColorForFormat(graphics.pickTargetFormat,
                                           static_cast<std::uint32_t>(MakePickColor(map, i, 0))));
    }
    FieldContext c;
    c.map = map;
    c.index = i;
    c.record = &current;
    c.view = &view;
    GetFieldScreenRect(field, x, y, width, height, c.rect);
    c.area.left = c.rect.left;
    c.area.top = c.rect.top;
    c.area.width = c.rect.width;
    c.area.height = c.rect.height;
    c.area.anchorX = field.x - static_cast<float>(c.rect.offsetX);
    c.area.anchorY = field.y - static_cast<float>(c.rect.offsetY);
    c.area.ambient = current.ambientColor;
    DrawField(c, field);
  }
  device.SetRenderState(gfx::kRsZEnable, 1);
  device.SetRenderState(gfx::kRsCullMode, gfx::kCullCcw);
  device.SetVertexShader(kColoredVertexFormat);
  device.SetPixelShader(0);
}

}  // namespace kiv
