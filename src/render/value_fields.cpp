#include "render/value_fields.h"

#include <array>
#include <cmath>

#include "core/math_util.h"
#include "core/number_text.h"
#include "data/field_record.h"
#include "data/sprite_set_queries.h"
#include "mathkiv/colors.h"
#include "media/draw_device.h"
#include "media/quad_batcher.h"
#include "media/vertex_records.h"
#include "render/field_sprites.h"

namespace kiv {

namespace {

constexpr float kHalfPi = 1.5707963705062866f;
constexpr float kThird = 0.3333333134651184f;
constexpr float kTwoThirds = 0.6666666865348816f;
constexpr double kSixth = 0.16666670143604279;
constexpr std::uint32_t kStride = sizeof(ScreenVertex);

// Alignments and modes outside the known ones behave as 0.
std::uint8_t Known(std::uint8_t value, std::uint8_t last) { return value <= last ? value : 0; }

std::int32_t RoundHalfEven(double value) { return RoundToLong(value); }

std::uint32_t Alpha(std::uint32_t colour) { return colour >> 24; }

ScreenVertex Vertex(float x, float y, std::uint32_t colour) {
  ScreenVertex v;
  v.x = x;
  v.y = y;
  v.diffuse = colour;
  return v;
}

void DrawVertices(std::uint32_t type, std::uint32_t count, const ScreenVertex* vertices) {
  CurrentBatchDrawer().DrawPrimitiveUP(type, count, vertices, kStride);
}

SpriteInstance* Instance(Field& field, std::size_t i) {
  return i < field.sprites.size() ? &field.sprites[i] : nullptr;
}

// A field sprite with the arguments every kind shares.
FieldSprite SpriteOf(Field& field, std::size_t state, std::int32_t clock, float x, float y, std::uint32_t colour,
                     const FieldArea& area) {
  FieldSprite s;
  s.spriteSet = field.spriteSet;
  s.clock = clock;
  s.instance = Instance(field, state);
  s.x = x;
  s.y = y;
  s.colour = ColorModulate(colour, area.ambient);
  s.second = ColorModulate(field.specular, area.ambient);
  return s;
}

bool Numeric(const Variant& v) { return IsNumericValue(v); }

// ---- meters ----

void DrawPie(Field& field, const FieldArea& a, float share) {
  const std::int32_t cx = RoundHalfEven(a.left + a.width / 2.0);
  const std::int32_t cy = RoundHalfEven(a.top + a.height / 2.0);
  const std::int32_t k = CeilingLong((std::sqrt(static_cast<double>(a.width) * a.height) / 5.0 + 3.0) / 4.0);
  const std::int32_t n = 4 * k + 1;
  const std::uint32_t filled = ColorModulate(field.colorsA[0], a.ambient);
  const std::uint32_t empty = ColorModulate(field.colorsB[0], a.ambient);
  const float start = field.StartAngle();
  const float end = field.EndAngle();
  std::vector<ScreenVertex> vertices(static_cast<std::size_t>(n) + 1);
  vertices[0] = Vertex(static_cast<float>(cx), static_cast<float>(cy), filled);
  for (std::int32_t j = 1; j <= n; ++j) {
    const float angle = start + static_cast<float>(j - 1) / static_cast<float>(n - 1) * (end - start);
    vertices[static_cast<std::size_t>(j)] =
        Vertex(static_cast<float>(cx + a.width / 2.0 * std::cos(angle)),
               static_cast<float>(cy + a.height / 2.0 * std::sin(angle)), empty);
  }
  if (CeilingLong(static_cast<double>(n - 2) * share) < 1) return;
  DrawVertices(gfx::kPrimTriangleFan, static_cast<std::uint32_t>(CeilingLong(static_cast<double>(n - 1) * share)),
               vertices.data());
}

void DrawSpriteBar(Field& field, const FieldArea& a, float share, const MapView& view) {
  if (a.spriteWidth <= 0 || a.spriteHeight <= 0) return;
  const bool vertical = field.LaidOutVertically();
  FieldSprite s = SpriteOf(field, 0, field.animationTime, 0, 0, field.colorsA[0], a);
  if (vertical) {
    const std::int32_t length = RoundHalfEven(static_cast<double>(a.height) * share);
    s.x = static_cast<float>(RoundHalfEven(a.left + a.width / 2.0));
    s.scaleX = static_cast<float>(a.width) / static_cast<float>(a.spriteWidth);
    s.scaleY = static_cast<float>(length) / static_cast<float>(a.spriteHeight);
    switch (Known(field.AlignY(), 2)) {
      case 0:
        s.y = static_cast<float>(RoundHalfEven(a.anchorY + length / 2.0));
        s.v2 = share;
        break;
      case 1:
        s.y = static_cast<float>(RoundHalfEven(a.anchorY));
        s.v1 = 0.5f - share / 2;
        s.v2 = 0.5f + share / 2;
        break;
      default:
        s.y = static_cast<float>(RoundHalfEven(a.anchorY - length / 2.0));
        s.v1 = 1 - share;
        break;
    }
  } else {
    // The texture range follows the share for every alignment, so the
    // picture is cut to the bar and never sampled outside its frame.
    const std::int32_t length = RoundHalfEven(static_cast<double>(a.width) * share);
    s.y = static_cast<float>(RoundHalfEven(a.top + a.height / 2.0));
    s.scaleX = static_cast<float>(length) / static_cast<float>(a.spriteWidth);
    s.scaleY = static_cast<float>(a.height) / static_cast<float>(a.spriteHeight);
    switch (Known(field.AlignX(), 2)) {
      case 0:
        s.x = static_cast<float>(RoundHalfEven(a.anchorX + length / 2.0));
        s.u2 = share;
        break;
      case 1:
        s.x = static_cast<float>(RoundHalfEven(a.anchorX));
        s.u1 = 0.5f - share / 2;
        s.u2 = 0.5f + share / 2;
        break;
      default:
        s.x = static_cast<float>(RoundHalfEven(a.anchorX - length / 2.0));
        s.u1 = 1 - share;
        break;
    }
  }
  DrawFieldSprite(s, view);
}

void DrawPlainBar(Field& field, const FieldArea& a, float share) {
  const std::uint32_t filled = ColorModulate(field.colorsA[0], a.ambient);
  const std::uint32_t empty = ColorModulate(field.colorsB[0], a.ambient);
  const bool vertical = field.LaidOutVertically();
  std::array<ScreenVertex, 12> vertices;
  std::int32_t length = 0;
  std::int32_t edge = 0;
  if (vertical) {
    length = RoundHalfEven(static_cast<double>(a.height) * share);
    const std::uint8_t align = Known(field.AlignY(), 2);
    edge = RoundHalfEven(align == 0 ? a.anchorY : align == 1 ? a.anchorY - length / 2.0 : a.anchorY - length);
  } else {
    length = RoundHalfEven(static_cast<double>(a.width) * share);
    const std::uint8_t align = Known(field.AlignX(), 2);
    edge = RoundHalfEven(align == 0 ? a.anchorX : align == 1 ? a.anchorX - length / 2.0 : a.anchorX - length);
  }
  for (std::int32_t j = 0; j < 12; ++j) {
    const std::int32_t band = (j + 2 * (j % 3)) / 6;  // 0, 0, 1, 0, 1, 1, 1, 1, 2, 1, 2, 2
    const std::int32_t side = j % 2;
    const std::uint32_t colour = band == 1 ? filled : empty;
    if (vertical) {
      vertices[static_cast<std::size_t>(j)] =
          Vertex(static_cast<float>(a.left + band * a.width / 2.0), static_cast<float>(edge + side * length), colour);
    } else {
      vertices[static_cast<std::size_t>(j)] =
          Vertex(static_cast<float>(edge + side * length), static_cast<float>(a.top + band * a.height / 2.0), colour);
    }
  }
  DrawVertices(gfx::kPrimTriangleList, 4, vertices.data());
}

void DrawNeedle(Field& field, const FieldArea& a, float share, const MapView& view) {
  const std::int32_t cx = RoundHalfEven(a.left + a.width / 2.0);
  const std::int32_t cy = RoundHalfEven(a.top + a.height / 2.0);
  const float angle = field.StartAngle() + (field.EndAngle() - field.StartAngle()) * share;
  if (field.spriteSet >= 0) {
    if (a.spriteWidth <= 0 || a.spriteHeight <= 0) return;
    FieldSprite s = SpriteOf(field, 0, field.animationTime, static_cast<float>(cx), static_cast<float>(cy),
                             field.colorsA[0], a);
    s.scaleX = static_cast<float>(a.width) / static_cast<float>(a.spriteWidth);
    s.scaleY = static_cast<float>(a.height) / static_cast<float>(a.spriteHeight);
    s.rotation = angle;
    DrawFieldSprite(s, view);
    return;
  }
  const std::uint32_t filled = ColorModulate(field.colorsA[0], a.ambient);
  const std::uint32_t empty = ColorModulate(field.colorsB[0], a.ambient);
  const double hw = a.width / 2.0;
  const double hh = a.height / 2.0;
  const double before = static_cast<double>(angle - kHalfPi);
  const double after = static_cast<double>(angle + kHalfPi);
  const std::array<ScreenVertex, 3> vertices = {
      Vertex(static_cast<float>(cx + hw * std::cos(before) - hw * std::cos(angle)),
             static_cast<float>(cy + hw * std::sin(before) - hw * std::sin(angle)), filled),
      Vertex(static_cast<float>(cx + hh * std::cos(angle)), static_cast<float>(cy + hh * std::sin(angle)), empty),
      Vertex(static_cast<float>(cx + hw * std::cos(after) - hw * std::cos(angle)),
             static_cast<float>(cy + hw * std::sin(after) - hw * std::sin(angle)), filled),
  };
  DrawVertices(gfx::kPrimTriangleList, 1, vertices.data());
}

// ---- panels ----

struct PanelPiece {
  double x = 0, y = 0;
  float scaleX = kThird, scaleY = kThird;
  float u1 = 0, v1 = 0, u2 = 0, v2 = 0;
};

float CellStart(std::int32_t cell) { return cell == 0 ? 0.0f : cell == 1 ? kThird : kTwoThirds; }
float CellEnd(std::int32_t cell) { return cell == 0 ? kThird : cell == 1 ? kTwoThirds : 1.0f; }

PanelPiece Cell(double x, double y, std::int32_t column, std::int32_t row) {
  PanelPiece p;
  p.x = x;
  p.y = y;
  p.u1 = CellStart(column);
  p.u2 = CellEnd(column);
  p.v1 = CellStart(row);
  p.v2 = CellEnd(row);
  return p;
}

// How the pieces of one axis fall: full pieces 1..count-2 between the
// corners, and a shortened piece after them when the size leaves a remainder.
struct PanelAxis {
  std::int32_t count = 0;     // Int(size / (sprite / 3))
  bool remainder = false;     // size mod (sprite \ 3) is not 0
  std::int32_t cutIndex = 1;  // the place of the shortened piece
  float cut = 0.0f;           // its scale: the part of a piece that is left
};

PanelAxis AxisOf(std::int32_t size, std::int32_t sprite) {
  PanelAxis axis;
  const double pieces = size / (sprite / 3.0);
  axis.count = static_cast<std::int32_t>(std::floor(pieces));
  axis.cutIndex = axis.count - 2 >= 1 ? axis.count - 1 : 1;
  axis.cut = static_cast<float>((pieces - axis.cutIndex - 1) / 3.0);
  axis.remainder = size % (sprite / 3) != 0 && axis.cut > 0.0f;
  return axis;
}

}  // namespace

IconOffset IconRowOffset(std::int32_t i, std::int32_t n, std::int32_t columns, std::int32_t rows,
                         std::int32_t iconWidth, std::int32_t iconHeight, std::uint8_t alignX, std::uint8_t alignY,
                         bool vertical) {
  const auto sw = static_cast<float>(iconWidth);
  const auto sh = static_cast<float>(iconHeight);
  alignX = Known(alignX, 2);
  alignY = Known(alignY, 2);
  IconOffset o;
  if (!vertical) {
    const std::int32_t w = columns;
    if (w > 0) {
      o.x = static_cast<float>(i % w) * sw;
      o.y = static_cast<float>(i / w) * sh;
    } else {
      o.x = static_cast<float>(i) * sw;
    }
    if (alignX == 0) {
      o.x += sw / 2;
    } else if (alignX == 1) {
      if (w > 0) {
        o.x -= i / w < (n - 1) / w ? static_cast<float>(w - 1) * sw / 2 : static_cast<float>((n - 1) % w) * sw / 2;
      } else {
        o.x -= static_cast<float>(n - 1) * sw / 2;
      }
    } else {
      o.x = -o.x - sw / 2;
    }
    if (alignY == 0) {
      o.y += sh / 2;
    } else if (alignY == 1) {
      o.y -= w > 0 ? static_cast<float>((n - 1) / w) * sh / 2 : sh / 2;
    } else {
      o.y = o.y - sh - sh / 2;
    }
  } else {
    const std::int32_t h = rows;
    if (h > 0) {
      o.x = static_cast<float>(i / h) * sw;
      o.y = static_cast<float>(i % h) * sh;
    } else {
      o.y = static_cast<float>(i) * sh;
    }
    if (alignY == 1) {
      if (h > 0) {
        o.y -= i / h < (n - 1) / h ? static_cast<float>(h - 1) * sh / 2 : static_cast<float>((n - 1) % h) * sh / 2;
      } else {
        o.y -= static_cast<float>(n - 1) * sh / 2;
      }
    } else if (alignY == 2) {
      o.y = -o.y;
    }
    if (alignX == 1) {
      o.x -= h > 0 ? static_cast<float>((n - 1) / h) * sw / 2 : sw / 2;
    } else if (alignX == 2) {
      o.x -= sw;
    }
  }
  return o;
}

void DrawFrameGauge(Field& field, const FieldArea& a, const MapView& view) {
  if (!Numeric(field.value1) || !Numeric(field.value2) || field.spriteSet < 0) return;
  const double value = ToNumber(field.value1);
  const double maximum = ToNumber(field.value2);
  const double whole = std::floor(value <= maximum ? maximum : value);
  if (!(whole > 0) || a.spriteWidth <= 0 || a.spriteHeight <= 0) return;
  const auto ratio = static_cast<float>(value / whole);
  FieldSprite s = SpriteOf(field, 0, RoundHalfEven(static_cast<double>(ratio) * SpriteSetDuration(field.spriteSet)),
                           static_cast<float>(RoundHalfEven(a.left + a.width / 2.0)),
                           static_cast<float>(RoundHalfEven(a.top + a.height / 2.0)),
                           ColorLerp(field.colorsB[0], field.colorsA[0], 1.0f - ratio), a);
  s.scaleX = static_cast<float>(a.width) / static_cast<float>(a.spriteWidth);
  s.scaleY = static_cast<float>(a.height) / static_cast<float>(a.spriteHeight);
  DrawFieldSprite(s, view);
}

void DrawIconRow(Field& field, const FieldArea& a, const MapView& view) {
  if (!Numeric(field.value1) || field.spriteSet < 0 || field.IconValue() <= 0 || !Numeric(field.value2)) return;
  const double maximum = ToNumber(field.value2);
  const double v = ToNumber(field.value1) / field.IconValue();
  const double m = std::floor(v <= maximum ? maximum : v);
  const std::int32_t n = RoundHalfEven(m / field.IconValue());
  if (n <= 0) return;
  const double full = std::floor(v);
  const double f = v - full;
  const std::int32_t duration = SpriteSetDuration(field.spriteSet);
  const bool framed = Known(field.FrameMode(), 1) == 1;
  for (std::int32_t i = 0; i < n; ++i) {
    std::uint32_t colour = field.colorsB[0];
    std::int32_t clock = field.animationTime;
    if (i < full) {
      colour = field.colorsA[0];
      if (framed) clock = 0;
    } else if (i == full && i < v) {
      colour = framed ? ColorLerp(field.colorsB[0], field.colorsA[0], static_cast<float>(1.0 - f)) : field.colorsA[0];
      if (framed) clock = RoundHalfEven((1.0 - f) * duration);
    } else if (i == full) {
      if (framed) {
        colour = ColorLerp(field.colorsB[0], field.colorsA[0], 1.0f);
        clock = duration;
      }
    } else if (framed) {
      clock = duration;
    }
    if (Alpha(colour) == 0) continue;
    const IconOffset o = IconRowOffset(i, n, a.width, a.height, a.spriteWidth, a.spriteHeight, field.AlignX(),
                                       field.AlignY(), field.LaidOutVertically());
    const FieldSprite s = SpriteOf(field, static_cast<std::size_t>(i), clock, a.anchorX + std::floor(o.x),
                                   a.anchorY + std::floor(o.y), colour, a);
    DrawFieldSprite(s, view);
  }
}

void DrawMeter(Field& field, const FieldArea& a, const MapView& view) {
  if (!Numeric(field.value1) || !Numeric(field.value2)) return;
  const double value = ToNumber(field.value1);
  const double maximum = ToNumber(field.value2);
  if (!(value >= 0) || !(maximum > 0)) return;
  const auto range = static_cast<float>(value <= maximum ? maximum : value);
  const float share = static_cast<float>(value) / range;
  CurrentDrawDevice().SetTexture(0, gfx::TexturePtr());
  switch (field.MeterStyle()) {
    case 0:
      DrawPie(field, a, share);
      break;
    case 1:
      if (field.spriteSet >= 0) {
        DrawSpriteBar(field, a, share, view);
      } else {
        DrawPlainBar(field, a, share);
      }
      break;
    case 2:
      DrawNeedle(field, a, share, view);
      break;
    default:
      break;
  }
}

void DrawPanel(Field& field, const FieldArea& a, const MapView& view) {
  const std::int32_t sw = a.spriteWidth;
  const std::int32_t sh = a.spriteHeight;
  if (field.spriteSet < 0 || sw <= 3 || sh <= 3) return;
  const PanelAxis across = AxisOf(a.width, sw);
  const PanelAxis down = AxisOf(a.height, sh);
  const double sixthX = sw * kSixth;
  const double sixthY = sh * kSixth;
  const double stepX = sw / 3.0;
  const double stepY = sh / 3.0;
  const double leftX = a.left + sixthX;
  const double rightX = a.left + a.width - sixthX;
  const double topY = a.top + sixthY;
  const double bottomY = a.top + a.height - sixthY;
  const double cutX = a.left + across.cutIndex * stepX + sw * static_cast<double>(across.cut) / 2;
  const double cutY = a.top + down.cutIndex * stepY + sh * static_cast<double>(down.cut) / 2;
  std::vector<PanelPiece> pieces;
  pieces.push_back(Cell(leftX, topY, 0, 0));
  pieces.push_back(Cell(rightX, topY, 2, 0));
  pieces.push_back(Cell(leftX, bottomY, 0, 2));
  pieces.push_back(Cell(rightX, bottomY, 2, 2));
  // Edges: a shortened piece is cut from its cell, not squeezed.
  for (std::int32_t j = 1; j <= down.count - 2; ++j) {
    pieces.push_back(Cell(leftX, topY + j * stepY, 0, 1));
    pieces.push_back(Cell(rightX, topY + j * stepY, 2, 1));
  }
  if (down.remainder) {
    for (std::int32_t column : {0, 2}) {
      PanelPiece p = Cell(column == 0 ? leftX : rightX, cutY, column, 1);
      p.scaleY = down.cut;
      p.v2 = kThird + down.cut;
      pieces.push_back(p);
    }
  }
  for (std::int32_t i = 1; i <= across.count - 2; ++i) {
    pieces.push_back(Cell(leftX + i * stepX, topY, 1, 0));
    pieces.push_back(Cell(leftX + i * stepX, bottomY, 1, 2));
  }
  if (across.remainder) {
    for (std::int32_t row : {0, 2}) {
      PanelPiece p = Cell(cutX, row == 0 ? topY : bottomY, 1, row);
      p.scaleX = across.cut;
      p.u2 = kThird + across.cut;
      pieces.push_back(p);
    }
  }
  // Centre: the remainder row, column and corner show the whole middle cell shrunk.
  for (std::int32_t i = 1; i <= across.count - 2; ++i)
    for (std::int32_t j = 1; j <= down.count - 2; ++j) pieces.push_back(Cell(leftX + i * stepX, topY + j * stepY, 1, 1));
  if (across.remainder) {
    for (std::int32_t j = 1; j <= down.count - 2; ++j) {
      PanelPiece p = Cell(cutX, topY + j * stepY, 1, 1);
      p.scaleX = across.cut;
      pieces.push_back(p);
    }
  }
  if (down.remainder) {
    for (std::int32_t i = 1; i <= across.count - 2; ++i) {
      PanelPiece p = Cell(leftX + i * stepX, cutY, 1, 1);
      p.scaleY = down.cut;
      pieces.push_back(p);
    }
  }
  if (across.remainder && down.remainder) {
    PanelPiece p = Cell(cutX, cutY, 1, 1);
    p.scaleX = across.cut;
    p.scaleY = down.cut;
    pieces.push_back(p);
  }
  for (const PanelPiece& p : pieces) {
    FieldSprite s = SpriteOf(field, 0, 0, static_cast<float>(p.x), static_cast<float>(p.y), field.colorsA[0], a);
    s.scaleX = p.scaleX;
    s.scaleY = p.scaleY;
    s.u1 = p.u1;
    s.v1 = p.v1;
    s.u2 = p.u2;
    s.v2 = p.v2;
    DrawFieldSprite(s, view);
  }
}

}  // namespace kiv
